// Bound variables: where a program variable lives and how its bytes are read.
//
// A Variable describes memory that the program owns: a scalar, an array (up to four
// dimensions) or a memo. The evaluator never writes through it and reads it only at evaluation
// time, so an expression compiled once sees every later change of the variable.
//
// Scalar byte layouts (little-endian):
//   BYTE 1 unsigned, SHORT 2 signed, USHORT 2 unsigned, LONG 4 signed, ULONG 4 unsigned,
//   SREAL 4 IEEE, REAL 8 IEEE,
//   DECIMAL / PDECIMAL  packed: high nibble of byte 0 is the sign (0 positive), then
//                       2 * size - 1 digit nibbles, `places` of them after the point,
//   DATE   byte 0 day, byte 1 month, bytes 2-3 year   (read as a standard day number),
//   TIME   byte 0 hundredths, 1 second, 2 minute, 3 hour (read as a standard time),
//   STRING `size` bytes padded with blanks, CSTRING up to the first NUL within `size` bytes,
//   PSTRING length byte followed by the text (at most size - 1 bytes), GROUP its bytes as text.
//
// REQUIRES: the memory stays valid for as long as the name stays bound to it.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/eval/value.h"
#include "runtime/store/declarations.h"

namespace carelog::eval {

inline constexpr int kMaxDimensions = 4;

struct Variable {
  const void* address = nullptr;                 // first byte (of element 1 for arrays)
  const store::MemoDeclaration* memo = nullptr;  // set for memos: buffer read at evaluation time
  store::FieldType type = store::kTypeLong;
  uint32_t size = 0;   // bytes of one element
  uint8_t places = 0;  // decimal places of DECIMAL and PDECIMAL
  uint8_t dimension_count = 0;
  uint32_t dimensions[kMaxDimensions] = {};  // element counts, outermost first
};

// One element of a variable, ready to read.
struct Scalar {
  const uint8_t* bytes = nullptr;  // null reads as 0 or the empty text
  store::FieldType type = store::kTypeLong;
  uint32_t size = 0;
  uint8_t places = 0;
};

// Whether the evaluator can read this field type (every record-store type but the BFLOATs and
// DIM itself).
bool IsReadableType(store::FieldType type);

// The value type of a variable: integer for the integer types, string for the string types and
// groups, real for the others.
ValueType ValueTypeOf(store::FieldType type);

// The byte size of one element of a fixed-size type; 0 for the string types, groups and
// decimals, whose size is declared.
uint32_t FixedSizeOf(store::FieldType type);

// Element `index` (0-based over all dimensions); a null Scalar when out of range.
Scalar ElementOf(const Variable& variable, uint64_t index);

int32_t ReadInteger(const Scalar& scalar);
double ReadReal(const Scalar& scalar);
std::string ReadString(const Scalar& scalar);

}  // namespace carelog::eval
