#include "app/data/relations.h"

#include <array>
#include <climits>
#include <cstring>

#include "app/data/packed_decimal.h"

namespace carelog::appdata {
namespace {

constexpr auto kCascade = OnParentChange::kCascade;
constexpr auto kKeep = OnParentChange::kNotMaintained;
constexpr auto kDelete = OnParentDelete::kCascade;
constexpr auto kClear = OnParentDelete::kClear;

constexpr auto kRelations = std::to_array<Relation>({
    {FileId::kPatients, "PAT:PATIENT_NUMBER", FileId::kCalendar, "DAT:PATIENT_NUMBER", "DAT:PATKEY",
     kCascade, kDelete},
    {FileId::kPatients, "PAT:PATIENT_NUMBER", FileId::kCarePlan, "CAR:PATIENT_NUMBER",
     "CAR:KEY_PATIENT_NUMBER", kCascade, kDelete},
    {FileId::kPatients, "PAT:PATIENT_NUMBER", FileId::kDischargeSummary, "DIS:PATIENT_NUMBER",
     "DIS:KEY_PATIENT_NUMBER", kCascade, kDelete},
    {FileId::kPatients, "PAT:PATIENT_NUMBER", FileId::kDoctors, "DOC:PATIENT_NUMBER",
     "DOC:KEY_PATIENT_NUMBER", kCascade, kDelete},
    {FileId::kPatients, "PAT:PATIENT_NUMBER", FileId::kFamily, "FAM:PATIENT_NUMBER",
     "FAM:KEY_PATIENT_NUMBER", kCascade, kDelete},
    {FileId::kPatients, "PAT:PATIENT_NUMBER", FileId::kHhaAssign, "HHA:PATIENT_NUMBER",
     "HHA:PATIENT_NO_KEY", kKeep, kDelete},
    {FileId::kPatients, "PAT:PATIENT_NUMBER", FileId::kMedications, "MED:PATIENT_NUMBER",
     "MED:KEY_PATIENT_NUMBER", kCascade, kDelete},
    {FileId::kPatients, "PAT:PATIENT_NUMBER", FileId::kMonthCal, "MON:PATIENT_NUMBER",
     "MON:PATIENTNUMBERKEY", kCascade, kDelete},
    {FileId::kPatients, "PAT:PATIENT_NUMBER", FileId::kNarrative, "NAR:PATIENT_NUMBER",
     "NAR:PATIENT_NUMBER_KEY", kCascade, kDelete},
    {FileId::kPatients, "PAT:PATIENT_NUMBER", FileId::kOrders, "ORD:PATIENT_NUMBER", "ORD:PATKEY",
     kCascade, kDelete},
    {FileId::kPatients, "PAT:PATIENT_NUMBER", FileId::kProgressNotes, "PRO:PATIENT_NUMBER",
     "PRO:KEY_PATIENT_NUMBER", kCascade, kDelete},
    {FileId::kPatients, "PAT:PATIENT_NUMBER", FileId::kSixtyDay, "SIX:PATIENT_NUMBER", "SIX:PATKEY",
     kCascade, kDelete},
    {FileId::kPhyscians, "PHY:DOCNO", FileId::kPatients, "PAT:PHYSICIAN_NAME", "PAT:DOCKEY",
     kCascade, kClear},
    {FileId::kPoc, "POC:REC_NO", FileId::kAddInfo, "ADD:RECNO", "ADD:RECNOKEY", kCascade, kDelete},
});

}  // namespace

std::span<const Relation> Relations() {
  return kRelations;
}

namespace {

// The relation field called `name`, or null when it is no LONG or DECIMAL field.
const FieldRow* NumberField(const FileInfo& info, std::string_view name) {
  uint32_t number = FieldNumberOf(info, name);
  if (number == 0) return nullptr;
  const FieldRow& field = info.fields[number - 1];
  bool numeric = field.type.code == store::kTypeLong || field.type.code == store::kTypeDecimal;
  return numeric && field.type.dim == 0 ? &field : nullptr;
}

}  // namespace

bool ReadRelationNumber(const FileInfo& info, std::string_view name, const uint8_t* record,
                        int32_t* value) {
  const FieldRow* field = NumberField(info, name);
  if (field == nullptr) return false;
  if (field->type.code == store::kTypeLong) {
    std::memcpy(value, record + field->offset, sizeof *value);
    return true;
  }
  int64_t number = 0;
  std::span<const uint8_t> bytes(record + field->offset, field->type.length);
  if (DecodeDecimal(bytes, &number) != DecimalStatus::kOk || number < INT32_MIN ||
      number > INT32_MAX) {
    return false;
  }
  *value = static_cast<int32_t>(number);
  return true;
}

bool WriteRelationNumber(const FileInfo& info, std::string_view name, uint8_t* record,
                         int32_t value) {
  const FieldRow* field = NumberField(info, name);
  if (field == nullptr) return false;
  if (field->type.code == store::kTypeLong) {
    std::memcpy(record + field->offset, &value, sizeof value);
    return true;
  }
  std::span<uint8_t> bytes(record + field->offset, field->type.length);
  return EncodeDecimal(value, bytes) == DecimalStatus::kOk;
}

}  // namespace carelog::appdata
