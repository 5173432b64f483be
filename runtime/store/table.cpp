#include "runtime/store/table.h"

#include <algorithm>
#include <cstring>

#include "runtime/store/internal_error.h"
#include "runtime/store/key_maintenance.h"
#include "runtime/store/memo_format.h"
#include "runtime/store/record_image.h"
#include "runtime/store/tree.h"

namespace carelog::store {
namespace {

constexpr uint32_t kLastTableNumber = 0xFDFFFFFF;  // numbers stay below the table names
constexpr int kLineNumbersExhausted = 1163;

// Sets `key` to t · kind · r (RecordKey, MemoPrefix), reusing its storage.
void NumberedKey(std::string* key, uint32_t table, uint8_t kind, uint32_t record) {
  if (key->size() != 9) key->resize(9);
  char* at = key->data();
  for (int i = 0; i < 4; ++i) {
    at[i] = static_cast<char>(table >> (24 - 8 * i));
    at[5 + i] = static_cast<char>(record >> (24 - 8 * i));
  }
  at[4] = static_cast<char>(kind);
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::string PrefixEnd(std::string_view prefix) {
  std::string end(prefix);
  while (!end.empty()) {
    uint8_t last = static_cast<uint8_t>(end.back());
    if (last != 0xFF) {
      end.back() = static_cast<char>(last + 1);
      return end;
    }
    end.pop_back();
  }
  return end;
}

int EraseRange(DataFile& file, std::string_view prefix) {
  // A waiting counters change must not bring back an entry erased here.
  int rc = file.ApplyPendingCounts(prefix);
  if (rc != 0) return rc;
  Cursor cursor(file);
  bool found = false;
  rc = cursor.SeekAtOrAbove(prefix, &found);
  while (rc == 0 && found && StartsWith(cursor.key(), prefix)) {
    std::string key(cursor.key());
    if ((rc = file.tree().Erase(key)) != 0) break;
    rc = cursor.Next(&found);
  }
  return rc;
}

Table::Table(DataFile& file, uint32_t number, std::string name, TableDefinition def, bool oem)
    : file_(&file),
      number_(number),
      name_(std::move(name)),
      def_(std::move(def)),
      oem_(oem),
      text_(LocaleTextKeyTables(oem)) {}

void Table::DynamicIndex::Drop() {
  if (!file) return;
  FileSystem& fs = file->file_system();
  file.reset();
  fs.Remove(path);
}

Table::~Table() {
  for (auto& [k, index] : dynamic_) {
    index.Drop();
  }
}

int Table::FindNumber(DataFile& file, std::string_view name, uint32_t* number, bool* found) {
  Entry entry;
  int rc = file.tree().Find(TableNameKey(name), &entry, found);
  if (rc != 0 || !*found) return rc;
  if (entry.data().size() < 4) return kErrInvalidDataFile;
  *number = ReadU32BE(entry.data(), 0);
  return 0;
}

int Table::ReadDefinition(DataFile& file, uint32_t number, TableDefinition* def) {
  std::string stream;
  std::string prefix = TablePrefix(number);
  prefix.push_back(static_cast<char>(kKindDefinition));
  Cursor cursor(file);
  bool found = false;
  int rc = cursor.SeekAtOrAbove(prefix, &found);
  while (rc == 0 && found && StartsWith(cursor.key(), prefix)) {
    std::string_view key = cursor.key();
    std::string_view data = cursor.data();
    if (key.size() != 7 || data.size() > kDefinitionBlockSize) return kErrInvalidDataFile;
    size_t block = static_cast<uint8_t>(key[5]) | (static_cast<uint8_t>(key[6]) << 8);
    size_t at = block * kDefinitionBlockSize;
    if (stream.size() < at + kDefinitionBlockSize) stream.resize(at + kDefinitionBlockSize, '\0');
    std::memcpy(stream.data() + at, data.data(), data.size());
    rc = cursor.Next(&found);
  }
  if (rc != 0) return rc;
  return DecodeDefinition(stream, def);
}

int Table::Open(DataFile& file, std::string_view name, const TableDefinition& declared, bool oem,
                bool tolerate_mismatch, std::unique_ptr<Table>* out) {
  uint32_t number = 0;
  bool found = false;
  int rc = FindNumber(file, name, &number, &found);
  if (rc != 0) return rc;
  if (!found) return kErrFileNotFound;
  TableDefinition stored;
  rc = ReadDefinition(file, number, &stored);
  if (!tolerate_mismatch) {
    if (rc != 0) return rc;
    if (!SameDefinition(stored, declared)) return kErrInvalidRecordDeclaration;
  }
  out->reset(new Table(file, number, std::string(name), declared, oem));
  return 0;
}

int Table::Create(DataFile& file, std::string_view name, const TableDefinition& declared, bool oem,
                  std::unique_ptr<Table>* out) {
  uint32_t old_number = 0;
  bool found = false;
  int rc = FindNumber(file, name, &old_number, &found);
  if (rc == 0 && found) {
    rc = EraseRange(file, TablePrefix(old_number));
    if (rc == 0) rc = file.tree().Erase(TableNameKey(name));
  }
  uint32_t number = 0;
  if (rc == 0) rc = file.NewNumber(&number);
  if (rc != 0) return rc;
  if (number > kLastTableNumber) InternalError(kLineNumbersExhausted);
  std::string number_bytes;
  AppendU32BE(&number_bytes, number);
  if ((rc = file.tree().Put(TableNameKey(name), number_bytes)) != 0) return rc;
  std::unique_ptr<Table> table(new Table(file, number, std::string(name), declared, oem));
  if ((rc = table->WriteDefinitionAndCounters()) != 0) return rc;
  *out = std::move(table);
  return 0;
}

int Table::WriteDefinitionAndCounters() {
  std::string stream = EncodeDefinition(def_);
  for (size_t at = 0, block = 0; at < stream.size(); at += kDefinitionBlockSize, ++block) {
    std::string_view part = std::string_view(stream).substr(at, kDefinitionBlockSize);
    int rc = file_->tree().Put(DefinitionKey(number_, static_cast<uint16_t>(block)), part);
    if (rc != 0) return rc;
  }
  int rc = WriteCounters(kRecordsIndex, Counters{});
  for (size_t k = 0; rc == 0 && k < def_.keys.size(); ++k) {
    rc = WriteCounters(static_cast<uint8_t>(k), Counters{});
  }
  return rc;
}

const KeyDef& Table::Key(int k) const {
  auto it = dynamic_.find(k);
  return it != dynamic_.end() ? it->second.key : def_.keys[k];
}

DataFile& Table::KeyFile(int k) const {
  auto it = dynamic_.find(k);
  return it != dynamic_.end() ? *it->second.file : *file_;
}

void Table::SetDynamicIndex(int k, KeyDef key, std::unique_ptr<DataFile> file, std::string path) {
  auto it = dynamic_.find(k);
  if (it != dynamic_.end()) {
    it->second.Drop();
    dynamic_.erase(it);
  }
  if (file) dynamic_[k] = DynamicIndex{std::move(key), std::move(file), std::move(path)};
}

std::string Table::StoredImage(const uint8_t* record) const {
  std::string image;
  StoredImageInto(record, &image);
  return image;
}

void Table::StoredImageInto(const uint8_t* record, std::string* image) const {
  image->assign(reinterpret_cast<const char*>(record), def_.record_size);
  if (oem_) MapRecordText(def_, AnsiToOemMap(), reinterpret_cast<uint8_t*>(image->data()));
}

void Table::LoadImage(std::string_view stored, uint8_t* record) const {
  std::memcpy(record, stored.data(), def_.record_size);
  if (oem_) MapRecordText(def_, OemToAnsiMap(), record);
}

std::string Table::KeyValueOf(int k, const uint8_t* record) const {
  std::string value;
  std::string image = StoredImage(record);
  encoder().AppendValue(Key(k), reinterpret_cast<const uint8_t*>(image.data()), &value);
  return value;
}

int Table::ReadImage(uint32_t record, std::string* image, bool* found) {
  Entry entry;
  int rc = file_->tree().Find(RecordKey(number_, record), &entry, found);
  if (rc != 0 || !*found) return rc;
  if (entry.data().size() != def_.record_size) return kErrInvalidDataFile;
  image->assign(entry.data());
  return 0;
}

// The record's entry sorts first among those whose key part begins with its key, so a scan of
// that prefix reads it in place, without a copy.
int Table::Read(uint32_t record, RecordBuffers& out, bool with_memos) {
  NumberedKey(&read_key_, number_, kKindRecord, record);
  bool found = false;
  bool damaged = false;
  int rc = file_->tree().ScanPrefix(read_key_, [&](const Entry& entry) {
    found = entry.key().size() == read_key_.size();
    if (!found) return false;
    damaged = entry.data().size() != def_.record_size;
    if (!damaged) LoadImage(entry.data(), out.record);
    return false;
  });
  if (rc != 0) return rc;
  if (!found) return kErrRecordNotFound;
  if (damaged) return kErrInvalidDataFile;
  return with_memos ? ReadMemos(record, out) : 0;
}

int Table::ReadMemos(uint32_t record, RecordBuffers& out) {
  if (out.memos.empty()) return 0;
  std::vector<std::string>& stored = read_memos_;
  stored.resize(def_.memos.size());
  for (std::string& text : stored) text.clear();
  NumberedKey(&read_key_, number_, kKindMemo, record);
  const std::string_view prefix = read_key_;
  bool damaged = false;
  int rc = file_->tree().ScanPrefix(prefix, [&](const Entry& block) {
    std::string_view key = block.key();
    size_t memo = key.size() == prefix.size() + 3 ? static_cast<uint8_t>(key[prefix.size()]) : 0;
    damaged = key.size() != prefix.size() + 3 || memo >= stored.size();
    if (!damaged) stored[memo].append(block.data());
    return !damaged;
  });
  if (rc != 0) return rc;
  if (damaged) return kErrInvalidDataFile;
  for (size_t m = 0; m < def_.memos.size() && m < out.memos.size(); ++m) {
    const MemoDef& memo = def_.memos[m];
    MemoBuffer& buffer = out.memos[m];
    uint32_t length = LoadMemo(memo, stored[m], buffer.data);
    if (oem_ && !memo.binary() && (memo.flags & kDefMemoNoOem) == 0) {
      MapText(OemToAnsiMap(), buffer.data, length);
    }
    if (buffer.length) *buffer.length = length;
  }
  return 0;
}

int Table::WriteMemos(uint32_t record, RecordBuffers& in, bool fresh) {
  for (size_t m = 0; m < def_.memos.size() && m < in.memos.size(); ++m) {
    const MemoDef& memo = def_.memos[m];
    const MemoBuffer& buffer = in.memos[m];
    uint32_t length = buffer.length ? *buffer.length : memo.max_size;
    std::string bytes = MemoStoredBytes(memo, buffer.data, length);
    if (oem_ && !memo.binary() && (memo.flags & kDefMemoNoOem) == 0) {
      MapText(AnsiToOemMap(), bytes.data(), bytes.size());
    }
    uint16_t blocks = static_cast<uint16_t>((bytes.size() + kMemoBlockSize - 1) / kMemoBlockSize);
    for (uint16_t b = 0; b < blocks; ++b) {
      std::string_view block = std::string_view(bytes).substr(b * kMemoBlockSize, kMemoBlockSize);
      std::string key = MemoKey(number_, record, static_cast<uint8_t>(m), b);
      Entry stored;
      bool found = false;
      int rc = fresh ? 0 : file_->tree().Find(key, &stored, &found);
      if (rc == 0 && !(found && stored.data() == block)) rc = file_->tree().Put(key, block);
      if (rc != 0) return rc;
    }
    // Blocks beyond the new last block belong to a longer former text.
    std::string memo_prefix = MemoPrefix(number_, record);
    memo_prefix.push_back(static_cast<char>(m));
    Cursor cursor(*file_);
    bool found = false;
    int rc =
        cursor.SeekAtOrAbove(MemoKey(number_, record, static_cast<uint8_t>(m), blocks), &found);
    while (rc == 0 && found && StartsWith(cursor.key(), memo_prefix)) {
      std::string key(cursor.key());
      if ((rc = file_->tree().Erase(key)) == 0) rc = cursor.Next(&found);
    }
    if (rc != 0) return rc;
  }
  return 0;
}

int Table::EraseMemos(uint32_t record) {
  if (def_.memos.empty()) return 0;
  return EraseRange(*file_, MemoPrefix(number_, record));
}

int Table::ReadCounters(uint8_t index, Counters* counters) {
  const std::string key = CountersKey(number_, index);
  Entry entry;
  bool found = false;
  int rc = file_->ApplyPendingCounts(key);
  if (rc == 0) rc = file_->tree().Find(key, &entry, &found);
  *counters = found ? DecodeCounters(entry.data()) : Counters{};
  return rc;
}

int Table::WriteCounters(uint8_t index, const Counters& counters) {
  const std::string key = CountersKey(number_, index);
  int rc = file_->ApplyPendingCounts(key);
  return rc != 0 ? rc : file_->tree().Put(key, EncodeCounters(counters));
}

int Table::AdjustCount(uint8_t index, int delta) {
  return file_->AddToCount(number_, index, delta);
}

int Table::AdjustRecordCount(int delta) { return AdjustCount(kRecordsIndex, delta); }

int Table::Records(uint32_t* count) {
  Counters c;
  int rc = ReadCounters(kRecordsIndex, &c);
  *count = c.entries;
  return rc;
}

int Table::KeyEntries(int key, uint32_t* count) {
  if (dynamic_.count(key) != 0) {
    const std::string counters_key = CountersKey(number_, static_cast<uint8_t>(key));
    Entry entry;
    bool found = false;
    int rc = KeyFile(key).ApplyPendingCounts(counters_key);
    if (rc == 0) rc = KeyFile(key).tree().Find(counters_key, &entry, &found);
    *count = found ? DecodeCounters(entry.data()).entries : 0;
    return rc;
  }
  Counters c;
  int rc = ReadCounters(static_cast<uint8_t>(key), &c);
  *count = c.entries;
  return rc;
}

int Table::Add(RecordBuffers& in, uint32_t* record) {
  std::string& image = write_image_;
  StoredImageInto(in.record, &image);
  uint32_t number = 0;
  int rc = file_->NewNumber(&number);
  if (rc == 0) rc = MaintainKeys(*this, nullptr, &image, number);
  if (rc == 0) rc = file_->tree().Put(RecordKey(number_, number), image);
  if (rc == 0) rc = AdjustRecordCount(+1);
  if (rc == 0) rc = WriteMemos(number, in, true);
  if (rc == 0) *record = number;
  return rc;
}

int Table::Put(uint32_t record, RecordBuffers& in) {
  std::string old_image;
  bool found = false;
  int rc = ReadImage(record, &old_image, &found);
  if (rc != 0) return rc;
  if (!found) return kErrRecordNotAvailable;
  std::string image = StoredImage(in.record);
  if ((rc = MaintainKeys(*this, &old_image, &image, record)) != 0) return rc;
  if (image != old_image && (rc = file_->tree().Put(RecordKey(number_, record), image)) != 0) {
    return rc;
  }
  return WriteMemos(record, in, false);
}

int Table::Delete(uint32_t record) {
  std::string old_image;
  bool found = false;
  int rc = ReadImage(record, &old_image, &found);
  if (rc != 0) return rc;
  if (!found) return kErrRecordNotAvailable;
  if ((rc = MaintainKeys(*this, &old_image, nullptr, record)) != 0) return rc;
  if ((rc = file_->tree().Erase(RecordKey(number_, record))) != 0) return rc;
  if ((rc = EraseMemos(record)) != 0) return rc;
  return AdjustRecordCount(-1);
}

int Table::Duplicate(int key, const uint8_t* record, uint32_t current, bool* duplicate) {
  *duplicate = false;
  std::string image = StoredImage(record);
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(image.data());
  for (size_t k = 0; k < def_.keys.size(); ++k) {
    if (key >= 0 && static_cast<int>(k) != key) continue;
    const KeyDef& def = Key(static_cast<int>(k));
    if (def.dup() || (key < 0 && def.index()) || def.components.empty()) continue;
    if (def.opt() && encoder().IsBlank(def, bytes)) continue;
    std::string value;
    encoder().AppendValue(def, bytes, &value);
    EncodedKey entry = MakeKeyEntry(number_, static_cast<uint8_t>(k), false, value, 0);
    Entry found_entry;
    bool found = false;
    int rc = KeyFile(static_cast<int>(k)).tree().Find(entry.key, &found_entry, &found);
    if (rc != 0) return rc;
    if (found && KeyEntryRecord(false, found_entry.key(), found_entry.data()) != current) {
      *duplicate = true;
      return 0;
    }
  }
  return 0;
}

int Table::RemoveEntries() {
  for (auto& [k, index] : dynamic_) {
    index.Drop();
  }
  dynamic_.clear();
  return EraseRange(*file_, TablePrefix(number_));
}

int Table::Empty() {
  int rc = RemoveEntries();
  return rc != 0 ? rc : WriteDefinitionAndCounters();
}

}  // namespace carelog::store
