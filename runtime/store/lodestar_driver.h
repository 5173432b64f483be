// The LODESTAR driver: the one entry point through which every file statement on a declared
// file reaches the record store. The driver builds its per-file state from the declarations
// on the first operation, enforces the operation table, runs the operation (the stored-data
// part through the table layer of table_ops.h), and posts the outcome into the error state.
//
// One operation, in order:
//   1. code 74 (no operation) returns 0 at once;
//   2. string arguments are popped; OPEN, SHARE and SEND map a THREAD file to the calling
//      thread's copy;
//   3. the driver state is built when the declaration has none (47, 75, 79, 8 end the call);
//   4. the operation's precondition row is checked;
//   5. the operation runs;
//   6. the table layer ends the statement's access cycle (its error replaces a zero result);
//   7. string results are pushed (always, empty on failure, so callers stay balanced);
//   8. state bits change per the row; the state is discarded after an F operation (except on
//      52) and after 37, but never while the file is still open;
//   9. rows flagged C clear the error state; a result other than 0 and -1 is posted;
//  10. BOF and EOF return true on failure.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "runtime/store/declarations.h"

namespace carelog::store {

struct DriverRegistration {
  std::string_view name;
  std::string_view library;
  std::string_view banner;
  DriverEntry entry;
  std::span<const uint8_t> operations;  // supported operation codes
  std::span<const uint8_t> type_codes;  // field type codes accepted in a declaration
};

const DriverRegistration& LodestarRegistration();

// The entry point. `object` is a FileDeclaration; `args` holds at least the operation's
// arguments (key declarations and numbers as intptr_t). Returns the operation's value for
// operations that have one (BOF, EOF, DUPLICATE, POINTER, RECORDS, BYTES, reading key, memo
// length), else the error code (0 success, -1 silent failure).
intptr_t LodestarEntry(int op, void* object, const intptr_t* args);

// Called between the attempts of LOCK and of reads under HOLD, so that a waiting statement can
// let the rest of the program look at its messages. Null restores the default (a yield).
using WaitHook = void (*)();
void SetWaitHook(WaitHook hook);
void WaitBetweenAttempts();

}  // namespace carelog::store
