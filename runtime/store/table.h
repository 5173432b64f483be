// One stored table inside an open data file: its number, its definition, and the statements
// that change its records (ADD, PUT, DELETE with their keys and memos), create it, empty it and
// remove it. Reading in sequence lives in reading.h, positions in positions.h, key building in
// index_build.h.
//
// A table is the set of entries that begin with its number (see table_entries.h) plus its
// name entry FE · name. Invariants after every statement that returns 0:
//   1. the records counter equals the number of record entries of the table;
//   2. every maintained key (not an index) holds exactly one entry per record whose key value
//      is not blank for an OPT key, and its counter equals its number of entries;
//   3. the memo blocks of a record are numbered 0..n-1 without gaps for each memo.
// A statement that fails with 40 leaves every key as it was before the statement.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/store/data_file.h"
#include "runtime/store/error_codes.h"
#include "runtime/store/key_encoding.h"
#include "runtime/store/table_def.h"
#include "runtime/store/table_entries.h"
#include "runtime/store/tree.h"

namespace carelog::store {

// The caller's memo buffers: `data` holds max_size bytes, `length` its current length.
struct MemoBuffer {
  char* data = nullptr;
  uint32_t* length = nullptr;
};

// The caller's buffers of one record. `memos` has one entry per memo of the table, or is empty
// when the statement leaves the memos alone.
struct RecordBuffers {
  uint8_t* record = nullptr;
  std::vector<MemoBuffer> memos;
};

class Table {
 public:
  // Opens the table `name` of `file`: 2 when it does not exist, 47 when its stored definition
  // differs from `declared` (unless `tolerate_mismatch`) or cannot be read.
  static int Open(DataFile& file, std::string_view name, const TableDefinition& declared, bool oem,
                  bool tolerate_mismatch, std::unique_ptr<Table>* out);
  // Creates the table `name`, first removing any table of that name.
  static int Create(DataFile& file, std::string_view name, const TableDefinition& declared,
                    bool oem, std::unique_ptr<Table>* out);
  // The number of table `name`; *found false when there is none.
  static int FindNumber(DataFile& file, std::string_view name, uint32_t* number, bool* found);
  // Reads the stored definition of table `number` (47 when it does not decode).
  static int ReadDefinition(DataFile& file, uint32_t number, TableDefinition* def);

  ~Table();

  DataFile& file() const { return *file_; }
  uint32_t number() const { return number_; }
  const std::string& name() const { return name_; }
  const TableDefinition& definition() const { return def_; }
  bool oem() const { return oem_; }
  KeyEncoder encoder() const { return KeyEncoder{&def_, &text_}; }

  // The data file holding the entries of key `k` (a built dynamic index has its own).
  DataFile& KeyFile(int k) const;
  // Whether any key has a data file of its own (a built dynamic index).
  bool has_key_files() const { return !dynamic_.empty(); }

  // --- Records --------------------------------------------------------------------------------
  // Reads record `record` into the buffers (35 when it does not exist).
  int Read(uint32_t record, RecordBuffers& out, bool with_memos);
  // Whether record `record` exists; fills `image` with its stored image (OEM text left as is).
  int ReadImage(uint32_t record, std::string* image, bool* found);
  int Add(RecordBuffers& in, uint32_t* record);
  int Put(uint32_t record, RecordBuffers& in);
  int Delete(uint32_t record);

  // --- Counters and keys ----------------------------------------------------------------------
  int Records(uint32_t* count);
  int KeyEntries(int key, uint32_t* count);
  int ReadCounters(uint8_t index, Counters* counters);
  int WriteCounters(uint8_t index, const Counters& counters);
  // Adds `delta` to the entry count of counters `index`. The change waits in the data file's
  // write cycle and reaches the tree at the commit; ReadCounters and WriteCounters see it.
  int AdjustCount(uint8_t index, int delta);
  // Whether the buffer's value of key `key` (-1: of any unique key) belongs to a record other
  // than `current`.
  int Duplicate(int key, const uint8_t* record, uint32_t current, bool* duplicate);

  // The encoded value of key `k` for a record buffer in the caller's character set.
  std::string KeyValueOf(int k, const uint8_t* record) const;
  // The stored image of a caller's buffer, and back.
  std::string StoredImage(const uint8_t* record) const;
  void LoadImage(std::string_view stored, uint8_t* record) const;
  // StoredImage into `image`, reusing its storage.
  void StoredImageInto(const uint8_t* record, std::string* image) const;

  // --- Whole table ----------------------------------------------------------------------------
  // Removes every record, memo block and key entry, keeping the table.
  int Empty();
  // Removes every entry of the table but its name entry.
  int RemoveEntries();

  // Dynamic indexes: the key definition used for key `k` (the built components of a dynamic
  // index, else the declared key).
  const KeyDef& Key(int k) const;
  void SetDynamicIndex(int k, KeyDef key, std::unique_ptr<DataFile> file, std::string path);

 private:
  Table(DataFile& file, uint32_t number, std::string name, TableDefinition def, bool oem);
  int WriteDefinitionAndCounters();
  // `fresh`: the record is new, so there are no stored blocks to compare with.
  int WriteMemos(uint32_t record, RecordBuffers& in, bool fresh);
  int ReadMemos(uint32_t record, RecordBuffers& out);
  int EraseMemos(uint32_t record);
  int AdjustRecordCount(int delta);

  DataFile* file_;
  uint32_t number_;
  std::string name_;
  TableDefinition def_;
  bool oem_;
  TextKeyTables text_;

  struct DynamicIndex {
    KeyDef key;
    std::unique_ptr<DataFile> file;
    std::string path;
    // Closes the temporary file and removes it through the file system it was made on.
    void Drop();
  };
  std::map<int, DynamicIndex> dynamic_;
  // Reused by every read, so that reading a record allocates nothing once they have grown.
  std::string read_key_;
  std::vector<std::string> read_memos_;
  // The stored image of the record being added, reused by every ADD.
  std::string write_image_;
};

// Erases every entry of `file` whose key part begins with `prefix`.
int EraseRange(DataFile& file, std::string_view prefix);

// The smallest byte string above every string that begins with `prefix`; empty when there is
// none (prefix all 0xFF).
std::string PrefixEnd(std::string_view prefix);

}  // namespace carelog::store
