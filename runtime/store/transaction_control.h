// The process's active transaction (LOGOUT, COMMIT, ROLLBACK) and the STREAM batches: both keep
// a data file's write access cycle open across statements.
//
// Transaction list: the data files taking part, each once, with the open tables (driver
// states) that joined through LOGOUT. While a data file is in the list its write cycle stays
// open, with the writer lock held, until COMMIT or ROLLBACK.
//
// COMMIT over two or more changed data files:
//   1. insert the transaction's entry into the control file and commit it;
//   2. for each changed file in list order: replace its transaction mark and write its redo
//      log (the change is durable but not in place; should one file fail, the logs of the files
//      before it are dropped);
//   3. erase the control file entry and commit it -- the commit point;
//   4. put every file's log in place.
// A crash before step 3 leaves logs whose mark names a listed transaction: they are dropped
// when the files are next read. After step 3 they are replayed.
#pragma once

#include <memory>
#include <string>

#include "runtime/store/data_file.h"
#include "runtime/store/driver_state.h"
#include "runtime/store/error_codes.h"

namespace carelog::store {

// A statement that changes pages under STREAM ends its cycle (commits) at this many pages.
inline constexpr int kStreamBatchPages = 40;

// The control file of every later commit ("TCF=").
void SetControlFileName(const std::string& name);
std::string ControlFileName();

int Logout(DriverState& state, const std::shared_ptr<DataFile>& file);
int Commit();
int Rollback();
// Whether `file` belongs to the active transaction.
bool InTransaction(const DataFile& file);

int Stream(DriverState& state, DataFile& file);
int Flush(DriverState& state, DataFile& file);

// The end of a statement on `file`: commits and ends the access cycle unless the transaction
// keeps it open, or STREAM has fewer than kStreamBatchPages changed pages.
int FinishStatement(const DriverState& state, DataFile& file);

// Steps of a multi-file COMMIT, announced to a test hook so that tests can stop the process at
// each of them.
enum class CommitStep {
  kBeforeControlEntry,
  kAfterControlEntry,
  kAfterFirstLog,
  kAfterCommitPoint
};
using CommitStepHook = void (*)(CommitStep step);
void SetCommitStepHook(CommitStepHook hook);

}  // namespace carelog::store
