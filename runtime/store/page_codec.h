// Pages as stored in the file. A page occupies a whole number of 256-byte units (its size
// class, 1 to 59); the bytes beyond its stored length are filled with 0xB0.
//
// | Offset | Size | Field                                                             |
// |--------|------|-------------------------------------------------------------------|
// | 0      | 4    | own byte offset in the file (512 + 256 x page number)             |
// | 4      | 2    | stored length, header included (after compression)               |
// | 6      | 2    | length after decompression, header included                       |
// | 8      | 2    | accounting size (see page.h)                                      |
// | 10     | 2    | number of entries                                                 |
// | 12     | 1    | level: 0 leaf, 1 and up inner                                     |
// | 13     | 4 n  | inner pages only: child page number of each entry                 |
// | ...    |      | the entries, prefix-coded (coding.h); run-length coded when that  |
// |        |      | makes the page occupy fewer units (stored < decompressed length)  |
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "runtime/store/page.h"

namespace carelog::store {

inline constexpr uint8_t kPageFill = 0xB0;

struct PageHeaderFields {
  uint32_t own_offset = 0;
  uint16_t stored_length = 0;
  uint16_t decoded_length = 0;
  uint16_t accounting = 0;
  uint16_t count = 0;
  uint8_t level = 0;
};

// Reads the 13-byte header. False when its lengths are out of range.
bool DecodePageHeader(std::string_view bytes, PageHeaderFields* header);
// Whole 256-byte units a page of this stored length occupies.
inline int UnitsFor(size_t stored_length) {
  return static_cast<int>((stored_length + 255) / 256);
}

// Serializes `page` (own offset left 0, see SetPageOffset). Internal errors: a serialized page
// longer than its accounting size (1649) or larger than the largest page (1668).
void SerializePage(const Page& page, std::string* out);
void SetPageOffset(std::string* bytes, int32_t number);

// Decodes the stored page `bytes` (a whole number of units) expected as page `number`. False
// when the bytes are damaged: wrong own offset, lengths out of range, a body that does not
// decode to exactly its lengths, entries out of order, or a wrong accounting size.
bool DecodePage(std::string_view bytes, int32_t number, std::unique_ptr<Page>* page);

}  // namespace carelog::store
