#include "runtime/store/redo_log.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <string_view>
#include <vector>

#include "runtime/store/coding.h"
#include "runtime/store/data_file.h"
#include "runtime/store/page_codec.h"

namespace carelog::store {
namespace {

constexpr uint64_t kLockAreaStart = 0x80000000;

int WriteHeader(File& file, const FileHeader& header, uint64_t offset) {
  uint8_t bytes[kHeaderSize];
  EncodeHeader(header, bytes);
  return file.Write(offset, bytes, kHeaderSize);
}

// The writes between two flushes, in any order: sorted by offset, each run of adjacent pieces
// goes out in one gathered write. The bytes must stay in place until Write.
class WriteBatch {
 public:
  void Add(uint64_t offset, std::string_view bytes) { pieces_.push_back({offset, bytes}); }

  int Write(File& file) {
    std::sort(pieces_.begin(), pieces_.end(),
              [](const Piece& a, const Piece& b) { return a.offset < b.offset; });
    std::vector<WritePiece> run;
    for (size_t i = 0; i < pieces_.size();) {
      const uint64_t start = pieces_[i].offset;
      uint64_t end = start;
      run.clear();
      for (; i < pieces_.size() && pieces_[i].offset == end; ++i) {
        run.push_back({pieces_[i].bytes.data(), pieces_[i].bytes.size()});
        end += pieces_[i].bytes.size();
      }
      if (int error = file.WriteGathered(start, run.data(), run.size())) return error;
    }
    pieces_.clear();
    return 0;
  }

 private:
  struct Piece {
    uint64_t offset;
    std::string_view bytes;
  };
  std::vector<Piece> pieces_;
};

std::string_view View(const uint8_t* bytes, size_t size) {
  return {reinterpret_cast<const char*>(bytes), size};
}

int ReadExactly(File& file, uint64_t offset, size_t size, std::string* out) {
  out->resize(size);
  size_t got = 0;
  if (int error = file.Read(offset, out->data(), size, &got)) return error;
  return got == size ? 0 : kErrInvalidDataFile;
}

}  // namespace

int WriteRedoLog(File& file, const FileHeader& old_header, FileHeader* new_header,
                 const std::vector<PageImage>& pages, RedoLog* log) {
  // A file never committed to may have no header on disk yet. Pages go straight past the old end
  // of data, so without a valid header first a crash would leave them behind 512 zero bytes,
  // which no opener can tell from a damaged file.
  if (old_header.change_counter == 0) {
    FileHeader empty;
    if (int error = WriteHeader(file, empty, 0)) return error;
    if (int error = file.Flush()) return error;
  }
  uint64_t old_end = old_header.EndOfDataOffset();
  log->start = std::max(new_header->EndOfDataOffset(), old_end);
  log->end = log->start;
  log->logged.clear();
  WriteBatch batch;
  for (const PageImage& page : pages) {
    if (page.offset < old_end) {
      batch.Add(log->end, page.bytes);
      log->end += page.bytes.size();
      log->logged.push_back(&page);
    } else {
      batch.Add(page.offset, page.bytes);
    }
  }
  // The log, like the data, stays below the byte-range lock area at 2^31.
  if (log->end + kHeaderSize > kLockAreaStart) return EFBIG;
  new_header->log_start = static_cast<uint32_t>(log->start);
  new_header->log_end = static_cast<uint32_t>(log->end + kHeaderSize);
  uint8_t logged_header[kHeaderSize];
  EncodeHeader(*new_header, logged_header);
  batch.Add(log->end, View(logged_header, kHeaderSize));
  log->end += kHeaderSize;
  if (int error = batch.Write(file)) return error;

  if (int error = file.Flush()) return error;
  FileHeader pointing = old_header;
  pointing.log_start = new_header->log_start;
  pointing.log_end = new_header->log_end;
  if (int error = WriteHeader(file, pointing, 0)) return error;
  return file.Flush();
}

int ApplyRedoLog(File& file, const RedoLog& log, FileHeader* new_header) {
  WriteBatch batch;
  for (const PageImage* page : log.logged) batch.Add(page->offset, page->bytes);
  uint8_t header[kHeaderSize];
  EncodeHeader(*new_header, header);
  batch.Add(0, View(header, kHeaderSize));
  if (int error = batch.Write(file)) return error;
  if (int error = file.Flush()) return error;
  new_header->log_start = new_header->log_end =
      static_cast<uint32_t>(new_header->EndOfDataOffset());
  if (int error = WriteHeader(file, *new_header, 0)) return error;
  return file.Flush();
}

int ReadRedoLog(File& file, const FileHeader& header, std::map<uint64_t, std::string>* pages,
                FileHeader* logged_header) {
  uint64_t size = 0;
  if (int error = file.Size(&size)) return error;
  if (header.log_end > size) return kErrInvalidDataFile;

  bool have_header = false;
  uint64_t pos = header.log_start;
  while (pos < header.log_end) {
    if (header.log_end - pos < kUnitSize) return kErrInvalidDataFile;
    std::string bytes;
    if (int error = ReadExactly(file, pos, kUnitSize, &bytes)) return error;
    const uint8_t* p = reinterpret_cast<const uint8_t*>(bytes.data());
    uint32_t own_offset = LoadLe32(p);
    uint16_t stored = LoadLe16(p + 4);
    size_t units = static_cast<size_t>(UnitsFor(stored));
    if (stored < kPageHeaderSize || stored > kLargestPage ||
        header.log_end - pos < units * kUnitSize) {
      return kErrInvalidDataFile;
    }
    if (int error = ReadExactly(file, pos, units * kUnitSize, &bytes)) return error;
    if (own_offset == 0) {
      if (stored != kHeaderSize ||
          !DecodeHeader(reinterpret_cast<const uint8_t*>(bytes.data()), logged_header)) {
        return kErrInvalidDataFile;
      }
      have_header = true;
    } else {
      // Only pages below the old end of data are ever logged, and the log starts at or past
      // it: a page reaching into the log itself is damage, and writing it back would grow the
      // file to wherever the damaged offset points.
      if (own_offset < kHeaderSize || (own_offset - kHeaderSize) % kUnitSize != 0 ||
          own_offset + units * kUnitSize > header.log_start) {
        return kErrInvalidDataFile;
      }
      (*pages)[own_offset] = std::move(bytes);
    }
    pos += units * kUnitSize;
  }
  return have_header ? 0 : kErrInvalidDataFile;
}

int DropRedoLog(File& file, FileHeader* header) {
  header->log_start = header->log_end = static_cast<uint32_t>(header->EndOfDataOffset());
  if (int error = WriteHeader(file, *header, 0)) return error;
  return file.Flush();
}

int ReplayRedoLog(File& file, FileHeader* header) {
  std::map<uint64_t, std::string> pages;
  FileHeader logged_header;
  if (int error = ReadRedoLog(file, *header, &pages, &logged_header)) return error;

  for (const auto& [offset, bytes] : pages) {
    if (int error = file.Write(offset, bytes.data(), bytes.size())) return error;
  }
  if (int error = file.Flush()) return error;
  logged_header.log_start = logged_header.log_end =
      static_cast<uint32_t>(logged_header.EndOfDataOffset());
  if (int error = WriteHeader(file, logged_header, 0)) return error;
  if (int error = file.Flush()) return error;
  *header = logged_header;
  return 0;
}

}  // namespace carelog::store
