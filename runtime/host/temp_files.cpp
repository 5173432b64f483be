#include "runtime/host/temp_files.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace carelog::host {

std::string CreateTemporaryFile(const std::string& prefix) {
  std::error_code error;
  std::filesystem::path directory = std::filesystem::temp_directory_path(error);
  if (error) directory = "/tmp";
  std::string pattern = (directory / (prefix + "XXXXXX")).string();
  int fd = mkstemp(pattern.data());
  if (fd < 0) return "";
  close(fd);
  return pattern;
}

}  // namespace carelog::host
