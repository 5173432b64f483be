// The patient form's Medicare number as a nurse meets it: shown with its dashes and claim
// letter, typed the same way, kept as the entered characters, refused where a digit belongs to
// a letter, and emptied when the nurse clears it.
#include <gtest/gtest.h>

#include <cstring>
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

constexpr const char* kMedicare = "30";  // the entry on the "General (cont.)" tab

std::string Clipped(const char* field, size_t size) {
  std::string text(field, size);
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

void StoreMedicare(const std::string& number) {
  store::FileDeclaration& file = appdata::PatientsFile();
  ASSERT_EQ(store::Open(file, 0x42), 0);
  store::Set(appdata::Key(appdata::PatKey::KEY_PATIENT_NUMBER));
  ASSERT_EQ(store::Next(file), 0);
  std::memset(appdata::PAT.MEDICARE_NUMBER, ' ', sizeof appdata::PAT.MEDICARE_NUMBER);
  std::memcpy(appdata::PAT.MEDICARE_NUMBER, number.data(), number.size());
  ASSERT_EQ(store::Put(file), 0);
  store::Close(file);
}

std::string StoredMedicare() {
  store::FileDeclaration& file = appdata::PatientsFile();
  EXPECT_EQ(store::Open(file, 0x42), 0);
  store::Set(appdata::Key(appdata::PatKey::KEY_PATIENT_NUMBER));
  EXPECT_EQ(store::Next(file), 0);
  std::string number = Clipped(appdata::PAT.MEDICARE_NUMBER, sizeof appdata::PAT.MEDICARE_NUMBER);
  store::Close(file);
  return number;
}

class PatientFormMedicare : public ::testing::Test {
 protected:
  void SetUp() override {
    sample::SampleCounts counts;
    std::string error;
    ASSERT_EQ(sample::WriteSampleData({1, 1}, &counts, &error), 0) << error;
    ASSERT_NO_FATAL_FAILURE(StoreMedicare("820670109A"));
  }

  // Changes the one patient on the form; `nurse` acts on the Medicare entry, then OK is pressed.
  // The form's response.
  int32_t ChangePatient(const std::function<void(host::Automation&)>& nurse) {
    int32_t response = -1;
    wt::Program program([&response] { testing::ChangeFirstPatient(&response); });
    host::Automation automation;
    EXPECT_TRUE(automation.WaitForWindow("Changing a Patients Record").ok);
    EXPECT_TRUE(automation.Click("General (cont.)", true).ok);
    EXPECT_TRUE(automation.WaitIdle().ok);
    nurse(automation);
    EXPECT_TRUE(automation.Click("OK", true).ok);
    EXPECT_TRUE(automation.WaitIdle().ok);
    program.Join();
    return response;
  }

  static void Retype(host::Automation& automation, const std::string& text) {
    EXPECT_TRUE(automation.Click(kMedicare, false).ok);
    EXPECT_TRUE(automation.Key("End").ok);
    for (int i = 0; i < 14; ++i) EXPECT_TRUE(automation.Key("Backspace").ok);
    if (!text.empty()) {
      EXPECT_TRUE(automation.Type(text).ok);
    }
    EXPECT_TRUE(automation.Key("Tab").ok);
    EXPECT_TRUE(automation.WaitIdle().ok);
  }

  testing::TempWorkingDirectory directory_;
};

TEST_F(PatientFormMedicare, ShowsTheClaimLetterAndKeepsTheOneTyped) {
  EXPECT_EQ(ChangePatient([](host::Automation& automation) {
              EXPECT_TRUE(automation.ExpectText(kMedicare, "820-67-0109A").ok)
                  << automation.Dump();
              Retype(automation, "123-45-6789B");
              EXPECT_TRUE(automation.ExpectText(kMedicare, "123-45-6789B").ok) << automation.Dump();
            }),
            kRespCompleted);
  EXPECT_EQ(StoredMedicare(), "123456789B");
}

TEST_F(PatientFormMedicare, RefusesALetterWhereADigitBelongsAndKeepsTheText) {
  EXPECT_EQ(ChangePatient([](host::Automation& automation) {
              Retype(automation, "12O-45-6789B");
              host::ControlInfo entry;
              ASSERT_TRUE(automation.FindControl(kMedicare, false, &entry));
              EXPECT_TRUE(entry.focused) << "the refused entry keeps the focus";
              EXPECT_TRUE(automation.ExpectText(kMedicare, "12O-45-6789B").ok);
              Retype(automation, "120-45-6789B");
            }),
            kRespCompleted);
  EXPECT_EQ(StoredMedicare(), "120456789B");
}

TEST_F(PatientFormMedicare, AClearedNumberIsStoredBlank) {
  EXPECT_EQ(ChangePatient([](host::Automation& automation) { Retype(automation, ""); }),
            kRespCompleted);
  EXPECT_EQ(StoredMedicare(), "");
}

}  // namespace
}  // namespace carelog::app
