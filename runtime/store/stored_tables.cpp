#include "runtime/store/stored_tables.h"

#include <memory>

#include "runtime/store/error_codes.h"
#include "runtime/store/holds.h"
#include "runtime/store/index_build.h"
#include "runtime/store/open_data_files.h"
#include "runtime/store/positions.h"
#include "runtime/store/reading.h"
#include "runtime/store/table.h"
#include "runtime/store/table_name.h"
#include "runtime/store/transaction_control.h"
#include "runtime/store/tree.h"

namespace carelog::store {
namespace {

// The per-file object of an open table.
class StoredTable : public TableHandle {
 public:
  ~StoredTable() override {
    if (table) ReleaseAllLocks(*table, sharing);
  }
  std::shared_ptr<DataFile> file;
  std::unique_ptr<Table> table;
  Reader reader;
  TableSharing sharing;
  // Reused by every read so that a statement allocates nothing for its buffers or its place.
  RecordBuffers read_buffers;
  Reader::Place saved_place;
};

StoredTable* HandleOf(DriverState& state) {
  return static_cast<StoredTable*>(state.table.get());
}

void FillBuffers(DriverState& state, bool with_memos, RecordBuffers* buffers) {
  buffers->record = state.record;
  buffers->memos.clear();
  if (!with_memos) return;
  for (MemoEntry& memo : state.memos) {
    buffers->memos.push_back(MemoBuffer{memo.buffer.get(), &memo.length});
  }
}

RecordBuffers BuffersOf(DriverState& state) {
  RecordBuffers buffers;
  FillBuffers(state, true, &buffers);
  return buffers;
}

// A read first lets go of the record it held.
int BeginRead(DriverState& state) {
  StoredTable* handle = HandleOf(state);
  return ReleaseHeldRecord(*handle->file, handle->sharing);
}

// A read hands the record to the caller and consumes the requests made for it; under HOLD it
// fails with 43 when another process holds the record.
int FinishRead(DriverState& state, int rc, uint32_t record) {
  if (rc == 0) {
    StoredTable* handle = HandleOf(state);
    rc = AfterRead(state, *handle->table, handle->sharing, record);
  }
  if (rc == 0) {
    state.current_record = record;
    state.hold_requested = false;
    state.watch_requested = false;
    state.skip_memos = false;
  }
  return rc;
}

int CheckDeclaration(const DriverState& state) {
  if (state.name.empty()) return kErrInvalidFilename;
  // Enciphered data files (an owner password) are not supported by this driver.
  if (!state.owner.empty()) return kErrUnsupportedFunction;
  return 0;
}

// Opens the data file and the table of the declaration; `create` replaces the table.
int OpenTable(DriverState& state, const DataFileOptions& options, bool create,
              bool tolerate_mismatch, std::unique_ptr<StoredTable>* out) {
  int rc = CheckDeclaration(state);
  if (rc != 0) return rc;
  TableName name = SplitTableName(state.name);
  auto handle = std::make_unique<StoredTable>();
  DataFileOptions opener = options;
  opener.table = name.table;
  if ((rc = AcquireDataFile(name.file, opener, &handle->file)) != 0) return rc;
  TableDefinition def = DefinitionOf(state);
  rc = create ? Table::Create(*handle->file, name.table, def, state.oem(), &handle->table)
              : Table::Open(*handle->file, name.table, def, state.oem(), tolerate_mismatch,
                            &handle->table);
  if (rc != 0) {
    if (handle->file->in_access()) handle->file->AbandonAccess();
    return rc;
  }
  *out = std::move(handle);
  return 0;
}

// Ends the access cycle of a statement that does not keep the table open.
int EndCycle(DataFile& file, int rc) {
  if (!file.in_access()) return rc;
  if (rc != 0) {
    file.AbandonAccess();
    return rc;
  }
  return file.EndAccess();
}

int KeyNumber(const KeyEntry* key) {
  return key ? key->number : -1;
}

// Copies every entry of table `from` of `source` into a new table `name` of `target`.
int CopyTableEntries(DataFile& source, uint32_t from, DataFile& target, const std::string& name) {
  uint32_t old_number = 0;
  bool found = false;
  int rc = Table::FindNumber(target, name, &old_number, &found);
  if (rc == 0 && found) {
    rc = EraseRange(target, TablePrefix(old_number));
    if (rc == 0) rc = target.tree().Erase(TableNameKey(name));
  }
  uint32_t number = 0;
  if (rc == 0) rc = target.NewNumber(&number);
  if (rc != 0) return rc;
  std::string number_bytes;
  AppendU32BE(&number_bytes, number);
  if ((rc = target.tree().Put(TableNameKey(name), number_bytes)) != 0) return rc;

  const std::string prefix = TablePrefix(from);
  const std::string records = RecordsPrefix(from);
  uint32_t highest_record = 0;
  // The copy takes the counters as they stand, the open cycle's changes included.
  if ((rc = source.ApplyPendingCounts(prefix)) != 0) return rc;
  Cursor cursor(source);
  rc = cursor.SeekAtOrAbove(prefix, &found);
  while (rc == 0 && found && cursor.key().substr(0, 4) == prefix) {
    std::string key = TablePrefix(number);
    key.append(cursor.key().substr(4));
    if (cursor.key().substr(0, 5) == records) {
      highest_record = std::max(highest_record, RecordNumberOf(cursor.key()));
    }
    std::string data(cursor.data());
    if ((rc = target.tree().Put(key, data)) != 0) return rc;
    rc = cursor.Next(&found);
  }
  if (rc != 0) return rc;
  // Record numbers come from the data file's counter: a later ADD in the target must not hand
  // out the number of a copied record.
  uint32_t last = 0;
  rc = target.LastNumber(&last);
  while (rc == 0 && last < highest_record) rc = target.NewNumber(&last);
  return rc;
}

class StoredTablesImpl : public TableOps {
 public:
  int Open(DriverState& state, const AccessMode& mode) override {
    std::unique_ptr<StoredTable> handle;
    int rc =
        OpenTable(state, DataFileOptions::FromAccessMode(mode.raw, false), false, false, &handle);
    if (rc != 0) return rc;
    state.table = std::move(handle);
    return 0;
  }

  int Close(DriverState& state) override {
    StoredTable* handle = HandleOf(state);
    int rc = handle ? EndCycle(*handle->file, 0) : 0;
    state.table.reset();
    return rc;
  }

  int Create(DriverState& state) override {
    std::unique_ptr<StoredTable> handle;
    int rc = OpenTable(state, DataFileOptions::ReadWriteShared(true), true, false, &handle);
    if (rc != 0) return rc;
    return EndCycle(*handle->file, 0);
  }

  int Remove(DriverState& state) override {
    DataFileOptions options;
    std::unique_ptr<StoredTable> handle;
    int rc = OpenTable(state, options, false, true, &handle);
    if (rc != 0) return rc;
    DataFile& file = *handle->file;
    rc = file.tree().Erase(TableNameKey(handle->table->name()));
    bool other_tables = false;
    if (rc == 0) {
      Cursor cursor(file);
      bool found = false;
      rc = cursor.SeekAtOrAbove(std::string(1, static_cast<char>(kKindTableName)), &found);
      other_tables = found && static_cast<uint8_t>(cursor.key()[0]) == kKindTableName;
    }
    if (rc == 0 && !other_tables && handle->file.use_count() == 1) {
      // The last table of a data file that no one else holds: the file goes.
      std::string path = file.path();
      file.AbandonAccess();
      handle.reset();
      return FileSystem::Posix().Remove(path);
    }
    if (rc == 0) rc = handle->table->RemoveEntries();
    return EndCycle(file, rc);
  }

  int Copy(DriverState& state, const std::string& new_name) override {
    return CopyTo(state, new_name, false);
  }

  int Rename(DriverState& state, const std::string& new_name) override {
    return CopyTo(state, new_name, true);
  }

  int FinishAccessCycle(DriverState& state) override {
    StoredTable* handle = HandleOf(state);
    if (!handle) return 0;
    int rc = FinishStatement(state, *handle->file);
    if (handle->table == nullptr || !handle->table->has_key_files()) return rc;
    for (size_t k = 0; k < state.keys.size(); ++k) {
      DataFile& key_file = handle->table->KeyFile(static_cast<int>(k));
      if (&key_file != handle->file.get() && key_file.in_access()) {
        int end = key_file.EndAccess();
        if (rc == 0) rc = end;
      }
    }
    return rc;
  }

  int Add(DriverState& state) override {
    RecordBuffers buffers = BuffersOf(state);
    uint32_t record = 0;
    int rc = BeginWrite(state);
    if (rc == 0) rc = HandleOf(state)->table->Add(buffers, &record);
    if (rc == 0) state.current_record = record;
    return rc;
  }

  int Append(DriverState& state) override { return Add(state); }

  int Put(DriverState& state) override {
    RecordBuffers buffers = BuffersOf(state);
    StoredTable* handle = HandleOf(state);
    const uint32_t record = state.current_record;
    return SharedPut(state, *handle->table, handle->sharing, record,
                     [&] { return handle->table->Put(record, buffers); });
  }

  int Delete(DriverState& state) override {
    StoredTable* handle = HandleOf(state);
    const uint32_t record = state.current_record;
    int rc = SharedDelete(*handle->table, handle->sharing, record,
                          [&] { return handle->table->Delete(record); });
    if (rc == 0) state.current_record = 0;
    return rc;
  }

  int GetByKey(DriverState& state, KeyEntry& key) override {
    RecordBuffers& buffers = ReadBuffers(state);
    uint32_t record = 0;
    if (int rc = BeginRead(state)) return rc;
    int rc = carelog::store::GetByKey(*HandleOf(state)->table, key.number, buffers, &record);
    return FinishRead(state, rc, record);
  }

  int GetByRecord(DriverState& state, uint32_t record) override {
    RecordBuffers& buffers = ReadBuffers(state);
    if (int rc = BeginRead(state)) return rc;
    int rc = HandleOf(state)->table->Read(record, buffers, !buffers.memos.empty());
    return FinishRead(state, rc, record);
  }

  int Reget(DriverState& state, KeyEntry* key, const std::string& position) override {
    RecordBuffers& buffers = ReadBuffers(state);
    uint32_t record = 0;
    if (int rc = BeginRead(state)) return rc;
    int rc = RegetPosition(*HandleOf(state)->table, KeyNumber(key), position, buffers, &record);
    return FinishRead(state, rc, record);
  }

  int BeginReading(DriverState& state) override {
    StoredTable* handle = HandleOf(state);
    const ReadingState& reading = state.reading;
    return handle->reader.Begin(*handle->table, static_cast<int>(reading.mode),
                                KeyNumber(reading.key), state.record, reading.record,
                                reading.position);
  }

  int Next(DriverState& state) override { return Step(state, true); }
  int Previous(DriverState& state) override { return Step(state, false); }

  int IsAtEnd(DriverState& state, bool forward, bool* at_end) override {
    StoredTable* handle = HandleOf(state);
    bool exists = false;
    int rc = handle->reader.Peek(*handle->table, forward, &exists);
    *at_end = !exists;
    return rc;
  }

  int Position(DriverState& state, KeyEntry* key, std::string* position) override {
    return PositionOf(*HandleOf(state)->table, KeyNumber(key), state.current_record, state.record,
                      position);
  }

  int Duplicate(DriverState& state, KeyEntry* key, bool* duplicate) override {
    return HandleOf(state)->table->Duplicate(KeyNumber(key), state.record, state.current_record,
                                             duplicate);
  }

  int Records(DriverState& state, uint32_t* count) override {
    return HandleOf(state)->table->Records(count);
  }

  int KeyEntries(DriverState& state, KeyEntry& key, uint32_t* count) override {
    return HandleOf(state)->table->KeyEntries(key.number, count);
  }

  int BuildAllKeys(DriverState& state) override {
    if (int rc = BeginWrite(state)) return rc;
    return carelog::store::BuildAllKeys(*HandleOf(state)->table);
  }

  int BuildKey(DriverState& state, KeyEntry& key) override {
    Table& table = *HandleOf(state)->table;
    if (table.definition().keys[key.number].dynamic()) return kErrInvalidIndexString;
    return carelog::store::BuildKey(table, key.number);
  }

  int BuildIndex(DriverState& state, KeyEntry& key, const std::string& components,
                 const std::string* filter) override {
    Table& table = *HandleOf(state)->table;
    // Build filters need the expression evaluator, which the store does not reach.
    if (filter != nullptr && !filter->empty()) return kErrUnsupportedFunction;
    if (!table.definition().keys[key.number].dynamic()) {
      return carelog::store::BuildKey(table, key.number);
    }
    return BuildDynamicIndex(table, key.number, components);
  }

  int Pack(DriverState& state) override {
    StoredTable* handle = HandleOf(state);
    int rc = carelog::store::BuildAllKeys(*handle->table);
    rc = EndCycle(*handle->file, rc);
    return rc != 0 ? rc : handle->file->TruncateToData();
  }

  int Empty(DriverState& state) override {
    StoredTable* handle = HandleOf(state);
    handle->reader.Clear();
    if (int rc = BeginWrite(state)) return rc;
    return handle->table->Empty();
  }

  int Lock(DriverState& state) override {
    StoredTable* handle = HandleOf(state);
    return LockTable(*handle->table, handle->sharing);
  }

  int Unlock(DriverState& state) override {
    StoredTable* handle = HandleOf(state);
    return UnlockTable(*handle->table, handle->sharing);
  }

  int Release(DriverState& state) override {
    StoredTable* handle = HandleOf(state);
    return ReleaseHeldRecord(*handle->file, handle->sharing);
  }

  int Logout(DriverState& state) override {
    return carelog::store::Logout(state, HandleOf(state)->file);
  }
  int Commit(DriverState&) override { return carelog::store::Commit(); }
  int Rollback(DriverState&) override { return carelog::store::Rollback(); }
  int Stream(DriverState& state) override {
    return carelog::store::Stream(state, *HandleOf(state)->file);
  }
  int Flush(DriverState& state) override {
    return carelog::store::Flush(state, *HandleOf(state)->file);
  }

  int SetTransactionControlFile(const std::string& name) override {
    SetControlFileName(name);
    return 0;
  }

  int FirstTableNameFrom(DriverState& state, const std::string& from, std::string* name) override {
    name->clear();
    StoredTable* handle = HandleOf(state);
    if (!handle) return 0;
    Cursor cursor(*handle->file);
    bool found = false;
    int rc = cursor.SeekAtOrAbove(TableNameKey(from), &found);
    if (rc == 0 && found && static_cast<uint8_t>(cursor.key()[0]) == kKindTableName) {
      name->assign(cursor.key().substr(1));
    }
    return rc;
  }

 private:
  // A statement that changes the file takes the writer role before it reads anything, so that
  // what it checks stays true until it has written.
  static int BeginWrite(DriverState& state) {
    return HandleOf(state)->file->BeginAccess(Access::kWrite);
  }

  // The handle's reused buffers, without the memos when the reader skips them.
  static RecordBuffers& ReadBuffers(DriverState& state) {
    RecordBuffers& buffers = HandleOf(state)->read_buffers;
    FillBuffers(state, !state.skip_memos, &buffers);
    return buffers;
  }

  static int Step(DriverState& state, bool forward) {
    StoredTable* handle = HandleOf(state);
    RecordBuffers& buffers = ReadBuffers(state);
    uint32_t record = 0;
    if (int rc = BeginRead(state)) return rc;
    handle->reader.SavePlace(&handle->saved_place);
    int rc = handle->reader.Step(*handle->table, forward, buffers, !buffers.memos.empty(), &record);
    rc = FinishRead(state, rc, record);
    // A record held elsewhere is read again by the retry, from the same place.
    if (rc == kErrRecordIsAlreadyHeld) handle->reader.Restore(handle->saved_place);
    return rc;
  }

  static int CopyTo(DriverState& state, const std::string& new_name, bool remove_source) {
    if (new_name.empty()) return kErrInvalidFilename;
    std::unique_ptr<StoredTable> source;
    int rc = OpenTable(state, DataFileOptions::ReadWriteShared(false), false, true, &source);
    if (rc != 0) return rc;
    TableName target_name = SplitTableName(new_name);
    std::shared_ptr<DataFile> target;
    rc = AcquireDataFile(target_name.file, DataFileOptions::ReadWriteShared(true), &target);
    if (rc != 0) {
      return EndCycle(*source->file, rc);
    }
    rc = CopyTableEntries(*source->file, source->table->number(), *target, target_name.table);
    if (target != source->file) rc = EndCycle(*target, rc);
    if (rc == 0 && remove_source) {
      rc = source->file->tree().Erase(TableNameKey(source->table->name()));
      if (rc == 0) rc = source->table->RemoveEntries();
    }
    return EndCycle(*source->file, rc);
  }
};

}  // namespace

TableDefinition DefinitionOf(const DriverState& state) {
  TableDefinition def;
  def.record_size = static_cast<uint16_t>(state.record_size);
  for (const FieldEntry& f : state.fields) {
    FieldDef field;
    field.type = f.type;
    field.offset = static_cast<uint16_t>(f.offset);
    field.name = f.name;
    field.element_count = static_cast<uint16_t>(f.element_count);
    field.total_size = static_cast<uint16_t>(f.total_size);
    field.overlay = f.overlay ? 1 : 0;
    field.field_number = static_cast<uint16_t>(f.number);
    field.places = f.decimal_places;
    field.decimal_size = f.decimal_size;
    field.declared_length = static_cast<uint16_t>(f.string_length);
    field.picture = f.picture;
    def.fields.push_back(std::move(field));
  }
  for (const MemoEntry& m : state.memos) {
    MemoDef memo;
    memo.name = m.external_name;
    memo.label = m.label;
    memo.max_size = static_cast<uint16_t>(m.max_size);
    memo.flags = m.flags;
    def.memos.push_back(std::move(memo));
  }
  for (const KeyEntry& k : state.keys) {
    KeyDef key;
    key.name = k.external_name;
    key.label = k.label;
    key.flags = static_cast<uint8_t>(k.flags & (kKeyDup | kKeyOpt | kKeyNoCase | kKeyPrimary));
    if (k.is_index()) key.flags |= kDefKeyIndex;
    for (const KeyComponent& c : k.components) {
      KeyComponentDef component;
      component.field_index = static_cast<uint16_t>(c.field - state.fields.data());
      component.descending = c.descending;
      key.components.push_back(component);
    }
    def.keys.push_back(std::move(key));
  }
  return def;
}

TableOps& StoredTables() {
  static StoredTablesImpl tables;
  return tables;
}

}  // namespace carelog::store
