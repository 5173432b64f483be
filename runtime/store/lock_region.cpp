#include "runtime/store/lock_region.h"

#include <cerrno>

namespace carelog::store {

uint64_t NumberLockOffset(uint32_t number) {
  const uint32_t swapped = ((number & 0xFF) << 24) | ((number & 0xFF00) << 8) |
                           ((number >> 8) & 0xFF00) | (number >> 24);
  return kNumberLocksStart + swapped;
}

int RoleLock::Acquire(File& file, bool writer) {
  if (writer) {
    if (int error = file.Lock(kLockRegionStart, kReaderSlots, true)) return error;
    held_ = true;
    writer_ = true;
    return 0;
  }
  // A reader looks for a free slot from where it last found one; when every slot is taken (a
  // writer holds the whole range) it waits for its starting slot.
  for (uint64_t tried = 0; tried < kReaderSlots; ++tried) {
    const uint32_t slot = static_cast<uint32_t>((next_slot_ + tried) % kReaderSlots);
    const int error = file.Lock(kLockRegionStart + slot, 1, false);
    if (error == 0) {
      held_ = true;
      writer_ = false;
      slot_ = slot;
      next_slot_ = slot;
      return 0;
    }
    if (error != EAGAIN) return error;
  }
  if (int error = file.Lock(kLockRegionStart + next_slot_, 1, true)) return error;
  held_ = true;
  writer_ = false;
  slot_ = next_slot_;
  return 0;
}

int RoleLock::Release(File& file) {
  if (!held_) return 0;
  held_ = false;
  return writer_ ? file.Unlock(kLockRegionStart, kReaderSlots)
                 : file.Unlock(kLockRegionStart + slot_, 1);
}

int TryLockNumber(File& file, uint32_t number) {
  return file.Lock(NumberLockOffset(number), 1, false);
}

int UnlockNumber(File& file, uint32_t number) {
  return file.Unlock(NumberLockOffset(number), 1);
}

}  // namespace carelog::store
