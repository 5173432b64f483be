#include "runtime/store/preconditions.h"

#include "runtime/store/driver_state.h"
#include "runtime/store/error_codes.h"

namespace carelog::store {
namespace {

// What a missing required bit or a present forbidden bit costs, per bit (lowest first).
struct BitErrors {
  uint8_t bit;
  int when_missing;
  int when_present;
};

constexpr BitErrors kBitErrors[] = {
    {kBitOpen, kErrFileNotOpen, kErrFileAlreadyOpen},
    {kBitCurrentRecord, kErrRecordNotAvailable, 0},
    {kBitLogout, kSilentFailure, kErrLogoutAlreadyActive},
    {kBitStream, kSilentFailure, kSilentFailure},
    {kBitLocked, kSilentFailure, kSilentFailure},
    {kBitReading, kErrRecordNotAvailable, 0},
    {kBitWriteAccess, kErrAccessDenied, 0},
    {kBitDenyOthers, kErrExclusiveAccessRequired, 0},
};

}  // namespace

int CheckPreconditions(const OperationRow& row, uint32_t bits) {
  // The usual case, every required bit present and no forbidden one: nothing to report.
  if ((bits & row.required) == row.required && (bits & row.forbidden) == 0) return 0;
  const bool open = (bits & kBitOpen) != 0;
  for (const BitErrors& bit : kBitErrors) {
    const bool checked = open || bit.bit == kBitOpen;
    if ((row.required & bit.bit) != 0 && (bits & bit.bit) == 0 && checked) {
      return bit.when_missing;
    }
  }
  for (const BitErrors& bit : kBitErrors) {
    if ((row.forbidden & bit.bit) != 0 && (bits & bit.bit) != 0 && bit.when_present != 0) {
      return bit.when_present;
    }
  }
  return 0;
}

uint32_t BitsAfter(const OperationRow& row, uint32_t bits, bool success) {
  if (success) return (bits | row.set) & ~uint32_t{row.clear};
  return bits & ~uint32_t{row.fail_clear};
}

}  // namespace carelog::store
