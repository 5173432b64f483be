#include "runtime/values/environment.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "runtime/values/intl.h"
#include "runtime/values/settings.h"

namespace carelog::values {
namespace {

constexpr char kCtrlZ = 26;

bool IsWindowsName(const std::string& path) {
  if (path.size() != 7) return false;
  for (size_t i = 0; i < 7; ++i) {
    char c = path[i];
    if (c >= 'a' && c <= 'z') c -= 32;
    if (c != "WINDOWS"[i]) return false;
  }
  return true;
}

std::string ExecutablePath() {
  std::error_code error;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : exe.string();
}

}  // namespace

bool SettingsReader::Feed(const char* data, size_t n) {
  for (size_t i = 0; i < n && !ended_; ++i) {
    char c = data[i];
    if (c == kCtrlZ) {
      Finish();
      ended_ = true;
    } else if (c == '\r' || c == '\n') {
      EndLine();
    } else if (in_value_) {
      if (value_.size() < kMaxSettingValue) value_.push_back(c);
    } else if (c == '=') {
      in_value_ = true;
    } else if (static_cast<uint8_t>(c) > ' ' && c != 127 && name_.size() < kMaxSettingName) {
      name_.push_back(c);
    }
  }
  return !ended_;
}

void SettingsReader::Finish() {
  if (!ended_) EndLine();
}

void SettingsReader::EndLine() {
  if (in_value_ && !name_.empty()) {
    size_t end = value_.find_last_not_of(" \t");
    value_.resize(end == std::string::npos ? 0 : end + 1);
    ApplySetting(tables_, name_, value_);
  }
  name_.clear();
  value_.clear();
  in_value_ = false;
}

std::string EnvironmentPathFor(std::string_view executable_path) {
  size_t slash = executable_path.rfind('/');
  size_t base = slash == std::string_view::npos ? 0 : slash + 1;
  size_t dot = executable_path.rfind('.');
  std::string path(executable_path);
  if (dot != std::string_view::npos && dot > base) path.resize(dot);
  return path + ".ENV";
}

int LoadSettingsFileInto(LocaleTables& tables, const std::string& path) {
  if (IsWindowsName(path)) {
    ApplySetting(tables, "TAMCOLSEQ", "WINDOWS");
    ApplySetting(tables, "TAMCASE", "WINDOWS");
    ApplySetting(tables, "TAMAMPM", "WINDOWS");
    return 0;
  }
  std::FILE* file = std::fopen(path.c_str(), "rbe");
  if (!file) return kSettingsFileNotFound;
  SettingsReader reader(tables);
  char block[kSettingsBlockSize];
  for (;;) {
    size_t n = std::fread(block, 1, sizeof block, file);
    if (n == 0) break;  // end of file, or a read error ends the file where it stands
    if (!reader.Feed(block, n)) break;
  }
  reader.Finish();
  std::fclose(file);
  return 0;
}

void CompleteLocaleTables(LocaleTables& tables) {
  tables.intl = ReadIntlSettings();
  std::memcpy(tables.windows_am_pm[0], tables.intl.am, kAmPmSize);
  std::memcpy(tables.windows_am_pm[1], tables.intl.pm, kAmPmSize);
  std::string exe = ExecutablePath();
  if (!exe.empty()) LoadSettingsFileInto(tables, EnvironmentPathFor(exe));
}

int LoadSettingsFile(const std::string& path) {
  return LoadSettingsFileInto(MutableLocale(), path);
}

void SetSetting(std::string_view name, std::string_view value) {
  ApplySetting(MutableLocale(), name, value);
}

}  // namespace carelog::values
