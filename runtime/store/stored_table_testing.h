// Test support for the stored tables: a scratch directory and a small declared file with one
// key of every kind, reached through the real file statements.
//
//   offset  field          type       keys
//   0       NUMBER         LONG       K_NUMBER (unique), K_CITY (2nd component)
//   4       NAME           STRING 12  K_NAME (DUP, NOCASE), K_PLACE (2nd component)
//   16      CITY           STRING 8   K_CITY (DUP, descending), K_PLACE (unique)
//   24      AMOUNT         REAL       K_AMOUNT (DUP)
//   32      CODE           SHORT      K_CODE (OPT, DUP)
//   memo NOTES, 600 bytes
#pragma once

#include <dirent.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <string>

#include "runtime/store/file_statements.h"
#include "runtime/store/stored_tables.h"
#include "runtime/store/test_file_builder.h"

namespace carelog::store::testing {

// A fresh directory, removed with its files at the end of the test.
class ScratchDir {
 public:
  ScratchDir() {
    char pattern[] = "/tmp/carelog-tables-XXXXXX";
    path_ = mkdtemp(pattern);
    RegisterTableOps(&StoredTables());
  }
  ~ScratchDir() {
    if (DIR* dir = opendir(path_.c_str())) {
      while (dirent* e = readdir(dir)) {
        std::string name = e->d_name;
        if (name != "." && name != "..") unlink((path_ + "/" + name).c_str());
      }
      closedir(dir);
    }
    rmdir(path_.c_str());
  }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  bool Exists(const std::string& name) const { return access(File(name).c_str(), F_OK) == 0; }

 private:
  std::string path_;
};

inline constexpr uint32_t kSampleRecordSize = 34;

struct SampleRecord {
  int32_t number = 0;
  std::string name;
  std::string city;
  double amount = 0;
  int16_t code = 0;
};

class SampleFile {
 public:
  explicit SampleFile(const std::string& name, uint8_t attributes = kFileAttrCreate)
      : file(name, kSampleRecordSize, Layout(), attributes) {
    k_number = &file.AddKey("K_NUMBER", {1});
    k_name = &file.AddKey("K_NAME", {2}, kKeyDup | kKeyNoCase);
    k_city = &file.AddKey("K_CITY", {-3, 1}, kKeyDup);
    k_place = &file.AddKey("K_PLACE", {3, 2});
    k_amount = &file.AddKey("K_AMOUNT", {4}, kKeyDup);
    k_code = &file.AddKey("K_CODE", {5}, kKeyDup | kKeyOpt);
    notes = &file.AddMemo("NOTES", 600);
  }

  static std::vector<uint8_t> Layout() {
    LayoutBytes l;
    l.Start(0)
        .Field("NUMBER", kTypeLong)
        .Link(4)
        .String("NAME", 12)
        .Link(16)
        .String("CITY", 8)
        .Link(24)
        .Field("AMOUNT", kTypeReal)
        .Link(32)
        .Field("CODE", kTypeShort)
        .End();
    return l.bytes;
  }

  void Fill(const SampleRecord& r) {
    uint8_t* b = file.buffer();
    std::memcpy(b, &r.number, 4);
    Text(b + 4, 12, r.name);
    Text(b + 16, 8, r.city);
    std::memcpy(b + 24, &r.amount, 8);
    std::memcpy(b + 32, &r.code, 2);
  }

  SampleRecord Current() {
    const uint8_t* b = file.buffer();
    SampleRecord r;
    std::memcpy(&r.number, b, 4);
    r.name = Trimmed(b + 4, 12);
    r.city = Trimmed(b + 16, 8);
    std::memcpy(&r.amount, b + 24, 8);
    std::memcpy(&r.code, b + 32, 2);
    return r;
  }

  int32_t number() {
    int32_t n;
    std::memcpy(&n, file.buffer(), 4);
    return n;
  }

  // The NOTES memo buffer published by the driver (null before the first operation).
  char* notes_buffer() { return notes->buffer; }

  static void Text(uint8_t* at, size_t size, const std::string& text) {
    std::memset(at, ' ', size);
    std::memcpy(at, text.data(), std::min(size, text.size()));
  }
  static std::string Trimmed(const uint8_t* at, size_t size) {
    std::string s(reinterpret_cast<const char*>(at), size);
    return s.substr(0, s.find_last_not_of(' ') + 1);
  }

  TestFile file;
  KeyDeclaration* k_number;
  KeyDeclaration* k_name;
  KeyDeclaration* k_city;
  KeyDeclaration* k_place;
  KeyDeclaration* k_amount;
  KeyDeclaration* k_code;
  MemoDeclaration* notes;
};

}  // namespace carelog::store::testing
