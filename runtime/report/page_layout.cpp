#include "runtime/report/page_layout.h"

#include <algorithm>

#include "runtime/report/report.h"

namespace carelog::report {

PageLayout::PageLayout(PageGeometry geometry, PageDecorations decorations, PageSink sink)
    : geometry_(geometry), decorations_(std::move(decorations)), sink_(std::move(sink)) {}

void PageLayout::SetRange(bool on, int first, int last) {
  range_ = on;
  first_ = first;
  last_ = last;
}

int PageLayout::Available() const {
  return geometry_.body_height - header_.height - geometry_.footer_height;
}

void PageLayout::StartPage() {
  if (started_) return;
  started_ = true;
  header_ = decorations_.header ? decorations_.header(page_number_) : BandDrawing{};
  form_ = decorations_.form ? decorations_.form(page_number_) : BandDrawing{};
  running_ = 0;
}

void PageLayout::FinishPage() {
  if (!started_) return;
  bool drawn = !range_ || (page_number_ >= first_ && page_number_ <= last_);
  if (drawn && !aborted_) {
    DrawList page;
    int left = geometry_.left, top = geometry_.top;
    page.Append(form_.drawing, left, top);
    page.Append(header_.drawing, left, top);
    for (const Queued& q : queue_)
      page.Append(q.band.band.drawing, left, top + header_.height + q.y);
    if (decorations_.footer) {
      BandDrawing footer = decorations_.footer(page_number_);
      page.Append(footer.drawing, left, top + geometry_.body_height - footer.height);
    }
    if (!sink_(page, page_number_)) aborted_ = true;
  }
  ++page_number_;
  ++pages_finished_;
  started_ = false;
  queue_.clear();
  running_ = 0;
}

// The first band that goes to the next page with a band that does not fit: the earliest
// band whose keep count reaches a band that moves, or where an open group began.
size_t PageLayout::FirstToMove() const {
  size_t first = queue_.size();
  for (size_t g : groups_) first = std::min(first, g);
  bool changed = true;
  while (changed) {
    changed = false;
    for (size_t i = 0; i < first; ++i) {
      if (i + static_cast<size_t>(queue_[i].band.keep) >= first) {
        first = i;
        changed = true;
        break;
      }
    }
  }
  return first;
}

void PageLayout::BreakBefore() {
  size_t first = FirstToMove();
  if (first == 0) first = queue_.size();  // moving every band would leave the page empty
  std::vector<Queued> moved(std::make_move_iterator(queue_.begin() + static_cast<long>(first)),
                            std::make_move_iterator(queue_.end()));
  queue_.resize(first);
  for (size_t& g : groups_) g = g >= first ? g - first : 0;
  FinishPage();
  StartPage();
  for (Queued& q : moved) Put(std::move(q.band));
}

void PageLayout::Put(PlacedBand band) {
  int height = band.band.height;
  bool absolute = band.flags & band_attr::kAbsolute;
  queue_.push_back(Queued{std::move(band), running_});
  if (!absolute) running_ += height;
}

void PageLayout::Place(PlacedBand band) {
  if ((band.flags & band_attr::kPageBefore) || band.page_before != 0) {
    if (started_ && !queue_.empty()) FinishPage();
    if (band.page_before != 0) page_number_ = band.page_before;
  }
  StartPage();
  bool counted = !(band.flags & band_attr::kNotCounted);
  if (counted && !queue_.empty() && running_ + band.band.height > Available()) BreakBefore();
  if (band.flags & band_attr::kGroupBegin) {
    if (groups_.size() < static_cast<size_t>(kMaxGroupDepth)) {
      groups_.push_back(queue_.size());
    } else {
      ++deeper_groups_;
    }
  }
  bool ends_group = band.flags & band_attr::kGroupEnd;
  bool page_after = (band.flags & band_attr::kPageAfter) || band.page_after != 0;
  int next_number = band.page_after;
  Put(std::move(band));
  if (ends_group) {
    if (deeper_groups_ > 0) {
      --deeper_groups_;
    } else if (!groups_.empty()) {
      groups_.pop_back();
    }
  }
  if (page_after) {
    FinishPage();
    if (next_number != 0) page_number_ = next_number;
  }
}

void PageLayout::EndPage() {
  if (started_ && !queue_.empty()) FinishPage();
}

}  // namespace carelog::report
