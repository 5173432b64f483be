#include "runtime/store/lodestar_operations.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <iterator>

#include "runtime/store/error_codes.h"
#include "runtime/store/lodestar_driver.h"
#include "runtime/store/preconditions.h"
#include "runtime/store/program_clock.h"

namespace carelog::store {
namespace {

constexpr uint32_t kExclusiveMode = 0x12;  // read/write, deny all

constexpr std::string_view kDriverName = "LODESTAR";
constexpr std::string_view kNotRecognised = "SEND arg not recognised";

// --- Arguments ---------------------------------------------------------------------------------

// The key entry of the key declaration in args[index]; it must be a key of this file.
int KeyArgument(const OperationCall& call, int index, KeyEntry** key) {
  const auto* declared = reinterpret_cast<const KeyDeclaration*>(call.args[index]);
  if (declared == nullptr) return kErrUnableToAccessIndex;
  KeyEntry* entry = KeyEntryOf(*declared);
  std::vector<KeyEntry>& keys = call.state->keys;
  const bool ours =
      entry != nullptr && !keys.empty() &&
      std::any_of(keys.begin(), keys.end(), [entry](const KeyEntry& k) { return &k == entry; });
  if (!ours) return kErrUnableToAccessIndex;
  *key = entry;
  return 0;
}

int64_t NumberArgument(const OperationCall& call, int index) {
  return static_cast<int64_t>(call.args[index]);
}

uint32_t RecordArgument(const OperationCall& call, int index) {
  const int64_t value = NumberArgument(call, index);
  return value < 1 || value > UINT32_MAX ? 0 : static_cast<uint32_t>(value);
}

// --- Reads under HOLD --------------------------------------------------------------------------

// Repeats `read` while it fails with 43 under HOLD: without end when the HOLD has no time-out,
// otherwise until more than the time-out has passed since the statement began; then 43 stands
// and the HOLD and WATCH requests are dropped.
template <class Read>
int ReadHolding(OperationCall& call, const Read& read) {
  DriverState& state = *call.state;
  const bool holding = state.hold_requested;
  // Only a read under HOLD can be repeated, so only it needs the time it began.
  const int64_t start = holding ? ProgramClock() : 0;
  for (;;) {
    const int error = read();
    if (error != kErrRecordIsAlreadyHeld || !holding) return error;
    if (state.hold_timeout >= 0 && ProgramClock() - start > int64_t{state.hold_timeout} * 100) {
      state.hold_requested = false;
      state.watch_requested = false;
      state.skip_memos = false;
      return error;
    }
    WaitBetweenAttempts();
  }
}

int ReadNext(OperationCall& call) {
  return ReadHolding(call, [&call] { return call.tables->Next(*call.state); });
}

int ReadPrevious(OperationCall& call) {
  return ReadHolding(call, [&call] { return call.tables->Previous(*call.state); });
}

// --- Files -------------------------------------------------------------------------------------

int OpenShared(OperationCall& call) {
  DriverState& state = *call.state;
  if (state.name.empty()) return kErrInvalidFilename;
  const uint32_t mode = static_cast<uint32_t>(call.args[0]);
  if (int error = call.tables->Open(state, DecodeAccessMode(mode))) return error;
  state.access_mode = mode;
  if ((mode & 0x30) != 0) state.bits |= kBitDenyOthers;
  if ((mode & 0x03) != 0) state.bits |= kBitWriteAccess;
  state.current_record = 0;
  state.reading = ReadingState{};
  return 0;
}

int Close(OperationCall& call) {
  if (call.state->table == nullptr) return 0;
  return call.tables->Close(*call.state);
}

int Create(OperationCall& call) {
  if ((call.state->flags & kDriverFlagCreate) == 0) return kErrNoCreateAttribute;
  return call.tables->Create(*call.state);
}

int Copy(OperationCall& call) {
  return call.tables->Copy(*call.state, call.strings[0]);
}
int Rename(OperationCall& call) {
  return call.tables->Rename(*call.state, call.strings[0]);
}
int Remove(OperationCall& call) {
  return call.tables->Remove(*call.state);
}
int Name(OperationCall& call) {
  call.text = call.state->name;
  return 0;
}

// SEND: "REGISTER", "TCF=<name>", "PNM=<from>"; anything else is answered, not refused.
int Send(OperationCall& call) {
  const std::string& command = call.strings[0];
  DriverState& state = *call.state;
  if (command == "REGISTER") {
    call.text = kDriverName;
    call.discard_after = !state.is_open();
    return 0;
  }
  if (const size_t at = command.find("TCF="); at != std::string::npos) {
    return call.tables->SetTransactionControlFile(command.substr(at + 4));
  }
  if (const size_t at = command.find("PNM="); at != std::string::npos) {
    if (!state.is_open()) return 0;
    return call.tables->FirstTableNameFrom(state, command.substr(at + 4), &call.text);
  }
  call.text = kNotRecognised;
  return 0;
}

// --- Records -----------------------------------------------------------------------------------

int Add(OperationCall& call) {
  return call.tables->Add(*call.state);
}
int Append(OperationCall& call) {
  return call.tables->Append(*call.state);
}
int Put(OperationCall& call) {
  return call.tables->Put(*call.state);
}
int Delete(OperationCall& call) {
  return call.tables->Delete(*call.state);
}

int PutPointer(OperationCall& call) {
  const uint32_t record = RecordArgument(call, 0);
  if (record == 0) return kErrRecordNotAvailable;
  call.state->current_record = record;
  return call.tables->Put(*call.state);
}

int GetByKey(OperationCall& call) {
  KeyEntry* key;
  if (int error = KeyArgument(call, 0, &key)) return error;
  return ReadHolding(call, [&call, key] { return call.tables->GetByKey(*call.state, *key); });
}

// GET(file, pointer) and GET(key, pointer): pointer 0 leaves no current record.
int GetRecord(OperationCall& call, uint32_t record) {
  if (record == 0) {
    call.state->current_record = 0;
    return 0;
  }
  return ReadHolding(call,
                     [&call, record] { return call.tables->GetByRecord(*call.state, record); });
}

int GetByPointer(OperationCall& call) {
  if (NumberArgument(call, 0) < 0) return kErrRecordNotFound;
  return GetRecord(call, RecordArgument(call, 0));
}

int GetKeyPointer(OperationCall& call) {
  KeyEntry* key;
  if (int error = KeyArgument(call, 0, &key)) return error;
  if (NumberArgument(call, 1) < 0) return kErrRecordNotFound;
  return GetRecord(call, RecordArgument(call, 1));
}

int Reget(OperationCall& call, KeyEntry* key) {
  return ReadHolding(
      call, [&call, key] { return call.tables->Reget(*call.state, key, call.strings[0]); });
}

int RegetFile(OperationCall& call) {
  return Reget(call, nullptr);
}

int RegetKey(OperationCall& call) {
  KeyEntry* key;
  if (int error = KeyArgument(call, 0, &key)) return error;
  return Reget(call, key);
}

int Next(OperationCall& call) {
  return ReadNext(call);
}
int Previous(OperationCall& call) {
  return ReadPrevious(call);
}

// SKIP(file, count): count reads forward, or -count backward, stopping at the first error.
int Skip(OperationCall& call) {
  const int64_t count = NumberArgument(call, 0);
  const int64_t steps = count < 0 ? -count : count;
  for (int64_t i = 0; i < steps; ++i) {
    if (int error = count > 0 ? ReadNext(call) : ReadPrevious(call)) return error;
  }
  return 0;
}

int AtEnd(OperationCall& call, bool forward) {
  bool at_end = true;
  const int error = call.tables->IsAtEnd(*call.state, forward, &at_end);
  call.value = at_end ? 1 : 0;
  return error;
}

int Bof(OperationCall& call) {
  return AtEnd(call, false);
}
int Eof(OperationCall& call) {
  return AtEnd(call, true);
}

int Duplicate(OperationCall& call, KeyEntry* key) {
  bool duplicate = false;
  const int error = call.tables->Duplicate(*call.state, key, &duplicate);
  call.value = duplicate ? 1 : 0;
  return error;
}

int DuplicateFile(OperationCall& call) {
  return Duplicate(call, nullptr);
}

int DuplicateKey(OperationCall& call) {
  KeyEntry* key;
  if (int error = KeyArgument(call, 0, &key)) return error;
  return Duplicate(call, key);
}

int Pointer(OperationCall& call) {
  call.value = call.state->current_record;
  return 0;
}

int PointerKey(OperationCall& call) {
  KeyEntry* key;
  if (int error = KeyArgument(call, 0, &key)) return error;
  return Pointer(call);
}

int RecordsFile(OperationCall& call) {
  uint32_t count = 0;
  const int error = call.tables->Records(*call.state, &count);
  call.value = count;
  return error;
}

int RecordsKey(OperationCall& call) {
  KeyEntry* key;
  if (int error = KeyArgument(call, 0, &key)) return error;
  uint32_t count = 0;
  const int error = call.tables->KeyEntries(*call.state, *key, &count);
  call.value = count;
  return error;
}

// BYTES: the record size with a current record, else the size of all records.
int Bytes(OperationCall& call) {
  const DriverState& state = *call.state;
  if ((state.bits & kBitCurrentRecord) != 0) {
    call.value = state.record_size;
    return 0;
  }
  uint32_t count = 0;
  const int error = call.tables->Records(*call.state, &count);
  call.value = static_cast<intptr_t>(int64_t{state.record_size} * count);
  return error;
}

int PositionFile(OperationCall& call) {
  return call.tables->Position(*call.state, nullptr, &call.text);
}

int PositionKey(OperationCall& call) {
  KeyEntry* key;
  if (int error = KeyArgument(call, 0, &key)) return error;
  return call.tables->Position(*call.state, key, &call.text);
}

// --- Reading sequences -------------------------------------------------------------------------

int BeginReading(OperationCall& call, ReadingMode mode, KeyEntry* key, uint32_t record,
                 std::string position) {
  DriverState& state = *call.state;
  state.reading.mode = mode;
  state.reading.key = key;
  state.reading.record = record;
  state.reading.position = std::move(position);
  const int error = call.tables->BeginReading(state);
  if (error != 0) state.reading = ReadingState{};
  return error;
}

int SetFile(OperationCall& call) {
  return BeginReading(call, ReadingMode::kRecordsFromFirst, nullptr, 0, {});
}

int SetFileKey(OperationCall& call) {
  KeyEntry* key;
  if (int error = KeyArgument(call, 0, &key)) return error;
  return BeginReading(call, ReadingMode::kRecordsFromKeyValue, key, 0, {});
}

int SetFilePointer(OperationCall& call) {
  const uint32_t record = RecordArgument(call, 0);
  if (record == 0) return BeginReading(call, ReadingMode::kRecordsFromFirst, nullptr, 0, {});
  return BeginReading(call, ReadingMode::kRecordsFromRecord, nullptr, record, {});
}

int SetKey(OperationCall& call) {
  KeyEntry* key;
  if (int error = KeyArgument(call, 0, &key)) return error;
  return BeginReading(call, ReadingMode::kKeyFromFirst, key, 0, {});
}

int SetKeyKey(OperationCall& call) {
  KeyEntry* key;
  if (int error = KeyArgument(call, 0, &key)) return error;
  return BeginReading(call, ReadingMode::kKeyFromValue, key, 0, {});
}

int SetKeyPointer(OperationCall& call) {
  KeyEntry* key;
  if (int error = KeyArgument(call, 0, &key)) return error;
  const uint32_t record = RecordArgument(call, 1);
  if (record == 0) return BeginReading(call, ReadingMode::kKeyFromFirst, key, 0, {});
  return BeginReading(call, ReadingMode::kKeyFromRecord, key, record, {});
}

int SetKeyKeyPointer(OperationCall& call) {
  KeyEntry* key;
  if (int error = KeyArgument(call, 0, &key)) return error;
  return BeginReading(call, ReadingMode::kKeyFromValueAndRecord, key, RecordArgument(call, 1), {});
}

int ResetFile(OperationCall& call) {
  return BeginReading(call, ReadingMode::kRecordsFromRecord, nullptr, 0, call.strings[0]);
}

int ResetKey(OperationCall& call) {
  KeyEntry* key;
  if (int error = KeyArgument(call, 0, &key)) return error;
  return BeginReading(call, ReadingMode::kKeyFromValueAndRecord, key, 0, call.strings[0]);
}

int ReadingKey(OperationCall& call) {
  call.value = call.state->reading_key_number();
  return 0;
}

int SkipMemos(OperationCall& call) {
  call.state->skip_memos = true;
  return 0;
}

// --- Keys and maintenance ----------------------------------------------------------------------

// BUILD and PACK also work on a closed file: the driver opens it for itself, denying others
// everything, for the length of the operation.
int WithTable(OperationCall& call, const std::function<int()>& work) {
  DriverState& state = *call.state;
  if (state.is_open() || state.table != nullptr) return work();
  if (state.name.empty()) return kErrInvalidFilename;
  if (int error = call.tables->Open(state, DecodeAccessMode(kExclusiveMode))) return error;
  const int error = work();
  const int closed = state.table != nullptr ? call.tables->Close(state) : 0;
  state.table.reset();
  return error != 0 ? error : closed;
}

int BuildFile(OperationCall& call) {
  return WithTable(call, [&call] { return call.tables->BuildAllKeys(*call.state); });
}

int BuildKey(OperationCall& call) {
  KeyEntry* key;
  if (int error = KeyArgument(call, 0, &key)) return error;
  return WithTable(call, [&call, key] { return call.tables->BuildKey(*call.state, *key); });
}

int BuildIndex(OperationCall& call) {
  KeyEntry* key;
  if (int error = KeyArgument(call, 0, &key)) return error;
  return call.tables->BuildIndex(*call.state, *key, call.strings[0], nullptr);
}

int BuildIndexFiltered(OperationCall& call) {
  KeyEntry* key;
  if (int error = KeyArgument(call, 0, &key)) return error;
  return call.tables->BuildIndex(*call.state, *key, call.strings[0], &call.strings[1]);
}

int Pack(OperationCall& call) {
  return WithTable(call, [&call] { return call.tables->Pack(*call.state); });
}
// EMPTY ends the table's reading sequence: until the next SET or RESET nothing is read.
int Empty(OperationCall& call) {
  call.state->last_read_op = kOpEmpty;
  return call.tables->Empty(*call.state);
}

// --- Sharing -----------------------------------------------------------------------------------

int Hold(OperationCall& call) {
  call.state->hold_requested = true;
  call.state->hold_timeout = -1;
  return 0;
}

int HoldSeconds(OperationCall& call) {
  const int64_t seconds = NumberArgument(call, 0);
  call.state->hold_requested = true;
  call.state->hold_timeout =
      seconds < 0 ? -1 : static_cast<int32_t>(std::min<int64_t>(seconds, INT32_MAX));
  return 0;
}

int Release(OperationCall& call) {
  return call.tables->Release(*call.state);
}

int Watch(OperationCall& call) {
  call.state->watch_requested = true;
  return 0;
}

// LOCK(file): tries until the lock is granted, as long as it is refused with 32.
int Lock(OperationCall& call) {
  for (;;) {
    const int error = call.tables->Lock(*call.state);
    if (error != kErrFileIsAlreadyLocked) return error;
    WaitBetweenAttempts();
  }
}

// LOCK(file, seconds): tries until the program clock reaches now + seconds; at least once.
int LockSeconds(OperationCall& call) {
  const int64_t seconds = std::max<int64_t>(NumberArgument(call, 0), 0);
  const int64_t deadline = ProgramClock() + std::min<int64_t>(seconds, INT32_MAX) * 100;
  for (;;) {
    const int error = call.tables->Lock(*call.state);
    if (error != kErrFileIsAlreadyLocked) return error;
    WaitBetweenAttempts();
    if (ProgramClock() >= deadline) return error;
  }
}

int Unlock(OperationCall& call) {
  return call.tables->Unlock(*call.state);
}
int Logout(OperationCall& call) {
  return call.tables->Logout(*call.state);
}
int Commit(OperationCall& call) {
  return call.tables->Commit(*call.state);
}
int Rollback(OperationCall& call) {
  return call.tables->Rollback(*call.state);
}
int Stream(OperationCall& call) {
  return call.tables->Stream(*call.state);
}
int Flush(OperationCall& call) {
  return call.tables->Flush(*call.state);
}

// --- Memos -------------------------------------------------------------------------------------
// A memo is named by its 1-based number; slices by 1-based, inclusive byte positions.

int MemoArgument(OperationCall& call, MemoEntry** memo) {
  const int64_t number = NumberArgument(call, 0);
  if (number < 1 || number > static_cast<int64_t>(call.state->memos.size())) {
    return kErrInvalidNumberOfParameters;
  }
  *memo = &call.state->memos[number - 1];
  return 0;
}

// Clamps the slice [from, to] of the memo to its buffer; false when it is empty.
bool MemoSlice(const OperationCall& call, const MemoEntry& memo, uint32_t* first, uint32_t* end) {
  const int64_t from = std::max<int64_t>(NumberArgument(call, 1), 1);
  const int64_t to = std::min<int64_t>(NumberArgument(call, 2), memo.max_size);
  if (to < from) return false;
  *first = static_cast<uint32_t>(from - 1);
  *end = static_cast<uint32_t>(to);
  return true;
}

int MemoSliceRead(OperationCall& call) {
  MemoEntry* memo;
  if (int error = MemoArgument(call, &memo)) return error;
  uint32_t first, end;
  if (MemoSlice(call, *memo, &first, &end))
    call.text.assign(memo->buffer.get() + first, end - first);
  return 0;
}

int MemoSliceWrite(OperationCall& call) {
  MemoEntry* memo;
  if (int error = MemoArgument(call, &memo)) return error;
  uint32_t first, end;
  if (!MemoSlice(call, *memo, &first, &end)) return 0;
  const std::string& text = call.strings[0];
  char* target = memo->buffer.get() + first;
  const size_t width = end - first;
  const size_t copied = std::min(width, text.size());
  std::memcpy(target, text.data(), copied);
  std::memset(target + copied, ' ', width - copied);
  memo->length = std::max(memo->length, end);
  return 0;
}

int MemoLength(OperationCall& call) {
  MemoEntry* memo;
  if (int error = MemoArgument(call, &memo)) return error;
  call.value = memo->length;
  return 0;
}

int MemoAssign(OperationCall& call) {
  MemoEntry* memo;
  if (int error = MemoArgument(call, &memo)) return error;
  const std::string& text = call.strings[0];
  const uint32_t length = static_cast<uint32_t>(std::min<size_t>(text.size(), memo->max_size));
  std::memcpy(memo->buffer.get(), text.data(), length);
  std::memset(memo->buffer.get() + length, ' ', memo->max_size - length);
  memo->length = length;
  return 0;
}

int MemoString(OperationCall& call) {
  MemoEntry* memo;
  if (int error = MemoArgument(call, &memo)) return error;
  call.text.assign(memo->buffer.get(), memo->length);
  return 0;
}

int NoOperation(OperationCall&) {
  return 0;
}

constexpr uint8_t C = kFlagClearError;
constexpr uint8_t F = kFlagDiscard;
constexpr uint8_t R = kFlagReading;
constexpr uint8_t V = kFlagResult;

// State bits: Open, current record (K), Logout, Stream, lock Held, readinG, Write access,
// denying others (X).
constexpr uint8_t O = kBitOpen;
constexpr uint8_t K = kBitCurrentRecord;
constexpr uint8_t L = kBitLogout;
constexpr uint8_t S = kBitStream;
constexpr uint8_t H = kBitLocked;
constexpr uint8_t G = kBitReading;
constexpr uint8_t W = kBitWriteAccess;
constexpr uint8_t X = kBitDenyOthers;

// code, required, forbidden, set, clear, fail clear, flags, strings popped, string result,
// handler
constexpr OperationRow kRows[] = {
    {kOpAdd, O | W, 0, K, 0, 0, C, 0, false, Add},
    {kOpBof, O | G, 0, 0, 0, 0, V, 0, false, Bof},
    {kOpBuildFile, W | X, L, 0, 0, 0, C, 0, false, BuildFile},
    {kOpAppend, O | W, 0, 0, 0, 0, C, 0, false, Append},
    {kOpBuildIndex, O, L, 0, 0, 0, C, 1, false, BuildIndex},
    {kOpBuildKey, W | X, L, 0, 0, 0, C, 0, false, BuildKey},
    {kOpClose, O, L, 0, O, 0, C | F, 0, false, Close},
    {kOpCommit, O | L, 0, 0, L, 0, C, 0, false, Commit},
    {kOpCopy, 0, O, 0, 0, 0, C | F, 1, false, Copy},
    {kOpCreate, 0, O, 0, 0, 0, C | F, 0, false, Create},
    {kOpDelete, O | K | W, 0, 0, K, 0, C, 0, false, Delete},
    {kOpDuplicateFile, O | W, 0, 0, 0, 0, C | V, 0, false, DuplicateFile},
    {kOpEmpty, O | W | X, L, 0, 0, 0, C, 0, false, Empty},
    {kOpEof, O | G, 0, 0, 0, 0, V, 0, false, Eof},
    {kOpGetByKey, O, 0, K, 0, K, C, 0, false, GetByKey},
    {kOpGetByPointer, O, 0, K, 0, K, C, 0, false, GetByPointer},
    {kOpGetKeyPointer, O, 0, K, 0, K, C, 0, false, GetKeyPointer},
    {kOpHold, O, 0, 0, 0, 0, C, 0, false, Hold},
    {kOpHoldSeconds, O, 0, 0, 0, 0, C, 0, false, HoldSeconds},
    {kOpLock, O, H, H | X, 0, 0, C, 0, false, Lock},
    {kOpLockSeconds, O, H, H | X, 0, 0, C, 0, false, LockSeconds},
    {kOpLogout, O, L, L, 0, 0, C, 0, false, Logout},
    {kOpName, 0, 0, 0, 0, 0, 0, 0, true, Name},
    {kOpNext, O | G, 0, K, 0, K, C | R, 0, false, Next},
    {kOpOpen, 0, O, O, 0, 0, C, 0, false, OpenShared},
    {kOpPack, W | X, L, 0, K | G, K | G, C, 0, false, Pack},
    {kOpPointerFile, O | K, 0, 0, 0, 0, V, 0, false, Pointer},
    {kOpPointerKey, O | K, 0, 0, 0, 0, V, 0, false, PointerKey},
    {kOpFlush, O | S, 0, 0, S, 0, C, 0, false, Flush},
    {kOpPut, O | K | W, 0, 0, 0, 0, C, 0, false, Put},
    {kOpPrevious, O | G, 0, K, 0, K, C | R, 0, false, Previous},
    {kOpRecordsFile, O, 0, 0, 0, 0, V, 0, false, RecordsFile},
    {kOpRecordsKey, O, 0, 0, 0, 0, V, 0, false, RecordsKey},
    {kOpBuildIndexFiltered, O, L, 0, 0, 0, C, 2, false, BuildIndexFiltered},
    {kOpRelease, O, 0, 0, 0, 0, C, 0, false, Release},
    {kOpRemove, 0, O, 0, 0, 0, C | F, 0, false, Remove},
    {kOpRename, 0, O, 0, 0, 0, C | F, 1, false, Rename},
    {kOpRollback, O | L, 0, 0, L, 0, C, 0, false, Rollback},
    {kOpSetFile, O, 0, G, 0, G, C | R, 0, false, SetFile},
    {kOpSetFileKey, O, 0, G, 0, G, C | R, 0, false, SetFileKey},
    {kOpSetFilePointer, O, 0, G, 0, G, C | R, 0, false, SetFilePointer},
    {kOpSetKey, O, 0, G, 0, G, C | R, 0, false, SetKey},
    {kOpSetKeyKey, O, 0, G, 0, G, C | R, 0, false, SetKeyKey},
    {kOpSetKeyPointer, O, 0, G, 0, G, C | R, 0, false, SetKeyPointer},
    {kOpSetKeyKeyPointer, O, 0, G, 0, G, C | R, 0, false, SetKeyKeyPointer},
    {kOpShare, 0, O, O, 0, 0, C, 0, false, OpenShared},
    {kOpSkip, O | G, 0, 0, K, K, C | R, 0, false, Skip},
    {kOpUnlock, O | H, L, 0, H, 0, C, 0, false, Unlock},
    {kOpBytes, O, 0, 0, 0, 0, C | V, 0, false, Bytes},
    {kOpPutPointer, O | W, 0, 0, 0, K, C, 0, false, PutPointer},
    {kOpStream, O, S, S, 0, 0, C, 0, false, Stream},
    {kOpDuplicateKey, O, 0, 0, 0, 0, C | V, 0, false, DuplicateKey},
    {kOpWatch, O, 0, 0, 0, 0, C, 0, false, Watch},
    {kOpSend, 0, 0, 0, 0, 0, C, 1, true, Send},
    {kOpPositionFile, O | K, 0, 0, 0, 0, C, 0, true, PositionFile},
    {kOpPositionKey, O | K, 0, 0, 0, 0, C, 0, true, PositionKey},
    {kOpResetFile, O, 0, G, 0, G, C | R, 1, false, ResetFile},
    {kOpResetKey, O, 0, G, 0, G, C | R, 1, false, ResetKey},
    {kOpSkipMemos, O, 0, 0, 0, 0, 0, 0, false, SkipMemos},
    {kOpRegetFile, O, 0, K, 0, 0, C, 1, false, RegetFile},
    {kOpRegetKey, O, 0, K, 0, 0, C, 1, false, RegetKey},
    {kOpReadingKey, O, 0, 0, 0, 0, V, 0, false, ReadingKey},
    {kOpNoOperation, 0, 0, 0, 0, 0, V, 0, false, NoOperation},
    {kOpMemoSliceRead, O, 0, 0, 0, 0, C, 0, true, MemoSliceRead},
    {kOpMemoSliceWrite, O, 0, 0, 0, 0, C, 1, false, MemoSliceWrite},
    {kOpMemoLength, O, 0, 0, 0, 0, V, 0, false, MemoLength},
    {kOpMemoAssign, O, 0, 0, 0, 0, C, 1, false, MemoAssign},
    {kOpMemoString, O, 0, 0, 0, 0, C, 0, true, MemoString},
};

static_assert(std::is_sorted(std::begin(kRows), std::end(kRows),
                             [](const OperationRow& a, const OperationRow& b) {
                               return a.code < b.code;
                             }));
static_assert(std::all_of(std::begin(kRows), std::end(kRows),
                          [](const OperationRow& row) { return row.handler != nullptr; }));

// The codes of the rows, for the driver's registration.
constexpr auto kSupportedCodes = [] {
  std::array<uint8_t, std::size(kRows)> codes{};
  for (size_t i = 0; i < codes.size(); ++i) codes[i] = kRows[i].code;
  return codes;
}();

}  // namespace

const OperationRow* FindOperation(int code) {
  // Every statement looks its row up: a table by code, built once, answers without a search.
  static const std::array<const OperationRow*, 256> by_code = [] {
    std::array<const OperationRow*, 256> rows{};
    for (const OperationRow& row : kRows) rows[row.code] = &row;
    return rows;
  }();
  return code >= 0 && code < 256 ? by_code[static_cast<size_t>(code)] : nullptr;
}

const OperationRow* OperationRowsBegin() {
  return std::begin(kRows);
}
const OperationRow* OperationRowsEnd() {
  return std::end(kRows);
}

std::span<const uint8_t> SupportedOperationCodes() {
  return kSupportedCodes;
}

}  // namespace carelog::store
