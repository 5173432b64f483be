#include "runtime/store/record_image.h"

#include "runtime/store/declarations.h"
#include "runtime/values/charset.h"

namespace carelog::store {

const CharsetMap& AnsiToOemMap() {
  static const CharsetMap map = [] {
    CharsetMap m;
    for (int c = 0; c < 256; ++c) m[c] = values::AnsiToOemChar(static_cast<uint8_t>(c));
    return m;
  }();
  return map;
}

const CharsetMap& OemToAnsiMap() {
  static const CharsetMap map = [] {
    CharsetMap m;
    for (int c = 0; c < 256; ++c) m[c] = values::OemToAnsiChar(static_cast<uint8_t>(c));
    return m;
  }();
  return map;
}

void MapText(const CharsetMap& map, char* text, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    text[i] = static_cast<char>(map[static_cast<uint8_t>(text[i])]);
  }
}

void MapRecordText(const TableDefinition& def, const CharsetMap& map, uint8_t* image) {
  for (const FieldDef& f : def.fields) {
    if (!IsStringType(f.type) || f.overlay != 0 || f.element_count == 0) continue;
    const size_t element = f.total_size / f.element_count;
    for (size_t e = 0; e < f.element_count; ++e) {
      char* text = reinterpret_cast<char*>(image + f.offset + e * element);
      if (f.type == kTypePString) {
        if (element > 0) MapText(map, text + 1, element - 1);
      } else {
        MapText(map, text, element);
      }
    }
  }
}

}  // namespace carelog::store
