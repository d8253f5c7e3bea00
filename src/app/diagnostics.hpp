// Turns the errors that GLFW and the OpenGL driver report into lines on standard output. They only
// print: nothing is counted or acted upon, and the run carries on after every message.
#pragma once

#include <glad/gl.h>

#include <string>

// GLFW error callback: "GLFW error <code>: <description>".
void onGlfwError(int code, const char* description);

// GL debug-message callback; skips ids 131185 and 131218, prints everything else as one line.
void GLAPIENTRY onGlDebugMessage(GLenum source, GLenum type, GLuint id, GLenum severity, GLsizei length,
                                 const GLchar* message, const void* userParam);

// The line onGlDebugMessage prints, without its line break.
std::string formatGlDebugMessage(GLenum source, GLenum type, GLuint id, GLenum severity, const char* message);
