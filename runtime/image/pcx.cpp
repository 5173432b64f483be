// PCX.
//
// Header (128 bytes): 0 u8 0x0A, 1 u8 version, 2 u8 encoding (1: run-length), 3 u8 bits per
// pixel, 4 u16 x min, 6 u16 y min, 8 u16 x max, 10 u16 y max, 16 48-byte palette (16 colours),
// 65 u8 planes, 66 u16 bytes per plane line. Scan lines follow, each plane in turn; a byte
// 0xC0 | n repeats the next byte n times. 8-bit single-plane images end with 0x0C and a
// 768-byte palette. Decoded: 1 bit x 1 or 4 planes, 8 bits x 1 or 3 planes.
#include "runtime/image/image.h"

namespace carelog::image {

ImageError DecodePcx(const uint8_t* data, size_t size, Image* out) {
  if (size < 128) return ImageError::kTruncated;
  if (data[0] != 0x0A || data[2] != 1) return ImageError::kUnknown;
  auto u16 = [&](size_t at) { return static_cast<int>(data[at] | (data[at + 1] << 8)); };
  int bits = data[3], planes = data[65], line = u16(66);
  int width = u16(8) - u16(4) + 1, height = u16(10) - u16(6) + 1;
  if (width <= 0 || height <= 0) return ImageError::kMalformed;
  if (static_cast<int64_t>(width) * height > kMaxPixels) return ImageError::kTooLarge;
  bool supported =
      (bits == 1 && (planes == 1 || planes == 4)) || (bits == 8 && (planes == 1 || planes == 3));
  if (!supported) return ImageError::kUnsupported;
  if (line * 8 < width * bits || line == 0) return ImageError::kMalformed;
  const uint8_t* palette256 = nullptr;
  if (bits == 8 && planes == 1) {
    if (size < 128 + 769 || data[size - 769] != 0x0C) return ImageError::kMalformed;
    palette256 = data + size - 768;
  }
  size_t limit = palette256 ? size - 769 : size;
  std::vector<uint8_t> scan(static_cast<size_t>(line) * planes);
  out->width = width;
  out->height = height;
  out->pixels.assign(static_cast<size_t>(width) * height, 0);
  size_t at = 128;
  for (int y = 0; y < height; ++y) {
    size_t filled = 0;
    while (filled < scan.size()) {
      if (at >= limit) return ImageError::kTruncated;
      uint8_t b = data[at++];
      size_t run = 1;
      if ((b & 0xC0) == 0xC0) {
        run = b & 0x3F;
        if (at >= limit) return ImageError::kTruncated;
        b = data[at++];
      }
      for (size_t i = 0; i < run && filled < scan.size(); ++i) scan[filled++] = b;
    }
    uint32_t* dst = &out->pixels[static_cast<size_t>(y) * width];
    for (int x = 0; x < width; ++x) {
      if (bits == 8 && planes == 3) {
        dst[x] = 0xFF000000u | (scan[x] << 16) | (scan[line + x] << 8) | scan[2 * line + x];
      } else if (bits == 8) {
        const uint8_t* c = palette256 + scan[x] * 3;
        dst[x] = 0xFF000000u | (c[0] << 16) | (c[1] << 8) | c[2];
      } else {
        int index = 0;
        for (int p = 0; p < planes; ++p) {
          index |= ((scan[static_cast<size_t>(p) * line + x / 8] >> (7 - x % 8)) & 1) << p;
        }
        if (planes == 1) {
          dst[x] = index ? 0xFFFFFFFFu : 0xFF000000u;
        } else {
          const uint8_t* c = data + 16 + index * 3;
          dst[x] = 0xFF000000u | (c[0] << 16) | (c[1] << 8) | c[2];
        }
      }
    }
  }
  return ImageError::kOk;
}

}  // namespace carelog::image
