// Record holds, the WATCH snapshot and the table lock of one open table, between processes that
// share its data file. All of them are locks on number bytes of the lock region (lock_region.h),
// which exclude only holders of the same byte; none of them ever waits.
//
//   HOLD requested --read of record r--> r held (its byte locked) --next read, PUT, DELETE,
//                                                                   RELEASE, close--> released
//   WATCH requested --read--> snapshot taken --PUT--> checked against the stored record
//
// Invariants: held_record != 0 exactly when this table holds that record's byte; while
// snapshot_taken, the snapshot is the stored image of the record last read or written through
// this table.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "runtime/store/data_file.h"
#include "runtime/store/driver_state.h"
#include "runtime/store/error_codes.h"
#include "runtime/store/table.h"

namespace carelog::store {

struct TableSharing {
  uint32_t held_record = 0;
  bool table_locked = false;
  bool snapshot_taken = false;
  std::string snapshot;
};

// Releases the held record, if any.
int ReleaseHeldRecord(DataFile& file, TableSharing& sharing);
// Releases the held record and the table lock (a table being closed).
void ReleaseAllLocks(Table& table, TableSharing& sharing);

// After a successful read of `record` into state.record: holds it when HOLD was requested (43,
// ending the access cycle, when another process holds it) and takes the snapshot.
int AfterRead(const DriverState& state, Table& table, TableSharing& sharing, uint32_t record);

// PUT and DELETE of `record`: the statement holds the record's byte for its duration unless this
// table holds it already (5 for PUT, 33 for DELETE when another process holds it); PUT after a
// WATCH read fails with 89 when the stored record no longer equals the snapshot, and writes
// nothing when the stored record equals the buffer. `write` performs the change. The held record
// is released at the end.
int SharedPut(const DriverState& state, Table& table, TableSharing& sharing, uint32_t record,
              const std::function<int()>& write);
int SharedDelete(Table& table, TableSharing& sharing, uint32_t record,
                 const std::function<int()>& write);

// LOCK (one attempt; 32 when another process holds the table's lock) and UNLOCK.
int LockTable(Table& table, TableSharing& sharing);
int UnlockTable(Table& table, TableSharing& sharing);

}  // namespace carelog::store
