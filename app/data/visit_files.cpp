// The declarations of ProgressNotes, Medications, DischargeSummary, Narrative, Orders and SixtyDay:
// the records of visits. Per file: the field table (name, type, declared offset, member of the
// record structure, group depth), the keys with components by name, the memos with their bound
// names, the layout stream encoded from the field table, the record buffer and the accessor of its
// live declaration.
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

// ProgressNotes: visit progress notes.
namespace progress_notes {
using Rec = ProgressNotesRecord;
constexpr FieldRow kFields[] = {
    {"PRO:PATIENT_NUMBER", Long(), 0, offsetof(Rec, PATIENT_NUMBER)},
    {"PRO:DATE", Long(), 4, offsetof(Rec, DATE)},
    {"PRO:MILAGE", String(1), 8, offsetof(Rec, MILAGE)},
    {"PRO:RECORD_NO", Long(), 9, offsetof(Rec, RECORD_NO)},
    {"PRO:TIME_IN", Long(), 13, offsetof(Rec, TIME_IN)},
    {"PRO:TIME_OUT", Long(), 17, offsetof(Rec, TIME_OUT)},
    {"PRO:TYPE_OF_VISIT", Dim(5, Byte()), 21, offsetof(Rec, TYPE_OF_VISIT)},
    {"PRO:LYING_BP", Long(), 26, offsetof(Rec, LYING_BP)},
    {"PRO:SITTING_BP", Long(), 30, offsetof(Rec, SITTING_BP)},
    {"PRO:STANDING_BP", ULong(), 34, offsetof(Rec, STANDING_BP)},
    {"PRO:AP", Long(), 38, offsetof(Rec, AP)},
    {"PRO:RP", Long(), 42, offsetof(Rec, RP)},
    {"PRO:RESP", Long(), 46, offsetof(Rec, RESP)},
    {"PRO:TEMPERATURE", Long(), 50, offsetof(Rec, TEMPERATURE)},
    {"PRO:WEIGHT", Long(), 54, offsetof(Rec, WEIGHT)},
    {"PRO:LUNG_SOUNDS", String(20), 58, offsetof(Rec, LUNG_SOUNDS)},
    {"PRO:BOWEL_SOUNDS", String(20), 78, offsetof(Rec, BOWEL_SOUNDS)},
    {"PRO:APPETITE", String(20), 98, offsetof(Rec, APPETITE)},
    {"PRO:BM", String(20), 118, offsetof(Rec, BM)},
    {"PRO:PERIPHERAL_EDEMA", String(20), 138, offsetof(Rec, PERIPHERAL_EDEMA)},
    {"PRO:SKIN_TEMP_AND_COLOR", String(40), 158, offsetof(Rec, SKIN_TEMP_AND_COLOR)},
    {"PRO:MENTAL_STATUS", Dim(4, Byte()), 198, offsetof(Rec, MENTAL_STATUS)},
    {"PRO:ADLS", String(40), 202, offsetof(Rec, ADLS)},
    {"PRO:SAFETY_MEASURES", String(80), 242, offsetof(Rec, SAFETY_MEASURES)},
    {"PRO:HOMEBOUND_STATUS", String(80), 322, offsetof(Rec, HOMEBOUND_STATUS)},
    {"PRO:MD_CONTACTED", Dim(2, Byte()), 402, offsetof(Rec, MD_CONTACTED)},
    {"PRO:VENIPUNCTURE", Dim(2, Byte()), 404, offsetof(Rec, VENIPUNCTURE)},
    {"PRO:TYPE_VENIPUNCTURE", String(40), 406, offsetof(Rec, TYPE_VENIPUNCTURE)},
    {"PRO:MEDICATION_CHANGES", Dim(2, Byte()), 446, offsetof(Rec, MEDICATION_CHANGES)},
    {"PRO:TYPE_MEDICATION_CHANGES", String(50), 448, offsetof(Rec, TYPE_MEDICATION_CHANGES)},
    {"PRO:FOLLOWING", Dim(2, Byte()), 498, offsetof(Rec, FOLLOWING)},
    {"PRO:RELATIONSHIP", Dim(3, Byte()), 500, offsetof(Rec, RELATIONSHIP)},
    {"PRO:RESPONSE", Dim(3, Byte()), 503, offsetof(Rec, RESPONSE)},
    {"PRO:HHA", Dim(4, Byte()), 506, offsetof(Rec, HHA)},
    {"PRO:CAREPLANUPDATE", Dim(2, Byte()), 510, offsetof(Rec, CAREPLANUPDATE)},
};
static_assert(FirstMisplacedField(kFields, sizeof(Rec)) == kAllFieldsInPlace);
constexpr auto kKeyRows = std::to_array<KeyRow>({
    {"PRO:KEY_PATIENT_NUMBER", kDupNoCase, {"+PRO:PATIENT_NUMBER"}},
    {"PRO:RECORD_NO_KEY", kRecordId, {"+PRO:RECORD_NO"}},
    {"PRO:KEY_DATE", kDupNoCase, {"+PRO:DATE", "+PRO:TIME_IN"}},
});
constexpr auto kKeys = ResolveKeys(kFields, kKeyRows);
constexpr auto kMemos = std::to_array<MemoRow>({
    {"PRO:CLINICAL_ASSESMENT", "PRO:Clinical_assesment", 400},
    {"PRO:PROCEDURES", "PRO:Procedures", 400},
    {"PRO:TEACHING", "PRO:Teaching", 400},
    {"PRO:PLANS", "PRO:Plans", 600},
    {"PRO:RNOBSERVSES", "PRO:RnObservses", 200},
});
constexpr auto kLayout = EncodeLayout<LayoutSize(kFields)>(kFields);
static_assert(KeyNamed(kKeys, ProKey::KEY_PATIENT_NUMBER, "PRO:KEY_PATIENT_NUMBER"));
static_assert(KeyNamed(kKeys, ProKey::RECORD_NO_KEY, "PRO:RECORD_NO_KEY"));
static_assert(KeyNamed(kKeys, ProKey::KEY_DATE, "PRO:KEY_DATE"));
static_assert(MemoNamed(kMemos, ProMemo::CLINICAL_ASSESMENT, "PRO:CLINICAL_ASSESMENT"));
static_assert(MemoNamed(kMemos, ProMemo::PROCEDURES, "PRO:PROCEDURES"));
static_assert(MemoNamed(kMemos, ProMemo::TEACHING, "PRO:TEACHING"));
static_assert(MemoNamed(kMemos, ProMemo::PLANS, "PRO:PLANS"));
static_assert(MemoNamed(kMemos, ProMemo::RNOBSERVSES, "PRO:RNOBSERVSES"));
}  // namespace progress_notes

thread_local ProgressNotesRecord PRO;
constinit const FileInfo kProgressNotesInfo = {
    .label = "ProgressNotes",
    .prefix = "PRO",
    .disk_name = "Progress",
    .attributes = kFileAttrCreate | kFileAttrKept08 | kFileAttrThread,
    .record_size = sizeof(ProgressNotesRecord),
    .fields = progress_notes::kFields,
    .keys = progress_notes::kKeys,
    .memos = progress_notes::kMemos,
    .layout = progress_notes::kLayout,
    .identifying_key = "PRO:RECORD_NO_KEY",
    .instance = [] { return &ProgressNotesFile(); },
};
store::FileDeclaration& ProgressNotesFile() {
  thread_local DeclaredFile file(kProgressNotesInfo, &PRO);
  return file.declaration();
}

// Medications: medication sheets of 16 lines.
namespace medications {
using Rec = MedicationsRecord;
constexpr FieldRow kFields[] = {
    {"MED:PATIENT_NUMBER", Long(), 0, offsetof(Rec, PATIENT_NUMBER)},
    {"MED:RECORD_NO", Long(), 4, offsetof(Rec, RECORD_NO)},
    {"MED:DATE", Long(), 8, offsetof(Rec, DATE)},
    {"MED:START_DATE", Dim(16, Long()), 12, offsetof(Rec, START_DATE)},
    {"MED:DRUG", Dim(16, String(40)), 76, offsetof(Rec, DRUG)},
    {"MED:DOSE", Dim(16, String(10)), 716, offsetof(Rec, DOSE)},
    {"MED:FREQ_ROUTE", Dim(16, String(10)), 876, offsetof(Rec, FREQ_ROUTE)},
    {"MED:DC_DATE", Dim(16, Long()), 1036, offsetof(Rec, DC_DATE)},
    {"MED:CLASS", Dim(16, String(2)), 1100, offsetof(Rec, CLASS)},
    {"MED:CLASS_CODE", Dim(2, String(2)), 1132, offsetof(Rec, CLASS_CODE)},
    {"MED:A", Dim(2, String(160)), 1136, offsetof(Rec, A)},
    {"MED:SE", Dim(2, String(160)), 1456, offsetof(Rec, SE)},
    {"MED:CI", Dim(2, String(160)), 1776, offsetof(Rec, CI)},
};
static_assert(FirstMisplacedField(kFields, sizeof(Rec)) == kAllFieldsInPlace);
constexpr auto kKeyRows = std::to_array<KeyRow>({
    {"MED:KEY_PATIENT_NUMBER", kDupNoCase, {"+MED:PATIENT_NUMBER"}},
    {"MED:RECORD_KEY", kRecordId, {"+MED:RECORD_NO"}},
    {"MED:DATE_KEYS", kDupOptNoCase, {"+MED:DATE"}},
});
constexpr auto kKeys = ResolveKeys(kFields, kKeyRows);
constexpr std::array<MemoRow, 0> kMemos{};
constexpr auto kLayout = EncodeLayout<LayoutSize(kFields)>(kFields);
static_assert(KeyNamed(kKeys, MedKey::KEY_PATIENT_NUMBER, "MED:KEY_PATIENT_NUMBER"));
static_assert(KeyNamed(kKeys, MedKey::RECORD_KEY, "MED:RECORD_KEY"));
static_assert(KeyNamed(kKeys, MedKey::DATE_KEYS, "MED:DATE_KEYS"));
}  // namespace medications

thread_local MedicationsRecord MED;
constinit const FileInfo kMedicationsInfo = {
    .label = "Medications",
    .prefix = "MED",
    .disk_name = "Meds",
    .attributes = kFileAttrCreate | kFileAttrKept08 | kFileAttrThread,
    .record_size = sizeof(MedicationsRecord),
    .fields = medications::kFields,
    .keys = medications::kKeys,
    .memos = medications::kMemos,
    .layout = medications::kLayout,
    .identifying_key = "MED:RECORD_KEY",
    .instance = [] { return &MedicationsFile(); },
};
store::FileDeclaration& MedicationsFile() {
  thread_local DeclaredFile file(kMedicationsInfo, &MED);
  return file.declaration();
}

// DischargeSummary: discharge summaries.
namespace discharge_summary {
using Rec = DischargeSummaryRecord;
constexpr FieldRow kFields[] = {
    {"DIS:PATIENT_NUMBER", Decimal(11, 0), 0, offsetof(Rec, PATIENT_NUMBER)},
    {"DIS:RECORD_NO", Long(), 6, offsetof(Rec, RECORD_NO)},
    {"DIS:DATE", Long(), 10, offsetof(Rec, DATE)},
    {"DIS:BP", Dim(2, Long()), 14, offsetof(Rec, BP)},
    {"DIS:TEMPERATURE", Dim(2, Long()), 22, offsetof(Rec, TEMPERATURE)},
    {"DIS:P", Dim(2, Long()), 30, offsetof(Rec, P)},
    {"DIS:R", Dim(2, Long()), 38, offsetof(Rec, R)},
    {"DIS:WEIGHT", Dim(2, Long()), 46, offsetof(Rec, WEIGHT)},
    {"DIS:OTHER", String(20), 54, offsetof(Rec, OTHER)},
    {"DIS:START_OF_CARE", Long(), 74, offsetof(Rec, START_OF_CARE)},
    {"DIS:RN", Byte(), 78, offsetof(Rec, RN)},
    {"DIS:PT", Byte(), 79, offsetof(Rec, PT)},
    {"DIS:OT", Byte(), 80, offsetof(Rec, OT)},
    {"DIS:ST", Byte(), 81, offsetof(Rec, ST)},
    {"DIS:HHA", Byte(), 82, offsetof(Rec, HHA)},
    {"DIS:DIPSOITION", Dim(13, Byte()), 83, offsetof(Rec, DIPSOITION)},
    {"DIS:EXPIRED", Long(), 96, offsetof(Rec, EXPIRED)},
    {"DIS:HOSPITAL", String(35), 100, offsetof(Rec, HOSPITAL)},
    {"DIS:PATIENT", Dim(9, String(3)), 135, offsetof(Rec, PATIENT)},
    {"DIS:CAREGIVER", Dim(9, String(3)), 162, offsetof(Rec, CAREGIVER)},
    {"DIS:OTHERNOTE", String(35), 189, offsetof(Rec, OTHERNOTE)},
};
static_assert(FirstMisplacedField(kFields, sizeof(Rec)) == kAllFieldsInPlace);
constexpr auto kKeyRows = std::to_array<KeyRow>({
    {"DIS:KEY_PATIENT_NUMBER", kDupNoCase, {"+DIS:PATIENT_NUMBER"}},
    {"DIS:RECORD_KEY", kRecordId, {"+DIS:RECORD_NO"}},
    {"DIS:KEY_DATE", kDupNoCase, {"+DIS:DATE"}},
});
constexpr auto kKeys = ResolveKeys(kFields, kKeyRows);
constexpr auto kMemos = std::to_array<MemoRow>({
    {"DIS:GOALS_ACHIEVED", "DIS:Goals_Achieved", 1000},
    {"DIS:MEDICATIONS", "DIS:Medications", 2000},
});
constexpr auto kLayout = EncodeLayout<LayoutSize(kFields)>(kFields);
static_assert(KeyNamed(kKeys, DisKey::KEY_PATIENT_NUMBER, "DIS:KEY_PATIENT_NUMBER"));
static_assert(KeyNamed(kKeys, DisKey::RECORD_KEY, "DIS:RECORD_KEY"));
static_assert(KeyNamed(kKeys, DisKey::KEY_DATE, "DIS:KEY_DATE"));
static_assert(MemoNamed(kMemos, DisMemo::GOALS_ACHIEVED, "DIS:GOALS_ACHIEVED"));
static_assert(MemoNamed(kMemos, DisMemo::MEDICATIONS, "DIS:MEDICATIONS"));
}  // namespace discharge_summary

thread_local DischargeSummaryRecord DIS;
constinit const FileInfo kDischargeSummaryInfo = {
    .label = "DischargeSummary",
    .prefix = "DIS",
    .disk_name = "Discharges",
    .attributes = kFileAttrCreate | kFileAttrKept08 | kFileAttrThread,
    .record_size = sizeof(DischargeSummaryRecord),
    .fields = discharge_summary::kFields,
    .keys = discharge_summary::kKeys,
    .memos = discharge_summary::kMemos,
    .layout = discharge_summary::kLayout,
    .identifying_key = "DIS:RECORD_KEY",
    .instance = [] { return &DischargeSummaryFile(); },
};
store::FileDeclaration& DischargeSummaryFile() {
  thread_local DeclaredFile file(kDischargeSummaryInfo, &DIS);
  return file.declaration();
}

// Narrative: narrative notes.
namespace narrative {
using Rec = NarrativeRecord;
constexpr FieldRow kFields[] = {
    {"NAR:PATIENT_NUMBER", Long(), 0, offsetof(Rec, PATIENT_NUMBER)},
    {"NAR:RECORD_NO", Long(), 4, offsetof(Rec, RECORD_NO)},
    {"NAR:DATE", Long(), 8, offsetof(Rec, DATE)},
};
static_assert(FirstMisplacedField(kFields, sizeof(Rec)) == kAllFieldsInPlace);
constexpr auto kKeyRows = std::to_array<KeyRow>({
    {"NAR:PATIENT_NUMBER_KEY", kDupOptNoCase, {"+NAR:PATIENT_NUMBER"}},
    {"NAR:RECORD_KEY", kRecordId, {"+NAR:RECORD_NO"}},
});
constexpr auto kKeys = ResolveKeys(kFields, kKeyRows);
constexpr auto kMemos = std::to_array<MemoRow>({
    {"NAR:NARRATIVE", "NAR:Narrative", 1000},
});
constexpr auto kLayout = EncodeLayout<LayoutSize(kFields)>(kFields);
static_assert(KeyNamed(kKeys, NarKey::PATIENT_NUMBER_KEY, "NAR:PATIENT_NUMBER_KEY"));
static_assert(KeyNamed(kKeys, NarKey::RECORD_KEY, "NAR:RECORD_KEY"));
static_assert(MemoNamed(kMemos, NarMemo::NARRATIVE, "NAR:NARRATIVE"));
}  // namespace narrative

thread_local NarrativeRecord NAR;
constinit const FileInfo kNarrativeInfo = {
    .label = "Narrative",
    .prefix = "NAR",
    .disk_name = "Narrative",
    .attributes = kFileAttrCreate | kFileAttrKept08 | kFileAttrThread,
    .record_size = sizeof(NarrativeRecord),
    .fields = narrative::kFields,
    .keys = narrative::kKeys,
    .memos = narrative::kMemos,
    .layout = narrative::kLayout,
    .identifying_key = "NAR:RECORD_KEY",
    .instance = [] { return &NarrativeFile(); },
};
store::FileDeclaration& NarrativeFile() {
  thread_local DeclaredFile file(kNarrativeInfo, &NAR);
  return file.declaration();
}

// Orders: physician's orders.
namespace orders {
using Rec = OrdersRecord;
constexpr FieldRow kFields[] = {
    {"ORD:PATIENT_NUMBER", Long(), 0, offsetof(Rec, PATIENT_NUMBER)},
    {"ORD:RECNO", Long(), 4, offsetof(Rec, RECNO)},
    {"ORD:DATE", Long(), 8, offsetof(Rec, DATE)},
};
static_assert(FirstMisplacedField(kFields, sizeof(Rec)) == kAllFieldsInPlace);
constexpr auto kKeyRows = std::to_array<KeyRow>({
    {"ORD:PATKEY", kDupOptNoCase, {"+ORD:PATIENT_NUMBER"}},
    {"ORD:DATEKEY", kDupOptNoCase, {"+ORD:DATE"}},
    {"ORD:RECNOKEY", kRecordId, {"+ORD:RECNO"}},
});
constexpr auto kKeys = ResolveKeys(kFields, kKeyRows);
constexpr auto kMemos = std::to_array<MemoRow>({
    {"ORD:ORDERS", "ORD:Orders", 400},
});
constexpr auto kLayout = EncodeLayout<LayoutSize(kFields)>(kFields);
static_assert(KeyNamed(kKeys, OrdKey::PATKEY, "ORD:PATKEY"));
static_assert(KeyNamed(kKeys, OrdKey::DATEKEY, "ORD:DATEKEY"));
static_assert(KeyNamed(kKeys, OrdKey::RECNOKEY, "ORD:RECNOKEY"));
static_assert(MemoNamed(kMemos, OrdMemo::ORDERS, "ORD:ORDERS"));
}  // namespace orders

thread_local OrdersRecord ORD;
constinit const FileInfo kOrdersInfo = {
    .label = "Orders",
    .prefix = "ORD",
    .disk_name = "ORDERS",
    .attributes = kFileAttrCreate | kFileAttrThread,
    .record_size = sizeof(OrdersRecord),
    .fields = orders::kFields,
    .keys = orders::kKeys,
    .memos = orders::kMemos,
    .layout = orders::kLayout,
    .identifying_key = "ORD:RECNOKEY",
    .instance = [] { return &OrdersFile(); },
};
store::FileDeclaration& OrdersFile() {
  thread_local DeclaredFile file(kOrdersInfo, &ORD);
  return file.declaration();
}

// SixtyDay: sixty-day summaries.
namespace sixty_day {
using Rec = SixtyDayRecord;
constexpr FieldRow kFields[] = {
    {"SIX:PATIENT_NUMBER", Long(), 0, offsetof(Rec, PATIENT_NUMBER)},
    {"SIX:RECNO", Long(), 4, offsetof(Rec, RECNO)},
    {"SIX:START_DATE", Long(), 8, offsetof(Rec, START_DATE)},
    {"SIX:END_DATE", Long(), 12, offsetof(Rec, END_DATE)},
    {"SIX:LOWTEMP", Decimal(5, 2), 16, offsetof(Rec, LOWTEMP)},
    {"SIX:HIGHTEMP", Decimal(7, 2), 19, offsetof(Rec, HIGHTEMP)},
    {"SIX:LOWPULSE", Byte(), 23, offsetof(Rec, LOWPULSE)},
    {"SIX:HIGHPULSE", Byte(), 24, offsetof(Rec, HIGHPULSE)},
    {"SIX:LOWRESP", Byte(), 25, offsetof(Rec, LOWRESP)},
    {"SIX:HIGHRESP", Byte(), 26, offsetof(Rec, HIGHRESP)},
    {"SIX:LOWBP", Long(), 27, offsetof(Rec, LOWBP)},
    {"SIX:HIGHBP", Long(), 31, offsetof(Rec, HIGHBP)},
    {"SIX:ABNL_LABS", String(50), 35, offsetof(Rec, ABNL_LABS)},
    {"SIX:ABNL_SUGARS", String(10), 85, offsetof(Rec, ABNL_SUGARS)},
};
static_assert(FirstMisplacedField(kFields, sizeof(Rec)) == kAllFieldsInPlace);
constexpr auto kKeyRows = std::to_array<KeyRow>({
    {"SIX:PATKEY", kDupOptNoCase, {"+SIX:PATIENT_NUMBER"}},
    {"SIX:RECNOKEY", kRecordId, {"+SIX:RECNO"}},
    {"SIX:DATEKEY", kDupOptNoCase, {"-SIX:START_DATE"}},
});
constexpr auto kKeys = ResolveKeys(kFields, kKeyRows);
constexpr auto kMemos = std::to_array<MemoRow>({
    {"SIX:SUMMARY", "SIX:Summary", 1000},
});
constexpr auto kLayout = EncodeLayout<LayoutSize(kFields)>(kFields);
static_assert(KeyNamed(kKeys, SixKey::PATKEY, "SIX:PATKEY"));
static_assert(KeyNamed(kKeys, SixKey::RECNOKEY, "SIX:RECNOKEY"));
static_assert(KeyNamed(kKeys, SixKey::DATEKEY, "SIX:DATEKEY"));
static_assert(MemoNamed(kMemos, SixMemo::SUMMARY, "SIX:SUMMARY"));
}  // namespace sixty_day

thread_local SixtyDayRecord SIX;
constinit const FileInfo kSixtyDayInfo = {
    .label = "SixtyDay",
    .prefix = "SIX",
    .disk_name = "SIXTYDAY",
    .attributes = kFileAttrCreate | kFileAttrThread,
    .record_size = sizeof(SixtyDayRecord),
    .fields = sixty_day::kFields,
    .keys = sixty_day::kKeys,
    .memos = sixty_day::kMemos,
    .layout = sixty_day::kLayout,
    .identifying_key = "SIX:RECNOKEY",
    .instance = [] { return &SixtyDayFile(); },
};
store::FileDeclaration& SixtyDayFile() {
  thread_local DeclaredFile file(kSixtyDayInfo, &SIX);
  return file.declaration();
}

}  // namespace carelog::appdata
