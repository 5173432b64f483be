// GIF (87a and 89a), first image only.
//
//   0  "GIF87a" / "GIF89a"   6 u16 width   8 u16 height   10 u8 flags (0x80 global colour
//   table of 2^((flags & 7) + 1) entries)   11 background index   12 aspect   13 table
// Then blocks: 0x21 extension (label, sub-blocks; 0xF9 carries the transparent index),
// 0x2C image (u16 left, top, width, height, u8 flags: 0x80 local table, 0x40 interlaced; the
// LZW minimum code size; sub-blocks of LZW codes), 0x3B end.
#include <array>

#include "runtime/image/image.h"

namespace carelog::image {
namespace {

struct Reader {
  const uint8_t* data;
  size_t size;
  size_t at = 0;
  bool Has(size_t n) const { return at <= size && size - at >= n; }
  uint32_t U8() { return data[at++]; }
  uint32_t U16() {
    uint32_t v = data[at] | (data[at + 1] << 8);
    at += 2;
    return v;
  }
};

// Joins the sub-blocks starting at r.at; false when they run past the end.
bool SubBlocks(Reader& r, std::vector<uint8_t>* out) {
  for (;;) {
    if (!r.Has(1)) return false;
    uint32_t n = r.U8();
    if (n == 0) return true;
    if (!r.Has(n)) return false;
    if (out) out->insert(out->end(), r.data + r.at, r.data + r.at + n);
    r.at += n;
  }
}

// Decodes LZW codes into `count` colour indexes.
bool Lzw(const std::vector<uint8_t>& in, int min_size, size_t count, std::vector<uint8_t>* out) {
  if (min_size < 2 || min_size > 8) return false;
  const int clear = 1 << min_size, end = clear + 1;
  std::array<uint16_t, 4096> prefix{};
  std::array<uint8_t, 4096> suffix{};
  std::array<uint8_t, 4096> first{};
  std::vector<uint8_t> stack;
  for (int i = 0; i < clear; ++i) suffix[i] = first[i] = static_cast<uint8_t>(i);
  int size = min_size + 1, next = end + 1, previous = -1;
  size_t bit = 0;
  out->clear();
  while (out->size() < count) {
    if ((bit + size + 7) / 8 > in.size()) break;
    int code = 0;
    for (int i = 0; i < size; ++i, ++bit) code |= ((in[bit / 8] >> (bit % 8)) & 1) << i;
    if (code == clear) {
      size = min_size + 1;
      next = end + 1;
      previous = -1;
      continue;
    }
    if (code == end) break;
    if (previous < 0) {
      if (code >= clear) return false;
      out->push_back(static_cast<uint8_t>(code));
      previous = code;
      continue;
    }
    int walk;
    uint8_t head;
    if (code < next) {
      walk = code;
      head = first[code];
    } else if (code == next) {
      walk = previous;
      head = first[previous];
    } else {
      return false;
    }
    stack.clear();
    if (code == next) stack.push_back(head);
    while (walk >= clear) {
      stack.push_back(suffix[walk]);
      walk = prefix[walk];
    }
    stack.push_back(static_cast<uint8_t>(walk));
    for (auto it = stack.rbegin(); it != stack.rend() && out->size() < count; ++it)
      out->push_back(*it);
    if (next < 4096) {
      prefix[next] = static_cast<uint16_t>(previous);
      suffix[next] = head;
      first[next] = first[previous];
      ++next;
      if (next == (1 << size) && size < 12) ++size;
    }
    previous = code;
  }
  out->resize(count, 0);
  return true;
}

// A colour table of 2^(bits + 1) entries when `flags` has its high bit; false when cut short.
bool ReadColorTable(Reader& r, uint32_t flags, std::vector<uint8_t>* table) {
  if (!(flags & 0x80)) return true;
  size_t n = size_t{3} << ((flags & 7) + 1);
  if (!r.Has(n)) return false;
  table->assign(r.data + r.at, r.data + r.at + n);
  r.at += n;
  return true;
}

// The image rows in the order they are stored. Interlaced rows come in four passes: every 8th
// from 0, every 8th from 4, every 4th from 2, every 2nd from 1.
std::vector<int> RowOrder(bool interlaced, int h) {
  std::vector<int> rows;
  if (interlaced) {
    const int starts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
    for (int p = 0; p < 4; ++p) {
      for (int y = starts[p]; y < h; y += steps[p]) rows.push_back(y);
    }
  } else {
    for (int y = 0; y < h; ++y) rows.push_back(y);
  }
  return rows;
}

// One frame of colour indexes placed on the canvas; transparent and unknown indexes stay clear.
struct Frame {
  int left, top, width, height;
  bool interlaced;
  int transparent;
  const std::vector<uint8_t>& table;
  const std::vector<uint8_t>& indexes;
};

void PaintFrame(const Frame& f, Image* out) {
  std::vector<int> rows = RowOrder(f.interlaced, f.height);
  for (int i = 0; i < f.height; ++i) {
    int y = f.top + rows[static_cast<size_t>(i)];
    if (y >= out->height) continue;
    for (int x = 0; x < f.width && f.left + x < out->width; ++x) {
      uint8_t index = f.indexes[static_cast<size_t>(i) * f.width + x];
      if (index == f.transparent || size_t{index} * 3 + 2 >= f.table.size()) continue;
      const uint8_t* c = &f.table[size_t{index} * 3];
      out->pixels[static_cast<size_t>(y) * out->width + f.left + x] =
          0xFF000000u | (c[0] << 16) | (c[1] << 8) | c[2];
    }
  }
}

// The image descriptor after its 0x2C, its table and its codes, painted on the canvas.
ImageError DecodeFrame(Reader& r, const std::vector<uint8_t>& global, int transparent, Image* out) {
  if (!r.Has(9)) return ImageError::kTruncated;
  int left = static_cast<int>(r.U16()), top = static_cast<int>(r.U16());
  int w = static_cast<int>(r.U16()), h = static_cast<int>(r.U16());
  uint32_t image_flags = r.U8();
  std::vector<uint8_t> table = global;
  if (!ReadColorTable(r, image_flags, &table)) return ImageError::kTruncated;
  if (table.empty()) return ImageError::kMalformed;
  if (!r.Has(1)) return ImageError::kTruncated;
  int min_size = static_cast<int>(r.U8());
  std::vector<uint8_t> codes, indexes;
  if (!SubBlocks(r, &codes)) return ImageError::kTruncated;
  if (static_cast<int64_t>(w) * h > kMaxPixels) return ImageError::kTooLarge;
  if (!Lzw(codes, min_size, static_cast<size_t>(w) * h, &indexes)) return ImageError::kMalformed;
  out->pixels.assign(static_cast<size_t>(out->width) * out->height, 0);
  PaintFrame(Frame{left, top, w, h, (image_flags & 0x40) != 0, transparent, table, indexes}, out);
  return ImageError::kOk;
}

}  // namespace

ImageError DecodeGif(const uint8_t* data, size_t size, Image* out) {
  Reader r{data, size};
  if (!r.Has(13)) return ImageError::kTruncated;
  if (std::string(reinterpret_cast<const char*>(data), 6) != "GIF87a" &&
      std::string(reinterpret_cast<const char*>(data), 6) != "GIF89a") {
    return ImageError::kUnknown;
  }
  r.at = 6;
  int width = static_cast<int>(r.U16()), height = static_cast<int>(r.U16());
  uint32_t flags = r.U8();
  r.at += 2;
  if (width == 0 || height == 0) return ImageError::kMalformed;
  if (static_cast<int64_t>(width) * height > kMaxPixels) return ImageError::kTooLarge;
  std::vector<uint8_t> global;
  if (!ReadColorTable(r, flags, &global)) return ImageError::kTruncated;
  int transparent = -1;
  uint32_t block;
  for (;;) {
    if (!r.Has(1)) return ImageError::kTruncated;
    block = r.U8();
    if (block == 0x3B) return ImageError::kMalformed;  // no image at all
    if (block != 0x21) break;
    if (!r.Has(1)) return ImageError::kTruncated;
    uint32_t label = r.U8();
    std::vector<uint8_t> body;
    if (!SubBlocks(r, &body)) return ImageError::kTruncated;
    if (label == 0xF9 && body.size() >= 4 && (body[0] & 1)) transparent = body[3];
  }
  if (block != 0x2C) return ImageError::kMalformed;
  Image image;
  image.width = width;
  image.height = height;
  const ImageError error = DecodeFrame(r, global, transparent, &image);
  if (error == ImageError::kOk) {
    out->width = width;
    out->height = height;
    out->pixels = std::move(image.pixels);
  }
  return error;
}

}  // namespace carelog::image
