// Files of the operating system behind one small interface: File reads, writes, flushes and
// locks one open file; FileSystem opens and removes files by path. The record store does all its
// file work through these (as store::File and store::FileSystem), so that its tests can put a
// fault-injecting file system in place of the real one.
//
// Result style: every operation returns 0 on success or a positive errno-style code (the
// operating system's error number); nothing throws. A short read is not an error: Read reports
// the number of bytes it got.
//
// Locks are exclusive byte-range locks owned by the open file description (Linux OFD locks), so
// closing another descriptor of the same file never drops them. A lock that is refused without
// waiting returns EAGAIN.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace carelog::host {

// One piece of a gathered write (File::WriteGathered).
struct WritePiece {
  const void* data;
  size_t size;
};

class File {
 public:
  virtual ~File() = default;

  // Reads up to `size` bytes at `offset` into `buffer`; *got receives the count (0 at the end).
  virtual int Read(uint64_t offset, void* buffer, size_t size, size_t* got) = 0;
  // Writes all `size` bytes at `offset`, extending the file when needed.
  virtual int Write(uint64_t offset, const void* buffer, size_t size) = 0;
  // Writes `count` pieces back to back from `offset`, as that many Writes in turn would; the
  // operating system's files do it in as few system calls as it allows.
  virtual int WriteGathered(uint64_t offset, const WritePiece* pieces, size_t count);
  // Makes every earlier write durable (fdatasync).
  virtual int Flush() = 0;
  virtual int Size(uint64_t* size) = 0;
  virtual int Truncate(uint64_t size) = 0;
  // Exclusive lock on [offset, offset + length); `wait` blocks until granted, else EAGAIN.
  virtual int Lock(uint64_t offset, uint64_t length, bool wait) = 0;
  virtual int Unlock(uint64_t offset, uint64_t length) = 0;
};

struct FileOpenFlags {
  bool write = false;      // open for reading and writing (else read only)
  bool create = false;     // create the file when it does not exist (needs write)
  bool exclusive = false;  // with create: EEXIST when the file already exists
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Opens `path`; ENOENT when it does not exist and `flags.create` is false.
  virtual int Open(const std::string& path, FileOpenFlags flags, std::unique_ptr<File>* file) = 0;
  virtual int Remove(const std::string& path) = 0;

  // The operating system's files (POSIX, pread/pwrite, fdatasync, OFD locks). Never destroyed.
  static FileSystem& Posix();
};

}  // namespace carelog::host
