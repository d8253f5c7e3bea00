// Linked GPU programs built from GLSL source files, and the uniform setters every pass uses.
// Uniform locations are looked up by name at every set; id 0 means "no program".
#pragma once

#include <glad/gl.h>
#include <glm/glm.hpp>

#include <string>

struct ShaderProgram {
    GLuint id = 0;

    void use() const;
    void setInt(const std::string& name, int value) const;
    void setFloat(const std::string& name, float value) const;
    void setVec3(const std::string& name, const glm::vec3& value) const;
    void setMat4(const std::string& name, const glm::mat4& value) const;
};

// Reads a whole source file line by line, each line followed by a line feed. A file that cannot be
// opened prints one line on standard error and gives empty text.
std::string readShaderSource(const std::string& path);

// Compiles one stage; returns 0 (after printing the driver's log) when compilation fails.
GLuint compileShaderStage(GLenum stageKind, const std::string& source);

ShaderProgram buildProgram(const std::string& vertexSource, const std::string& fragmentSource);
// Takes its texts as (vertex, fragment, geometry) but compiles and attaches them in pipeline order.
ShaderProgram buildProgram(const std::string& vertexSource, const std::string& fragmentSource,
                           const std::string& geometrySource);
ShaderProgram buildComputeProgram(const std::string& computeSource);

// The source with "#define <definition>" (a name, or a name and its value) after its #version line,
// which must come first: how one shader file gives several programs.
std::string withDefine(const std::string& source, const std::string& definition);
