// The common dispatcher of file statements: calls the entry point found in the first word of a
// file declaration or view object with the operation code, the object and the argument list.
#pragma once

#include <cstdint>

namespace carelog::store {

// `object` begins with a DriverEntry. A null object or entry posts 80 (no driver to call).
// REQUIRES: `args` holds the operation's arguments (at most three).
intptr_t Dispatch(int op, void* object, const intptr_t* args);

}  // namespace carelog::store
