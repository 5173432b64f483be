// Feeds arbitrary text to the readers of the media sizes and resolutions that printers
// report: each must accept or refuse it cleanly, and accepted values stay in range.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "runtime/host/printing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  double w = 0, h = 0;
  if (carelog::host::ParseMediaSize(text, &w, &h) && (w < 1 || h < 1 || w > 200 || h > 200)) {
    __builtin_trap();
  }
  int x = 0, y = 0;
  if (carelog::host::ParseResolution(text, &x, &y) && (x < 50 || y < 50 || x > 9600)) {
    __builtin_trap();
  }
  return 0;
}
