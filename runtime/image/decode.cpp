#include <fstream>
#include <iterator>

#include "runtime/image/image.h"

namespace carelog::image {

ImageError Decode(const uint8_t* data, size_t size, Image* out) {
  if (size >= 2 && data[0] == 'B' && data[1] == 'M') return DecodeBmp(data, size, out);
  if (size >= 2 && data[0] == 0xFF && data[1] == 0xD8) return DecodeJpeg(data, size, out);
  if (size >= 3 && data[0] == 'G' && data[1] == 'I' && data[2] == 'F')
    return DecodeGif(data, size, out);
  if (size >= 4 && data[0] == 0 && data[1] == 0 && data[2] == 1 && data[3] == 0) {
    return DecodeIco(data, size, out);
  }
  if (size >= 1 && data[0] == 0x0A) return DecodePcx(data, size, out);
  return ImageError::kUnknown;
}

ImageError LoadFile(const std::string& path, Image* out) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return ImageError::kUnreadable;
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                             std::istreambuf_iterator<char>());
  return Decode(bytes.data(), bytes.size(), out);
}

}  // namespace carelog::image
