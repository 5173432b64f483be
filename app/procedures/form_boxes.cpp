// The browse boxes of the forms: the patient form's one box per patient file (each ranged on
// the patient's number), the plan of care's addendum box and the physician's patients.
#include "app/procedures/form_boxes.h"

#include "app/patterns/browse_table.h"

namespace carelog::app::procedures {
namespace {

using appdata::FileId;

constexpr const char* kPatientReset = "Sort1:Reset:PAT:Patient_Number";
constexpr RangeSource kPatientNumber = {FileId::kPatients, "PAT:PATIENT_NUMBER"};

constexpr FileId kCaseConFiles[] = {FileId::kCaseCon, FileId::kPatients};
constexpr SortOrder kCaseConOrder[] = {
    {nullptr, "CAS:PATIENTNUMBERKEY", "CAS:PateintNumber = BRW1::Sort1:Reset:PAT:Patient_Number",
     kPatientReset, kPatientNumber},
};
constexpr ColumnRow kCaseConColumns[] = {{"CAS:DATE"}, {"CAS:RECNO"}};
constexpr ButtonRow kCaseConButtons[] = {
    {58, ButtonRole::kInsert, nullptr},
    {59, ButtonRole::kChange, nullptr},
    {60, ButtonRole::kDelete, nullptr},
};
constexpr BrowseTable kCaseConBox = {
    "UPDATEPATIENTS",
    "carelog.cpp$carlg027",
    "UPDATEPATIENTS$QUICKWINDOW",
    FileId::kCaseCon,
    kCaseConFiles,
    kCaseConOrder,
    kCaseConColumns,
    nullptr,
    1,
    57,
    kCaseConButtons,
    {},
    "UPDATECASECON",
    false,
    false,
    nullptr,
};

constexpr FileId kMonthCalFiles[] = {FileId::kMonthCal, FileId::kPatients};
constexpr SortOrder kMonthCalOrder[] = {
    {nullptr, "MON:PATIENTNUMBERKEY", "MON:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number",
     kPatientReset, kPatientNumber},
};
constexpr ColumnRow kMonthCalColumns[] = {{"MON:CALENDARDATE"}, {"MON:RECNO"}};
constexpr ButtonRow kMonthCalButtons[] = {
    {62, ButtonRole::kInsert, nullptr},
    {63, ButtonRole::kChange, nullptr},
    {64, ButtonRole::kDelete, nullptr},
};
constexpr BrowseTable kMonthCalBox = {
    "UPDATEPATIENTS",
    "carelog.cpp$carlg027",
    "UPDATEPATIENTS$QUICKWINDOW",
    FileId::kMonthCal,
    kMonthCalFiles,
    kMonthCalOrder,
    kMonthCalColumns,
    nullptr,
    1,
    61,
    kMonthCalButtons,
    {},
    "UPDATEMONTHCAL",
    false,
    false,
    nullptr,
};

constexpr FileId kPocFiles[] = {FileId::kPoc, FileId::kPatients};
constexpr SortOrder kPocOrder[] = {
    {nullptr, "POC:PATKEY", "POC:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number",
     kPatientReset, kPatientNumber},
};
constexpr ColumnRow kPocColumns[] = {{"POC:FROMDATE"}, {"POC:TODATE"}, {"POC:MEDRECNO"}};
constexpr ButtonRow kPocButtons[] = {
    {66, ButtonRole::kInsert, nullptr},
    {67, ButtonRole::kChange, nullptr},
    {68, ButtonRole::kDelete, nullptr},
};
constexpr BrowseTable kPocBox = {
    "UPDATEPATIENTS",
    "carelog.cpp$carlg027",
    "UPDATEPATIENTS$QUICKWINDOW",
    FileId::kPoc,
    kPocFiles,
    kPocOrder,
    kPocColumns,
    nullptr,
    1,
    65,
    kPocButtons,
    {},
    "UPDATEPOC",
    false,
    false,
    nullptr,
};

constexpr FileId kSixtyDayFiles[] = {FileId::kSixtyDay, FileId::kPatients};
constexpr SortOrder kSixtyDayOrder[] = {
    {nullptr, "SIX:PATKEY", "SIX:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number",
     kPatientReset, kPatientNumber},
};
constexpr ColumnRow kSixtyDayColumns[] = {{"SIX:START_DATE"}, {"SIX:END_DATE"}, {"SIX:ABNL_LABS"}};
constexpr ButtonRow kSixtyDayButtons[] = {
    {70, ButtonRole::kInsert, nullptr},
    {71, ButtonRole::kChange, nullptr},
    {72, ButtonRole::kDelete, nullptr},
};
constexpr BrowseTable kSixtyDayBox = {
    "UPDATEPATIENTS",
    "carelog.cpp$carlg027",
    "UPDATEPATIENTS$QUICKWINDOW",
    FileId::kSixtyDay,
    kSixtyDayFiles,
    kSixtyDayOrder,
    kSixtyDayColumns,
    nullptr,
    1,
    69,
    kSixtyDayButtons,
    {},
    "UPDATESIXTYDAY",
    false,
    false,
    nullptr,
};

constexpr FileId kOrdersFiles[] = {FileId::kOrders, FileId::kPatients};
constexpr SortOrder kOrdersOrder[] = {
    {nullptr, "ORD:PATKEY", "ORD:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number",
     kPatientReset, kPatientNumber},
};
constexpr ColumnRow kOrdersColumns[] = {{"ORD:DATE"}, {"ORD:RECNO"}};
constexpr ButtonRow kOrdersButtons[] = {
    {74, ButtonRole::kInsert, nullptr},
    {75, ButtonRole::kChange, nullptr},
    {76, ButtonRole::kDelete, nullptr},
};
constexpr BrowseTable kOrdersBox = {
    "UPDATEPATIENTS",
    "carelog.cpp$carlg027",
    "UPDATEPATIENTS$QUICKWINDOW",
    FileId::kOrders,
    kOrdersFiles,
    kOrdersOrder,
    kOrdersColumns,
    nullptr,
    1,
    73,
    kOrdersButtons,
    {},
    "UPDATEORDERS",
    false,
    false,
    nullptr,
};

constexpr FileId kCalendarFiles[] = {FileId::kCalendar, FileId::kPatients};
constexpr SortOrder kCalendarOrder[] = {
    {nullptr, "DAT:PATKEY", "DAT:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number",
     kPatientReset, kPatientNumber},
};
constexpr ColumnRow kCalendarColumns[] = {
    {"DAT:DAYNO"}, {"DAT:TIMEIN"}, {"DAT:TIMEOUT"}, {"DAT:NOTES"}};
constexpr ButtonRow kCalendarButtons[] = {
    {78, ButtonRole::kInsert, nullptr},
    {79, ButtonRole::kChange, nullptr},
    {80, ButtonRole::kDelete, nullptr},
};
constexpr BrowseTable kCalendarBox = {
    "UPDATEPATIENTS",
    "carelog.cpp$carlg027",
    "UPDATEPATIENTS$QUICKWINDOW",
    FileId::kCalendar,
    kCalendarFiles,
    kCalendarOrder,
    kCalendarColumns,
    nullptr,
    1,
    77,
    kCalendarButtons,
    {},
    "UPDATECALENDAR",
    false,
    false,
    nullptr,
};

constexpr FileId kHhaAssignFiles[] = {FileId::kHhaAssign, FileId::kPatients};
constexpr SortOrder kHhaAssignOrder[] = {
    {nullptr, "HHA:PATIENT_NO_KEY", "HHA:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number",
     kPatientReset, kPatientNumber},
};
constexpr ColumnRow kHhaAssignColumns[] = {{"HHA:DATE"}, {"HHA:SOC"}, {"HHA:REC_NO"}};
constexpr ButtonRow kHhaAssignButtons[] = {
    {82, ButtonRole::kInsert, nullptr},
    {83, ButtonRole::kChange, nullptr},
    {84, ButtonRole::kDelete, nullptr},
};
constexpr BrowseTable kHhaAssignBox = {
    "UPDATEPATIENTS",
    "carelog.cpp$carlg027",
    "UPDATEPATIENTS$QUICKWINDOW",
    FileId::kHhaAssign,
    kHhaAssignFiles,
    kHhaAssignOrder,
    kHhaAssignColumns,
    nullptr,
    1,
    81,
    kHhaAssignButtons,
    {},
    "UPDATEHHA_ASSIGN",
    false,
    false,
    nullptr,
};

constexpr FileId kDoctorsFiles[] = {FileId::kDoctors, FileId::kPatients};
constexpr SortOrder kDoctorsOrder[] = {
    {nullptr, "DOC:KEY_PATIENT_NUMBER", "DOC:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number",
     kPatientReset, kPatientNumber},
};
constexpr ColumnRow kDoctorsColumns[] = {{"DOC:DOCTOR_NAME"}, {"DOC:TYPE"}, {"DOC:PHONE"}};
constexpr ButtonRow kDoctorsButtons[] = {
    {86, ButtonRole::kInsert, nullptr},
    {87, ButtonRole::kChange, nullptr},
    {88, ButtonRole::kDelete, nullptr},
};
constexpr BrowseTable kDoctorsBox = {
    "UPDATEPATIENTS",
    "carelog.cpp$carlg027",
    "UPDATEPATIENTS$QUICKWINDOW",
    FileId::kDoctors,
    kDoctorsFiles,
    kDoctorsOrder,
    kDoctorsColumns,
    nullptr,
    1,
    85,
    kDoctorsButtons,
    {},
    "UPDATEDOCTORS",
    false,
    false,
    nullptr,
};

constexpr FileId kFamilyFiles[] = {FileId::kFamily, FileId::kPatients};
constexpr SortOrder kFamilyOrder[] = {
    {nullptr, "FAM:KEY_PATIENT_NUMBER", "FAM:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number",
     kPatientReset, kPatientNumber},
};
constexpr ColumnRow kFamilyColumns[] = {{"FAM:NAME"}, {"FAM:RELATIONSHIP"}, {"FAM:PHONE"}};
constexpr ButtonRow kFamilyButtons[] = {
    {90, ButtonRole::kInsert, nullptr},
    {91, ButtonRole::kChange, nullptr},
    {92, ButtonRole::kDelete, nullptr},
};
constexpr BrowseTable kFamilyBox = {
    "UPDATEPATIENTS",
    "carelog.cpp$carlg027",
    "UPDATEPATIENTS$QUICKWINDOW",
    FileId::kFamily,
    kFamilyFiles,
    kFamilyOrder,
    kFamilyColumns,
    nullptr,
    1,
    89,
    kFamilyButtons,
    {},
    "UPDATEFAMILY",
    false,
    false,
    nullptr,
};

constexpr FileId kCarePlanFiles[] = {FileId::kCarePlan, FileId::kPatients};
constexpr SortOrder kCarePlanOrder[] = {
    {nullptr, "CAR:KEY_PATIENT_NUMBER", "CAR:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number",
     kPatientReset, kPatientNumber},
};
constexpr ColumnRow kCarePlanColumns[] = {
    {"CAR:FROM_DATE"}, {"CAR:TO_DATE"}, {"CAR:SHORT_TERM_GOALS"}};
constexpr ButtonRow kCarePlanButtons[] = {
    {94, ButtonRole::kInsert, nullptr},
    {95, ButtonRole::kChange, nullptr},
    {96, ButtonRole::kDelete, nullptr},
};
constexpr BrowseTable kCarePlanBox = {
    "UPDATEPATIENTS",
    "carelog.cpp$carlg027",
    "UPDATEPATIENTS$QUICKWINDOW",
    FileId::kCarePlan,
    kCarePlanFiles,
    kCarePlanOrder,
    kCarePlanColumns,
    nullptr,
    1,
    93,
    kCarePlanButtons,
    {},
    "UPDATECAREPLAN",
    false,
    false,
    nullptr,
};

constexpr FileId kProgressNotesFiles[] = {FileId::kProgressNotes, FileId::kPatients};
constexpr SortOrder kProgressNotesOrder[] = {
    {nullptr, "PRO:KEY_PATIENT_NUMBER", "PRO:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number",
     kPatientReset, kPatientNumber},
};
constexpr ColumnRow kProgressNotesColumns[] = {
    {"PRO:DATE"}, {"PRO:TIME_IN"}, {"PRO:TIME_OUT"}, {"PRO:RECORD_NO"}};
constexpr ButtonRow kProgressNotesButtons[] = {
    {98, ButtonRole::kInsert, nullptr},
    {99, ButtonRole::kChange, nullptr},
    {100, ButtonRole::kDelete, nullptr},
};
constexpr BrowseTable kProgressNotesBox = {
    "UPDATEPATIENTS",
    "carelog.cpp$carlg027",
    "UPDATEPATIENTS$QUICKWINDOW",
    FileId::kProgressNotes,
    kProgressNotesFiles,
    kProgressNotesOrder,
    kProgressNotesColumns,
    nullptr,
    1,
    97,
    kProgressNotesButtons,
    {},
    "UPDATEPROGRESSNOTES",
    false,
    false,
    nullptr,
};

constexpr FileId kNarrativeFiles[] = {FileId::kNarrative, FileId::kPatients};
constexpr SortOrder kNarrativeOrder[] = {
    {nullptr, "NAR:PATIENT_NUMBER_KEY", "NAR:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number",
     kPatientReset, kPatientNumber},
};
constexpr ColumnRow kNarrativeColumns[] = {{"NAR:DATE"}, {"NAR:RECORD_NO"}};
constexpr ButtonRow kNarrativeButtons[] = {
    {102, ButtonRole::kInsert, nullptr},
    {103, ButtonRole::kChange, nullptr},
    {104, ButtonRole::kDelete, nullptr},
};
constexpr BrowseTable kNarrativeBox = {
    "UPDATEPATIENTS",
    "carelog.cpp$carlg027",
    "UPDATEPATIENTS$QUICKWINDOW",
    FileId::kNarrative,
    kNarrativeFiles,
    kNarrativeOrder,
    kNarrativeColumns,
    nullptr,
    1,
    101,
    kNarrativeButtons,
    {},
    "UPDATENARRATIVE",
    false,
    false,
    nullptr,
};

constexpr FileId kMedicationsFiles[] = {FileId::kMedications, FileId::kPatients};
constexpr SortOrder kMedicationsOrder[] = {
    {nullptr, "MED:KEY_PATIENT_NUMBER", "MED:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number",
     kPatientReset, kPatientNumber},
};
constexpr ColumnRow kMedicationsColumns[] = {{"MED:DATE"}, {"MED:RECORD_NO"}, {"MED:DRUG"}};
constexpr ButtonRow kMedicationsButtons[] = {
    {106, ButtonRole::kInsert, nullptr},
    {107, ButtonRole::kChange, nullptr},
    {108, ButtonRole::kDelete, nullptr},
};
constexpr BrowseTable kMedicationsBox = {
    "UPDATEPATIENTS",
    "carelog.cpp$carlg027",
    "UPDATEPATIENTS$QUICKWINDOW",
    FileId::kMedications,
    kMedicationsFiles,
    kMedicationsOrder,
    kMedicationsColumns,
    nullptr,
    1,
    105,
    kMedicationsButtons,
    {},
    "UPDATEMEDICATIONS",
    false,
    false,
    nullptr,
};

constexpr FileId kDischargeSummaryFiles[] = {FileId::kDischargeSummary, FileId::kPatients};
constexpr SortOrder kDischargeSummaryOrder[] = {
    {nullptr, "DIS:KEY_PATIENT_NUMBER", "DIS:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number",
     kPatientReset, kPatientNumber},
};
constexpr ColumnRow kDischargeSummaryColumns[] = {
    {"DIS:DATE"}, {"DIS:START_OF_CARE"}, {"DIS:RECORD_NO"}};
constexpr ButtonRow kDischargeSummaryButtons[] = {
    {110, ButtonRole::kInsert, nullptr},
    {111, ButtonRole::kChange, nullptr},
    {112, ButtonRole::kDelete, nullptr},
};
constexpr BrowseTable kDischargeSummaryBox = {
    "UPDATEPATIENTS",
    "carelog.cpp$carlg027",
    "UPDATEPATIENTS$QUICKWINDOW",
    FileId::kDischargeSummary,
    kDischargeSummaryFiles,
    kDischargeSummaryOrder,
    kDischargeSummaryColumns,
    nullptr,
    1,
    109,
    kDischargeSummaryButtons,
    {},
    "UPDATEDISCHARGESUMMARY",
    false,
    false,
    nullptr,
};

constexpr FileId kAddendumFiles[] = {FileId::kAddInfo, FileId::kPoc};
constexpr SortOrder kAddendumOrder[] = {
    {nullptr,
     "ADD:RECNOKEY",
     "ADD:RecNo = BRW1::Sort1:Reset:POC:Rec_No",
     "Sort1:Reset:POC:Rec_No",
     {FileId::kPoc, "POC:REC_NO"}},
};
constexpr ColumnRow kAddendumColumns[] = {{"ADD:RECNO"}};
constexpr ButtonRow kAddendumButtons[] = {
    {110, ButtonRole::kInsert, nullptr},
    {111, ButtonRole::kChange, nullptr},
    {112, ButtonRole::kDelete, nullptr},
};
constexpr BrowseTable kAddendumBox = {
    "UPDATEPOC",
    "carelog.cpp$carlg039",
    "UPDATEPOC$QUICKWINDOW",
    FileId::kAddInfo,
    kAddendumFiles,
    kAddendumOrder,
    kAddendumColumns,
    nullptr,
    1,
    109,
    kAddendumButtons,
    {},
    "UPDATEADDINFO",
    false,
    false,
    nullptr,
};

constexpr FileId kPhysicianPatientFiles[] = {FileId::kPatients, FileId::kPhyscians};
constexpr SortOrder kPhysicianPatientOrder[] = {
    {nullptr,
     "PAT:KEY_PHYSICIAN_NAME",
     "PAT:Physician_Name = BRW1::Sort1:Reset:PHY:DocNo",
     "Sort1:Reset:PHY:DocNo",
     {FileId::kPhyscians, "PHY:DOCNO"}},
};
constexpr ColumnRow kPhysicianPatientColumns[] = {
    {"PAT:LAST_NAME"}, {"PAT:FIRST_NAME"}, {"PAT:PATIENT_NUMBER"}};
constexpr ButtonRow kPhysicianPatientButtons[] = {
    {19, ButtonRole::kInsert, nullptr},
    {20, ButtonRole::kChange, nullptr},
    {21, ButtonRole::kDelete, nullptr},
};
constexpr BrowseTable kPhysicianPatientBox = {
    "UPDATEPHYSCIANS",
    "carelog.cpp$carlg049",
    "UPDATEPHYSCIANS$QUICKWINDOW",
    FileId::kPatients,
    kPhysicianPatientFiles,
    kPhysicianPatientOrder,
    kPhysicianPatientColumns,
    nullptr,
    1,
    18,
    kPhysicianPatientButtons,
    {},
    "UPDATEPATIENTS",
    false,
    false,
    nullptr,
};

}  // namespace

const BrowseTable* const kPatientBoxes[kPatientBoxCount] = {
    &kCaseConBox,       &kMonthCalBox,  &kPocBox,         &kSixtyDayBox,         &kOrdersBox,
    &kCalendarBox,      &kHhaAssignBox, &kDoctorsBox,     &kFamilyBox,           &kCarePlanBox,
    &kProgressNotesBox, &kNarrativeBox, &kMedicationsBox, &kDischargeSummaryBox,
};
const BrowseTable* const kAddendumBoxes[1] = {&kAddendumBox};
const BrowseTable* const kPhysicianPatientBoxes[1] = {&kPhysicianPatientBox};

}  // namespace carelog::app::procedures
