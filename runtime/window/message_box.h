// A plain message box: the text and an OK button in a popup window, shown until the user (or
// automation) answers. Used by the fatal-error path, which cannot rely on any window of the
// program still working.
#pragma once

#include <string>

#include "runtime/host/types.h"

namespace carelog::window {

// Shows the box and waits, serving only its own messages, until it is answered.
void ShowMessageBox(const std::string& title, const std::string& text);

// The box shown now, for automation; false when none is shown.
bool CurrentMessageBox(host::WindowId* window, std::string* text);

}  // namespace carelog::window
