// The store and delete engine over the relation table. Children are visited by repositioning
// in the child key at the first entry that holds the sought number after every change, so a
// child whose key moved (or that was deleted) never shifts the reading sequence past a
// remaining one; a child that could not be changed is read past.
#include "app/data/integrity.h"

#include <array>
#include <cstring>
#include <functional>
#include <span>
#include <string>

#include "app/data/file_access.h"
#include "app/data/relations.h"
#include "app/data/warnings.h"
#include "runtime/store/error_state.h"
#include "runtime/store/file_statements.h"

namespace carelog::appdata {
namespace {

constexpr int kNoMoreRecords = 33;
constexpr int kRecordChanged = 89;

using F = FileId;
// The files each parent holds while it stores (cascade on change) and deletes.
constexpr std::array kPatientsStoreFiles = {F::kCalendar,      F::kCarePlan,  F::kDischargeSummary,
                                            F::kDoctors,       F::kFamily,    F::kMedications,
                                            F::kMonthCal,      F::kNarrative, F::kOrders,
                                            F::kProgressNotes, F::kSixtyDay};
constexpr std::array kPatientsDeleteFiles = {
    F::kCalendar,  F::kCarePlan,  F::kDischargeSummary, F::kDoctors,
    F::kFamily,    F::kHhaAssign, F::kMedications,      F::kMonthCal,
    F::kNarrative, F::kOrders,    F::kProgressNotes,    F::kSixtyDay};
constexpr std::array kPhysciansFiles = {F::kCalendar, F::kCarePlan,      F::kDischargeSummary,
                                        F::kDoctors,  F::kFamily,        F::kMedications,
                                        F::kMonthCal, F::kNarrative,     F::kOrders,
                                        F::kPatients, F::kProgressNotes, F::kSixtyDay};
constexpr std::array kPocFiles = {F::kAddInfo};

std::span<const FileId> RelatedFiles(FileId parent, bool deleting) {
  switch (parent) {
    case F::kPatients:
      return deleting ? std::span<const FileId>(kPatientsDeleteFiles) : kPatientsStoreFiles;
    case F::kPhyscians:
      return kPhysciansFiles;
    case F::kPoc:
      return kPocFiles;
    default:
      return {};
  }
}

bool IsParent(FileId file) {
  return !RelatedFiles(file, true).empty();
}

const char* LabelOf(FileId file) {
  return Info(file).label;
}

// Blank strings, zero numbers.
void ClearRecord(FileId file) {
  const FileInfo& info = Info(file);
  uint8_t* record = Declaration(file).buffer;
  std::memset(record, 0, info.record_size);
  for (const FieldRow& field : info.fields) {
    if (field.type.code != store::kTypeString) continue;
    std::memset(record + field.offset, ' ',
                field.type.length * std::max<uint32_t>(1, field.type.dim));
  }
}

int32_t NumberIn(std::string_view field, FileId file) {
  int32_t value = 0;
  ReadRelationNumber(Info(file), field, Declaration(file).buffer, &value);
  return value;
}

// What an action did to the child record in the buffer.
enum class Outcome { kChanged, kUnchanged, kFailed };

// Calls `act` for every child of `relation` whose child field holds `value`. 0 when all were
// visited, 1 after a read error (warning 35) or a failed action.
int VisitChildren(const Relation& relation, int32_t value, const std::function<Outcome()>& act) {
  store::FileDeclaration& child = Declaration(relation.child);
  store::KeyDeclaration& key = *FindKey(relation.child, relation.child_key);
  bool reposition = true;
  for (;;) {
    if (reposition) {
      ClearRecord(relation.child);
      WriteRelationNumber(Info(relation.child), relation.child_field, child.buffer, value);
      store::Set(key, key);
    }
    if (store::Next(child) != 0) {
      if (store::ErrorCode() == kNoMoreRecords) return 0;
      ShowWarning(warning::kRecordRetrievalError, LabelOf(relation.child));
      return 1;
    }
    if (NumberIn(relation.child_field, relation.child) != value) return 0;
    Outcome outcome = act();
    if (outcome == Outcome::kFailed) return 1;
    reposition = outcome == Outcome::kChanged;
  }
}

int CascadeUpdate(const Relation& relation, int32_t old_key, int32_t new_key) {
  store::FileDeclaration& child = Declaration(relation.child);
  return VisitChildren(relation, old_key, [&] {
    RememberKey(relation.child);
    WriteRelationNumber(Info(relation.child), relation.child_field, child.buffer, new_key);
    if (store::Put(child) == 0) return Outcome::kChanged;
    ShowWarning(warning::kUpdateOperationError, LabelOf(relation.child));
    return Outcome::kFailed;
  });
}

int CascadeDelete(const Relation& relation, int32_t key) {
  store::FileDeclaration& child = Declaration(relation.child);
  return VisitChildren(relation, key, [&] {
    if (store::Delete(child) == 0) return Outcome::kChanged;
    ShowWarning(warning::kDeleteOperationError, LabelOf(relation.child));
    return Outcome::kFailed;
  });
}

// A cleared child keeps its record; a store error there is not reported, the record is read
// past.
int ClearChildren(const Relation& relation, int32_t key) {
  store::FileDeclaration& child = Declaration(relation.child);
  return VisitChildren(relation, key, [&] {
    RememberKey(relation.child);
    WriteRelationNumber(Info(relation.child), relation.child_field, child.buffer, 0);
    return store::Put(child) == 0 ? Outcome::kChanged : Outcome::kUnchanged;
  });
}

// Warning 15 for a failed store of `file`: the error phrase after 89, else the file's label.
int StoreFailed(FileId file) {
  bool changed = store::ErrorCode() == kRecordChanged;
  ShowWarning(warning::kUpdateOperationError, changed ? kChangedByAnotherStation : LabelOf(file));
  return 1;
}

int CascadeChange(FileId parent) {
  int32_t old_key = RememberedKey(parent);
  int32_t new_key = 0;
  for (const Relation& relation : Relations()) {
    if (relation.parent != parent) continue;
    new_key = NumberIn(relation.parent_field, parent);
    if (new_key == old_key) return 0;
    if (relation.on_change != OnParentChange::kCascade) continue;
    if (CascadeUpdate(relation, old_key, new_key) != 0) return 1;
  }
  return 0;
}

int DeleteChildren(FileId parent) {
  for (const Relation& relation : Relations()) {
    if (relation.parent != parent) continue;
    int32_t key = NumberIn(relation.parent_field, parent);
    int result = relation.on_delete == OnParentDelete::kCascade ? CascadeDelete(relation, key)
                                                                : ClearChildren(relation, key);
    if (result != 0) return 1;
  }
  return 0;
}

std::vector<FileId> Held(FileId parent, bool deleting) {
  std::span<const FileId> files = RelatedFiles(parent, deleting);
  return {files.begin(), files.end()};
}

}  // namespace

int32_t StoreChecked(FileId file) {
  FileUse related(Held(file, false));
  if (store::Put(Declaration(file)) != 0) return StoreFailed(file);
  if (!IsParent(file)) return 0;
  return CascadeChange(file);
}

int32_t DeleteChecked(FileId file) {
  store::FileDeclaration& declaration = Declaration(file);
  store::KeyDeclaration& key = *FindKey(file, Info(file).identifying_key);
  std::string position = store::Position(key);
  FileUse related(Held(file, true));
  store::Reget(key, position);  // unchecked: the delete reports any problem
  if (DeleteChildren(file) != 0) return 1;
  if (store::Delete(declaration) == 0) return 0;
  ShowWarning(warning::kDeleteOperationError, LabelOf(file));
  return 1;
}

}  // namespace carelog::appdata
