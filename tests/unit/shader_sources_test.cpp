// Properties of the hand-written shader sources that no compiler checks: the two lit programs share
// one lighting model, and the programs sharing a fragment shader hand it the same inputs.
#include "render/shader_program.hpp"

#include <gtest/gtest.h>

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
