// Operating-system services the runtime above the platform layer needs, so that nothing above
// runtime/host names a system call: starting a detached program, starting a detached thread
// with a chosen stack, opening a document in the desktop's viewer, the session signals, the call
// trace, the program's path and the memory still free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace carelog::host {

// Starts `argv[0]` (looked up on PATH) with its arguments, detached: the program is never a
// child this process must reap. False when it could not be started.
bool StartDetachedProgram(const std::vector<std::string>& argv);

// The full path of the program `name` as PATH finds it (or `name` itself when it holds a
// '/' and is executable); empty when there is none.
std::string FindProgram(const std::string& name);

// Shows a document (a page of the user guide) in the desktop's viewer for its kind, detached:
// the first of xdg-open, sensible-browser and x-www-browser found on PATH. False when none is
// installed or it could not be started.
bool OpenInViewer(const std::string& file);

// Runs entry(argument) on a new detached thread with at least `stack_size` bytes of stack.
bool StartDetachedThread(void (*entry)(void* argument), void* argument, size_t stack_size);

// The two session signals: a request to end (the program may refuse) and the session ending.
enum class SessionSignal : char { kEndRequested = 'q', kSessionEnding = 'e' };
// Calls `on_signal` on a watcher thread of its own for each session signal received, until
// StopSessionSignals. Idempotent; false when the signals could not be routed.
bool WatchSessionSignals(void (*on_signal)(SessionSignal signal));
// Restores the default handling and ends the watcher.
void StopSessionSignals();

// Up to `count` return addresses of the caller's stack, skipping `skip` frames above it.
std::vector<uintptr_t> CallTrace(int skip, int count);

// The running executable's path, empty when unknown.
std::string ExecutablePath();

// Bytes of physical memory not in use, 0 when unknown.
uint64_t AvailableMemory();

}  // namespace carelog::host
