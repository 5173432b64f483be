// The internal interface through which the driver reaches the stored tables: every operation
// whose work lies in the data file's pages and keys. The driver decides everything else (the
// operation table's preconditions and state bits, error posting, reading-mode bookkeeping,
// HOLD retries and LOCK waiting) and calls exactly one of these per statement, followed by
// FinishAccessCycle.
//
// Contract for every method:
//   - returns 0 on success or an error code of the message table (a failure of the operating
//     system as its system error number, see SystemErrorCode in error_state.h);
//   - reads and writes the record through state.record (record_size bytes) and the memos
//     through state.memos[i].buffer / length;
//   - on a successful read or write of a record sets state.current_record; the driver sets and
//     clears the state bits itself;
//   - a read of a record (GetByKey, GetByRecord, Reget, Next, Previous) consumes the HOLD and
//     WATCH requests (state.hold_requested, watch_requested) and skip_memos; under HOLD it fails
//     with 43 when another process holds the record, and the driver retries;
//   - may attach its own per-file object to state.table (Open, Create) and finds it there later;
//   - never throws.
// The default implementation of each method returns kErrUnsupportedFunction, so a driver without a
// registered table layer fails every stored-data operation with "Unsupported File Driver
// Function". New methods are only ever added, with such a default.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/store/driver_state.h"
#include "runtime/store/error_codes.h"

namespace carelog::store {

// An OPEN / SHARE access mode, decoded. Low nibble: 0 read-only, 1 write-only, 2 read/write.
// High nibble: 0x00 compatibility, 0x10 deny all, 0x20 deny write, 0x30 deny read, 0x40 deny
// none.
struct AccessMode {
  uint32_t raw = 0;
  bool read = true;              // the system access includes reading
  bool write = false;            // the system access includes writing
  bool shared = true;            // others may open it for reading and writing (0x00, 0x40)
  bool readers_allowed = false;  // deny write: others may read (0x20)
};

AccessMode DecodeAccessMode(uint32_t mode);

class TableOps {
 public:
  virtual ~TableOps() = default;

  // --- Files and tables --------------------------------------------------------------------
  // Opens the declared table in its data file (state.name; ".LDS" rules are the table
  // layer's). Missing data file or table: 2. Declaration differs from the stored one: 47.
  virtual int Open(DriverState&, const AccessMode&) { return kErrUnsupportedFunction; }
  virtual int Close(DriverState&) { return kErrUnsupportedFunction; }
  // Creates (replacing) the table; the driver has checked the CREATE attribute already.
  virtual int Create(DriverState&) { return kErrUnsupportedFunction; }
  virtual int Copy(DriverState&, const std::string& /*new_name*/) {
    return kErrUnsupportedFunction;
  }
  virtual int Rename(DriverState&, const std::string& /*new_name*/) {
    return kErrUnsupportedFunction;
  }
  virtual int Remove(DriverState&) { return kErrUnsupportedFunction; }
  // Ends the statement's access cycle (commit, unlock) unless STREAM or LOGOUT keep it open.
  // Called after every operation on a state with a table attached.
  virtual int FinishAccessCycle(DriverState&) { return kErrUnsupportedFunction; }

  // --- Records -------------------------------------------------------------------------------
  virtual int Add(DriverState&) { return kErrUnsupportedFunction; }
  virtual int Append(DriverState&) { return kErrUnsupportedFunction; }
  // Writes the buffer over state.current_record.
  virtual int Put(DriverState&) { return kErrUnsupportedFunction; }
  virtual int Delete(DriverState&) { return kErrUnsupportedFunction; }
  // Reads the record whose key value equals the buffer's (35 when none).
  virtual int GetByKey(DriverState&, KeyEntry&) { return kErrUnsupportedFunction; }
  // Reads record number `record` (>= 1; 35 when none).
  virtual int GetByRecord(DriverState&, uint32_t /*record*/) { return kErrUnsupportedFunction; }
  // Reads the record at `position` (a string made by Position); key null = file position.
  virtual int Reget(DriverState&, KeyEntry* /*key*/, const std::string& /*position*/) {
    return kErrUnsupportedFunction;
  }
  // Positions for the reading sequence the driver has just stored in state.reading (SET and
  // RESET); the starting point is taken now (the buffer's key value for modes 4, 6 and 7).
  virtual int BeginReading(DriverState&) { return kErrUnsupportedFunction; }
  // Reads the next / previous record of the reading sequence (33 beyond the ends).
  virtual int Next(DriverState&) { return kErrUnsupportedFunction; }
  virtual int Previous(DriverState&) { return kErrUnsupportedFunction; }
  // Whether no record follows (forward) or precedes (backward) in the reading sequence, without
  // moving it (EOF, BOF).
  virtual int IsAtEnd(DriverState&, bool /*forward*/, bool* /*at_end*/) {
    return kErrUnsupportedFunction;
  }
  // Position string of the current record: key null = file position (4 bytes), else the key
  // value and the record number.
  virtual int Position(DriverState&, KeyEntry* /*key*/, std::string* /*position*/) {
    return kErrUnsupportedFunction;
  }
  // Whether the buffer's value of `key` (null: of any unique key) belongs to another record.
  virtual int Duplicate(DriverState&, KeyEntry* /*key*/, bool* /*duplicate*/) {
    return kErrUnsupportedFunction;
  }
  virtual int Records(DriverState&, uint32_t* /*count*/) { return kErrUnsupportedFunction; }
  virtual int KeyEntries(DriverState&, KeyEntry&, uint32_t* /*count*/) {
    return kErrUnsupportedFunction;
  }

  // --- Keys ----------------------------------------------------------------------------------
  virtual int BuildAllKeys(DriverState&) { return kErrUnsupportedFunction; }
  virtual int BuildKey(DriverState&, KeyEntry&) { return kErrUnsupportedFunction; }
  // A dynamic index: components as text; filter null when none was given.
  virtual int BuildIndex(DriverState&, KeyEntry&, const std::string& /*components*/,
                         const std::string* /*filter*/) {
    return kErrUnsupportedFunction;
  }
  virtual int Pack(DriverState&) { return kErrUnsupportedFunction; }
  virtual int Empty(DriverState&) { return kErrUnsupportedFunction; }

  // --- Sharing -------------------------------------------------------------------------------
  // One attempt at the table lock; 32 when another process holds it. The driver repeats.
  virtual int Lock(DriverState&) { return kErrUnsupportedFunction; }
  virtual int Unlock(DriverState&) { return kErrUnsupportedFunction; }
  // Releases the held record, if any.
  virtual int Release(DriverState&) { return kErrUnsupportedFunction; }
  virtual int Logout(DriverState&) { return kErrUnsupportedFunction; }
  virtual int Commit(DriverState&) { return kErrUnsupportedFunction; }
  virtual int Rollback(DriverState&) { return kErrUnsupportedFunction; }
  virtual int Stream(DriverState&) { return kErrUnsupportedFunction; }
  virtual int Flush(DriverState&) { return kErrUnsupportedFunction; }

  // --- Commands ------------------------------------------------------------------------------
  // The transaction control file of every file from now on.
  virtual int SetTransactionControlFile(const std::string& /*name*/) {
    return kErrUnsupportedFunction;
  }
  // The first table name of the open file's data file at or after `from` (byte order); empty
  // when there is none.
  virtual int FirstTableNameFrom(DriverState&, const std::string& /*from*/, std::string* /*name*/) {
    return kErrUnsupportedFunction;
  }
};

// The table layer in use. REQUIRES: `ops` outlives every later file operation; null restores
// the default (every method fails with kErrUnsupportedFunction).
void RegisterTableOps(TableOps* ops);
TableOps& CurrentTableOps();

}  // namespace carelog::store
