#include "runtime/store/key_maintenance.h"

#include <optional>

#include "runtime/store/table.h"
#include "runtime/store/tree.h"

namespace carelog::store {
namespace {

std::optional<EncodedKey> EntryFor(const Table& table, int k, const std::string* image,
                                   uint32_t record) {
  if (image == nullptr) return std::nullopt;
  const KeyDef& key = table.Key(k);
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(image->data());
  if (key.opt() && table.encoder().IsBlank(key, bytes)) return std::nullopt;
  // The value is encoded straight after the key's prefix: the entry's layout is MakeKeyEntry's.
  EncodedKey entry;
  entry.key = KeyPrefix(table.number(), static_cast<uint8_t>(k));
  table.encoder().AppendValue(key, bytes, &entry.key);
  AppendU32BE(key.dup() ? &entry.key : &entry.data, record);
  return entry;
}

int LowerBuiltMark(Table& table, int k, uint32_t record) {
  Counters c;
  int rc = table.ReadCounters(static_cast<uint8_t>(k), &c);
  if (rc != 0 || record >= c.built) return rc;
  c.built = record;
  return table.WriteCounters(static_cast<uint8_t>(k), c);
}

// Changes keys [0, end) of the table; on a duplicate in key k sets *failed_key to k and stops.
int ChangeKeys(Table& table, int end, const std::string* old_image, const std::string* new_image,
               uint32_t record, int* failed_key) {
  Tree& tree = table.file().tree();
  for (int k = 0; k < end; ++k) {
    const KeyDef& key = table.Key(k);
    if (key.dynamic()) continue;
    if (key.index()) {
      int rc = LowerBuiltMark(table, k, record);
      if (rc != 0) return rc;
      continue;
    }
    std::optional<EncodedKey> old_entry = EntryFor(table, k, old_image, record);
    std::optional<EncodedKey> new_entry = EntryFor(table, k, new_image, record);
    if (old_entry && new_entry && old_entry->key == new_entry->key) continue;
    int delta = 0;
    if (new_entry) {
      bool inserted = false;
      int rc = tree.Insert(new_entry->key, new_entry->data, &inserted);
      if (rc != 0) return rc;
      if (!inserted) {
        *failed_key = k;
        return kErrCreatesDuplicateKey;
      }
      ++delta;
    }
    if (old_entry) {
      Entry stored;
      bool found = false;
      int rc = tree.Find(old_entry->key, &stored, &found);
      if (rc == 0 && found && KeyEntryRecord(key.dup(), stored.key(), stored.data()) == record) {
        rc = tree.Erase(old_entry->key);
        --delta;
      }
      if (rc != 0) return rc;
    }
    if (delta != 0) {
      if (int rc = table.AdjustCount(static_cast<uint8_t>(k), delta)) return rc;
    }
  }
  return 0;
}

}  // namespace

int MaintainKeys(Table& table, const std::string* old_image, const std::string* new_image,
                 uint32_t record) {
  const int keys = static_cast<int>(table.definition().keys.size());
  int failed_key = -1;
  int rc = ChangeKeys(table, keys, old_image, new_image, record, &failed_key);
  if (rc == kErrCreatesDuplicateKey) {
    int ignored = -1;
    int undo = ChangeKeys(table, failed_key, new_image, old_image, record, &ignored);
    if (undo != 0) return undo;
  }
  return rc;
}

}  // namespace carelog::store
