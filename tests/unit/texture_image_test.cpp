// Decoding texture images without GL: the files refused whole, and the byte-level checks that stop
// the decoder's known overruns before it runs (at their exact limits; the viewer's handling of such files is
// checked by the image robustness script).
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

    // A file cut three bytes before the end of the image data: the chunk's data no longer fits.
    png[data] = 0;
    png[data + 1] = 0;
    const size_t dataLength = static_cast<size_t>(png[data + 2]) << 8 | png[data + 3];
    EXPECT_FALSE(pngChunksFit(png.data(), data + 8 + dataLength - 3));
    EXPECT_TRUE(pngChunksFit(png.data(), png.size()));

    // Anything after the end chunk is not looked at, and other formats pass.
    png.insert(png.end(), {0xFF, 0xFF, 0xFF, 0xFF, 'J', 'U', 'N', 'K'});
    EXPECT_TRUE(pngChunksFit(png.data(), png.size()));
    const unsigned char jpegStart[] = {0xFF, 0xD8, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_TRUE(pngChunksFit(jpegStart, sizeof jpegStart));
}

// Files refused whole: beyond the size limit in either direction, formats other than JPEG and PNG
// (a PNM header whose width overflows int while it is read is never parsed), missing, empty, text,
// a folder. An image exactly at the limit decodes.
TEST(DecodeImage, OnlyJpegAndPngWithinTheLimitDecode) {
    const std::vector<unsigned char> pixels(17 * 17 * 3, 200);
    const std::string bmp = tempPath("other.bmp"), tga = tempPath("other.tga"), pnm = tempPath("other.pnm");
    ASSERT_NE(stbi_write_bmp(bmp.c_str(), 4, 4, 3, pixels.data()), 0);
    ASSERT_NE(stbi_write_tga(tga.c_str(), 4, 4, 3, pixels.data()), 0);
    std::ofstream(pnm, std::ios::binary) << "P6\n5622522222222222222222222 \n082\n255\n";
    std::ofstream(tempPath("empty.jpg"), std::ios::binary).flush();
    std::ofstream(tempPath("text.png"), std::ios::binary) << "plain text, no image";
    DecodedImage atLimit = decodeImageFile(writePng("limit.png", 16, 16, 3), 16);
    EXPECT_NE(atLimit.pixels, nullptr);
    releaseImage(atLimit);
    for (const std::string& path :
         {writePng("wide.png", 17, 1, 3), writePng("tall.png", 1, 17, 1), bmp, tga, pnm,
          tempPath("no_such_file.png"), tempPath("empty.jpg"), tempPath("text.png"), ::testing::TempDir()}) {
        const DecodedImage image = decodeImageFile(path, 16);
        EXPECT_EQ(image.pixels, nullptr) << path;
        EXPECT_EQ(image.width, 0) << path;
    }
}

// Only an image of nothing but zero bytes counts as black, down to its very last byte.
TEST(DecodeImage, AllZeroOnlyWhenEveryByteIsZero) {
    std::vector<unsigned char> pixels(5 * 3 * 3, 0);
    const std::string black = tempPath("black.jpg"), lastByte = tempPath("last_byte.png");
    ASSERT_NE(stbi_write_jpg(black.c_str(), 5, 3, 3, pixels.data(), 90), 0);
    pixels.back() = 1;
    ASSERT_NE(stbi_write_png(lastByte.c_str(), 5, 3, 3, pixels.data(), 5 * 3), 0);
    for (const auto& [path, allZero] : {std::pair{black, true}, std::pair{lastByte, false}}) {
        DecodedImage image = decodeImageFile(path, 16);
        EXPECT_EQ(imageAllZero(image), allZero) << path;
        releaseImage(image);
        EXPECT_FALSE(imageAllZero(image));
    }
}
