// The browse box's paging on real data files written by the sample generator: pages, ranges,
// scrolling at the page's edges, locating, the thumb, and what an empty range shows.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <set>

#include "app/data/keys.h"
#include "app/data/records.h"
#include "app/patterns/browse_box.h"
#include "runtime/store/error_state.h"
#include "runtime/store/file_statements.h"
#include "runtime/store/stored_tables.h"
#include "runtime/window/events.h"
#include "tools/carelog-sample/sample_data.h"

namespace carelog::app {
namespace {

namespace fs = std::filesystem;
using appdata::FileId;
namespace event = window::event;

// A list of `rows` visible rows that remembers what the box showed and asked for.
class RecordingUi : public BrowseUi {
 public:
  explicit RecordingUi(int rows) : rows_(rows) {}
  int VisibleRows() override { return rows_; }
  int SelectedRow() override { return selected; }
  void ShowPage(const Page& page, int row) override {
    shown = static_cast<int>(page.size());
    selected = row;
  }
  void SetScrollBar(bool on) override { scroll_bar = on; }
  int Thumb() override { return thumb; }
  void SetThumb(int value) override { thumb = value; }
  void EnableChangeDelete(bool enabled) override { change_delete = enabled; }
  void PostNewSelection() override { ++new_selections; }
  void PostClose() override { closed = true; }
  void ReadError(const appdata::FileInfo&) override { ++read_errors; }
  void Busy(bool) override {}

  int selected = 0, shown = 0, thumb = 0, new_selections = 0, read_errors = 0;
  bool scroll_bar = false, change_delete = false, closed = false;

 private:
  int rows_;
};

constexpr FileId kProgressFiles[] = {FileId::kPatients, FileId::kProgressNotes};
constexpr SortOrder kNotesByPatient[] = {
    {nullptr,
     "PRO:KEY_PATIENT_NUMBER",
     "PRO:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number",
     "Sort1:Reset:PAT:Patient_Number",
     {FileId::kPatients, "PAT:PATIENT_NUMBER"}}};
constexpr ColumnRow kNoteColumns[] = {{"PRO:DATE"}, {"PRO:RECORD_NO"}};
constexpr BrowseTable kNotes = {"NOTES",
                                "",
                                "",
                                FileId::kProgressNotes,
                                kProgressFiles,
                                kNotesByPatient,
                                kNoteColumns,
                                nullptr,
                                0,
                                1,
                                {},
                                {},
                                "",
                                false,
                                false,
                                nullptr};

constexpr FileId kPatientFiles[] = {FileId::kPatients};
constexpr SortOrder kPatientOrders[] = {
    {"Last Names", "PAT:KEY_LAST_NAME", nullptr, nullptr, {}},
    {"Patient Number", "PAT:KEY_PATIENT_NUMBER", nullptr, nullptr, {}},
};
constexpr ColumnRow kPatientColumns[] = {{"PAT:LAST_NAME"}, {"PAT:PATIENT_NUMBER"}};
constexpr BrowseTable kPatients = {"PATIENTS",
                                   "",
                                   "",
                                   FileId::kPatients,
                                   kPatientFiles,
                                   kPatientOrders,
                                   kPatientColumns,
                                   nullptr,
                                   0,
                                   1,
                                   {},
                                   {},
                                   "",
                                   true,
                                   false,
                                   nullptr};

class BrowsePagingTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    saved_ = new fs::path(fs::current_path());
    fs::path base =
        access("/dev/shm", W_OK) == 0 ? fs::path("/dev/shm") : fs::temp_directory_path();
    root_ = new fs::path(base / ("browse-paging-" + std::to_string(getpid())));
    fs::remove_all(*root_);
    fs::create_directories(*root_);
    fs::current_path(*root_);
    sample::SampleCounts counts;
    std::string error;
    ASSERT_EQ(sample::WriteSampleData({40, 7}, &counts, &error), 0) << error;
  }
  static void TearDownTestSuite() {
    fs::current_path(*saved_);
    fs::remove_all(*root_);
    delete saved_;
    delete root_;
  }
  void SetUp() override {
    store::RegisterTableOps(&store::StoredTables());
    for (FileId file : {FileId::kPatients, FileId::kProgressNotes}) {
      ASSERT_EQ(store::Open(appdata::Declaration(file), store::kShareDefaultMode), 0)
          << store::ErrorText();
    }
  }
  void TearDown() override {
    box_.reset();
    for (FileId file : {FileId::kPatients, FileId::kProgressNotes}) {
      store::Close(appdata::Declaration(file));
    }
  }

  BrowseBox& Start(const BrowseTable& table, RecordingUi& ui) {
    box_ = std::make_unique<BrowseBox>(table, 1, ui);
    std::string problem;
    EXPECT_TRUE(box_->Resolve(&problem)) << problem;
    box_->Bind();
    return *box_;
  }

  // The box ranged on patient `number`, filled as on the window's first refresh.
  BrowseBox& Notes(RecordingUi& ui, int32_t number) {
    BrowseBox& box = Start(kNotes, ui);
    appdata::PAT.PATIENT_NUMBER = number;
    box.set_reset_value(box.RangeSourceValue());
    box.ResetView();
    box.RefreshPage(RefreshMode::kReset);
    return box;
  }

  // Every record number of patient `number`'s notes, in key order (record order within it).
  static std::vector<int32_t> NotesOf(int32_t number) {
    std::vector<int32_t> records;
    store::FileDeclaration& file = appdata::ProgressNotesFile();
    store::Set(file);
    while (store::Next(file) == 0) {
      if (appdata::PRO.PATIENT_NUMBER == number) records.push_back(int32_t{appdata::PRO.RECORD_NO});
    }
    return records;
  }

  static std::vector<int32_t> Shown(const BrowseBox& box) {
    std::vector<int32_t> records;
    for (const PageEntry& entry : box.page()) {
      records.push_back(static_cast<int32_t>(entry.values[1].number));
    }
    return records;
  }

  static std::vector<std::string> Names(const BrowseBox& box) {
    std::vector<std::string> names;
    for (const PageEntry& entry : box.page()) names.push_back(entry.values[0].text);
    return names;
  }

  inline static fs::path* saved_ = nullptr;
  inline static fs::path* root_ = nullptr;
  std::unique_ptr<BrowseBox> box_;
};

TEST_F(BrowsePagingTest, ARangedPageHoldsOnlyThePatientsRecordsAndHighlightsTheFirst) {
  RecordingUi ui(20);
  BrowseBox& box = Notes(ui, 3);
  // The buffer holds the highlighted record.
  ASSERT_FALSE(box.page().empty());
  EXPECT_EQ(int32_t{appdata::PRO.RECORD_NO}, static_cast<int32_t>(box.page()[0].values[1].number));
  std::vector<int32_t> expected = NotesOf(3);
  ASSERT_FALSE(expected.empty());
  std::vector<int32_t> shown = Shown(box);
  std::sort(shown.begin(), shown.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(shown, expected);
  ASSERT_EQ(box.current_row(), 1);
  EXPECT_EQ(ui.selected, 1);
  EXPECT_TRUE(ui.change_delete);
  // Fewer records than rows: no scroll bar, and Page Down moves to the last row.
  box.ShowSelection();
  EXPECT_FALSE(ui.scroll_bar);
  box.Scroll(event::kPageDown);
  EXPECT_EQ(box.current_row(), static_cast<int>(expected.size()));
  EXPECT_EQ(ui.selected, box.current_row());
}

TEST_F(BrowsePagingTest, AColumnShowsItsNothingRecordedValueAsZeroAndEveryOtherAsStored) {
  std::vector<int32_t> records = NotesOf(3);
  ASSERT_GE(records.size(), 2u);
  std::sort(records.begin(), records.end());
  // The record number column names the first note's number as its "nothing recorded" value.
  const ColumnRow columns[] = {{"PRO:DATE"}, {"PRO:RECORD_NO", double(records[0])}};
  BrowseTable table = kNotes;
  table.columns = columns;
  RecordingUi ui(20);
  BrowseBox& box = Start(table, ui);
  appdata::PAT.PATIENT_NUMBER = 3;
  box.set_reset_value(box.RangeSourceValue());
  box.ResetView();
  box.RefreshPage(RefreshMode::kReset);
  std::vector<int32_t> shown = Shown(box);
  std::sort(shown.begin(), shown.end());
  std::vector<int32_t> expected = records;
  expected[0] = 0;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(shown, expected);
}

TEST_F(BrowsePagingTest, AnEmptyRangeShowsNothingAndDisablesChangeAndDelete) {
  RecordingUi ui(10);
  BrowseBox& box = Notes(ui, 999999);
  EXPECT_TRUE(box.page().empty());
  EXPECT_EQ(box.current_row(), 0);
  EXPECT_FALSE(ui.change_delete);
  // The range source is back in the patient buffer after the fill ran off the range.
  EXPECT_EQ(int32_t{appdata::PAT.PATIENT_NUMBER}, 999999);
  box.Scroll(event::kPageDown);
  box.Scroll(event::kScrollDown);
  EXPECT_TRUE(box.page().empty());
  EXPECT_EQ(ui.read_errors, 0);
}

TEST_F(BrowsePagingTest, ScrollingPastAFullPageReadsOneRecordAndDropsTheFirst) {
  RecordingUi ui(5);
  BrowseBox& box = Start(kPatients, ui);
  box.SetOrder(2);  // by patient number
  box.ResetView();
  box.RefreshPage(RefreshMode::kReset);
  ASSERT_EQ(Shown(box), (std::vector<int32_t>{1, 2, 3, 4, 5}));
  box.ShowSelection();
  EXPECT_TRUE(ui.scroll_bar);
  for (int i = 0; i < 4; ++i) box.Scroll(event::kScrollDown);
  EXPECT_EQ(box.current_row(), 5);
  EXPECT_EQ(Shown(box), (std::vector<int32_t>{1, 2, 3, 4, 5}));
  box.Scroll(event::kScrollDown);
  EXPECT_EQ(Shown(box), (std::vector<int32_t>{2, 3, 4, 5, 6}));
  EXPECT_EQ(box.current_row(), 5);
  EXPECT_EQ(int32_t{appdata::PAT.PATIENT_NUMBER}, 6);
  box.Scroll(event::kPageDown);
  EXPECT_EQ(Shown(box), (std::vector<int32_t>{7, 8, 9, 10, 11}));
  box.Scroll(event::kPageUp);
  EXPECT_EQ(Shown(box), (std::vector<int32_t>{2, 3, 4, 5, 6}));
  // Up from the first row reads one record backward and keeps the highlight on row 1.
  box.set_current_row(1);
  ui.selected = 1;
  box.Scroll(event::kScrollUp);
  EXPECT_EQ(Shown(box), (std::vector<int32_t>{1, 2, 3, 4, 5}));
  EXPECT_EQ(box.current_row(), 1);
  box.Scroll(event::kScrollUp);  // already at the top: nothing to read
  EXPECT_EQ(Shown(box), (std::vector<int32_t>{1, 2, 3, 4, 5}));
}

// Page after page reads on from the page's edge; a read of the same file by anything else in
// between moves the file's reading sequence, and the next page still starts after the edge.
TEST_F(BrowsePagingTest, PagingOnContinuesAfterTheEdgeEvenWhenTheFileWasReadInBetween) {
  RecordingUi ui(5);
  BrowseBox& box = Start(kPatients, ui);
  box.SetOrder(2);
  box.ResetView();
  box.RefreshPage(RefreshMode::kReset);
  box.Scroll(event::kPageDown);
  box.Scroll(event::kPageDown);
  EXPECT_EQ(Shown(box), (std::vector<int32_t>{11, 12, 13, 14, 15}));
  store::FileDeclaration& patients = appdata::PatientsFile();
  store::Set(patients);
  ASSERT_EQ(store::Next(patients), 0);
  box.Scroll(event::kPageDown);
  EXPECT_EQ(Shown(box), (std::vector<int32_t>{16, 17, 18, 19, 20}));
  appdata::PAT.PATIENT_NUMBER = 30;
  ASSERT_EQ(store::Get(patients, appdata::Key(appdata::PatKey::KEY_PATIENT_NUMBER)), 0);
  ui.selected = 5;
  box.Scroll(event::kScrollDown);
  EXPECT_EQ(Shown(box), (std::vector<int32_t>{17, 18, 19, 20, 21}));
  box.Scroll(event::kPageUp);
  EXPECT_EQ(Shown(box), (std::vector<int32_t>{12, 13, 14, 15, 16}));
  box.Scroll(event::kPageDown);
  EXPECT_EQ(Shown(box), (std::vector<int32_t>{17, 18, 19, 20, 21}));
}

TEST_F(BrowsePagingTest, TopAndBottomAndTheThumbAtItsEndsShowTheFirstAndLastPage) {
  RecordingUi ui(6);
  BrowseBox& box = Start(kPatients, ui);
  box.SetOrder(2);
  box.ResetView();
  box.RefreshPage(RefreshMode::kReset);
  box.BuildKeyDistribution();
  box.Scroll(event::kScrollBottom);
  EXPECT_EQ(Shown(box), (std::vector<int32_t>{35, 36, 37, 38, 39, 40}));
  EXPECT_EQ(box.current_row(), 6);
  box.Scroll(event::kScrollTop);
  EXPECT_EQ(Shown(box), (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(box.current_row(), 1);
  ui.thumb = 100;
  box.Scroll(event::kScrollDrag);
  EXPECT_EQ(Shown(box).back(), 40);
  EXPECT_EQ(box.current_row(), 6);
  ui.thumb = 0;
  box.Scroll(event::kScrollDrag);
  EXPECT_EQ(Shown(box).front(), 1);
  // Halfway: the page starts at the record the distribution puts there.
  ui.thumb = 50;
  box.Scroll(event::kScrollDrag);
  EXPECT_EQ(Shown(box).front(), 1 + (49 - 1) * 39 / 99);
  box.ShowSelection();
  EXPECT_NEAR(box.thumb(), 50, 3);
}

TEST_F(BrowsePagingTest, LocatingAtTheBufferHighlightsTheRecordOrFillsFromTheEnd) {
  RecordingUi ui(5);
  BrowseBox& box = Start(kPatients, ui);
  box.SetOrder(2);
  box.ResetView();
  box.RefreshPage(RefreshMode::kReset);
  FieldValue number;
  number.number = 17;
  box.LocateAt(number);
  EXPECT_EQ(Shown(box), (std::vector<int32_t>{17, 18, 19, 20, 21}));
  EXPECT_EQ(box.current_row(), 1);
  EXPECT_EQ(int32_t{appdata::PAT.PATIENT_NUMBER}, 17);
  // Near the end the page is filled backward so that it stays full.
  number.number = 39;
  box.LocateAt(number);
  EXPECT_EQ(Shown(box), (std::vector<int32_t>{36, 37, 38, 39, 40}));
  EXPECT_EQ(int32_t{appdata::PAT.PATIENT_NUMBER}, 39);
  EXPECT_EQ(box.current_row(), 4);
  // Past the last record: the last page, its last row highlighted.
  number.number = 5000;
  box.LocateAt(number);
  EXPECT_EQ(Shown(box), (std::vector<int32_t>{36, 37, 38, 39, 40}));
  EXPECT_EQ(box.current_row(), 5);
}

TEST_F(BrowsePagingTest, ATextKeyLocatesByTypedPrefixAndItsThumbFollowsTheName) {
  RecordingUi ui(8);
  BrowseBox& box = Start(kPatients, ui);
  box.SetOrder(box.OrderForTab("Last Names"));
  box.ResetView();
  box.RefreshPage(RefreshMode::kReset);
  box.BuildKeyDistribution();
  std::vector<std::string> names = Names(box);
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
  FieldValue typed;
  typed.is_text = true;
  typed.text = "m";
  box.LocateAt(typed);
  ASSERT_FALSE(box.page().empty());
  EXPECT_GE(box.page()[static_cast<size_t>(box.current_row() - 1)].values[0].text[0], 'M');
  box.ShowSelection();
  EXPECT_GT(box.thumb(), 20);
  EXPECT_LT(box.thumb(), 90);
  EXPECT_EQ(box.OrderForTab("Something else"), 2);
}

TEST_F(BrowsePagingTest, AnAnchoredRefreshKeepsThePageAndMovesOffADeletedRecord) {
  RecordingUi ui(5);
  BrowseBox& box = Start(kPatients, ui);
  box.SetOrder(2);
  box.ResetView();
  box.RefreshPage(RefreshMode::kReset);
  box.Scroll(event::kPageDown);  // 6..10
  for (int i = 0; i < 4; ++i) box.Scroll(event::kScrollDown);
  ASSERT_EQ(box.current_row(), 5);
  ASSERT_EQ(int32_t{appdata::PAT.PATIENT_NUMBER}, 10);
  box.RefreshPage(RefreshMode::kAnchored);
  EXPECT_EQ(Shown(box), (std::vector<int32_t>{6, 7, 8, 9, 10}));
  EXPECT_EQ(box.current_row(), 5);
}

TEST_F(BrowsePagingTest, ANewRecordInAPatientRangedBrowseStartsWithThePatientsNumber) {
  RecordingUi ui(10);
  BrowseBox& box = Notes(ui, 3);
  ASSERT_FALSE(box.page().empty());
  box.PrimeNewRecord();
  EXPECT_EQ(int32_t{appdata::PRO.PATIENT_NUMBER}, 3);
  EXPECT_EQ(int32_t{appdata::PRO.RECORD_NO}, 0);
  EXPECT_EQ(int32_t{appdata::PRO.DATE}, 0);
  EXPECT_EQ(std::string(appdata::PRO.LUNG_SOUNDS, sizeof appdata::PRO.LUNG_SOUNDS),
            std::string(sizeof appdata::PRO.LUNG_SOUNDS, ' '));
}

// A form that wrote a record leaves the file on it; among one patient's notes (one key value)
// the page highlights that record, not the patient's first note.
TEST_F(BrowsePagingTest, AWrittenRecordIsHighlightedAmongTheRecordsOfItsKeyValue) {
  RecordingUi ui(10);
  BrowseBox& box = Notes(ui, 5);
  const std::vector<int32_t> before = NotesOf(5);
  ASSERT_GE(before.size(), 3u);
  store::FileDeclaration& notes = appdata::ProgressNotesFile();
  box.PrimeNewRecord();
  appdata::PRO.RECORD_NO = 90001;
  ASSERT_EQ(store::Add(notes), 0) << store::ErrorText();
  box.Locate(LocateMode::kAtBuffer, store::Pointer(notes));
  EXPECT_EQ(Shown(box).size(), before.size() + 1);
  EXPECT_EQ(box.current_row(), static_cast<int>(before.size() + 1));
  EXPECT_EQ(ui.selected, box.current_row());
  EXPECT_EQ(int32_t{appdata::PRO.RECORD_NO}, 90001);
  // A changed note in the middle keeps the highlight.
  ui.selected = 2;
  ASSERT_TRUE(box.RereadCurrent());
  const int32_t second = appdata::PRO.RECORD_NO;
  appdata::PRO.WEIGHT = appdata::PRO.WEIGHT + 1;
  ASSERT_EQ(store::Put(notes), 0) << store::ErrorText();
  box.Locate(LocateMode::kAtBuffer, store::Pointer(notes));
  EXPECT_EQ(box.current_row(), 2);
  EXPECT_EQ(int32_t{appdata::PRO.RECORD_NO}, second);
  // The new note goes again, leaving the patient as the other tests expect.
  ui.selected = static_cast<int>(before.size() + 1);
  ASSERT_TRUE(box.RereadCurrent());
  ASSERT_EQ(store::Delete(notes), 0) << store::ErrorText();
  EXPECT_EQ(NotesOf(5), before);
}

TEST_F(BrowsePagingTest, DeletingTheLastRecordOfAPageRefillsItAndHighlightsARowThatExists) {
  RecordingUi ui(3);
  BrowseBox& box = Notes(ui, 7);
  const std::vector<int32_t> all = NotesOf(7);
  ASSERT_GE(all.size(), 4u);
  box.RefreshPage(RefreshMode::kReset);
  const std::vector<int32_t> before = Shown(box);
  for (int i = 0; i < 2; ++i) box.Scroll(event::kScrollDown);
  ASSERT_EQ(box.current_row(), 3);
  ASSERT_TRUE(box.RereadCurrent());
  ASSERT_EQ(store::Delete(appdata::ProgressNotesFile()), 0) << store::ErrorText();
  box.DropCurrent();
  box.RefreshPage(RefreshMode::kAnchored);
  std::vector<int32_t> after = Shown(box);
  ASSERT_EQ(after.size(), 3u);
  EXPECT_EQ(after[0], before[0]);
  EXPECT_EQ(after[1], before[1]);
  EXPECT_NE(after[2], before[2]);  // the next note of the patient moved up
  EXPECT_EQ(box.current_row(), 2);
  EXPECT_EQ(int32_t{appdata::PRO.RECORD_NO}, after[1]);
}

TEST_F(BrowsePagingTest, AChangedKeyRelocatesThePageAroundTheRecordsNewPlace) {
  RecordingUi ui(5);
  BrowseBox& box = Start(kPatients, ui);
  box.SetOrder(1);  // by last name
  box.ResetView();
  box.RefreshPage(RefreshMode::kReset);
  box.Scroll(event::kScrollDown);
  ASSERT_TRUE(box.RereadCurrent());
  const int32_t number = appdata::PAT.PATIENT_NUMBER;
  const std::string old_name(appdata::PAT.LAST_NAME, sizeof appdata::PAT.LAST_NAME);
  std::memset(appdata::PAT.LAST_NAME, ' ', sizeof appdata::PAT.LAST_NAME);
  std::memcpy(appdata::PAT.LAST_NAME, "Zywicki", 7);
  ASSERT_EQ(store::Put(appdata::PatientsFile()), 0) << store::ErrorText();
  box.Locate(LocateMode::kAtBuffer);
  EXPECT_EQ(box.current_row(), 5);  // the last name of all: the last page, its last row
  EXPECT_EQ(int32_t{appdata::PAT.PATIENT_NUMBER}, number);
  EXPECT_EQ(box.page().back().values[0].text.substr(0, 7), "Zywicki");
  ui.selected = box.current_row();
  ASSERT_TRUE(box.RereadCurrent());
  std::memcpy(appdata::PAT.LAST_NAME, old_name.data(), old_name.size());
  ASSERT_EQ(store::Put(appdata::PatientsFile()), 0) << store::ErrorText();
}

}  // namespace
}  // namespace carelog::app
