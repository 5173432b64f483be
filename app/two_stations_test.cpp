// Two stations on one folder: this test program edits a patient on its form while the real
// executable, a second process, changes or deletes the same patient and saves first. The
// second save is refused (warning 15, then warning 16's question) and overwrites nothing.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

#include "app/app_testing.h"
#include "app/data/keys.h"
#include "app/data/records.h"
#include "app/procedure_globals.h"
#include "app/procedures/form_procedures.h"
#include "app/procedures/patient_change_testing.h"
#include "runtime/host/automation.h"
#include "runtime/store/file_statements.h"
#include "tools/carelog-sample/sample_data.h"

namespace carelog::app {
namespace {

namespace wt = window::testing;

std::string Clipped(const char* field, size_t size) {
  std::string text(field, size);
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// The other station: the real executable replaying `script` on the same folder.
int OtherStation(const std::string& script) {
  std::ofstream("station.txt") << script;
  std::string command = std::string(CARELOG_BINARY) +
                        " --headless --clock=2026-12-09T10:30 --script station.txt"
                        " >station.out 2>&1";
  int raw = std::system(command.c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

std::string StationOutput() {
  std::ifstream in("station.out");
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The one patient's name and how many patients the file holds, read afresh.
std::pair<int, std::string> StoredPatients() {
  store::FileDeclaration& file = appdata::PatientsFile();
  EXPECT_EQ(store::Open(file, 0x42), 0);
  int count = 0;
  std::string name;
  store::Set(appdata::Key(appdata::PatKey::KEY_PATIENT_NUMBER));
  while (store::Next(file) == 0) {
    ++count;
    name = Clipped(appdata::PAT.NAME, sizeof appdata::PAT.NAME);
  }
  store::Close(file);
  return {count, name};
}

class TwoStations : public ::testing::Test {
 protected:
  void SetUp() override {
    sample::SampleCounts counts;
    std::string error;
    ASSERT_EQ(sample::WriteSampleData({1, 5}, &counts, &error), 0) << error;
    name_before_ = StoredPatients().second;
  }

  // This station opens the patient's form on a change, types into its name, lets the other
  // station run `script`, then presses OK; `answer` handles what follows.
  int32_t EditWhileOtherStationRuns(const std::string& script,
                                    const std::function<void(host::Automation&)>& answer) {
    int32_t response = -1;
    {
      wt::Program program([&response] { testing::ChangeFirstPatient(&response); });
      host::Automation automation;
      EXPECT_TRUE(automation.WaitForWindow("Changing a Patients Record").ok);
      EXPECT_TRUE(automation.Click("7", false).ok);
      EXPECT_TRUE(automation.Key("End").ok);
      EXPECT_TRUE(automation.Type(" (this station)").ok);
      EXPECT_EQ(OtherStation(script), 0) << StationOutput();
      EXPECT_TRUE(automation.Click("OK", true).ok);
      EXPECT_TRUE(automation.WaitIdle().ok);
      answer(automation);
    }
    return response;
  }

  static void Expect(host::Automation& automation, const std::string& message,
                     const std::string& button) {
    EXPECT_TRUE(automation.WaitIdle().ok);
    EXPECT_TRUE(automation.ExpectMessage(message).ok) << automation.Dump();
    EXPECT_TRUE(automation.Answer(button).ok) << button;
  }

  std::string name_before_;
  testing::TempWorkingDirectory directory_;
};

const char kSaveAgain[] =
    "An error was experienced changing this record.  Do you want to try to save again?";

TEST_F(TwoStations, TheSecondToSaveAChangedRecordIsToldAndOverwritesNothing) {
  const std::string change =
      "menu \"&Browse\" \"&Browse Patients\"\n"
      "click \"&Change\"\n"
      "click 7\n"
      "key End\n"
      "type \" (other station)\"\n"
      "click \"OK\"\n"
      "expect-title \"Browse the Patients File\"\n"
      "click \"Close\"\n"
      "menu \"&File\" \"E&xit\"\n";
  int32_t response = EditWhileOtherStationRuns(change, [](host::Automation& automation) {
    Expect(automation, "This record was changed by another station.", "OK");
    Expect(automation, kSaveAgain, "&Yes");  // tried again: refused again
    Expect(automation, "This record was changed by another station.", "OK");
    Expect(automation, kSaveAgain, "&No");
  });
  EXPECT_EQ(response, kRespCancelled);
  EXPECT_EQ(StoredPatients(), std::make_pair(1, name_before_ + " (other station)"));
}

TEST_F(TwoStations, TheSecondToSaveADeletedRecordIsToldAndAddsNothing) {
  const std::string remove =
      "menu \"&Browse\" \"&Browse Patients\"\n"
      "click \"&Delete\"\n"
      "answer \"OK\"\n"
      "expect-title \"Browse the Patients File\"\n"
      "click \"Close\"\n"
      "menu \"&File\" \"E&xit\"\n";
  int32_t response = EditWhileOtherStationRuns(remove, [](host::Automation& automation) {
    Expect(automation,
           "An error (Record Not Available (33)) was experienced when attempting to update a "
           "record from the file.  Probable Cause: Patients.",
           "OK");
    Expect(automation, kSaveAgain, "&No");
  });
  EXPECT_EQ(response, kRespCancelled);
  EXPECT_EQ(StoredPatients().first, 0);
}

}  // namespace
}  // namespace carelog::app
