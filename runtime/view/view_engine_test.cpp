#include "runtime/view/view_engine.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <vector>

#include "runtime/eval/name_table.h"
#include "runtime/eval/record_binding.h"
#include "runtime/store/error_state.h"
#include "runtime/store/file_statements.h"
#include "runtime/store/stored_tables.h"
#include "runtime/store/table_ops.h"
#include "runtime/store/test_file_builder.h"

namespace carelog::view {
namespace {

// The tests build their files with the store's own declarations and test helpers.
using namespace store;  // NOLINT(google-build-using-namespace)
namespace testing = store::testing;

using testing::LayoutBytes;
using testing::TestFile;

// VW:PATIENT LONG @0, VW:DATE LONG @4, VW:NAME STRING(8) @8; 16 bytes.
std::vector<uint8_t> NotesLayout() {
  LayoutBytes layout;
  layout.Start()
      .Field("VW:PATIENT", kTypeLong)
      .Link(4)
      .Field("VW:DATE", kTypeLong)
      .Link(8)
      .String("VW:NAME", 8)
      .End();
  return layout.bytes;
}

struct Note {
  int32_t patient;
  int32_t date;
  std::string name;
  bool operator==(const Note&) const = default;
};

void PrintTo(const Note& note, std::ostream* out) {
  *out << note.patient << "/" << note.date << "/" << note.name;
}

class ViewEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Memory-backed when possible: every ADD commits, and a commit syncs the file.
    const bool shm = std::filesystem::is_directory("/dev/shm");
    std::string pattern = shm ? "/dev/shm/view_engine_XXXXXX" : "/tmp/view_engine_XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    directory_ = pattern;
    RegisterTableOps(&StoredTables());
    file_ = std::make_unique<TestFile>(directory_ + "/NOTES", 16, NotesLayout());
    by_patient_ = &file_->AddKey("VW:KEY_PATIENT", {1}, kKeyDup);
    by_patient_date_ = &file_->AddKey("VW:KEY_PATIENT_DATE", {1, -2}, kKeyDup);
    by_name_ = &file_->AddKey("VW:KEY_NAME", {3}, kKeyDup | kKeyNoCase);
    ASSERT_EQ(Create(file_->declaration), 0) << ErrorText();
    ASSERT_EQ(Open(file_->declaration, 0x42), 0) << ErrorText();
    eval::BindRecord(file_->declaration);
    eval::Bind("VW:Reset", &reset_);
    eval::Bind("VW:Since", &since_);
    eval::Bind("VW:Who", who_, sizeof who_);
    view_.driver = &ViewEngineEntry;
    view_.primary = &file_->declaration;
  }

  void TearDown() override {
    CloseView(view_);
    Close(file_->declaration);
    file_.reset();
    EnableViewFilterShortcut(true);
    std::filesystem::remove_all(directory_);
  }

  void WriteBuffer(const Note& note) {
    uint8_t* record = file_->buffer();
    std::memcpy(record, &note.patient, 4);
    std::memcpy(record + 4, &note.date, 4);
    std::memset(record + 8, ' ', 8);
    std::memcpy(record + 8, note.name.data(), std::min<size_t>(note.name.size(), 8));
  }

  void Add(const Note& note) {
    WriteBuffer(note);
    ASSERT_EQ(store::Add(file_->declaration), 0) << ErrorText();
  }

  Note Current() const {
    const uint8_t* record = file_->buffer();
    Note note;
    std::memcpy(&note.patient, record, 4);
    std::memcpy(&note.date, record + 4, 4);
    note.name.assign(reinterpret_cast<const char*>(record + 8), 8);
    note.name.erase(note.name.find_last_not_of(' ') + 1);
    return note;
  }

  // Opens the view over the file positioned at the start of `key`.
  void OpenOver(KeyDeclaration& key, const char* filter) {
    ASSERT_EQ(Set(key), 0) << ErrorText();
    view_.filter = {filter, static_cast<uint32_t>(std::strlen(filter))};
    ASSERT_EQ(OpenView(view_), 0) << ErrorText();
  }

  std::vector<Note> ReadAll(bool forward) {
    std::vector<Note> notes;
    int result;
    while ((result = forward ? NextInView(view_) : PreviousInView(view_)) == 0) {
      notes.push_back(Current());
    }
    EXPECT_EQ(result, 33);
    return notes;
  }

  std::string directory_;
  std::unique_ptr<TestFile> file_;
  KeyDeclaration* by_patient_ = nullptr;
  KeyDeclaration* by_patient_date_ = nullptr;
  KeyDeclaration* by_name_ = nullptr;
  int32_t reset_ = 0;
  int32_t since_ = 0;
  char who_[8] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
  ViewDeclaration view_;
};

TEST_F(ViewEngineTest, ReadsTheFilteredRecordsInKeyOrderBothWays) {
  for (int i = 0; i < 30; ++i) Add({i % 5, 100 - i, "n" + std::to_string(i)});
  reset_ = 3;
  OpenOver(*by_patient_date_, "VW:PATIENT = VW:Reset");
  const std::vector<Note> forward = ReadAll(true);
  ASSERT_EQ(forward.size(), 6u);
  // From the start of the key the view jumps before reading: the range's six and one after it.
  EXPECT_EQ(ViewRecordsRead(view_), 7u);
  for (size_t i = 1; i < forward.size(); ++i) {
    EXPECT_EQ(forward[i].patient, 3);
    EXPECT_GT(forward[i - 1].date, forward[i].date);  // DATE descends in this key
  }
  ASSERT_EQ(Set(*by_patient_date_), 0);
  std::vector<Note> backward = ReadAll(false);
  std::reverse(backward.begin(), backward.end());
  EXPECT_EQ(backward, forward);
}

TEST_F(ViewEngineTest, PositionsRoundTripThroughResetAndReget) {
  for (int i = 0; i < 12; ++i) Add({i % 3, i, "p" + std::to_string(i)});
  reset_ = 1;
  OpenOver(*by_patient_, "VW:PATIENT = VW:Reset");
  ASSERT_EQ(NextInView(view_), 0);
  ASSERT_EQ(NextInView(view_), 0);
  const Note second = Current();
  const std::string position = ViewPosition(view_);
  ASSERT_GE(position.size(), 8u);
  ASSERT_EQ(NextInView(view_), 0);
  const Note third = Current();

  ASSERT_EQ(ResetView(view_, position), 0) << ErrorText();
  ASSERT_EQ(NextInView(view_), 0);
  EXPECT_EQ(Current(), second);
  ASSERT_EQ(NextInView(view_), 0);
  EXPECT_EQ(Current(), third);

  ASSERT_EQ(RegetView(view_, position), 0) << ErrorText();
  EXPECT_EQ(Current(), second);
  EXPECT_EQ(NextInView(view_), 81);  // positioned by REGET: reset first
  EXPECT_EQ(ErrorCode(), 81);
  ASSERT_EQ(ResetView(view_, position), 0);
  EXPECT_EQ(NextInView(view_), 0);

  EXPECT_EQ(ResetView(view_, position.substr(0, 6)), 81);  // ends early
  std::string bad_key = position;
  bad_key[0] = 9;  // key 9 of 3
  EXPECT_EQ(ResetView(view_, bad_key), 81);
}

TEST_F(ViewEngineTest, SkipFiltersAndSurvivesTheEnd) {
  for (int i = 0; i < 10; ++i) Add({i % 2, i, "s"});
  reset_ = 0;
  OpenOver(*by_patient_, "VW:PATIENT = VW:Reset");
  EXPECT_EQ(SkipInView(view_, 2), 0);
  EXPECT_EQ(Current().date, 2);
  EXPECT_EQ(SkipInView(view_, 50), 0);
  EXPECT_EQ(NextInView(view_), 33);
}

TEST_F(ViewEngineTest, BadFiltersAndJoinsAreRefused) {
  Add({1, 1, "x"});
  ASSERT_EQ(Set(*by_patient_), 0);
  view_.filter = {"VW:PATIENT = ", 13};
  EXPECT_EQ(OpenView(view_), 800);
  EXPECT_EQ(NextInView(view_), 800);  // no records until a filter compiles
  EXPECT_EQ(SetViewFilter(view_, "VW:Nobody = 1"), 801);
  EXPECT_EQ(ErrorText(), "No BIND on variable");
  EXPECT_EQ(SetViewFilter(view_, "VW:PATIENT = 1"), 0);
  EXPECT_EQ(NextInView(view_), 0);
  EXPECT_EQ(CloseView(view_), 0);
  view_.joined_files = 1;
  EXPECT_EQ(OpenView(view_), 80);
}

TEST_F(ViewEngineTest, ReadsSkipTheMemosUnlessTheViewUsesThem) {
  TestFile notes(directory_ + "/MEMOS", 16, NotesLayout());
  notes.AddKey("VW:KEY_PATIENT", {1}, kKeyDup);
  MemoDeclaration& memo = notes.AddMemo("VW:TEXT", 32);
  ASSERT_EQ(Create(notes.declaration), 0) << ErrorText();
  ASSERT_EQ(Open(notes.declaration, 0x42), 0) << ErrorText();
  ASSERT_NE(memo.buffer, nullptr);
  std::memset(notes.buffer(), 0, 16);
  std::memcpy(memo.buffer, "remembered", 10);
  ASSERT_EQ(store::Add(notes.declaration), 0) << ErrorText();

  ViewDeclaration view;
  view.driver = &ViewEngineEntry;
  view.primary = &notes.declaration;
  for (uint8_t uses_memos : {0, 1}) {
    std::memset(memo.buffer, '-', 32);
    view.uses_memos = uses_memos;
    ASSERT_EQ(Set(notes.declaration), 0);
    ASSERT_EQ(OpenView(view), 0);
    ASSERT_EQ(NextInView(view), 0) << ErrorText();
    EXPECT_EQ(std::string(memo.buffer, 10), uses_memos ? "remembered" : "----------");
    CloseView(view);
  }
  Close(notes.declaration);
}

// The view compiles its filter at every OPEN; a tree kept from an earlier OPEN of the same text
// must not outlive a rebinding that changes how the filter compares.
TEST_F(ViewEngineTest, ReopenedFilterFollowsARebindingOfItsNames) {
  for (int i = 0; i < 4; ++i) Add({i, i, "n"});
  static int32_t left_number = 0;
  static int32_t right_number = 0;
  static char left_text[4] = {'a', 'n', 'n', ' '};
  static char right_text[4] = {'A', 'N', 'N', ' '};
  const char* filter = "VW:Left = VW:Right";
  eval::Bind("VW:Left", &left_number);
  eval::Bind("VW:Right", &right_number);
  OpenOver(*by_patient_, filter);
  EXPECT_EQ(ReadAll(true).size(), 4u);  // 0 = 0
  CloseView(view_);
  OpenOver(*by_patient_, filter);  // the same text and bindings: the same records
  EXPECT_EQ(ReadAll(true).size(), 4u);
  CloseView(view_);
  eval::Bind("VW:Left", left_text, sizeof left_text);
  eval::Bind("VW:Right", right_text, sizeof right_text);
  OpenOver(*by_patient_, filter);  // now texts that differ by case
  EXPECT_EQ(ReadAll(true).size(), 0u);
  CloseView(view_);
  std::memcpy(right_text, "ann ", 4);
  OpenOver(*by_patient_, filter);
  EXPECT_EQ(ReadAll(true).size(), 4u);
}

// A view opened on a file just SET on its key jumps to the range before reading anything. It
// must give what the plain scan gives when the range starts at the key's first entry, when the
// file was read once before the view's first read, and after EMPTY ended the reading.
TEST_F(ViewEngineTest, JumpBeforeTheFirstReadSkipsNoRecord) {
  Close(file_->declaration);
  ASSERT_EQ(Open(file_->declaration, 0x22), 0) << ErrorText();  // deny write, for EMPTY
  for (int i = 0; i < 12; ++i) Add({i % 3, i, "n"});
  const char* filter = "VW:PATIENT = VW:Reset";
  view_.filter = {filter, static_cast<uint32_t>(std::strlen(filter))};
  enum class Before { kNothing, kOneFileRead, kEmptyThenAdd };
  auto run = [&](Before before, bool forward, bool shortcut) {
    EnableViewFilterShortcut(shortcut);
    CloseView(view_);
    EXPECT_EQ(Set(*by_patient_), 0);
    if (before == Before::kOneFileRead) {
      EXPECT_EQ(forward ? Next(file_->declaration) : Previous(file_->declaration), 0);
    }
    if (before == Before::kEmptyThenAdd) {
      EXPECT_EQ(Empty(file_->declaration), 0) << ErrorText();
      Add({0, 1, "after"});
      Add({2, 2, "after"});
    }
    EXPECT_EQ(OpenView(view_), 0) << ErrorText();
    return ReadAll(forward);
  };
  for (Before before : {Before::kNothing, Before::kOneFileRead, Before::kEmptyThenAdd}) {
    for (int32_t reset : {0, 2}) {  // the range at the key's first entries, at its last
      for (bool forward : {true, false}) {
        reset_ = reset;
        const std::vector<Note> jumped = run(before, forward, true);
        const std::vector<Note> scanned = run(before, forward, false);
        EXPECT_EQ(jumped, scanned) << static_cast<int>(before) << " " << reset << " " << forward;
        if (before == Before::kNothing) EXPECT_EQ(jumped.size(), 4u);
      }
    }
  }
}

TEST_F(ViewEngineTest, ShortcutReturnsExactlyThePlainScan) {
  std::mt19937 random(20261208);
  const char* names[] = {"ann", "Ann", "bob", "BOB", "cy", "dee"};
  for (int i = 0; i < 400; ++i) {
    const int patient = static_cast<int>(random() % 25);
    Add({patient, static_cast<int32_t>(random() % 50), names[random() % 6]});
  }
  struct Case {
    KeyDeclaration* key;
    const char* filter;
  };
  const Case cases[] = {
      {by_patient_, "VW:PATIENT = VW:Reset"},
      {by_patient_date_, "VW:PATIENT = VW:Reset"},
      {by_patient_date_, "VW:Reset = VW:PATIENT AND VW:DATE >= VW:Since"},
      {by_patient_date_, "VW:PATIENT = VW:Reset AND VW:DATE = VW:Since"},
      {by_name_, "VW:NAME = VW:Who"},
      {by_name_, "VW:NAME = VW:Who AND VW:PATIENT < VW:Reset"},
  };
  uint64_t reads[2] = {0, 0};  // shortcut, plain
  for (int trial = 0; trial < 60; ++trial) {
    const Case& c = cases[trial % std::size(cases)];
    reset_ = static_cast<int32_t>(random() % 27) - 1;
    since_ = static_cast<int32_t>(random() % 50);
    const char* who[] = {"ann", "bob", "BOB", "zed", "cy"};
    std::memset(who_, ' ', sizeof who_);
    std::memcpy(who_, who[random() % 5], 3);
    // 0, 1 next; 2 previous; 3 keep the position; 4 reset to the position kept
    std::vector<int> steps(40);
    for (int& step : steps) step = static_cast<int>(random() % 5);
    const bool start_at_end = random() % 2 == 0;
    // Half the trials start from a key value (SET(key, key)), often before the range's part of
    // the key, so that the view reads records outside the range before its jump.
    const bool from_value = random() % 2 == 0;
    const Note from{static_cast<int>(random() % 25), static_cast<int32_t>(random() % 50),
                    names[random() % 6]};

    std::vector<std::vector<Note>> runs;
    for (bool shortcut : {true, false}) {
      EnableViewFilterShortcut(shortcut);
      CloseView(view_);
      OpenOver(*c.key, c.filter);
      if (from_value) {
        WriteBuffer(from);
        ASSERT_EQ(Set(*c.key, *c.key), 0) << ErrorText();
      }
      std::vector<Note> seen;
      std::string kept;
      for (int step : steps) {
        if (step == 3) {
          kept = ViewPosition(view_);
          continue;
        }
        if (step == 4) {
          if (!kept.empty()) {
            ASSERT_EQ(ResetView(view_, kept), 0) << ErrorText();
          }
          continue;
        }
        const bool forward = start_at_end ? step == 2 : step != 2;
        const int result = forward ? NextInView(view_) : PreviousInView(view_);
        ASSERT_TRUE(result == 0 || result == 33) << result;
        seen.push_back(result == 0 ? Current() : Note{-1, -1, "end"});
      }
      reads[shortcut ? 0 : 1] += ViewRecordsRead(view_);
      runs.push_back(seen);
    }
    ASSERT_EQ(runs[0], runs[1]) << "trial " << trial << ": " << c.filter;
  }
  EXPECT_LT(reads[0] * 4, reads[1]);  // the shortcut reads a small part of the records
}

}  // namespace
}  // namespace carelog::view
