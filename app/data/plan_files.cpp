// The declarations of CarePlan, HHA_Assign, POC, AddInfo and CaseCon: plans of care and
// assignments. Per file: the field table (name, type, declared offset, member of the record
// structure, group depth), the keys with components by name, the memos with their bound names, the
// layout stream encoded from the field table, the record buffer and the accessor of its live
// declaration.
#include <array>
#include <cstddef>

#include "app/data/dictionary.h"
#include "app/data/file_info.h"
#include "app/data/keys.h"
#include "app/data/records.h"

namespace carelog::appdata {

using store::kFileAttrCreate;
using store::kFileAttrKept08;
using store::kFileAttrThread;

// CarePlan: care plans of 12 problems.
namespace care_plan {
using Rec = CarePlanRecord;
constexpr FieldRow kFields[] = {
    {"CAR:PATIENT_NUMBER", Long(), 0, offsetof(Rec, PATIENT_NUMBER)},
    {"CAR:RECORD_NO", Long(), 4, offsetof(Rec, RECORD_NO)},
    {"CAR:FROM_DATE", Long(), 8, offsetof(Rec, FROM_DATE)},
    {"CAR:TO_DATE", Long(), 12, offsetof(Rec, TO_DATE)},
    {"CAR:SHORT_TERM_GOALS", String(70), 16, offsetof(Rec, SHORT_TERM_GOALS)},
    {"CAR:LONG_TERM_GOALS", String(120), 86, offsetof(Rec, LONG_TERM_GOALS)},
    {"CAR:DATE", Dim(12, Long()), 206, offsetof(Rec, DATE)},
    {"CAR:PROBLEM", Dim(12, String(200)), 254, offsetof(Rec, PROBLEM)},
    {"CAR:APPROACH", Dim(12, String(200)), 2654, offsetof(Rec, APPROACH)},
    {"CAR:GOALS", Dim(12, String(200)), 5054, offsetof(Rec, GOALS)},
};
static_assert(FirstMisplacedField(kFields, sizeof(Rec)) == kAllFieldsInPlace);
constexpr auto kKeyRows = std::to_array<KeyRow>({
    {"CAR:KEY_PATIENT_NUMBER", kDupNoCase, {"+CAR:PATIENT_NUMBER"}},
    {"CAR:RECORD_KEY", kRecordId, {"+CAR:RECORD_NO"}},
});
constexpr auto kKeys = ResolveKeys(kFields, kKeyRows);
constexpr std::array<MemoRow, 0> kMemos{};
constexpr auto kLayout = EncodeLayout<LayoutSize(kFields)>(kFields);
static_assert(KeyNamed(kKeys, CarKey::KEY_PATIENT_NUMBER, "CAR:KEY_PATIENT_NUMBER"));
static_assert(KeyNamed(kKeys, CarKey::RECORD_KEY, "CAR:RECORD_KEY"));
}  // namespace care_plan

thread_local CarePlanRecord CAR;
constinit const FileInfo kCarePlanInfo = {
    .label = "CarePlan",
    .prefix = "CAR",
    .disk_name = "CarePlan",
    .attributes = kFileAttrCreate | kFileAttrKept08 | kFileAttrThread,
    .record_size = sizeof(CarePlanRecord),
    .fields = care_plan::kFields,
    .keys = care_plan::kKeys,
    .memos = care_plan::kMemos,
    .layout = care_plan::kLayout,
    .identifying_key = "CAR:RECORD_KEY",
    .instance = [] { return &CarePlanFile(); },
};
store::FileDeclaration& CarePlanFile() {
  thread_local DeclaredFile file(kCarePlanInfo, &CAR);
  return file.declaration();
}

// HHA_Assign: home health aide assignment sheets (three columns of entries).
namespace hha_assign {
using Rec = HhaAssignRecord;
constexpr FieldRow kFields[] = {
    {"HHA:PATIENT_NUMBER", Long(), 0, offsetof(Rec, PATIENT_NUMBER)},
    {"HHA:REC_NO", Long(), 4, offsetof(Rec, REC_NO)},
    {"HHA:DATE", Long(), 8, offsetof(Rec, DATE)},
    {"HHA:UPDATE_DATE", Dim(3, Long()), 12, offsetof(Rec, UPDATE_DATE)},
    {"HHA:SOC", Long(), 24, offsetof(Rec, SOC)},
    {"HHA:TEMP", Dim(3, Byte()), 28, offsetof(Rec, TEMP)},
    {"HHA:RESP_PULSE", Dim(3, Byte()), 31, offsetof(Rec, RESP_PULSE)},
    {"HHA:B_P", Dim(3, Byte()), 34, offsetof(Rec, B_P)},
    {"HHA:WEIGHT", Dim(3, Byte()), 37, offsetof(Rec, WEIGHT)},
    {"HHA:CLEAN", Dim(3, String(20)), 40, offsetof(Rec, CLEAN)},
    {"HHA:HAIR", Dim(3, Byte()), 100, offsetof(Rec, HAIR)},
    {"HHA:SHAVE", Dim(3, Byte()), 103, offsetof(Rec, SHAVE)},
    {"HHA:SKIN_CARE", Dim(3, Byte()), 106, offsetof(Rec, SKIN_CARE)},
    {"HHA:NAIL_CARE", Dim(3, Byte()), 109, offsetof(Rec, NAIL_CARE)},
    {"HHA:ORAL_DENTAL_CARE", Dim(3, Byte()), 112, offsetof(Rec, ORAL_DENTAL_CARE)},
    {"HHA:DRESSING", Dim(3, Byte()), 115, offsetof(Rec, DRESSING)},
    {"HHA:ROM", Dim(3, String(1)), 118, offsetof(Rec, ROM)},
    {"HHA:TOLIETING", Dim(3, Byte()), 121, offsetof(Rec, TOLIETING)},
    {"HHA:INCONTINENCE", Dim(3, Byte()), 124, offsetof(Rec, INCONTINENCE)},
    {"HHA:CATHETER_CARE", Dim(3, Byte()), 127, offsetof(Rec, CATHETER_CARE)},
    {"HHA:ASSIST_AMBULATION", Dim(3, Byte()), 130, offsetof(Rec, ASSIST_AMBULATION)},
    {"HHA:TRANSFERS", Dim(3, Byte()), 133, offsetof(Rec, TRANSFERS)},
    {"HHA:MEAL_PREP", Dim(3, Byte()), 136, offsetof(Rec, MEAL_PREP)},
    {"HHA:SHOPPING", Dim(3, Byte()), 139, offsetof(Rec, SHOPPING)},
    {"HHA:SAFETY", Dim(3, Byte()), 142, offsetof(Rec, SAFETY)},
    {"HHA:REMIND_MEDS", Dim(3, Byte()), 145, offsetof(Rec, REMIND_MEDS)},
    {"HHA:NON_STERILE_DRESSING", Dim(3, Byte()), 148, offsetof(Rec, NON_STERILE_DRESSING)},
    {"HHA:LIGHT_HOUSEKEEPING", Dim(3, Byte()), 151, offsetof(Rec, LIGHT_HOUSEKEEPING)},
    {"HHA:LINEN_LAUNDRY", Dim(3, Byte()), 154, offsetof(Rec, LINEN_LAUNDRY)},
    {"HHA:START_OF_SERVICES", Dim(3, Long()), 157, offsetof(Rec, START_OF_SERVICES)},
    {"HHA:CONVENIENCE_SERVICES", Dim(3, Byte()), 169, offsetof(Rec, CONVENIENCE_SERVICES)},
    {"HHA:DOG_WALKING_PET_CARE", Dim(3, Byte()), 172, offsetof(Rec, DOG_WALKING_PET_CARE)},
    {"HHA:HOUSE_CHECK", Dim(3, Byte()), 175, offsetof(Rec, HOUSE_CHECK)},
    {"HHA:PET_CARE_HOUSE_CHECK", Dim(3, Byte()), 178, offsetof(Rec, PET_CARE_HOUSE_CHECK)},
    {"HHA:LAUNDRY", Dim(3, Byte()), 181, offsetof(Rec, LAUNDRY)},
    {"HHA:SHOPPING_PERSONAL_OUTINGS", Dim(3, Byte()), 184,
     offsetof(Rec, SHOPPING_PERSONAL_OUTINGS)},
    {"HHA:ESCORT_OUT_OF_BUILDING", Dim(3, Byte()), 187, offsetof(Rec, ESCORT_OUT_OF_BUILDING)},
    {"HHA:MEAL_ESCORT_BREAKFAST", Dim(3, Byte()), 190, offsetof(Rec, MEAL_ESCORT_BREAKFAST)},
    {"HHA:MEAL_ESCORT_LUNCH", Dim(3, Byte()), 193, offsetof(Rec, MEAL_ESCORT_LUNCH)},
    {"HHA:MEAL_ESCORT_DINNER", Dim(3, Byte()), 196, offsetof(Rec, MEAL_ESCORT_DINNER)},
    {"HHA:WAKE_UP_CARE", Dim(3, Byte()), 199, offsetof(Rec, WAKE_UP_CARE)},
    {"HHA:BEDTIME_CARE", Dim(3, Byte()), 202, offsetof(Rec, BEDTIME_CARE)},
    {"HHA:DAILY_SPOT_CHECKS", Dim(3, Byte()), 205, offsetof(Rec, DAILY_SPOT_CHECKS)},
    {"HHA:REMIND_MED", Dim(3, Byte()), 208, offsetof(Rec, REMIND_MED)},
    {"HHA:TELEPHONE_REASSURANCE", Dim(3, Byte()), 211, offsetof(Rec, TELEPHONE_REASSURANCE)},
    {"HHA:MAINTAIN_SAFE_ENVIRON", Dim(3, Byte()), 214, offsetof(Rec, MAINTAIN_SAFE_ENVIRON)},
    {"HHA:HOUSE_CLEANING", Dim(3, Byte()), 217, offsetof(Rec, HOUSE_CLEANING)},
    {"HHA:CARE_OF_BATHROOM_FLOOR", Dim(3, Byte()), 220, offsetof(Rec, CARE_OF_BATHROOM_FLOOR)},
    {"HHA:CARE_OF_KITCHEN_FLOOR", Dim(3, Byte()), 223, offsetof(Rec, CARE_OF_KITCHEN_FLOOR)},
    {"HHA:DUST", Dim(3, Byte()), 226, offsetof(Rec, DUST)},
    {"HHA:VACUUM", Dim(3, Byte()), 229, offsetof(Rec, VACUUM)},
    {"HHA:OVEN_CLEANING", Dim(3, Byte()), 232, offsetof(Rec, OVEN_CLEANING)},
    {"HHA:WASHWIN", Dim(3, Byte()), 235, offsetof(Rec, WASHWIN)},
    {"HHA:SPECIAL_INSTRUCTIONS", Dim(2, String(255)), 238, offsetof(Rec, SPECIAL_INSTRUCTIONS)},
    {"HHA:OTHER", Dim(2, String(20)), 748, offsetof(Rec, OTHER)},
    {"HHA:OTHER_JOB", Dim(6, Byte()), 788, offsetof(Rec, OTHER_JOB)},
};
static_assert(FirstMisplacedField(kFields, sizeof(Rec)) == kAllFieldsInPlace);
constexpr auto kKeyRows = std::to_array<KeyRow>({
    {"HHA:PATIENT_NO_KEY", kDupOptNoCase, {"+HHA:PATIENT_NUMBER"}},
    {"HHA:DATE_KEY", kDupOptNoCase, {"+HHA:DATE"}},
    {"HHA:REC_NO_KEY", kRecordId, {"+HHA:REC_NO"}},
});
constexpr auto kKeys = ResolveKeys(kFields, kKeyRows);
constexpr std::array<MemoRow, 0> kMemos{};
constexpr auto kLayout = EncodeLayout<LayoutSize(kFields)>(kFields);
static_assert(KeyNamed(kKeys, HhaKey::PATIENT_NO_KEY, "HHA:PATIENT_NO_KEY"));
static_assert(KeyNamed(kKeys, HhaKey::DATE_KEY, "HHA:DATE_KEY"));
static_assert(KeyNamed(kKeys, HhaKey::REC_NO_KEY, "HHA:REC_NO_KEY"));
}  // namespace hha_assign

thread_local HhaAssignRecord HHA;
constinit const FileInfo kHhaAssignInfo = {
    .label = "HHA_Assign",
    .prefix = "HHA",
    .disk_name = "HHA_ASSIGN",
    .attributes = kFileAttrCreate | kFileAttrKept08 | kFileAttrThread,
    .record_size = sizeof(HhaAssignRecord),
    .fields = hha_assign::kFields,
    .keys = hha_assign::kKeys,
    .memos = hha_assign::kMemos,
    .layout = hha_assign::kLayout,
    .identifying_key = "HHA:REC_NO_KEY",
    .instance = [] { return &HhaAssignFile(); },
};
store::FileDeclaration& HhaAssignFile() {
  thread_local DeclaredFile file(kHhaAssignInfo, &HHA);
  return file.declaration();
}

// POC: plans of care.
namespace poc {
using Rec = PocRecord;
constexpr FieldRow kFields[] = {
    {"POC:PATIENT_NUMBER", Long(), 0, offsetof(Rec, PATIENT_NUMBER)},
    {"POC:REC_NO", Long(), 4, offsetof(Rec, REC_NO)},
    {"POC:MEDRECNO", String(15), 8, offsetof(Rec, MEDRECNO)},
    {"POC:FROMDATE", Long(), 23, offsetof(Rec, FROMDATE)},
    {"POC:TODATE", Long(), 27, offsetof(Rec, TODATE)},
    {"POC:ICD9", Dim(7, String(7)), 31, offsetof(Rec, ICD9)},
    {"POC:DX", Dim(7, String(40)), 80, offsetof(Rec, DX)},
    {"POC:DXDATE", Dim(7, Long()), 360, offsetof(Rec, DXDATE)},
    {"POC:MEDS", Dim(9, String(50)), 388, offsetof(Rec, MEDS)},
    {"POC:DME", String(50), 838, offsetof(Rec, DME)},
    {"POC:SAFETY", String(50), 888, offsetof(Rec, SAFETY)},
    {"POC:NUTRITION", String(40), 938, offsetof(Rec, NUTRITION)},
    {"POC:FUNCTIONALLIMITATIONS", Group(), 978, offsetof(Rec, FUNCTIONALLIMITATIONS)},
    {"POC:AMPUTATION", Byte(), 978, offsetof(Rec, FUNCTIONALLIMITATIONS.AMPUTATION), 1},
    {"POC:BOWEL", Byte(), 979, offsetof(Rec, FUNCTIONALLIMITATIONS.BOWEL), 1},
    {"POC:CONTRACTURE", Byte(), 980, offsetof(Rec, FUNCTIONALLIMITATIONS.CONTRACTURE), 1},
    {"POC:HEARING", Byte(), 981, offsetof(Rec, FUNCTIONALLIMITATIONS.HEARING), 1},
    {"POC:PARALYSIS", Byte(), 982, offsetof(Rec, FUNCTIONALLIMITATIONS.PARALYSIS), 1},
    {"POC:ENDURANCE", Byte(), 983, offsetof(Rec, FUNCTIONALLIMITATIONS.ENDURANCE), 1},
    {"POC:AMBULATION", Byte(), 984, offsetof(Rec, FUNCTIONALLIMITATIONS.AMBULATION), 1},
    {"POC:SPEECH", Byte(), 985, offsetof(Rec, FUNCTIONALLIMITATIONS.SPEECH), 1},
    {"POC:BLIND", Byte(), 986, offsetof(Rec, FUNCTIONALLIMITATIONS.BLIND), 1},
    {"POC:DYSPNEA", Byte(), 987, offsetof(Rec, FUNCTIONALLIMITATIONS.DYSPNEA), 1},
    {"POC:OTHER", Byte(), 988, offsetof(Rec, FUNCTIONALLIMITATIONS.OTHER), 1},
    {"POC:OTHERLIM", String(30), 989, offsetof(Rec, FUNCTIONALLIMITATIONS.OTHERLIM), 1},
    {"POC:ACTIVITIESPERMITTED", Group(), 1019, offsetof(Rec, ACTIVITIESPERMITTED)},
    {"POC:TOTBED", Byte(), 1019, offsetof(Rec, ACTIVITIESPERMITTED.TOTBED), 1},
    {"POC:BEDBRP", Byte(), 1020, offsetof(Rec, ACTIVITIESPERMITTED.BEDBRP), 1},
    {"POC:UPASTOL", Byte(), 1021, offsetof(Rec, ACTIVITIESPERMITTED.UPASTOL), 1},
    {"POC:BEDCHAIR", Byte(), 1022, offsetof(Rec, ACTIVITIESPERMITTED.BEDCHAIR), 1},
    {"POC:EXERPRES", Byte(), 1023, offsetof(Rec, ACTIVITIESPERMITTED.EXERPRES), 1},
    {"POC:PARTWGHT", Byte(), 1024, offsetof(Rec, ACTIVITIESPERMITTED.PARTWGHT), 1},
    {"POC:INDPEND", Byte(), 1025, offsetof(Rec, ACTIVITIESPERMITTED.INDPEND), 1},
    {"POC:CRUTCHES", Byte(), 1026, offsetof(Rec, ACTIVITIESPERMITTED.CRUTCHES), 1},
    {"POC:CANE", Byte(), 1027, offsetof(Rec, ACTIVITIESPERMITTED.CANE), 1},
    {"POC:WHEELCHAIR", Byte(), 1028, offsetof(Rec, ACTIVITIESPERMITTED.WHEELCHAIR), 1},
    {"POC:WALKER", Byte(), 1029, offsetof(Rec, ACTIVITIESPERMITTED.WALKER), 1},
    {"POC:NONE", Byte(), 1030, offsetof(Rec, ACTIVITIESPERMITTED.NONE), 1},
    {"POC:OTHERACT", Byte(), 1031, offsetof(Rec, ACTIVITIESPERMITTED.OTHERACT), 1},
    {"POC:OTHERACTINFO", String(20), 1032, offsetof(Rec, ACTIVITIESPERMITTED.OTHERACTINFO), 1},
    {"POC:MENTALSTATUS", Group(), 1052, offsetof(Rec, MENTALSTATUS)},
    {"POC:ORIENTED", Byte(), 1052, offsetof(Rec, MENTALSTATUS.ORIENTED), 1},
    {"POC:COMATOSE", Byte(), 1053, offsetof(Rec, MENTALSTATUS.COMATOSE), 1},
    {"POC:FORGETFUL", Byte(), 1054, offsetof(Rec, MENTALSTATUS.FORGETFUL), 1},
    {"POC:DEPRESSED", Byte(), 1055, offsetof(Rec, MENTALSTATUS.DEPRESSED), 1},
    {"POC:DISORIENTED", Byte(), 1056, offsetof(Rec, MENTALSTATUS.DISORIENTED), 1},
    {"POC:LETHARGIC", Byte(), 1057, offsetof(Rec, MENTALSTATUS.LETHARGIC), 1},
    {"POC:AGITATED", Byte(), 1058, offsetof(Rec, MENTALSTATUS.AGITATED), 1},
    {"POC:OTHERMENTAL", Byte(), 1059, offsetof(Rec, MENTALSTATUS.OTHERMENTAL), 1},
    {"POC:PROGNOSIS", Group(), 1060, offsetof(Rec, PROGNOSIS)},
    {"POC:POOR", Byte(), 1060, offsetof(Rec, PROGNOSIS.POOR), 1},
    {"POC:GUARDED", Byte(), 1061, offsetof(Rec, PROGNOSIS.GUARDED), 1},
    {"POC:FAIR", Byte(), 1062, offsetof(Rec, PROGNOSIS.FAIR), 1},
    {"POC:GOOD", Byte(), 1063, offsetof(Rec, PROGNOSIS.GOOD), 1},
    {"POC:EXCELLENT", Byte(), 1064, offsetof(Rec, PROGNOSIS.EXCELLENT), 1},
};
static_assert(FirstMisplacedField(kFields, sizeof(Rec)) == kAllFieldsInPlace);
constexpr auto kKeyRows = std::to_array<KeyRow>({
    {"POC:PATKEY", kDupOptNoCase, {"+POC:PATIENT_NUMBER"}},
    {"POC:RECNOKEY", kRecordId, {"+POC:REC_NO"}},
    {"POC:DATEKEY", kDupOptNoCase, {"+POC:FROMDATE"}},
});
constexpr auto kKeys = ResolveKeys(kFields, kKeyRows);
constexpr auto kMemos = std::to_array<MemoRow>({
    {"POC:ORDERS", "POC:Orders", 2000},
    {"POC:GOALS", "POC:Goals", 1000},
});
constexpr auto kLayout = EncodeLayout<LayoutSize(kFields)>(kFields);
static_assert(KeyNamed(kKeys, PocKey::PATKEY, "POC:PATKEY"));
static_assert(KeyNamed(kKeys, PocKey::RECNOKEY, "POC:RECNOKEY"));
static_assert(KeyNamed(kKeys, PocKey::DATEKEY, "POC:DATEKEY"));
static_assert(MemoNamed(kMemos, PocMemo::ORDERS, "POC:ORDERS"));
static_assert(MemoNamed(kMemos, PocMemo::GOALS, "POC:GOALS"));
}  // namespace poc

PocRecord POC;
constinit const FileInfo kPocInfo = {
    .label = "POC",
    .prefix = "POC",
    .disk_name = "POC",
    .attributes = kFileAttrCreate,
    .record_size = sizeof(PocRecord),
    .fields = poc::kFields,
    .keys = poc::kKeys,
    .memos = poc::kMemos,
    .layout = poc::kLayout,
    .identifying_key = "POC:RECNOKEY",
    .instance = [] { return &PocFile(); },
};
store::FileDeclaration& PocFile() {
  static DeclaredFile file(kPocInfo, &POC);
  return file.declaration();
}

// AddInfo: addendum text to a plan of care.
namespace add_info {
using Rec = AddInfoRecord;
constexpr FieldRow kFields[] = {
    {"ADD:RECNO", Long(), 0, offsetof(Rec, RECNO)},
};
static_assert(FirstMisplacedField(kFields, sizeof(Rec)) == kAllFieldsInPlace);
constexpr auto kKeyRows = std::to_array<KeyRow>({
    {"ADD:RECNOKEY", kDupOptNoCase, {"+ADD:RECNO"}},
});
constexpr auto kKeys = ResolveKeys(kFields, kKeyRows);
constexpr auto kMemos = std::to_array<MemoRow>({
    {"ADD:ADDINFO", "ADD:AddInfo", 500},
});
constexpr auto kLayout = EncodeLayout<LayoutSize(kFields)>(kFields);
static_assert(KeyNamed(kKeys, AddKey::RECNOKEY, "ADD:RECNOKEY"));
static_assert(MemoNamed(kMemos, AddMemo::ADDINFO, "ADD:ADDINFO"));
}  // namespace add_info

thread_local AddInfoRecord ADD;
constinit const FileInfo kAddInfoInfo = {
    .label = "AddInfo",
    .prefix = "ADD",
    .disk_name = "ADDINFO",
    .attributes = kFileAttrCreate | kFileAttrThread,
    .record_size = sizeof(AddInfoRecord),
    .fields = add_info::kFields,
    .keys = add_info::kKeys,
    .memos = add_info::kMemos,
    .layout = add_info::kLayout,
    .identifying_key = "ADD:RECNOKEY",
    .instance = [] { return &AddInfoFile(); },
};
store::FileDeclaration& AddInfoFile() {
  thread_local DeclaredFile file(kAddInfoInfo, &ADD);
  return file.declaration();
}

// CaseCon: case conferences.
namespace case_con {
using Rec = CaseConRecord;
constexpr FieldRow kFields[] = {
    {"CAS:PATEINTNUMBER", Long(), 0, offsetof(Rec, PATEINTNUMBER)},
    {"CAS:DATE", Long(), 4, offsetof(Rec, DATE)},
    {"CAS:RECNO", Long(), 8, offsetof(Rec, RECNO)},
};
static_assert(FirstMisplacedField(kFields, sizeof(Rec)) == kAllFieldsInPlace);
constexpr auto kKeyRows = std::to_array<KeyRow>({
    {"CAS:PATIENTNUMBERKEY", kDupOptNoCase, {"+CAS:PATEINTNUMBER", "-CAS:DATE"}},
    {"CAS:RECNOKEY", kRecordId, {"+CAS:RECNO"}},
    {"CAS:DATEKEY", kDupOptNoCase, {"+CAS:DATE"}},
});
constexpr auto kKeys = ResolveKeys(kFields, kKeyRows);
constexpr auto kMemos = std::to_array<MemoRow>({
    {"CAS:PARTICIPANTS", "CAS:Participants", 1000},
    {"CAS:PROBLEMS", "CAS:Problems", 1000},
    {"CAS:INTERVENTIONS", "CAS:Interventions", 1000},
    {"CAS:GOALS", "CAS:Goals", 1000},
});
constexpr auto kLayout = EncodeLayout<LayoutSize(kFields)>(kFields);
static_assert(KeyNamed(kKeys, CasKey::PATIENTNUMBERKEY, "CAS:PATIENTNUMBERKEY"));
static_assert(KeyNamed(kKeys, CasKey::RECNOKEY, "CAS:RECNOKEY"));
static_assert(KeyNamed(kKeys, CasKey::DATEKEY, "CAS:DATEKEY"));
static_assert(MemoNamed(kMemos, CasMemo::PARTICIPANTS, "CAS:PARTICIPANTS"));
static_assert(MemoNamed(kMemos, CasMemo::PROBLEMS, "CAS:PROBLEMS"));
static_assert(MemoNamed(kMemos, CasMemo::INTERVENTIONS, "CAS:INTERVENTIONS"));
static_assert(MemoNamed(kMemos, CasMemo::GOALS, "CAS:GOALS"));
}  // namespace case_con

thread_local CaseConRecord CAS;
constinit const FileInfo kCaseConInfo = {
    .label = "CaseCon",
    .prefix = "CAS",
    .disk_name = "CASECON",
    .attributes = kFileAttrCreate | kFileAttrKept08 | kFileAttrThread,
    .record_size = sizeof(CaseConRecord),
    .fields = case_con::kFields,
    .keys = case_con::kKeys,
    .memos = case_con::kMemos,
    .layout = case_con::kLayout,
    .identifying_key = "CAS:RECNOKEY",
    .instance = [] { return &CaseConFile(); },
};
store::FileDeclaration& CaseConFile() {
  thread_local DeclaredFile file(kCaseConInfo, &CAS);
  return file.declaration();
}

}  // namespace carelog::appdata
