// Record layout streams: the byte form in which a file's record layout is handed to the record
// store, produced at compile time from a table of FieldRows, and read back by DecodeLayout.
//
// Stream (32-bit values little-endian):
//   stream  := 16 link entry* 00            the root GROUP; its final 00 closes it
//   entry   := name 00 type link
//   type    := [17 u32-count] code args     DIM prefix, then the element type
//   args    := <none>                       BYTE, SHORT, USHORT, LONG, ULONG, ... GROUP
//            | u8-size u8-places            DECIMAL, PDECIMAL
//            | u32-length picture 00        STRING, CSTRING, PSTRING (picture empty here)
//   link    := 00* 18 u32-offset            each 00 closes the innermost open GROUP; the offset of
//                                           the next entry counts from the start of its group
// A GROUP's own link is always 18 and offset 0: its first member starts where it starts. Fields
// are numbered 1, 2, 3 ... in stream order, GROUP entries included.
//
// Invariants of a FieldRow table (checked at compile time by FirstMisplacedField):
//   1. fields are packed: each starts where the one before it ends (a GROUP takes no bytes of its
//      own, its members follow it);
//   2. the declared offset and the record structure's member offset both equal the packed offset;
//   3. a field's depth (number of enclosing groups) is at most one more than the depth of the
//      field before it, and only one more when that field is a GROUP;
//   4. the packed size of all fields is the record size.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/store/declarations.h"

namespace carelog::appdata {

// The type of a field: element type code and arguments, and the DIM count of an array.
struct TypeDecl {
  store::FieldType code;
  uint32_t length = 0;  // STRING: characters; DECIMAL: bytes
  uint8_t places = 0;   // DECIMAL: decimal places
  uint32_t dim = 0;     // array elements; 0 for a single value (no DIM prefix)
};

constexpr TypeDecl Byte() {
  return {store::kTypeByte};
}
constexpr TypeDecl Short() {
  return {store::kTypeShort};
}
constexpr TypeDecl Long() {
  return {store::kTypeLong};
}
constexpr TypeDecl ULong() {
  return {store::kTypeULong};
}
constexpr TypeDecl Group() {
  return {store::kTypeGroup};
}
constexpr TypeDecl String(uint32_t length) {
  return {store::kTypeString, length};
}
// DECIMAL(digits, places) is stored in (digits + 1) / 2 bytes.
constexpr TypeDecl Decimal(uint32_t digits, uint8_t places) {
  return {store::kTypeDecimal, (digits + 1) / 2, places};
}
constexpr TypeDecl Dim(uint32_t count, TypeDecl element) {
  element.dim = count;
  return element;
}

constexpr uint32_t ElementCount(const TypeDecl& type) {
  return type.dim == 0 ? 1 : type.dim;
}

// Bytes of one element; a GROUP's bytes are those of its members, so it takes none itself.
constexpr uint32_t ElementSize(const TypeDecl& type) {
  switch (type.code) {
    case store::kTypeByte:
      return 1;
    case store::kTypeShort:
      return 2;
    case store::kTypeLong:
    case store::kTypeULong:
      return 4;
    case store::kTypeString:
    case store::kTypeDecimal:
      return type.length;
    default:
      return 0;
  }
}

// One row of a file's field table, in declaration order.
struct FieldRow {
  const char* name;  // full upper-case name with prefix, "PAT:LAST_NAME"
  TypeDecl type;
  uint32_t offset;         // the declared offset of the field in the record
  uint32_t member_offset;  // offsetof the matching member of the record structure
  uint8_t depth = 0;       // enclosing GROUPs (the root not counted)
};

inline constexpr size_t kMaxGroupDepth = 8;
inline constexpr int kAllFieldsInPlace = -1;

// Index of the first field that breaks an invariant of the table (see the header comment), the
// field count when only the record size is wrong, or kAllFieldsInPlace.
constexpr int FirstMisplacedField(std::span<const FieldRow> fields, uint32_t record_size) {
  uint32_t cursor = 0;
  uint8_t allowed_depth = 0;
  for (size_t i = 0; i < fields.size(); ++i) {
    const FieldRow& f = fields[i];
    bool is_group = f.type.code == store::kTypeGroup;
    if (f.name == nullptr || f.depth > allowed_depth || f.offset != cursor ||
        f.member_offset != cursor || (is_group && (f.type.dim != 0 || f.depth >= kMaxGroupDepth)))
      return static_cast<int>(i);
    if (!is_group && ElementSize(f.type) == 0) return static_cast<int>(i);
    cursor += ElementSize(f.type) * ElementCount(f.type);
    allowed_depth = is_group ? f.depth + 1 : f.depth;
  }
  return cursor == record_size ? kAllFieldsInPlace : static_cast<int>(fields.size());
}

namespace layout_detail {

// Counts the bytes the encoder would write.
struct CountingSink {
  size_t size = 0;
  constexpr void Byte(uint8_t) { ++size; }
};

template <size_t N>
struct ArraySink {
  std::array<uint8_t, N> bytes{};
  size_t size = 0;
  constexpr void Byte(uint8_t b) { bytes[size++] = b; }
};

template <class Sink>
constexpr void U32(Sink& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.Byte(static_cast<uint8_t>(value >> shift));
}

template <class Sink>
constexpr void Text(Sink& out, std::string_view text) {
  for (char c : text) out.Byte(static_cast<uint8_t>(c));
  out.Byte(0);
}

template <class Sink>
constexpr void WriteType(Sink& out, const TypeDecl& type) {
  if (type.dim != 0) {
    out.Byte(store::kTypeDim);
    U32(out, type.dim);
  }
  out.Byte(type.code);
  if (type.code == store::kTypeDecimal) {
    out.Byte(static_cast<uint8_t>(type.length));
    out.Byte(type.places);
  } else if (type.code == store::kTypeString) {
    U32(out, type.length);
    Text(out, "");  // the picture, always empty
  }
}

// The one encoder: writes the stream of a table that FirstMisplacedField accepts.
template <class Sink>
constexpr void WriteLayout(Sink& out, std::span<const FieldRow> fields) {
  uint32_t group_start[kMaxGroupDepth + 1] = {};  // [0] is the root
  size_t open = 1;                                // open groups, the root included
  uint32_t cursor = 0;
  out.Byte(store::kTypeGroup);
  for (const FieldRow& f : fields) {
    for (; open > f.depth + 1u; --open) out.Byte(0);
    out.Byte(store::kLayoutLinkMarker);
    U32(out, cursor - group_start[open - 1]);
    Text(out, f.name);
    WriteType(out, f.type);
    if (f.type.code == store::kTypeGroup) {
      group_start[open++] = cursor;
    } else {
      cursor += ElementSize(f.type) * ElementCount(f.type);
    }
  }
  for (; open > 0; --open) out.Byte(0);
}

}  // namespace layout_detail

constexpr size_t LayoutSize(std::span<const FieldRow> fields) {
  layout_detail::CountingSink counter;
  layout_detail::WriteLayout(counter, fields);
  return counter.size;
}

// REQUIRES: N == LayoutSize(fields).
template <size_t N>
constexpr std::array<uint8_t, N> EncodeLayout(std::span<const FieldRow> fields) {
  layout_detail::ArraySink<N> sink;
  layout_detail::WriteLayout(sink, fields);
  return sink.bytes;
}

// ---- Reading a stream back -------------------------------------------------------------------

// One field of a decoded stream.
struct LayoutField {
  uint32_t number = 0;  // 1, 2, 3 ... in stream order, GROUP entries included
  std::string name;
  store::FieldType type = store::kTypeGroup;  // element type
  uint32_t offset = 0;                        // absolute offset in the record
  uint32_t count = 1;                         // elements: product of the DIM counts, else 1
  uint32_t element_size = 0;                  // GROUP: extent of its members
  uint32_t size = 0;                          // count × element_size
  uint32_t length = 0;                        // STRING types: declared length; DECIMAL: bytes
  uint8_t places = 0;                         // DECIMAL, PDECIMAL
  uint8_t dims = 0;                           // DIM prefixes
  uint8_t depth = 0;                          // enclosing GROUPs (the root not counted)
};

enum class LayoutError : uint8_t {
  kNone,
  kTruncated,      // the stream ends inside an entry or before its root is closed
  kNoRoot,         // the stream does not begin with the root GROUP
  kBadLink,        // a byte other than 0x18 where a link must continue
  kUnknownType,    // a type code that is not a field type
  kTooManyDims,    // more than four DIM prefixes
  kTooLarge,       // a size or offset beyond 32 bits
  kTooDeep,        // GROUPs nested deeper than the reader allows
  kTrailingBytes,  // bytes after the root was closed
};

// Decodes `stream` into `fields` (cleared first). On error, `fields` holds the fields read so far.
LayoutError DecodeLayout(std::span<const uint8_t> stream, std::vector<LayoutField>* fields);

}  // namespace carelog::appdata
