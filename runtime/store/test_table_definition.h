// Test helpers: build a TableDefinition field by field and key by key, so that tests describe
// their tables in a line per field and per key.
#pragma once

#include <utility>
#include <vector>

#include "runtime/store/table_def.h"

namespace carelog::store::test_tables {

// Appends a field with the next field number.
inline void AddField(TableDefinition* d, uint8_t type, uint16_t offset, uint16_t size) {
  FieldDef f;
  f.type = type;
  f.offset = offset;
  f.total_size = size;
  f.field_number = static_cast<uint16_t>(d->fields.size() + 1);
  d->fields.push_back(f);
}

// Appends a key over the given (field index, descending) components.
inline void AddKey(TableDefinition* d, uint8_t flags, std::vector<KeyComponentDef> components) {
  KeyDef k;
  k.flags = flags;
  k.components = std::move(components);
  d->keys.push_back(k);
}

}  // namespace carelog::store::test_tables
