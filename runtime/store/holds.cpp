#include "runtime/store/holds.h"

#include <cerrno>

#include "runtime/store/data_file_impl.h"
#include "runtime/store/lock_region.h"

namespace carelog::store {
namespace {

File& LockFile(DataFile& file) {
  return *file.impl().file_;
}

// One attempt at `record`'s byte: 0 when taken, `refused` when another process holds it.
int TryHoldRecord(DataFile& file, uint32_t record, int refused) {
  int error = TryLockNumber(LockFile(file), record);
  return error == EAGAIN ? refused : error;
}

}  // namespace

int ReleaseHeldRecord(DataFile& file, TableSharing& sharing) {
  if (sharing.held_record == 0) return 0;
  const uint32_t record = sharing.held_record;
  sharing.held_record = 0;
  return UnlockNumber(LockFile(file), record);
}

void ReleaseAllLocks(Table& table, TableSharing& sharing) {
  ReleaseHeldRecord(table.file(), sharing);
  UnlockTable(table, sharing);
}

int AfterRead(const DriverState& state, Table& table, TableSharing& sharing, uint32_t record) {
  if (state.hold_requested) {
    if (int error = TryHoldRecord(table.file(), record, kErrRecordIsAlreadyHeld)) {
      // A read cycle ends so that the other process gets its turn before the read is repeated;
      // a write cycle kept open by a transaction or STREAM stays open with its changes.
      if (table.file().in_access() && !table.file().in_write_access()) table.file().EndAccess();
      return error;
    }
    sharing.held_record = record;
  }
  // Only a watched read's snapshot is ever compared, so other reads skip the copy.
  if (state.watch_requested) table.StoredImageInto(state.record, &sharing.snapshot);
  sharing.snapshot_taken = state.watch_requested;
  return 0;
}

int SharedPut(const DriverState& state, Table& table, TableSharing& sharing, uint32_t record,
              const std::function<int()>& write) {
  DataFile& file = table.file();
  int rc = file.BeginAccess(Access::kWrite);
  const bool lock_here = rc == 0 && sharing.held_record != record;
  if (lock_here) rc = TryHoldRecord(file, record, kErrAccessDenied);
  const bool locked = lock_here && rc == 0;

  bool unchanged = false;
  const std::string image = table.StoredImage(state.record);
  if (rc == 0 && sharing.snapshot_taken) {
    std::string stored;
    bool found = false;
    rc = table.ReadImage(record, &stored, &found);
    if (rc == 0 && found && stored != sharing.snapshot) rc = kErrRecordChangedElsewhere;
    // Memos are not part of the comparison, so a table with memos always writes.
    unchanged = found && stored == image && table.definition().memos.empty();
  }
  if (rc == 0 && !unchanged) rc = write();
  if (rc == 0) sharing.snapshot = image;

  if (locked) UnlockNumber(LockFile(file), record);
  int released = ReleaseHeldRecord(file, sharing);
  return rc != 0 ? rc : released;
}

int SharedDelete(Table& table, TableSharing& sharing, uint32_t record,
                 const std::function<int()>& write) {
  DataFile& file = table.file();
  int rc = file.BeginAccess(Access::kWrite);
  const bool lock_here = rc == 0 && sharing.held_record != record;
  if (lock_here) rc = TryHoldRecord(file, record, kErrRecordNotAvailable);
  const bool locked = lock_here && rc == 0;
  if (rc == 0) rc = write();
  if (rc == 0) sharing.snapshot_taken = false;
  if (locked) UnlockNumber(LockFile(file), record);
  int released = ReleaseHeldRecord(file, sharing);
  return rc != 0 ? rc : released;
}

int LockTable(Table& table, TableSharing& sharing) {
  if (sharing.table_locked) return 0;
  int error = TryLockNumber(LockFile(table.file()), table.number());
  if (error == EAGAIN) return kErrFileIsAlreadyLocked;
  if (error == 0) sharing.table_locked = true;
  return error;
}

int UnlockTable(Table& table, TableSharing& sharing) {
  if (!sharing.table_locked) return 0;
  sharing.table_locked = false;
  return UnlockNumber(LockFile(table.file()), table.number());
}

}  // namespace carelog::store
