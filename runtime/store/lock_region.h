// The lock region of a data file: exclusive byte-range locks far beyond any data, through which
// processes sharing a data file exclude each other. Offsets are from kLockRegionStart:
//
// | Offset               | Length | Held by   | Meaning                                          |
// |----------------------|--------|-----------|--------------------------------------------------|
// | 0                    | 1023   | a writer  | exclusive access for one access cycle            |
// | s (0 to 1022)        | 1      | a reader  | shared access; each reader holds its own slot s  |
// | 1024 + 1 + n         | 1      | a process | lock on number n (a record or a table)           |
// | G = 1025 + 2^32      | 1      | an opener | gate: held while checking and taking share slots |
// | G + 1 + 1023 u + s   | 1      | an opener | share slot s of use u (share_locks.h)            |
//
// n is the record or table number's four big-endian bytes read as a little-endian number; the
// two kinds come from one counter, so they never meet on one byte. A writer's range covers every
// reader slot, so taking it waits for all readers to leave and keeps new ones out.
//
// The locks belong to the open file description (see file_io.h), so a lock is never lost by
// closing some other descriptor of the same file.
#pragma once

#include <cstdint>

#include "runtime/store/file_io.h"

namespace carelog::store {

inline constexpr uint64_t kLockRegionStart = 0x80000000u;
inline constexpr uint64_t kReaderSlots = 1023;
inline constexpr uint64_t kNumberLocksStart = kLockRegionStart + 1024 + 1;
inline constexpr uint64_t kShareGate = kNumberLocksStart + (uint64_t{1} << 32);
inline constexpr uint64_t kShareSlots = 1023;
// The first slot of share use `use` (0 read, 1 write, 2 deny read, 3 deny write).
constexpr uint64_t ShareUseStart(int use) {
  return kShareGate + 1 + kShareSlots * static_cast<uint64_t>(use);
}

// Byte offset of the lock on number `number` (record or table).
uint64_t NumberLockOffset(uint32_t number);

// The access-cycle lock of one open data file: the writer range or one reader slot.
class RoleLock {
 public:
  // `start_slot` is where a reader begins looking for a free slot (the program clock modulo
  // 1023 when the file was opened).
  explicit RoleLock(uint32_t start_slot = 0) : next_slot_(start_slot % kReaderSlots) {}

  // Takes the writer range or a reader slot, waiting until granted. Returns 0 or the system's
  // error number. REQUIRES: no lock held.
  int Acquire(File& file, bool writer);
  // Releases what Acquire took (nothing when nothing is held).
  int Release(File& file);
  bool held() const { return held_; }

 private:
  uint32_t next_slot_;
  bool held_ = false;
  bool writer_ = false;
  uint32_t slot_ = 0;
};

// One attempt at the lock on `number`: 0, EAGAIN when another process holds it, or the system's
// error number.
int TryLockNumber(File& file, uint32_t number);
int UnlockNumber(File& file, uint32_t number);

}  // namespace carelog::store
