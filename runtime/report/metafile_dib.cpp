// Device-independent bitmaps inside metafile records: an information header of at least 40
// bytes, a colour table for 1, 4 and 8 bits per pixel, then the rows (bottom-up unless the
// height is negative), each padded to four bytes. Uncompressed only.
#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/host/graphics.h"

namespace carelog::report {

namespace {

uint32_t U32At(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// The pixel at column x of a row, as 0xAARRGGBB.
uint32_t PixelOf(const uint8_t* row, int x, int bits, const std::vector<uint32_t>& palette) {
  if (bits == 24) return 0xFF000000u | (row[x * 3 + 2] << 16) | (row[x * 3 + 1] << 8) | row[x * 3];
  if (bits == 32) return 0xFF000000u | (row[x * 4 + 2] << 16) | (row[x * 4 + 1] << 8) | row[x * 4];
  int per_byte = 8 / bits;
  int shift = 8 - bits * (x % per_byte + 1);
  unsigned index = (row[x / per_byte] >> shift) & ((1u << bits) - 1);
  return index < palette.size() ? palette[index] : 0xFF000000u;
}

}  // namespace

std::shared_ptr<host::Surface> DecodeDib(const uint8_t* data, size_t size) {
  if (size < 40) return nullptr;
  uint32_t header = U32At(data);
  int32_t width = static_cast<int32_t>(U32At(data + 4));
  int32_t signed_height = static_cast<int32_t>(U32At(data + 8));
  int bits = data[14] | (data[15] << 8);
  uint32_t compression = U32At(data + 16);
  uint32_t used = U32At(data + 32);
  if (header < 40 || header > size || compression != 0) return nullptr;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return nullptr;
  if (signed_height == INT32_MIN) return nullptr;
  int32_t height = signed_height < 0 ? -signed_height : signed_height;
  if (width <= 0 || height <= 0 || width > host::kMaxSurfaceSide ||
      height > host::kMaxSurfaceSide) {
    return nullptr;
  }
  if (static_cast<int64_t>(width) * height > (int64_t{1} << 24)) return nullptr;
  size_t colors = bits <= 8 ? (used != 0 && used < (1u << bits) ? used : (1u << bits)) : 0;
  size_t row_bytes = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
  size_t offset = header + colors * 4;
  if (offset > size || (size - offset) / row_bytes < static_cast<size_t>(height)) return nullptr;
  std::vector<uint32_t> palette(colors);
  for (size_t i = 0; i < colors; ++i)
    palette[i] = 0xFF000000u | (U32At(data + header + 4 * i) & 0xFFFFFF);
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  for (int32_t y = 0; y < height; ++y) {
    int32_t source = signed_height < 0 ? y : height - 1 - y;
    const uint8_t* row = data + offset + static_cast<size_t>(source) * row_bytes;
    for (int32_t x = 0; x < width; ++x) {
      pixels[static_cast<size_t>(y) * width + x] = PixelOf(row, x, bits, palette);
    }
  }
  return host::Surface::FromPixels(width, height, pixels.data(), width);
}

}  // namespace carelog::report
