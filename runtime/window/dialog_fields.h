// Helpers shared by the common dialogs: their definitions' module, opening their windows,
// blank-padded STRING variables, and ASCII case-insensitive comparison of names.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>

#include "runtime/window/window_structure.h"

namespace carelog::window::dialog {

// The module holding the common dialogs' window definitions.
inline constexpr const char* kModule = "carelog.cpp$carlg_sf";

// Stores `text` in a STRING variable of `size` bytes: cut to fit, blank-padded.
void PutString(char* field, size_t size, const std::string& text);
// The text of a STRING variable without its trailing blanks.
std::string GetString(const char* field, size_t size);

bool SameName(const std::string& a, const std::string& b);

// Opens a dialog's window and checks that its definition has every control the dialog works
// with; a window without one of them is closed again and the dialog fails.
bool OpenWithControls(Structure& window, std::initializer_list<int> equates);

}  // namespace carelog::window::dialog
