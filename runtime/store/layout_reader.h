// The driver's reader of a record layout stream: turns the stream into the field table.
//
//   stream := root link entry*            root = 16 (a GROUP without a name)
//   entry  := name NUL type link
//   type   := (17 u32-count){0,4} code args
//             args: none (BYTE, SHORT, USHORT, DATE, TIME, LONG, ULONG, SREAL, REAL, BFLOAT4,
//                   BFLOAT8, GROUP); size byte, places byte (DECIMAL, PDECIMAL); u32 length,
//                   picture NUL (STRING, CSTRING, PSTRING)
//   link   := 00* (18 u32-offset | end, once the root is closed)
// A GROUP entry opens a group; each 00 closes the innermost one. An offset counts from the
// start of the innermost open group. All u32 are little-endian.
//
// A field is an overlay when its group is one, or when it starts at or before the highest start
// of the earlier fields of its group once the group holds stored bytes. Overlays do not count
// in the stored size. Errors: 75 for a malformed stream (no entry marker where an entry must
// begin, truncated stream), 79 for an unknown type code or an overlay-only type outside an
// overlay, 47 for a fifth DIM, a zero DIM count, a string of more than 64000 bytes outside an
// overlay, or a field that reaches beyond the record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/store/driver_state.h"

namespace carelog::store {

struct LayoutTable {
  std::vector<FieldEntry> fields;
  uint32_t stored_size = 0;
};

// Reads at most `size` bytes of `data` (the stream ends where its root group closes; bytes
// after it are ignored). Returns 0 or the error code above; `out` is complete only on 0.
int ReadLayout(const uint8_t* data, size_t size, uint32_t record_size, LayoutTable* out);

}  // namespace carelog::store
