// The vital-sign entries of the summary forms and the progress note as a nurse meets them: a
// range whose lowest value was never recorded shows blank and keeps its starting point when the
// form is saved; a value typed there is shown and stored; a tenths entry not recorded shows
// blank, takes a typed value and can be cleared again.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "app/app_testing.h"
#include "app/data/records.h"
#include "app/procedure_globals.h"
#include "app/procedures/form_procedures.h"
#include "app/procedures/vital_ranges.h"
#include "runtime/host/automation.h"
#include "runtime/store/file_statements.h"
#include "runtime/window/window_testing.h"

namespace carelog::app {
namespace {

namespace wt = window::testing;
namespace vr = vital_ranges;
using appdata::FileId;

constexpr FileId kFiles[] = {FileId::kPatients, FileId::kDischargeSummary, FileId::kSixtyDay,
                             FileId::kProgressNotes, FileId::kMedications};

// The controls of the forms' entries (their window definitions).
constexpr const char* kDischargeFrom[] = {"22", "23", "24", "25", "26"};  // BP .. weight
constexpr const char* kSixtyLowest[] = {"19", "23", "27"};                // pulse, resp, BP
constexpr const char* kNoteTemperature = "32";
constexpr const char* kNoteWeight = "34";

class VitalEntries : public ::testing::Test {
 protected:
  void SetUp() override {
    for (FileId id : kFiles) {
      store::FileDeclaration& file = appdata::Declaration(id);
      ASSERT_EQ(store::Create(file), 0);
      ASSERT_EQ(store::Open(file, 0x42), 0);
    }
    std::memset(&appdata::PAT, 0, sizeof appdata::PAT);
    appdata::PAT.PATIENT_NUMBER = 5;  // no weight recorded
    ASSERT_EQ(store::Add(appdata::PatientsFile()), 0);
  }
  void TearDown() override {
    for (FileId id : kFiles) store::Close(appdata::Declaration(id));
  }

  // Inserts a record of `file` through `form` with patient 5 current, while `nurse` acts on
  // the form's `tab`; then OK (`ok`) saves it. The form's response.
  static int32_t Insert(FileId file, void (*form)(), const std::string& tab, const std::string& ok,
                        const std::function<void(host::Automation&)>& nurse) {
    int32_t response = -1;
    {
      wt::Program program([&] {
        std::memset(&appdata::PAT, 0, sizeof appdata::PAT);
        appdata::PAT.PATIENT_NUMBER = 5;
        store::FileDeclaration& record = appdata::Declaration(file);
        std::memset(record.buffer, 0, record.record_size);
        ProcRequest = kReqInsert;
        form();
        response = ProcResponse;
      });
      host::Automation automation;
      EXPECT_TRUE(automation.WaitForWindow().ok);
      EXPECT_TRUE(automation.Click(tab, true).ok) << tab;
      EXPECT_TRUE(automation.WaitIdle().ok);
      nurse(automation);
      EXPECT_TRUE(automation.Click(ok, true).ok);
      EXPECT_TRUE(automation.WaitIdle().ok);
    }
    return response;
  }

  // Clicks the entry (which selects its text), types `text` over it (nothing: clears it) and
  // leaves it with Tab.
  static void Retype(host::Automation& automation, const char* entry, const std::string& text) {
    EXPECT_TRUE(automation.Click(entry, false).ok) << entry;
    EXPECT_TRUE(automation.Key("Backspace").ok);
    if (!text.empty()) {
      EXPECT_TRUE(automation.Type(text).ok);
    }
    EXPECT_TRUE(automation.Key("Tab").ok);
    EXPECT_TRUE(automation.WaitIdle().ok);
  }

  // The one record of `file`, read into its buffer.
  static void ReadTheRecord(FileId file) {
    store::FileDeclaration& declaration = appdata::Declaration(file);
    ASSERT_EQ(store::Records(declaration), 1u);
    store::Set(declaration);
    ASSERT_EQ(store::Next(declaration), 0);
  }

  testing::TempWorkingDirectory directory_;
};

TEST_F(VitalEntries, ADischargeRangeNotRecordedShowsBlankAndKeepsItsStartingPoint) {
  EXPECT_EQ(Insert(FileId::kDischargeSummary, procedures::DISCHARGESUMMARY, "Vital Signs", "OK",
                   [](host::Automation& automation) {
                     for (const char* entry : kDischargeFrom) {
                       EXPECT_TRUE(automation.ExpectText(entry, "").ok) << automation.Dump();
                     }
                     Retype(automation, "24", "58");  // the lowest pulse recorded
                     EXPECT_TRUE(automation.ExpectText("24", "58").ok);
                   }),
            kRespCompleted);
  ASSERT_NO_FATAL_FAILURE(ReadTheRecord(FileId::kDischargeSummary));
  // Record fields are packed: each is copied out (+) before the check takes a reference to it.
  EXPECT_EQ(+appdata::DIS.BP[0], vr::kDischargeBp);
  EXPECT_EQ(+appdata::DIS.TEMPERATURE[0], vr::kDischargeTemperature);
  EXPECT_EQ(+appdata::DIS.P[0], 58);
  EXPECT_EQ(+appdata::DIS.R[0], vr::kDischargeResp);
  EXPECT_EQ(+appdata::DIS.WEIGHT[0], vr::kDischargeWeight);
}

TEST_F(VitalEntries, ASixtyDayLowestNotRecordedShowsBlankAndATypedOneIsStored) {
  EXPECT_EQ(Insert(FileId::kSixtyDay, procedures::UPDATESIXTYDAY, "Summary", "OK",
                   [](host::Automation& automation) {
                     for (const char* entry : kSixtyLowest) {
                       EXPECT_TRUE(automation.ExpectText(entry, "").ok) << automation.Dump();
                     }
                     Retype(automation, "27", "108");
                     EXPECT_TRUE(automation.ExpectText("27", "108").ok);
                     Retype(automation, "19", "");  // cleared: nothing recorded, 0
                     EXPECT_TRUE(automation.ExpectText("19", "").ok);
                   }),
            kRespCompleted);
  ASSERT_NO_FATAL_FAILURE(ReadTheRecord(FileId::kSixtyDay));
  EXPECT_EQ(+appdata::SIX.LOWPULSE, 0);
  EXPECT_EQ(+appdata::SIX.LOWRESP, vr::kSixtyDayResp);
  EXPECT_EQ(+appdata::SIX.LOWBP, 108);
}

TEST_F(VitalEntries, ATenthsEntryNotRecordedShowsBlankTakesAValueAndClearsAgain) {
  EXPECT_EQ(Insert(FileId::kProgressNotes, procedures::UPDATEPROGRESSNOTES, "Vital Signs", "OK",
                   [](host::Automation& automation) {
                     EXPECT_TRUE(automation.ExpectText(kNoteWeight, "").ok) << automation.Dump();
                     EXPECT_TRUE(automation.ExpectText(kNoteTemperature, "").ok);
                     Retype(automation, kNoteWeight, "165.5");
                     EXPECT_TRUE(automation.ExpectText(kNoteWeight, "165.5").ok);
                     Retype(automation, kNoteWeight, "");
                     EXPECT_TRUE(automation.ExpectText(kNoteWeight, "").ok);
                     Retype(automation, kNoteTemperature, "0");  // zero is "not taken" too
                     EXPECT_TRUE(automation.ExpectText(kNoteTemperature, "").ok);
                     Retype(automation, kNoteTemperature, "98.6");
                     EXPECT_TRUE(automation.ExpectText(kNoteTemperature, "98.6").ok);
                   }),
            kRespCompleted);
  ASSERT_NO_FATAL_FAILURE(ReadTheRecord(FileId::kProgressNotes));
  EXPECT_EQ(+appdata::PRO.WEIGHT, 0);
  EXPECT_EQ(+appdata::PRO.TEMPERATURE, 986);
}

}  // namespace
}  // namespace carelog::app
