// The PDF file that every later print job writes instead of printing, when one is set (by an
// automation script's "print-to FILE", or by the report engine for tests). Safe from any
// thread.
#pragma once

#include <string>

namespace carelog::host {

// "" clears the choice. A non-empty path also makes the built-in PDF printer the printer of
// the print settings, so the page size and resolution are those the file gets.
void SetPrintOutputFile(const std::string& path);
std::string PrintOutputFile();

}  // namespace carelog::host
