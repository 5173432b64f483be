#include "runtime/store/transaction_control.h"

#include <ctime>
#include <vector>

#include "runtime/store/table_entries.h"
#include "runtime/store/transaction.h"
#include "runtime/store/tree.h"

namespace carelog::store {
namespace {

struct Participant {
  std::shared_ptr<DataFile> file;
  std::vector<DriverState*> states;
};

std::vector<Participant>& Transaction() {
  static std::vector<Participant> list;
  return list;
}

std::string& ControlName() {
  static std::string name(kDefaultControlFileName);
  return name;
}

CommitStepHook step_hook = nullptr;

void Announce(CommitStep step) {
  if (step_hook != nullptr) step_hook(step);
}

// Empties the transaction list, taking the tables out of LOGOUT.
std::vector<Participant> TakeTransaction() {
  std::vector<Participant> list = std::move(Transaction());
  Transaction().clear();
  for (Participant& p : list) {
    for (DriverState* state : p.states) state->bits &= ~kBitLogout;
  }
  return list;
}

uint32_t LocalSeconds() {
  const time_t now = time(nullptr);
  struct tm local = {};
  localtime_r(&now, &local);
  return static_cast<uint32_t>(now + local.tm_gmtoff);
}

const std::string& MarkKey() {
  static const std::string key(1, static_cast<char>(kKindMark));
  return key;
}

// Ends every participant's cycle, committing it; the first error wins.
int EndAll(const std::vector<Participant>& list) {
  int rc = 0;
  for (const Participant& p : list) {
    int end = p.file->EndAccess();
    if (rc == 0) rc = end;
  }
  return rc;
}

void AbandonAll(const std::vector<Participant>& list) {
  for (const Participant& p : list) p.file->AbandonAccess();
}

// Opens the control file, creating it when missing.
int OpenControlFile(std::unique_ptr<DataFile>* control) {
  DataFileOptions options;
  options.create = true;
  options.shared = true;
  return DataFile::Open(ControlFilePath(ControlName()), options, control);
}

// Step 1: a new transaction number, listed in the control file.
int ListTransaction(DataFile& control, uint32_t* number) {
  int rc = control.BeginAccess(Access::kWrite);
  bool inserted = false;
  for (*number = LocalSeconds(); rc == 0 && !inserted; ++*number) {
    rc = control.tree().Insert(ControlEntryKey(*number), "", &inserted);
    if (inserted) break;
  }
  if (rc != 0) {
    control.AbandonAccess();
    return rc;
  }
  return control.EndAccess();
}

int UnlistTransaction(DataFile& control, uint32_t number) {
  int rc = control.BeginAccess(Access::kWrite);
  if (rc == 0) rc = control.tree().Erase(ControlEntryKey(number));
  if (rc != 0) {
    control.AbandonAccess();
    return rc;
  }
  return control.EndAccess();
}

// Steps 1 to 4 over the changed files; every cycle is ended or abandoned on return.
int CommitSeveral(const std::vector<Participant>& list, const std::vector<DataFile*>& changed) {
  Announce(CommitStep::kBeforeControlEntry);
  std::unique_ptr<DataFile> control;
  uint32_t number = 0;
  int rc = OpenControlFile(&control);
  if (rc == 0) rc = ListTransaction(*control, &number);
  if (rc != 0) {
    AbandonAll(list);
    return rc;
  }
  Announce(CommitStep::kAfterControlEntry);

  const std::string mark = EncodeMark(number, ControlName());
  size_t logged = 0;
  for (; rc == 0 && logged < changed.size(); ++logged) {
    DataFile& file = *changed[logged];
    rc = file.tree().Put(MarkKey(), mark);
    if (rc == 0) rc = file.PrepareCommit();
    if (rc != 0) break;
    if (logged == 0) Announce(CommitStep::kAfterFirstLog);
  }
  if (rc == 0) rc = UnlistTransaction(*control, number);
  if (rc != 0) {
    for (size_t i = 0; i < logged && i < changed.size(); ++i) changed[i]->DropPreparedCommit();
    AbandonAll(list);
    UnlistTransaction(*control, number);
    return rc;
  }
  Announce(CommitStep::kAfterCommitPoint);

  for (DataFile* file : changed) {
    int finished = file->FinishCommit();
    if (rc == 0) rc = finished;
  }
  int ended = EndAll(list);
  return rc != 0 ? rc : ended;
}

}  // namespace

void SetControlFileName(const std::string& name) {
  ControlName() = name;
}

std::string ControlFileName() {
  return ControlName();
}

void SetCommitStepHook(CommitStepHook hook) {
  step_hook = hook;
}

bool InTransaction(const DataFile& file) {
  for (const Participant& p : Transaction()) {
    if (p.file.get() == &file) return true;
  }
  return false;
}

int Logout(DriverState& state, const std::shared_ptr<DataFile>& file) {
  if (int rc = file->BeginAccess(Access::kWrite)) return rc;
  std::vector<Participant>& list = Transaction();
  Participant* entry = nullptr;
  for (Participant& p : list) {
    if (p.file == file) entry = &p;
  }
  if (entry == nullptr) {
    list.push_back(Participant{file, {}});
    entry = &list.back();
  }
  entry->states.push_back(&state);
  state.bits |= kBitLogout;
  return 0;
}

int Commit() {
  const std::vector<Participant> list = TakeTransaction();
  std::vector<DataFile*> changed;
  for (const Participant& p : list) {
    if (p.file->has_changes()) changed.push_back(p.file.get());
  }
  if (changed.size() <= 1) return EndAll(list);
  return CommitSeveral(list, changed);
}

int Rollback() {
  AbandonAll(TakeTransaction());
  return 0;
}

int Stream(DriverState& state, DataFile& file) {
  state.bits |= kBitStream;
  return file.BeginAccess(Access::kWrite);
}

int Flush(DriverState& state, DataFile& file) {
  state.bits &= ~kBitStream;
  if (InTransaction(file) || !file.in_access()) return 0;
  return file.EndAccess();
}

int FinishStatement(const DriverState& state, DataFile& file) {
  if (!file.in_access() || InTransaction(file)) return 0;
  if ((state.bits & kBitStream) != 0 && file.in_write_access() &&
      file.changed_page_count() < kStreamBatchPages) {
    return 0;
  }
  return file.EndAccess();
}

}  // namespace carelog::store
