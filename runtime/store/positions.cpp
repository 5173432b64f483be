#include "runtime/store/positions.h"

#include "runtime/store/reading.h"
#include "runtime/store/tree.h"

namespace carelog::store {

int PositionOf(Table& table, int key, uint32_t record, const uint8_t* buffer,
               std::string* position) {
  position->clear();
  if (key >= 0) {
    std::string image;
    bool found = false;
    int rc = table.ReadImage(record, &image, &found);
    if (rc != 0) return rc;
    if (found) {
      table.encoder().AppendValue(table.Key(key), reinterpret_cast<const uint8_t*>(image.data()),
                                  position);
    } else {
      position->append(table.KeyValueOf(key, buffer));
    }
  }
  AppendU32BE(position, record);
  return 0;
}

int RegetPosition(Table& table, int key, std::string_view position, RecordBuffers& out,
                  uint32_t* record) {
  if (key < 0) {
    if (position.size() != 4) return kErrRecordNotFound;
    uint32_t r = ReadU32BE(position, 0);
    int rc = table.Read(r, out, true);
    if (rc == 0) *record = r;
    return rc;
  }
  const KeyDef& def = table.Key(key);
  size_t size = table.definition().KeyValueSize(def);
  if (position.size() != size + 4) return kErrRecordNotFound;
  uint32_t r = ReadU32BE(position, size);
  EncodedKey entry = MakeKeyEntry(table.number(), static_cast<uint8_t>(key), def.dup(),
                                  position.substr(0, size), r);
  Entry stored;
  bool found = false;
  int rc = table.KeyFile(key).tree().Find(entry.key, &stored, &found);
  if (rc != 0) return rc;
  if (!found || KeyEntryRecord(def.dup(), stored.key(), stored.data()) != r) {
    return kErrRecordNotFound;
  }
  if ((rc = table.Read(r, out, true)) == 0) *record = r;
  return rc;
}

int GetByKey(Table& table, int key, RecordBuffers& buffers, uint32_t* record) {
  const KeyDef& def = table.Key(key);
  std::string prefix = KeyPrefix(table.number(), static_cast<uint8_t>(key));
  std::string value = table.KeyValueOf(key, buffers.record);
  Cursor cursor(table.KeyFile(key));
  bool found = false;
  int rc = SeekKeyEntry(cursor, def, prefix, value, 0, true, true, &found);
  if (rc != 0) return rc;
  std::string wanted = prefix + value;
  if (!found || cursor.key().substr(0, wanted.size()) != wanted) return kErrRecordNotFound;
  uint32_t r = KeyEntryRecord(def.dup(), cursor.key(), cursor.data());
  if ((rc = table.Read(r, buffers, true)) == 0) *record = r;
  return rc;
}

}  // namespace carelog::store
