#include "tools/ldstool/file_check.h"

#include <cstring>
#include <map>
#include <memory>
#include <set>

#include "runtime/store/data_file.h"
#include "runtime/store/data_file_check.h"
#include "runtime/store/file_header.h"
#include "runtime/store/file_io.h"
#include "runtime/store/key_encoding.h"
#include "runtime/store/page.h"
#include "runtime/store/page_codec.h"
#include "runtime/store/table_def.h"
#include "runtime/store/table_entries.h"

namespace carelog::ldstool {
namespace {

using namespace carelog::store;

// One leaf entry with the page it lives on.
struct PlacedEntry {
  Entry entry;
  int32_t page;
};

class Checker {
 public:
  explicit Checker(std::vector<Fault>* faults) : faults_(faults) {}

  int Run(const std::string& path) {
    std::unique_ptr<File> file;
    int rc = FileSystem::Posix().Open(path, FileOpenFlags{}, &file);
    if (rc != 0) return rc;
    uint64_t size = 0;
    if ((rc = file->Size(&size)) != 0) return rc;
    if (size == 0) return 0;  // a new, empty data file
    file.reset();
    // The engine verifies the header, the regions, every page and the tree; opening the file
    // first replays a redo log left by an interrupted commit, as every reader does.
    if ((rc = CheckStructure(path)) != 0) return rc;
    // The table checks read the (now repaired) bytes once more, to place each entry on its page.
    if ((rc = FileSystem::Posix().Open(path, FileOpenFlags{}, &file)) != 0) return rc;
    if ((rc = file->Size(&size)) != 0) return rc;
    bytes_.resize(size);
    size_t got = 0;
    if ((rc = file->Read(0, bytes_.data(), size, &got)) != 0) return rc;
    bytes_.resize(got);
    if (bytes_.size() < static_cast<size_t>(kHeaderSize) ||
        !DecodeHeader(reinterpret_cast<const uint8_t*>(bytes_.data()), &header_)) {
      return 0;  // already reported
    }
    LoadPages();
    if (header_.root != kEmptyRoot) CollectLeaves(header_.root);
    CheckTables();
    return 0;
  }

 private:
  void Add(int64_t page, std::string text) { faults_->push_back(Fault{page, std::move(text)}); }

  int CheckStructure(const std::string& path) {
    DataFileOptions options;
    options.read_only = true;
    options.shared = true;
    std::unique_ptr<DataFile> file;
    int rc = DataFile::Open(path, options, &file);
    std::vector<CheckFault> found;
    if (rc == 0) rc = store::CheckDataFile(*file, &found, nullptr);
    if (rc == kErrInvalidDataFile) {
      Add(-1, "header or tree damaged beyond reading (error 36)");
      return 0;
    }
    if (rc != 0) return rc;
    for (CheckFault& f : found) Add(f.page, std::move(f.text));
    return 0;
  }

  // Decodes every page slot; the engine reports the slots that do not decode.
  void LoadPages() {
    for (int c = 1; c < kRegionCount; ++c) {
      const Regions& r = header_.regions;
      for (int32_t slot = r.start[c]; slot + c <= r.end[c]; slot += c) {
        uint64_t offset = PageOffset(slot);
        size_t length = static_cast<size_t>(c) * kUnitSize;
        if (offset + length > bytes_.size()) continue;
        std::unique_ptr<Page> page;
        if (DecodePage(std::string_view(bytes_.data() + offset, length), slot, &page)) {
          pages_[slot] = std::move(page);
        }
      }
    }
  }

  // Gathers the leaf entries in tree order with their pages, visiting each page once.
  void CollectLeaves(int32_t number) {
    auto it = pages_.find(number);
    if (it == pages_.end() || !reached_.insert(number).second) return;
    const Page& page = *it->second;
    if (page.is_leaf()) {
      for (const Entry& e : page.entries) leaves_.push_back(PlacedEntry{e, number});
      return;
    }
    for (size_t i = 0; i < page.entries.size() && i < page.children.size(); ++i) {
      CollectLeaves(page.children[i]);
    }
  }

  void CheckTables() {
    // Index the leaf entries by key part.
    std::map<std::string_view, const PlacedEntry*> by_key;
    for (const PlacedEntry& p : leaves_) by_key[p.entry.key()] = &p;
    for (const PlacedEntry& p : leaves_) {
      std::string_view key = p.entry.key();
      if (key.empty() || static_cast<uint8_t>(key[0]) != kKindTableName) continue;
      if (p.entry.data().size() != 4) {
        Add(p.page, "table name entry without a table number");
        continue;
      }
      CheckTable(std::string(key.substr(1)), ReadU32BE(p.entry.data(), 0), p.page, by_key);
    }
  }

  void CheckTable(const std::string& name, uint32_t number, int32_t page,
                  const std::map<std::string_view, const PlacedEntry*>& by_key) {
    const std::string prefix = TablePrefix(number);
    std::string stream;
    std::map<uint8_t, Counters> counters;
    std::map<uint8_t, std::pair<uint32_t, int32_t>> counted;  // index -> entries, a page
    std::set<uint32_t> records;
    std::map<std::string, uint32_t> key_parts;  // key part -> record it names
    std::vector<const PlacedEntry*> record_entries;
    std::vector<const PlacedEntry*> key_entries;
    for (auto it = by_key.lower_bound(prefix); it != by_key.end(); ++it) {
      std::string_view key = it->first;
      if (key.substr(0, 4) != prefix) break;
      if (key.size() < 5) continue;
      const PlacedEntry& p = *it->second;
      uint8_t kind = static_cast<uint8_t>(key[4]);
      if (kind == kKindDefinition && key.size() == 7) {
        size_t at = (static_cast<uint8_t>(key[5]) | (static_cast<uint8_t>(key[6]) << 8)) *
                    kDefinitionBlockSize;
        if (stream.size() < at + kDefinitionBlockSize) stream.resize(at + kDefinitionBlockSize);
        std::memcpy(stream.data() + at, p.entry.data().data(),
                    std::min(p.entry.data().size(), kDefinitionBlockSize));
      } else if (kind == kKindCounters && key.size() == 6) {
        counters[static_cast<uint8_t>(key[5])] = DecodeCounters(p.entry.data());
      } else if (kind == kKindRecord) {
        records.insert(RecordNumberOf(key));
        record_entries.push_back(&p);
        counted[kRecordsIndex].first++;
        counted[kRecordsIndex].second = p.page;
      } else if (kind < kKeyKinds) {
        key_entries.push_back(&p);
        counted[kind].first++;
        counted[kind].second = p.page;
      }
    }
    const std::string where = "table \"" + name + "\": ";
    TableDefinition def;
    if (DecodeDefinition(stream, &def) != 0) {
      Add(page, where + "definition does not decode");
      return;
    }
    for (const auto& [index, c] : counters) {
      uint32_t found = counted.count(index) ? counted[index].first : 0;
      bool index_key = index != kRecordsIndex && index < def.keys.size() && def.keys[index].index();
      if (c.entries != found && !(index_key && c.built == 0)) {
        int32_t at = counted.count(index) ? counted[index].second : page;
        Add(at, where +
                    (index == kRecordsIndex ? std::string("records")
                                            : "key " + std::to_string(index + 1)) +
                    " counted " + std::to_string(found) + ", counter says " +
                    std::to_string(c.entries));
      }
    }
    for (const PlacedEntry* p : key_entries) {
      uint8_t k = static_cast<uint8_t>(p->entry.key()[4]);
      bool dup = k < def.keys.size() && def.keys[k].dup();
      uint32_t r = KeyEntryRecord(dup, p->entry.key(), p->entry.data());
      key_parts[std::string(p->entry.key())] = r;
      if (k >= def.keys.size()) {
        Add(p->page, where + "entry of an undeclared key " + std::to_string(k + 1));
      } else if (records.count(r) == 0) {
        Add(p->page,
            where + "key " + std::to_string(k + 1) + " names missing record " + std::to_string(r));
      }
    }
    KeyEncoder encoder{&def, &DefaultTextKeyTables()};
    for (const PlacedEntry* p : record_entries) {
      std::string_view image = p->entry.data();
      uint32_t r = RecordNumberOf(p->entry.key());
      if (image.size() != def.record_size) {
        Add(p->page, where + "record " + std::to_string(r) + " has the wrong size");
        continue;
      }
      const uint8_t* bytes = reinterpret_cast<const uint8_t*>(image.data());
      for (size_t k = 0; k < def.keys.size(); ++k) {
        const KeyDef& key = def.keys[k];
        if (key.index() || (key.opt() && encoder.IsBlank(key, bytes))) continue;
        std::string value;
        encoder.AppendValue(key, bytes, &value);
        EncodedKey entry = MakeKeyEntry(number, static_cast<uint8_t>(k), key.dup(), value, r);
        auto found = key_parts.find(entry.key);
        if (found == key_parts.end() || found->second != r) {
          Add(p->page, where + "record " + std::to_string(r) + " lacks its entry in key " +
                           std::to_string(k + 1));
        }
      }
    }
  }

  std::vector<Fault>* faults_;
  std::string bytes_;
  FileHeader header_;
  std::map<int32_t, std::unique_ptr<Page>> pages_;
  std::set<int32_t> reached_;
  std::vector<PlacedEntry> leaves_;
};

}  // namespace

int CheckDataFile(const std::string& path, std::vector<Fault>* faults) {
  return Checker(faults).Run(path);
}

}  // namespace carelog::ldstool
