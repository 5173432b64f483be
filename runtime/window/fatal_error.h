// The one path by which a runtime error ends the program: the message (overridable by the
// environment's TAMMSGn settings) is shown in a message box, appended to the error log
// "TMLOG.TXT" in the current directory, and the program ends.
//
// Error log record (each line ends in CR LF):
//   Error: <message>
//      xxxxxxxx        ten lines, call-trace addresses (8 hex digits, lowest 32 bits)
//   ----------------------------------   (34 dashes)
// An internal consistency failure of the entry controls writes "Error @(File,Line) (%s, %d)\n".
//
// Invariants:
//   1. The first write of a run creates the file, emptying an old one; later writes append.
//   2. Writes are serialised by one lock, so records of two threads never interleave.
//   3. Every fatal error of the runtime (windows, definitions, the store's internal errors)
//      goes through FatalRuntimeError, so a test can replace the whole path with one hook.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace carelog::window {

inline constexpr const char* kErrorLogName = "TMLOG.TXT";
inline constexpr int kTraceLines = 10;
// The code under which the record store's internal errors take the fatal path.
inline constexpr int kStoreInternalError = 0;

// The runtime's text for `code`: the TAMMSGn override when set, the window runtime's own
// table (501-542), else the record store's table; "Error <code>" when none has it.
std::string RuntimeMessage(int code);

// Replaces the box, the log and the end of the program (tests). When the hook returns, the
// raising operation fails cleanly and returns to its caller. nullptr restores the real path.
using FatalErrorHook = void (*)(int code, const std::string& message);
FatalErrorHook SetFatalErrorHook(FatalErrorHook hook);

// Reports runtime error `code` with its table message, or with `message`.
void FatalRuntimeError(int code);
void FatalRuntimeError(int code, const std::string& message);

// The fatal path's box (error icon, OK): titled "Runtime error" for the record store's
// internal errors, "Error" for the runtime's own.
void ShowFatalErrorBox(int code, const std::string& message);

// Appends one record to the error log; `trace` holds kTraceLines addresses.
bool AppendErrorLog(std::string_view message, const uintptr_t* trace);
// Appends the entry controls' consistency record.
bool AppendErrorLogPosition(std::string_view source, int line);
// Makes the next write start a new file, as at the start of a run.
void StartNewErrorLog();

// Connects the definition loader's and the record store's fatal and internal-error handlers
// to this path. Called once at program start.
void InstallFatalErrorPath();

}  // namespace carelog::window
