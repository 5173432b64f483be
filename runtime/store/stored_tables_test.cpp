#include "runtime/store/stored_tables.h"

#include <gtest/gtest.h>

#include "runtime/store/error_state.h"
#include "runtime/store/file_statements.h"
#include "runtime/store/stored_table_testing.h"

namespace carelog::store {
namespace {

using testing::SampleFile;
using testing::SampleRecord;
using testing::ScratchDir;

class StoredTables : public ::testing::Test {
 protected:
  void SetUp() override {
    f = std::make_unique<SampleFile>(dir.File("sample"));
    ASSERT_EQ(Create(f->file.declaration), 0);
    ASSERT_EQ(Open(f->file.declaration), 0);
  }

  void AddRecord(const SampleRecord& r, const std::string& notes = "") {
    f->Fill(r);
    if (f->notes_buffer()) {
      std::memset(f->notes_buffer(), ' ', 600);
      std::memcpy(f->notes_buffer(), notes.data(), notes.size());
    }
    ASSERT_EQ(Add(f->file.declaration), 0) << r.number;
  }

  void AddSample() {
    AddRecord({3, "Smith", "Boston", 10.5, 0}, "first note");
    AddRecord({1, "jones", "Austin", -2.0, 7});
    AddRecord({2, "SMITH", "Austin", 0.0, 0});
    AddRecord({4, "Brown", "Chicago", 100.0, 7}, std::string(550, 'x'));
  }

  // Reopens the file in `mode` and adds the sample inside a STREAM batch left open.
  void StreamSampleIn(uint32_t mode) {
    FileDeclaration& d = f->file.declaration;
    ASSERT_EQ(Close(d), 0);
    ASSERT_EQ(Open(d, mode), 0);
    ASSERT_EQ(Stream(d), 0);
    AddSample();
  }

  // The NUMBER of each record read by NEXT (or PREVIOUS) until the end.
  std::vector<int32_t> ReadAll(bool forward = true) {
    std::vector<int32_t> numbers;
    FileDeclaration& d = f->file.declaration;
    while ((forward ? Next(d) : Previous(d)) == 0) numbers.push_back(f->number());
    EXPECT_EQ(ErrorCode(), 33);
    return numbers;
  }

  ScratchDir dir;
  std::unique_ptr<SampleFile> f;
};

TEST_F(StoredTables, RecordsAndMemosSurviveCloseAndReopen) {
  AddSample();
  FileDeclaration& d = f->file.declaration;
  EXPECT_EQ(Records(d), 4u);
  ASSERT_EQ(Close(d), 0);
  EXPECT_TRUE(dir.Exists("sample.LDS"));
  ASSERT_EQ(Open(d), 0);
  f->Fill({4, "", "", 0, 0});
  ASSERT_EQ(Get(d, *f->k_number), 0);
  EXPECT_EQ(f->Current().name, "Brown");
  EXPECT_EQ(std::string(f->notes_buffer(), 550), std::string(550, 'x'));
  EXPECT_EQ(f->notes_buffer()[550], ' ');
  // A record without memo blocks reads back with a blank memo.
  f->Fill({1, "", "", 0, 0});
  ASSERT_EQ(Get(d, *f->k_number), 0);
  EXPECT_EQ(std::string(f->notes_buffer(), 600), std::string(600, ' '));
  uint32_t pointer = Pointer(d);
  ASSERT_EQ(Get(d, pointer), 0);
  EXPECT_EQ(f->Current().name, "jones");
  EXPECT_EQ(Get(d, 99999u), 35);
  EXPECT_EQ(Records(*f->k_code), 2u);  // the OPT key leaves out the two blank codes
  EXPECT_EQ(Records(*f->k_name), 4u);
}

TEST_F(StoredTables, MemoShrinksAndGrows) {
  AddRecord({1, "a", "b", 0, 0}, std::string(600, 'm'));
  FileDeclaration& d = f->file.declaration;
  std::memset(f->notes_buffer(), ' ', 600);
  std::memcpy(f->notes_buffer(), "short", 5);
  ASSERT_EQ(Put(d), 0);
  std::memset(f->notes_buffer(), '?', 600);
  ASSERT_EQ(Get(d, Pointer(d)), 0);
  EXPECT_EQ(std::string(f->notes_buffer(), 6), "short ");
  EXPECT_EQ(std::string(f->notes_buffer() + 5, 595), std::string(595, ' '));
}

TEST_F(StoredTables, SkippedMemosStayUntouchedForOneReadOnly) {
  AddSample();
  FileDeclaration& d = f->file.declaration;
  ASSERT_EQ(Set(*f->k_number), 0);
  ASSERT_EQ(Next(d), 0);  // NUMBER 1: no memo blocks
  EXPECT_EQ(std::string(f->notes_buffer(), 600), std::string(600, ' '));
  std::memset(f->notes_buffer(), '?', 600);
  ASSERT_EQ(SkipMemosOnNextRead(d), 0);
  ASSERT_EQ(Next(d), 0);  // NUMBER 2, its memo left alone
  EXPECT_EQ(f->number(), 2);
  EXPECT_EQ(std::string(f->notes_buffer(), 600), std::string(600, '?'));
  ASSERT_EQ(Next(d), 0);  // NUMBER 3 reads its memo again
  EXPECT_EQ(std::string(f->notes_buffer(), 11), "first note ");
  ASSERT_EQ(SkipMemosOnNextRead(d), 0);
  f->Fill({4, "", "", 0, 0});
  ASSERT_EQ(Get(d, *f->k_number), 0);
  EXPECT_EQ(std::string(f->notes_buffer(), 11), "first note ") << "GET skipped the memo too";
  ASSERT_EQ(Get(d, *f->k_number), 0);
  EXPECT_EQ(std::string(f->notes_buffer(), 550), std::string(550, 'x'));
}

TEST_F(StoredTables, GetByKeyHonoursNoCaseAndDupOrder) {
  AddSample();
  FileDeclaration& d = f->file.declaration;
  f->Fill({0, "smith", "", 0, 0});
  ASSERT_EQ(Get(d, *f->k_name), 0);
  EXPECT_EQ(f->number(), 3);  // the lowest record number among equal values
  f->Fill({0, "nobody", "", 0, 0});
  EXPECT_EQ(Get(d, *f->k_name), 35);
  // The failed GET cleared the current record.
  EXPECT_EQ(Put(d), 33);
}

TEST_F(StoredTables, DuplicateUniqueValueUndoesEveryKey) {
  AddSample();
  FileDeclaration& d = f->file.declaration;
  f->Fill({1, "", "", 0, 0});
  ASSERT_EQ(Get(d, *f->k_number), 0);
  SampleRecord r = f->Current();
  // K_PLACE (city, name) is unique; "Austin"/"SMITH" belongs to record 2. K_NUMBER and K_NAME
  // come before it and must be restored.
  r.number = 77;
  r.name = "SMITH";
  f->Fill(r);
  EXPECT_TRUE(Duplicate(d));
  EXPECT_TRUE(Duplicate(*f->k_place));
  EXPECT_FALSE(Duplicate(*f->k_number));
  EXPECT_EQ(Put(d), 40);
  EXPECT_EQ(Records(*f->k_number), 4u);
  EXPECT_EQ(Records(*f->k_name), 4u);
  f->Fill({77, "", "", 0, 0});
  EXPECT_EQ(Get(d, *f->k_number), 35);
  f->Fill({1, "", "", 0, 0});
  ASSERT_EQ(Get(d, *f->k_number), 0);
  EXPECT_EQ(f->Current().name, "jones");
  ASSERT_EQ(Set(*f->k_name), 0);
  EXPECT_EQ(ReadAll(), (std::vector<int32_t>{4, 1, 3, 2}));
  // ADD of a second NUMBER 1 fails and adds nothing.
  f->Fill({1, "x", "y", 0, 0});
  EXPECT_EQ(Add(d), 40);
  EXPECT_EQ(Records(d), 4u);
}

TEST_F(StoredTables, ReadingModes) {
  AddSample();
  FileDeclaration& d = f->file.declaration;
  EXPECT_EQ(Next(d), 33);  // no SET yet

  ASSERT_EQ(Set(d), 0);
  EXPECT_EQ(ReadAll(), (std::vector<int32_t>{3, 1, 2, 4}));
  ASSERT_EQ(Set(d), 0);
  EXPECT_EQ(ReadAll(false), (std::vector<int32_t>{4, 2, 1, 3}));

  f->Fill({2, "", "", 0, 0});
  ASSERT_EQ(Get(d, *f->k_number), 0);
  uint32_t third = Pointer(d);
  ASSERT_EQ(Set(d, static_cast<int32_t>(third)), 0);
  EXPECT_EQ(ReadAll(), (std::vector<int32_t>{2, 4}));

  f->Fill({1, "", "", 0, 0});
  ASSERT_EQ(Set(d, *f->k_number), 0);  // record order from the record with NUMBER 1
  EXPECT_EQ(ReadAll(), (std::vector<int32_t>{1, 2, 4}));

  ASSERT_EQ(Set(*f->k_city), 0);  // city descending, then number
  EXPECT_EQ(ReadAll(), (std::vector<int32_t>{4, 3, 1, 2}));
  ASSERT_EQ(Set(*f->k_amount), 0);
  EXPECT_EQ(ReadAll(), (std::vector<int32_t>{1, 2, 3, 4}));

  f->Fill({0, "", "", 5.0, 0});
  ASSERT_EQ(Set(*f->k_amount, *f->k_amount), 0);
  EXPECT_EQ(ReadAll(), (std::vector<int32_t>{3, 4}));
  f->Fill({0, "", "", 5.0, 0});
  ASSERT_EQ(Set(*f->k_amount, *f->k_amount), 0);
  EXPECT_EQ(ReadAll(false), (std::vector<int32_t>{2, 1}));

  // SET(key, key, pointer): equal values from the given record on.
  f->Fill({0, "smith", "", 0, 0});
  ASSERT_EQ(Set(*f->k_name, *f->k_name, static_cast<int32_t>(third)), 0);
  EXPECT_EQ(ReadAll(), (std::vector<int32_t>{2}));

  // SET(key, pointer): from the entry of the given record.
  ASSERT_EQ(Set(*f->k_city, static_cast<int32_t>(third)), 0);
  EXPECT_EQ(ReadAll(), (std::vector<int32_t>{2}));

  // EOF and BOF look ahead without moving; SKIP moves several at once.
  ASSERT_EQ(Set(*f->k_number), 0);
  ASSERT_EQ(Next(d), 0);
  EXPECT_TRUE(Bof(d));
  EXPECT_FALSE(Eof(d));
  ASSERT_EQ(Skip(d, 2), 0);
  EXPECT_EQ(f->number(), 3);
  ASSERT_EQ(Next(d), 0);
  EXPECT_TRUE(Eof(d));
  EXPECT_FALSE(Bof(d));
  ASSERT_EQ(Previous(d), 0);
  EXPECT_EQ(f->number(), 3);
}

TEST_F(StoredTables, PositionsResetAndReget) {
  AddSample();
  FileDeclaration& d = f->file.declaration;
  ASSERT_EQ(Set(*f->k_name), 0);
  ASSERT_EQ(Next(d), 0);
  ASSERT_EQ(Next(d), 0);
  std::string key_position = Position(*f->k_name);
  std::string file_position = Position(d);
  EXPECT_EQ(key_position.size(), 12u + 4u);
  EXPECT_EQ(file_position.size(), 4u);
  int32_t second = f->number();
  ASSERT_EQ(Next(d), 0);
  ASSERT_EQ(Reget(*f->k_name, key_position), 0);
  EXPECT_EQ(f->number(), second);
  ASSERT_EQ(Get(d, 0u), 0);
  ASSERT_EQ(Reget(d, file_position), 0);
  EXPECT_EQ(f->number(), second);
  ASSERT_EQ(Reset(*f->k_name, key_position), 0);
  EXPECT_EQ(ReadAll(), (std::vector<int32_t>{1, 3, 2}));
  ASSERT_EQ(Reset(d, file_position), 0);
  EXPECT_EQ(ReadAll(), (std::vector<int32_t>{1, 2, 4}));
  // A position of the right size whose record has gone.
  ASSERT_EQ(Reget(*f->k_name, key_position), 0);
  ASSERT_EQ(Delete(d), 0);
  EXPECT_EQ(Reget(*f->k_name, key_position), 35);
  EXPECT_EQ(Reget(*f->k_name, "short"), 35);
}

TEST_F(StoredTables, SeveralTablesInOneDataFile) {
  SampleFile a(dir.File("multi\\!alpha"));
  SampleFile b(dir.File("MULTI\\!beta"));  // the same data file, named in other capitals
  ASSERT_EQ(Create(a.file.declaration), 0);
  ASSERT_EQ(Open(a.file.declaration), 0);
  ASSERT_EQ(Create(b.file.declaration), 0);  // shares the data file that `a` holds open
  ASSERT_EQ(Open(b.file.declaration), 0);
  a.Fill({1, "a", "a", 0, 0});
  ASSERT_EQ(Add(a.file.declaration), 0);
  b.Fill({1, "b", "b", 0, 0});
  ASSERT_EQ(Add(b.file.declaration), 0);
  ASSERT_EQ(Add(b.file.declaration), 40);
  EXPECT_EQ(Records(a.file.declaration), 1u);
  EXPECT_EQ(Records(b.file.declaration), 1u);
  EXPECT_EQ(Send(a.file.declaration, "PNM="), "alpha");
  EXPECT_EQ(Send(a.file.declaration, "PNM=b"), "beta");
  EXPECT_EQ(Send(a.file.declaration, "PNM=c"), "");
  ASSERT_EQ(Close(a.file.declaration), 0);
  ASSERT_EQ(Close(b.file.declaration), 0);
  EXPECT_FALSE(dir.Exists("MULTI.LDS"));

  // A table missing from an existing data file.
  SampleFile c(dir.File("multi\\!gamma"));
  EXPECT_EQ(Open(c.file.declaration), 2);
  // While `a` holds the data file open, `b` reaches it under its other capitals.
  ASSERT_EQ(Open(a.file.declaration), 0);
  ASSERT_EQ(Remove(b.file.declaration), 0);
  EXPECT_EQ(Send(a.file.declaration, "PNM=b"), "");
  ASSERT_EQ(Close(a.file.declaration), 0);
  EXPECT_TRUE(dir.Exists("multi.LDS"));
  ASSERT_EQ(Remove(a.file.declaration), 0);
  EXPECT_FALSE(dir.Exists("multi.LDS"));  // the last table took the file with it
  EXPECT_EQ(Open(a.file.declaration), 2);
}

TEST_F(StoredTables, DefinitionMismatchOnOpen) {
  ASSERT_EQ(Close(f->file.declaration), 0);
  // Same shape under other names opens; another key flag does not.
  testing::TestFile renamed(dir.File("sample"), testing::kSampleRecordSize, SampleFile::Layout());
  renamed.AddKey("OTHER", {1});
  renamed.AddKey("K_NAME", {2}, kKeyDup | kKeyNoCase);
  renamed.AddKey("K_CITY", {-3, 1}, kKeyDup);
  renamed.AddKey("K_PLACE", {3, 2});
  renamed.AddKey("K_AMOUNT", {4}, kKeyDup);
  renamed.AddKey("K_CODE", {5}, kKeyDup | kKeyOpt);
  renamed.AddMemo("MEMO", 600);
  EXPECT_EQ(Open(renamed.declaration), 0);
  EXPECT_EQ(Close(renamed.declaration), 0);

  testing::TestFile changed(dir.File("sample"), testing::kSampleRecordSize, SampleFile::Layout());
  changed.AddKey("K_NUMBER", {1}, kKeyDup);
  EXPECT_EQ(Open(changed.declaration), 47);
}

TEST_F(StoredTables, CreateOverExistingEmptyAndPack) {
  AddSample();
  FileDeclaration& d = f->file.declaration;
  ASSERT_EQ(Empty(d), 0);
  EXPECT_EQ(Records(d), 0u);
  EXPECT_EQ(Records(*f->k_name), 0u);
  ASSERT_EQ(Set(*f->k_name), 0);
  EXPECT_EQ(Next(d), 33);
  AddSample();
  ASSERT_EQ(Pack(d), 0);
  EXPECT_EQ(Records(*f->k_name), 4u);
  ASSERT_EQ(Build(*f->k_city), 0);
  ASSERT_EQ(Set(*f->k_city), 0);
  EXPECT_EQ(ReadAll(), (std::vector<int32_t>{4, 3, 1, 2}));
  ASSERT_EQ(Close(d), 0);
  ASSERT_EQ(Create(d), 0);
  ASSERT_EQ(Open(d), 0);
  EXPECT_EQ(Records(d), 0u);
}

TEST_F(StoredTables, CopyAndRename) {
  AddSample();
  FileDeclaration& d = f->file.declaration;
  ASSERT_EQ(Close(d), 0);
  ASSERT_EQ(Copy(d, dir.File("copy")), 0);
  SampleFile copy(dir.File("copy"));
  ASSERT_EQ(Open(copy.file.declaration), 0);
  EXPECT_EQ(Records(copy.file.declaration), 4u);
  ASSERT_EQ(Set(*copy.k_name), 0);
  ASSERT_EQ(Next(copy.file.declaration), 0);
  EXPECT_EQ(copy.number(), 4);
  // Numbers handed out after the copy never meet a copied record's.
  copy.Fill({9, "n", "n", 0, 0});
  ASSERT_EQ(Add(copy.file.declaration), 0);
  EXPECT_EQ(Records(copy.file.declaration), 5u);
  ASSERT_EQ(Close(copy.file.declaration), 0);

  ASSERT_EQ(Rename(d, dir.File("moved\\!t")), 0);
  EXPECT_EQ(Open(d), 2);
  SampleFile moved(dir.File("moved\\!t"));
  ASSERT_EQ(Open(moved.file.declaration), 0);
  EXPECT_EQ(Records(moved.file.declaration), 4u);
}

TEST_F(StoredTables, StreamKeepsOneCycleUntilFlush) {
  FileDeclaration& d = f->file.declaration;
  ASSERT_EQ(Stream(d), 0);
  for (int32_t i = 0; i < 300; ++i) AddRecord({i, "n" + std::to_string(i), "c", 0, 0});
  ASSERT_EQ(Flush(d), 0);
  ASSERT_EQ(Close(d), 0);
  ASSERT_EQ(Open(d), 0);
  EXPECT_EQ(Records(d), 300u);
  EXPECT_EQ(Records(*f->k_name), 300u);
}

// Under STREAM the counters of the open batch wait beside the tree until its commit: every
// statement that reads, copies or rewrites them must see the batch's records.
TEST_F(StoredTables, ACopyTakenInsideAnotherDeclarationsBatchHasItsCounts) {
  FileDeclaration& d = f->file.declaration;
  StreamSampleIn(0x42);
  EXPECT_EQ(Records(d), 4u);
  EXPECT_EQ(Records(*f->k_code), 2u);  // the OPT key skips the blank codes
  SampleFile same(dir.File("sample"));
  ASSERT_EQ(Copy(same.file.declaration, dir.File("copy")), 0);
  ASSERT_EQ(Flush(d), 0);
  SampleFile copy(dir.File("copy"));
  ASSERT_EQ(Open(copy.file.declaration), 0);
  EXPECT_EQ(Records(copy.file.declaration), 4u);
  EXPECT_EQ(Records(*copy.k_city), 4u);
  EXPECT_EQ(Records(*copy.k_code), 2u);
}

TEST_F(StoredTables, EmptyInsideABatchStartsItsCountsAgain) {
  FileDeclaration& d = f->file.declaration;
  StreamSampleIn(0x12);
  f->Fill({5, "Green", "Denver", 1.0, 0});
  ASSERT_EQ(Add(d), 0);
  ASSERT_EQ(Delete(d), 0);
  f->Fill({2, "Dup", "Austin", 0.0, 0});
  EXPECT_EQ(Add(d), 40);
  EXPECT_EQ(Records(d), 4u);
  ASSERT_EQ(Empty(d), 0);
  EXPECT_EQ(Records(d), 0u);
  EXPECT_EQ(Records(*f->k_number), 0u);
  AddRecord({7, "Late", "Reno", 0, 1});
  ASSERT_EQ(Flush(d), 0);
  ASSERT_EQ(Close(d), 0);
  ASSERT_EQ(Open(d), 0);
  EXPECT_EQ(Records(d), 1u);
  EXPECT_EQ(Records(*f->k_name), 1u);
  EXPECT_EQ(Records(*f->k_code), 1u);
}

TEST_F(StoredTables, RolledBackAddsLeaveTheCountsOfTheLastCommit) {
  FileDeclaration& d = f->file.declaration;
  AddRecord({10, "First", "Reno", 0, 0});
  ASSERT_EQ(Logout(d), 0);
  AddSample();
  EXPECT_EQ(Records(d), 5u);
  ASSERT_EQ(Rollback(d), 0);
  EXPECT_EQ(Records(d), 1u);
  EXPECT_EQ(Records(*f->k_name), 1u);
  ASSERT_EQ(Logout(d), 0);
  AddRecord({2, "Second", "Reno", 0, 0});
  ASSERT_EQ(Commit(d), 0);
  ASSERT_EQ(Close(d), 0);
  ASSERT_EQ(Open(d), 0);
  EXPECT_EQ(Records(d), 2u);
  EXPECT_EQ(Records(*f->k_place), 2u);
}

TEST_F(StoredTables, OwnerPasswordIsRefusedClearly) {
  SampleFile secret(dir.File("secret"));
  std::string password = "pw";
  secret.file.declaration.owner = {password.data(), 2};
  EXPECT_EQ(Create(secret.file.declaration), 80);
  EXPECT_FALSE(dir.Exists("secret.LDS"));
}

}  // namespace
}  // namespace carelog::store
