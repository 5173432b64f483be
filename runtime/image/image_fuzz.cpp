#include <cstddef>
#include <cstdint>

#include "runtime/image/image.h"

// Every decoder on the same bytes: none may crash, hang or read outside them.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  carelog::image::Image image;
  carelog::image::DecodeBmp(data, size, &image);
  carelog::image::DecodeIco(data, size, &image);
  carelog::image::DecodeGif(data, size, &image);
  carelog::image::DecodePcx(data, size, &image);
  carelog::image::DecodeJpeg(data, size, &image);
  return 0;
}
