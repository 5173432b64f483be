// The driver's per-file state: what the driver reads once from a file's declarations (field,
// key and memo tables) plus the file's open state, reading mode and HOLD/WATCH requests.
//
// Lifecycle: a declaration starts without state (`FileDeclaration::state` is null). The first
// operation on the file builds it (BuildDriverState); OPEN or SHARE marks it open (kBitOpen);
// CLOSE, CREATE, COPY, RENAME and REMOVE discard it (DiscardDriverState), as does any operation
// that ends in "File Not Open" while the file is closed.
//
// Invariants while a state exists:
//   1. declaration->state points at it; every declared key's `state` word points at its
//      KeyEntry, every declared memo's `buffer` at its MemoEntry's buffer.
//   2. fields are in stream order; fields[i].number == i + 1. Key components point into
//      `fields`, which never changes after the build.
//   3. No field, overlays included, reaches past record_size; stored_size <= record_size.
//   4. `table` is non-null only between a successful OPEN/SHARE (or a table operation that
//      attached one) and the discarding of the state; it belongs to the table layer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runtime/store/declarations.h"

namespace carelog::store {

// State bits of an open file, tested and changed by the operation table.
inline constexpr uint32_t kBitOpen = 0x01;           // file open
inline constexpr uint32_t kBitCurrentRecord = 0x02;  // a current record is available
inline constexpr uint32_t kBitLogout = 0x04;         // file belongs to an active LOGOUT
inline constexpr uint32_t kBitStream = 0x08;         // STREAM in force
inline constexpr uint32_t kBitLocked = 0x10;         // file locked by LOCK
inline constexpr uint32_t kBitReading = 0x20;        // a reading sequence was started
inline constexpr uint32_t kBitWriteAccess = 0x40;    // opened with write access
inline constexpr uint32_t kBitDenyOthers = 0x80;     // opened denying others write (or all)

// Driver flags taken from the file attribute byte.
inline constexpr uint8_t kDriverFlagKept02 = kFileAttrKept02;
inline constexpr uint8_t kDriverFlagCreate = kFileAttrCreate;
inline constexpr uint8_t kDriverFlagKept08 = kFileAttrKept08;
inline constexpr uint8_t kDriverFlagOem = kFileAttrOem;

// Memo flags (the second byte of a memo declaration).
inline constexpr uint8_t kMemoNoOem = 0x02;   // no ANSI <-> OEM conversion
inline constexpr uint8_t kMemoBinary = 0x04;  // binary memo that keeps its own length

// Limits of a declaration.
inline constexpr uint32_t kMaxRecordSize = 64000;
inline constexpr uint32_t kMaxStringLength = 64000;
inline constexpr uint32_t kMaxMemoSize = 64000;
inline constexpr uint32_t kMaxKeys = 240;
inline constexpr int kMaxDimensions = 4;

// One field of the record layout, GROUP entries included.
struct FieldEntry {
  int number = 0;           // 1-based, stream order
  std::string name;         // e.g. "PAT:LAST_NAME"
  uint8_t type = 0;         // FieldType
  uint32_t offset = 0;      // absolute offset of element 1 in the record
  int dimension_count = 0;  // DIM prefixes, 0 to 4
  uint32_t dimensions[kMaxDimensions] = {};
  uint32_t element_count = 1;  // product of the dimensions
  uint32_t element_size = 0;   // bytes of one element (a GROUP: sum of its stored members)
  uint32_t total_size = 0;     // element_count * element_size
  bool overlay = false;        // declared over other fields; not counted in the record size
  int parent = -1;             // index in the field table of the enclosing GROUP, -1 = root
  uint8_t decimal_size = 0;    // DECIMAL / PDECIMAL: bytes
  uint8_t decimal_places = 0;  // DECIMAL: places
  uint32_t string_length = 0;  // STRING / CSTRING / PSTRING: declared length
  std::string picture;         // STRING / CSTRING / PSTRING: picture text
};

struct KeyComponent {
  const FieldEntry* field = nullptr;
  bool descending = false;
};

// One key (or index) of the file.
struct KeyEntry {
  std::string label;                     // the declared name, e.g. "PAT:KEY_LAST_NAME"
  std::string external_name;             // the name stored in the data file
  uint32_t flags = 0;                    // kKeyDup | kKeyOpt | kKeyNoCase | kKeyPrimary | 0x4000
  std::vector<KeyComponent> components;  // empty for a dynamic index
  int number = 0;                        // 0-based position in the file's keys
  KeyDeclaration* declaration = nullptr;

  bool unique() const { return (flags & kKeyDup) == 0; }
  bool is_index() const { return (flags & kKeyIndexOnRequest) != 0; }
};

// One memo of the file, with its buffer.
struct MemoEntry {
  std::string external_name;
  std::string label;
  std::unique_ptr<char[]> buffer;  // max_size bytes, spaces when built
  uint32_t max_size = 0;
  uint8_t attributes = 0;
  uint8_t flags = 0;  // kMemoNoOem | kMemoBinary
  MemoDeclaration* declaration = nullptr;
  uint32_t length = 0;    // current length in bytes
  uint32_t position = 0;  // current position of slice operations
};

// Reading modes chosen by SET and RESET for the following NEXT and PREVIOUS.
enum class ReadingMode : uint8_t {
  kNone = 0,
  kRecordsFromFirst = 2,       // SET(file); SET(file, pointer < 1)
  kRecordsFromRecord = 3,      // SET(file, pointer >= 1); RESET(file, position)
  kRecordsFromKeyValue = 4,    // SET(file, key): record order, from the record with the key value
  kKeyFromFirst = 5,           // SET(key); SET(key, pointer < 1)
  kKeyFromValueAndRecord = 6,  // SET(key, key, pointer); RESET(key, position)
  kKeyFromValue = 7,           // SET(key, key)
  kKeyFromRecord = 8,          // SET(key, pointer >= 1)
};

struct ReadingState {
  ReadingMode mode = ReadingMode::kNone;
  KeyEntry* key = nullptr;  // the key of the reading order (modes 5-8) or of SET(file, key)
  uint32_t record = 0;      // the record number argument (modes 3, 6, 8)
  std::string position;     // the position string of RESET (modes 3 and 6), else empty
};

// The table layer's own per-file object (the open table inside its data file, cursors, the
// snapshot buffer, the held record). Destroyed with the driver state.
class TableHandle {
 public:
  virtual ~TableHandle() = default;
};

struct DriverState {
  DriverState() = default;
  DriverState(const DriverState&) = delete;
  DriverState& operator=(const DriverState&) = delete;

  FileDeclaration* declaration = nullptr;
  std::string name;      // the name on disk, as declared
  std::string owner;     // owner password; non-empty = enciphered
  std::string reserved;  // first reserved string, copied
  uint8_t flags = 0;     // kDriverFlag*

  uint8_t* record = nullptr;  // the declared record buffer
  uint32_t record_size = 0;
  uint32_t stored_size = 0;  // bytes of the fields that are not overlays

  std::vector<FieldEntry> fields;
  std::vector<KeyEntry> keys;
  std::vector<MemoEntry> memos;

  uint32_t bits = 0;         // kBit*
  uint32_t access_mode = 0;  // the mode of OPEN / SHARE
  bool hold_requested = false;
  int32_t hold_timeout = -1;  // seconds; -1 = no time-out
  bool watch_requested = false;
  bool skip_memos = false;      // the next read leaves the memos alone
  uint32_t current_record = 0;  // 0 = none
  ReadingState reading;
  int last_read_op = 0;  // code of the last operation that began, stepped or ended the reading

  std::unique_ptr<TableHandle> table;

  bool is_open() const { return (bits & kBitOpen) != 0; }
  bool oem() const { return (flags & kDriverFlagOem) != 0; }
  // 1-based number of the current reading key, 0 in record order.
  int reading_key_number() const;
};

// Builds the driver state of `file` from its declarations and attaches it (invariant 1).
// Returns 0, or 47 (invalid record declaration), 75 (invalid field type descriptor),
// 79 (unsupported data type) or 8 (insufficient memory); on failure nothing is attached.
// REQUIRES: file.state == nullptr.
int BuildDriverState(FileDeclaration& file);

// Detaches and destroys the state of `file` (if any), clearing the declarations' state words.
void DiscardDriverState(FileDeclaration& file);

// The state attached to `file`, or null.
inline DriverState* StateOf(const FileDeclaration& file) {
  return static_cast<DriverState*>(file.state);
}

// The key entry reached through a key declaration's state word, or null before the build.
inline KeyEntry* KeyEntryOf(const KeyDeclaration& key) {
  return static_cast<KeyEntry*>(key.state);
}

}  // namespace carelog::store
