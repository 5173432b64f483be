// Key and memo names of every file, for statements and procedures: PatKey::KEY_LAST_NAME is
// the key PAT:KEY_LAST_NAME, PatMemo::PLANS_AND_PROGRESS the memo PAT:PLANS_AND_PROGRESS. The
// enumerators are the 0-based positions in the declaration's key and memo lists (checked at
// compile time against the declared names), and Key() / Memo() return the calling thread's
// declaration of them.
#pragma once

#include <cstdint>

#include "app/data/dictionary.h"
#include "runtime/store/declarations.h"

namespace carelog::appdata {

enum class PatKey : uint8_t {
  KEY_PATIENT_NUMBER,
  AGENCYKEY,
  KEY_LAST_NAME,
  KEY_PHYSICIAN_NAME,
  KEY_NEXT_VISIT,
  DOCKEY
};
inline store::KeyDeclaration& Key(PatKey key) {
  return *PatientsFile().keys[static_cast<uint8_t>(key)];
}
enum class PatMemo : uint8_t { PLANS_AND_PROGRESS };
inline store::MemoDeclaration& Memo(PatMemo memo) {
  return *PatientsFile().memos[static_cast<uint8_t>(memo)];
}

enum class PhyKey : uint8_t { DOCKEY, NAMEKEY };
inline store::KeyDeclaration& Key(PhyKey key) {
  return *PhysciansFile().keys[static_cast<uint8_t>(key)];
}

enum class ProKey : uint8_t { KEY_PATIENT_NUMBER, RECORD_NO_KEY, KEY_DATE };
inline store::KeyDeclaration& Key(ProKey key) {
  return *ProgressNotesFile().keys[static_cast<uint8_t>(key)];
}
enum class ProMemo : uint8_t { CLINICAL_ASSESMENT, PROCEDURES, TEACHING, PLANS, RNOBSERVSES };
inline store::MemoDeclaration& Memo(ProMemo memo) {
  return *ProgressNotesFile().memos[static_cast<uint8_t>(memo)];
}

enum class MedKey : uint8_t { KEY_PATIENT_NUMBER, RECORD_KEY, DATE_KEYS };
inline store::KeyDeclaration& Key(MedKey key) {
  return *MedicationsFile().keys[static_cast<uint8_t>(key)];
}

enum class DisKey : uint8_t { KEY_PATIENT_NUMBER, RECORD_KEY, KEY_DATE };
inline store::KeyDeclaration& Key(DisKey key) {
  return *DischargeSummaryFile().keys[static_cast<uint8_t>(key)];
}
enum class DisMemo : uint8_t { GOALS_ACHIEVED, MEDICATIONS };
inline store::MemoDeclaration& Memo(DisMemo memo) {
  return *DischargeSummaryFile().memos[static_cast<uint8_t>(memo)];
}

enum class CarKey : uint8_t { KEY_PATIENT_NUMBER, RECORD_KEY };
inline store::KeyDeclaration& Key(CarKey key) {
  return *CarePlanFile().keys[static_cast<uint8_t>(key)];
}

enum class NarKey : uint8_t { PATIENT_NUMBER_KEY, RECORD_KEY };
inline store::KeyDeclaration& Key(NarKey key) {
  return *NarrativeFile().keys[static_cast<uint8_t>(key)];
}
enum class NarMemo : uint8_t { NARRATIVE };
inline store::MemoDeclaration& Memo(NarMemo memo) {
  return *NarrativeFile().memos[static_cast<uint8_t>(memo)];
}

enum class OrdKey : uint8_t { PATKEY, DATEKEY, RECNOKEY };
inline store::KeyDeclaration& Key(OrdKey key) {
  return *OrdersFile().keys[static_cast<uint8_t>(key)];
}
enum class OrdMemo : uint8_t { ORDERS };
inline store::MemoDeclaration& Memo(OrdMemo memo) {
  return *OrdersFile().memos[static_cast<uint8_t>(memo)];
}

enum class SixKey : uint8_t { PATKEY, RECNOKEY, DATEKEY };
inline store::KeyDeclaration& Key(SixKey key) {
  return *SixtyDayFile().keys[static_cast<uint8_t>(key)];
}
enum class SixMemo : uint8_t { SUMMARY };
inline store::MemoDeclaration& Memo(SixMemo memo) {
  return *SixtyDayFile().memos[static_cast<uint8_t>(memo)];
}

enum class HhaKey : uint8_t { PATIENT_NO_KEY, DATE_KEY, REC_NO_KEY };
inline store::KeyDeclaration& Key(HhaKey key) {
  return *HhaAssignFile().keys[static_cast<uint8_t>(key)];
}

enum class MonKey : uint8_t { PATIENTNUMBERKEY, RECNOKEY };
inline store::KeyDeclaration& Key(MonKey key) {
  return *MonthCalFile().keys[static_cast<uint8_t>(key)];
}

enum class DatKey : uint8_t { DATEKEY, PATKEY };
inline store::KeyDeclaration& Key(DatKey key) {
  return *CalendarFile().keys[static_cast<uint8_t>(key)];
}

enum class FamKey : uint8_t { KEY_PATIENT_NUMBER };
inline store::KeyDeclaration& Key(FamKey key) {
  return *FamilyFile().keys[static_cast<uint8_t>(key)];
}

enum class DocKey : uint8_t { KEY_PATIENT_NUMBER, TYPE_DOC };
inline store::KeyDeclaration& Key(DocKey key) {
  return *DoctorsFile().keys[static_cast<uint8_t>(key)];
}

enum class PocKey : uint8_t { PATKEY, RECNOKEY, DATEKEY };
inline store::KeyDeclaration& Key(PocKey key) {
  return *PocFile().keys[static_cast<uint8_t>(key)];
}
enum class PocMemo : uint8_t { ORDERS, GOALS };
inline store::MemoDeclaration& Memo(PocMemo memo) {
  return *PocFile().memos[static_cast<uint8_t>(memo)];
}

enum class AddKey : uint8_t { RECNOKEY };
inline store::KeyDeclaration& Key(AddKey key) {
  return *AddInfoFile().keys[static_cast<uint8_t>(key)];
}
enum class AddMemo : uint8_t { ADDINFO };
inline store::MemoDeclaration& Memo(AddMemo memo) {
  return *AddInfoFile().memos[static_cast<uint8_t>(memo)];
}

enum class CasKey : uint8_t { PATIENTNUMBERKEY, RECNOKEY, DATEKEY };
inline store::KeyDeclaration& Key(CasKey key) {
  return *CaseConFile().keys[static_cast<uint8_t>(key)];
}
enum class CasMemo : uint8_t { PARTICIPANTS, PROBLEMS, INTERVENTIONS, GOALS };
inline store::MemoDeclaration& Memo(CasMemo memo) {
  return *CaseConFile().memos[static_cast<uint8_t>(memo)];
}

}  // namespace carelog::appdata
