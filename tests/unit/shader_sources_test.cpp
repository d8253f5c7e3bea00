// What no shader compiler checks: the static and the character lit programs share one lighting model
// (a change to one alone would light the character unlike the scene around it).
#include "render/shader_program.hpp"

#include <gtest/gtest.h>

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

} // namespace

TEST(ShaderSources, StaticAndCharacterLitShadersShareOneLightingModel) {
    const std::string staticBlock = lightingBlock(shaderText("basic_lighting_Phong.frag"));
    ASSERT_FALSE(staticBlock.empty());
    EXPECT_EQ(staticBlock, lightingBlock(shaderText("skinning_phong_shader.frag")));
}
