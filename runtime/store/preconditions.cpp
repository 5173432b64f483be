#include "runtime/store/preconditions.h"

#include <algorithm>
#include <iterator>

#include "runtime/store/driver_state.h"
#include "runtime/store/error_codes.h"

namespace carelog::store {
namespace {

constexpr uint8_t C = kFlagClearError;
constexpr uint8_t F = kFlagDiscard;
constexpr uint8_t R = kFlagReading;
constexpr uint8_t V = kFlagResult;

// State bits: Open, current record (K), Logout, Stream, lock Held, readinG, Write access,
// denying others (X).
constexpr uint8_t O = kBitOpen;
constexpr uint8_t K = kBitCurrentRecord;
constexpr uint8_t L = kBitLogout;
constexpr uint8_t S = kBitStream;
constexpr uint8_t H = kBitLocked;
constexpr uint8_t G = kBitReading;
constexpr uint8_t W = kBitWriteAccess;
constexpr uint8_t X = kBitDenyOthers;

// code, required, forbidden, set, clear, fail clear, flags, strings popped, string result
constexpr OperationRow kRows[] = {
    {kOpAdd, O | W, 0, K, 0, 0, C, 0, false},
    {kOpBof, O | G, 0, 0, 0, 0, V, 0, false},
    {kOpBuildFile, W | X, L, 0, 0, 0, C, 0, false},
    {kOpAppend, O | W, 0, 0, 0, 0, C, 0, false},
    {kOpBuildIndex, O, L, 0, 0, 0, C, 1, false},
    {kOpBuildKey, W | X, L, 0, 0, 0, C, 0, false},
    {kOpClose, O, L, 0, O, 0, C | F, 0, false},
    {kOpCommit, O | L, 0, 0, L, 0, C, 0, false},
    {kOpCopy, 0, O, 0, 0, 0, C | F, 1, false},
    {kOpCreate, 0, O, 0, 0, 0, C | F, 0, false},
    {kOpDelete, O | K | W, 0, 0, K, 0, C, 0, false},
    {kOpDuplicateFile, O | W, 0, 0, 0, 0, C | V, 0, false},
    {kOpEmpty, O | W | X, L, 0, 0, 0, C, 0, false},
    {kOpEof, O | G, 0, 0, 0, 0, V, 0, false},
    {kOpGetByKey, O, 0, K, 0, K, C, 0, false},
    {kOpGetByPointer, O, 0, K, 0, K, C, 0, false},
    {kOpGetKeyPointer, O, 0, K, 0, K, C, 0, false},
    {kOpHold, O, 0, 0, 0, 0, C, 0, false},
    {kOpHoldSeconds, O, 0, 0, 0, 0, C, 0, false},
    {kOpLock, O, H, H | X, 0, 0, C, 0, false},
    {kOpLockSeconds, O, H, H | X, 0, 0, C, 0, false},
    {kOpLogout, O, L, L, 0, 0, C, 0, false},
    {kOpName, 0, 0, 0, 0, 0, 0, 0, true},
    {kOpNext, O | G, 0, K, 0, K, C | R, 0, false},
    {kOpOpen, 0, O, O, 0, 0, C, 0, false},
    {kOpPack, W | X, L, 0, K | G, K | G, C, 0, false},
    {kOpPointerFile, O | K, 0, 0, 0, 0, V, 0, false},
    {kOpPointerKey, O | K, 0, 0, 0, 0, V, 0, false},
    {kOpFlush, O | S, 0, 0, S, 0, C, 0, false},
    {kOpPut, O | K | W, 0, 0, 0, 0, C, 0, false},
    {kOpPrevious, O | G, 0, K, 0, K, C | R, 0, false},
    {kOpRecordsFile, O, 0, 0, 0, 0, V, 0, false},
    {kOpRecordsKey, O, 0, 0, 0, 0, V, 0, false},
    {kOpBuildIndexFiltered, O, L, 0, 0, 0, C, 2, false},
    {kOpRelease, O, 0, 0, 0, 0, C, 0, false},
    {kOpRemove, 0, O, 0, 0, 0, C | F, 0, false},
    {kOpRename, 0, O, 0, 0, 0, C | F, 1, false},
    {kOpRollback, O | L, 0, 0, L, 0, C, 0, false},
    {kOpSetFile, O, 0, G, 0, G, C | R, 0, false},
    {kOpSetFileKey, O, 0, G, 0, G, C | R, 0, false},
    {kOpSetFilePointer, O, 0, G, 0, G, C | R, 0, false},
    {kOpSetKey, O, 0, G, 0, G, C | R, 0, false},
    {kOpSetKeyKey, O, 0, G, 0, G, C | R, 0, false},
    {kOpSetKeyPointer, O, 0, G, 0, G, C | R, 0, false},
    {kOpSetKeyKeyPointer, O, 0, G, 0, G, C | R, 0, false},
    {kOpShare, 0, O, O, 0, 0, C, 0, false},
    {kOpSkip, O | G, 0, 0, K, K, C | R, 0, false},
    {kOpUnlock, O | H, L, 0, H, 0, C, 0, false},
    {kOpBytes, O, 0, 0, 0, 0, C | V, 0, false},
    {kOpPutPointer, O | W, 0, 0, 0, K, C, 0, false},
    {kOpStream, O, S, S, 0, 0, C, 0, false},
    {kOpDuplicateKey, O, 0, 0, 0, 0, C | V, 0, false},
    {kOpWatch, O, 0, 0, 0, 0, C, 0, false},
    {kOpSend, 0, 0, 0, 0, 0, C, 1, true},
    {kOpPositionFile, O | K, 0, 0, 0, 0, C, 0, true},
    {kOpPositionKey, O | K, 0, 0, 0, 0, C, 0, true},
    {kOpResetFile, O, 0, G, 0, G, C | R, 1, false},
    {kOpResetKey, O, 0, G, 0, G, C | R, 1, false},
    {kOpSkipMemos, O, 0, 0, 0, 0, 0, 0, false},
    {kOpRegetFile, O, 0, K, 0, 0, C, 1, false},
    {kOpRegetKey, O, 0, K, 0, 0, C, 1, false},
    {kOpReadingKey, O, 0, 0, 0, 0, V, 0, false},
    {kOpNoOperation, 0, 0, 0, 0, 0, V, 0, false},
    {kOpMemoSliceRead, O, 0, 0, 0, 0, C, 0, true},
    {kOpMemoSliceWrite, O, 0, 0, 0, 0, C, 1, false},
    {kOpMemoLength, O, 0, 0, 0, 0, V, 0, false},
    {kOpMemoAssign, O, 0, 0, 0, 0, C, 1, false},
    {kOpMemoString, O, 0, 0, 0, 0, C, 0, true},
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
