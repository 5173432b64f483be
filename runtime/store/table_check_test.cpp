#include "runtime/store/table_check.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <functional>

#include "runtime/store/declarations.h"
#include "runtime/store/table.h"
#include "runtime/store/tree.h"

namespace carelog::store {
namespace {

TableDefinition TwoKeyDefinition() {
  TableDefinition d;
  d.record_size = 8;
  FieldDef number;
  number.type = kTypeLong;
  number.total_size = 4;
  FieldDef code;
  code.type = kTypeLong;
  code.offset = 4;
  code.total_size = 4;
  d.fields = {number, code};
  KeyDef unique;
  unique.components = {{0, false}};
  KeyDef dup;
  dup.flags = kDefKeyDup | kDefKeyOpt;
  dup.components = {{1, false}};
  d.keys = {unique, dup};
  return d;
}

class TableCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/carelog-check-XXXXXX";
    dir_ = mkdtemp(pattern);
    path_ = dir_ + "/check.LDS";
    DataFileOptions options;
    options.create = true;
    ASSERT_EQ(DataFile::Open(path_, options, &file_), 0);
    ASSERT_EQ(Table::Create(*file_, "T", TwoKeyDefinition(), false, &table_), 0);
    RecordBuffers buffers;
    uint8_t record[8];
    buffers.record = record;
    for (int32_t i = 0; i < 300; ++i) {
      int32_t code = i % 7;
      std::memcpy(record, &i, 4);
      std::memcpy(record + 4, &code, 4);
      uint32_t number = 0;
      ASSERT_EQ(table_->Add(buffers, &number), 0);
      numbers_.push_back(number);
    }
    ASSERT_EQ(file_->EndAccess(), 0);
  }

  void TearDown() override {
    table_.reset();
    file_.reset();
    unlink(path_.c_str());
    rmdir(dir_.c_str());
  }

  // The faults found after committing `change`.
  std::vector<TableFault> FaultsAfter(const std::function<void(Tree&)>& change) {
    change(file_->tree());
    EXPECT_EQ(file_->EndAccess(), 0);
    std::vector<TableFault> faults;
    EXPECT_EQ(CheckDataFileAndTables(path_, &faults), 0);
    return faults;
  }

  std::string dir_, path_;
  std::unique_ptr<DataFile> file_;
  std::unique_ptr<Table> table_;
  std::vector<uint32_t> numbers_;
};

TEST_F(TableCheck, SoundFileHasNoFaults) {
  EXPECT_TRUE(FaultsAfter([](Tree&) {}).empty());
}

TEST_F(TableCheck, FindsEachKindOfTableFault) {
  const uint32_t t = table_->number();
  // A key entry whose record does not exist.
  std::vector<TableFault> faults = FaultsAfter([&](Tree& tree) {
    std::string value("\x80\x00\x01\x00", 4);
    EncodedKey stray = MakeKeyEntry(t, 0, false, value, 999999);
    ASSERT_EQ(tree.Put(stray.key, stray.data), 0);
  });
  ASSERT_EQ(faults.size(), 2u);  // the stray entry, and key 1 now counts one too many
  EXPECT_NE(faults[0].text.find("missing record"), std::string::npos);
  EXPECT_GE(faults[0].page, 0);

  // A record that lost its entry in the DUP key, and a records counter that disagrees.
  faults = FaultsAfter([&](Tree& tree) {
    std::string value("\x80\x00\x00\x05", 4);
    EncodedKey entry = MakeKeyEntry(t, 1, true, value, numbers_[5]);
    bool erased = false;
    ASSERT_EQ(tree.Erase(entry.key, &erased), 0);
    ASSERT_TRUE(erased);
    ASSERT_EQ(tree.Put(CountersKey(t, kRecordsIndex), EncodeCounters(Counters{7, 0})), 0);
  });
  bool lacks = false, counted = false;
  for (const TableFault& f : faults) {
    lacks |= f.text.find("lacks its entry in key 2") != std::string::npos;
    counted |= f.text.find("records counted 300, counter says 7") != std::string::npos;
  }
  EXPECT_TRUE(lacks);
  EXPECT_TRUE(counted);
}

}  // namespace
}  // namespace carelog::store
