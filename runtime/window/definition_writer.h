// Encodes a definition module into its resource body (layout in definition_format.h).
//
// The body is written front to back: identifier, first-structure word, the three header
// strings, then for each entry its own strings and small records followed by the entry, then
// the entry's menu bar and children. Sibling and child links are patched once the linked entry
// has been placed. Every string reference gets its own copy.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/window/definition_model.h"

namespace carelog::window {

// Encodes `module` into `body`. Returns false with a description in `error` when the model
// cannot be encoded (an unknown kind, a field the kind does not have, a string holding a zero
// byte, a top-level entry that is not a window or report).
bool EncodeModule(const Module& module, std::vector<uint8_t>* body, std::string* error);

}  // namespace carelog::window
