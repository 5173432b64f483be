// The table definition: the field, memo and key tables of one stored table, and the byte
// stream in which a table carries its own definition inside the data file.
//
// The stream is cut into 512-byte definition blocks (block n is the entry
// t · 0xFA · n-low · n-high). A missing block reads as 512 zero bytes. 16-bit values are low
// byte first. A string is its bytes and a zero byte; an empty string is 00 00, an absent one
// 00 01.
//
//   stream  := version:u16 record_size:u16 field_count:u16 memo_count:u16 key_count:u16
//              field* memo* key*
//   version := 1 | 2 (2 when the table has a binary memo)
//   field   := type:u8 offset:u16 name:str elements:u16 total_size:u16 overlay:u16
//              field_number:u16 [places:u8 size:u8]          DECIMAL, PDECIMAL
//                                [length:u16 picture:str]     STRING, CSTRING, PSTRING
//   memo    := name:str label:str max_size:u16 flags:u16
//   key     := name:str label:str flags:u8 component_count:u16 (field_index:u16 descending:u16)*
//
// Key flags in the stream: the key attribute bits 0x01 DUP, 0x02 OPT, 0x04 NOCASE, 0x10
// PRIMARY as declared, and 0x40 for a key that is an index built on request.
//
// Invariants of a decoded definition: every key component names an existing field, every
// field lies inside the record, and no memo is larger than 64000 bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace carelog::store {

inline constexpr size_t kDefinitionBlockSize = 512;
inline constexpr uint32_t kDefMaxMemoSize = 64000;

// Memo flags.
inline constexpr uint8_t kDefMemoNoOem = 0x02;
inline constexpr uint8_t kDefMemoBinary = 0x04;

// Key flags as kept in a definition (see the stream comment above).
inline constexpr uint8_t kDefKeyDup = 0x01;
inline constexpr uint8_t kDefKeyOpt = 0x02;
inline constexpr uint8_t kDefKeyNoCase = 0x04;
inline constexpr uint8_t kDefKeyPrimary = 0x10;
inline constexpr uint8_t kDefKeyIndex = 0x40;

struct FieldDef {
  uint8_t type = 0;
  uint16_t offset = 0;
  std::string name;
  uint16_t element_count = 1;
  uint16_t total_size = 0;
  uint16_t overlay = 0;
  uint16_t field_number = 0;
  uint8_t places = 0;            // DECIMAL, PDECIMAL
  uint8_t decimal_size = 0;      // DECIMAL, PDECIMAL
  uint16_t declared_length = 0;  // STRING, CSTRING, PSTRING
  std::string picture;           // STRING, CSTRING, PSTRING
};

struct MemoDef {
  std::string name;
  std::string label;
  uint16_t max_size = 0;
  uint16_t flags = 0;
  bool binary() const { return (flags & kDefMemoBinary) != 0; }
};

struct KeyComponentDef {
  uint16_t field_index = 0;  // into TableDefinition::fields
  bool descending = false;
};

struct KeyDef {
  std::string name;
  std::string label;
  uint8_t flags = 0;  // kDefKey*
  std::vector<KeyComponentDef> components;

  bool dup() const { return (flags & kDefKeyDup) != 0; }
  bool opt() const { return (flags & kDefKeyOpt) != 0; }
  bool nocase() const { return (flags & kDefKeyNoCase) != 0; }
  bool index() const { return (flags & kDefKeyIndex) != 0; }
  // An index declared without components takes them from BUILD and lives in a temporary file.
  bool dynamic() const { return index() && components.empty(); }
};

struct TableDefinition {
  uint16_t record_size = 0;
  std::vector<FieldDef> fields;
  std::vector<MemoDef> memos;
  std::vector<KeyDef> keys;

  bool has_binary_memo() const;
  // Size of a key value: the sum of its components' sizes.
  uint32_t KeyValueSize(const KeyDef& key) const;
};

bool IsStringType(uint8_t type);
bool IsDecimalType(uint8_t type);

// Writes the stream of `def`.
std::string EncodeDefinition(const TableDefinition& def);

// Reads a stream (possibly followed by zero padding). Returns 0 and fills `def`, or 47 when
// the bytes do not form a sound definition (truncated, version above 2, a count or an offset
// out of range).
int DecodeDefinition(std::string_view stream, TableDefinition* def);

// True when every number and flag of the two definitions agrees; names, labels and pictures
// may differ.
bool SameDefinition(const TableDefinition& stored, const TableDefinition& declared);

}  // namespace carelog::store
