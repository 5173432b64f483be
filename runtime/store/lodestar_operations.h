// The work of each operation code of the LODESTAR driver, once the dispatcher has built the
// driver state and checked the operation's preconditions. One handler per code; handlers that
// touch stored data call the table layer.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/store/driver_state.h"
#include "runtime/store/table_ops.h"

namespace carelog::store {

struct OperationCall {
  int op = 0;
  FileDeclaration* file = nullptr;
  DriverState* state = nullptr;
  const intptr_t* args = nullptr;
  std::string strings[2];  // popped string arguments, in the order they were pushed
  TableOps* tables = nullptr;
  intptr_t value = 0;          // value result
  std::string text;            // string result
  bool discard_after = false;  // discard the state although the row has no F flag
};

// Returns 0 or an error code.
using OperationHandler = int (*)(OperationCall&);

// The handler of `code`, or null when the driver does not support it.
OperationHandler HandlerFor(int code);

}  // namespace carelog::store
