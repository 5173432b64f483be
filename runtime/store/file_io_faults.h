// An in-memory FileSystem for tests of crash safety and error handling.
//
// Every file keeps its current bytes (what reads see) and its durable bytes (what survives a
// crash), plus the writes made since its last flush. Writes and flushes are counted across all
// files; a chosen write or flush can be made to fail with EIO, or the whole file system can
// "crash" at a chosen operation: that operation and every later one fail with EIO until Restart,
// which rebuilds each file from its durable bytes and, by the mode, none, all or a random subset
// of the unflushed writes (in their order).
//
// Locks always succeed: the in-memory files serve one process.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "runtime/store/file_io.h"

namespace carelog::store {

class FaultFileSystem : public FileSystem {
 public:
  enum class CrashMode { kDropUnsynced, kKeepUnsynced, kKeepSome };

  int Open(const std::string& path, FileOpenFlags flags, std::unique_ptr<File>* file) override;
  int Remove(const std::string& path) override;

  // Writes and flushes (together: operations) counted since construction or ResetCounts.
  int write_count() const { return writes_; }
  int flush_count() const { return flushes_; }
  int operation_count() const { return writes_ + flushes_; }
  void ResetCounts() { writes_ = flushes_ = 0; }

  // The write (flush) with this 0-based count fails with EIO; -1 disarms.
  void FailWriteAt(int n) { fail_write_at_ = n; }
  void FailFlushAt(int n) { fail_flush_at_ = n; }
  // The operation with this 0-based count and every later one fail; -1 disarms.
  void CrashAtOperation(int n) { crash_at_ = n; }
  bool crashed() const { return crashed_; }

  // Ends a crash (or simulates one now): every file loses what the mode says of its unflushed
  // writes. REQUIRES: no File of this file system is used afterwards.
  void Restart(CrashMode mode, uint32_t seed = 0);

  // The current bytes of a file (nullptr when it does not exist), for tests to inspect or damage.
  std::string* Contents(const std::string& path);
  // The paths of every existing file, in order.
  std::vector<std::string> Paths() const;

  struct Change;
  struct MemFile;

 private:
  friend class FaultFile;
  int BeforeWrite();
  int BeforeFlush();

  std::map<std::string, std::shared_ptr<MemFile>> files_;
  int writes_ = 0;
  int flushes_ = 0;
  int fail_write_at_ = -1;
  int fail_flush_at_ = -1;
  int crash_at_ = -1;
  bool crashed_ = false;
};

}  // namespace carelog::store
