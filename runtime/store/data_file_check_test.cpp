#include "runtime/store/data_file_check.h"

#include <gtest/gtest.h>

#include "runtime/store/data_file_impl.h"
#include "runtime/store/file_io_faults.h"
#include "runtime/store/tree.h"

namespace carelog::store {
namespace {

class CheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DataFileOptions options;
    options.create = true;
    ASSERT_EQ(DataFile::Open("c.lds", options, &file_, &fs_), 0);
    for (int i = 0; i < 500; ++i) {
      ASSERT_EQ(file_->tree().Put("key" + std::to_string(1000 + i), std::string(60, 'v')), 0);
    }
    ASSERT_EQ(file_->EndAccess(), 0);
    root_ = file_->impl().header_.root;
    file_.reset();
    bytes_ = fs_.Contents("c.lds");
  }

  std::vector<CheckFault> Check() {
    DataFileOptions options;
    std::unique_ptr<DataFile> file;
    EXPECT_EQ(DataFile::Open("c.lds", options, &file, &fs_), 0);
    std::vector<CheckFault> faults;
    EXPECT_EQ(CheckDataFile(*file, &faults, &summary_), 0);
    return faults;
  }

  FaultFileSystem fs_;
  std::unique_ptr<DataFile> file_;
  std::string* bytes_ = nullptr;
  int32_t root_ = 0;
  CheckSummary summary_;
};

TEST_F(CheckTest, SoundFileHasNoFaults) {
  EXPECT_TRUE(Check().empty());
  EXPECT_EQ(summary_.leaf_entries, 500);
  EXPECT_EQ(summary_.depth, 2);
  EXPECT_GT(summary_.pages, 3);
}

TEST_F(CheckTest, DamagedLeafIsNamed) {
  // The root's second child is a leaf; damage its entry count.
  size_t root = static_cast<size_t>(PageOffset(root_));
  int32_t child = 0;
  for (int i = 0; i < 4; ++i) child |= static_cast<uint8_t>((*bytes_)[root + 17 + i]) << (8 * i);
  (*bytes_)[static_cast<size_t>(PageOffset(child)) + 10] ^= 0x7F;
  auto faults = Check();
  ASSERT_FALSE(faults.empty());
  EXPECT_EQ(faults[0].page, child);
}

TEST_F(CheckTest, SwappedChildrenBreakTheOrder) {
  size_t root = static_cast<size_t>(PageOffset(root_));
  std::string first = bytes_->substr(root + 17, 4);
  bytes_->replace(root + 17, 4, bytes_->substr(root + 21, 4));
  bytes_->replace(root + 21, 4, first);
  EXPECT_FALSE(Check().empty());
}

TEST_F(CheckTest, UnreachedPageIsNamed) {
  // Point the root's last child at its neighbour: the last leaf is no longer reached.
  size_t root = static_cast<size_t>(PageOffset(root_));
  uint16_t count = static_cast<uint8_t>((*bytes_)[root + 10]);
  size_t last = root + 13 + 4 * (count - 1u);
  bytes_->replace(last, 4, bytes_->substr(last - 4, 4));
  auto faults = Check();
  bool unreached = false;
  for (const CheckFault& fault : faults)
    unreached |= fault.text == "page not reached from the root";
  EXPECT_TRUE(unreached);
}

}  // namespace
}  // namespace carelog::store
