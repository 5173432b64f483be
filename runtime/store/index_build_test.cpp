#include "runtime/store/index_build.h"

#include <gtest/gtest.h>

#include <cstring>

#include "runtime/store/declarations.h"
#include "runtime/store/file_io_faults.h"
#include "runtime/store/table.h"
#include "runtime/store/test_table_definition.h"

namespace carelog::store {
namespace {

constexpr char kPath[] = "/mem/T.LDS";

// NUMBER LONG at 0, NAME STRING 8 at 4; key 1 unique on NUMBER, key 2 a dynamic index.
TableDefinition Definition() {
  TableDefinition d;
  d.record_size = 12;
  test_tables::AddField(&d, kTypeLong, 0, 4);
  test_tables::AddField(&d, kTypeString, 4, 8);
  d.fields[0].name = "T:NUMBER";
  d.fields[1].name = "T:NAME";
  test_tables::AddKey(&d, 0, {{0, false}});
  test_tables::AddKey(&d, kDefKeyDup | kDefKeyIndex, {{1, false}});
  return d;
}

class DynamicIndexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DataFileOptions options;
    options.create = true;
    ASSERT_EQ(DataFile::Open(kPath, options, &file_, &fs_), 0);
    ASSERT_EQ(Table::Create(*file_, "T", Definition(), false, &table_), 0);
    uint8_t record[12] = {};
    RecordBuffers buffers;
    buffers.record = record;
    for (int32_t n = 1; n <= 20; ++n) {
      std::memcpy(record, &n, 4);
      std::memcpy(record + 4, n % 2 ? "ODD     " : "EVEN    ", 8);
      uint32_t number = 0;
      ASSERT_EQ(table_->Add(buffers, &number), 0);
    }
  }

  FaultFileSystem fs_;
  std::unique_ptr<DataFile> file_;
  std::unique_ptr<Table> table_;
};

TEST_F(DynamicIndexTest, TemporaryFileLivesOnTheTablesFileSystemAndGoesWithTheTable) {
  ASSERT_EQ(BuildDynamicIndex(*table_, 1, "NAME"), 0);
  ASSERT_EQ(fs_.Paths().size(), 2u);  // the data file and the index's temporary file
  uint32_t entries = 0;
  ASSERT_EQ(table_->KeyEntries(1, &entries), 0);
  EXPECT_EQ(entries, 20u);
  ASSERT_EQ(BuildDynamicIndex(*table_, 1, "-NAME"), 0);  // a rebuild replaces the old file
  EXPECT_EQ(fs_.Paths().size(), 2u);
  table_.reset();
  EXPECT_EQ(fs_.Paths(), std::vector<std::string>{kPath});
}

TEST_F(DynamicIndexTest, FailingDiskFailsTheBuildWithItsError) {
  ASSERT_EQ(file_->EndAccess(), 0);
  fs_.CrashAtOperation(static_cast<int>(fs_.operation_count()));
  EXPECT_EQ(BuildDynamicIndex(*table_, 1, "NAME"), EIO);
}

}  // namespace
}  // namespace carelog::store
