// Record images: the stored form of a record is the record buffer byte for byte. A file with
// the OEM attribute keeps its text in the OEM character set: the text bytes of every stored
// string field (not the length byte of a PSTRING, never a numeric field, whose bytes a
// character-set mapping would corrupt) are mapped on writing and mapped back on reading.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "runtime/store/table_def.h"

namespace carelog::store {

using CharsetMap = std::array<uint8_t, 256>;

// The process's ANSI -> OEM and OEM -> ANSI maps.
const CharsetMap& AnsiToOemMap();
const CharsetMap& OemToAnsiMap();

// Maps the text bytes of every string field of `image` (def.record_size bytes) through `map`.
void MapRecordText(const TableDefinition& def, const CharsetMap& map, uint8_t* image);

// Maps `size` bytes of text in place.
void MapText(const CharsetMap& map, char* text, size_t size);

}  // namespace carelog::store
