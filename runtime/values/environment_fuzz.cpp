// Feeds arbitrary bytes to the environment file reader, in pieces of varying size, and checks
// the tables' invariants afterwards.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "runtime/values/environment.h"

using carelog::values::DefaultLocaleTables;
using carelog::values::LocaleTables;
using carelog::values::SettingsReader;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LocaleTables tables = DefaultLocaleTables();
  SettingsReader reader(tables);
  size_t piece = size > 0 ? (data[0] % 61) + 1 : 1;
  for (size_t i = 0; i < size; i += piece) {
    size_t n = size - i < piece ? size - i : piece;
    if (!reader.Feed(reinterpret_cast<const char*>(data) + i, n)) break;
  }
  reader.Finish();
  bool seen[256] = {};
  bool seen_oem[256] = {};
  for (int c = 0; c < 256; ++c) {
    if (seen[tables.collation[c]] || seen_oem[tables.oem_collation[c]]) __builtin_trap();
    seen[tables.collation[c]] = true;
    seen_oem[tables.oem_collation[c]] = true;
    uint8_t partner = tables.case_partner[c];
    if (partner != 0 && tables.case_partner[partner] != c) __builtin_trap();
  }
  for (const auto& name : tables.month_names) {
    if (std::memchr(name, 0, sizeof name) == nullptr) __builtin_trap();
  }
  return 0;
}
