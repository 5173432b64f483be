// A day at the agency replayed through the real executable on sample data: what the users do
// and do not do must show in the data files afterwards, checked by ldstool as an outsider.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/agency_day_testing.h"
#include "runtime/values/standard_date.h"

namespace carelog::app {
namespace {

namespace fs = std::filesystem;
using testing::CountWith;
using testing::DataFiles;
using testing::Record;
using testing::Result;
using testing::Shell;
using testing::Slurp;

class NurseDay : public testing::AgencyDay {};

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

// Patient 1 (first by agency name) is renumbered 901: the records it owns follow, its aide
// assignments keep the number they were made under. Then physician 1 (first by name) is
// deleted: the patients stay, with the physician cleared.
TEST_F(NurseDay, ARenumberedPatientTakesItsRecordsAndADeletedPhysicianIsClearedFromPatients) {
  const char* kChildren[] = {"Calendar.LDS", "CarePlan.LDS", "Doctors.LDS",   "Family.LDS",
                             "MONTHCAL.LDS", "Meds.LDS",     "Narrative.LDS", "ORDERS.LDS",
                             "Progress.LDS", "SIXTYDAY.LDS", "Patients.LDS"};
  std::map<std::string, std::vector<Record>> before;
  for (const char* file : kChildren) before[file] = Records(file);
  std::vector<Record> aides = Records("HHA_ASSIGN.LDS");
  ASSERT_GT(CountWith(before["Progress.LDS"], ":PATIENT_NUMBER", "1"), 0);
  ASSERT_GT(CountWith(aides, ":PATIENT_NUMBER", "1"), 0);
  int doctors_patients = CountWith(before["Patients.LDS"], "PAT:PHYSICIAN_NAME", "1");
  ASSERT_GT(doctors_patients, 0);

  Result run = Script(
      "menu \"&Browse\" \"&Browse Patients\"\n"
      "click \"&Change\"\n"
      "expect-title \"Changing a Patients Record\"\n"
      "click 3\n"
      "key End Backspace\n"
      "type \"901\"\n"
      "click \"OK\"\n"
      "expect-title \"Browse the Patients File\"\n"
      "click \"Close\"\n"
      "menu \"&Browse\" \"Browse Doc&tors\"\n"
      "expect-title \"Browse the Physcians File\"\n"
      "click \"&Delete\"\n"
      "answer \"OK\"\n"
      "expect-title \"Browse the Physcians File\"\n"
      "click \"Close\"\n");
  ASSERT_EQ(run.status, 0) << run.err;

  for (const char* file : kChildren) {
    SCOPED_TRACE(file);
    std::vector<Record> after = Records(file);
    EXPECT_EQ(after.size(), before[file].size());
    EXPECT_EQ(CountWith(after, ":PATIENT_NUMBER", "1"), 0);
    EXPECT_EQ(CountWith(after, ":PATIENT_NUMBER", "901"),
              CountWith(before[file], ":PATIENT_NUMBER", "1"));
  }
  EXPECT_EQ(Records("HHA_ASSIGN.LDS"), aides);
  std::vector<Record> patients = Records("Patients.LDS");
  EXPECT_EQ(CountWith(patients, "PAT:PHYSICIAN_NAME", "1"), 0);
  EXPECT_EQ(CountWith(patients, "PAT:PHYSICIAN_NAME", "0"),
            CountWith(before["Patients.LDS"], "PAT:PHYSICIAN_NAME", "0") + doctors_patients);
  EXPECT_EQ(CountWith(Records("PHYSCIANS.LDS"), "PHY:DOCNO", "1"), 0);
  ExpectSoundFiles();
}

// Through the first patient's form (patient 1): a progress note, a medication and a family
// member are added from the boxes on its tabs, then the patient is renumbered 950 and saved.
// The three new records are stored field by field under the new number with nothing left
// under the old one, and the files stay sound.
TEST_F(NurseDay, RecordsAddedThroughThePatientsFormFollowItsNewNumber) {
  std::vector<Record> notes = Records("Progress.LDS");
  std::vector<Record> medications = Records("Meds.LDS");
  std::vector<Record> family = Records("Family.LDS");
  Result run = Script(
      "menu \"&Browse\" \"&Browse Patients\"\n"
      "click \"&Change\"\n"
      "expect-title \"Changing a Patients Record\"\n"
      "expect-text 3 \"1\"\n"
      "click \"ProgressNotes\"\n"
      "click 98\n"
      "expect-title \"Update Records...  (New)\"\n"
      "click \"OK\"\n"
      "expect-title \"Changing a Patients Record\"\n"
      "click \"Medications\"\n"
      "click 106\n"
      "expect-title \"Adding a Medications Record\"\n"
      "click \"Lines 1-8\"\n"
      "click 10\n"
      "type \"Lisinopril\"\n"
      "click \"OK\"\n"
      "expect-title \"Changing a Patients Record\"\n"
      "click \"Family\"\n"
      "click 90\n"
      "click 5\n"
      "type \"Grace Okafor\"\n"
      "click \"OK\"\n"
      "expect-title \"Changing a Patients Record\"\n"
      "click \"General\"\n"
      "click 3\n"
      "key End Backspace\n"
      "type \"950\"\n"
      "click \"OK\"\n"
      "expect-title \"Browse the Patients File\"\n"
      "click \"Close\"\n"
      "menu \"&File\" \"E&xit\"\n");
  ASSERT_EQ(run.status, 0) << run.err;

  std::vector<Record> notes_after = Records("Progress.LDS");
  ASSERT_EQ(notes_after.size(), notes.size() + 1);
  EXPECT_EQ(CountWith(notes_after, "PRO:PATIENT_NUMBER", "1"), 0);
  EXPECT_EQ(CountWith(notes_after, "PRO:PATIENT_NUMBER", "950"),
            CountWith(notes, "PRO:PATIENT_NUMBER", "1") + 1);
  const Record& note = notes_after.back();
  EXPECT_EQ(note.at("PRO:PATIENT_NUMBER"), "950");
  EXPECT_EQ(note.at("PRO:LUNG_SOUNDS"), "Clear") << "primed on insert";
  EXPECT_EQ(note.at("PRO:HOMEBOUND_STATUS"), "Decreased Endurance");

  std::vector<Record> medications_after = Records("Meds.LDS");
  ASSERT_EQ(medications_after.size(), medications.size() + 1);
  const Record& medication = medications_after.back();
  EXPECT_EQ(medication.at("MED:PATIENT_NUMBER"), "950");
  EXPECT_TRUE(medication.at("MED:DRUG").starts_with("Lisinopril")) << medication.at("MED:DRUG");
  EXPECT_EQ(CountWith(medications_after, "MED:PATIENT_NUMBER", "1"), 0);

  std::vector<Record> family_after = Records("Family.LDS");
  ASSERT_EQ(family_after.size(), family.size() + 1);
  EXPECT_EQ(CountWith(family_after, "FAM:NAME", "Grace Okafor"), 1);
  EXPECT_EQ(CountWith(family_after, "FAM:PATIENT_NUMBER", "950"),
            CountWith(family, "FAM:PATIENT_NUMBER", "1") + 1);
  EXPECT_EQ(CountWith(Records("Patients.LDS"), "PAT:PATIENT_NUMBER", "950"), 1);
  ExpectSoundFiles();
}

// A medication sheet typed for a patient number that nobody has: the patient select browse
// opens, the nurse finds the patient by typing the first letters of the last name (a capital
// first) on the "by Last Name" order, selects, and the sheet is stored under that patient's
// number.
TEST_F(NurseDay, AMedicationForAMissingPatientIsStoredUnderThePatientFoundByName) {
  // A patient whose last name starts with three letters no other last name starts with.
  std::map<std::string, std::vector<Record>> by_prefix;
  for (const Record& patient : Records("Patients.LDS")) {
    std::string prefix = patient.at("PAT:LAST_NAME").substr(0, 3);
    for (char& c : prefix) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    by_prefix[prefix].push_back(patient);
  }
  auto unique = std::find_if(by_prefix.rbegin(), by_prefix.rend(), [](const auto& entry) {
    return entry.second.size() == 1 && entry.first.size() == 3 &&
           std::all_of(entry.first.begin(), entry.first.end(), ::isalpha);
  });
  ASSERT_NE(unique, by_prefix.rend());
  const std::string chosen = unique->second[0].at("PAT:PATIENT_NUMBER");
  // The keys that type the letters, the first a capital: " Shift+P E T".
  std::string keys;
  for (char c : unique->first) {
    keys += std::string(keys.empty() ? " Shift+" : " ") + static_cast<char>(std::toupper(c));
  }
  std::vector<Record> before = Records("Meds.LDS");
  Result run = Script(
      "menu \"&Browse\" \"&Browse Patients\"\n"
      "click \"Medications\"\n"
      "expect-title \"Browse the Medications File by MED:Key_Patient_Number\"\n"
      "click \"&Insert\"\n"
      "expect-title \"Medications\"\n"
      "type \"99999\"\n"
      "key Tab\n"
      "expect-title \"Select a Patients Record\"\n"
      "click \"by Last Name\"\n"
      "click 2\n"
      "key" +
      keys +
      "\n"
      "click \"&Select\"\n"
      "expect-title \"Medications\"\n"
      "expect-text 3 \"" +
      chosen +
      "\"\n"
      "click \"OK\"\n"
      "expect-title \"Browse the Medications File by MED:Key_Patient_Number\"\n"
      "click \"Close\"\n"
      "click \"Close\"\n"
      "menu \"&File\" \"E&xit\"\n");
  ASSERT_EQ(run.status, 0) << run.err;

  std::vector<Record> after = Records("Meds.LDS");
  ASSERT_EQ(after.size(), before.size() + 1);
  EXPECT_EQ(CountWith(after, "MED:PATIENT_NUMBER", "99999"), 0);
  EXPECT_EQ(CountWith(after, "MED:PATIENT_NUMBER", chosen),
            CountWith(before, "MED:PATIENT_NUMBER", chosen) + 1);
  EXPECT_EQ(after.back().at("MED:PATIENT_NUMBER"), chosen);
  EXPECT_EQ(after.back().at("MED:CLASS_CODE"), "No|No") << "primed on insert";
  ExpectSoundFiles();
}

// The aide assignment sheet of the first patient printed from the patient's aide browse: one
// page with the sheet's captions and the stored entries; printing changes no record.
TEST_F(NurseDay, TheAideSheetPrintsFromThePatientsAideBrowseAndChangesNothing) {
  std::map<std::string, std::string> before = Dumps();
  Result run = Script(
      "print-to aide.pdf\n"
      "menu \"&Browse\" \"&Browse Patients\"\n"
      "click \"HHA Assign\"\n"
      "expect-title \"Browse the HHA_Assign File by HHA:Patient_No_Key\"\n"
      "click \"&Print\"\n"
      "expect-title \"Browse the HHA_Assign File by HHA:Patient_No_Key\"\n"
      "click \"Close\"\n"
      "click \"Close\"\n");
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_TRUE(fs::exists("aide.pdf"));
  Result text = Shell("pdftotext -layout aide.pdf -");
  if (text.status != 0) GTEST_SKIP() << "pdftotext is not installed";
  for (const char* caption : {"HOME HEALTH AID ASSIGNMENT", "HOMEMAKER/COMPANION ASSIGNMENT",
                              "Tub bath with assist", "Check skin over heels and sacrum"}) {
    EXPECT_NE(text.out.find(caption), std::string::npos) << caption;
  }
  EXPECT_EQ(std::count(text.out.begin(), text.out.end(), '\f'), 1) << "one page";
  EXPECT_EQ(Dumps(), before);
  ExpectSoundFiles();
}

// Two stations on one folder add an emergency visit note for the same patient at the same moment:
// each gets a number of its own, and the folder stays sound while ldstool reads it during the run.
TEST_F(NurseDay, TwoStationsAddingNotesAtOnceGetDistinctNumbers) {
  std::vector<Record> before = Records("Progress.LDS");
  std::ofstream("note.txt") << "menu \"&Browse\" \"&Browse Patients\"\n"
                               "click \"Progress\"\n"
                               "click \"&Insert\"\n"
                               "expect-title \"Update Records...  (New)\"\n"
                               "click 14\n"
                               "click \"OK\"\n"
                               "expect-title \"Browse the ProgressNotes File by "
                               "PRO:Key_Patient_Number\"\n";
  std::string station =
      std::string(CARELOG_BINARY) + " --headless --clock=2026-12-09T10:30 --script note.txt";
  std::string reader = std::string(LDSTOOL_BINARY) + " check Progress.LDS >/dev/null && " +
                       LDSTOOL_BINARY + " dump Patients.LDS >/dev/null";
  Result run = Shell("(" + station + " >a.txt 2>&1; echo $? >a.rc) & (" + station +
                     " >b.txt 2>&1; echo $? >b.rc) & (" + reader + "; echo $? >c.rc) & wait");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Slurp("a.rc"), "0\n") << Slurp("a.txt");
  EXPECT_EQ(Slurp("b.rc"), "0\n") << Slurp("b.txt");
  EXPECT_EQ(Slurp("c.rc"), "0\n") << "ldstool read the folder while both stations ran";

  std::vector<Record> after = Records("Progress.LDS");
  ASSERT_EQ(after.size(), before.size() + 2);
  std::set<std::string> numbers;
  for (const Record& record : after) numbers.insert(record.at("PRO:RECORD_NO"));
  EXPECT_EQ(numbers.size(), after.size()) << "record numbers are unique";
  EXPECT_EQ(CountWith(after, "PRO:TYPE_OF_VISIT", "1|0|1|0|0"),
            CountWith(before, "PRO:TYPE_OF_VISIT", "1|0|1|0|0") + 2);
  ExpectSoundFiles();
}

// The office books tomorrow's visit: the daily schedule asks for the day, its Insert opens the
// appointment form with that day, OK without a patient is refused after the patient browse
// closes without a choice, an unknown patient number calls that browse to pick one, and the
// saved appointment is listed under the day with the picked patient's name.
TEST_F(NurseDay, AnAppointmentBookedForAPickedPatientIsStoredAndListedUnderItsDay) {
  std::vector<Record> before = Records("Calendar.LDS");
  Result run = Script(
      "menu \"&Calendar\" \"BrowseDates\"\n"
      "expect-title \"Calendar\"\n"
      "key Right\n"
      "click 48\n"
      "expect-title \"Patient Names\"\n"
      "click \"&Insert\"\n"
      "expect-title \"Update Records...\"\n"
      "expect-text 5 \"12/10/26\"\n"
      "click \"OK\"\n"
      "expect-title \"Browse the Patients File\"\n"
      "click \"Close\"\n"
      "expect-message \"The value for DAT:Patient_Number must be found in the Patients file.\"\n"
      "answer \"OK\"\n"
      "expect-title \"Update Records...\"\n"
      "click 3\n"
      "key End Backspace\n"
      "type \"999\"\n"
      "key Tab\n"
      "expect-title \"Browse the Patients File\"\n"
      "select 3 2\n"
      "click \"&Select\"\n"
      "expect-title \"Update Records...\"\n"
      "click 7\n"
      "type \"9:15AM\"\n"
      "click 9\n"
      "type \"10:00AM\"\n"
      "click 11\n"
      "type \"Wound care, new dressing\"\n"
      "click \"OK\"\n"
      "expect-title \"Patient Names\"\n"
      "dump\n"
      "click \"Close\"\n");
  ASSERT_EQ(run.status, 0) << run.err;

  std::vector<Record> after = Records("Calendar.LDS");
  ASSERT_EQ(after.size(), before.size() + 1);
  std::vector<Record> booked;
  for (const Record& record : after) {
    if (record.at("DAT:NOTES") == "Wound care, new dressing") booked.push_back(record);
  }
  ASSERT_EQ(booked.size(), 1u);
  EXPECT_EQ(booked[0].at("DAT:DAYNO"), std::to_string(values::DayNumber(2026, 12, 10)));
  EXPECT_EQ(booked[0].at("DAT:TIMEIN"), std::to_string(values::BuildTime(9, 15, 0, 0)));
  EXPECT_EQ(booked[0].at("DAT:TIMEOUT"), std::to_string(values::BuildTime(10, 0, 0, 0)));
  const std::string patient = booked[0].at("DAT:PATIENT_NUMBER");
  ASSERT_NE(patient, "999");
  std::string name;
  for (const Record& record : Records("Patients.LDS")) {
    if (record.at("PAT:PATIENT_NUMBER") == patient) name = record.at("PAT:NAME");
  }
  ASSERT_FALSE(name.empty()) << "the picked patient " << patient << " is in the patients file";
  EXPECT_NE(run.out.find("row 1 selected \"" + name + "\" \"9:15AM\" \"10:00AM\""),
            std::string::npos)
      << run.out;
  ExpectSoundFiles();
}

// Two stations change the same patient: the first opens the patient's form, the second
// changes and saves the patient meanwhile; the first to have read it is the second to save and
// is told the record was changed by another station, then asked whether to try again. The
// change saved first stays, the refused one is not written over it, and the files are sound.
TEST_F(NurseDay, TheSecondStationToSaveAChangedPatientIsRefusedAndNothingIsLost) {
  std::vector<Record> before = Records("Patients.LDS");
  std::ofstream("first.txt")
      << "menu \"&Browse\" \"&Browse Patients\"\n"
         "click \"&Change\"\n"
         "expect-title \"Changing a Patients Record\"\n"
         "click 9\n"
         "key End\n"
         "type \"A\"\n"
         "screenshot first_open.png\n"  // tells the other station the record is read
         "wait-for-file second_saved.png\n"
         "click \"OK\"\n"
         "expect-message \"This record was changed by another station.\"\n"
         "answer \"OK\"\n"
         "expect-message \"An error was experienced changing this record.  Do you want to try "
         "to save again?\"\n"
         "answer \"&No\"\n"
         "expect-title \"Browse the Patients File\"\n"
         "click \"Close\"\n";
  std::ofstream("second.txt") << "wait-for-file first_open.png\n"
                                 "menu \"&Browse\" \"&Browse Patients\"\n"
                                 "click \"&Change\"\n"
                                 "click 9\n"
                                 "key End\n"
                                 "type \"B\"\n"
                                 "click \"OK\"\n"
                                 "expect-title \"Browse the Patients File\"\n"
                                 "click \"Close\"\n"
                                 "screenshot second_saved.png\n";
  std::string station = std::string(CARELOG_BINARY) + " --headless --clock=2026-12-09T10:30";
  Result run = Shell("(" + station + " --script first.txt >a.txt 2>&1; echo $? >a.rc) & (" +
                     station + " --script second.txt >b.txt 2>&1; echo $? >b.rc) & wait");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Slurp("a.rc"), "0\n") << Slurp("a.txt");
  EXPECT_EQ(Slurp("b.rc"), "0\n") << Slurp("b.txt");

  std::vector<Record> after = Records("Patients.LDS");
  ASSERT_EQ(after.size(), before.size());
  int changed = 0;
  for (size_t i = 0; i < after.size(); ++i) {
    if (after[i] == before[i]) continue;
    ++changed;
    std::string first = after[i].at("PAT:FIRST_NAME");
    EXPECT_EQ(first, before[i].at("PAT:FIRST_NAME") + "B") << "the first save stays";
  }
  EXPECT_EQ(changed, 1);
  ExpectSoundFiles();
}

// The office's morning: a new physician, then a new patient of that physician's, then the
// day's visit log printed through the preview to PDF for the day picked in the calendar. The
// stored records and the printed log are checked as an outsider would.
TEST_F(NurseDay, TheOfficeAddsAPhysicianAndTheirPatientThenPrintsTheDaysVisitLog) {
  const std::string number = physician_;
  // The day with the most visits in the sample data is the office's today.
  const testing::Day day = BusiestDay();
  Result run = Script(NewPatientOfANewPhysician() + kSavePatient +
                          "click \"Close\"\n"
                          "print-to log.pdf\n"
                          "menu \"&Report\" \"Print Daily &Visit Log\"\n"
                          "key Enter\n"  // the calendar's day: today
                          "expect-title \"Print Preview\"\n"
                          "click \"&Print!\"\n"
                          "expect-title \"The Care Log\"\n",
                      day.clock);
  ASSERT_EQ(run.status, 0) << run.err;

  std::vector<Record> physicians = Records("PHYSCIANS.LDS");
  ASSERT_EQ(CountWith(physicians, "PHY:DOCNO", number), 1);
  for (const Record& r : physicians) {
    if (r.at("PHY:DOCNO") == number) {
      EXPECT_EQ(r.at("PHY:NAME"), "Marlowe, Edith MD");
    }
  }
  int added = 0;
  for (const Record& r : Records("Patients.LDS")) {
    if (r.at("PAT:NAME") != "Quill, Harriet") continue;
    ++added;
    EXPECT_EQ(r.at("PAT:PHYSICIAN_NAME"), number);
  }
  EXPECT_EQ(added, 1);
  ExpectSoundFiles();

  ASSERT_TRUE(fs::exists("log.pdf"));
  Result text = Shell("pdftotext -layout log.pdf -");
  if (text.status != 0) GTEST_SKIP() << "pdftotext is not installed";
  EXPECT_NE(text.out.find("DAILY VISIT LOG"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find(day.shown), std::string::npos) << day.shown << "\n" << text.out;
  // Every patient seen that day is on the log.
  std::set<std::string> seen;
  for (const Record& note : Records("Progress.LDS")) {
    if (note.at("PRO:DATE") == std::to_string(day.number))
      seen.insert(note.at("PRO:PATIENT_NUMBER"));
  }
  for (const Record& patient : Records("Patients.LDS")) {
    if (!seen.count(patient.at("PAT:PATIENT_NUMBER"))) continue;
    EXPECT_NE(text.out.find(patient.at("PAT:NAME")), std::string::npos) << patient.at("PAT:NAME");
  }
}

}  // namespace
}  // namespace carelog::app
