// The internal-error path of the data-file engine. A violated invariant of the engine's own code
// (never a damaged file: bytes from disk give error 36 instead) is reported as
// "Internal error : ldsbt line N", where N identifies the check, through one replaceable handler.
//
// The default handler prints the message to stderr and aborts the process. The window runtime
// installs its fatal-error message box instead; tests install a handler that throws.
#pragma once

#include <string>

namespace carelog::store {

// Receives the complete message text. If it returns, the process is aborted.
using InternalErrorHandler = void (*)(const std::string& message);

// Installs `handler` (nullptr restores the default) and returns the previous one.
InternalErrorHandler SetInternalErrorHandler(InternalErrorHandler handler);

// "Internal error : ldsbt line " followed by `line` in decimal.
std::string InternalErrorText(int line);

// Reports the check `line` through the handler; does not return.
[[noreturn]] void InternalError(int line);

}  // namespace carelog::store
