// Shader sources: the line-feed rules of reading them, and what no compiler checks: the two lit programs
// share one lighting model, and the programs sharing a fragment shader hand it the same inputs.
#include "render/shader_program.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

std::string shaderText(const std::string& file) {
    return readShaderSource(std::string(DUSKVALE_SOURCE_DIR) + "/assets/shaders/" + file);
}

std::string lightingBlock(const std::string& text) {
    const size_t begin = text.find("// --- night lighting");
    const size_t end = text.find("// --- end of night lighting ---");
    if (begin == std::string::npos || end == std::string::npos)
        return "";
    return text.substr(begin, end - begin);
}

std::set<std::string> declared(const std::string& text, const std::string& qualifier) {
    std::set<std::string> names;
    const std::regex pattern(qualifier + "\\s+\\w+\\s+(\\w+)\\s*;");
    std::istringstream lines(text);
    std::smatch match;
    for (std::string line; std::getline(lines, line);)
        if (std::regex_match(line, match, pattern))
            names.insert(match[1]);
    return names;
}

std::string writeTemp(const std::string& name, const std::string& contents) {
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << contents;
    return path;
}

} // namespace

TEST(ShaderSources, StaticAndCharacterLitShadersShareOneLightingModel) {
    const std::string staticBlock = lightingBlock(shaderText("basic_lighting_Phong.frag"));
    ASSERT_FALSE(staticBlock.empty());
    EXPECT_EQ(staticBlock, lightingBlock(shaderText("skinning_phong_shader.frag")));
}

TEST(ShaderSources, BothVertexShadersOfTheGeometryFragmentShaderWriteEveryInputItReads) {
    const std::set<std::string> inputs = declared(shaderText("geometryShader.frag"), "in");
    ASSERT_FALSE(inputs.empty());
    EXPECT_EQ(inputs, declared(shaderText("geometryShader.vert"), "out"));
    EXPECT_EQ(inputs, declared(shaderText("skinning_phong_shader.vert"), "out"));
}

TEST(ReadShaderSource, AppendsOneLineFeedPerLineAndOneMoreAfterAFinalLineFeed) {
    EXPECT_EQ(readShaderSource(writeTemp("two_lines_lf.glsl", "a\nb\n")), "a\nb\n\n");
    EXPECT_EQ(readShaderSource(writeTemp("two_lines.glsl", "a\nb")), "a\nb\n");
    EXPECT_EQ(readShaderSource(writeTemp("empty.glsl", "")), "\n");
}
