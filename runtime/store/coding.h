// Byte coding used by the data-file format: fixed-width integers, the variable-length counts
// and run-length code of compressed page bodies, and the prefix coding of entries.
//
// Run-length code (a page body):
//   body    := pair* literal?                 until the output reaches the decoded length
//   pair    := count(n) byte{n} count(r)      n literal bytes, then the last output byte
//                                             repeated r more times
//   literal := count(n) byte{n}
//   count   := 7 bits per byte, low group first, 0x80 set on every byte but the last
// The encoder codes each run of 4 or more equal bytes starting at p as the literals since the
// previous run up to and including the byte at p, then the run length - 1.
//
// Prefix-coded entry (against the previous entry of the same page):
//   | size | item                                                                  |
//   | 1    | flag: bits 0-5 shared prefix length (0-63), bit 7 total length        |
//   |      | follows, bit 6 key-part length follows                                |
//   | 2    | total length, little-endian (only with bit 7)                         |
//   | 2    | key-part length, little-endian (only with bit 6)                      |
//   | n    | the entry's bytes after the shared prefix                             |
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace carelog::store {

inline uint16_t LoadLe16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t LoadLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline uint32_t LoadBe32(const uint8_t* p) {
  return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
         (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
}
inline void StoreLe16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void StoreLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void StoreBe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

// Appends `value` as a variable-length count.
void AppendCount(std::string* out, size_t value);
// Reads a count at *pos of `in`, advancing *pos. False when truncated or above 32 bits.
bool ReadCount(std::string_view in, size_t* pos, size_t* value);

// Run-length codes `in`. Returns false (and leaves *out empty) when `in` has no run of 4, or
// when the coded bytes would exceed `limit` (the caller has no use for a longer coding).
bool RunLengthEncode(std::string_view in, std::string* out, size_t limit = SIZE_MAX);
// The same into `out`, which has room for RunLengthRoom(in.size(), limit) bytes: the coded
// length, or 0 where RunLengthEncode returns false.
size_t RunLengthEncodeInto(std::string_view in, char* out, size_t limit);
inline size_t RunLengthRoom(size_t size, size_t limit) {
  return (limit < 3 * size ? limit : 3 * size) + 16;
}
// Decodes `in` into exactly `size` bytes appended to *out. False when `in` is malformed: a
// repeat before any output, output beyond `size`, or input left over or missing.
bool RunLengthDecode(std::string_view in, size_t size, std::string* out);

// Appends `entry` (key part `key_size` bytes long) prefix-coded against `previous` (whose key
// part is `previous_key_size` long); `previous` is empty for the first entry of a page.
// REQUIRES: entry sizes fit 16 bits.
// The most bytes a prefix coding adds to its entry's own (flag and two lengths).
inline constexpr size_t kMaxPrefixCodedOverhead = 5;
// Writes the prefix coding of `entry` (as AppendPrefixCoded) at `out`, which has room for
// kMaxPrefixCodedOverhead + entry.size() bytes; returns the end of what it wrote.
char* WritePrefixCoded(char* out, std::string_view previous, size_t previous_key_size,
                       std::string_view entry, size_t key_size, bool first);
void AppendPrefixCoded(std::string* out, std::string_view previous, size_t previous_key_size,
                       std::string_view entry, size_t key_size, bool first);

// Decodes one entry at *pos of `in`, replacing *entry and *key_size (which hold the previous
// entry on entry). False when truncated or inconsistent.
bool ReadPrefixCoded(std::string_view in, size_t* pos, std::string* entry, size_t* key_size,
                     bool first);

}  // namespace carelog::store
