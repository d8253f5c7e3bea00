// Reading shader sources: the line-feed rules. (A missing file's message is checked by the shader
// robustness script.)
#include "render/shader_program.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

std::string writeTemp(const std::string& name, const std::string& contents) {
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << contents;
    return path;
}

} // namespace

TEST(ReadShaderSource, AppendsOneLineFeedPerLineAndOneMoreAfterAFinalLineFeed) {
    EXPECT_EQ(readShaderSource(writeTemp("two_lines_lf.glsl", "a\nb\n")), "a\nb\n\n");
    EXPECT_EQ(readShaderSource(writeTemp("two_lines.glsl", "a\nb")), "a\nb\n");
    EXPECT_EQ(readShaderSource(writeTemp("empty.glsl", "")), "\n");
}
