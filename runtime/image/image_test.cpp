#include "runtime/image/image.h"

#include <gtest/gtest.h>
#include <jpeglib.h>

#include <cstdio>

namespace carelog::image {
namespace {

Image Checker(int w, int h) {
  Image img{w, h, {}};
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) img.pixels.push_back((x + y) % 2 ? 0xFF102030u : 0x80FFEEDDu);
  }
  return img;
}

TEST(ImageTest, IconsRoundTripAndEveryTruncationFailsCleanly) {
  Image source = Checker(16, 16);
  std::vector<uint8_t> ico = EncodeIco(source);
  Image decoded;
  ASSERT_EQ(Decode(ico.data(), ico.size(), &decoded), ImageError::kOk);
  EXPECT_EQ(decoded.width, 16);
  EXPECT_EQ(decoded.height, 16);
  EXPECT_EQ(decoded.pixels, source.pixels);
  for (size_t n = 0; n < ico.size(); n += 7) {
    EXPECT_NE(DecodeIco(ico.data(), n, &decoded), ImageError::kOk) << n;
  }
}

TEST(ImageTest, BottomUpBmpWithPaddedRows) {
  // 3 x 2, 24 bits: rows of 9 bytes padded to 12, bottom row first.
  std::vector<uint8_t> bmp = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  40,
                              0,   0,   0, 3, 0, 0, 0, 2, 0, 0, 0,  1, 0, 24, 0};
  bmp.resize(54, 0);
  const uint8_t bottom[12] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0};
  const uint8_t top[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0};
  bmp.insert(bmp.end(), bottom, bottom + 12);
  bmp.insert(bmp.end(), top, top + 12);
  Image img;
  ASSERT_EQ(DecodeBmp(bmp.data(), bmp.size(), &img), ImageError::kOk);
  EXPECT_EQ(img.pixels, (std::vector<uint32_t>{0xFF030201, 0xFF060504, 0xFF090807, 0xFF0000FF,
                                               0xFF00FF00, 0xFFFF0000}));
  bmp.pop_back();
  EXPECT_EQ(DecodeBmp(bmp.data(), bmp.size(), &img), ImageError::kTruncated);
}

TEST(ImageTest, GifFirstImageThroughLzw) {
  const uint8_t gif[] = {'G', 'I',  'F',  '8',  '9', 'a', 1, 0,    1, 0, 0x80, 0,
                         0,   0xFF, 0xFF, 0xFF, 0,   0,   0, 0x2C, 0, 0, 0,    0,
                         1,   0,    1,    0,    0,   2,   2, 0x44, 1, 0, 0x3B};
  Image img;
  ASSERT_EQ(DecodeGif(gif, sizeof gif, &img), ImageError::kOk);
  EXPECT_EQ(img.pixels, std::vector<uint32_t>{0xFFFFFFFF});
  EXPECT_EQ(DecodeGif(gif, 20, &img), ImageError::kTruncated);
}

// A 1x1 image of colour index 0 with a white-and-black global table; `extension` goes before
// the image descriptor, `local` (a local colour table) after it.
std::vector<uint8_t> OnePixelGif(std::vector<uint8_t> extension, std::vector<uint8_t> local) {
  std::vector<uint8_t> gif = {'G',  'I', 'F', '8',  '9',  'a',  1, 0, 1, 0,
                              0x80, 0,   0,   0xFF, 0xFF, 0xFF, 0, 0, 0};
  gif.insert(gif.end(), extension.begin(), extension.end());
  gif.insert(gif.end(), {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, uint8_t(local.empty() ? 0 : 0x80)});
  gif.insert(gif.end(), local.begin(), local.end());
  gif.insert(gif.end(), {2, 2, 0x44, 1, 0, 0x3B});
  return gif;
}

TEST(ImageTest, GifTransparentIndexAndLocalColourTable) {
  Image img;
  std::vector<uint8_t> gif = OnePixelGif({0x21, 0xF9, 4, 1, 0, 0, 0, 0}, {});
  ASSERT_EQ(DecodeGif(gif.data(), gif.size(), &img), ImageError::kOk);
  EXPECT_EQ(img.pixels, std::vector<uint32_t>{0});  // index 0 is transparent: left clear
  gif = OnePixelGif({}, {0xFF, 0, 0, 0, 0, 0});
  ASSERT_EQ(DecodeGif(gif.data(), gif.size(), &img), ImageError::kOk);
  EXPECT_EQ(img.pixels, std::vector<uint32_t>{0xFFFF0000});  // the local table wins
  gif = OnePixelGif({0x21, 0xF9, 4, 1, 0, 0, 0, 0}, {});
  gif[gif.size() - 16] = 0x2B;  // neither an extension nor an image descriptor
  EXPECT_EQ(DecodeGif(gif.data(), gif.size(), &img), ImageError::kMalformed);
}

TEST(ImageTest, PcxRunLengthTrueColour) {
  std::vector<uint8_t> pcx(128, 0);
  pcx[0] = 0x0A, pcx[1] = 5, pcx[2] = 1, pcx[3] = 8;
  pcx[8] = 1;  // x max: two pixels wide, one high
  pcx[65] = 3, pcx[66] = 2;
  const uint8_t rows[] = {0xC2, 0x10, 0x20, 0x30, 0xC1, 0xF0, 0x05};  // R R, G G, B B
  pcx.insert(pcx.end(), rows, rows + sizeof rows);
  Image img;
  ASSERT_EQ(DecodePcx(pcx.data(), pcx.size(), &img), ImageError::kOk);
  EXPECT_EQ(img.pixels, (std::vector<uint32_t>{0xFF1020F0, 0xFF103005}));
  pcx.pop_back();
  EXPECT_EQ(DecodePcx(pcx.data(), pcx.size(), &img), ImageError::kTruncated);
}

TEST(ImageTest, JpegThroughTheLibraryAndGarbageIsAnError) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = 8;
  info.image_height = 8;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(24);
  for (int i = 0; i < 8; ++i) row[i * 3] = 200, row[i * 3 + 1] = 30, row[i * 3 + 2] = 40;
  while (info.next_scanline < 8) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  Image img;
  ASSERT_EQ(Decode(buffer, size, &img), ImageError::kOk);
  EXPECT_EQ(img.width, 8);
  uint32_t p = img.pixels[27];
  EXPECT_NEAR(static_cast<int>((p >> 16) & 0xFF), 200, 8);
  EXPECT_NEAR(static_cast<int>(p & 0xFF), 40, 8);
  std::free(buffer);
  const uint8_t junk[] = {0xFF, 0xD8, 0x00, 0x11, 0x22};
  EXPECT_NE(DecodeJpeg(junk, sizeof junk, &img), ImageError::kOk);
}

}  // namespace
}  // namespace carelog::image
