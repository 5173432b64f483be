// BMP and ICO.
//
// BMP file header (14 bytes): 0 "BM", 2 u32 file size, 10 u32 offset of the pixels.
// Info header (40 bytes or more): 0 u32 size, 4 i32 width, 8 i32 height (negative: top row
// first), 12 u16 planes, 14 u16 bits per pixel (1, 4, 8, 24, 32), 16 u32 compression (0 only),
// 32 u32 colours used; the palette (4 bytes per colour, B G R 0) follows the info header.
// Rows are padded to 4 bytes.
// ICO: 0 u16 0, 2 u16 type 1, 4 u16 count, then 16-byte entries: 0 u8 width, 1 u8 height,
// 8 u32 size, 12 u32 offset. Each image is a PNG (not decoded here) or an info header with
// double height: the colour rows, then a 1-bit AND mask.
#include <algorithm>

#include "runtime/image/image.h"

namespace carelog::image {
namespace {

uint32_t U16(const uint8_t* p) {
  return p[0] | (p[1] << 8);
}
uint32_t U32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Where an info header's pixels, palette and mask lie, once checked against the data's size.
struct DibLayout {
  int32_t width = 0;
  int64_t rows = 0;
  bool top_down = false;
  uint32_t bits = 0;
  uint32_t colours = 0;  // palette entries (bits <= 8)
  size_t palette_at = 0, pixels_at = 0, stride = 0;
  size_t mask_at = 0, mask_stride = 0;  // mask_at 0: no mask
};

ImageError ReadDibLayout(const uint8_t* dib, size_t size, size_t pixels_at, bool icon,
                         DibLayout* l) {
  if (size < 40) return ImageError::kTruncated;
  uint32_t header = U32(dib);
  if (header < 40 || header > size) return ImageError::kMalformed;
  l->width = static_cast<int32_t>(U32(dib + 4));
  auto height = static_cast<int32_t>(U32(dib + 8));
  l->bits = U16(dib + 14);
  const uint32_t compression = U32(dib + 16);
  if (compression != 0 && !(compression == 3 && l->bits == 32)) return ImageError::kUnsupported;
  l->top_down = height < 0;
  if (height == INT32_MIN || l->width <= 0 || height == 0) return ImageError::kMalformed;
  l->rows = l->top_down ? -static_cast<int64_t>(height) : height;
  if (icon) l->rows /= 2;
  if (l->rows <= 0) return ImageError::kMalformed;
  if (static_cast<int64_t>(l->width) * l->rows > kMaxPixels) return ImageError::kTooLarge;
  const uint32_t bits = l->bits;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
    return ImageError::kUnsupported;
  l->colours = bits <= 8 ? U32(dib + 32) : 0;
  if (bits <= 8 && (l->colours == 0 || l->colours > (1u << bits))) l->colours = 1u << bits;
  l->palette_at = header + (compression == 3 ? 12 : 0);
  if (l->palette_at + size_t{l->colours} * 4 > size) return ImageError::kTruncated;
  l->pixels_at = pixels_at != 0 ? pixels_at : l->palette_at + size_t{l->colours} * 4;
  l->stride = ((static_cast<size_t>(l->width) * bits + 31) / 32) * 4;
  size_t need = l->pixels_at + l->stride * static_cast<size_t>(l->rows);
  l->mask_stride = ((static_cast<size_t>(l->width) + 31) / 32) * 4;
  if (need > size) return ImageError::kTruncated;
  if (icon && need + l->mask_stride * static_cast<size_t>(l->rows) <= size) l->mask_at = need;
  return ImageError::kOk;
}

// The colour of pixel `x` of a stored row, as ARGB (32-bit pixels as stored).
uint32_t DibPixel(const uint8_t* dib, const DibLayout& l, const uint8_t* row, int x) {
  if (l.bits <= 8) {
    size_t bit = static_cast<size_t>(x) * l.bits;
    uint32_t index = (row[bit / 8] >> (8 - l.bits - bit % 8)) & ((1u << l.bits) - 1);
    if (index >= l.colours) index = 0;
    const uint8_t* c = dib + l.palette_at + index * 4;
    return 0xFF000000u | (c[2] << 16) | (c[1] << 8) | c[0];
  }
  if (l.bits == 24) {
    const uint8_t* c = row + x * 3;
    return 0xFF000000u | (c[2] << 16) | (c[1] << 8) | c[0];
  }
  return U32(row + x * 4);
}

// The AND mask of an icon: a set bit makes the pixel clear.
void ApplyMask(const uint8_t* dib, const DibLayout& l, Image* out) {
  const uint8_t* mask = dib + l.mask_at;
  for (int64_t r = 0; r < l.rows; ++r) {
    int64_t y = l.top_down ? r : l.rows - 1 - r;
    for (int x = 0; x < l.width; ++x) {
      if ((mask[l.mask_stride * static_cast<size_t>(r) + x / 8] >> (7 - x % 8)) & 1) {
        out->pixels[static_cast<size_t>(y) * static_cast<size_t>(l.width) + x] = 0;
      }
    }
  }
}

// Decodes an info header and its pixels at `dib` (`size` bytes from there). `pixels_at` is
// the pixels' offset from `dib`, or 0 to take them right after the palette. `icon`: the height
// is doubled and an AND mask follows.
ImageError DecodeDib(const uint8_t* dib, size_t size, size_t pixels_at, bool icon, Image* out) {
  DibLayout l;
  if (ImageError error = ReadDibLayout(dib, size, pixels_at, icon, &l); error != ImageError::kOk) {
    return error;
  }
  out->width = l.width;
  out->height = static_cast<int>(l.rows);
  out->pixels.assign(static_cast<size_t>(l.width) * static_cast<size_t>(l.rows), 0);
  bool any_alpha = false;
  for (int64_t r = 0; r < l.rows; ++r) {
    const uint8_t* row = dib + l.pixels_at + l.stride * static_cast<size_t>(r);
    int64_t y = l.top_down ? r : l.rows - 1 - r;
    uint32_t* dst = &out->pixels[static_cast<size_t>(y) * static_cast<size_t>(l.width)];
    for (int x = 0; x < l.width; ++x) {
      dst[x] = DibPixel(dib, l, row, x);
      any_alpha = any_alpha || (l.bits == 32 && (dst[x] >> 24) != 0);
    }
  }
  // 32-bit pixels without any alpha are opaque; with alpha they need no mask.
  if (l.bits == 32 && !any_alpha) {
    for (uint32_t& p : out->pixels) p |= 0xFF000000u;
  }
  if (l.mask_at != 0 && !(l.bits == 32 && any_alpha)) ApplyMask(dib, l, out);
  return ImageError::kOk;
}

}  // namespace

ImageError DecodeBmp(const uint8_t* data, size_t size, Image* out) {
  if (size < 14 + 40) return ImageError::kTruncated;
  if (data[0] != 'B' || data[1] != 'M') return ImageError::kUnknown;
  uint32_t offset = U32(data + 10);
  if (offset < 14 + 40 || offset >= size) return ImageError::kMalformed;
  return DecodeDib(data + 14, size - 14, offset - 14, false, out);
}

ImageError DecodeIco(const uint8_t* data, size_t size, Image* out) {
  if (size < 6) return ImageError::kTruncated;
  if (U16(data) != 0 || U16(data + 2) != 1) return ImageError::kUnknown;
  uint32_t count = U16(data + 4);
  if (count == 0) return ImageError::kMalformed;
  if (6 + size_t{count} * 16 > size) return ImageError::kTruncated;
  int best = -1, best_area = -1;
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* e = data + 6 + i * 16;
    int w = e[0] ? e[0] : 256, h = e[1] ? e[1] : 256;
    if (w * h > best_area) best_area = w * h, best = static_cast<int>(i);
  }
  const uint8_t* e = data + 6 + best * 16;
  uint32_t length = U32(e + 8), offset = U32(e + 12);
  if (offset > size || length > size - offset) return ImageError::kTruncated;
  if (length >= 8 && data[offset] == 0x89 && data[offset + 1] == 'P')
    return ImageError::kUnsupported;
  return DecodeDib(data + offset, length, 0, true, out);
}

std::vector<uint8_t> EncodeIco(const Image& image) {
  std::vector<uint8_t> out;
  auto put16 = [&](uint32_t v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
  };
  auto put32 = [&](uint32_t v) {
    put16(v & 0xFFFF);
    put16(v >> 16);
  };
  size_t mask_stride = ((static_cast<size_t>(image.width) + 31) / 32) * 4;
  uint32_t bytes = static_cast<uint32_t>(40 + image.pixels.size() * 4 + mask_stride * image.height);
  put16(0);
  put16(1);
  put16(1);
  out.push_back(static_cast<uint8_t>(image.width & 0xFF));
  out.push_back(static_cast<uint8_t>(image.height & 0xFF));
  out.push_back(0);
  out.push_back(0);
  put16(1);
  put16(32);
  put32(bytes);
  put32(22);
  put32(40);
  put32(static_cast<uint32_t>(image.width));
  put32(static_cast<uint32_t>(image.height * 2));
  put16(1);
  put16(32);
  put32(0);
  put32(0);
  put32(0);
  put32(0);
  put32(0);
  put32(0);
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x)
      put32(image.pixels[static_cast<size_t>(y) * image.width + x]);
  }
  out.insert(out.end(), mask_stride * image.height, 0);
  return out;
}

}  // namespace carelog::image
