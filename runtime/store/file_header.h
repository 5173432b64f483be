// The 512-byte header at offset 0 of a data file. All fields little-endian except the number
// counter. It is shaped like a page header (own offset 0, length 512) so that a copy of it can
// travel through the redo log among the pages.
//
// | Offset | Size   | Field                                                                 |
// |--------|--------|-----------------------------------------------------------------------|
// | 0      | 4      | own offset: 0                                                         |
// | 4      | 2      | header size: 512                                                      |
// | 6      | 4      | start of the redo log (byte offset); equals the end when none pending |
// | 10     | 4      | end of the redo log (byte offset)                                     |
// | 14     | 4      | signature "lOdS"                                                      |
// | 18     | 2      | reserved, 0                                                           |
// | 20     | 4      | last number handed out (table and record numbers), big-endian         |
// | 24     | 4      | change counter: 0 never written, +1 per committed write               |
// | 28     | 4      | page number of the tree's root; -1 for an empty tree                  |
// | 32     | 4 x 60 | region start page numbers                                             |
// | 272    | 4 x 60 | region end page numbers (exclusive)                                   |
#pragma once

#include <cstdint>

#include "runtime/store/regions.h"

namespace carelog::store {

inline constexpr int kHeaderSize = 512;
inline constexpr int kUnitSize = 256;
inline constexpr uint32_t kSignature = 0x53644F6C;  // "lOdS"
inline constexpr int32_t kEmptyRoot = -1;

struct FileHeader {
  uint32_t log_start = kHeaderSize;
  uint32_t log_end = kHeaderSize;
  uint32_t last_number = 0;
  uint32_t change_counter = 0;
  int32_t root = kEmptyRoot;
  Regions regions;

  bool log_pending() const { return log_start != log_end; }
  // Byte offset just after the last page region.
  uint64_t EndOfDataOffset() const;
};

inline uint64_t PageOffset(int32_t number) {
  return kHeaderSize + static_cast<uint64_t>(number) * kUnitSize;
}

void EncodeHeader(const FileHeader& header, uint8_t out[kHeaderSize]);
// The first kHeaderStartSize bytes of EncodeHeader's output: the log fields, signature, number
// and change counters, root and the first region starts. Every commit changes them (the change
// counter at least), so comparing them with the file tells whether anyone committed since.
inline constexpr int kHeaderStartSize = 64;
void EncodeHeaderStart(const FileHeader& header, uint8_t out[kHeaderStartSize]);
// False when the bytes are no valid header: wrong signature, own offset or size, regions that
// break their invariants, a root that is no page slot, or log fields out of order.
bool DecodeHeader(const uint8_t in[kHeaderSize], FileHeader* header);

}  // namespace carelog::store
