#include "runtime/window/file_types.h"

#include <fnmatch.h>

namespace carelog::window {
namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

std::string Trim(const std::string& text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::vector<FileType> ParseFileTypes(const std::string& filter) {
  std::vector<FileType> types;
  std::vector<std::string> parts = Split(filter, '|');
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    FileType type{Trim(parts[i]), {}};
    for (const std::string& pattern : Split(parts[i + 1], ';')) {
      if (!Trim(pattern).empty()) type.patterns.push_back(Trim(pattern));
    }
    if (type.patterns.empty()) continue;
    if (type.description.empty()) type.description = parts[i + 1];
    types.push_back(std::move(type));
  }
  if (types.empty()) types.push_back(FileType{"All files (*.*)", {"*.*"}});
  return types;
}

bool MatchesType(const FileType& type, const std::string& name) {
  for (const std::string& pattern : type.patterns) {
    if (pattern == "*.*" || pattern == "*") return true;
    if (fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD | FNM_PERIOD) == 0) return true;
  }
  return false;
}

// The extension a type gives names without one: ".txt" for a type of exactly "*.txt".
std::string DefaultExtension(const FileType& type) {
  if (type.patterns.size() != 1) return std::string();
  const std::string& p = type.patterns.front();
  if (p.size() < 3 || p.compare(0, 2, "*.") != 0) return std::string();
  std::string ext = p.substr(1);
  return ext.find_first_of("*?[") == std::string::npos ? ext : std::string();
}

}  // namespace carelog::window
