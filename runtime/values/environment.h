// The environment file: settings lines "NAME=value" (settings.h) read from a text file.
//
// File format: read in blocks of 2048 bytes; carriage returns and line feeds end lines; a
// Ctrl-Z (26) ends the file. On each line the name runs to the first '=' (at most 30
// characters kept; blanks and control characters dropped); the value runs to the end of the
// line (at most 255 characters kept) without its trailing blanks and tabs. A line without '='
// is ignored. Each line is applied at once, in file order.
//
// At start the file beside the executable is read: the executable's path with its extension
// replaced by ".ENV", or with ".ENV" added when it has none. A missing file is no error.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/values/locale.h"

namespace carelog::values {

inline constexpr int kSettingsFileNotFound = 2;  // the runtime's "File Not Found" code
inline constexpr size_t kSettingsBlockSize = 2048;
inline constexpr size_t kMaxSettingName = 30;
inline constexpr size_t kMaxSettingValue = 255;

// Splits settings text into lines and applies each line to `tables`. Text may arrive in any
// number of pieces; Finish() applies a last line without a line end.
class SettingsReader {
 public:
  explicit SettingsReader(LocaleTables& tables) : tables_(tables) {}

  // Returns false once a Ctrl-Z has ended the text (later input is ignored).
  bool Feed(const char* data, size_t n);
  void Finish();

 private:
  void EndLine();

  LocaleTables& tables_;
  std::string name_;
  std::string value_;
  bool in_value_ = false;
  bool ended_ = false;
};

// The environment file path for an executable path.
std::string EnvironmentPathFor(std::string_view executable_path);

// Reads a settings file into `tables`. "WINDOWS" (any case) instead of a path applies the
// system collation, case pairs and AM/PM texts. Returns 0, or kSettingsFileNotFound when the
// file cannot be opened (nothing changes then).
int LoadSettingsFileInto(LocaleTables& tables, const std::string& path);

// Fills freshly defaulted tables from the operating system's locale and the environment file
// beside the running executable.
void CompleteLocaleTables(LocaleTables& tables);

// The application's entry points, acting on the process-wide tables. LoadSettingsFile returns
// 0 or kSettingsFileNotFound, which the caller posts as its error.
int LoadSettingsFile(const std::string& path);
void SetSetting(std::string_view name, std::string_view value);

}  // namespace carelog::values
