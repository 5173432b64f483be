#include "runtime/store/preconditions.h"

#include <algorithm>
#include <iterator>

#include "runtime/store/driver_state.h"

namespace carelog::store {
namespace {

constexpr uint8_t C = kFlagClearError;
constexpr uint8_t F = kFlagDiscard;
constexpr uint8_t R = kFlagReading;
constexpr uint8_t V = kFlagResult;

// code, required, forbidden, set, clear, fail clear, flags, strings popped, string result
constexpr OperationRow kRows[] = {
    {kOpAdd, 0x41, 0, 0x02, 0, 0, C, 0, false},
    {kOpBof, 0x21, 0, 0, 0, 0, V, 0, false},
    {kOpBuildFile, 0xC0, 0x04, 0, 0, 0, C, 0, false},
    {kOpAppend, 0x41, 0, 0, 0, 0, C, 0, false},
    {kOpBuildIndex, 0x01, 0x04, 0, 0, 0, C, 1, false},
    {kOpBuildKey, 0xC0, 0x04, 0, 0, 0, C, 0, false},
    {kOpClose, 0x01, 0x04, 0, 0x01, 0, C | F, 0, false},
    {kOpCommit, 0x05, 0, 0, 0x04, 0, C, 0, false},
    {kOpCopy, 0, 0x01, 0, 0, 0, C | F, 1, false},
    {kOpCreate, 0, 0x01, 0, 0, 0, C | F, 0, false},
    {kOpDelete, 0x43, 0, 0, 0x02, 0, C, 0, false},
    {kOpDuplicateFile, 0x41, 0, 0, 0, 0, C | V, 0, false},
    {kOpEmpty, 0xC1, 0x04, 0, 0, 0, C, 0, false},
    {kOpEof, 0x21, 0, 0, 0, 0, V, 0, false},
    {kOpGetByKey, 0x01, 0, 0x02, 0, 0x02, C, 0, false},
    {kOpGetByPointer, 0x01, 0, 0x02, 0, 0x02, C, 0, false},
    {kOpGetKeyPointer, 0x01, 0, 0x02, 0, 0x02, C, 0, false},
    {kOpHold, 0x01, 0, 0, 0, 0, C, 0, false},
    {kOpHoldSeconds, 0x01, 0, 0, 0, 0, C, 0, false},
    {kOpLock, 0x01, 0x10, 0x90, 0, 0, C, 0, false},
    {kOpLockSeconds, 0x01, 0x10, 0x90, 0, 0, C, 0, false},
    {kOpLogout, 0x01, 0x04, 0x04, 0, 0, C, 0, false},
    {kOpName, 0, 0, 0, 0, 0, 0, 0, true},
    {kOpNext, 0x21, 0, 0x02, 0, 0x02, C | R, 0, false},
    {kOpOpen, 0, 0x01, 0x01, 0, 0, C, 0, false},
    {kOpPack, 0xC0, 0x04, 0, 0x22, 0x22, C, 0, false},
    {kOpPointerFile, 0x03, 0, 0, 0, 0, V, 0, false},
    {kOpPointerKey, 0x03, 0, 0, 0, 0, V, 0, false},
    {kOpFlush, 0x09, 0, 0, 0x08, 0, C, 0, false},
    {kOpPut, 0x43, 0, 0, 0, 0, C, 0, false},
    {kOpPrevious, 0x21, 0, 0x02, 0, 0x02, C | R, 0, false},
    {kOpRecordsFile, 0x01, 0, 0, 0, 0, V, 0, false},
    {kOpRecordsKey, 0x01, 0, 0, 0, 0, V, 0, false},
    {kOpBuildIndexFiltered, 0x01, 0x04, 0, 0, 0, C, 2, false},
    {kOpRelease, 0x01, 0, 0, 0, 0, C, 0, false},
    {kOpRemove, 0, 0x01, 0, 0, 0, C | F, 0, false},
    {kOpRename, 0, 0x01, 0, 0, 0, C | F, 1, false},
    {kOpRollback, 0x05, 0, 0, 0x04, 0, C, 0, false},
    {kOpSetFile, 0x01, 0, 0x20, 0, 0x20, C | R, 0, false},
    {kOpSetFileKey, 0x01, 0, 0x20, 0, 0x20, C | R, 0, false},
    {kOpSetFilePointer, 0x01, 0, 0x20, 0, 0x20, C | R, 0, false},
    {kOpSetKey, 0x01, 0, 0x20, 0, 0x20, C | R, 0, false},
    {kOpSetKeyKey, 0x01, 0, 0x20, 0, 0x20, C | R, 0, false},
    {kOpSetKeyPointer, 0x01, 0, 0x20, 0, 0x20, C | R, 0, false},
    {kOpSetKeyKeyPointer, 0x01, 0, 0x20, 0, 0x20, C | R, 0, false},
    {kOpShare, 0, 0x01, 0x01, 0, 0, C, 0, false},
    {kOpSkip, 0x21, 0, 0, 0x02, 0x02, C | R, 0, false},
    {kOpUnlock, 0x11, 0x04, 0, 0x10, 0, C, 0, false},
    {kOpBytes, 0x01, 0, 0, 0, 0, C | V, 0, false},
    {kOpPutPointer, 0x41, 0, 0, 0, 0x02, C, 0, false},
    {kOpStream, 0x01, 0x08, 0x08, 0, 0, C, 0, false},
    {kOpDuplicateKey, 0x01, 0, 0, 0, 0, C | V, 0, false},
    {kOpWatch, 0x01, 0, 0, 0, 0, C, 0, false},
    {kOpSend, 0, 0, 0, 0, 0, C, 1, true},
    {kOpPositionFile, 0x03, 0, 0, 0, 0, C, 0, true},
    {kOpPositionKey, 0x03, 0, 0, 0, 0, C, 0, true},
    {kOpResetFile, 0x01, 0, 0x20, 0, 0x20, C | R, 1, false},
    {kOpResetKey, 0x01, 0, 0x20, 0, 0x20, C | R, 1, false},
    {kOpSkipMemos, 0x01, 0, 0, 0, 0, 0, 0, false},
    {kOpRegetFile, 0x01, 0, 0x02, 0, 0, C, 1, false},
    {kOpRegetKey, 0x01, 0, 0x02, 0, 0, C, 1, false},
    {kOpReadingKey, 0x01, 0, 0, 0, 0, V, 0, false},
    {kOpNoOperation, 0, 0, 0, 0, 0, V, 0, false},
    {kOpMemoSliceRead, 0x01, 0, 0, 0, 0, C, 0, true},
    {kOpMemoSliceWrite, 0x01, 0, 0, 0, 0, C, 1, false},
    {kOpMemoLength, 0x01, 0, 0, 0, 0, V, 0, false},
    {kOpMemoAssign, 0x01, 0, 0, 0, 0, C, 1, false},
    {kOpMemoString, 0x01, 0, 0, 0, 0, C, 0, true},
};

static_assert(std::is_sorted(std::begin(kRows), std::end(kRows),
                             [](const OperationRow& a, const OperationRow& b) {
                               return a.code < b.code;
                             }));

// What a missing required bit or a present forbidden bit costs, per bit (lowest first).
struct BitErrors {
  uint8_t bit;
  int when_missing;
  int when_present;
};

constexpr BitErrors kBitErrors[] = {
    {kBitOpen, 37, 52},
    {kBitCurrentRecord, 33, 0},
    {kBitLogout, kSilentFailure, 56},
    {kBitStream, kSilentFailure, kSilentFailure},
    {kBitLocked, kSilentFailure, kSilentFailure},
    {kBitReading, 33, 0},
    {kBitWriteAccess, 5, 0},
    {kBitDenyOthers, 63, 0},
};

}  // namespace

const OperationRow* FindOperation(int code) {
  const auto* found =
      std::lower_bound(std::begin(kRows), std::end(kRows), code,
                       [](const OperationRow& row, int wanted) { return row.code < wanted; });
  if (found == std::end(kRows) || found->code != code) return nullptr;
  return found;
}

const OperationRow* OperationRowsBegin() {
  return std::begin(kRows);
}
const OperationRow* OperationRowsEnd() {
  return std::end(kRows);
}

int CheckPreconditions(const OperationRow& row, uint32_t bits) {
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
