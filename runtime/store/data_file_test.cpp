#include "runtime/store/data_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <map>
#include <random>
#include <stdexcept>
#include <string>

#include "runtime/store/data_file_check.h"
#include "runtime/store/data_file_impl.h"
#include "runtime/store/file_io_faults.h"
#include "runtime/store/internal_error.h"
#include "runtime/store/page_codec.h"
#include "runtime/store/regions.h"
#include "runtime/store/tree.h"

namespace carelog::store {
namespace {

using Model = std::map<std::string, std::string>;
const char kPath[] = "d.lds";

std::unique_ptr<DataFile> OpenFile(FaultFileSystem& fs, int* error = nullptr) {
  DataFileOptions options;
  options.create = true;
  std::unique_ptr<DataFile> file;
  int result = DataFile::Open(kPath, options, &file, &fs);
  if (error != nullptr) *error = result;
  return file;
}

// Reads every entry, or returns false on an error.
bool ReadAll(DataFile& file, Model* model) {
  model->clear();
  Cursor cursor(file);
  bool found = false;
  if (cursor.First(&found) != 0) return false;
  while (found) {
    (*model)[std::string(cursor.key())] = std::string(cursor.data());
    if (cursor.Next(&found) != 0) return false;
  }
  return file.EndAccess() == 0;
}

std::string Key(int n) {
  return "key" + std::to_string(n * 7919 % 100003);
}

// A first state, then a change touching many pages: inserts that split pages, growing entries
// that move pages to larger size classes, and erasures that free pages.
void WriteFirstState(DataFile& file, Model* model) {
  for (int i = 0; i < 400; ++i) {
    std::string data(40 + i % 50, static_cast<char>('a' + i % 26));
    ASSERT_EQ(file.tree().Put(Key(i), data), 0);
    (*model)[Key(i)] = data;
  }
  ASSERT_EQ(file.EndAccess(), 0);
}

void MakeChange(DataFile& file, Model* model) {
  for (int i = 400; i < 600; ++i) {
    ASSERT_EQ(file.tree().Put(Key(i), "new"), 0);
    (*model)[Key(i)] = "new";
  }
  for (int i = 0; i < 400; i += 3) {
    std::string data(300, static_cast<char>(i));
    ASSERT_EQ(file.tree().Put(Key(i), data), 0);
    (*model)[Key(i)] = data;
  }
  for (int i = 100; i < 250; ++i) {
    ASSERT_EQ(file.tree().Erase(Key(i)), 0);
    model->erase(Key(i));
  }
  uint32_t number = 0;
  ASSERT_EQ(file.NewNumber(&number), 0);
}

void ExpectSound(DataFile& file) {
  std::vector<CheckFault> faults;
  CheckSummary summary;
  ASSERT_EQ(CheckDataFile(file, &faults, &summary), 0);
  for (const CheckFault& fault : faults) ADD_FAILURE() << fault.page << ": " << fault.text;
}

TEST(DataFileTest, NewFileIsEmptyAndCountsChanges) {
  FaultFileSystem fs;
  auto file = OpenFile(fs);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->change_counter(), 0u);
  EXPECT_EQ(fs.Contents(kPath)->size(), 0u);  // nothing written until a change
  uint32_t number = 0;
  ASSERT_EQ(file->NewNumber(&number), 0);
  EXPECT_EQ(number, 1u);
  ASSERT_EQ(file->NewNumber(&number), 0);
  EXPECT_EQ(number, 2u);
  ASSERT_EQ(file->EndAccess(), 0);
  EXPECT_EQ(file->change_counter(), 1u);
  // The counter is stored big-endian at offset 20.
  EXPECT_EQ(fs.Contents(kPath)->substr(20, 4), std::string("\0\0\0\2", 4));
  ASSERT_EQ(file->tree().Put("a", "b"), 0);
  ASSERT_EQ(file->EndAccess(), 0);
  EXPECT_EQ(file->change_counter(), 2u);
  file = OpenFile(fs);
  ASSERT_EQ(file->LastNumber(&number), 0);
  EXPECT_EQ(number, 2u);
  ExpectSound(*file);
}

// Every page slot of the committed file holds exactly the serialization of the page it decodes
// to, at its own offset: pages written again from their kept image after only moving, and inner
// pages whose child numbers were mended in the image, match a fresh coding byte for byte.
void ExpectPagesAsCoded(FaultFileSystem& fs) {
  const std::string& bytes = *fs.Contents(kPath);
  FileHeader header;
  ASSERT_TRUE(DecodeHeader(reinterpret_cast<const uint8_t*>(bytes.data()), &header));
  for (int c = 1; c <= kLargestClass; ++c) {
    for (int32_t n = header.regions.start[c]; n < header.regions.end[c]; n += c) {
      std::string_view stored(bytes.data() + PageOffset(n), static_cast<size_t>(c) * kUnitSize);
      std::unique_ptr<Page> page;
      ASSERT_TRUE(DecodePage(stored, n, &page)) << "page " << n;
      std::string coded;
      SerializePage(*page, &coded);
      SetPageOffset(&coded, n);
      ASSERT_EQ(coded, stored) << "page " << n;
    }
  }
}

TEST(DataFileTest, SmallCommitsThatMovePagesWriteEachPageAsCoded) {
  FaultFileSystem fs;
  auto file = OpenFile(fs);
  Model model;
  WriteFirstState(*file, &model);
  // Growing one entry at a time moves its leaf up a size class now and then, which slides the
  // regions above it: most commits move pages whose content did not change.
  std::mt19937 rng(7);
  for (int round = 0; round < 120; ++round) {
    const std::string key = Key(static_cast<int>(rng() % 400));
    std::string& data = model[key];
    data.append(40 + rng() % 60, static_cast<char>('A' + round % 26));
    if (data.size() > 2000) data.resize(10);
    ASSERT_EQ(file->tree().Put(key, data), 0);
    ASSERT_EQ(file->EndAccess(), 0);
    ExpectPagesAsCoded(fs);
    if (HasFatalFailure()) return;
  }
  ExpectSound(*file);
  auto reopened = OpenFile(fs);
  Model seen;
  ASSERT_TRUE(ReadAll(*reopened, &seen));
  EXPECT_EQ(seen, model);
}

TEST(DataFileTest, ReadOnlyFileRefusesChanges) {
  FaultFileSystem fs;
  OpenFile(fs)->tree().Put("a", "b");
  DataFileOptions options;
  options.read_only = true;
  std::unique_ptr<DataFile> file;
  ASSERT_EQ(DataFile::Open(kPath, options, &file, &fs), 0);
  EXPECT_EQ(file->tree().Put("c", "d"), kErrAccessDenied);
  uint32_t number = 0;
  EXPECT_EQ(file->NewNumber(&number), kErrAccessDenied);
  std::unique_ptr<DataFile> missing;
  EXPECT_EQ(DataFile::Open("missing.lds", options, &missing, &fs), ENOENT);
}

TEST(DataFileTest, AbandonedCycleLeavesNoTrace) {
  FaultFileSystem fs;
  auto file = OpenFile(fs);
  Model before;
  WriteFirstState(*file, &before);
  Model after = before;
  MakeChange(*file, &after);
  file->AbandonAccess();
  Model seen;
  ASSERT_TRUE(ReadAll(*file, &seen));
  EXPECT_EQ(seen, before);
}

TEST(DataFileTest, FailedWriteOrFlushKeepsTheOldStateAndTheFileUsable) {
  for (int fail_flush = 0; fail_flush < 2; ++fail_flush) {
    FaultFileSystem fs;
    auto file = OpenFile(fs);
    Model before;
    WriteFirstState(*file, &before);
    Model after = before;
    MakeChange(*file, &after);
    fs.ResetCounts();
    if (fail_flush) {
      fs.FailFlushAt(0);
    } else {
      fs.FailWriteAt(3);
    }
    EXPECT_EQ(file->EndAccess(), EIO);
    Model seen;
    ASSERT_TRUE(ReadAll(*file, &seen));
    EXPECT_EQ(seen, before);
    // The same change succeeds once the disk works again.
    fs.FailWriteAt(-1);
    fs.FailFlushAt(-1);
    Model again = before;
    MakeChange(*file, &again);
    ASSERT_EQ(file->EndAccess(), 0);
    file = OpenFile(fs);
    ASSERT_TRUE(ReadAll(*file, &seen));
    EXPECT_EQ(seen, after);
    ExpectSound(*file);
  }
}

// A crash at each write and flush of a commit in turn, losing all, none or some of the writes not
// yet flushed: the next opener sees the state before or after the commit, never a mix.
TEST(DataFileTest, CrashAtEveryStepOfACommitLeavesOneState) {
  using Mode = FaultFileSystem::CrashMode;
  int operations = 0;
  {
    FaultFileSystem fs;
    auto file = OpenFile(fs);
    Model before, after;
    WriteFirstState(*file, &before);
    MakeChange(*file, &after);
    fs.ResetCounts();
    ASSERT_EQ(file->EndAccess(), 0);
    operations = fs.operation_count();
  }
  ASSERT_GT(operations, 10);
  int saw_before = 0, saw_after = 0;
  for (int crash_at = 0; crash_at <= operations; ++crash_at) {
    for (Mode mode : {Mode::kDropUnsynced, Mode::kKeepUnsynced, Mode::kKeepSome}) {
      FaultFileSystem fs;
      auto file = OpenFile(fs);
      Model before;
      WriteFirstState(*file, &before);
      Model after = before;
      MakeChange(*file, &after);
      fs.ResetCounts();
      fs.CrashAtOperation(crash_at);
      int error = file->EndAccess();
      bool reported_done = error == 0;
      file.reset();
      fs.Restart(mode, static_cast<uint32_t>(crash_at));

      file = OpenFile(fs, &error);
      ASSERT_EQ(error, 0) << crash_at;
      Model seen;
      ASSERT_TRUE(ReadAll(*file, &seen)) << crash_at;
      ExpectSound(*file);
      if (seen == before) {
        EXPECT_FALSE(reported_done) << "a commit reported done was lost at " << crash_at;
        ++saw_before;
      } else {
        ASSERT_EQ(seen, after) << "mixed state after a crash at operation " << crash_at;
        ++saw_after;
      }
      // The repaired file takes further changes.
      ASSERT_EQ(file->tree().Put("zz", "last"), 0);
      ASSERT_EQ(file->EndAccess(), 0);
    }
  }
  EXPECT_GT(saw_before, 0);
  EXPECT_GT(saw_after, 0);
}

// Entries filling pages of several size classes, left uncommitted.
void PutEntriesOfVariedSize(DataFile& file, Model* model) {
  for (int i = 0; i < 60; ++i) {
    std::string data(30 + i * 37 % 400, static_cast<char>('a' + i % 26));
    ASSERT_EQ(file.tree().Put(Key(i), data), 0);
    (*model)[Key(i)] = data;
  }
}

// The first commit of a brand-new file writes its pages before any header is on disk: a crash at
// any step must leave either a valid empty file or the committed state.
TEST(DataFileTest, CrashDuringTheFirstCommitOfANewFile) {
  using Mode = FaultFileSystem::CrashMode;
  int operations = 0;
  {
    FaultFileSystem fs;
    auto file = OpenFile(fs);
    Model model;
    PutEntriesOfVariedSize(*file, &model);
    ASSERT_EQ(file->EndAccess(), 0);
    operations = fs.operation_count();
  }
  ASSERT_GT(operations, 3);
  for (int crash_at = 0; crash_at <= operations; ++crash_at) {
    for (Mode mode : {Mode::kDropUnsynced, Mode::kKeepUnsynced, Mode::kKeepSome}) {
      FaultFileSystem fs;
      auto file = OpenFile(fs);
      Model committed;
      PutEntriesOfVariedSize(*file, &committed);
      fs.CrashAtOperation(crash_at);
      bool reported_done = file->EndAccess() == 0;
      file.reset();
      fs.Restart(mode, static_cast<uint32_t>(crash_at));

      int error = 0;
      file = OpenFile(fs, &error);
      ASSERT_EQ(error, 0) << "crash at operation " << crash_at;
      Model seen;
      ASSERT_TRUE(ReadAll(*file, &seen)) << crash_at;
      ExpectSound(*file);
      if (seen.empty()) {
        EXPECT_FALSE(reported_done) << "a commit reported done was lost at " << crash_at;
        EXPECT_EQ(file->change_counter(), 0u);
      } else {
        ASSERT_EQ(seen, committed) << "mixed state after a crash at operation " << crash_at;
      }
      ASSERT_EQ(file->tree().Put("zz", "last"), 0);
      ASSERT_EQ(file->EndAccess(), 0);
    }
  }
}

class DamageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto file = OpenFile(fs_);
    Model model;
    WriteFirstState(*file, &model);
    root_ = file->impl().header_.root;
    bytes_ = fs_.Contents(kPath);
  }

  // Opens and reads the whole file; returns the first error.
  int OpenAndRead() {
    int error = 0;
    auto file = OpenFile(fs_, &error);
    if (error != 0) return error;
    Cursor cursor(*file);
    bool found = false;
    if ((error = cursor.First(&found)) != 0) return error;
    while (found) {
      if ((error = cursor.Next(&found)) != 0) return error;
    }
    return 0;
  }

  size_t RootOffset() const { return static_cast<size_t>(PageOffset(root_)); }

  FaultFileSystem fs_;
  std::string* bytes_ = nullptr;
  int32_t root_ = 0;
};

TEST_F(DamageTest, SoundFileReads) {
  EXPECT_EQ(OpenAndRead(), 0);
}

TEST_F(DamageTest, WrongSignature) {
  (*bytes_)[14] = 'X';
  EXPECT_EQ(OpenAndRead(), kErrInvalidDataFile);
}

TEST_F(DamageTest, ShortHeader) {
  bytes_->resize(300);
  EXPECT_EQ(OpenAndRead(), kErrInvalidDataFile);
}

TEST_F(DamageTest, PageLengthsOutOfRange) {
  (*bytes_)[RootOffset() + 5] = static_cast<char>(0xFF);  // stored length far too large
  EXPECT_EQ(OpenAndRead(), kErrInvalidDataFile);
}

TEST_F(DamageTest, ChildOutsideTheFile) {
  // The root is an inner page: its first child number follows the header.
  ASSERT_GT(static_cast<uint8_t>((*bytes_)[RootOffset() + 12]), 0);
  (*bytes_)[RootOffset() + 13 + 3] = 0x40;
  EXPECT_EQ(OpenAndRead(), kErrInvalidDataFile);
}

TEST_F(DamageTest, ChildPointingBackAtTheRoot) {
  for (int i = 0; i < 4; ++i) {
    (*bytes_)[RootOffset() + 13 + static_cast<size_t>(i)] = static_cast<char>(root_ >> (8 * i));
  }
  EXPECT_EQ(OpenAndRead(), kErrInvalidDataFile);
}

TEST_F(DamageTest, LoggedPageAimedPastTheData) {
  // A pending redo log whose one page claims an offset far beyond the data: the opener reports
  // the damage and the file does not grow to reach that offset.
  FileHeader header;
  ASSERT_TRUE(DecodeHeader(reinterpret_cast<const uint8_t*>(bytes_->data()), &header));
  uint64_t end = bytes_->size();
  std::string page(kUnitSize, '\0');
  page[0] = 0x00, page[1] = 0x00, page[2] = 0x00, page[3] = 0x70;  // offset 0x70000000
  page[4] = static_cast<char>(kUnitSize & 0xFF), page[5] = static_cast<char>(kUnitSize >> 8);
  bytes_->append(page);
  uint8_t encoded[kHeaderSize];
  EncodeHeader(header, encoded);  // the logged header closes the log
  bytes_->append(reinterpret_cast<const char*>(encoded), kHeaderSize);
  header.log_start = static_cast<uint32_t>(end);
  header.log_end = static_cast<uint32_t>(end + kUnitSize + kHeaderSize);
  EncodeHeader(header, encoded);
  bytes_->replace(0, kHeaderSize, reinterpret_cast<const char*>(encoded), kHeaderSize);
  size_t damaged_size = bytes_->size();
  EXPECT_EQ(OpenAndRead(), kErrInvalidDataFile);
  EXPECT_EQ(fs_.Contents(kPath)->size(), damaged_size);
}

TEST_F(DamageTest, EveryByteOfTheRootPage) {
  // Whatever a single damaged byte does, reading ends cleanly.
  std::string sound = *bytes_;
  for (size_t i = 0; i < 256; ++i) {
    *bytes_ = sound;
    (*bytes_)[RootOffset() + i] ^= static_cast<char>(0x5A);
    int error = OpenAndRead();
    EXPECT_TRUE(error == 0 || error == kErrInvalidDataFile) << i << ": " << error;
  }
}

// The access cycle of a shared file compares only the start of the header with the file; that
// start must be exactly what the full encoding writes, every field that a commit changes in it.
TEST(FileHeaderTest, StartIsTheFirstBytesOfTheFullEncoding) {
  FileHeader header;
  header.log_start = 0x01020304;
  header.log_end = 0x05060708;
  header.last_number = 0x0A0B0C0D;
  header.change_counter = 0x11121314;
  header.root = 0x21222324;
  for (int i = 0; i < kRegionCount; ++i) {
    header.regions.start[i] = 0x30000000 + i;
    header.regions.end[i] = 0x40000000 + i;
  }
  uint8_t full[kHeaderSize];
  EncodeHeader(header, full);
  uint8_t start[kHeaderStartSize];
  std::memset(start, 0xEE, sizeof start);
  EncodeHeaderStart(header, start);
  EXPECT_EQ(std::memcmp(start, full, kHeaderStartSize), 0);
  const std::function<void(FileHeader&)> changes[] = {
      [](FileHeader& h) { ++h.log_start; },      [](FileHeader& h) { ++h.log_end; },
      [](FileHeader& h) { ++h.last_number; },    [](FileHeader& h) { ++h.change_counter; },
      [](FileHeader& h) { ++h.root; },           [](FileHeader& h) { ++h.regions.start[7]; },
  };
  for (const auto& change : changes) {
    FileHeader changed = header;
    change(changed);
    uint8_t other[kHeaderStartSize];
    EncodeHeaderStart(changed, other);
    EXPECT_NE(std::memcmp(start, other, kHeaderStartSize), 0);
  }
}

TEST(InternalErrorTest, ReportsThroughTheHandler) {
  EXPECT_EQ(InternalErrorText(813), "Internal error : ldsbt line 813");
  auto previous = SetInternalErrorHandler(
      [](const std::string& message) { throw std::runtime_error(message); });
  FaultFileSystem fs;
  auto file = OpenFile(fs);
  try {
    file->tree().Put("k", std::string(kMaxEntrySize, 'x'));
    ADD_FAILURE() << "an oversized entry was accepted";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "Internal error : ldsbt line 813");
  }
  SetInternalErrorHandler(previous);
}

}  // namespace
}  // namespace carelog::store
