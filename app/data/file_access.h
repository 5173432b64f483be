// File access for every procedure: use-counted opening, binding for expressions and closing of
// the seventeen data files, the open routine with its repair ladder, and the remembered keys.
//
// Use counts. One count per file declaration: a THREAD file has one declaration per thread, so
// its count is the calling thread's own (a browse on another thread opens its own copy); POC's
// count is the process's. The Fonts file has none.
//   UseFile(F):     count 0 -> OpenDataFile(F, true), then bind F for expressions (the record
//                   field by field, each memo under its mixed-case name); count += 1.
//   ReleaseFile(F): count -= 1; at 0 F is closed. Releasing a file whose count is 0 does
//                   nothing.
// FileUse does both for a list of files, in order, and releases them in reverse.
//
// OpenDataFile(F, create): SHARE with mode 42h, then
//   0 or 52                -> done
//   2 (not found)          -> CREATE (failure: warning 4, halts), SHARE again (failure:
//                             warning 5, halts); create not allowed: warning 22 (halts)
//   47                     -> warning 1 (halts)
//   46                     -> warning 2 (No halts), BUILD (failure: warning 3, halts), SHARE
//                             again; an error there goes on as below
//   anything else          -> warning 30, then the halt with "Disk Error"
// The file's name in every warning is its name on disk as the record store reports it. No
// caller ever sees a failed open.
//
// Remembered keys: the patient number, physician number and plan number of the record that an
// update form is editing, kept per thread (each thread has its own record buffers) so that the
// store routines (integrity.h) can tell whether the key changed. RememberKey_<label> copies the
// key from the buffer; the fourteen files without children have empty routines.
//
// REQUIRES: every routine runs on the calling procedure's thread while it holds the semaphore.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "app/data/dictionary.h"

namespace carelog::appdata {

void OpenDataFile(FileId file, bool create = true);

void UseFile(FileId file);
void ReleaseFile(FileId file);
int32_t UseCount(FileId file);

// Holds files for its lifetime: UseFile for each in order, ReleaseFile in reverse on
// destruction.
class FileUse {
 public:
  FileUse(std::initializer_list<FileId> files);
  explicit FileUse(std::vector<FileId> files);
  ~FileUse();
  FileUse(const FileUse&) = delete;
  FileUse& operator=(const FileUse&) = delete;

 private:
  std::vector<FileId> files_;
};

// Closes every file this process holds open through UseFile on any thread (the halt's cleanup;
// registered with the runtime's halt on the first UseFile).
void CloseEveryUsedFile();

// Remembered keys.
void RememberKey(FileId file);       // the remember routine of `file`
int32_t RememberedKey(FileId file);  // 0 for files that remember nothing
void SetRememberedKey(FileId file, int32_t value);

inline void RememberKey_Patients() {
  RememberKey(FileId::kPatients);
}
inline void RememberKey_Physcians() {
  RememberKey(FileId::kPhyscians);
}
inline void RememberKey_POC() {
  RememberKey(FileId::kPoc);
}
inline void RememberKey_ProgressNotes() {
  RememberKey(FileId::kProgressNotes);
}
inline void RememberKey_Medications() {
  RememberKey(FileId::kMedications);
}
inline void RememberKey_DischargeSummary() {
  RememberKey(FileId::kDischargeSummary);
}
inline void RememberKey_CarePlan() {
  RememberKey(FileId::kCarePlan);
}
inline void RememberKey_Narrative() {
  RememberKey(FileId::kNarrative);
}
inline void RememberKey_Orders() {
  RememberKey(FileId::kOrders);
}
inline void RememberKey_SixtyDay() {
  RememberKey(FileId::kSixtyDay);
}
inline void RememberKey_HHA_Assign() {
  RememberKey(FileId::kHhaAssign);
}
inline void RememberKey_MonthCal() {
  RememberKey(FileId::kMonthCal);
}
inline void RememberKey_Calendar() {
  RememberKey(FileId::kCalendar);
}
inline void RememberKey_Family() {
  RememberKey(FileId::kFamily);
}
inline void RememberKey_Doctors() {
  RememberKey(FileId::kDoctors);
}
inline void RememberKey_AddInfo() {
  RememberKey(FileId::kAddInfo);
}
inline void RememberKey_CaseCon() {
  RememberKey(FileId::kCaseCon);
}

}  // namespace carelog::appdata
