// A day at the agency replayed through the real executable on sample data: what the users do
// and do not do must show in the data files afterwards, checked by ldstool as an outsider.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "app/app_testing.h"
#include "tools/carelog-sample/sample_data.h"

namespace carelog::app {
namespace {

namespace fs = std::filesystem;

struct Result {
  int status = -1;
  std::string out, err;
};

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

Result Shell(const std::string& command) {
  int raw = std::system((command + " >out.txt 2>err.txt").c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp("out.txt"), Slurp("err.txt")};
}

// Every data file of the folder with its bytes.
std::map<std::string, std::string> DataFiles() {
  std::map<std::string, std::string> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(fs::current_path())) {
    std::string name = entry.path().filename().string();
    std::string extension = entry.path().extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (entry.is_regular_file() && extension == ".lds") files[name] = Slurp(entry.path());
  }
  return files;
}

class NurseDay : public ::testing::Test {
 protected:
  void SetUp() override {
    sample::SampleCounts counts;
    std::string error;
    ASSERT_EQ(sample::WriteSampleData({20, 7}, &counts, &error), 0) << error;
  }

  Result Script(const std::string& script) {
    std::ofstream("script.txt") << script;
    return Shell(std::string(CARELOG_BINARY) +
                 " --headless --clock=2026-12-09T10:30 --script script.txt");
  }

  // ldstool check passes on every data file of the folder.
  void ExpectSoundFiles() {
    for (const auto& [name, bytes] : DataFiles()) {
      Result check = Shell(std::string(LDSTOOL_BINARY) + " check " + name);
      EXPECT_EQ(check.status, 0) << name << ": " << check.out << check.err;
    }
  }

  // ldstool's field-by-field dump of every data file.
  std::map<std::string, std::string> Dumps() {
    std::map<std::string, std::string> dumps;
    for (const auto& [name, bytes] : DataFiles()) {
      Result dump = Shell(std::string(LDSTOOL_BINARY) + " dump " + name);
      EXPECT_EQ(dump.status, 0) << name << ": " << dump.err;
      dumps[name] = dump.out;
    }
    return dumps;
  }

  testing::TempWorkingDirectory directory_;
};

// An abandoned insert takes its number and gives it back: the placeholder record is added at
// once (so that no other station takes the number) and removed on Cancel, so the records are as
// they were though the file's counters moved. A cancelled delete and a note form closed without
// saving write nothing at all.
TEST_F(NurseDay, CancelledInsertDeleteAndDroppedNoteChangesLeaveTheRecordsAsTheyWere) {
  std::map<std::string, std::string> dumps = Dumps();
  Result insert = Script(
      "menu \"&Browse\" \"&Browse Patients\"\n"
      "click \"&Insert\"\n"
      "expect-title \"Adding a Patients Record\"\n"
      "click 7\n"
      "type \"Never Saved\"\n"
      "click \"Cancel\"\n"
      "expect-title \"Browse the Patients File\"\n");
  ASSERT_EQ(insert.status, 0) << insert.err;
  EXPECT_EQ(Dumps(), dumps);
  ExpectSoundFiles();

  std::map<std::string, std::string> before = DataFiles();
  ASSERT_FALSE(before.empty());
  Result run = Script(
      "menu \"&Browse\" \"&Browse Patients\"\n"
      "click \"&Delete\"\n"
      "expect-message \"You've selected to delete the highlighted record.  Press OK to confirm "
      "deletion of this record.\"\n"
      "answer \"Cancel\"\n"
      "expect-title \"Browse the Patients File\"\n"
      "select 3 2\n"
      "click \"Family\"\n"
      "expect-title \"Browse the Family File by FAM:Key_Patient_Number\"\n"
      "click \"&Change\"\n"
      "click 5\n"
      "type \"e\"\n"
      "click \"Cancel\"\n"
      "expect-message \"Do you want to save the changes to this record?\"\n"
      "answer \"&No\"\n"
      "expect-title \"Browse the Family File by FAM:Key_Patient_Number\"\n"
      "click \"Close\"\n"
      "click \"Close\"\n"
      "expect-title \"The Care Log\"\n");
  ASSERT_EQ(run.status, 0) << run.err;
  std::map<std::string, std::string> after = DataFiles();
  ASSERT_EQ(after.size(), before.size());
  for (const auto& [name, bytes] : before) EXPECT_TRUE(after[name] == bytes) << name << " changed";
  ExpectSoundFiles();
}

}  // namespace
}  // namespace carelog::app
