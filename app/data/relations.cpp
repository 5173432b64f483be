#include "app/data/relations.h"

#include <array>

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

}  // namespace carelog::appdata
