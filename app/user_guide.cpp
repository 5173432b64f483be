#include "app/user_guide.h"

#include <filesystem>
#include <fstream>

namespace carelog::app {
namespace {

namespace fs = std::filesystem;

constexpr char kGuidePage[] = "guide/index.html";
constexpr char kSourceKey[] = "CMAKE_HOME_DIRECTORY:INTERNAL=";

// The source directory a build tree was configured from, read from its cache; empty when
// `build` is no build tree.
std::string SourceOfBuildTree(const fs::path& build) {
  std::ifstream cache(build / "CMakeCache.txt");
  for (std::string line; std::getline(cache, line);) {
    if (line.starts_with(kSourceKey)) return line.substr(sizeof kSourceKey - 1);
  }
  return std::string();
}

}  // namespace

std::vector<std::string> UserGuidePlaces(const std::string& executable) {
  if (executable.empty()) return {};
  fs::path prefix = fs::path(executable).parent_path().parent_path();
  std::vector<std::string> places{(prefix / "share/doc/carelog" / kGuidePage).string()};
  std::string source = SourceOfBuildTree(prefix);
  if (!source.empty()) places.push_back((fs::path(source) / "docs" / kGuidePage).string());
  return places;
}

}  // namespace carelog::app
