// The store and delete routines through which the update forms write: one per data file, all
// run by one engine over the relation table (relations.h). They work on the calling thread's
// record buffer and current record, report every problem through the standard warnings and
// return 0 (stored / deleted) or 1 (failed, the user has been told). Nothing is undone on a
// failure: a parent stored before a failing cascade keeps its new key, children already moved,
// deleted or cleared stay so.
//
// StoreChecked(F):
//   1. F a parent (Patients, Physcians, POC): its related files are held (file_access.h) for
//      the call;
//   2. PUT of the current record; error 89 -> warning 15 with "Record Changed by Another
//      Station", any other error -> warning 15 with F's label; return 1;
//   3. a parent whose key field still equals its remembered key (RememberKey_*) returns 0;
//      otherwise each child whose relation cascades on change (every child of Patients but
//      HHA_Assign; Patients under Physcians; AddInfo under POC) is visited in its key from
//      the remembered key on, and each child that holds the remembered key is given the
//      parent's new key and stored (a read error: warning 35 with the child's label; a store
//      error: warning 15 with the child's label; either returns 1 at once).
//
// DeleteChecked(F):
//   1. the position of the current record in F's identifying key is saved and the record is
//      re-read by it, so that the delete works on the stored record;
//   2. F a parent: its related files are held; each child is deleted (Patients' twelve
//      children, AddInfo under POC) or cleared (PAT:PHYSICIAN_NAME set to 0 for the patients
//      of a deleted physician, store errors there not reported); a failure returns 1;
//   3. DELETE; an error -> warning 17 with F's label, return 1.
//
// REQUIRES: F is open through UseFile on this thread, with the record to write in its buffer
// (store) or as its current record (delete); for a parent, its RememberKey_* ran when the
// record was read.
#pragma once

#include <cstdint>

#include "app/data/dictionary.h"

namespace carelog::appdata {

int32_t StoreChecked(FileId file);
int32_t DeleteChecked(FileId file);

inline int32_t StoreChecked_Patients() {
  return StoreChecked(FileId::kPatients);
}
inline int32_t StoreChecked_Physcians() {
  return StoreChecked(FileId::kPhyscians);
}
inline int32_t StoreChecked_POC() {
  return StoreChecked(FileId::kPoc);
}
inline int32_t StoreChecked_ProgressNotes() {
  return StoreChecked(FileId::kProgressNotes);
}
inline int32_t StoreChecked_Medications() {
  return StoreChecked(FileId::kMedications);
}
inline int32_t StoreChecked_DischargeSummary() {
  return StoreChecked(FileId::kDischargeSummary);
}
inline int32_t StoreChecked_CarePlan() {
  return StoreChecked(FileId::kCarePlan);
}
inline int32_t StoreChecked_Narrative() {
  return StoreChecked(FileId::kNarrative);
}
inline int32_t StoreChecked_Orders() {
  return StoreChecked(FileId::kOrders);
}
inline int32_t StoreChecked_SixtyDay() {
  return StoreChecked(FileId::kSixtyDay);
}
inline int32_t StoreChecked_HHA_Assign() {
  return StoreChecked(FileId::kHhaAssign);
}
inline int32_t StoreChecked_MonthCal() {
  return StoreChecked(FileId::kMonthCal);
}
inline int32_t StoreChecked_Calendar() {
  return StoreChecked(FileId::kCalendar);
}
inline int32_t StoreChecked_Family() {
  return StoreChecked(FileId::kFamily);
}
inline int32_t StoreChecked_Doctors() {
  return StoreChecked(FileId::kDoctors);
}
inline int32_t StoreChecked_AddInfo() {
  return StoreChecked(FileId::kAddInfo);
}
inline int32_t StoreChecked_CaseCon() {
  return StoreChecked(FileId::kCaseCon);
}

inline int32_t DeleteChecked_Patients() {
  return DeleteChecked(FileId::kPatients);
}
inline int32_t DeleteChecked_Physcians() {
  return DeleteChecked(FileId::kPhyscians);
}
inline int32_t DeleteChecked_POC() {
  return DeleteChecked(FileId::kPoc);
}
inline int32_t DeleteChecked_ProgressNotes() {
  return DeleteChecked(FileId::kProgressNotes);
}
inline int32_t DeleteChecked_Medications() {
  return DeleteChecked(FileId::kMedications);
}
inline int32_t DeleteChecked_DischargeSummary() {
  return DeleteChecked(FileId::kDischargeSummary);
}
inline int32_t DeleteChecked_CarePlan() {
  return DeleteChecked(FileId::kCarePlan);
}
inline int32_t DeleteChecked_Narrative() {
  return DeleteChecked(FileId::kNarrative);
}
inline int32_t DeleteChecked_Orders() {
  return DeleteChecked(FileId::kOrders);
}
inline int32_t DeleteChecked_SixtyDay() {
  return DeleteChecked(FileId::kSixtyDay);
}
inline int32_t DeleteChecked_HHA_Assign() {
  return DeleteChecked(FileId::kHhaAssign);
}
inline int32_t DeleteChecked_MonthCal() {
  return DeleteChecked(FileId::kMonthCal);
}
inline int32_t DeleteChecked_Calendar() {
  return DeleteChecked(FileId::kCalendar);
}
inline int32_t DeleteChecked_Family() {
  return DeleteChecked(FileId::kFamily);
}
inline int32_t DeleteChecked_Doctors() {
  return DeleteChecked(FileId::kDoctors);
}
inline int32_t DeleteChecked_AddInfo() {
  return DeleteChecked(FileId::kAddInfo);
}
inline int32_t DeleteChecked_CaseCon() {
  return DeleteChecked(FileId::kCaseCon);
}

}  // namespace carelog::appdata
