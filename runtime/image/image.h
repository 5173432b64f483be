// Decoders of the picture files that image controls show: Windows bitmaps (BMP), icons (ICO),
// GIF (first frame), PCX and JPEG (through libjpeg).
//
// Every decoder takes untrusted bytes: sizes, offsets, palettes and compressed streams are
// checked against the input, and a bad file gives an error code, never a crash. Images larger
// than kMaxPixels are refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace carelog::image {

inline constexpr int64_t kMaxPixels = int64_t{1} << 26;

enum class ImageError : uint8_t {
  kOk,
  kUnreadable,   // the file cannot be read
  kUnknown,      // not a format of this module
  kTruncated,    // the data ends early
  kMalformed,    // an inconsistent header or stream
  kUnsupported,  // a variant this module does not decode
  kTooLarge,
};

// Unpremultiplied 0xAARRGGBB pixels, top row first.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};

ImageError DecodeBmp(const uint8_t* data, size_t size, Image* out);
ImageError DecodeIco(const uint8_t* data, size_t size, Image* out);  // the largest image
ImageError DecodeGif(const uint8_t* data, size_t size, Image* out);
ImageError DecodePcx(const uint8_t* data, size_t size, Image* out);
ImageError DecodeJpeg(const uint8_t* data, size_t size, Image* out);

// Chooses the decoder by the data's signature.
ImageError Decode(const uint8_t* data, size_t size, Image* out);
ImageError LoadFile(const std::string& path, Image* out);

// Writes an icon file of one 32-bit image (the program's own icons are generated with it).
std::vector<uint8_t> EncodeIco(const Image& image);

}  // namespace carelog::image
