// A new patient's first day at the agency, replayed through the real executable on sample data:
// the office sets up the patient's care and prints it, a nurse records the visit and prints the
// note. The stored records are read back field by field with ldstool, the printed PDFs as text.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/agency_day_testing.h"
#include "runtime/values/standard_date.h"

namespace carelog::app {
namespace {

using testing::CountWith;
using testing::Day;
using testing::DayOf;
using testing::PdfText;
using testing::Record;
using testing::RecordsWith;
using testing::Result;
using testing::Shell;
using testing::Slurp;

// The elements of an array field as ldstool shows it ("a|b|c").
std::vector<std::string> Elements(const std::string& shown) {
  std::vector<std::string> out;
  std::stringstream in(shown);
  for (std::string element; std::getline(in, element, '|');) out.push_back(element);
  if (!shown.empty() && shown.back() == '|') out.emplace_back();
  return out;
}

// The first word after `label` in a PDF's text.
std::string WordAfter(const std::string& text, const std::string& label) {
  size_t at = text.find(label);
  if (at == std::string::npos) return "";
  std::istringstream rest(text.substr(at + label.size()));
  std::string word;
  rest >> word;
  return word;
}

// The highlighted row of the list of the window titled `title` in a script's dump.
std::string SelectedRow(const std::string& dump, const std::string& title) {
  size_t window = dump.find("window window \"" + title + "\"");
  size_t row = dump.find(" selected ", window);
  if (window == std::string::npos || row == std::string::npos) return "";
  size_t start = dump.rfind('\n', row) + 1;
  return dump.substr(start, dump.find('\n', row) - start);
}

class OfficeDay : public testing::AgencyDay {};

// The patient's family contact, other doctor, plan of care with its addendum and a month
// calendar with notes on three days, all added from the new patient's form.
constexpr const char* kPatientsCare =
    "click \"Family\"\n"
    "click 90\n"
    "expect-title \"Update Records...\"\n"
    "click 5\ntype \"Quill, Thomas\"\n"
    "click 7\ntype \"Son\"\n"
    "click \"OK\"\n"
    "expect-title \"Adding a Patients Record\"\n"
    "click \"Doctors\"\n"
    "click 86\n"
    "click 5\ntype \"Okafor, Grace MD\"\n"
    "click 7\ntype \"Cardiology\"\n"
    "click \"OK\"\n"
    "expect-title \"Adding a Patients Record\"\n"
    "click \"POC\"\n"
    "click 66\n"
    "expect-title \"Record Will Be Added\"\n"
    "click 7\ntype \"MR-4471\"\n"
    "click 9\ntype \"4/01/25\"\n"  // the certification period
    "click 11\ntype \"5/30/25\"\n"
    "click \"Diagnoses\"\n"
    "click 19\ntype \"42830\"\n"
    "click 20\ntype \"Heart failure, diastolic\"\n"
    "click \"Medications\"\n"
    "click 47\ntype \"Furosemide 40 mg daily by mouth\"\n"
    "click \"Orders\"\n"
    "click 106\ntype \"Skilled nursing twice a week\"\n"
    "click \"Goals\"\n"
    "click 108\ntype \"Weight stable within two pounds\"\n"
    "click \"Addendum\"\n"
    "click 110\n"
    "click 5\ntype \"Daily weights phoned to the physician\"\n"
    "click \"OK\"\n"
    "expect-title \"Record Will Be Added\"\n"
    "click \"OK\"\n"
    "expect-title \"Adding a Patients Record\"\n"
    "click \"MonthCal\"\n"
    "click 62\n"
    "expect-title \"Adding a MonthCal Record\"\n"
    "click \"9\"\nexpect-title \"Info\"\ntype \"RN admission visit\"\nclick \"OK\"\n"
    "click \"11\"\ntype \"RN wound check\"\nclick \"OK\"\n"
    "click \"15\"\ntype \"Aide bath\"\nclick \"OK\"\n"
    "expect-title \"Adding a MonthCal Record\"\n"
    "click \"OK\"\n"
    "expect-title \"Adding a Patients Record\"\n";

// From the patient browse (the new patient highlighted): the plan of care on the HCFA-485 form
// and then its addendum, each through the preview to the PDF printer; then the notes of the
// day before today, picked in the calendar.
constexpr const char* kOfficePrints =
    "click \"485\"\n"
    "expect-title \"Browse the POC File by POC:PatKey\"\n"
    "print-to 485.pdf\n"
    "click \"Print 485\"\n"
    "expect-title \"Print Preview\"\n"
    "click \"&Print!\"\n"
    "print-to addendum.pdf\n"
    "expect-title \"Print Preview\"\n"
    "click \"&Print!\"\n"
    "expect-title \"Browse the POC File by POC:PatKey\"\n"
    "click \"Close\"\n"
    "click \"Close\"\n"
    "print-to notes.pdf\n"
    "menu \"&Report\" \"Print &Notes\"\n"
    "expect-title \"Calendar\"\n"
    "key Left\n"
    "click 48\n"
    "expect-title \"Print Preview\"\n"
    "click \"&Print!\"\n"
    "expect-title \"The Care Log\"\n";

// The office, the day after the busiest day of the sample data: a new physician and patient
// with her family contact, other doctor, plan of care, addendum and month calendar; then the
// plan printed on its forms and yesterday's notes printed for the day picked in the calendar.
TEST_F(OfficeDay, TheOfficeSetsUpANewPatientsCareAndPrintsThePlanAndTheDaysNotes) {
  const Day busiest = BusiestDay();
  const Day today = DayOf(busiest.number + 1);
  Result run = Script(NewPatientOfANewPhysician() + kPatientsCare + kSavePatient + kOfficePrints,
                      today.clock);
  ASSERT_EQ(run.status, 0) << run.err;
  ExpectSoundFiles();

  std::vector<Record> physicians = RecordsWith(Records("PHYSCIANS.LDS"), "PHY:DOCNO", physician_);
  ASSERT_EQ(physicians.size(), 1u);
  EXPECT_EQ(physicians[0].at("PHY:NAME"), "Marlowe, Edith MD");
  EXPECT_EQ(physicians[0].at("PHY:CITY"), "Brookfield");

  std::vector<Record> patients =
      RecordsWith(Records("Patients.LDS"), "PAT:PATIENT_NUMBER", patient_);
  ASSERT_EQ(patients.size(), 1u);
  const Record& patient = patients[0];
  for (auto [field, value] : {std::pair{"PAT:NAME", "Quill, Harriet"},
                              {"PAT:FIRST_NAME", "Harriet"},
                              {"PAT:LAST_NAME", "Quill"},
                              {"PAT:SEX", "F"},
                              {"PAT:WEIGHT", "1825"},
                              {"PAT:ADDRESS_1", "12 Orchard Lane"},
                              {"PAT:CITY", "Brookfield"},
                              {"PAT:STATE", "WI"},
                              {"PAT:ZIPCODE", "53045"},
                              {"PAT:PLANS_AND_PROGRESS", "Weigh daily, low salt diet"}}) {
    EXPECT_EQ(patient.at(field), value) << field;
  }
  EXPECT_EQ(patient.at("PAT:PHYSICIAN_NAME"), physician_);

  std::vector<Record> family = RecordsWith(Records("Family.LDS"), "FAM:PATIENT_NUMBER", patient_);
  ASSERT_EQ(family.size(), 1u);
  EXPECT_EQ(family[0].at("FAM:NAME"), "Quill, Thomas");
  EXPECT_EQ(family[0].at("FAM:RELATIONSHIP"), "Son");
  std::vector<Record> doctors = RecordsWith(Records("Doctors.LDS"), "DOC:PATIENT_NUMBER", patient_);
  ASSERT_EQ(doctors.size(), 1u);
  EXPECT_EQ(doctors[0].at("DOC:DOCTOR_NAME"), "Okafor, Grace MD");
  EXPECT_EQ(doctors[0].at("DOC:TYPE"), "Cardiology");

  std::vector<Record> plans = RecordsWith(Records("POC.LDS"), "POC:PATIENT_NUMBER", patient_);
  ASSERT_EQ(plans.size(), 1u);
  const Record& plan = plans[0];
  EXPECT_EQ(plan.at("POC:MEDRECNO"), "MR-4471");
  EXPECT_EQ(plan.at("POC:FROMDATE"), std::to_string(values::DayNumber(2025, 4, 1)));
  EXPECT_EQ(plan.at("POC:TODATE"), std::to_string(values::DayNumber(2025, 5, 30)));
  EXPECT_EQ(Elements(plan.at("POC:ICD9"))[0], "42830");
  EXPECT_EQ(Elements(plan.at("POC:DX"))[0], "Heart failure, diastolic");
  EXPECT_EQ(Elements(plan.at("POC:MEDS"))[0], "Furosemide 40 mg daily by mouth");
  EXPECT_EQ(plan.at("POC:ORDERS"), "Skilled nursing twice a week");
  EXPECT_EQ(plan.at("POC:GOALS"), "Weight stable within two pounds");
  std::vector<Record> addenda =
      RecordsWith(Records("ADDINFO.LDS"), "ADD:RECNO", plan.at("POC:REC_NO"));
  ASSERT_EQ(addenda.size(), 1u) << "the addendum belongs to the plan";
  EXPECT_EQ(addenda[0].at("ADD:ADDINFO"), "Daily weights phoned to the physician");

  std::vector<Record> months = RecordsWith(Records("MONTHCAL.LDS"), "MON:PATIENT_NUMBER", patient_);
  ASSERT_EQ(months.size(), 1u);
  EXPECT_EQ(months[0].at("MON:CALENDARDATE"), std::to_string(today.number));
  std::vector<std::string> days = Elements(months[0].at("MON:DAYNO"));
  std::vector<std::string> notes = Elements(months[0].at("MON:DAY_INFO"));
  ASSERT_EQ(days.size(), 42u);
  ASSERT_EQ(notes.size(), 42u);
  std::map<std::string, std::string> noted;
  for (size_t cell = 0; cell < days.size(); ++cell) {
    if (!notes[cell].empty()) noted[days[cell]] = notes[cell];
  }
  EXPECT_EQ(noted,
            (std::map<std::string, std::string>{
                {"9", "RN admission visit"}, {"11", "RN wound check"}, {"15", "Aide bath"}}));

  std::string form485 = PdfText("485.pdf");
  if (form485.empty()) GTEST_SKIP() << "pdftotext is not installed or 485.pdf is missing";
  for (const char* shown :
       {"HOME HEALTH CERTIFICATION AND PLAN OF CARE", "Quill, Harriet", "12 Orchard Lane",
        "Brookfield,WI 53045", "MR-4471", "428.30", "Heart failure, diastolic",
        "Furosemide 40 mg daily by mouth", "Skilled nursing twice a week",
        "Weight stable within two pounds", "Form HCFA-485 (C-4) (02-94)"}) {
    EXPECT_NE(form485.find(shown), std::string::npos) << shown << "\n" << form485;
  }
  EXPECT_EQ(WordAfter(form485, "Physician No."), physician_);
  EXPECT_EQ(WordAfter(form485, "From:"), "4/01/25");
  EXPECT_EQ(WordAfter(form485, "To:"), "5/30/25");
  std::string addendum = PdfText("addendum.pdf");
  for (const char* shown : {"PLAN OF TREATMENT", "ADDENDUM TO:", "Quill, Harriet",
                            "Daily weights phoned to the physician", "Form HCFA-487 (C4) (4-87)"}) {
    EXPECT_NE(addendum.find(shown), std::string::npos) << shown << "\n" << addendum;
  }

  // Yesterday's notes: one page for each, each naming its patient.
  std::string printed = PdfText("notes.pdf");
  std::vector<Record> seen =
      RecordsWith(Records("Progress.LDS"), "PRO:DATE", std::to_string(busiest.number));
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(std::count(printed.begin(), printed.end(), '\f'), static_cast<int>(seen.size()));
  EXPECT_NE(printed.find("NURSING CLINICAL PROGRESS NOTE"), std::string::npos) << printed;
  EXPECT_NE(printed.find(busiest.shown), std::string::npos) << busiest.shown << "\n" << printed;
  std::vector<Record> everyone = Records("Patients.LDS");
  for (const Record& note : seen) {
    for (const Record& p :
         RecordsWith(everyone, "PAT:PATIENT_NUMBER", note.at("PRO:PATIENT_NUMBER"))) {
      EXPECT_NE(printed.find(p.at("PAT:NAME")), std::string::npos) << p.at("PAT:NAME");
    }
  }
}

// The nurse's visit: she finds the new patient by typing her last name into the patient select
// browse (reached from a medication whose patient she does not know by number), then records
// the visit's note, prints it, and adds a narrative. While the note form is open, ldstool checks
// and dumps every file of the folder.
constexpr const char* kNursesVisit =
    "menu \"&Browse\" \"&Browse Patients\"\n"
    "click \"&Change\"\n"
    "expect-title \"Changing a Patients Record\"\n"
    "click \"Medications\"\n"
    "click 106\n"
    "expect-title \"Adding a Medications Record\"\n"
    "click 3\nkey Ctrl+A\ntype \"0\"\nkey Tab\n"  // an unknown patient
    "expect-title \"Select a Patients Record\"\n"
    "click \"by Last Name\"\n"
    "click 2\nkey Q U I\n"
    "dump\n"
    "click \"&Select\"\n"
    "expect-title \"Adding a Medications Record\"\n"
    "click \"Lines 1-8\"\n"
    "click 10\ntype \"Furosemide\"\n"
    "click 11\ntype \"40 mg\"\n"
    "click 12\ntype \"daily PO\"\n"
    "click \"OK\"\n"
    "expect-title \"Changing a Patients Record\"\n"
    "click \"Cancel\"\n"
    "expect-title \"Browse the Patients File\"\n"
    "click \"Patient Number\"\n"
    "click 3\nkey Ctrl+End\n"  // the newest patient
    "click \"Progress\"\n"
    "expect-title \"Browse the ProgressNotes File by PRO:Key_Patient_Number\"\n"
    "click \"&Insert\"\n"
    "expect-title \"Update Records...  (New)\"\n"
    "expect-text 7 \"12/09/26\"\n"
    "click 9\ntype \"9:15AM\"\n"
    "click 11\ntype \"10:05AM\"\n"
    "click 13\ntype \"Y\"\n"
    "click 15\n"  // HiTech, besides the primed Scheduled
    "click \"Vital Signs\"\n"
    "click 20\ntype \"128\"\n"
    "click 22\ntype \"134\"\n"
    "click 24\ntype \"126\"\n"
    "click 26\ntype \"78\"\n"
    "click 28\ntype \"76\"\n"
    "click 30\ntype \"18\"\n"
    "click 32\ntype \"98.6\"\n"
    "click \"Mental Status\"\n"
    "click 59\n"  // aide present
    "click 63\n"  // following the plan
    "click \"Orders\"\n"
    "click 75\n"  // the client is the responsible party
    "click 78\n"  // and agrees
    "click \"Notes\"\n"
    "click 82\ntype \"Ankles without edema, lungs clear.\"\n"
    "screenshot note_open.png\n"
    "wait-for-file checked\n"
    "click \"OK\"\n"
    "expect-title \"Browse the ProgressNotes File by PRO:Key_Patient_Number\"\n"
    "print-to note.pdf\n"
    "click \"&Print\"\n"
    "expect-title \"Print Preview\"\n"
    "click \"&Print!\"\n"
    "expect-title \"Browse the ProgressNotes File by PRO:Key_Patient_Number\"\n"
    "click \"Close\"\n"
    "click \"Narrative\"\n"
    "expect-title \"Browse the Narrative File by NAR:Patient_Number_Key\"\n"
    "click \"&Insert\"\n"
    "click 9\ntype \"Visit went well; she weighs herself each morning.\"\n"
    "click \"OK\"\n"
    "expect-title \"Browse the Narrative File by NAR:Patient_Number_Key\"\n"
    "click \"Close\"\n"
    "click \"Close\"\n"
    "expect-title \"The Care Log\"\n";

// Waits for the nurse's note form, then checks and dumps every data file while the program
// holds them open; what failed goes to reader.txt, and `checked` lets the nurse go on.
std::string ReaderWhileTheNoteIsOpen() {
  std::string tool = LDSTOOL_BINARY;
  return "for i in $(seq 600); do [ -f note_open.png ] && break; sleep 0.1; done; "
         "for f in *.LDS *.Lds; do " +
         tool + " check \"$f\" >/dev/null || echo \"check $f\"; " + tool +
         " dump \"$f\" >/dev/null || echo \"dump $f\"; done >reader.txt 2>&1; touch checked";
}

TEST_F(OfficeDay, ANurseFindsTheNewPatientByTypingAndRecordsHerVisit) {
  Result office = Script(NewPatientOfANewPhysician() + kSavePatient + "click \"Close\"\n");
  ASSERT_EQ(office.status, 0) << office.err;

  std::ofstream("nurse.txt") << kNursesVisit;
  std::string nurse =
      std::string(CARELOG_BINARY) + " --headless --clock=2026-12-09T10:30 --script nurse.txt";
  Result run = Shell("(" + nurse + " >a.txt 2>a.err; echo $? >a.rc) & (" +
                     ReaderWhileTheNoteIsOpen() + ") & wait");
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_EQ(Slurp("a.rc"), "0\n") << Slurp("a.err");
  EXPECT_TRUE(std::filesystem::exists("checked"));
  EXPECT_EQ(Slurp("reader.txt"), "") << "ldstool read the folder while the program had it open";
  EXPECT_NE(SelectedRow(Slurp("a.txt"), "Select a Patients Record").find("\"Quill, Harriet\""),
            std::string::npos)
      << "typing QUI highlights her among the patients by last name";
  ExpectSoundFiles();

  std::vector<Record> notes = RecordsWith(Records("Progress.LDS"), "PRO:PATIENT_NUMBER", patient_);
  ASSERT_EQ(notes.size(), 1u);
  const Record& note = notes[0];
  const std::string today = std::to_string(values::DayNumber(2026, 12, 9));
  for (auto [field, value] : {// primed on insert
                              std::pair{"PRO:LUNG_SOUNDS", "Clear"},
                              {"PRO:BOWEL_SOUNDS", "Positive"},
                              {"PRO:APPETITE", "Fair"},
                              {"PRO:BM", "Normal"},
                              {"PRO:PERIPHERAL_EDEMA", "+1 Non-Pitting"},
                              {"PRO:SKIN_TEMP_AND_COLOR", "Warm/Pale"},
                              {"PRO:SAFETY_MEASURES", "Clear Pathways"},
                              {"PRO:HOMEBOUND_STATUS", "Decreased Endurance"},
                              {"PRO:WEIGHT", "1825"},
                              {"PRO:PLANS", "Weigh daily, low salt diet"},
                              {"PRO:MENTAL_STATUS", "1|1|0|0"},
                              {"PRO:MD_CONTACTED", "0|1"},
                              {"PRO:VENIPUNCTURE", "0|1"},
                              {"PRO:MEDICATION_CHANGES", "0|1"},
                              // typed and checked by the nurse
                              {"PRO:TYPE_OF_VISIT", "0|1|1|0|0"},
                              {"PRO:MILAGE", "Y"},
                              {"PRO:LYING_BP", "128"},
                              {"PRO:SITTING_BP", "134"},
                              {"PRO:STANDING_BP", "126"},
                              {"PRO:AP", "78"},
                              {"PRO:RP", "76"},
                              {"PRO:RESP", "18"},
                              {"PRO:TEMPERATURE", "986"},
                              {"PRO:HHA", "1|0|0|0"},
                              {"PRO:FOLLOWING", "1|0"},
                              {"PRO:RELATIONSHIP", "1|0|0"},
                              {"PRO:RESPONSE", "1|0|0"},
                              {"PRO:CLINICAL_ASSESMENT", "Ankles without edema, lungs clear."}}) {
    EXPECT_EQ(note.at(field), value) << field;
  }
  EXPECT_EQ(note.at("PRO:DATE"), today);
  EXPECT_EQ(note.at("PRO:TIME_IN"), std::to_string(values::BuildTime(9, 15, 0, 0)));
  EXPECT_EQ(note.at("PRO:TIME_OUT"), std::to_string(values::BuildTime(10, 5, 0, 0)));

  std::vector<Record> medications =
      RecordsWith(Records("Meds.LDS"), "MED:PATIENT_NUMBER", patient_);
  ASSERT_EQ(medications.size(), 1u) << "the medication went to the patient picked by name";
  EXPECT_EQ(Elements(medications[0].at("MED:DRUG"))[0], "Furosemide");
  EXPECT_EQ(Elements(medications[0].at("MED:DOSE"))[0], "40 mg");
  EXPECT_EQ(Elements(medications[0].at("MED:FREQ_ROUTE"))[0], "daily PO");
  std::vector<Record> narratives =
      RecordsWith(Records("Narrative.LDS"), "NAR:PATIENT_NUMBER", patient_);
  ASSERT_EQ(narratives.size(), 1u);
  EXPECT_EQ(narratives[0].at("NAR:DATE"), today);
  EXPECT_EQ(narratives[0].at("NAR:NARRATIVE"), "Visit went well; she weighs herself each morning.");

  std::string printed = PdfText("note.pdf");
  if (printed.empty()) GTEST_SKIP() << "pdftotext is not installed or note.pdf is missing";
  EXPECT_EQ(std::count(printed.begin(), printed.end(), '\f'), 1);
  for (const char* shown : {"NURSING CLINICAL PROGRESS NOTE", "Quill, Harriet", "12/09/26",
                            "9:15AM", "10:05AM", "98.6", "182.5", "Clear Pathways",
                            "Ankles without edema, lungs clear.", "Weigh daily, low salt diet"}) {
    EXPECT_NE(printed.find(shown), std::string::npos) << shown << "\n" << printed;
  }
  for (auto [label, value] : {std::pair{"B/P LYING:", "128"},
                              {"SITTING:", "134"},
                              {"STANDING:", "126"},
                              {"RESP:", "18"},
                              {"PULSE AP:", "78"}}) {
    EXPECT_EQ(WordAfter(printed, label), value) << label;
  }
}

// Two patients added one after the other: the second form starts with an empty plan, not with
// the plan of the patient the browse highlighted after the first was saved.
TEST_F(OfficeDay, ASecondNewPatientDoesNotStartWithTheFirstOnesPlan) {
  Result run = Script(
      "menu \"&Browse\" \"&Browse Patients\"\n"
      "click \"&Insert\"\n"
      "click 7\ntype \"Quill, Harriet\"\n"
      "click \"Plans_and_Progress\"\n"
      "click 56\ntype \"Weigh daily\"\n"
      "click \"OK\"\n"
      "expect-title \"Browse the Patients File\"\n"
      "click \"&Insert\"\n"
      "expect-title \"Adding a Patients Record\"\n"
      "expect-text 56 \"\"\n"
      "click 7\ntype \"Quill, Thomas\"\n"
      "click \"OK\"\n"
      "expect-title \"Browse the Patients File\"\n"
      "click \"Close\"\n");
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<Record> patients = Records("Patients.LDS");
  std::vector<Record> first = RecordsWith(patients, "PAT:NAME", "Quill, Harriet");
  std::vector<Record> second = RecordsWith(patients, "PAT:NAME", "Quill, Thomas");
  ASSERT_EQ(first.size(), 1u);
  ASSERT_EQ(second.size(), 1u);
  EXPECT_EQ(first[0].at("PAT:PLANS_AND_PROGRESS"), "Weigh daily");
  EXPECT_EQ(second[0].at("PAT:PLANS_AND_PROGRESS"), "");
  ExpectSoundFiles();
}

}  // namespace
}  // namespace carelog::app
