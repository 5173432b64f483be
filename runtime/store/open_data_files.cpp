#include "runtime/store/open_data_files.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "runtime/values/locale.h"

namespace carelog::store {
namespace {

struct OpenFile {
  std::string path;
  std::weak_ptr<DataFile> file;
};

std::mutex& RegistryMutex() {
  static std::mutex mutex;
  return mutex;
}

std::vector<OpenFile>& Registry() {
  static std::vector<OpenFile> files;
  return files;
}

bool SamePath(const std::string& a, const std::string& b) {
  return values::CompareCollated(a.data(), a.size(), b.data(), b.size()) == 0;
}

// The live entry for `path`; drops entries whose file has been closed. REQUIRES: lock held.
std::shared_ptr<DataFile> Find(const std::string& path) {
  auto& files = Registry();
  files.erase(std::remove_if(files.begin(), files.end(),
                             [](const OpenFile& f) { return f.file.expired(); }),
              files.end());
  for (const OpenFile& f : files) {
    if (SamePath(f.path, path)) return f.file.lock();
  }
  return nullptr;
}

}  // namespace

int AcquireDataFile(const std::string& path, const DataFileOptions& options,
                    std::shared_ptr<DataFile>* file) {
  std::lock_guard<std::mutex> lock(RegistryMutex());
  if (std::shared_ptr<DataFile> open = Find(path)) {
    *file = std::move(open);
    return 0;
  }
  std::unique_ptr<DataFile> opened;
  int rc = DataFile::Open(path, options, &opened);
  if (rc != 0) return rc;
  std::shared_ptr<DataFile> shared(std::move(opened));
  Registry().push_back(OpenFile{path, shared});
  *file = std::move(shared);
  return 0;
}

bool DataFileInUse(const std::string& path) {
  std::lock_guard<std::mutex> lock(RegistryMutex());
  return Find(path) != nullptr;
}

}  // namespace carelog::store
