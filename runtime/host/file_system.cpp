#include "runtime/host/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace carelog::host {
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
