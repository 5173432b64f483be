// The data-file check against files written through the file statements: sound files pass,
// and damage to a page, a key entry, a record or a counter is reported with its page. The
// dump decodes records through the stored definition, memos included.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/store/data_file.h"
#include "runtime/store/error_state.h"
#include "runtime/store/index_build.h"
#include "runtime/store/stored_table_testing.h"
#include "runtime/store/table.h"
#include "runtime/store/table_entries.h"
#include "runtime/store/tree.h"
#include "tools/ldstool/file_check.h"
#include "tools/ldstool/table_dump.h"

namespace carelog::ldstool {
namespace {

using namespace carelog::store;
using carelog::store::testing::SampleFile;
using carelog::store::testing::SampleRecord;
using carelog::store::testing::ScratchDir;

class LdsToolTest : public ::testing::Test {
 protected:
  // Writes `count` records with notes through the statements and closes the file.
  void WriteSample(int count) {
    SampleFile sample(path_);
    ASSERT_EQ(store::Create(sample.file.declaration), 0) << ErrorText();
    ASSERT_EQ(store::Open(sample.file.declaration, 0x42), 0) << ErrorText();
    for (int i = 1; i <= count; ++i) {
      sample.Fill(SampleRecord{i, "Name" + std::to_string(i), "City" + std::to_string(i % 5),
                               i * 1.5, static_cast<int16_t>(i % 3)});
      ASSERT_EQ(AssignMemo(sample.file.declaration, 1, "note of record " + std::to_string(i)), 0);
      ASSERT_EQ(store::Add(sample.file.declaration), 0) << ErrorText();
    }
    ASSERT_EQ(store::Close(sample.file.declaration), 0);
  }

  std::vector<Fault> Check() {
    std::vector<Fault> faults;
    EXPECT_EQ(CheckDataFile(path_, &faults), 0);
    return faults;
  }

  static std::string Describe(const std::vector<Fault>& faults) {
    std::string text;
    for (const Fault& f : faults) text += std::to_string(f.page) + ": " + f.text + "\n";
    return text;
  }

  // Opens the file for writing and finds the sample table's number.
  void OpenRaw(std::unique_ptr<DataFile>* file, uint32_t* table) {
    ASSERT_EQ(DataFile::Open(path_, DataFileOptions{}, file), 0);
    std::vector<StoredTableInfo> tables;
    ASSERT_EQ(ListTables(**file, &tables), 0);
    ASSERT_EQ(tables.size(), 1u);
    *table = tables[0].number;
  }

  // Erases the first entry whose key starts with `prefix`.
  void EraseFirst(const std::string& prefix) {
    std::unique_ptr<DataFile> file;
    uint32_t table = 0;
    OpenRaw(&file, &table);
    Cursor cursor(*file);
    bool found = false;
    std::string full = TablePrefix(table) + prefix;
    ASSERT_EQ(cursor.SeekAtOrAbove(full, &found), 0);
    ASSERT_TRUE(found && cursor.key().substr(0, full.size()) == full);
    std::string key(cursor.key());
    ASSERT_EQ(file->tree().Erase(key), 0);
    ASSERT_EQ(file->EndAccess(), 0);
  }

  ScratchDir dir_;
  std::string path_ = dir_.File("sample.lds");
};

TEST_F(LdsToolTest, SoundFilesPassIncludingEmptyOnes) {
  std::ofstream(path_).close();
  EXPECT_TRUE(Check().empty());
  WriteSample(400);  // more than one level of pages
  std::vector<Fault> faults = Check();
  EXPECT_TRUE(faults.empty()) << Describe(faults);
}

TEST_F(LdsToolTest, DamagedPageIsReportedWithItsPage) {
  WriteSample(120);
  std::fstream f(path_, std::ios::in | std::ios::out | std::ios::binary);
  f.seekp(512 + 256 * 3 + 40);  // inside a page past the header
  std::string junk(64, '\x5A');
  f.write(junk.data(), static_cast<std::streamsize>(junk.size()));
  f.close();
  std::vector<Fault> faults = Check();
  ASSERT_FALSE(faults.empty());
  bool on_a_page = false;
  for (const Fault& fault : faults) on_a_page |= fault.page >= 0;
  EXPECT_TRUE(on_a_page) << Describe(faults);
}

TEST_F(LdsToolTest, ForeignBytesAreAFaultNotAnError) {
  std::ofstream(path_) << std::string(2000, 'x');
  std::vector<Fault> faults = Check();
  ASSERT_EQ(faults.size(), 1u);
  EXPECT_EQ(faults[0].page, -1);
}

TEST_F(LdsToolTest, MissingKeyEntryIsReportedAndBuildRepairsIt) {
  WriteSample(50);
  EraseFirst(std::string(1, '\x01'));  // an entry of the second key
  std::vector<Fault> faults = Check();
  std::string text = Describe(faults);
  EXPECT_NE(text.find("lacks its entry in key 2"), std::string::npos) << text;
  EXPECT_NE(text.find("counted"), std::string::npos) << text;

  std::unique_ptr<DataFile> file;
  uint32_t number = 0;
  OpenRaw(&file, &number);
  TableDefinition def;
  std::unique_ptr<Table> table;
  ASSERT_EQ(Table::ReadDefinition(*file, number, &def), 0);
  ASSERT_EQ(Table::Open(*file, "UNNAMED", def, false, false, &table), 0);
  ASSERT_EQ(BuildAllKeys(*table), 0);
  ASSERT_EQ(file->EndAccess(), 0);
  table.reset();
  file.reset();
  faults = Check();
  EXPECT_TRUE(faults.empty()) << Describe(faults);
}

TEST_F(LdsToolTest, KeyEntryOfAMissingRecordIsReported) {
  WriteSample(50);
  EraseFirst(std::string(1, static_cast<char>(kKindRecord)));
  std::string text = Describe(Check());
  EXPECT_NE(text.find("names missing record"), std::string::npos) << text;
  EXPECT_NE(text.find("records counted"), std::string::npos) << text;
}

TEST_F(LdsToolTest, DumpShowsFieldsAndMemos) {
  WriteSample(3);
  std::unique_ptr<DataFile> file;
  uint32_t number = 0;
  OpenRaw(&file, &number);
  std::ostringstream plain, csv;
  ASSERT_EQ(DumpTable(*file, number, false, plain), 0);
  ASSERT_EQ(DumpTable(*file, number, true, csv), 0);
  EXPECT_NE(plain.str().find("Name2"), std::string::npos) << plain.str();
  EXPECT_NE(plain.str().find("note of record 3"), std::string::npos) << plain.str();
  EXPECT_NE(plain.str().find("CITY"), std::string::npos) << plain.str();
  // A header row and one row per record.
  std::string rows = csv.str();
  EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 4) << rows;
}

}  // namespace
}  // namespace carelog::ldstool
