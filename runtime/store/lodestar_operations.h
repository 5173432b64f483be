// The work of each operation code of the LODESTAR driver, once the dispatcher has built the
// driver state and checked the operation's preconditions. One handler per code, named in the
// code's row of the operation table; handlers that touch stored data call the table layer.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "runtime/store/driver_state.h"
#include "runtime/store/preconditions.h"
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

// The operation table: one row per supported code, with its preconditions, state changes,
// flags, string arguments and handler (see preconditions.h). The row of `code`, or null for a
// code the driver does not support (error 80).
const OperationRow* FindOperation(int code);

// Every row, in code order.
const OperationRow* OperationRowsBegin();
const OperationRow* OperationRowsEnd();

// The code of every row, in code order.
std::span<const uint8_t> SupportedOperationCodes();

}  // namespace carelog::store
