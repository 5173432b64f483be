// The declarations of Patients, Physcians, Family and Doctors: the patient register and the people
// around a patient. Per file: the field table (name, type, declared offset, member of the record
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

// Patients: one record per patient.
namespace patients {
using Rec = PatientsRecord;
constexpr FieldRow kFields[] = {
    {"PAT:PATIENT_NUMBER", Long(), 0, offsetof(Rec, PATIENT_NUMBER)},
    {"PAT:AGENCY", String(40), 4, offsetof(Rec, AGENCY)},
    {"PAT:NAME", String(40), 44, offsetof(Rec, NAME)},
    {"PAT:FIRST_NAME", String(20), 84, offsetof(Rec, FIRST_NAME)},
    {"PAT:LAST_NAME", String(20), 104, offsetof(Rec, LAST_NAME)},
    {"PAT:SOC", Long(), 124, offsetof(Rec, SOC)},
    {"PAT:FREQUENCY", String(20), 128, offsetof(Rec, FREQUENCY)},
    {"PAT:DX", String(200), 148, offsetof(Rec, DX)},
    {"PAT:SEX", String(1), 348, offsetof(Rec, SEX)},
    {"PAT:HEIGHT", Long(), 349, offsetof(Rec, HEIGHT)},
    {"PAT:WEIGHT", Long(), 353, offsetof(Rec, WEIGHT)},
    {"PAT:ALLERGIES", String(50), 357, offsetof(Rec, ALLERGIES)},
    {"PAT:SOCIAL_SECURITY", String(11), 407, offsetof(Rec, SOCIAL_SECURITY)},
    {"PAT:MEDICARE_NUMBER", String(12), 418, offsetof(Rec, MEDICARE_NUMBER)},
    {"PAT:DATE_OF_BIRTH", Long(), 430, offsetof(Rec, DATE_OF_BIRTH)},
    {"PAT:PHONE_NUMBER", String(14), 434, offsetof(Rec, PHONE_NUMBER)},
    {"PAT:ADDRESS_1", String(20), 448, offsetof(Rec, ADDRESS_1)},
    {"PAT:ADDRESS_2", String(20), 468, offsetof(Rec, ADDRESS_2)},
    {"PAT:CITY", String(20), 488, offsetof(Rec, CITY)},
    {"PAT:STATE", String(2), 508, offsetof(Rec, STATE)},
    {"PAT:ZIPCODE", Long(), 510, offsetof(Rec, ZIPCODE)},
    {"PAT:PHYSICIAN_NAME", Long(), 514, offsetof(Rec, PHYSICIAN_NAME)},
    {"PAT:PHARMACY", String(35), 518, offsetof(Rec, PHARMACY)},
    {"PAT:PHARMACY_ADDRESS", String(35), 553, offsetof(Rec, PHARMACY_ADDRESS)},
    {"PAT:PHARMACY_PHONE", String(14), 588, offsetof(Rec, PHARMACY_PHONE)},
    {"PAT:NEXT_VISIT", Long(), 602, offsetof(Rec, NEXT_VISIT)},
    {"PAT:TIME_NEXT_VISIT", Long(), 606, offsetof(Rec, TIME_NEXT_VISIT)},
};
static_assert(FirstMisplacedField(kFields, sizeof(Rec)) == kAllFieldsInPlace);
constexpr auto kKeyRows = std::to_array<KeyRow>({
    {"PAT:KEY_PATIENT_NUMBER", kRecordId, {"+PAT:PATIENT_NUMBER"}},
    {"PAT:AGENCYKEY", kDupOptNoCase, {"+PAT:AGENCY", "+PAT:LAST_NAME", "+PAT:FIRST_NAME"}},
    {"PAT:KEY_LAST_NAME", kDupOptNoCase, {"+PAT:LAST_NAME", "+PAT:FIRST_NAME"}},
    {"PAT:KEY_PHYSICIAN_NAME",
     kDupOptNoCase,
     {"+PAT:PHYSICIAN_NAME", "+PAT:LAST_NAME", "+PAT:FIRST_NAME"}},
    {"PAT:KEY_NEXT_VISIT", kDupOptNoCase, {"-PAT:NEXT_VISIT", "-PAT:TIME_NEXT_VISIT"}},
    {"PAT:DOCKEY", kDupOptNoCase, {"+PAT:PHYSICIAN_NAME"}},
});
constexpr auto kKeys = ResolveKeys(kFields, kKeyRows);
constexpr auto kMemos = std::to_array<MemoRow>({
    {"PAT:PLANS_AND_PROGRESS", "PAT:Plans_and_Progress", 600},
});
constexpr auto kLayout = EncodeLayout<LayoutSize(kFields)>(kFields);
static_assert(KeyNamed(kKeys, PatKey::KEY_PATIENT_NUMBER, "PAT:KEY_PATIENT_NUMBER"));
static_assert(KeyNamed(kKeys, PatKey::AGENCYKEY, "PAT:AGENCYKEY"));
static_assert(KeyNamed(kKeys, PatKey::KEY_LAST_NAME, "PAT:KEY_LAST_NAME"));
static_assert(KeyNamed(kKeys, PatKey::KEY_PHYSICIAN_NAME, "PAT:KEY_PHYSICIAN_NAME"));
static_assert(KeyNamed(kKeys, PatKey::KEY_NEXT_VISIT, "PAT:KEY_NEXT_VISIT"));
static_assert(KeyNamed(kKeys, PatKey::DOCKEY, "PAT:DOCKEY"));
static_assert(MemoNamed(kMemos, PatMemo::PLANS_AND_PROGRESS, "PAT:PLANS_AND_PROGRESS"));
}  // namespace patients

thread_local PatientsRecord PAT;
constinit const FileInfo kPatientsInfo = {
    .label = "Patients",
    .prefix = "PAT",
    .disk_name = "Patients",
    .attributes = kFileAttrCreate | kFileAttrKept08 | kFileAttrThread,
    .record_size = sizeof(PatientsRecord),
    .fields = patients::kFields,
    .keys = patients::kKeys,
    .memos = patients::kMemos,
    .layout = patients::kLayout,
    .identifying_key = "PAT:KEY_PATIENT_NUMBER",
    .instance = [] { return &PatientsFile(); },
};
store::FileDeclaration& PatientsFile() {
  thread_local DeclaredFile file(kPatientsInfo, &PAT);
  return file.declaration();
}

// Physcians: attending physicians, referred to by number from Patients.
namespace physcians {
using Rec = PhysciansRecord;
constexpr FieldRow kFields[] = {
    {"PHY:DOCNO", Long(), 0, offsetof(Rec, DOCNO)},
    {"PHY:NAME", String(40), 4, offsetof(Rec, NAME)},
    {"PHY:ADDRESS1", String(40), 44, offsetof(Rec, ADDRESS1)},
    {"PHY:ADDRESS2", String(40), 84, offsetof(Rec, ADDRESS2)},
    {"PHY:CITY", String(20), 124, offsetof(Rec, CITY)},
    {"PHY:STATE", String(2), 144, offsetof(Rec, STATE)},
    {"PHY:ZIP", String(10), 146, offsetof(Rec, ZIP)},
    {"PHY:PHONE", String(16), 156, offsetof(Rec, PHONE)},
};
static_assert(FirstMisplacedField(kFields, sizeof(Rec)) == kAllFieldsInPlace);
constexpr auto kKeyRows = std::to_array<KeyRow>({
    {"PHY:DOCKEY", kRecordId, {"+PHY:DOCNO"}},
    {"PHY:NAMEKEY", kDupOptNoCase, {"+PHY:NAME"}},
});
constexpr auto kKeys = ResolveKeys(kFields, kKeyRows);
constexpr std::array<MemoRow, 0> kMemos{};
constexpr auto kLayout = EncodeLayout<LayoutSize(kFields)>(kFields);
static_assert(KeyNamed(kKeys, PhyKey::DOCKEY, "PHY:DOCKEY"));
static_assert(KeyNamed(kKeys, PhyKey::NAMEKEY, "PHY:NAMEKEY"));
}  // namespace physcians

thread_local PhysciansRecord PHY;
constinit const FileInfo kPhysciansInfo = {
    .label = "Physcians",
    .prefix = "PHY",
    .disk_name = "PHYSCIANS",
    .attributes = kFileAttrCreate | kFileAttrKept08 | kFileAttrThread,
    .record_size = sizeof(PhysciansRecord),
    .fields = physcians::kFields,
    .keys = physcians::kKeys,
    .memos = physcians::kMemos,
    .layout = physcians::kLayout,
    .identifying_key = "PHY:DOCKEY",
    .instance = [] { return &PhysciansFile(); },
};
store::FileDeclaration& PhysciansFile() {
  thread_local DeclaredFile file(kPhysciansInfo, &PHY);
  return file.declaration();
}

// Family: family contacts.
namespace family {
using Rec = FamilyRecord;
constexpr FieldRow kFields[] = {
    {"FAM:PATIENT_NUMBER", Long(), 0, offsetof(Rec, PATIENT_NUMBER)},
    {"FAM:NAME", String(30), 4, offsetof(Rec, NAME)},
    {"FAM:RELATIONSHIP", String(20), 34, offsetof(Rec, RELATIONSHIP)},
    {"FAM:PHONE", String(14), 54, offsetof(Rec, PHONE)},
};
static_assert(FirstMisplacedField(kFields, sizeof(Rec)) == kAllFieldsInPlace);
constexpr auto kKeyRows = std::to_array<KeyRow>({
    {"FAM:KEY_PATIENT_NUMBER", kDupNoCase, {"+FAM:PATIENT_NUMBER"}},
});
constexpr auto kKeys = ResolveKeys(kFields, kKeyRows);
constexpr std::array<MemoRow, 0> kMemos{};
constexpr auto kLayout = EncodeLayout<LayoutSize(kFields)>(kFields);
static_assert(KeyNamed(kKeys, FamKey::KEY_PATIENT_NUMBER, "FAM:KEY_PATIENT_NUMBER"));
}  // namespace family

thread_local FamilyRecord FAM;
constinit const FileInfo kFamilyInfo = {
    .label = "Family",
    .prefix = "FAM",
    .disk_name = "Family",
    .attributes = kFileAttrCreate | kFileAttrKept08 | kFileAttrThread,
    .record_size = sizeof(FamilyRecord),
    .fields = family::kFields,
    .keys = family::kKeys,
    .memos = family::kMemos,
    .layout = family::kLayout,
    .identifying_key = "FAM:KEY_PATIENT_NUMBER",
    .instance = [] { return &FamilyFile(); },
};
store::FileDeclaration& FamilyFile() {
  thread_local DeclaredFile file(kFamilyInfo, &FAM);
  return file.declaration();
}

// Doctors: other doctors of a patient.
namespace doctors {
using Rec = DoctorsRecord;
constexpr FieldRow kFields[] = {
    {"DOC:PATIENT_NUMBER", Long(), 0, offsetof(Rec, PATIENT_NUMBER)},
    {"DOC:DOCTOR_NAME", String(20), 4, offsetof(Rec, DOCTOR_NAME)},
    {"DOC:TYPE", String(20), 24, offsetof(Rec, TYPE)},
    {"DOC:PHONE", String(14), 44, offsetof(Rec, PHONE)},
};
static_assert(FirstMisplacedField(kFields, sizeof(Rec)) == kAllFieldsInPlace);
constexpr auto kKeyRows = std::to_array<KeyRow>({
    {"DOC:KEY_PATIENT_NUMBER", kDupNoCase, {"+DOC:PATIENT_NUMBER"}},
    {"DOC:TYPE_DOC", kDupOpt, {"+DOC:TYPE"}},
});
constexpr auto kKeys = ResolveKeys(kFields, kKeyRows);
constexpr std::array<MemoRow, 0> kMemos{};
constexpr auto kLayout = EncodeLayout<LayoutSize(kFields)>(kFields);
static_assert(KeyNamed(kKeys, DocKey::KEY_PATIENT_NUMBER, "DOC:KEY_PATIENT_NUMBER"));
static_assert(KeyNamed(kKeys, DocKey::TYPE_DOC, "DOC:TYPE_DOC"));
}  // namespace doctors

thread_local DoctorsRecord DOC;
constinit const FileInfo kDoctorsInfo = {
    .label = "Doctors",
    .prefix = "DOC",
    .disk_name = "Doctors",
    .attributes = kFileAttrCreate | kFileAttrKept08 | kFileAttrThread,
    .record_size = sizeof(DoctorsRecord),
    .fields = doctors::kFields,
    .keys = doctors::kKeys,
    .memos = doctors::kMemos,
    .layout = doctors::kLayout,
    .identifying_key = "DOC:KEY_PATIENT_NUMBER",
    .instance = [] { return &DoctorsFile(); },
};
store::FileDeclaration& DoctorsFile() {
  thread_local DeclaredFile file(kDoctorsInfo, &DOC);
  return file.declaration();
}

}  // namespace carelog::appdata
