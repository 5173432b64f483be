// The list's scroll events, the new-selection pass and the key distribution behind the thumb.
#include <algorithm>
#include <cmath>
#include <iterator>

#include "app/patterns/browse_box.h"
#include "app/patterns/browse_services.h"
#include "runtime/store/file_statements.h"
#include "runtime/values/locale.h"
#include "runtime/window/events.h"

namespace carelog::app {
namespace {

constexpr int kDistributionSize = 100;
constexpr int kThumbTop = 1;
constexpr int kThumbBottom = 100;

struct ScrollRow {
  int event;
  void (*act)(BrowseBox& box, int visible);
};

int PageCount(const BrowseBox& box) {
  return static_cast<int>(box.page().size());
}

void ScrollUp(BrowseBox& box, int) {
  if (box.current_row() > 1) {
    box.set_current_row(box.current_row() - 1);
  } else {
    box.Fill(1, Direction::kBackward, true);
  }
}

void ScrollDown(BrowseBox& box, int) {
  if (box.current_row() < PageCount(box)) {
    box.set_current_row(box.current_row() + 1);
  } else {
    box.Fill(1, Direction::kForward, true);
  }
}

void PageUp(BrowseBox& box, int visible) {
  int missed = box.Fill(visible, Direction::kBackward, true);
  box.set_current_row(std::max(box.current_row() - missed, 1));
}

void PageDown(BrowseBox& box, int visible) {
  int missed = box.Fill(visible, Direction::kForward, true);
  box.set_current_row(std::min(box.current_row() + missed, PageCount(box)));
}

void ScrollTop(BrowseBox& box, int visible) {
  box.ClearPage();
  box.ResetView();
  box.Fill(visible, Direction::kForward, true);
  box.set_current_row(PageCount(box) > 0 ? 1 : 0);
}

void ScrollBottom(BrowseBox& box, int visible) {
  box.ClearPage();
  box.ResetView();
  box.Fill(visible, Direction::kBackward, true);
  box.set_current_row(PageCount(box));
}

constexpr ScrollRow kScrollRows[] = {
    {window::event::kScrollUp, &ScrollUp},   {window::event::kScrollDown, &ScrollDown},
    {window::event::kPageUp, &PageUp},       {window::event::kPageDown, &PageDown},
    {window::event::kScrollTop, &ScrollTop}, {window::event::kScrollBottom, &ScrollBottom},
};

}  // namespace

void BrowseBox::Scroll(int event) {
  if (event == window::event::kScrollDrag) {
    int position = ui_.Thumb();
    if (position <= kThumbTop) return Scroll(window::event::kScrollTop);
    if (position >= kThumbBottom) return Scroll(window::event::kScrollBottom);
    if (distribution_.size() == kDistributionSize) {
      LocateAt(distribution_[static_cast<size_t>(position - 2)]);
    }
    return;
  }
  if (page_.empty()) return;
  for (const ScrollRow& row : kScrollRows) {
    if (row.event != event) continue;
    TakeListRow();
    row.act(*this, ui_.VisibleRows());
    ui_.ShowPage(page_, current_row_);
    LoadCurrent();
    ui_.PostNewSelection();
    return;
  }
}

int BrowseBox::CompareInKeyOrder(const FieldValue& a, const FieldValue& b) const {
  int order;
  if (a.is_text) {
    const bool nocase = (Key().attributes & store::kKeyNoCase) != 0;
    order =
        nocase ? values::CompareCollated(a.text.data(), a.text.size(), b.text.data(), b.text.size())
               : values::CompareText(a.text.data(), a.text.size(), b.text.data(), b.text.size());
  } else {
    order = a.number < b.number ? -1 : a.number > b.number ? 1 : 0;
  }
  order = order < 0 ? -1 : order > 0 ? 1 : 0;
  return Key().components[0] < 0 ? -order : order;
}

int BrowseBox::ThumbForBuffer() const {
  if (distribution_.size() != kDistributionSize) return 0;
  FieldValue value = FirstComponent().Read();
  for (int i = 1; i <= kDistributionSize; ++i) {
    if (CompareInKeyOrder(distribution_[static_cast<size_t>(i - 1)], value) >= 0) {
      return i == 1 ? 0 : i;
    }
  }
  return kDistributionSize;
}

void BrowseBox::ShowSelection() {
  if (page_.empty()) return;
  TakeListRow();
  LoadCurrent();
  const bool full = static_cast<int>(page_.size()) >= ui_.VisibleRows();
  ui_.SetScrollBar(full);
  if (full) thumb_ = ThumbForBuffer();
}

void BrowseBox::StoreDistribution(const FieldValue& low, const FieldValue& high) {
  distribution_.assign(kDistributionSize, low);
  if (low.is_text) {
    std::vector<std::string> stops = TextThumbStops(low.text, high.text, kDistributionSize);
    for (int k = 0; k < kDistributionSize; ++k) distribution_[k].text = stops[k];
    return;
  }
  for (int k = 2; k < kDistributionSize; ++k) {
    distribution_[k - 1].number =
        std::trunc(low.number + (k - 1) * (high.number - low.number) / (kDistributionSize - 1));
  }
  distribution_[kDistributionSize - 1] = high;
}

void BrowseBox::BuildKeyDistribution() {
  std::vector<uint8_t> kept(primary().buffer, primary().buffer + primary().record_size);
  FieldRef first = FirstComponent();
  ResetView();
  int code = view::PreviousInView(view_);
  if (code == 0) {
    FieldValue high = first.Read();
    ResetView();
    code = view::NextInView(view_);
    if (code == 0) StoreDistribution(first.Read(), high);
  }
  std::copy(kept.begin(), kept.end(), primary().buffer);
  if (code != 0 && code != 33) ReadFailed(code);
}

}  // namespace carelog::app
