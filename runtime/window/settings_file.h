// The program's statement for reading a settings file into the process-wide locale tables:
// the file's settings apply at once; a file that cannot be opened changes nothing and posts
// 2 "File Not Found" to the record store's error state, where the program reads ERRORCODE.
#pragma once

#include <string>

namespace carelog::window {

// True when the file was read ("WINDOWS" applies the system's collation, case and AM/PM).
bool ReadSettingsFile(const std::string& path);

}  // namespace carelog::window
