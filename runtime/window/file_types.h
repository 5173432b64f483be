// Types of file offered by the save-file dialog, read from a filter text:
//
//   filter  = pair { "|" pair }
//   pair    = description "|" pattern { ";" pattern }
//
// as in "Text files (*.txt)|*.txt|All files|*.*". Patterns are shell patterns matched without
// regard to case; "*.*" matches every name, as "*" does. A pair without patterns is dropped, a
// missing description becomes the patterns' text, and a filter giving no pair offers all files.
#pragma once

#include <string>
#include <vector>

namespace carelog::window {

struct FileType {
  std::string description;
  std::vector<std::string> patterns;
};

std::vector<FileType> ParseFileTypes(const std::string& filter);
bool MatchesType(const FileType& type, const std::string& name);
// The extension a type gives names without one: ".txt" for a type of exactly "*.txt";
// empty for every other type.
std::string DefaultExtension(const FileType& type);

}  // namespace carelog::window
