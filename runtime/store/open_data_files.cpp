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

// One table's hold on an open data file: letting it go takes the opener's mode off the file.
struct Hold {
  std::shared_ptr<DataFile> file;
  DataFileOptions options;
  ~Hold() {
    if (file == nullptr) return;
    std::lock_guard<std::mutex> lock(RegistryMutex());
    file->Leave(options);
  }
};

std::shared_ptr<DataFile> NewHold(std::shared_ptr<DataFile> file, const DataFileOptions& options) {
  DataFile* raw = file.get();
  auto hold = std::make_shared<Hold>();
  hold->file = std::move(file);
  hold->options = options;
  return std::shared_ptr<DataFile>(std::move(hold), raw);
}

}  // namespace

int AcquireDataFile(const std::string& path, const DataFileOptions& options,
                    std::shared_ptr<DataFile>* file) {
  std::shared_ptr<DataFile> held;
  {
    std::lock_guard<std::mutex> lock(RegistryMutex());
    if (std::shared_ptr<DataFile> open = Find(path)) {
      if (int rc = open->Join(options)) return rc;
      held = NewHold(std::move(open), options);
    } else {
      std::unique_ptr<DataFile> opened;
      if (int rc = DataFile::Open(path, options, &opened)) return rc;
      std::shared_ptr<DataFile> shared(std::move(opened));
      Registry().push_back(OpenFile{path, shared});
      held = NewHold(std::move(shared), options);
    }
  }
  // Outside the registry's lock: the hold this replaces may be the last on its file.
  *file = std::move(held);
  return 0;
}

bool DataFileInUse(const std::string& path) {
  std::lock_guard<std::mutex> lock(RegistryMutex());
  return Find(path) != nullptr;
}

}  // namespace carelog::store
