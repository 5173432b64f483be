#include "runtime/store/redo_log.h"

#include <algorithm>
#include <cerrno>
#include <map>

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
  for (const PageImage& page : pages) {
    if (page.offset < old_end) {
      if (int error = file.Write(log->end, page.bytes.data(), page.bytes.size())) return error;
      log->end += page.bytes.size();
      log->logged.push_back(&page);
    } else if (int error = file.Write(page.offset, page.bytes.data(), page.bytes.size())) {
      return error;
    }
  }
  // The log, like the data, stays below the byte-range lock area at 2^31.
  if (log->end + kHeaderSize > kLockAreaStart) return EFBIG;
  new_header->log_start = static_cast<uint32_t>(log->start);
  new_header->log_end = static_cast<uint32_t>(log->end + kHeaderSize);
  if (int error = WriteHeader(file, *new_header, log->end)) return error;
  log->end += kHeaderSize;

  if (int error = file.Flush()) return error;
  FileHeader pointing = old_header;
  pointing.log_start = new_header->log_start;
  pointing.log_end = new_header->log_end;
  if (int error = WriteHeader(file, pointing, 0)) return error;
  return file.Flush();
}

int ApplyRedoLog(File& file, const RedoLog& log, FileHeader* new_header) {
  for (const PageImage* page : log.logged) {
    if (int error = file.Write(page->offset, page->bytes.data(), page->bytes.size())) return error;
  }
  if (int error = WriteHeader(file, *new_header, 0)) return error;
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
