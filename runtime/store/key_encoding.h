// Key values: each component of a key is encoded from the record bytes so that plain unsigned
// byte comparison of the concatenated components gives the key's order.
//
//   type                 encoding over the field's full size
//   STRING               NOCASE: lower-cased; then each byte mapped to its collation weight
//   CSTRING              text up to its terminator, blank-padded to the size; then as STRING
//   PSTRING              the length byte's count of text bytes, zero-padded; then as STRING
//   USHORT, ULONG        bytes reversed (big-endian)
//   SHORT, LONG          bytes reversed, top bit of the first byte inverted
//   SREAL, REAL          bytes reversed; sign clear: set it; sign set: invert every byte
//   DECIMAL              sign nibble set: clear it, then invert the top bit, then every byte;
//                        else invert the top bit of the first byte
//   anything else        the bytes unchanged
//   descending           after the above, every byte inverted
//
// A key entry of key k of table t for record r with value v:
//   unique: key part t · k · v, data part r;  DUP: key part t · k · v · r, data part empty.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/store/table_def.h"

namespace carelog::store {

// Byte maps used on the text of string components.
struct TextKeyTables {
  std::array<uint8_t, 256> lower;      // NOCASE lower-casing
  std::array<uint8_t, 256> collation;  // collation weight of each byte
};

// ASCII lower-casing and the identity collation.
const TextKeyTables& DefaultTextKeyTables();

// The locale's tables: the OEM collation for a file with the OEM attribute.
TextKeyTables LocaleTextKeyTables(bool oem);

struct KeyEncoder {
  const TableDefinition* def;
  const TextKeyTables* text;

  // Appends the encoded value of `key` for the record image `record` (record_size bytes).
  void AppendValue(const KeyDef& key, const uint8_t* record, std::string* out) const;
  // True when every component of the key is blank in the record (OPT keys leave no entry).
  bool IsBlank(const KeyDef& key, const uint8_t* record) const;
};

void AppendComponent(const FieldDef& field, bool descending, bool nocase, const TextKeyTables& text,
                     const uint8_t* record, std::string* out);
bool IsBlankComponent(const FieldDef& field, const uint8_t* record);

struct EncodedKey {
  std::string key;
  std::string data;
};

EncodedKey MakeKeyEntry(uint32_t table, uint8_t key_number, bool dup, std::string_view value,
                        uint32_t record);

// The record number that a key entry names.
uint32_t KeyEntryRecord(bool dup, std::string_view key_part, std::string_view data_part);

}  // namespace carelog::store
