// Feeds arbitrary bytes to the layout stream decoder and the packed-decimal codec: neither may
// read outside its input, hang or crash, whatever the bytes.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "app/data/layout_stream.h"
#include "app/data/packed_decimal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace carelog::appdata;
  std::span<const uint8_t> bytes(data, size);
  std::vector<LayoutField> fields;
  if (DecodeLayout(bytes, &fields) == LayoutError::kNone) {
    // Every size of a decoded stream is its element count times its element size.
    for (const LayoutField& f : fields) {
      if (uint64_t{f.count} * f.element_size != f.size) __builtin_trap();
    }
  }
  std::span<const uint8_t> a = bytes.first(size / 2);
  std::span<const uint8_t> b = bytes.subspan(size / 2);
  int64_t value = 0;
  if (!a.empty() && DecodeDecimal(a, &value) == DecimalStatus::kOk) {
    std::vector<uint8_t> again(a.size());
    if (EncodeDecimal(value, again) != DecimalStatus::kOk || CompareDecimal(again, a) != 0) {
      __builtin_trap();
    }
  }
  if (CompareDecimal(a, b) != -CompareDecimal(b, a)) __builtin_trap();
  double real = 0;
  DecimalToDouble(b, 2, &real);
  return 0;
}
