#include "runtime/store/share_locks.h"

#include <cerrno>

#include "runtime/store/error_codes.h"
#include "runtime/store/lock_region.h"

namespace carelog::store {
namespace {

constexpr int kUses = 4;

bool Uses(const ShareMode& mode, int use) {
  const bool uses[kUses] = {mode.read, mode.write, mode.deny_read, mode.deny_write};
  return uses[use];
}

// Reading meets denying reading, writing meets denying writing.
constexpr int Opposite(int use) {
  return use ^ 2;
}

// Releases the gate whatever path leaves the scope.
class Gate {
 public:
  explicit Gate(File& file) : file_(file) { error_ = file.Lock(kShareGate, 1, true); }
  ~Gate() {
    if (error_ == 0) file_.Unlock(kShareGate, 1);
  }
  int error() const { return error_; }

 private:
  File& file_;
  int error_;
};

}  // namespace

ShareMode ShareMode::operator|(const ShareMode& other) const {
  return ShareMode{read || other.read, write || other.write, deny_read || other.deny_read,
                   deny_write || other.deny_write};
}

bool SharesWith(const ShareMode& a, const ShareMode& b) {
  return !(a.read && b.deny_read) && !(a.write && b.deny_write) && !(b.read && a.deny_read) &&
         !(b.write && a.deny_write);
}

// Whether no other opener holds a slot of `use`: one attempt at the whole range (around a slot
// of this file's own, should it hold one), released at once.
int ShareLocks::ProbeFree(File& file, int use, bool* free) const {
  const uint64_t start = ShareUseStart(use);
  const int32_t own = slots_[use];
  const uint64_t parts[2][2] = {
      {start, own < 0 ? kShareSlots : static_cast<uint64_t>(own)},
      {own < 0 ? 0 : start + own + 1, own < 0 ? 0 : kShareSlots - own - 1}};
  *free = true;
  for (const auto& part : parts) {
    if (part[1] == 0) continue;
    const int error = file.Lock(part[0], part[1], false);
    if (error == EAGAIN) {
      *free = false;
      return 0;
    }
    if (error != 0) return error;
    if (int unlock = file.Unlock(part[0], part[1])) return unlock;
  }
  return 0;
}

int ShareLocks::TakeSlot(File& file, int use) {
  for (uint64_t slot = 0; slot < kShareSlots; ++slot) {
    const int error = file.Lock(ShareUseStart(use) + slot, 1, false);
    if (error == 0) {
      slots_[use] = static_cast<int32_t>(slot);
      return 0;
    }
    if (error != EAGAIN) return error;
  }
  return kErrTooManyOpenFiles;  // every slot of the use is taken
}

int ShareLocks::Change(File& file, const ShareMode& wanted) {
  if (wanted == held_) return 0;
  Gate gate(file);
  if (gate.error() != 0) return gate.error();
  for (int use = 0; use < kUses; ++use) {
    if (!Uses(wanted, use) || slots_[use] >= 0) continue;
    bool free = false;
    if (int error = ProbeFree(file, Opposite(use), &free)) return error;
    if (!free) return kErrFileIsAlreadyLocked;
  }
  int error = 0;
  for (int use = 0; use < kUses && error == 0; ++use) {
    if (Uses(wanted, use) && slots_[use] < 0) {
      error = TakeSlot(file, use);
    } else if (!Uses(wanted, use) && slots_[use] >= 0) {
      file.Unlock(ShareUseStart(use) + slots_[use], 1);
      slots_[use] = -1;
    }
  }
  held_ = ShareMode{slots_[0] >= 0, slots_[1] >= 0, slots_[2] >= 0, slots_[3] >= 0};
  return error;
}

}  // namespace carelog::store
