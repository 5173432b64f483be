// Use-counted opening and closing, and the open routine's ladder on missing, foreign and
// damaged files (the halting steps in child processes, which must end with exit code 0).
#include "app/data/file_access.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "app/data/records.h"
#include "runtime/host/automation.h"
#include "runtime/store/error_state.h"
#include "runtime/store/file_statements.h"
#include "runtime/store/stored_tables.h"
#include "runtime/store/table_ops.h"
#include "runtime/window/message_box.h"
#include "runtime/window/window_testing.h"

namespace carelog::appdata {
namespace {

namespace fs = std::filesystem;
namespace wt = window::testing;

class FileAccess : public ::testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    store::RegisterTableOps(&store::StoredTables());
    previous_ = fs::current_path();
    // Death-test children run SetUp again: they take the parent's directory.
    if (const char* inherited = std::getenv("CARELOG_ACCESS_TEST_DIR")) {
      dir_ = inherited;
    } else {
      std::string pattern = (fs::temp_directory_path() / "carelog-access-XXXXXX").string();
      ASSERT_NE(mkdtemp(pattern.data()), nullptr);
      dir_ = pattern;
      setenv("CARELOG_ACCESS_TEST_DIR", dir_.c_str(), 1);
    }
    fs::current_path(dir_);
  }
  void TearDown() override {
    fs::current_path(previous_);
    if (!std::getenv("CARELOG_ACCESS_CHILD")) fs::remove_all(dir_);
    unsetenv("CARELOG_ACCESS_TEST_DIR");
  }
  fs::path previous_, dir_;
};

TEST_F(FileAccess, AMissingFileIsCreatedAndNestedUsersShareOneOpenFile) {
  EXPECT_EQ(UseCount(FileId::kOrders), 0);
  UseFile(FileId::kOrders);
  {
    FileUse nested{FileId::kOrders, FileId::kPoc};
    EXPECT_EQ(UseCount(FileId::kOrders), 2);
    EXPECT_EQ(UseCount(FileId::kPoc), 1);
  }
  EXPECT_EQ(UseCount(FileId::kPoc), 0);
  EXPECT_EQ(UseCount(FileId::kOrders), 1);
  EXPECT_EQ(store::Records(OrdersFile()), 0u) << "still open";
  EXPECT_EQ(store::ErrorCode(), 0);

  // A THREAD file's count is the thread's own: another thread opens its own copy.
  int32_t other_count = -1;
  std::thread([&] { other_count = UseCount(FileId::kOrders); }).join();
  EXPECT_EQ(other_count, 0);

  ReleaseFile(FileId::kOrders);
  EXPECT_EQ(UseCount(FileId::kOrders), 0);
  store::Records(OrdersFile());
  EXPECT_EQ(store::ErrorCode(), 37) << "closed when the count returned to 0";
  ReleaseFile(FileId::kOrders);
  EXPECT_EQ(UseCount(FileId::kOrders), 0) << "a release below 0 does nothing";
}

TEST_F(FileAccess, RememberedKeysAreTheParentsKeysAsRead) {
  PAT.PATIENT_NUMBER = 17;
  PHY.DOCNO = 4;
  POC.REC_NO = 99;
  RememberKey_Patients();
  RememberKey_Physcians();
  RememberKey_POC();
  RememberKey_Orders();
  PAT.PATIENT_NUMBER = 18;
  EXPECT_EQ(RememberedKey(FileId::kPatients), 17);
  EXPECT_EQ(RememberedKey(FileId::kPhyscians), 4);
  EXPECT_EQ(RememberedKey(FileId::kPoc), 99);
  EXPECT_EQ(RememberedKey(FileId::kOrders), 0);
}

// In a child: opens Orders through the use counts in a program, prints the text of the box
// shown to the error stream and answers it with OK.
void OpenOrdersAndAnswer() {
  setenv("CARELOG_ACCESS_CHILD", "1", 1);
  wt::Program program([] { UseFile(FileId::kOrders); });
  host::Automation automation;
  host::WindowId box = host::kNoWindow;
  std::string text;
  while (!window::CurrentMessageBox(&box, &text)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  std::fprintf(stderr, "box: %s\n", text.c_str());
  automation.WaitIdle();
  automation.Key("Enter");
  program.Join();
  std::exit(3);  // not reached
}

std::string OrdersDiskName() {
  return store::Name(OrdersFile());
}

// The path of a data file: its name with the default extension.
std::string PathOf(const std::string& name) {
  return name + ".LDS";
}

TEST_F(FileAccess, AFileOfAnotherRecordLayoutEndsTheProgramAsAnInvalidFile) {
  // The CarePlan file put where Orders is looked for: its table does not match the declaration.
  FileUse care{FileId::kCarePlan};
  std::string care_name = store::Name(CarePlanFile());
  ReleaseFile(FileId::kCarePlan);
  fs::copy_file(PathOf(care_name), PathOf(OrdersDiskName()), fs::copy_options::overwrite_existing);
  EXPECT_EXIT(OpenOrdersAndAnswer(), ::testing::ExitedWithCode(0),
              "box: Error: \\(.*\\) accessing " + OrdersDiskName() +
                  "\\.  Press OK to end this application\\.\n(.|\n)*Invalid File!");
}

TEST_F(FileAccess, ADamagedFileEndsTheProgramWithDiskError) {
  std::ofstream(PathOf(OrdersDiskName())) << std::string(4096, 'x');
  EXPECT_EXIT(OpenOrdersAndAnswer(), ::testing::ExitedWithCode(0),
              "box: File \\(" + OrdersDiskName() +
                  "\\) could not be opened\\.  Error: "
                  ".*\\.\n(.|\n)*Disk Error");
}

}  // namespace
}  // namespace carelog::appdata
