// Builds GL programs from source text and sets their uniforms by name.
#include "render/shader_program.hpp"

#include <glm/gtc/type_ptr.hpp>

#include <fstream>
#include <initializer_list>
#include <iostream>
#include <vector>

void ShaderProgram::use() const {
    glUseProgram(id);
}

void ShaderProgram::setInt(const std::string& name, int value) const {
    glUniform1i(glGetUniformLocation(id, name.c_str()), value);
}

void ShaderProgram::setFloat(const std::string& name, float value) const {
    glUniform1f(glGetUniformLocation(id, name.c_str()), value);
}

void ShaderProgram::setVec3(const std::string& name, const glm::vec3& value) const {
    glUniform3fv(glGetUniformLocation(id, name.c_str()), 1, glm::value_ptr(value));
}

void ShaderProgram::setMat4(const std::string& name, const glm::mat4& value) const {
    glUniformMatrix4fv(glGetUniformLocation(id, name.c_str()), 1, GL_FALSE, glm::value_ptr(value));
}

std::string readShaderSource(const std::string& path) {
    std::ifstream file(path);
    if (!file.is_open()) {
        std::cerr << "Could not read file " << path << ". File does not exist." << std::endl;
        return "";
    }
    // End of file is tested before each read, so a file that ends with a line feed gains one more
    // empty line, and an empty file reads as a single line feed; the compilers do not mind.
    std::string text;
    std::string line;
    while (!file.eof()) {
        std::getline(file, line);
        if (file.fail() && !file.eof())
            break;
        text += line;
        text += '\n';
    }
    return text;
}

GLuint compileShaderStage(GLenum stageKind, const std::string& source) {
    const GLuint shader = glCreateShader(stageKind);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint status = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    if (status == GL_TRUE)
        return shader;

    GLint logLength = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &logLength);
    std::vector<char> log(static_cast<size_t>(logLength > 0 ? logLength : 1), '\0');
    glGetShaderInfoLog(shader, static_cast<GLsizei>(log.size()), nullptr, log.data());
    std::cout << "Failed to compile shader!" << std::endl;
    std::cout << log.data() << std::endl;
    glDeleteShader(shader);
    return 0;
}

namespace {

// Shared tail of every program shape: attach in the given (pipeline) order, link, and either detach
// the stages or throw the whole program away. Attaching a failed stage (0) is rejected by GL with
// GL_INVALID_VALUE and the build carries on to the link, which then fails.
ShaderProgram linkStages(GLuint program, std::initializer_list<GLuint> stages) {
    for (GLuint stage : stages)
        glAttachShader(program, stage);
    glLinkProgram(program);
    GLint status = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    // Mesa links a program whose vertex stage failed from the fragment stage alone; such a program
    // would draw garbage, so a failed stage fails the whole build.
    bool everyStageCompiled = true;
    for (GLuint stage : stages)
        everyStageCompiled = everyStageCompiled && stage != 0;
    if (status == GL_TRUE && everyStageCompiled) {
        for (GLuint stage : stages)
            glDetachShader(program, stage);
        for (GLuint stage : stages)
            if (stage != 0)
                glDeleteShader(stage);
        return ShaderProgram{program};
    }

    if (status != GL_TRUE) {
        GLint logLength = 0;
        glGetProgramiv(program, GL_INFO_LOG_LENGTH, &logLength);
        std::vector<char> log(static_cast<size_t>(logLength > 0 ? logLength : 1), '\0');
        glGetProgramInfoLog(program, static_cast<GLsizei>(log.size()), nullptr, log.data());
        std::cout << "Failed to link shader program!" << std::endl;
        std::cout << log.data() << std::endl;
    }
    glDeleteProgram(program);
    for (GLuint stage : stages)
        if (stage != 0)
            glDeleteShader(stage);
    return ShaderProgram{0};
}

} // namespace

ShaderProgram buildProgram(const std::string& vertexSource, const std::string& fragmentSource) {
    const GLuint program = glCreateProgram();
    const GLuint vertex = compileShaderStage(GL_VERTEX_SHADER, vertexSource);
    const GLuint fragment = compileShaderStage(GL_FRAGMENT_SHADER, fragmentSource);
    return linkStages(program, {vertex, fragment});
}

ShaderProgram buildProgram(const std::string& vertexSource, const std::string& fragmentSource,
                           const std::string& geometrySource) {
    const GLuint program = glCreateProgram();
    const GLuint vertex = compileShaderStage(GL_VERTEX_SHADER, vertexSource);
    const GLuint geometry = compileShaderStage(GL_GEOMETRY_SHADER, geometrySource);
    const GLuint fragment = compileShaderStage(GL_FRAGMENT_SHADER, fragmentSource);
    return linkStages(program, {vertex, geometry, fragment});
}

ShaderProgram buildComputeProgram(const std::string& computeSource) {
    const GLuint program = glCreateProgram();
    const GLuint compute = compileShaderStage(GL_COMPUTE_SHADER, computeSource);
    return linkStages(program, {compute});
}

std::string withDefine(const std::string& source, const std::string& definition) {
    const std::size_t lineEnd = source.find('\n');
    if (lineEnd == std::string::npos)
        return source;
    return source.substr(0, lineEnd + 1) + "#define " + definition + "\n" + source.substr(lineEnd + 1);
}
