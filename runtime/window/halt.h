// HALT: the one path by which the program ends on purpose from inside a procedure (a file that
// cannot be opened, a key the user chose not to rebuild).
//
//   1. the cleanups registered by the layers above run, newest first, once each (the
//      application registers the closing of its open data files, so every record written
//      before is in the files and their locks are released);
//   2. the halt text, when not empty, goes to the standard error stream as one line;
//   3. the process ends with `exit_code` (0 for every halt of the application) without running
//      static destructors, since other procedure threads may still be waiting in their loops.
//
// A test may replace step 3 with a hook; the hook must not return (it may throw).
#pragma once

#include <string_view>

namespace carelog::window {

using HaltCleanup = void (*)();
// Registers `cleanup` to run on a halt; registering the same function again does nothing.
void AddHaltCleanup(HaltCleanup cleanup);

[[noreturn]] void Halt(std::string_view text, int exit_code = 0);

using HaltHook = void (*)(std::string_view text, int exit_code);
HaltHook SetHaltHook(HaltHook hook);

}  // namespace carelog::window
