// Sharing of a data file between its openers: what each one does with the file (read, write)
// and what it denies the others (reading, writing), kept as locks in the lock region beyond the
// data (lock_region.h), so that processes on one station or several see each other's modes and
// a process that ends, however it ends, leaves no denial behind.
//
// Each of the four uses is a range of 1023 slot bytes; an opener holds one slot of every range
// its mode includes. An opener that wants to read probes the deny-read range (is any slot held?),
// one that denies reading probes the read range, and likewise for writing; it takes its slots
// only when no probe found another opener. The probes and the taking happen under the gate
// byte, so two openers never pass each other's probes unseen.
//
// Openers in one process share one open file (one set of slots): the process checks its own
// openers against each other (SharesWith) and registers their union.
#pragma once

#include <cstdint>

#include "runtime/store/file_io.h"

namespace carelog::store {

struct ShareMode {
  bool read = false;
  bool write = false;
  bool deny_read = false;
  bool deny_write = false;

  bool operator==(const ShareMode&) const = default;
  // Both modes' uses and denials.
  ShareMode operator|(const ShareMode& other) const;
};

// Whether openers with modes `a` and `b` may have the file open together: neither denies what
// the other does.
bool SharesWith(const ShareMode& a, const ShareMode& b);

// The share slots one open data file holds.
class ShareLocks {
 public:
  // Brings the slots held to `wanted`, waiting for the gate. Returns 0; 32 (File Is Already
  // Locked) when another opener's mode conflicts with a use or denial not held yet, leaving
  // every slot as it was; or the system's error number.
  int Change(File& file, const ShareMode& wanted);
  const ShareMode& held() const { return held_; }

 private:
  int ProbeFree(File& file, int use, bool* free) const;
  int TakeSlot(File& file, int use);

  ShareMode held_;
  int32_t slots_[4] = {-1, -1, -1, -1};  // read, write, deny read, deny write
};

}  // namespace carelog::store
