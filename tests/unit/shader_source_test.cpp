// Reading shader sources: the line-feed rules and the message for a missing file.
#include "render/shader_program.hpp"

#include <gtest/gtest.h>

#include <cstdio>
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

TEST(ReadShaderSource, MissingFileGivesEmptyTextAndOneLineOnStandardError) {
    ::testing::internal::CaptureStderr();
    ::testing::internal::CaptureStdout();
    const std::string text = readShaderSource("no/such/shader.vert");
    const std::string out = ::testing::internal::GetCapturedStdout();
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(text, "");
    EXPECT_EQ(err, "Could not read file no/such/shader.vert. File does not exist.\n");
    EXPECT_EQ(out, "");
}
