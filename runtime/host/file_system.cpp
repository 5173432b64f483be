#include "runtime/host/file_system.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace carelog::host {

int File::WriteGathered(uint64_t offset, const WritePiece* pieces, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if (int error = Write(offset, pieces[i].data, pieces[i].size)) return error;
    offset += pieces[i].size;
  }
  return 0;
}

namespace {

int LastError() {
  return errno != 0 ? errno : EIO;
}

class PosixFile : public File {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override { ::close(fd_); }

  int Read(uint64_t offset, void* buffer, size_t size, size_t* got) override {
    size_t done = 0;
    while (done < size) {
      ssize_t n = ::pread(fd_, static_cast<char*>(buffer) + done, size - done,
                          static_cast<off_t>(offset + done));
      if (n < 0) {
        if (errno == EINTR) continue;
        return LastError();
      }
      if (n == 0) break;
      done += static_cast<size_t>(n);
    }
    *got = done;
    return 0;
  }

  int Write(uint64_t offset, const void* buffer, size_t size) override {
    size_t done = 0;
    while (done < size) {
      ssize_t n = ::pwrite(fd_, static_cast<const char*>(buffer) + done, size - done,
                           static_cast<off_t>(offset + done));
      if (n < 0) {
        if (errno == EINTR) continue;
        return LastError();
      }
      done += static_cast<size_t>(n);
    }
    return 0;
  }

  // Up to IOV_MAX pieces per pwritev; a short write finishes piece by piece.
  int WriteGathered(uint64_t offset, const WritePiece* pieces, size_t count) override {
    std::vector<iovec> vectors;
    while (count > 0) {
      const size_t batch = std::min<size_t>(count, IOV_MAX);
      vectors.resize(batch);
      size_t total = 0;
      for (size_t i = 0; i < batch; ++i) {
        vectors[i] = iovec{const_cast<void*>(pieces[i].data), pieces[i].size};
        total += pieces[i].size;
      }
      ssize_t n =
          ::pwritev(fd_, vectors.data(), static_cast<int>(batch), static_cast<off_t>(offset));
      if (n < 0 && errno != EINTR) return LastError();
      size_t done = n > 0 ? static_cast<size_t>(n) : 0;
      if (done < total) {
        // Finish the batch with plain writes from where the system stopped.
        size_t skip = done;
        for (size_t i = 0; i < batch; ++i) {
          const size_t size = pieces[i].size;
          if (skip >= size) {
            skip -= size;
            continue;
          }
          const char* data = static_cast<const char*>(pieces[i].data) + skip;
          if (int error = Write(offset + done, data, size - skip)) return error;
          done += size - skip;
          skip = 0;
        }
      }
      offset += total;
      pieces += batch;
      count -= batch;
    }
    return 0;
  }

  int Flush() override { return ::fdatasync(fd_) == 0 ? 0 : LastError(); }

  int Size(uint64_t* size) override {
    struct stat st;
    if (::fstat(fd_, &st) != 0) return LastError();
    *size = static_cast<uint64_t>(st.st_size);
    return 0;
  }

  int Truncate(uint64_t size) override {
    return ::ftruncate(fd_, static_cast<off_t>(size)) == 0 ? 0 : LastError();
  }

  int Lock(uint64_t offset, uint64_t length, bool wait) override {
    return SetLock(F_WRLCK, offset, length, wait ? F_OFD_SETLKW : F_OFD_SETLK);
  }

  int Unlock(uint64_t offset, uint64_t length) override {
    return SetLock(F_UNLCK, offset, length, F_OFD_SETLK);
  }

 private:
  int SetLock(short type, uint64_t offset, uint64_t length, int command) {
    struct flock lock = {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = static_cast<off_t>(offset);
    lock.l_len = static_cast<off_t>(length);
    lock.l_pid = 0;  // required for OFD locks
    while (::fcntl(fd_, command, &lock) != 0) {
      if (errno == EINTR) continue;
      return (errno == EACCES || errno == EAGAIN) ? EAGAIN : LastError();
    }
    return 0;
  }

  int fd_;
};

class PosixFileSystem : public FileSystem {
 public:
  int Open(const std::string& path, FileOpenFlags flags, std::unique_ptr<File>* file) override {
    int mode = flags.write ? O_RDWR : O_RDONLY;
    if (flags.create && flags.write) mode |= O_CREAT;
    if (flags.create && flags.write && flags.exclusive) mode |= O_EXCL;
    int fd;
    do {
      fd = ::open(path.c_str(), mode | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return LastError();
    *file = std::make_unique<PosixFile>(fd);
    return 0;
  }

  int Remove(const std::string& path) override {
    return ::unlink(path.c_str()) == 0 ? 0 : LastError();
  }
};

}  // namespace

FileSystem& FileSystem::Posix() {
  static PosixFileSystem* posix = new PosixFileSystem;
  return *posix;
}

}  // namespace carelog::host
