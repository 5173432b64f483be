#include "runtime/store/lodestar_driver.h"

#include <atomic>
#include <thread>

#include "runtime/store/driver_state.h"
#include "runtime/store/error_codes.h"
#include "runtime/store/error_state.h"
#include "runtime/store/lodestar_operations.h"
#include "runtime/store/preconditions.h"
#include "runtime/store/string_stack.h"
#include "runtime/store/table_ops.h"

namespace carelog::store {
namespace {

constexpr uint8_t kAcceptedTypeCodes[] = {1, 2, 3, 6, 7, 8, 9, 10, 18, 19, 20, 21, 26, 22, 23};

std::atomic<WaitHook> wait_hook{nullptr};

bool MapsThreadCopy(int op) {
  return op == kOpOpen || op == kOpShare || op == kOpSend;
}

// The calling thread's copy of a THREAD file (step 2).
FileDeclaration* ThreadCopy(FileDeclaration* file) {
  if ((file->attributes & kFileAttrThread) == 0 || file->thread_copy == nullptr) return file;
  FileDeclaration* copy = file->thread_copy();
  return copy != nullptr ? copy : file;
}

// Steps 4 to 6: preconditions, the operation, the end of the access cycle.
int Run(const OperationRow& row, OperationCall& call) {
  DriverState& state = *call.state;
  if (int error = CheckPreconditions(row, state.bits)) return error;
  int error = row.handler(call);
  if (state.table != nullptr) {
    const int finished = call.tables->FinishAccessCycle(state);
    if (error == 0) error = finished;
  }
  if ((row.flags & kFlagReading) != 0) state.last_read_op = call.op;
  return error;
}

}  // namespace

const DriverRegistration& LodestarRegistration() {
  static const DriverRegistration registration = {
      "LODESTAR",
      "TMLDS16.DLL",
      "Lodestar (LDS) Driver 1.00",
      &LodestarEntry,
      SupportedOperationCodes(),
      kAcceptedTypeCodes,
  };
  return registration;
}

void SetWaitHook(WaitHook hook) {
  wait_hook.store(hook);
}

void WaitBetweenAttempts() {
  const WaitHook hook = wait_hook.load();
  if (hook != nullptr) {
    hook();
  } else {
    std::this_thread::yield();
  }
}

intptr_t LodestarEntry(int op, void* object, const intptr_t* args) {
  // Step 1.
  if (op == kOpNoOperation) return 0;

  static const intptr_t kNoArguments[3] = {};
  auto* file = static_cast<FileDeclaration*>(object);
  const OperationRow* row = FindOperation(op);
  if (row == nullptr || file == nullptr) {
    ClearError();
    PostError(kErrUnsupportedFunction, file);
    return kErrUnsupportedFunction;
  }

  // Step 2: strings come off the stack last argument first.
  OperationCall call;
  call.op = op;
  call.args = args != nullptr ? args : kNoArguments;
  call.tables = &CurrentTableOps();
  for (int i = row->strings_popped - 1; i >= 0; --i) call.strings[i] = PopString();
  if (MapsThreadCopy(op)) file = ThreadCopy(file);
  call.file = file;

  // Step 3.
  int error = StateOf(*file) == nullptr ? BuildDriverState(*file) : 0;
  DriverState* state = StateOf(*file);

  if (error == 0) {
    call.state = state;
    error = Run(*row, call);
    // Step 8: state bits. A silent failure changes nothing; no current record without a number.
    if (error != kSilentFailure) {
      state->bits = BitsAfter(*row, state->bits, error == 0);
      if (state->current_record == 0) state->bits &= ~kBitCurrentRecord;
    }
  }

  // Step 7.
  if (row->string_result) PushString(call.text);

  // Step 8: discarding. A file that is still open keeps its state whatever the outcome, so
  // that a refused CLOSE (during LOGOUT) never loses the open table.
  if (state != nullptr && !state->is_open()) {
    const bool after_f = (row->flags & kFlagDiscard) != 0 && error != kErrFileAlreadyOpen;
    if (after_f || error == kErrFileNotOpen || call.discard_after) DiscardDriverState(*file);
  }

  // Step 9.
  if ((row->flags & kFlagClearError) != 0) ClearError();
  if (error != 0 && error != kSilentFailure) PostError(error, file);

  // Step 10.
  if (op == kOpBof || op == kOpEof) return error != 0 ? 1 : call.value;
  if ((row->flags & kFlagResult) != 0) return error == 0 ? call.value : 0;
  return error;
}

}  // namespace carelog::store
