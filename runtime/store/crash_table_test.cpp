// A simulated crash at every write and flush of a table commit in turn: one commit that adds,
// replaces (every key field and a longer memo) and deletes records of a table with six keys
// and a memo spans many pages; after each crash, losing none, all or some of the unflushed
// writes, the reopened file verifies and holds the table before or after the commit, with every
// key holding an entry per record. Commits that fail and cycles given up leave the counters of
// the last commit.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "runtime/store/data_file.h"
#include "runtime/store/data_file_check.h"
#include "runtime/store/declarations.h"
#include "runtime/store/file_io_faults.h"
#include "runtime/store/index_build.h"
#include "runtime/store/table.h"
#include "runtime/store/test_table_definition.h"

namespace carelog::store {
namespace {

constexpr char kPath[] = "crash.lds";
constexpr uint32_t kRecordSize = 34;
constexpr int kKeyCount = 6;

//   0 NUMBER LONG, 4 NAME STRING 12, 16 CITY STRING 8, 24 AMOUNT REAL, 32 CODE SHORT; memo 600
TableDefinition Definition() {
  TableDefinition d;
  d.record_size = kRecordSize;
  auto field = [&](uint8_t type, uint16_t offset, uint16_t size) {
    test_tables::AddField(&d, type, offset, size);
  };
  field(kTypeLong, 0, 4);
  field(kTypeString, 4, 12);
  field(kTypeString, 16, 8);
  field(kTypeReal, 24, 8);
  field(kTypeShort, 32, 2);
  auto key = [&](uint8_t flags, std::vector<KeyComponentDef> components) {
    test_tables::AddKey(&d, flags, std::move(components));
  };
  key(0, {{0, false}});
  key(kDefKeyDup | kDefKeyNoCase, {{1, false}});
  key(kDefKeyDup, {{2, true}, {0, false}});
  key(0, {{2, false}, {1, false}, {0, false}});
  key(kDefKeyDup, {{3, false}});
  key(kDefKeyDup, {{4, false}});
  MemoDef notes;
  notes.max_size = 600;
  notes.flags = 1;
  d.memos.push_back(notes);
  return d;
}

struct Stored {
  std::string image, notes;
  bool operator==(const Stored&) const = default;
};
using Snapshot = std::map<uint32_t, Stored>;

class CrashTable {
 public:
  explicit CrashTable(FaultFileSystem& fs) : fs_(fs) {
    buffers_.record = record_;
    buffers_.memos.push_back(MemoBuffer{notes_, &notes_length_});
  }

  int Open(bool create) {
    DataFileOptions options;
    options.create = create;
    int rc = DataFile::Open(kPath, options, &file_, &fs_);
    if (rc != 0) return rc;
    return create ? Table::Create(*file_, "T", Definition(), false, &table_)
                  : Table::Open(*file_, "T", Definition(), false, false, &table_);
  }
  void Close() {
    table_.reset();
    file_.reset();
  }

  void Fill(int32_t number, const std::string& name, const std::string& city, size_t notes) {
    std::memset(record_, ' ', sizeof record_);
    std::memcpy(record_, &number, 4);
    std::memcpy(record_ + 4, name.data(), std::min<size_t>(12, name.size()));
    std::memcpy(record_ + 16, city.data(), std::min<size_t>(8, city.size()));
    double amount = number * 0.25;
    int16_t code = static_cast<int16_t>(number % 7);
    std::memcpy(record_ + 24, &amount, 8);
    std::memcpy(record_ + 32, &code, 2);
    notes_length_ = static_cast<uint32_t>(notes);
    for (size_t i = 0; i < notes; ++i) notes_[i] = static_cast<char>('a' + (number + i) % 26);
  }

  // 80 records in one commit: the state before the change.
  void WriteFirstState() {
    for (int32_t n = 1; n <= 80; ++n) {
      Fill(n, "Name" + std::to_string(n % 41), "City" + std::to_string(n % 9),
           static_cast<size_t>(n % 5) * 100);
      uint32_t record = 0;
      ASSERT_EQ(table_->Add(buffers_, &record), 0);
    }
    ASSERT_EQ(file_->EndAccess(), 0);
  }

  // The change, left uncommitted: records added, replaced on every key and deleted.
  void MakeChange() {
    for (int32_t n = 81; n <= 100; ++n) {
      Fill(n, "New" + std::to_string(n), "Town", 550);
      uint32_t record = 0;
      ASSERT_EQ(table_->Add(buffers_, &record), 0);
    }
    for (uint32_t r = 5; r <= 80; r += 7) {
      Fill(static_cast<int32_t>(r) + 1000, "Moved" + std::to_string(r), "Away", 590);
      ASSERT_EQ(table_->Put(r + 1, buffers_), 0);  // the table itself took number 1
    }
    for (uint32_t r = 12; r <= 80; r += 11) ASSERT_EQ(table_->Delete(r + 1), 0);
  }

  Snapshot Read() {
    Snapshot rows;
    for (uint32_t r = 1; r <= 400; ++r) {
      std::string image;
      bool found = false;
      EXPECT_EQ(table_->ReadImage(r, &image, &found), 0);
      if (!found) continue;
      std::memset(notes_, 0, sizeof notes_);  // bytes past the memo must not carry over
      EXPECT_EQ(table_->Read(r, buffers_, true), 0);
      rows[r] = Stored{image, std::string(notes_, notes_length_)};
    }
    return rows;
  }

  // Every key holds one entry per record, and the file verifies.
  void ExpectSound(size_t records) {
    uint32_t counted = 0;
    ASSERT_EQ(table_->Records(&counted), 0);
    EXPECT_EQ(counted, records) << "records counter";
    for (int k = 0; k < kKeyCount; ++k) {
      uint32_t entries = 0;
      ASSERT_EQ(table_->KeyEntries(k, &entries), 0);
      EXPECT_EQ(entries, records) << "key " << k + 1;
    }
    std::vector<CheckFault> faults;
    ASSERT_EQ(CheckDataFile(*file_, &faults, nullptr), 0);
    for (const CheckFault& f : faults) ADD_FAILURE() << "page " << f.page << ": " << f.text;
  }

  DataFile& file() { return *file_; }
  Table& table() { return *table_; }

 private:
  FaultFileSystem& fs_;
  std::unique_ptr<DataFile> file_;
  std::unique_ptr<Table> table_;
  uint8_t record_[kRecordSize] = {};
  char notes_[600] = {};
  uint32_t notes_length_ = 0;
  RecordBuffers buffers_;
};

TEST(CrashTableTest, CrashAtEveryStepOfATableCommitLeavesOneState) {
  using Mode = FaultFileSystem::CrashMode;
  Snapshot before, after;
  int operations = 0;
  {
    FaultFileSystem fs;
    CrashTable table(fs);
    ASSERT_EQ(table.Open(true), 0);
    table.WriteFirstState();
    table.Close();
    ASSERT_EQ(table.Open(false), 0);
    before = table.Read();
    table.file().EndAccess();
    table.MakeChange();
    fs.ResetCounts();
    ASSERT_EQ(table.file().EndAccess(), 0);
    operations = fs.operation_count();
    after = table.Read();
  }
  ASSERT_NE(before, after);
  ASSERT_GT(operations, 10);
  int saw_before = 0, saw_after = 0;
  for (int crash_at = 0; crash_at <= operations; ++crash_at) {
    for (Mode mode : {Mode::kDropUnsynced, Mode::kKeepUnsynced, Mode::kKeepSome}) {
      SCOPED_TRACE("crash at operation " + std::to_string(crash_at) + " of " +
                   std::to_string(operations) + ", mode " + std::to_string(static_cast<int>(mode)));
      FaultFileSystem fs;
      CrashTable table(fs);
      ASSERT_EQ(table.Open(true), 0);
      table.WriteFirstState();
      table.MakeChange();
      fs.ResetCounts();
      fs.CrashAtOperation(crash_at);
      bool reported_done = table.file().EndAccess() == 0;
      table.Close();
      fs.Restart(mode, static_cast<uint32_t>(crash_at));

      ASSERT_EQ(table.Open(false), 0);
      Snapshot seen = table.Read();
      if (seen == before) {
        EXPECT_FALSE(reported_done) << "a commit reported done was lost";
        ++saw_before;
      } else {
        ASSERT_TRUE(seen == after) << "mixed state: " << seen.size() << " records";
        ++saw_after;
      }
      table.ExpectSound(seen.size());
    }
  }
  EXPECT_GT(saw_before, 0);
  EXPECT_GT(saw_after, 0);
}

// The counters a cycle changed reach the tree only at its commit: a commit that fails, or a
// cycle given up, must leave the counters of the last commit, and the next cycle counts from
// them.
TEST(CrashTableTest, FailedOrAbandonedCyclesLeaveTheCommittedCounts) {
  FaultFileSystem fs;
  CrashTable table(fs);
  ASSERT_EQ(table.Open(true), 0);
  table.WriteFirstState();
  const size_t first = table.Read().size();
  table.file().EndAccess();

  table.MakeChange();
  uint32_t counted = 0;
  ASSERT_EQ(table.table().Records(&counted), 0);
  EXPECT_EQ(counted, first + 20 - 7) << "the open cycle reads its own counts";
  fs.ResetCounts();
  fs.FailWriteAt(0);
  EXPECT_NE(table.file().EndAccess(), 0);
  fs.FailWriteAt(-1);
  EXPECT_EQ(table.Read().size(), first);
  table.ExpectSound(first);

  table.MakeChange();
  table.file().AbandonAccess();
  table.ExpectSound(first);

  // A key built inside the cycle counts its records as they stand, and the commit adds nothing
  // to that count.
  table.MakeChange();
  ASSERT_EQ(BuildAllKeys(table.table()), 0);
  table.ExpectSound(first + 20 - 7);
  ASSERT_EQ(table.file().EndAccess(), 0);
  table.Close();
  ASSERT_EQ(table.Open(false), 0);
  table.ExpectSound(first + 20 - 7);
}

// Removing a table inside the cycle that changed its counts leaves none of its entries behind,
// not even a counters entry brought back by the commit.
TEST(CrashTableTest, TableRemovedInsideTheCycleLeavesNoEntries) {
  FaultFileSystem fs;
  CrashTable table(fs);
  ASSERT_EQ(table.Open(true), 0);
  table.WriteFirstState();
  table.MakeChange();
  ASSERT_EQ(table.table().RemoveEntries(), 0);
  ASSERT_EQ(table.file().EndAccess(), 0);
  const std::string prefix = TablePrefix(table.table().number());
  Cursor cursor(table.file());
  bool found = false;
  ASSERT_EQ(cursor.SeekAtOrAbove(prefix, &found), 0);
  if (found) EXPECT_NE(cursor.key().substr(0, 4), prefix);
}

}  // namespace
}  // namespace carelog::store
