// GLFW and OpenGL debug callbacks. The debug callback runs synchronously inside the failing GL call,
// so each line lands next to whatever the program printed just before it.
#include "app/diagnostics.hpp"

#include <iostream>

namespace {

const char* sourceWord(GLenum source) {
    switch (source) {
    case GL_DEBUG_SOURCE_API:
        return "API";
    case GL_DEBUG_SOURCE_WINDOW_SYSTEM:
        return "Window System";
    case GL_DEBUG_SOURCE_SHADER_COMPILER:
        return "Shader Compiler";
    case GL_DEBUG_SOURCE_THIRD_PARTY:
        return "Third Party";
    case GL_DEBUG_SOURCE_APPLICATION:
        return "Application";
    case GL_DEBUG_SOURCE_OTHER:
        return "Other";
    default:
        return "Unknown";
    }
}

// Only errors get their own word; every other message type is reported as "Unknown".
const char* typeWord(GLenum type) {
    return type == GL_DEBUG_TYPE_ERROR ? "Error" : "Unknown";
}

const char* severityWord(GLenum severity) {
    switch (severity) {
    case GL_DEBUG_SEVERITY_HIGH:
        return "High";
    case GL_DEBUG_SEVERITY_MEDIUM:
        return "Medium";
    case GL_DEBUG_SEVERITY_LOW:
        return "Low";
    default:
        return "Unknown";
    }
}

// NVIDIA's notes on where a buffer was placed and on shader recompiles arrive for nearly every upload
// and draw; they would drown the messages that matter.
bool isIgnoredMessage(GLuint id) {
    return id == 131185 || id == 131218;
}

} // namespace

void onGlfwError(int code, const char* description) {
    std::cout << "GLFW error " << code << ": " << description << std::endl;
}

std::string formatGlDebugMessage(GLenum source, GLenum type, GLuint id, GLenum severity,
                                 const char* message) {
    std::string text = "OpenGL Error: ";
    text += message;
    text += " [Source = ";
    text += sourceWord(source);
    text += ", Type = ";
    text += typeWord(type);
    text += ", Severity = ";
    text += severityWord(severity);
    text += ", ID = ";
    text += std::to_string(id);
    text += "]";
    return text;
}

void GLAPIENTRY onGlDebugMessage(GLenum source, GLenum type, GLuint id, GLenum severity, GLsizei,
                                 const GLchar* message, const void*) {
    if (isIgnoredMessage(id))
        return;
    std::cout << formatGlDebugMessage(source, type, id, severity, message) << std::endl;
}
