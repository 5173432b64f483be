// The operation codes of the driver interface and the shape of a row of the operation table:
// for each code the state bits it requires and forbids, the bits it sets and clears on success
// and on failure, its flags, the string arguments and results it carries on the string stack,
// and its handler. The table (lodestar_operations.h) is the file's state machine; the driver
// consults it for every operation.
//
//            OPEN / SHARE (set 0x01)            SET / RESET (set 0x20)
//   closed ------------------------> open ----------------------------> reading
//     ^          CLOSE (clear 0x01)   |  NEXT / PREVIOUS / GET / REGET (set 0x02: current)
//     +-------------------------------+  DELETE (clear 0x02); LOCK / UNLOCK (0x10);
//                                        STREAM / FLUSH (0x08); LOGOUT / COMMIT / ROLLBACK (0x04)
#pragma once

#include <cstdint>

namespace carelog::store {

enum Operation : int {
  kOpAdd = 1,
  kOpBof = 2,
  kOpBuildFile = 3,
  kOpAppend = 4,
  kOpBuildIndex = 5,
  kOpBuildKey = 6,
  kOpClose = 7,
  kOpCommit = 8,
  kOpCopy = 9,
  kOpCreate = 10,
  kOpDelete = 11,
  kOpDuplicateFile = 12,
  kOpEmpty = 13,
  kOpEof = 14,
  kOpGetByKey = 15,
  kOpGetByPointer = 16,
  kOpGetKeyPointer = 17,
  kOpHold = 18,
  kOpHoldSeconds = 19,
  kOpLock = 20,
  kOpLockSeconds = 21,
  kOpLogout = 22,
  kOpName = 23,
  kOpNext = 24,
  kOpOpen = 25,
  kOpPack = 26,
  kOpPointerFile = 27,
  kOpPointerKey = 28,
  kOpFlush = 29,
  kOpPut = 30,
  kOpPrevious = 31,
  kOpRecordsFile = 32,
  kOpRecordsKey = 33,
  kOpBuildIndexFiltered = 34,
  kOpRelease = 36,
  kOpRemove = 37,
  kOpRename = 38,
  kOpRollback = 40,
  kOpSetFile = 41,
  kOpSetFileKey = 42,
  kOpSetFilePointer = 43,
  kOpSetKey = 44,
  kOpSetKeyKey = 45,
  kOpSetKeyPointer = 46,
  kOpSetKeyKeyPointer = 47,
  kOpShare = 48,
  kOpSkip = 49,
  kOpUnlock = 50,
  kOpBytes = 52,
  kOpPutPointer = 54,
  kOpStream = 56,
  kOpDuplicateKey = 57,
  kOpWatch = 58,
  kOpSend = 60,
  kOpPositionFile = 61,
  kOpPositionKey = 62,
  kOpResetFile = 63,
  kOpResetKey = 64,
  kOpSkipMemos = 65,
  kOpRegetFile = 66,
  kOpRegetKey = 67,
  kOpViewFilter = 71,
  kOpReadingKey = 73,
  kOpNoOperation = 74,
  kOpMemoSliceRead = 75,
  kOpMemoSliceWrite = 76,
  kOpMemoLength = 77,
  kOpMemoAssign = 78,
  kOpMemoString = 79,
};

// Operation flags.
inline constexpr uint8_t kFlagClearError = 0x01;  // C: clear the error state first
inline constexpr uint8_t kFlagDiscard = 0x02;     // F: discard the driver state afterwards
inline constexpr uint8_t kFlagReading = 0x04;     // R: remembered as the last reading operation
inline constexpr uint8_t kFlagResult = 0x08;      // the entry point returns a value, not a code

// Result of a precondition check that fails without posting anything.
inline constexpr int kSilentFailure = -1;

struct OperationCall;
// The work of one operation; returns 0 or an error code.
using OperationHandler = int (*)(OperationCall&);

struct OperationRow {
  uint8_t code;
  uint8_t required;        // state bits that must be present
  uint8_t forbidden;       // state bits that must be absent
  uint8_t set;             // set on success
  uint8_t clear;           // cleared on success
  uint8_t fail_clear;      // cleared on failure
  uint8_t flags;           // kFlag*
  uint8_t strings_popped;  // string arguments taken from the string stack
  bool string_result;      // a string result is pushed on the string stack
  OperationHandler handler;
};

// 0 when `bits` satisfy the row; otherwise the error of the first offending bit (required bits
// before forbidden ones, lowest bit first) or kSilentFailure. Required bits other than the
// open bit are only checked while the file is open.
int CheckPreconditions(const OperationRow& row, uint32_t bits);

// The state bits after the operation: set/clear on success, fail-clear on failure.
uint32_t BitsAfter(const OperationRow& row, uint32_t bits, bool success);

}  // namespace carelog::store
