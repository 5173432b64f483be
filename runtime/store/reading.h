// Sequential reading of a table: the reading modes chosen by SET and RESET and the steps of
// NEXT and PREVIOUS in record order or in key order.
//
//   mode  order   starting point (forward / backward)
//   2     record  first / last record
//   3     record  record r, else the next one in the direction
//   4     record  the record of the first key entry at or after the buffer's value (last at or
//                 before, backward), then record order from that record
//   5     key     first / last entry of the key
//   6     key     value v and record r: the entry (v, r), else the next one in the direction
//   7     key     the buffer's value with record number 0 (forward) or the highest (backward)
//   8     key     the entry of record r
//
// A unique key holds one entry per value; positioning on (v, r) treats its entries as ordered
// by value and then by record number, so RESET to a position taken earlier finds the same
// place. The starting point is taken when the sequence begins (the buffer's value at SET) and
// resolved against the direction of the first step. After that every step moves one entry from
// the last entry read; a key entry whose record is missing is skipped.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "runtime/store/table.h"
#include "runtime/store/tree.h"

namespace carelog::store {

class Reader {
 public:
  // Starts a sequence in `mode` (2 to 8) on key `key` (0-based; ignored in modes 2 and 3).
  // `record` is the record argument of modes 3, 6 and 8; a non-empty `position` (RESET) gives
  // the record (mode 3) or the value and record (mode 6) instead. `buffer` is the record buffer
  // whose key value modes 4, 6 and 7 start from. Returns 0, or 35 for a position string of the
  // wrong size.
  int Begin(Table& table, int mode, int key, const uint8_t* buffer, uint32_t record,
            std::string_view position);
  // Reads the next record in the direction into `out`; 33 when there is none.
  int Step(Table& table, bool forward, RecordBuffers& out, bool with_memos, uint32_t* record);
  // Whether a step in the direction would find a record, without moving.
  int Peek(Table& table, bool forward, bool* exists);

  bool active() const { return mode_ != 0; }
  bool key_order() const { return mode_ >= 5; }
  int key() const { return key_; }
  void Clear() { *this = Reader(); }

  // Where the sequence stands, so that a read refused after the step (a record held elsewhere)
  // can be repeated from the same place.
  struct Place {
    bool started = false;
    std::string last_key;
  };
  // Copies the place into `out`, reusing its storage.
  void SavePlace(Place* out) const {
    out->started = started_;
    out->last_key.assign(last_key_);
  }
  void Restore(const Place& place) {
    started_ = place.started;
    last_key_.assign(place.last_key);
  }

 private:
  enum class Start { kEnds, kRecord, kValue, kValueAndRecord, kNothing };

  // Seeks the first candidate entry of the next step; *found false at the end.
  int SeekCandidate(Table& table, Cursor& cursor, bool forward, bool* found);
  int SeekStart(Table& table, Cursor& cursor, bool forward, bool* found);
  std::string Prefix(const Table& table) const;

  int mode_ = 0;
  int key_ = -1;
  bool record_order_ = true;
  Start start_ = Start::kEnds;
  std::string start_value_;
  uint32_t start_record_ = 0;
  bool started_ = false;
  std::string prefix_;    // key part prefix of the entries read: records or the key's entries
  std::string last_key_;  // key part of the last entry read (or skipped)
  std::unique_ptr<Cursor> cursor_;
};

// Positions the cursor in key `k` (key part prefix t · k) on the first entry at or after
// (value, record) going forward, or the last at or before it going backward; `inclusive`
// false excludes (value, record) itself. *found is false when the cursor left the key.
int SeekKeyEntry(Cursor& cursor, const KeyDef& key, std::string_view prefix, std::string_view value,
                 uint32_t record, bool forward, bool inclusive, bool* found);

}  // namespace carelog::store
