// One browse box: a list that shows one page of a file's records in the order of a key,
// optionally limited to one range, and reads further records as the user scrolls. A browse
// window holds one box; a form may hold several, each with its own BrowseBox (its own view,
// page, range value and bound names).
//
// The page (invariants):
//   1. page.size() <= the list's visible row count; only this one page of records is held.
//   2. Every entry carries the record's view position, so a refresh re-reads from an anchor.
//   3. current_row is in 1..page.size() when the page is not empty, 0 when it is.
//   4. While the page is not empty the primary record buffer holds the current row's record
//      (re-loaded after every step that moves the page or the row).
//
// Paging steps and who runs them:
//   ResetView            close the view, prime the range, SET(key), open: reads start at the
//                        range's first record (NEXT) or its last (PREVIOUS)
//   Fill(n, dir, add)    read n records in one direction onto the page (re-anchoring at the
//                        page's edge first, unless the last fill ended on that edge and
//                        nothing has read the file since); returns how many could not be read
//   RefreshPage(mode)    rebuild the page around an anchor (modes 1-4, see RefreshMode)
//   Locate(mode)         rebuild the page so that a given record is highlighted
//   Scroll(event)        the list's scroll events
//   BuildKeyDistribution the 100 values behind the scroll-bar thumb, from two reads
//
// A read error other than end of file shows the retrieval warning through the BrowseUi, asks
// for the window to close and stops the step; the page keeps what it had.
//
// A browse box inside a form: the form keeps one BrowseBox and one WindowListUi
// (browse_window_ui.h) per box, numbered from 2 so that each binds its own reset value
// ("BRW2::Sort1:Reset:PAT:Patient_Number"), all over tables whose controls are the form's:
//   WindowListUi ui(57, 0, 0);  BrowseBox box(kProgressBox, 2, ui);  box.Resolve(&problem);
//   after OPEN:       ui.Attach();  box.Bind();  box.set_reset_value(box.RangeSourceValue());
//                     box.ResetView();  box.RefreshPage(RefreshMode::kReset);
//   list events:      box.Bind(); box.Scroll(EVENT()) for the scroll events; on
//                     EVENT:NewSelection ui.TakeNewSelection(); box.ShowSelection()
//   range changed:    box.set_reset_value(...); box.ClearPage(); box.RefreshPage(kReset)
//
// REQUIRES: every method runs on the thread that owns the box, holding the global semaphore,
// with the box's files open.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/patterns/browse_table.h"
#include "app/patterns/record_fields.h"
#include "runtime/view/view_engine.h"

namespace carelog::app {

struct PageEntry {
  std::vector<FieldValue> values;  // the columns, in table order
  std::vector<uint8_t> record;     // the primary record as read
  std::string position;            // the view's position of the record
};
using Page = std::deque<PageEntry>;

// What a box needs of its window; the loop's implementation works on the list control, tests
// use a recording one.
class BrowseUi {
 public:
  virtual ~BrowseUi() = default;
  virtual int VisibleRows() = 0;
  virtual int SelectedRow() = 0;  // the list's selected row, from 1
  virtual void ShowPage(const Page& page, int selected) = 0;
  virtual void SetScrollBar(bool on) = 0;
  virtual int Thumb() = 0;  // 0 to 100
  virtual void SetThumb(int thumb) = 0;
  virtual void EnableChangeDelete(bool enabled) = 0;
  virtual void PostNewSelection() = 0;
  virtual void PostClose() = 0;
  virtual void ReadError(const appdata::FileInfo& file) = 0;  // the retrieval warning
  virtual void Busy(bool busy) = 0;                           // hourglass cursor
};

enum class RefreshMode : uint8_t {
  kNone = 0,
  kAtView = 1,     // the page starts at the view's current position
  kAnchored = 2,   // the page keeps its first entry and its highlighted record
  kReset = 3,      // as 2; after a range or order change the page is empty and starts over
  kFromEnd = 4,    // the page is filled backward from the end of the range
  kAnchoring = 5,  // set while an anchored refresh runs
};

enum class LocateMode : uint8_t {
  kNone = 0,
  kAtView = 1,    // at the view's current position
  kAtBuffer = 2,  // at the key value now in the record buffer
};

enum class Direction : uint8_t { kBackward = 1, kForward = 2 };

// A file's reading sequence at one moment (its current record and how reading was set up).
struct ReadingMark {
  uint32_t record = 0;
  uint32_t bits = 0;
  int mode = 0;
  const void* key = nullptr;
  uint32_t argument = 0;
  std::string position;
  int last_read = 0;
  bool operator==(const ReadingMark&) const = default;
};

class BrowseBox {
 public:
  // REQUIRES: `table` is static; `ui` outlives the box. `number` is the box's number in its
  // window (1 for a browse window), which prefixes its bound names.
  BrowseBox(const BrowseTable& table, int number, BrowseUi& ui);
  ~BrowseBox();
  BrowseBox(const BrowseBox&) = delete;
  BrowseBox& operator=(const BrowseBox&) = delete;

  // Resolves the table's names; false (with *problem naming the first bad one) when a key,
  // field or lookup does not belong to its file.
  bool Resolve(std::string* problem);
  // Binds the primary record, the memos of the box's files and the reset value for the
  // range expression. Names are process-wide, so the loop binds again whenever it resumes.
  void Bind();

  // The order (from 1) whose tab has `tab` as its text; the last order when none matches.
  int OrderForTab(const std::string& tab) const;
  void SetOrder(int order);
  int order() const { return order_; }
  // The order the page was last filled in; 0 before the first fill.
  int order_filled() const { return filled_order_; }
  void MarkFilled() { filled_order_ = order_; }
  bool ranged() const;

  // The range source read now (the patient number in the patient buffer, the local date).
  int32_t RangeSourceValue() const;
  void PutRangeSource(int32_t value) const;
  int32_t reset_value() const { return reset_value_; }
  void set_reset_value(int32_t value) { reset_value_ = value; }
  int32_t* local_date() { return &local_date_; }

  void ResetView();
  int Fill(int items, Direction direction, bool add);
  void RefreshPage(RefreshMode mode);
  // At the buffer with a record number: among the records whose key value the buffer holds,
  // at that record (the one a form has just written), not at the first of them.
  void Locate(LocateMode mode, uint32_t record = 0);
  void Scroll(int event);
  void BuildKeyDistribution();
  // The thumb for the record in the buffer: the first of the 100 entries not below its first
  // key component (0 for the first entry).
  int ThumbForBuffer() const;
  // Positions on the first record at or after a value of the first key component (the type-
  // ahead locator): the other components are cleared and the page is located at the buffer.
  void LocateAt(const FieldValue& first_component);

  // Copies the current row's record into the record buffer (nothing when the page is empty).
  void LoadCurrent();
  // Clears the primary record buffer (blanks and zeros) and, in a ranged order, puts the reset
  // value into the range field: the start of a new record that belongs to the range.
  void PrimeNewRecord();
  // One entry less at the current row (the form deleted its record).
  void DropCurrent();
  // Watches the current row's record and reads it again by its position, so the buffer holds
  // it as stored now. False when the page is empty or the record can no longer be read.
  bool RereadCurrent();
  // The current row from the list, clamped into the page.
  void TakeListRow();
  // The new-selection pass: scroll bar and thumb from the page and the buffer.
  void ShowSelection();
  void CloseView();
  // Sends QUICKSCAN on or off to the primary file's driver (browses whose table asks for it).
  void QuickScan(bool on);

  const Page& page() const { return page_; }
  int current_row() const { return current_row_; }
  void set_current_row(int row) { current_row_ = row; }
  int thumb() const { return thumb_; }
  const BrowseTable& table() const { return table_; }
  view::ViewDeclaration& view() { return view_; }
  store::FileDeclaration& primary() const;
  std::string ResetName() const;  // "BRW1::Sort1:Reset:PAT:Patient_Number"
  void ClearPage();

 private:
  struct Column {
    FieldRef field;
    bool from_lookup = false;
    std::optional<double> shown_blank;
  };

  const SortOrder& Order() const;
  store::KeyDeclaration& Key() const;
  const appdata::FieldRow& FirstComponentRow() const;
  FieldRef FirstComponent() const;
  PageEntry MakeEntry();
  void LookUp();
  void AddEntry(Direction direction);
  bool ReadFailed(int code);
  void Reanchor(Direction direction);
  bool StandsAtEdge(Direction direction) const;
  void ChooseAnchor(RefreshMode mode, std::string* saved);
  void HighlightAfterFill(RefreshMode mode, const std::string& saved);
  void OpenViewAtBuffer(uint32_t record);
  void PrimeRange() const;
  void SetFilter();
  int ReadOne(Direction direction);
  void StoreDistribution(const FieldValue& low, const FieldValue& high);
  int CompareInKeyOrder(const FieldValue& a, const FieldValue& b) const;

  const BrowseTable& table_;
  int number_;
  BrowseUi& ui_;
  std::vector<Column> columns_;
  FieldRef lookup_by_;  // the primary's field holding the lookup number
  FieldRef lookup_key_field_;
  FieldRef source_;
  view::ViewDeclaration view_{};
  std::string filter_;  // the range expression with this box's prefix; owned for the view
  Page page_;
  int current_row_ = 0;
  int order_ = 0;
  int filled_order_ = 0;
  int32_t reset_value_ = 0;
  int32_t local_date_ = 0;
  int thumb_ = 0;
  std::vector<FieldValue> distribution_;  // 100 entries once built
  bool view_open_ = false;
  // Set by a fill that read all it was asked to onto the page: the view stands on the page's
  // edge in that direction, the file's reading sequence as `mark` says.
  struct Edge {
    Direction direction;
    ReadingMark mark;
  };
  std::optional<Edge> at_edge_;
};

}  // namespace carelog::app
