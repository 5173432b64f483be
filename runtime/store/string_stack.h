// The runtime's string stack: carries string arguments to drivers (names, SEND commands,
// position strings) and string results back. Each thread has its own stack, so a statement's
// pushes and pops never meet another thread's.
//
// Popping an empty stack yields an empty string (a driver called without its string argument
// sees an empty one rather than failing).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace carelog::store {

void PushString(std::string_view text);
std::string PopString();
size_t StringStackDepth();
void ClearStringStack();

}  // namespace carelog::store
