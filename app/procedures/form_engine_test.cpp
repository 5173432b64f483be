// The form engine driven as a user drives it: a form runs on a procedure thread of a headless
// program, the test presses its buttons and answers its messages through automation, and the
// stored records are read back from the data files afterwards.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <thread>

#include "app/app_testing.h"
#include "app/data/keys.h"
#include "app/data/records.h"
#include "app/patterns/form_record.h"
#include "app/procedure_globals.h"
#include "app/procedures/form_procedures.h"
#include "app/procedures/patient_change_testing.h"
#include "runtime/host/automation.h"
#include "runtime/store/file_statements.h"
#include "runtime/window/window_testing.h"

namespace carelog::app {
namespace {

namespace wt = window::testing;
using std::chrono::milliseconds;

void Blank(void* buffer, size_t size) {
  std::memset(buffer, 0, size);
}

void SetText(char* field, size_t size, const std::string& text) {
  std::memset(field, ' ', size);
  std::memcpy(field, text.data(), std::min(size, text.size()));
}

std::string Text(const char* field, size_t size) {
  std::string text(field, size);
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

void AddPatient(int32_t number) {
  Blank(&appdata::PAT, sizeof appdata::PAT);
  appdata::PAT.PATIENT_NUMBER = number;
  ASSERT_EQ(store::Add(appdata::PatientsFile()), 0);
}

// Medication and family records written directly, as another procedure would have.
void AddMedication(int32_t patient, int32_t number) {
  store::FileDeclaration& file = appdata::MedicationsFile();
  Blank(&appdata::MED, sizeof appdata::MED);
  appdata::MED.PATIENT_NUMBER = patient;
  appdata::MED.RECORD_NO = number;
  ASSERT_EQ(store::Add(file), 0);
}

void AddFamily(int32_t patient, const std::string& name) {
  Blank(&appdata::FAM, sizeof appdata::FAM);
  appdata::FAM.PATIENT_NUMBER = patient;
  SetText(appdata::FAM.NAME, sizeof appdata::FAM.NAME, name);
  ASSERT_EQ(store::Add(appdata::FamilyFile()), 0);
}

std::vector<int32_t> MedicationNumbers() {
  std::vector<int32_t> numbers;
  store::FileDeclaration& file = appdata::MedicationsFile();
  store::Set(appdata::Key(appdata::MedKey::RECORD_KEY));
  while (store::Next(file) == 0) numbers.push_back(int32_t{appdata::MED.RECORD_NO});
  return numbers;
}

constexpr appdata::FileId kFiles[] = {
    appdata::FileId::kPatients, appdata::FileId::kMedications,
    appdata::FileId::kFamily,   appdata::FileId::kDischargeSummary,
    appdata::FileId::kCalendar, appdata::FileId::kProgressNotes,
};

class FormEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (appdata::FileId id : kFiles) {
      store::FileDeclaration& file = appdata::Declaration(id);
      ASSERT_EQ(store::Create(file), 0);
      ASSERT_EQ(store::Open(file, 0x42), 0);
    }
  }
  void TearDown() override {
    for (appdata::FileId id : kFiles) store::Close(appdata::Declaration(id));
  }

  // Runs `call` as the program's procedure (it opens the form) while `user` acts on it from
  // this thread; returns the response the form left.
  int32_t Run(const std::function<void()>& call, const std::function<void()>& user) {
    int32_t response = -1;
    {
      wt::Program program([&] {
        call();
        response = ProcResponse;
      });
      host::Automation automation;
      EXPECT_TRUE(automation.WaitForWindow().ok);
      user();
    }
    return response;
  }

  static void Click(const std::string& text) {
    host::Automation automation;
    EXPECT_TRUE(automation.WaitIdle().ok);
    EXPECT_TRUE(automation.Click(text, true).ok) << text;
  }
  static void Answer(const std::string& button, const std::string& expected) {
    host::Automation automation;
    EXPECT_TRUE(automation.WaitIdle().ok);
    EXPECT_TRUE(automation.ExpectMessage(expected).ok) << expected;
    EXPECT_TRUE(automation.Answer(button).ok) << button;
  }
  static void ClickControl(int equate) {
    host::Automation automation;
    EXPECT_TRUE(automation.WaitIdle().ok);
    EXPECT_TRUE(automation.Click(std::to_string(equate), false).ok) << equate;
  }
  static void Key(const std::string& combination) {
    host::Automation automation;
    EXPECT_TRUE(automation.WaitIdle().ok);
    EXPECT_TRUE(automation.Key(combination).ok) << combination;
  }
  // The patient select browse opened by a missing number on the medications form is closed
  // without a choice: the number is refused and the form is back.
  static void CloseSelectBrowseUnchosen() {
    host::Automation automation;
    automation.WaitIdle();
    EXPECT_EQ(automation.CurrentTitle(), "Select a Patients Record");
    Click("Close");
    Answer("OK", "The value for MED:Patient_Number must be found in the Patients file.");
    automation.WaitIdle();
    EXPECT_EQ(automation.CurrentTitle(), "Adding a Medications Record");
  }
  static void Type(const std::string& text) {
    host::Automation automation;
    EXPECT_TRUE(automation.WaitIdle().ok);
    EXPECT_TRUE(automation.Type(text).ok);
  }

  testing::TempWorkingDirectory directory_;
};

// An insert on the medications form with patient 5 current (and in the patients file).
std::function<void()> InsertMedication(int32_t patient) {
  return [patient] {
    Blank(&appdata::PAT, sizeof appdata::PAT);
    appdata::PAT.PATIENT_NUMBER = patient;
    SetText(appdata::PAT.NAME, sizeof appdata::PAT.NAME, "Ruth Ames");
    Blank(&appdata::MED, sizeof appdata::MED);
    appdata::MED.PATIENT_NUMBER = patient;
    ProcRequest = kReqInsert;
    procedures::UPDATEMEDICATIONS();
  };
}

TEST_F(FormEngineTest, InsertNumbersAfterTheHighestRecordOfAnyPatient) {
  AddPatient(5);
  AddPatient(6);
  EXPECT_EQ(Run(InsertMedication(5), [] { Click("OK"); }), kRespCompleted);
  EXPECT_EQ(MedicationNumbers(), (std::vector<int32_t>{1}));

  AddMedication(9, 2);
  AddMedication(3, 7);
  EXPECT_EQ(Run(InsertMedication(6), [] { Click("OK"); }), kRespCompleted);
  EXPECT_EQ(MedicationNumbers(), (std::vector<int32_t>{1, 2, 7, 8}));
  store::Get(appdata::MedicationsFile(), appdata::Key(appdata::MedKey::RECORD_KEY));
  EXPECT_EQ(int32_t{appdata::MED.PATIENT_NUMBER}, 6);
}

TEST_F(FormEngineTest, CancelledInsertLeavesNothingBehind) {
  AddMedication(3, 4);
  std::string title;
  EXPECT_EQ(Run(InsertMedication(5),
                [&] {
                  host::Automation automation;
                  automation.WaitIdle();
                  title = automation.CurrentTitle();
                  Click("Cancel");
                }),
            kRespCancelled);
  EXPECT_EQ(title, "Adding a Medications Record");
  EXPECT_EQ(MedicationNumbers(), (std::vector<int32_t>{4}));
}

// A change of the family record of patient 5 on the note form.
std::function<void()> ChangeFamily() {
  return [] {
    testing::ChangeFirstRecord(appdata::FamilyFile(),
                               appdata::Key(appdata::FamKey::KEY_PATIENT_NUMBER),
                               procedures::UPDATEFAMILY);
  };
}

std::string StoredFamilyName() {
  store::Set(appdata::Key(appdata::FamKey::KEY_PATIENT_NUMBER));
  if (store::Next(appdata::FamilyFile()) != 0) return "?";
  return Text(appdata::FAM.NAME, sizeof appdata::FAM.NAME);
}

constexpr int kFamilyName = 5;

TEST_F(FormEngineTest, NoteFormAsksBeforeDroppingChanges) {
  AddPatient(5);
  AddFamily(5, "Ann");
  auto edit_then_cancel = [](const std::string& answer) {
    return [answer] {
      ClickControl(kFamilyName);
      Type("e");
      Click("Cancel");
      Answer(answer, "Do you want to save the changes to this record?");
    };
  };
  EXPECT_EQ(Run(ChangeFamily(), edit_then_cancel("&No")), kRespCancelled);
  EXPECT_EQ(StoredFamilyName(), "Ann");
  EXPECT_EQ(Run(ChangeFamily(), edit_then_cancel("&Yes")), kRespCompleted);
  EXPECT_NE(StoredFamilyName(), "Ann");
}

TEST_F(FormEngineTest, NoteFormClosesWithoutAskingWhenNothingChanged) {
  AddFamily(5, "Ann");
  EXPECT_EQ(Run(ChangeFamily(),
                [] {
                  Click("Cancel");
                  host::Automation automation;
                  automation.WaitIdle();
                  std::string text;
                  EXPECT_FALSE(automation.ExpectMessage("").ok);
                }),
            kRespCancelled);
}

TEST_F(FormEngineTest, PlainFormCancelClosesWithoutAskingOrWriting) {
  AddPatient(5);
  AddPatient(9);
  AddMedication(5, 3);
  auto change = [] {
    store::FileDeclaration& file = appdata::MedicationsFile();
    ASSERT_EQ(store::Open(file, 0x42), 0);
    store::Watch(file);
    store::Set(appdata::Key(appdata::MedKey::RECORD_KEY));
    ASSERT_EQ(store::Next(file), 0);
    ProcRequest = kReqChange;
    procedures::UPDATEMEDICATIONS();
    store::Close(file);
  };
  std::string title;
  EXPECT_EQ(Run(change,
                [&] {
                  host::Automation automation;
                  automation.WaitIdle();
                  title = automation.CurrentTitle();
                  Type("9");
                  Click("Cancel");
                  automation.WaitIdle();
                  EXPECT_FALSE(automation.ExpectMessage("").ok);
                }),
            kRespCancelled);
  EXPECT_EQ(title, "Changing a Medications Record");
  store::Set(appdata::Key(appdata::MedKey::RECORD_KEY));
  ASSERT_EQ(store::Next(appdata::MedicationsFile()), 0);
  EXPECT_EQ(int32_t{appdata::MED.PATIENT_NUMBER}, 5);
}

// A number not in the patients file opens the patient select browse; closing it without a
// choice leaves the number refused and the form open on it. Typing the number and pressing OK
// checks the field twice (its own acceptance, then OK's check), but offers the browse once.
TEST_F(FormEngineTest, PatientNumberNotInThePatientsFileIsRefused) {
  AddPatient(5);
  EXPECT_EQ(Run(InsertMedication(5),
                [] {
                  Type("77");
                  Click("OK");
                  CloseSelectBrowseUnchosen();
                  host::Automation automation;
                  EXPECT_FALSE(automation.ExpectMessage("").ok) << "no second warning";
                  // A later OK is a new request: the browse is offered again.
                  Click("OK");
                  CloseSelectBrowseUnchosen();
                  Click("Cancel");
                }),
            kRespCancelled);
  EXPECT_TRUE(MedicationNumbers().empty());
}

// Tab out of the patient number, which sits on the first tab of the form's sheet, leaves the
// field and runs its lookup; the sheet keeps its tab. Closing the select browse without a
// choice puts the focus back on the refused number.
TEST_F(FormEngineTest, TabLeavesALookupFieldOnASheetTabAndRunsTheLookup) {
  AddPatient(5);
  EXPECT_EQ(Run(InsertMedication(5),
                [] {
                  Type("77");
                  Key("Tab");
                  CloseSelectBrowseUnchosen();
                  host::ControlInfo number = wt::ControlInfoOf(3);
                  EXPECT_TRUE(number.visible && number.focused);
                  EXPECT_EQ(number.text, "77");
                  Click("Cancel");
                }),
            kRespCancelled);
  EXPECT_TRUE(MedicationNumbers().empty());
}

// A missing number typed on the medication form is replaced by the patient chosen in the
// select browse; the OK that was pressed then goes on and stores the record under that patient.
TEST_F(FormEngineTest, PatientChosenInTheSelectBrowseReplacesAMissingNumber) {
  AddPatient(5);
  AddPatient(6);
  EXPECT_EQ(Run(InsertMedication(5),
                [] {
                  Type("77");
                  Click("OK");
                  host::Automation automation;
                  automation.WaitIdle();
                  EXPECT_EQ(automation.CurrentTitle(), "Select a Patients Record");
                  EXPECT_TRUE(automation.Key("End").ok);
                  Click("&Select");
                }),
            kRespCompleted);
  ASSERT_EQ(MedicationNumbers(), (std::vector<int32_t>{1}));
  store::Get(appdata::MedicationsFile(), appdata::Key(appdata::MedKey::RECORD_KEY));
  EXPECT_EQ(int32_t{appdata::MED.PATIENT_NUMBER}, 6);
}

// The other forms of a file that holds a patient number look it up alike, whatever their
// flavour or numbering: a note form numbered on insert, one that also opens further files and
// shows the patient in its title, and a plain form that adds its record only on completion.
struct MissingPatientCase {
  const char* form;
  void (*call)();
  appdata::FileId file;
  const char* patient_field;
  const char* title;
};

TEST_F(FormEngineTest, EveryFormTakesThePatientChosenForAMissingNumber) {
  const MissingPatientCase cases[] = {
      {"UPDATEMEDS", procedures::UPDATEMEDS, appdata::FileId::kMedications, "MED:PATIENT_NUMBER",
       "Medications"},
      {"DISCHARGESUMMARY", procedures::DISCHARGESUMMARY, appdata::FileId::kDischargeSummary,
       "DIS:PATIENT_NUMBER", "Discharge Summary  (New)"},
      {"UPDATECALENDAR", procedures::UPDATECALENDAR, appdata::FileId::kCalendar,
       "DAT:PATIENT_NUMBER", "Adding a Calendar Record"},
  };
  AddPatient(5);
  AddPatient(6);
  for (const MissingPatientCase& c : cases) {
    SCOPED_TRACE(c.form);
    store::FileDeclaration& file = appdata::Declaration(c.file);
    auto insert = [&c, &file] {
      Blank(&appdata::PAT, sizeof appdata::PAT);
      appdata::PAT.PATIENT_NUMBER = 5;
      std::memset(file.buffer, 0, file.record_size);
      WriteNumber(ResolveField(c.file, c.patient_field), 5);
      ProcRequest = kReqInsert;
      c.call();
    };
    std::string title;
    EXPECT_EQ(Run(insert,
                  [&title] {
                    host::Automation automation;
                    automation.WaitIdle();
                    title = automation.CurrentTitle();
                    Type("77");
                    Click("OK");
                    automation.WaitIdle();
                    EXPECT_EQ(automation.CurrentTitle(), "Select a Patients Record");
                    EXPECT_TRUE(automation.Key("End").ok);
                    Click("&Select");
                  }),
              kRespCompleted);
    EXPECT_EQ(title, c.title);
    EXPECT_EQ(store::Records(file), 1u);
    store::Set(file);
    ASSERT_EQ(store::Next(file), 0);
    EXPECT_EQ(ReadNumber(ResolveField(c.file, c.patient_field)), 6);
  }
}

TEST_F(FormEngineTest, DeleteAnsweredCancelDeletesNothing) {
  AddMedication(5, 3);
  auto remove = [] {
    store::FileDeclaration& file = appdata::MedicationsFile();
    ASSERT_EQ(store::Open(file, 0x42), 0);
    store::Watch(file);
    store::Set(appdata::Key(appdata::MedKey::RECORD_KEY));
    ASSERT_EQ(store::Next(file), 0);
    ProcRequest = kReqDelete;
    procedures::UPDATEMEDICATIONS();
    store::Close(file);
  };
  const std::string confirm =
      "You've selected to delete the highlighted record.  Press OK to confirm deletion of this "
      "record.";
  EXPECT_EQ(Run(remove, [&] { Answer("Cancel", confirm); }), kRespCancelled);
  EXPECT_EQ(MedicationNumbers(), (std::vector<int32_t>{3}));
  EXPECT_EQ(Run(remove, [&] { Answer("OK", confirm); }), kRespCompleted);
  EXPECT_TRUE(MedicationNumbers().empty());
}

}  // namespace
}  // namespace carelog::app
