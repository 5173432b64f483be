// An open data file: one file holding one ordered tree of entries (see tree.h), its header
// counters, and the access cycle through which every read and write of it happens.
//
// Access cycle (one per statement of the driver, or longer under STREAM and LOGOUT):
//
//     idle --BeginAccess(kRead|kWrite)--> in cycle --EndAccess()-----> idle   (commits changes)
//                                            |      --AbandonAccess()-> idle  (forgets changes)
//                                            +-- a change inside a read cycle ends the read cycle
//                                                and begins a write cycle in its place
//
// BeginAccess reads and checks the header, replays a pending redo log left by an interrupted
// commit, and drops the cached pages when the header's change counter moved. Tree operations and
// cursors begin a read cycle by themselves when none is open; the cycle then stays open until
// EndAccess. EndAccess of a write cycle with changes commits them through the redo log: once it
// returns 0 the change is durable, and a crash at any moment leaves the file holding either the
// state before or the state after the commit.
//
// Result style: functions return 0 or an error code: 36 (Invalid Data File) for a damaged file,
// 5 (Access Denied) for a change to a file opened read-only, otherwise the operating system's
// error number. After an error inside a write cycle the cycle's changes are forgotten.
// Violations of the engine's own invariants go through InternalError (internal_error.h).
//
// REQUIRES: a DataFile and its cursors are used by one thread at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "runtime/store/error_codes.h"
#include "runtime/store/file_io.h"
#include "runtime/store/share_locks.h"

namespace carelog::store {

class Tree;
class DataFileImpl;

// How one opener uses a data file and what it lets others do with it, from its access mode.
struct DataFileOptions {
  bool create = false;           // create the file when missing
  bool read_only = false;        // access nibble 0: no changes allowed
  bool write_only = false;       // access nibble 1: the opener does not read (the store still
                                 // reads what its writes need)
  bool shared = false;           // others may write (share nibble 0x00, 0x30 or 0x40)
  bool readers_allowed = false;  // others may only read (share nibble 0x20)
  bool deny_read = false;        // others may write but not read (share nibble 0x30)
  // The table the opener works on. Openers of one process are checked against each other per
  // table, as each table were a file of its own; other processes see the data file's union.
  std::string table;

  bool operator==(const DataFileOptions&) const = default;
  // Options from a declaration's access mode byte (low nibble access, high nibble share).
  static DataFileOptions FromAccessMode(uint8_t access_mode, bool create);
  // Read/write, denying nothing: statements that replace or copy a table as a whole.
  static DataFileOptions ReadWriteShared(bool create);
};

// The uses and denials that `options` register in the file's share slots.
ShareMode ShareModeOf(const DataFileOptions& options);

enum class Access { kRead, kWrite };

class DataFile {
 public:
  // Opens (or creates) the data file at `path`, registering the opener's share mode first (32,
  // File Is Already Locked, when another opener's mode conflicts: the file is not touched), then
  // reading its header in a first access cycle: a header without the signature fails with 36. A
  // new, empty file is valid and holds an empty tree. `fs` must outlive the DataFile (nullptr: the
  // operating system's files).
  static int Open(const std::string& path, const DataFileOptions& options,
                  std::unique_ptr<DataFile>* out, FileSystem* fs = nullptr);
  ~DataFile();  // abandons an open cycle's uncommitted changes

  DataFile(const DataFile&) = delete;
  DataFile& operator=(const DataFile&) = delete;

  const std::string& path() const;
  // The file system the file was opened through (for files that belong with it).
  FileSystem& file_system() const;
  // The options the file works under: those it was opened with, or, while several openers of
  // this process hold it (Join), their union (read-only only when none of them writes).
  const DataFileOptions& options() const;

  // Another opener of this process takes the open file with `options`: 32 (File Is Already
  // Locked) when they conflict with an opener's of this or another process (nothing changes).
  int Join(const DataFileOptions& options);
  // An opener that joined (or opened the file) lets it go; its denials end with the open cycle.
  void Leave(const DataFileOptions& options);

  int BeginAccess(Access access);
  int EndAccess();
  void AbandonAccess();
  bool in_access() const;
  bool in_write_access() const;
  // Whether the open cycle holds uncommitted changes (pages or counters).
  bool has_changes() const;
  // Number of pages changed in the open cycle (STREAM commits after 40).
  int changed_page_count() const;

  // Counters entries (records of a table, entries of a key; see table_entries.h) change at
  // nearly every ADD and DELETE. Their changes wait in the open write cycle and reach the tree
  // once, just before it is committed; every path that forgets the cycle's changes (ROLLBACK, a
  // failed commit or statement, a dropped cycle) forgets them with it. AddToCount adds `delta`
  // to the entry count of counters `index` of table `table` (CountersKey), beginning or
  // upgrading to a write cycle.
  int AddToCount(uint32_t table, uint8_t index, int delta);
  // Puts the waiting changes of the counters entries whose key begins with `prefix` (all of
  // them for an empty prefix) into the tree. Whatever reads, replaces or erases counters entries
  // from the tree does this first.
  int ApplyPendingCounts(std::string_view prefix = {});

  // Commits the open write cycle's changes and keeps the cycle open.
  int Commit();
  // A commit in two halves, for a transaction over several data files: PrepareCommit makes the
  // open write cycle's changes durable in the redo log without putting them in place (the file
  // reads as before until FinishCommit, or until a later cycle replays the log);
  // DropPreparedCommit forgets the log and the changes and ends the cycle.
  int PrepareCommit();
  int FinishCommit();
  int DropPreparedCommit();

  // The ordered tree of all entries. Owned by the DataFile.
  Tree& tree();

  // Takes the next number from the header's "last number handed out" counter (table numbers and
  // record numbers share it). Begins or upgrades to a write cycle.
  int NewNumber(uint32_t* number);
  // The last number handed out, as the header holds it (0 in a new file).
  int LastNumber(uint32_t* number);
  // The header's change counter as of the current (or last) access cycle.
  uint32_t change_counter() const;

  // Byte offset just after the last page region (the end of data).
  uint64_t end_of_data() const;
  // Cuts the file after its end of data, removing any old redo-log area. Needs no open cycle.
  int TruncateToData();

  // The engine itself; not part of the API.
  DataFileImpl& impl() { return *impl_; }

 private:
  explicit DataFile(std::unique_ptr<DataFileImpl> impl);
  std::unique_ptr<DataFileImpl> impl_;
};

}  // namespace carelog::store
