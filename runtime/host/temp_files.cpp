#include "runtime/host/temp_files.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace carelog::host {

namespace {

// Creates the file and returns its open descriptor, or -1.
int OpenTemporaryFile(const std::string& prefix, std::string* path) {
  std::error_code error;
  std::filesystem::path directory = std::filesystem::temp_directory_path(error);
  if (error) directory = "/tmp";
  std::string pattern = (directory / (prefix + "XXXXXX")).string();
  int fd = mkostemp(pattern.data(), O_CLOEXEC);
  path->clear();
  if (fd >= 0) *path = pattern;
  return fd;
}

bool WriteAll(int fd, std::span<const uint8_t> bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

std::string CreateTemporaryFile(const std::string& prefix) {
  std::string path;
  int fd = OpenTemporaryFile(prefix, &path);
  if (fd < 0) return "";
  close(fd);
  return path;
}

bool WriteTemporaryFile(const std::string& prefix, std::span<const uint8_t> bytes,
                        std::string* path) {
  int fd = OpenTemporaryFile(prefix, path);
  if (fd < 0) return false;
  bool written = WriteAll(fd, bytes);
  if (close(fd) != 0) written = false;
  if (!written) std::remove(path->c_str());
  return written;
}

}  // namespace carelog::host
