// Helpers shared by the common dialogs: their definitions' module, blank-padded STRING
// variables, and ASCII case-insensitive comparison of names.
#pragma once

#include <cstddef>
#include <string>

namespace carelog::window::dialog {

// The module holding the common dialogs' window definitions.
inline constexpr const char* kModule = "carelog.cpp$carlg_sf";

// Stores `text` in a STRING variable of `size` bytes: cut to fit, blank-padded.
void PutString(char* field, size_t size, const std::string& text);
// The text of a STRING variable without its trailing blanks.
std::string GetString(const char* field, size_t size);

bool SameName(const std::string& a, const std::string& b);

}  // namespace carelog::window::dialog
