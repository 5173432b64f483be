#include "runtime/store/index_build.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <map>
#include <random>
#include <string>

#include "runtime/store/declarations.h"
#include "runtime/store/tree.h"

namespace carelog::store {
namespace {

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// The sorted area of a build: entries wait here and go into the tree in key order.
class SortedArea {
 public:
  // False when the key part is already waiting.
  bool Add(EncodedKey entry) {
    bytes_ += entry.key.size() + entry.data.size() + 5;
    return area_.emplace(std::move(entry.key), std::move(entry.data)).second;
  }
  bool full() const { return bytes_ > kBuildBatchBytes; }
  // Moves the waiting entries into `tree`; *duplicate when one of them was there already.
  int MergeInto(Tree& tree, bool* duplicate) {
    for (const auto& [key, data] : area_) {
      bool inserted = false;
      int rc = tree.Insert(key, data, &inserted);
      if (rc != 0) return rc;
      if (!inserted) *duplicate = true;
    }
    area_.clear();
    bytes_ = 0;
    return 0;
  }

 private:
  std::map<std::string, std::string> area_;
  size_t bytes_ = 0;
};

int WriteKeyCounters(Table& table, int k, const Counters& counters) {
  const std::string key = CountersKey(table.number(), static_cast<uint8_t>(k));
  // The built count replaces whatever the cycle's ADDs and DELETEs counted so far.
  int rc = table.KeyFile(k).ApplyPendingCounts(key);
  return rc != 0 ? rc : table.KeyFile(k).tree().Put(key, EncodeCounters(counters));
}

}  // namespace

int BuildKey(Table& table, int k) {
  const KeyDef& key = table.Key(k);
  DataFile& key_file = table.KeyFile(k);
  const std::string key_prefix = KeyPrefix(table.number(), static_cast<uint8_t>(k));
  int rc = EraseRange(key_file, key_prefix);
  if (rc != 0) return rc;

  SortedArea area;
  Counters counters;
  bool duplicate = false;
  const std::string records = RecordsPrefix(table.number());
  Cursor cursor(table.file());
  bool found = false;
  rc = cursor.SeekAtOrAbove(records, &found);
  while (rc == 0 && found && StartsWith(cursor.key(), records) && !duplicate) {
    uint32_t record = RecordNumberOf(cursor.key());
    std::string_view image = cursor.data();
    if (image.size() != table.definition().record_size) return kErrInvalidDataFile;
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(image.data());
    counters.built = record + 1;
    if (!(key.opt() && table.encoder().IsBlank(key, bytes))) {
      std::string value;
      table.encoder().AppendValue(key, bytes, &value);
      if (!area.Add(
              MakeKeyEntry(table.number(), static_cast<uint8_t>(k), key.dup(), value, record))) {
        duplicate = true;
      }
      ++counters.entries;
    }
    if (area.full()) rc = area.MergeInto(key_file.tree(), &duplicate);
    if (rc == 0) rc = cursor.Next(&found);
  }
  if (rc == 0 && !duplicate) rc = area.MergeInto(key_file.tree(), &duplicate);
  if (rc != 0) return rc;
  if (duplicate) {
    rc = EraseRange(key_file, key_prefix);
    if (rc == 0) rc = WriteKeyCounters(table, k, Counters{});
    return rc != 0 ? rc : kErrCreatesDuplicateKey;
  }
  return WriteKeyCounters(table, k, counters);
}

int BuildAllKeys(Table& table) {
  for (size_t k = 0; k < table.definition().keys.size(); ++k) {
    if (table.definition().keys[k].index()) continue;
    int rc = BuildKey(table, static_cast<int>(k));
    if (rc != 0) return rc;
  }
  return 0;
}

int ParseIndexComponents(const TableDefinition& def, std::string_view text,
                         std::vector<KeyComponentDef>* components) {
  components->clear();
  while (!text.empty()) {
    size_t comma = text.find(',');
    std::string_view item = Trim(text.substr(0, comma));
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    KeyComponentDef component;
    if (!item.empty() && (item.front() == '+' || item.front() == '-')) {
      component.descending = item.front() == '-';
      item = Trim(item.substr(1));
    }
    bool matched = false;
    for (size_t i = 0; i < def.fields.size() && !matched; ++i) {
      const FieldDef& field = def.fields[i];
      std::string_view name = field.name;
      size_t colon = name.find(':');
      std::string_view bare = colon == std::string_view::npos ? name : name.substr(colon + 1);
      if (field.element_count == 1 && field.type != kTypeGroup && !item.empty() &&
          (SameTextIgnoringCase(item, name) || SameTextIgnoringCase(item, bare))) {
        component.field_index = static_cast<uint16_t>(i);
        matched = true;
      }
    }
    if (!matched) return kErrInvalidIndexString;
    components->push_back(component);
  }
  return components->empty() ? kErrInvalidIndexString : 0;
}

namespace {

// Creates an empty, uniquely named file in the temporary directory through `fs`, so that a file
// system standing in for the disk sees the temporary file like every other.
int CreateTemporaryFile(FileSystem& fs, std::string* path) {
  const char* dir = std::getenv("TMPDIR");
  std::string base = std::string(dir && *dir ? dir : "/tmp") + "/carelog-index-";
  static std::mt19937_64 names{std::random_device{}()};
  FileOpenFlags flags;
  flags.write = flags.create = flags.exclusive = true;
  for (int attempt = 0; attempt < 100; ++attempt) {
    *path = base + std::to_string(names() % 1000000000000ULL);
    std::unique_ptr<File> file;
    int rc = fs.Open(*path, flags, &file);
    if (rc != EEXIST) return rc;
  }
  return EEXIST;
}

}  // namespace

int BuildDynamicIndex(Table& table, int k, std::string_view text) {
  KeyDef key = table.definition().keys[k];
  int rc = ParseIndexComponents(table.definition(), text, &key.components);
  if (rc != 0) return rc;

  FileSystem& fs = table.file().file_system();
  std::string path;
  if ((rc = CreateTemporaryFile(fs, &path)) != 0) return rc;
  DataFileOptions options;
  options.create = true;
  std::unique_ptr<DataFile> file;
  if ((rc = DataFile::Open(path, options, &file, &fs)) != 0) {
    fs.Remove(path);
    return rc;
  }
  table.SetDynamicIndex(k, std::move(key), std::move(file), std::move(path));
  rc = BuildKey(table, k);
  int end = table.KeyFile(k).EndAccess();
  return rc != 0 ? rc : end;
}

}  // namespace carelog::store
