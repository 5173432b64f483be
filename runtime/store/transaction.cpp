#include "runtime/store/transaction.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <map>
#include <memory>

#include "runtime/store/data_file.h"
#include "runtime/store/redo_log.h"
#include "runtime/store/table_entries.h"
#include "runtime/store/tree.h"

namespace carelog::store {
namespace {

// The state a pending log describes, read without changing the file: the logged header (with
// no log pending) at offset 0 and the logged pages at their own offsets over the file's bytes.
class LoggedStateFile : public File {
 public:
  LoggedStateFile(File& base, const FileHeader& logged, std::map<uint64_t, std::string> pages)
      : base_(base), pages_(std::move(pages)) {
    FileHeader header = logged;
    header.log_start = header.log_end = static_cast<uint32_t>(header.EndOfDataOffset());
    EncodeHeader(header, header_);
  }

  int Read(uint64_t offset, void* buffer, size_t size, size_t* got) override {
    if (offset == 0 && size <= kHeaderSize) {
      std::memcpy(buffer, header_, size);
      *got = size;
      return 0;
    }
    // A logged page covers the start of its slot; the rest of the slot reads as on disk.
    if (int error = base_.Read(offset, buffer, size, got)) return error;
    auto page = pages_.find(offset);
    if (page != pages_.end()) {
      const size_t logged = std::min(size, page->second.size());
      std::memcpy(buffer, page->second.data(), logged);
      *got = std::max(*got, logged);
    }
    return 0;
  }
  int Write(uint64_t, const void*, size_t) override { return EROFS; }
  int Flush() override { return 0; }
  int Size(uint64_t* size) override { return base_.Size(size); }
  int Truncate(uint64_t) override { return EROFS; }
  int Lock(uint64_t, uint64_t, bool) override { return 0; }
  int Unlock(uint64_t, uint64_t) override { return 0; }

 private:
  File& base_;
  std::map<uint64_t, std::string> pages_;
  uint8_t header_[kHeaderSize];
};

// Hands out one LoggedStateFile, borrowed.
class LoggedStateFileSystem : public FileSystem {
 public:
  explicit LoggedStateFileSystem(LoggedStateFile& file) : file_(file) {}
  int Open(const std::string&, FileOpenFlags, std::unique_ptr<File>* file) override {
    *file = std::make_unique<Borrowed>(file_);
    return 0;
  }
  int Remove(const std::string&) override { return EROFS; }

 private:
  class Borrowed : public File {
   public:
    explicit Borrowed(File& f) : f_(f) {}
    int Read(uint64_t o, void* b, size_t s, size_t* g) override { return f_.Read(o, b, s, g); }
    int Write(uint64_t o, const void* b, size_t s) override { return f_.Write(o, b, s); }
    int Flush() override { return f_.Flush(); }
    int Size(uint64_t* s) override { return f_.Size(s); }
    int Truncate(uint64_t s) override { return f_.Truncate(s); }
    int Lock(uint64_t o, uint64_t l, bool w) override { return f_.Lock(o, l, w); }
    int Unlock(uint64_t o, uint64_t l) override { return f_.Unlock(o, l); }

   private:
    File& f_;
  };
  LoggedStateFile& file_;
};

// Whether `transaction` is listed in the control file `name`.
bool ControlFileLists(const std::string& name, uint32_t transaction) {
  DataFileOptions options;
  options.read_only = true;
  options.shared = true;
  std::unique_ptr<DataFile> control;
  if (DataFile::Open(ControlFilePath(name), options, &control) != 0) return false;
  Entry entry;
  bool found = false;
  int error = control->tree().Find(ControlEntryKey(transaction), &entry, &found);
  control->EndAccess();
  return error == 0 && found;
}

}  // namespace

std::string ControlFilePath(std::string_view name) {
  std::string path(name);
  if (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':') {
    path.erase(0, 2);
    while (!path.empty() && (path[0] == '\\' || path[0] == '/')) path.erase(0, 1);
  }
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

std::string EncodeMark(uint32_t transaction, std::string_view control_file) {
  std::string data;
  AppendU32BE(&data, transaction);
  data.append(control_file);
  data.push_back('\0');
  return data;
}

bool DecodeMark(std::string_view data, uint32_t* transaction, std::string* control_file) {
  if (data.size() < 5 || data.back() != '\0') return false;
  const auto* p = reinterpret_cast<const uint8_t*>(data.data());
  *transaction = (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
  control_file->assign(data.substr(4, data.size() - 5));
  return control_file->find('\0') == std::string::npos && !control_file->empty();
}

std::string ControlEntryKey(uint32_t transaction) {
  std::string key;
  AppendU32BE(&key, transaction);
  return key;
}

int PendingLogMayReplay(File& file, const FileHeader& header, bool* replay) {
  *replay = true;
  std::map<uint64_t, std::string> pages;
  FileHeader logged;
  if (int error = ReadRedoLog(file, header, &pages, &logged)) return error;

  LoggedStateFile state(file, logged, std::move(pages));
  LoggedStateFileSystem fs(state);
  DataFileOptions options;
  options.read_only = true;
  // A logged state that cannot be read for its mark carries none: the replay decides.
  std::unique_ptr<DataFile> view;
  if (DataFile::Open("", options, &view, &fs) != 0) return 0;
  Entry mark;
  bool found = false;
  if (view->tree().Find(std::string(1, static_cast<char>(kKindMark)), &mark, &found) != 0) {
    return 0;
  }
  view->EndAccess();
  uint32_t transaction = 0;
  std::string control_file;
  if (!found || !DecodeMark(mark.data(), &transaction, &control_file)) return 0;
  *replay = !ControlFileLists(control_file, transaction);
  return 0;
}

}  // namespace carelog::store
