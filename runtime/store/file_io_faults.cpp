#include "runtime/store/file_io_faults.h"

#include <cerrno>
#include <cstring>
#include <random>

namespace carelog::store {

// One unflushed change: a write of `bytes` at `offset`, or a truncation to `offset`.
struct FaultFileSystem::Change {
  bool truncate = false;
  uint64_t offset = 0;
  std::string bytes;
};

struct FaultFileSystem::MemFile {
  std::string current;
  std::string durable;
  std::vector<Change> unflushed;
};

namespace {

void Apply(const FaultFileSystem::Change& change, std::string* bytes) {
  if (change.truncate) {
    bytes->resize(change.offset);
    return;
  }
  if (bytes->size() < change.offset + change.bytes.size()) {
    bytes->resize(change.offset + change.bytes.size());
  }
  std::memcpy(bytes->data() + change.offset, change.bytes.data(), change.bytes.size());
}

}  // namespace

class FaultFile : public File {
 public:
  FaultFile(FaultFileSystem* fs, std::shared_ptr<FaultFileSystem::MemFile> file, bool writable)
      : fs_(fs), file_(std::move(file)), writable_(writable) {}

  int Read(uint64_t offset, void* buffer, size_t size, size_t* got) override {
    if (fs_->crashed_) return EIO;
    const std::string& bytes = file_->current;
    size_t n = offset >= bytes.size() ? 0 : std::min<uint64_t>(size, bytes.size() - offset);
    if (n > 0) std::memcpy(buffer, bytes.data() + offset, n);
    *got = n;
    return 0;
  }

  int Write(uint64_t offset, const void* buffer, size_t size) override {
    if (!writable_) return EBADF;
    if (int error = fs_->BeforeWrite()) return error;
    FaultFileSystem::Change change;
    change.offset = offset;
    change.bytes.assign(static_cast<const char*>(buffer), size);
    Apply(change, &file_->current);
    file_->unflushed.push_back(std::move(change));
    return 0;
  }

  int Flush() override {
    if (int error = fs_->BeforeFlush()) return error;
    file_->durable = file_->current;
    file_->unflushed.clear();
    return 0;
  }

  int Size(uint64_t* size) override {
    if (fs_->crashed_) return EIO;
    *size = file_->current.size();
    return 0;
  }

  int Truncate(uint64_t size) override {
    if (!writable_) return EBADF;
    if (int error = fs_->BeforeWrite()) return error;
    FaultFileSystem::Change change;
    change.truncate = true;
    change.offset = size;
    Apply(change, &file_->current);
    file_->unflushed.push_back(std::move(change));
    return 0;
  }

  int Lock(uint64_t, uint64_t, bool) override { return fs_->crashed_ ? EIO : 0; }
  int Unlock(uint64_t, uint64_t) override { return fs_->crashed_ ? EIO : 0; }

 private:
  FaultFileSystem* fs_;
  std::shared_ptr<FaultFileSystem::MemFile> file_;
  bool writable_;
};

int FaultFileSystem::Open(const std::string& path, FileOpenFlags flags,
                          std::unique_ptr<File>* file) {
  if (crashed_) return EIO;
  auto it = files_.find(path);
  if (it == files_.end()) {
    if (!flags.create || !flags.write) return ENOENT;
    it = files_.emplace(path, std::make_shared<MemFile>()).first;
  } else if (flags.create && flags.write && flags.exclusive) {
    return EEXIST;
  }
  *file = std::make_unique<FaultFile>(this, it->second, flags.write);
  return 0;
}

std::vector<std::string> FaultFileSystem::Paths() const {
  std::vector<std::string> paths;
  for (const auto& [path, file] : files_) paths.push_back(path);
  return paths;
}

int FaultFileSystem::Remove(const std::string& path) {
  if (crashed_) return EIO;
  return files_.erase(path) == 1 ? 0 : ENOENT;
}

int FaultFileSystem::BeforeWrite() {
  if (crashed_) return EIO;
  int count = writes_ + flushes_;
  int write = writes_++;
  if (count == crash_at_) {
    crashed_ = true;
    return EIO;
  }
  return write == fail_write_at_ ? EIO : 0;
}

int FaultFileSystem::BeforeFlush() {
  if (crashed_) return EIO;
  int count = writes_ + flushes_;
  int flush = flushes_++;
  if (count == crash_at_) {
    crashed_ = true;
    return EIO;
  }
  return flush == fail_flush_at_ ? EIO : 0;
}

void FaultFileSystem::Restart(CrashMode mode, uint32_t seed) {
  std::mt19937 random(seed);
  for (auto& [path, file] : files_) {
    std::string bytes = file->durable;
    for (const Change& change : file->unflushed) {
      bool keep =
          mode == CrashMode::kKeepUnsynced || (mode == CrashMode::kKeepSome && (random() & 1) != 0);
      if (keep) Apply(change, &bytes);
    }
    file->current = bytes;
    file->durable = std::move(bytes);
    file->unflushed.clear();
  }
  crashed_ = false;
  crash_at_ = -1;
}

std::string* FaultFileSystem::Contents(const std::string& path) {
  auto it = files_.find(path);
  return it == files_.end() ? nullptr : &it->second->current;
}

}  // namespace carelog::store
