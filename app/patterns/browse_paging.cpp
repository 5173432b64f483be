// The paging steps of a browse box: reset view, the fill step, refresh page and locate.
#include <cstring>

#include "app/patterns/browse_box.h"
#include "runtime/store/driver_state.h"
#include "runtime/store/error_state.h"
#include "runtime/store/file_statements.h"

namespace carelog::app {
namespace {

constexpr int kEndOfFile = 33;

// The file's reading sequence as the store holds it: what another reader of the same file on
// this thread would have changed.
ReadingMark MarkOf(const store::FileDeclaration& file) {
  ReadingMark mark;
  if (const store::DriverState* state = store::StateOf(file)) {
    mark.record = state->current_record;
    mark.bits = state->bits & (store::kBitReading | store::kBitCurrentRecord);
    mark.mode = static_cast<int>(state->reading.mode);
    mark.key = state->reading.key;
    mark.argument = state->reading.record;
    mark.position = state->reading.position;
    mark.last_read = state->last_read_op;
  }
  return mark;
}

}  // namespace

void BrowseBox::PrimeRange() const {
  if (!ranged()) return;
  FieldValue value;
  value.number = reset_value_;
  FirstComponent().Write(value);
}

void BrowseBox::SetFilter() {
  view_.primary = &primary();
  view_.filter = {filter_.data(), static_cast<uint32_t>(filter_.size())};
}

void BrowseBox::ResetView() {
  at_edge_.reset();
  CloseView();
  PrimeRange();
  store::Set(Key());
  SetFilter();
  view_open_ = view::OpenView(view_) == 0;
}

void BrowseBox::OpenViewAtBuffer(uint32_t record) {
  at_edge_.reset();
  CloseView();
  PrimeRange();
  if (record != 0) {
    store::Set(Key(), Key(), static_cast<int32_t>(record));
  } else {
    store::Set(Key(), Key());
  }
  SetFilter();
  view_open_ = view::OpenView(view_) == 0;
}

int BrowseBox::ReadOne(Direction direction) {
  return direction == Direction::kForward ? view::NextInView(view_) : view::PreviousInView(view_);
}

// Any error but the end of the file: the user is told and the window closes.
bool BrowseBox::ReadFailed(int code) {
  if (code == 0 || code == kEndOfFile) return false;
  ui_.ReadError(appdata::Info(table_.primary));
  ui_.PostClose();
  return true;
}

void BrowseBox::LookUp() {
  const LookupRow& lookup = *table_.lookup;
  lookup_key_field_.Write(lookup_by_.Read());
  store::FileDeclaration& file = appdata::Declaration(lookup.file);
  if (store::Get(file, *appdata::FindKey(lookup.file, lookup.key)) != 0) {
    std::memset(file.buffer, 0, file.record_size);
    for (const Column& column : columns_) {
      if (column.from_lookup) column.field.Clear();
    }
  }
}

PageEntry BrowseBox::MakeEntry() {
  if (table_.lookup) LookUp();
  PageEntry entry;
  entry.values.reserve(columns_.size());
  for (const Column& column : columns_) {
    FieldValue value = column.field.Read();
    if (!value.is_text && value.number == column.shown_blank) value.number = 0;
    entry.values.push_back(std::move(value));
  }
  const store::FileDeclaration& file = primary();
  entry.record.assign(file.buffer, file.buffer + file.record_size);
  entry.position = view::ViewPosition(view_);
  return entry;
}

void BrowseBox::AddEntry(Direction direction) {
  const size_t visible = static_cast<size_t>(ui_.VisibleRows());
  if (page_.size() >= visible && !page_.empty()) {
    if (direction == Direction::kForward) {
      page_.pop_front();
    } else {
      page_.pop_back();
    }
  }
  if (direction == Direction::kForward) {
    page_.push_back(MakeEntry());
  } else {
    page_.push_front(MakeEntry());
  }
}

// Positions the view on the page's edge record so that the next read continues past it.
void BrowseBox::Reanchor(Direction direction) {
  const PageEntry& edge = direction == Direction::kForward ? page_.back() : page_.front();
  view::ResetView(view_, edge.position);
  view::NextInView(view_);
}

// The view still stands on the page's edge record in `direction` when the last fill ended
// there and nothing has read the file since: the next fill that way reads on from it.
bool BrowseBox::StandsAtEdge(Direction direction) const {
  return at_edge_ && at_edge_->direction == direction &&
         at_edge_->mark == MarkOf(primary());
}

int BrowseBox::Fill(int items, Direction direction, bool add) {
  if (!view_open_) ResetView();
  if (!page_.empty() && !StandsAtEdge(direction)) Reanchor(direction);
  at_edge_.reset();
  const bool scan = items > 1;
  if (scan) QuickScan(true);
  while (items > 0) {
    int code = ReadOne(direction);
    if (code == kEndOfFile) {
      PutRangeSource(reset_value_);
      break;
    }
    if (ReadFailed(code)) break;
    if (add) AddEntry(direction);
    --items;
  }
  if (scan) QuickScan(false);
  if (add && items == 0 && !page_.empty()) at_edge_ = Edge{direction, MarkOf(primary())};
  return items;
}

void BrowseBox::ChooseAnchor(RefreshMode mode, std::string* saved) {
  at_edge_.reset();
  if (mode == RefreshMode::kAtView) {
    *saved = view::ViewPosition(view_);
    view::ResetView(view_, *saved);
  } else if (!page_.empty()) {
    size_t row = current_row_ >= 1 && current_row_ <= static_cast<int>(page_.size())
                     ? static_cast<size_t>(current_row_ - 1)
                     : page_.size() - 1;
    *saved = page_[row].position;
    view::ResetView(view_, page_.front().position);
  } else {
    saved->clear();
    ResetView();
  }
}

void BrowseBox::HighlightAfterFill(RefreshMode mode, const std::string& saved) {
  if (page_.empty()) {
    std::memset(primary().buffer, 0, primary().record_size);
    if (ranged()) PutRangeSource(reset_value_);
    current_row_ = 0;
    ui_.ShowPage(page_, 0);
    ui_.EnableChangeDelete(false);
    return;
  }
  int row = static_cast<int>(page_.size());
  if (!saved.empty()) {
    for (size_t i = 0; i < page_.size(); ++i) {
      if (page_[i].position == saved) {
        row = static_cast<int>(i + 1);
        break;
      }
    }
  } else if (mode != RefreshMode::kFromEnd) {
    row = 1;
  }
  current_row_ = row;
  ui_.ShowPage(page_, current_row_);
  LoadCurrent();
  ui_.EnableChangeDelete(true);
}

void BrowseBox::RefreshPage(RefreshMode mode) {
  ui_.Busy(true);
  if (!view_open_) ResetView();
  std::string saved;
  ChooseAnchor(mode, &saved);
  page_.clear();
  const int visible = ui_.VisibleRows();
  const Direction direction =
      mode == RefreshMode::kFromEnd ? Direction::kBackward : Direction::kForward;
  int left = Fill(visible, direction, true);
  if (!saved.empty() && left > 0) {
    if (page_.empty()) ResetView();
    Fill(left, direction == Direction::kForward ? Direction::kBackward : Direction::kForward, true);
  }
  HighlightAfterFill(mode, saved);
  ui_.Busy(false);
}

void BrowseBox::Locate(LocateMode mode, uint32_t record) {
  at_edge_.reset();
  if (mode == LocateMode::kAtView) {
    std::string saved = view::ViewPosition(view_);
    view::ResetView(view_, saved);
  } else {
    OpenViewAtBuffer(record);
  }
  page_.clear();
  current_row_ = 0;
  int missed = Fill(1, Direction::kForward, false);
  RefreshPage(missed == 0 ? RefreshMode::kAtView : RefreshMode::kFromEnd);
  ui_.PostNewSelection();
}

void BrowseBox::LocateAt(const FieldValue& first_component) {
  const appdata::FileInfo& info = appdata::Info(table_.primary);
  store::KeyDeclaration& key = Key();
  for (int c = 1; c < key.component_count; ++c) {
    FieldRef component;
    component.Resolve(table_.primary, ComponentField(info, key.components[c]).name);
    component.Clear();
  }
  FieldValue value = first_component;
  value.is_text = FirstComponent().is_text();
  FirstComponent().Write(value);
  Locate(LocateMode::kAtBuffer);
}

}  // namespace carelog::app
