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

TEST(DecodeImage, ConvertsToTheChannelCountAskedFor) {
    // The smoke sprites want RGBA whatever the file holds: grey spreads over RGB, alpha comes in opaque.
    DecodedImage image = decodeImageFile(writePng("grey.png", 2, 1, 1), 16, 4);
    ASSERT_NE(image.pixels, nullptr);
    EXPECT_EQ(image.channels, 4);
    EXPECT_EQ(image.format, static_cast<GLenum>(GL_RGBA));
    const unsigned char expected[] = {0, 0, 0, 255, 7, 7, 7, 255};
    EXPECT_EQ(std::vector<unsigned char>(image.pixels, image.pixels + 8),
              std::vector<unsigned char>(expected, expected + 8));
    releaseImage(image);
    EXPECT_EQ(decodeImageFile(writePng("five.png", 2, 1, 1), 16, 5).pixels, nullptr) << "no 5-channel images";
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

namespace {

std::vector<unsigned char> smallJpeg() {
    const std::string path = tempPath("tables.jpg");
    std::vector<unsigned char> pixels(8 * 8 * 3);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<unsigned char>(i * 13);
    EXPECT_NE(stbi_write_jpg(path.c_str(), 8, 8, 3, pixels.data(), 90), 0);
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

size_t firstHuffmanTable(const std::vector<unsigned char>& bytes) {
    for (size_t i = 0; i + 1 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC4)
            return i;
    return bytes.size();
}

} // namespace

TEST(JpegHuffmanTables, ARealJpegAndOtherFormatsPass) {
    const std::vector<unsigned char> jpeg = smallJpeg();
    EXPECT_TRUE(jpegHuffmanTablesFit(jpeg.data(), jpeg.size()));
    DecodedImage image = decodeImage(jpeg.data(), jpeg.size(), 16);
    EXPECT_NE(image.pixels, nullptr);
    releaseImage(image);
    const unsigned char png[] = {0x89, 'P', 'N', 'G', 0xFF, 0xC4, 0xFF, 0xFF};
    EXPECT_TRUE(jpegHuffmanTablesFit(png, sizeof png)) << "only JPEG data is looked at";
    EXPECT_TRUE(jpegHuffmanTablesFit(png, 0));
}

TEST(JpegHuffmanTables, ATableOfMoreThan256CodesIsRefusedBeforeDecoding) {
    // stb_image 2.27 would write these 512 code lengths into an array of 257: memory corruption from
    // a 700-byte texture, found by the texture fuzzer.
    std::vector<unsigned char> jpeg = smallJpeg();
    const size_t table = firstHuffmanTable(jpeg);
    ASSERT_LT(table + 21, jpeg.size());
    for (size_t i = 0; i < 16; ++i)
        jpeg[table + 5 + i] = 32;
    EXPECT_FALSE(jpegHuffmanTablesFit(jpeg.data(), jpeg.size()));
    EXPECT_EQ(decodeImage(jpeg.data(), jpeg.size(), 16).pixels, nullptr);

    // Fill bytes before the start marker still make it a JPEG to the decoder.
    std::vector<unsigned char> filled = {0xFF, 0xFF, 0xFF};
    filled.insert(filled.end(), jpeg.begin() + 1, jpeg.end());
    EXPECT_FALSE(jpegHuffmanTablesFit(filled.data(), filled.size()));

    // Exactly 256 codes is what the format allows.
    for (size_t i = 0; i < 16; ++i)
        jpeg[table + 5 + i] = 16;
    EXPECT_TRUE(jpegHuffmanTablesFit(jpeg.data(), jpeg.size()));
}

TEST(JpegHuffmanTables, ASecondTableInTheSameSegmentIsCheckedToo) {
    // One segment may carry several tables; the decoder reads as many as its length leaves room for.
    std::vector<unsigned char> jpeg = {0xFF, 0xD8, 0xFF, 0xC4, 0x00, 0x40, 0x00};
    jpeg.insert(jpeg.end(), {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7}); // 1 code: symbol 7
    jpeg.push_back(0x11);
    jpeg.insert(jpeg.end(), 16, 255); // 4080 codes
    EXPECT_FALSE(jpegHuffmanTablesFit(jpeg.data(), jpeg.size()));
    jpeg[5] = 19; // the segment ends after the first table
    EXPECT_TRUE(jpegHuffmanTablesFit(jpeg.data(), jpeg.size()));
}

TEST(DecodeImage, OnlyJpegAndPngAreDecoded) {
    const std::vector<unsigned char> pixels(4 * 4 * 3, 200);
    const std::string bmp = tempPath("other.bmp");
    const std::string tga = tempPath("other.tga");
    ASSERT_NE(stbi_write_bmp(bmp.c_str(), 4, 4, 3, pixels.data()), 0);
    ASSERT_NE(stbi_write_tga(tga.c_str(), 4, 4, 3, pixels.data()), 0);
    EXPECT_EQ(decodeImageFile(bmp, 16).pixels, nullptr);
    EXPECT_EQ(decodeImageFile(tga, 16).pixels, nullptr);
    // A PNM header whose width overflows int while it is read: never parsed now.
    const std::string pnm = "P6\n5622522222222222222222222 \n082\n255\n";
    const auto* bytes = reinterpret_cast<const unsigned char*>(pnm.data());
    EXPECT_EQ(decodeImage(bytes, pnm.size(), 16).pixels, nullptr);
}

TEST(DecodeImage, JpegsTheFuzzerFoundDecodeWithinBounds) {
    // Progressive JPEGs whose scans name tables the file never defines, or run into a marker before
    // their bits end. Decoded or refused, the result is harmless; the sanitizer job runs this test
    // with bounds and undefined-behaviour checks on the decoder.
    struct Case {
        const char* file;
        int width;
        int height;
    };
    for (const Case& c :
         {Case{"undefined-huffman-table.jpg", 8, 8}, Case{"progressive-scan-past-marker.jpg", 16, 8}}) {
        SCOPED_TRACE(c.file);
        std::ifstream in(std::string(DUSKVALE_SOURCE_DIR) + "/tests/fuzz/corpus/texture/" + c.file,
                         std::ios::binary);
        const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                               std::istreambuf_iterator<char>());
        ASSERT_FALSE(bytes.empty());
        for (int run = 0; run < 3; ++run) {
            DecodedImage image = decodeImage(bytes.data(), bytes.size(), 1024);
            if (image.pixels) {
                EXPECT_EQ(image.width, c.width);
                EXPECT_EQ(image.height, c.height);
            }
            releaseImage(image);
        }
    }
}

TEST(PngChunks, AChunkLongerThanTheFileIsRefusedBeforeDecoding) {
    std::ifstream in(writePng("chunks.png", 3, 2, 3), std::ios::binary);
    std::vector<unsigned char> png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(pngChunksFit(png.data(), png.size()));
    DecodedImage image = decodeImage(png.data(), png.size(), 16);
    EXPECT_NE(image.pixels, nullptr);
    releaseImage(image);

    // The first chunk after the header chunk (8 + 25 bytes in) is the image data: claim 2 GB for it,
    // which stb_image 2.27 would allocate before finding the bytes missing (found by the fuzzer).
    const size_t data = 8 + 25;
    ASSERT_EQ(std::string(png.begin() + data + 4, png.begin() + data + 8), "IDAT");
    png[data] = 0x7F;
    png[data + 1] = 0xFF;
    EXPECT_FALSE(pngChunksFit(png.data(), png.size()));
    EXPECT_EQ(decodeImage(png.data(), png.size(), 16).pixels, nullptr);

    // Anything after the end chunk is not looked at, and other formats pass.
    png[data] = 0;
    png[data + 1] = 0;
    png.insert(png.end(), {0xFF, 0xFF, 0xFF, 0xFF, 'J', 'U', 'N', 'K'});
    EXPECT_TRUE(pngChunksFit(png.data(), png.size()));
    const unsigned char jpegStart[] = {0xFF, 0xD8, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_TRUE(pngChunksFit(jpegStart, sizeof jpegStart));
}

TEST(DecodeImage, MissingEmptyAndForeignFilesGiveNoPixels) {
    EXPECT_EQ(decodeImageFile(tempPath("no_such_file.png"), 16).pixels, nullptr);
    std::ofstream(tempPath("empty.jpg"), std::ios::binary).flush();
    EXPECT_EQ(decodeImageFile(tempPath("empty.jpg"), 16).pixels, nullptr);
    std::ofstream(tempPath("text.png"), std::ios::binary) << "plain text, no image";
    EXPECT_EQ(decodeImageFile(tempPath("text.png"), 16).pixels, nullptr);
    EXPECT_EQ(decodeImageFile(::testing::TempDir(), 16).pixels, nullptr) << "a folder";
}
