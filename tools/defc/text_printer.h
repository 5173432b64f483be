// Prints a definition module in the text form that text_parser.h reads: a window or report
// with one property per line, every control on one line, a block per container. Parsing the
// output gives back an equal module.
#pragma once

#include <string>

#include "runtime/window/definition_model.h"

namespace carelog::defc {

std::string PrintModule(const window::Module& module);

}  // namespace carelog::defc
