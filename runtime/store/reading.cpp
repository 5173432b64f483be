#include "runtime/store/reading.h"

namespace carelog::store {
namespace {

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

// Moves the cursor from an anchor key part: at or above / above (forward), at or below /
// below (backward).
int SeekFrom(Cursor& cursor, std::string_view anchor, bool forward, bool inclusive, bool* found) {
  int rc = forward ? cursor.SeekAtOrAbove(anchor, found) : cursor.SeekAtOrBelow(anchor, found);
  if (rc != 0 || !*found || inclusive || cursor.key() != anchor) return rc;
  return forward ? cursor.Next(found) : cursor.Previous(found);
}

}  // namespace

int SeekKeyEntry(Cursor& cursor, const KeyDef& key, std::string_view prefix, std::string_view value,
                 uint32_t record, bool forward, bool inclusive, bool* found) {
  std::string target(prefix);
  target.append(value);
  int rc = 0;
  if (key.dup()) {
    AppendU32BE(&target, record);
    rc = SeekFrom(cursor, target, forward, inclusive, found);
  } else {
    rc = SeekFrom(cursor, target, forward, true, found);
    if (rc == 0 && *found && cursor.key() == target) {
      uint32_t r = KeyEntryRecord(false, cursor.key(), cursor.data());
      bool in_range =
          forward ? (inclusive ? r >= record : r > record) : (inclusive ? r <= record : r < record);
      if (!in_range) rc = forward ? cursor.Next(found) : cursor.Previous(found);
    }
  }
  if (rc == 0 && *found && !StartsWith(cursor.key(), prefix)) *found = false;
  return rc;
}

std::string Reader::Prefix(const Table& table) const {
  return record_order_ ? RecordsPrefix(table.number())
                       : KeyPrefix(table.number(), static_cast<uint8_t>(key_));
}

int Reader::Begin(Table& table, int mode, int key, const uint8_t* buffer, uint32_t record,
                  std::string_view position) {
  Clear();
  const bool by_key = mode >= 4;
  if (by_key && (key < 0 || key >= static_cast<int>(table.definition().keys.size()))) {
    return kErrRecordNotAvailable;
  }
  key_ = by_key ? key : -1;
  record_order_ = mode <= 4;
  switch (mode) {
    case 2:
    case 5:
      start_ = Start::kEnds;
      break;
    case 3:
      if (!position.empty()) {
        if (position.size() != 4) return kErrRecordNotFound;
        record = ReadU32BE(position, 0);
      }
      start_ = Start::kRecord;
      start_record_ = record;
      break;
    case 4:
    case 7:
      start_ = Start::kValue;
      start_value_ = table.KeyValueOf(key, buffer);
      break;
    case 6:
      start_ = Start::kValueAndRecord;
      if (!position.empty()) {
        size_t size = table.definition().KeyValueSize(table.Key(key));
        if (position.size() != size + 4) return kErrRecordNotFound;
        start_value_ = std::string(position.substr(0, size));
        start_record_ = ReadU32BE(position, size);
      } else {
        start_value_ = table.KeyValueOf(key, buffer);
        start_record_ = record;
      }
      break;
    case 8: {
      std::string image;
      bool found = false;
      int rc = table.ReadImage(record, &image, &found);
      if (rc != 0) return rc;
      if (!found) {
        start_ = Start::kNothing;
        break;
      }
      start_ = Start::kValueAndRecord;
      table.encoder().AppendValue(table.Key(key), reinterpret_cast<const uint8_t*>(image.data()),
                                  &start_value_);
      start_record_ = record;
      break;
    }
    default:
      return kErrRecordNotAvailable;
  }
  mode_ = mode;
  prefix_ = Prefix(table);
  cursor_ = std::make_unique<Cursor>(record_order_ ? table.file() : table.KeyFile(key_));
  return 0;
}

int Reader::SeekStart(Table& table, Cursor& cursor, bool forward, bool* found) {
  const std::string prefix =
      mode_ == 4 ? KeyPrefix(table.number(), static_cast<uint8_t>(key_)) : prefix_;
  const uint32_t far_record = forward ? 0 : 0xFFFFFFFF;
  int rc = 0;
  switch (start_) {
    case Start::kNothing:
      *found = false;
      return 0;
    case Start::kEnds:
      rc = forward ? SeekFrom(cursor, prefix, true, true, found)
                   : SeekFrom(cursor, PrefixEnd(prefix), false, false, found);
      break;
    case Start::kRecord:
      rc = SeekFrom(cursor, RecordKey(table.number(), start_record_), forward, true, found);
      break;
    case Start::kValue:
      if (mode_ == 4) {
        // Find the record through the key, then read on in record order from it.
        Cursor key_cursor(table.KeyFile(key_));
        rc = SeekKeyEntry(key_cursor, table.Key(key_), prefix, start_value_, far_record, forward,
                          true, found);
        if (rc != 0 || !*found) return rc;
        uint32_t r = KeyEntryRecord(table.Key(key_).dup(), key_cursor.key(), key_cursor.data());
        rc = SeekFrom(cursor, RecordKey(table.number(), r), forward, true, found);
        if (rc == 0 && *found && !StartsWith(cursor.key(), RecordsPrefix(table.number()))) {
          *found = false;
        }
        return rc;
      }
      return SeekKeyEntry(cursor, table.Key(key_), prefix, start_value_, far_record, forward, true,
                          found);
    case Start::kValueAndRecord:
      return SeekKeyEntry(cursor, table.Key(key_), prefix, start_value_, start_record_, forward,
                          true, found);
  }
  if (rc == 0 && *found && !StartsWith(cursor.key(), prefix)) *found = false;
  return rc;
}

int Reader::SeekCandidate(Table& table, Cursor& cursor, bool forward, bool* found) {
  if (!started_) return SeekStart(table, cursor, forward, found);
  int rc = 0;
  if (cursor.valid() && cursor.key() == last_key_) {
    rc = forward ? cursor.Next(found) : cursor.Previous(found);
  } else {
    rc = SeekFrom(cursor, last_key_, forward, false, found);
  }
  if (rc == 0 && *found && !StartsWith(cursor.key(), prefix_)) *found = false;
  return rc;
}

int Reader::Step(Table& table, bool forward, RecordBuffers& out, bool with_memos,
                 uint32_t* record) {
  if (!active()) return kErrRecordNotAvailable;
  Cursor& cursor = *cursor_;
  for (;;) {
    bool found = false;
    int rc = SeekCandidate(table, cursor, forward, &found);
    if (rc != 0) return rc;
    if (!found) return kErrRecordNotAvailable;
    started_ = true;
    last_key_.assign(cursor.key());
    uint32_t r = record_order_ ? RecordNumberOf(cursor.key())
                               : KeyEntryRecord(table.Key(key_).dup(), cursor.key(), cursor.data());
    rc = table.Read(r, out, with_memos);
    if (rc == kErrRecordNotFound && !record_order_) continue;  // entry without its record
    if (rc == 0) *record = r;
    return rc;
  }
}

int Reader::Peek(Table& table, bool forward, bool* exists) {
  *exists = false;
  if (!active()) return kErrRecordNotAvailable;
  Cursor cursor(record_order_ ? table.file() : table.KeyFile(key_));
  bool started = started_;
  std::string last = last_key_;
  for (;;) {
    bool found = false;
    int rc = 0;
    if (!started) {
      rc = SeekStart(table, cursor, forward, &found);
    } else {
      rc = SeekFrom(cursor, last, forward, false, &found);
      if (rc == 0 && found && !StartsWith(cursor.key(), prefix_)) found = false;
    }
    if (rc != 0 || !found) return rc;
    started = true;
    last.assign(cursor.key());
    if (record_order_) {
      *exists = true;
      return 0;
    }
    std::string image;
    bool present = false;
    uint32_t r = KeyEntryRecord(table.Key(key_).dup(), cursor.key(), cursor.data());
    if ((rc = table.ReadImage(r, &image, &present)) != 0) return rc;
    if (present) {
      *exists = true;
      return 0;
    }
  }
}

}  // namespace carelog::store
