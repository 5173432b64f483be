// Decodes arbitrary bytes as a stored table definition; a sound result must survive a round
// trip through the encoder.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "runtime/store/table_def.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace carelog::store;
  TableDefinition def;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (DecodeDefinition(bytes, &def) != 0) return 0;
  for (const KeyDef& key : def.keys) (void)def.KeyValueSize(key);
  TableDefinition again;
  if (DecodeDefinition(EncodeDefinition(def), &again) != 0 || !SameDefinition(def, again)) {
    std::abort();
  }
  return 0;
}
