#include "runtime/store/lodestar_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <vector>

#include "runtime/store/driver_state.h"
#include "runtime/store/error_state.h"
#include "runtime/store/file_statements.h"
#include "runtime/store/lodestar_operations.h"
#include "runtime/store/preconditions.h"
#include "runtime/store/program_clock.h"
#include "runtime/store/string_stack.h"
#include "runtime/store/table_ops.h"
#include "runtime/store/test_file_builder.h"

namespace carelog::store {
namespace {

using testing::LayoutBytes;
using testing::TestFile;

int64_t fake_now = 0;
int64_t FakeClock() {
  return fake_now;
}

struct FakeTable : TableHandle {
  explicit FakeTable(int* live) : live(live) { ++*live; }
  ~FakeTable() override { --*live; }
  int* live;
};

// Records in memory, read in record order only: enough to drive the file layer end to end.
class FakeTables : public TableOps {
 public:
  int Open(DriverState& state, const AccessMode& mode) override {
    calls.push_back("Open");
    last_mode = mode;
    if (open_error != 0) return open_error;
    state.table = std::make_unique<FakeTable>(&live_tables);
    return 0;
  }
  int Close(DriverState& state) override {
    calls.push_back("Close");
    state.table.reset();
    return 0;
  }
  int Create(DriverState&) override {
    calls.push_back("Create");
    return 0;
  }
  int Copy(DriverState&, const std::string& name) override {
    calls.push_back("Copy " + name);
    return 0;
  }
  int FinishAccessCycle(DriverState&) override {
    ++cycles_finished;
    return finish_error;
  }
  int Add(DriverState& state) override {
    calls.push_back("Add");
    const uint32_t number = ++last_number;
    records[number].assign(state.record, state.record + state.record_size);
    state.current_record = number;
    return 0;
  }
  int Put(DriverState& state) override {
    calls.push_back("Put");
    auto found = records.find(state.current_record);
    if (found == records.end()) return 35;
    found->second.assign(state.record, state.record + state.record_size);
    return 0;
  }
  int Delete(DriverState& state) override {
    calls.push_back("Delete");
    records.erase(state.current_record);
    state.current_record = 0;
    return 0;
  }
  int GetByRecord(DriverState& state, uint32_t record) override {
    calls.push_back("GetByRecord");
    if (held_reads > 0 && state.hold_requested) {
      --held_reads;
      fake_now += 50;
      return 43;
    }
    auto found = records.find(record);
    if (found == records.end()) return 35;
    std::memcpy(state.record, found->second.data(), state.record_size);
    state.current_record = record;
    state.hold_requested = false;
    return 0;
  }
  int GetByKey(DriverState&, KeyEntry& key) override {
    calls.push_back("GetByKey " + key.label);
    return 35;
  }
  int BeginReading(DriverState& state) override {
    calls.push_back("BeginReading");
    modes.push_back(state.reading);
    cursor = state.reading.mode == ReadingMode::kRecordsFromRecord ? state.reading.record - 1 : 0;
    return 0;
  }
  int Next(DriverState& state) override {
    auto found = records.upper_bound(cursor);
    if (found == records.end()) return 33;
    cursor = found->first;
    std::memcpy(state.record, found->second.data(), state.record_size);
    state.current_record = cursor;
    return 0;
  }
  int IsAtEnd(DriverState&, bool forward, bool* at_end) override {
    *at_end = forward ? records.upper_bound(cursor) == records.end()
                      : records.empty() || cursor <= records.begin()->first;
    return 0;
  }
  int Records(DriverState&, uint32_t* count) override {
    *count = static_cast<uint32_t>(records.size());
    return 0;
  }
  int BuildAllKeys(DriverState& state) override {
    calls.push_back(state.table != nullptr ? "BuildAllKeys" : "BuildAllKeys without table");
    return 0;
  }
  int Lock(DriverState&) override {
    ++lock_attempts;
    fake_now += 10;
    return lock_free_after > 0 && lock_attempts >= lock_free_after ? 0 : 32;
  }
  int Unlock(DriverState&) override {
    calls.push_back("Unlock");
    return 0;
  }
  int Commit(DriverState&) override {
    calls.push_back("Commit");
    return 0;
  }
  int Logout(DriverState&) override {
    calls.push_back("Logout");
    return 0;
  }
  int SetTransactionControlFile(const std::string& name) override {
    transaction_file = name;
    return 0;
  }
  int FirstTableNameFrom(DriverState&, const std::string& from, std::string* name) override {
    const std::vector<std::string> tables = {"ALPHA", "MEDS", "UNNAMED"};
    for (const std::string& table : tables) {
      if (table >= from) {
        *name = table;
        return 0;
      }
    }
    return 0;
  }

  std::vector<std::string> calls;
  std::vector<ReadingState> modes;
  std::map<uint32_t, std::vector<uint8_t>> records;
  uint32_t last_number = 0;
  uint32_t cursor = 0;
  AccessMode last_mode;
  int open_error = 0;
  int finish_error = 0;
  int cycles_finished = 0;
  int live_tables = 0;
  int lock_attempts = 0;
  int lock_free_after = 0;  // 0: never
  int held_reads = 0;
  std::string transaction_file;
};

// PAT:NUMBER LONG @0, PAT:NAME STRING(16) @4, PAT:SEEN DATE @4 (an overlay) -> 20 bytes.
std::vector<uint8_t> PatientLayout() {
  LayoutBytes layout;
  layout.Start()
      .Field("PAT:NUMBER", kTypeLong)
      .Link(4)
      .String("PAT:NAME", 16)
      .Link(4)
      .Field("PAT:SEEN", kTypeDate)
      .End();
  return layout.bytes;
}

class DriverTest : public ::testing::Test {
 protected:
  DriverTest() : file("Patients", 20, PatientLayout()) {
    key = &file.AddKey("PAT:BY_NUMBER", {1}, kKeyPrimary);
    memo = &file.AddMemo("PAT:NOTES", 32);
    RegisterTableOps(&tables);
    SetProgramClock(&FakeClock);
    fake_now = 0;
    ClearError();
    ClearStringStack();
  }
  ~DriverTest() override {
    file.DiscardState();
    RegisterTableOps(nullptr);
    SetProgramClock(nullptr);
  }

  DriverState* state() { return StateOf(file.declaration); }

  void AddRecord(int32_t number) {
    std::memcpy(file.buffer(), &number, 4);
    ASSERT_EQ(Add(file.declaration), 0);
  }

  FakeTables tables;
  TestFile file;
  KeyDeclaration* key;
  MemoDeclaration* memo;
};

TEST_F(DriverTest, UnopenedFileRefusesWithFileNotOpenAndKeepsNoState) {
  EXPECT_EQ(Next(file.declaration), 37);
  EXPECT_EQ(ErrorCode(), 37);
  EXPECT_EQ(ErrorText(), "File Not Open");
  EXPECT_EQ(ErrorFile(), "Patients");
  EXPECT_EQ(file.declaration.state, nullptr);
  EXPECT_EQ(key->state, nullptr);
  EXPECT_TRUE(tables.calls.empty());

  EXPECT_TRUE(Eof(file.declaration));
  EXPECT_EQ(ErrorCode(), 37);
  EXPECT_TRUE(Bof(file.declaration));
  EXPECT_EQ(Records(file.declaration), 0u);
  EXPECT_EQ(file.declaration.state, nullptr);
}

TEST_F(DriverTest, OpenSetsBitsFromTheAccessMode) {
  struct Case {
    uint32_t mode;
    uint32_t bits;
    bool write;
    bool shared;
  };
  const Case cases[] = {
      {0x22, kBitOpen | kBitWriteAccess | kBitDenyOthers, true, false},
      {0x42, kBitOpen | kBitWriteAccess, true, true},
      {0x40, kBitOpen, false, true},
      {0x10, kBitOpen | kBitDenyOthers, false, false},
      {0x31, kBitOpen | kBitWriteAccess | kBitDenyOthers, true, false},
      {0x02, kBitOpen | kBitWriteAccess, true, true},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(Open(file.declaration, c.mode), 0) << c.mode;
    EXPECT_EQ(state()->bits, c.bits) << c.mode;
    EXPECT_EQ(tables.last_mode.write, c.write) << c.mode;
    EXPECT_EQ(tables.last_mode.shared, c.shared) << c.mode;
    ASSERT_EQ(Close(file.declaration), 0);
    EXPECT_EQ(file.declaration.state, nullptr);
    EXPECT_EQ(tables.live_tables, 0);
  }
}

TEST_F(DriverTest, SecondOpenPostsFileAlreadyOpenAndChangesNothing) {
  ASSERT_EQ(Open(file.declaration, 0x42), 0);
  DriverState* before = state();
  const uint32_t bits = before->bits;
  EXPECT_EQ(Open(file.declaration, 0x22), 52);
  EXPECT_EQ(ErrorText(), "File Already Open");
  EXPECT_EQ(state(), before);
  EXPECT_EQ(state()->bits, bits);
  EXPECT_EQ(std::count(tables.calls.begin(), tables.calls.end(), "Open"), 1);

  // COPY of an open file: 52, and the open state survives although COPY discards state.
  EXPECT_EQ(Copy(file.declaration, "Other"), 52);
  EXPECT_EQ(state(), before);
  EXPECT_TRUE(state()->is_open());
}

TEST_F(DriverTest, OpenWithoutNameOrTableLayer) {
  TestFile nameless("", 20, PatientLayout());
  EXPECT_EQ(Open(nameless.declaration), 45);
  EXPECT_EQ(ErrorText(), "Invalid Filename");

  RegisterTableOps(nullptr);
  EXPECT_EQ(Open(file.declaration), kErrUnsupportedFunction);
  EXPECT_EQ(ErrorText(), "Unsupported File Driver Function");
  EXPECT_FALSE(state()->is_open());
}

TEST_F(DriverTest, SendReplies) {
  EXPECT_EQ(Send(file.declaration, "REGISTER"), "LODESTAR");
  EXPECT_EQ(ErrorCode(), 0);
  EXPECT_EQ(file.declaration.state, nullptr);

  EXPECT_EQ(Send(file.declaration, "QUICKSCAN=on"), "SEND arg not recognised");
  EXPECT_EQ(ErrorCode(), 0);
  EXPECT_EQ(Send(file.declaration, "register"), "SEND arg not recognised");

  EXPECT_EQ(Send(file.declaration, "TCF=/data/care.tcf"), "");
  EXPECT_EQ(tables.transaction_file, "/data/care.tcf");

  EXPECT_EQ(Send(file.declaration, "PNM=B"), "") << "closed file";
  ASSERT_EQ(Open(file.declaration), 0);
  EXPECT_EQ(Send(file.declaration, "PNM=B"), "MEDS");
  EXPECT_EQ(Send(file.declaration, "PNM="), "ALPHA");
  EXPECT_EQ(Send(file.declaration, "PNM=V"), "");
  EXPECT_EQ(Send(file.declaration, "REGISTER"), "LODESTAR");
  EXPECT_TRUE(state()->is_open()) << "REGISTER keeps an open file's state";
  EXPECT_EQ(StringStackDepth(), 0u);
}

TEST_F(DriverTest, ReadingRequiresASequenceAndACurrentRecord) {
  ASSERT_EQ(Open(file.declaration), 0);
  AddRecord(7);
  AddRecord(8);
  EXPECT_EQ(Next(file.declaration), 33) << "NEXT without SET";

  ASSERT_EQ(Set(file.declaration), 0);
  EXPECT_NE(state()->bits & kBitReading, 0u);
  EXPECT_FALSE(Eof(file.declaration));
  ASSERT_EQ(Next(file.declaration), 0);
  EXPECT_EQ(Pointer(file.declaration), 1u);
  ASSERT_EQ(Next(file.declaration), 0);
  EXPECT_TRUE(Eof(file.declaration));
  EXPECT_EQ(Next(file.declaration), 33);
  EXPECT_EQ(state()->bits & kBitCurrentRecord, 0u) << "a failed read leaves no current record";
  EXPECT_EQ(state()->last_read_op, kOpNext);

  EXPECT_EQ(Get(file.declaration, 2u), 0);
  EXPECT_EQ(Get(file.declaration, 9u), 35);
  EXPECT_EQ(Put(file.declaration), 33) << "PUT after a failed GET";
  EXPECT_EQ(Delete(file.declaration), 33);
  EXPECT_EQ(ErrorText(), "Record Not Available");

  ASSERT_EQ(Get(file.declaration, 1u), 0);
  EXPECT_EQ(Get(file.declaration, 0u), 0) << "GET(file, 0) clears the current record";
  EXPECT_EQ(state()->bits & kBitCurrentRecord, 0u);
  EXPECT_EQ(Pointer(file.declaration), 0u);
}

TEST_F(DriverTest, WritesNeedWriteAccess) {
  ASSERT_EQ(Open(file.declaration, 0x40), 0);
  EXPECT_EQ(Add(file.declaration), 5);
  EXPECT_EQ(ErrorText(), "Access Denied");
  ASSERT_EQ(Close(file.declaration), 0);
  ASSERT_EQ(Open(file.declaration, 0x42), 0);
  EXPECT_EQ(Build(file.declaration), 63) << "BUILD wants others denied";
}

TEST_F(DriverTest, ClearFlagDecidesWhetherAnErrorSurvives) {
  ASSERT_EQ(Open(file.declaration), 0);
  AddRecord(1);
  EXPECT_EQ(Get(file.declaration, 5u), 35);
  EXPECT_EQ(Records(file.declaration), 1u);
  EXPECT_EQ(ErrorCode(), 35) << "RECORDS does not clear the error";
  EXPECT_EQ(Pointer(file.declaration), 0u);
  EXPECT_EQ(ErrorCode(), 33) << "a failure posts even without clearing first";
  EXPECT_EQ(Set(file.declaration), 0);
  EXPECT_EQ(ErrorCode(), 0) << "SET clears it";
  EXPECT_EQ(ErrorText(), "");
}

TEST_F(DriverTest, DiscardFlagDropsStateOfClosedFiles) {
  ASSERT_EQ(Open(file.declaration), 0);
  ASSERT_EQ(Logout(file.declaration), 0);
  EXPECT_EQ(Close(file.declaration), 56) << "CLOSE during LOGOUT";
  EXPECT_NE(file.declaration.state, nullptr) << "the open table survives a refused CLOSE";
  EXPECT_EQ(tables.live_tables, 1);
  ASSERT_EQ(Commit(file.declaration), 0);
  ASSERT_EQ(Close(file.declaration), 0);
  EXPECT_EQ(file.declaration.state, nullptr);

  EXPECT_EQ(Create(file.declaration), 0);
  EXPECT_EQ(file.declaration.state, nullptr) << "CREATE discards";
  EXPECT_EQ(Name(file.declaration), "Patients");
  EXPECT_NE(file.declaration.state, nullptr) << "NAME builds and keeps";
  EXPECT_EQ(Copy(file.declaration, "Backup"), 0);
  EXPECT_EQ(file.declaration.state, nullptr);
  EXPECT_EQ(tables.calls.back(), "Copy Backup");
}

TEST_F(DriverTest, BuildOpensAClosedFileForItself) {
  ASSERT_EQ(Build(file.declaration), 0);
  EXPECT_EQ(tables.calls, (std::vector<std::string>{"Open", "BuildAllKeys", "Close"}));
  EXPECT_FALSE(tables.last_mode.shared);
  EXPECT_EQ(tables.live_tables, 0);
  EXPECT_FALSE(state()->is_open());
  tables.open_error = 2;
  EXPECT_EQ(Build(file.declaration), 2);
  EXPECT_EQ(ErrorText(), "File Not Found");
}

TEST_F(DriverTest, CreateNeedsTheCreateAttribute) {
  file.declaration.attributes = 0;
  EXPECT_EQ(Create(file.declaration), 54);
  EXPECT_EQ(ErrorText(), "No Create Attribute");
  EXPECT_EQ(file.declaration.state, nullptr);
}

TEST_F(DriverTest, SilentFailuresPostNothing) {
  ASSERT_EQ(Open(file.declaration), 0);
  const size_t calls = tables.calls.size();
  EXPECT_EQ(Unlock(file.declaration), kSilentFailure) << "UNLOCK without LOCK";
  EXPECT_EQ(Commit(file.declaration), kSilentFailure) << "COMMIT without LOGOUT";
  EXPECT_EQ(Flush(file.declaration), kSilentFailure) << "FLUSH without STREAM";
  EXPECT_EQ(ErrorCode(), 0);
  EXPECT_EQ(tables.calls.size(), calls);
}

TEST_F(DriverTest, AccessCycleEndsEveryStatementThatRan) {
  ASSERT_EQ(Open(file.declaration), 0);
  const int after_open = tables.cycles_finished;
  EXPECT_EQ(after_open, 1);
  EXPECT_EQ(Next(file.declaration), 33);
  EXPECT_EQ(tables.cycles_finished, after_open) << "refused by its precondition";
  tables.finish_error = 48;
  EXPECT_EQ(Set(file.declaration), 48) << "a commit failure replaces success";
  EXPECT_EQ(ErrorText(), "Unable To Log Transaction");
  EXPECT_EQ(state()->bits & kBitReading, 0u);
  tables.finish_error = 0;
}

TEST_F(DriverTest, LockWaitsOnTheProgramClock) {
  ASSERT_EQ(Open(file.declaration), 0);
  EXPECT_EQ(Lock(file.declaration, 0), 32);
  EXPECT_EQ(tables.lock_attempts, 1) << "LOCK(file, 0) tries once";
  EXPECT_EQ(ErrorText(), "File Is Already Locked");

  tables.lock_attempts = 0;
  fake_now = 1000;
  EXPECT_EQ(Lock(file.declaration, 2), 32);
  EXPECT_EQ(tables.lock_attempts, 20) << "every 10 hundredths until 2 seconds passed";
  EXPECT_GE(fake_now, 1200);

  tables.lock_attempts = 0;
  tables.lock_free_after = 5;
  EXPECT_EQ(Lock(file.declaration), 0);
  EXPECT_EQ(tables.lock_attempts, 5);
  EXPECT_EQ(state()->bits & (kBitLocked | kBitDenyOthers), kBitLocked | kBitDenyOthers);
  EXPECT_EQ(Lock(file.declaration), kSilentFailure) << "already locked";
  EXPECT_EQ(Unlock(file.declaration), 0);
  EXPECT_EQ(state()->bits & kBitLocked, 0u);
}

TEST_F(DriverTest, HoldRetriesReadsUntilItsTimeOut) {
  ASSERT_EQ(Open(file.declaration), 0);
  AddRecord(1);
  tables.held_reads = 3;
  ASSERT_EQ(Hold(file.declaration), 0);
  EXPECT_EQ(Get(file.declaration, 1u), 0) << "HOLD without time-out waits for the record";
  EXPECT_EQ(tables.held_reads, 0);

  tables.held_reads = 100;
  ASSERT_EQ(Hold(file.declaration, 1), 0);
  ASSERT_EQ(Watch(file.declaration), 0);
  EXPECT_EQ(Get(file.declaration, 1u), 43);
  EXPECT_EQ(100 - tables.held_reads, 3) << "gives up after more than 100 hundredths";
  EXPECT_FALSE(state()->hold_requested);
  EXPECT_FALSE(state()->watch_requested);
  EXPECT_EQ(ErrorText(), "Record Is Already Held");

  tables.held_reads = 1;
  EXPECT_EQ(Get(file.declaration, 1u), 0) << "a read without HOLD is not retried nor refused";
}

TEST_F(DriverTest, SetAndResetChooseTheReadingMode) {
  ASSERT_EQ(Open(file.declaration), 0);
  KeyEntry* entry = KeyEntryOf(*key);
  struct Case {
    std::function<int()> statement;
    ReadingMode mode;
    KeyEntry* key;
    uint32_t record;
  };
  FileDeclaration& f = file.declaration;
  const Case cases[] = {
      {[&] { return Set(f); }, ReadingMode::kRecordsFromFirst, nullptr, 0},
      {[&] { return Set(f, 0); }, ReadingMode::kRecordsFromFirst, nullptr, 0},
      {[&] { return Set(f, 4); }, ReadingMode::kRecordsFromRecord, nullptr, 4},
      {[&] { return Set(f, *key); }, ReadingMode::kRecordsFromKeyValue, entry, 0},
      {[&] { return Set(*key); }, ReadingMode::kKeyFromFirst, entry, 0},
      {[&] { return Set(*key, -3); }, ReadingMode::kKeyFromFirst, entry, 0},
      {[&] { return Set(*key, *key, 6); }, ReadingMode::kKeyFromValueAndRecord, entry, 6},
      {[&] { return Set(*key, *key); }, ReadingMode::kKeyFromValue, entry, 0},
      {[&] { return Set(*key, 9); }, ReadingMode::kKeyFromRecord, entry, 9},
      {[&] { return Reset(f, "\x01\x02\x03\x04"); }, ReadingMode::kRecordsFromRecord, nullptr, 0},
      {[&] { return Reset(*key, "pos"); }, ReadingMode::kKeyFromValueAndRecord, entry, 0},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    tables.modes.clear();
    ASSERT_EQ(cases[i].statement(), 0) << i;
    ASSERT_EQ(tables.modes.size(), 1u) << i;
    EXPECT_EQ(tables.modes[0].mode, cases[i].mode) << i;
    EXPECT_EQ(tables.modes[0].key, cases[i].key) << i;
    EXPECT_EQ(tables.modes[0].record, cases[i].record) << i;
    const bool by_key = static_cast<int>(cases[i].mode) >= 5;
    EXPECT_EQ(ReadingKeyNumber(f), by_key ? 1 : 0) << i;
  }
  EXPECT_EQ(tables.modes[0].position, "pos");
  EXPECT_EQ(StringStackDepth(), 0u);
}

TEST_F(DriverTest, KeyArgumentsMustBelongToTheFile) {
  TestFile other("Other", 20, PatientLayout());
  KeyDeclaration& foreign = other.AddKey("OTH:KEY", {1});
  ASSERT_EQ(Open(other.declaration), 0);
  ASSERT_EQ(Open(file.declaration), 0);
  EXPECT_EQ(Get(file.declaration, foreign), 77);
  EXPECT_EQ(Get(file.declaration, *key), 35);
  EXPECT_EQ(tables.calls.back(), "GetByKey PAT:BY_NUMBER");
}

TEST_F(DriverTest, UnsupportedCodesAndDeclarationErrors) {
  const intptr_t args[3] = {};
  EXPECT_EQ(LodestarEntry(35, &file.declaration, args), 80);
  EXPECT_EQ(ErrorText(), "Unsupported File Driver Function");
  EXPECT_EQ(LodestarEntry(71, &file.declaration, args), 80);
  EXPECT_EQ(LodestarEntry(kOpNoOperation, &file.declaration, nullptr), 0);
  EXPECT_EQ(file.declaration.state, nullptr);

  // The DATE field is an overlay in PatientLayout; declared alone it is not.
  LayoutBytes layout;
  layout.Start().Field("BAD:SEEN", kTypeDate).End();
  TestFile bad("Bad", 4, layout.bytes);
  EXPECT_EQ(Open(bad.declaration), 79);
  EXPECT_EQ(ErrorText(), "Unsupported Data Type In File");
  EXPECT_EQ(ErrorFile(), "Bad");
  EXPECT_EQ(bad.declaration.state, nullptr);
  EXPECT_EQ(Send(bad.declaration, "REGISTER"), "") << "string results stay balanced";
  EXPECT_EQ(StringStackDepth(), 0u);
}

TEST_F(DriverTest, BytesCountsTheCurrentRecordOrAll) {
  ASSERT_EQ(Open(file.declaration), 0);
  AddRecord(1);
  AddRecord(2);
  EXPECT_EQ(Bytes(file.declaration), 20);
  ASSERT_EQ(Get(file.declaration, 99u), 35);
  EXPECT_EQ(Bytes(file.declaration), 40);
}

TEST_F(DriverTest, MemoOperationsWorkOnTheMemoBuffer) {
  ASSERT_EQ(Open(file.declaration), 0);
  ASSERT_EQ(AssignMemo(file.declaration, 1, "visit went well"), 0);
  EXPECT_EQ(MemoLength(file.declaration, 1), 15u);
  EXPECT_EQ(MemoText(file.declaration, 1), "visit went well");
  EXPECT_EQ(std::string(memo->buffer, 17), "visit went well  ");
  ASSERT_EQ(SetMemoSlice(file.declaration, 1, 7, 10, "WENT"), 0);
  EXPECT_EQ(MemoSlice(file.declaration, 1, 1, 10), "visit WENT");
  ASSERT_EQ(SetMemoSlice(file.declaration, 1, 30, 40, "end"), 0);
  EXPECT_EQ(MemoLength(file.declaration, 1), 32u) << "a slice write grows the memo to its end";
  EXPECT_EQ(MemoSlice(file.declaration, 1, 30, 99), "end");
  EXPECT_EQ(AssignMemo(file.declaration, 2, "x"), 78);
  EXPECT_EQ(StringStackDepth(), 0u);
}

TEST_F(DriverTest, ThreadFilesOpenTheCallersCopy) {
  static TestFile* copy = nullptr;
  TestFile thread_copy("Patients", 20, PatientLayout(), kFileAttrThread);
  copy = &thread_copy;
  file.declaration.attributes |= kFileAttrThread;
  file.declaration.thread_copy = [] { return &copy->declaration; };
  ASSERT_EQ(Open(file.declaration), 0);
  EXPECT_EQ(file.declaration.state, nullptr);
  ASSERT_NE(thread_copy.declaration.state, nullptr);
  EXPECT_TRUE(StateOf(thread_copy.declaration)->is_open());
  EXPECT_EQ(Close(thread_copy.declaration), 0);
  copy = nullptr;
}

TEST(LodestarRegistration, IdentifiesTheDriverAndCoversItsTable) {
  const DriverRegistration& registration = LodestarRegistration();
  EXPECT_EQ(registration.name, "LODESTAR");
  EXPECT_EQ(registration.library, "TMLDS16.DLL");
  EXPECT_EQ(registration.banner, "Lodestar (LDS) Driver 1.00");
  EXPECT_EQ(registration.entry, &LodestarEntry);
  const std::vector<uint8_t> types(registration.type_codes.begin(), registration.type_codes.end());
  EXPECT_EQ(types, (std::vector<uint8_t>{1, 2, 3, 6, 7, 8, 9, 10, 18, 19, 20, 21, 26, 22, 23}));
  for (int code = 0; code < 100; ++code) {
    const bool listed = std::find(registration.operations.begin(), registration.operations.end(),
                                  code) != registration.operations.end();
    EXPECT_EQ(listed, FindOperation(code) != nullptr) << code;
  }
}

}  // namespace
}  // namespace carelog::store
