// Decoding texture images without GL: the format each channel count gets, and the header check that
// refuses an image too large for the context before its pixels are decoded.
#include "model/texture_image.hpp"

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + "texture_image_" + name;
}

std::string writePng(const std::string& name, int width, int height, int channels) {
    const std::string path = tempPath(name);
    std::vector<unsigned char> pixels(static_cast<size_t>(width * height * channels));
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<unsigned char>(i * 7);
    EXPECT_NE(stbi_write_png(path.c_str(), width, height, channels, pixels.data(), width * channels), 0);
    return path;
}

} // namespace

TEST(PixelFormat, FollowsTheChannelCountAndRefusesOthers) {
    EXPECT_EQ(pixelFormatForChannels(1), static_cast<GLenum>(GL_RED));
    EXPECT_EQ(pixelFormatForChannels(2), static_cast<GLenum>(GL_RG));
    EXPECT_EQ(pixelFormatForChannels(3), static_cast<GLenum>(GL_RGB));
    EXPECT_EQ(pixelFormatForChannels(4), static_cast<GLenum>(GL_RGBA));
    EXPECT_EQ(pixelFormatForChannels(0), 0u);
    EXPECT_EQ(pixelFormatForChannels(5), 0u);
}

TEST(DecodeImage, KeepsTheFilesOwnSizeChannelsAndFirstRow) {
    for (int channels = 1; channels <= 4; ++channels) {
        DecodedImage image = decodeImageFile(writePng("c.png", 5, 3, channels), 16);
        ASSERT_NE(image.pixels, nullptr) << channels;
        EXPECT_EQ(image.width, 5);
        EXPECT_EQ(image.height, 3);
        EXPECT_EQ(image.channels, channels);
        EXPECT_EQ(image.format, pixelFormatForChannels(channels));
        EXPECT_EQ(image.pixels[channels], static_cast<unsigned char>(channels * 7)) << "not flipped";
        releaseImage(image);
        EXPECT_EQ(image.pixels, nullptr);
    }
}

TEST(DecodeImage, AnImageBeyondTheLimitIsRefusedAndOneAtItDecodes) {
    DecodedImage atLimit = decodeImageFile(writePng("limit.png", 16, 16, 3), 16);
    EXPECT_NE(atLimit.pixels, nullptr);
    releaseImage(atLimit);
    const DecodedImage wide = decodeImageFile(writePng("wide.png", 17, 1, 3), 16);
    EXPECT_EQ(wide.pixels, nullptr);
    EXPECT_EQ(wide.width, 0);
    const DecodedImage tall = decodeImageFile(writePng("tall.png", 1, 17, 1), 16);
    EXPECT_EQ(tall.pixels, nullptr);
}

TEST(DecodeImage, AHeaderClaimingAHugeImageIsRefusedFromTheHeaderAlone) {
    // A real 8 x 8 JPEG whose frame header is rewritten to claim 17000 x 17000: stb_image would decode
    // it, padding the missing data, into 850 MB of pixels. The check must say no from the header.
    const std::string small = tempPath("small.jpg");
    std::vector<unsigned char> pixels(8 * 8 * 3, 128);
    ASSERT_NE(stbi_write_jpg(small.c_str(), 8, 8, 3, pixels.data(), 90), 0);
    std::ifstream in(small, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t frame = 0;
    while (frame + 9 < bytes.size() && !(bytes[frame] == 0xFF && bytes[frame + 1] == 0xC0))
        ++frame;
    ASSERT_LT(frame + 9, bytes.size()) << "no baseline frame header";
    for (size_t at : {frame + 5, frame + 7}) { // height, then width, both big-endian 16-bit
        bytes[at] = 17000 >> 8;
        bytes[at + 1] = 17000 & 0xFF;
    }
    const std::string path = tempPath("huge.jpg");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const DecodedImage image = decodeImageFile(path, 16384);
    EXPECT_EQ(image.pixels, nullptr);
}

TEST(DecodeImage, MissingEmptyAndForeignFilesGiveNoPixels) {
    EXPECT_EQ(decodeImageFile(tempPath("no_such_file.png"), 16).pixels, nullptr);
    std::ofstream(tempPath("empty.jpg"), std::ios::binary).flush();
    EXPECT_EQ(decodeImageFile(tempPath("empty.jpg"), 16).pixels, nullptr);
    std::ofstream(tempPath("text.png"), std::ios::binary) << "plain text, no image";
    EXPECT_EQ(decodeImageFile(tempPath("text.png"), 16).pixels, nullptr);
    EXPECT_EQ(decodeImageFile(::testing::TempDir(), 16).pixels, nullptr) << "a folder";
}
