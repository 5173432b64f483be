#include "app/report_preview_model.h"

#include <algorithm>

namespace carelog::app {

namespace {
std::string PageOf(int page, int pages) {
  return "Page " + std::to_string(page) + " of " + std::to_string(pages);
}
}  // namespace

PreviewModel::PreviewModel(int pages)
    : pages_(std::max(pages, 1)), facing_item_enabled_(pages_ > 1) {}

PreviewView PreviewModel::Draw() {
  PreviewView v;
  if (mode_ == PreviewMode::kFacing) {
    if (current_ % 2 == 0) ++current_;
    int other = current_ - 1;
    v.left = other;
    v.right = current_ <= pages_ ? current_ : 0;
    v.zone3 = "Facing Pages";
    if (v.left != 0 && v.right != 0) {
      v.zone4 = "Pages " + std::to_string(other) + " and " + std::to_string(current_) + " of " +
                std::to_string(pages_);
    } else {
      v.zone4 = PageOf(v.left != 0 ? other : current_, pages_);
    }
  } else if (mode_ == PreviewMode::kZoom) {
    // Zoomed from a facing pair whose right page is past the end, the left page is shown;
    // the current page stays, so zooming out returns to the same pair.
    v.zoom = std::min(current_, pages_);
    v.zone2 = "ZOOM";
    v.zone3 = "Single Page";
    v.zone4 = PageOf(v.zoom, pages_);
  } else {
    v.single = current_;
    v.zone3 = "Single Page";
    v.zone4 = PageOf(current_, pages_);
  }
  v.previous_enabled = current_ != 1;
  v.next_enabled = current_ < pages_;
  v.facing_enabled = facing_item_enabled_;
  v.zoom_text = zoom_text_;
  v.zoom_tip = zoom_tip_;
  v.facing_text = facing_text_;
  v.facing_tip = facing_tip_;
  return v;
}

void PreviewModel::Previous() {
  current_ -= mode_ == PreviewMode::kFacing ? 2 : 1;
  current_ = std::max(current_, 1);
}

void PreviewModel::Next() {
  current_ += mode_ == PreviewMode::kFacing ? 2 : 1;
}

void PreviewModel::Zoom() {
  if (mode_ != PreviewMode::kZoom) {
    facing_before_zoom_ = mode_ == PreviewMode::kFacing;
    mode_ = PreviewMode::kZoom;
    facing_item_enabled_ = false;
    zoom_text_ = "&Zoom Out!";
    zoom_tip_ = facing_before_zoom_ ? "Zoom out to facing page mode" : "Zoom out to full page mode";
    return;
  }
  facing_item_enabled_ = pages_ > 1;
  zoom_text_ = "&Zoom In!";
  zoom_tip_ = "Zoom in on a page of this report";
  mode_ = facing_before_zoom_ ? PreviewMode::kFacing : PreviewMode::kSingle;
}

void PreviewModel::Facing() {
  if (mode_ == PreviewMode::kFacing) {
    if (current_ > pages_) current_ -= 1;
    mode_ = PreviewMode::kSingle;
    facing_text_ = "&Facing Pages!";
    facing_tip_ = "View the report two pages at a time";
  } else if (mode_ == PreviewMode::kSingle) {
    if (current_ % 2 == 0) ++current_;
    mode_ = PreviewMode::kFacing;
    facing_text_ = "&Single Pages!";
    facing_tip_ = "View the report one page at a time";
  }
}

void PreviewModel::ClickPage() {
  Zoom();
}

void PreviewModel::ClickLeft() {
  if (current_ > 1) current_ -= 1;
  Zoom();
}

int PreviewModel::JumpStart() const {
  return current_ > pages_ ? current_ - 1 : current_;
}

void PreviewModel::JumpTo(int page) {
  current_ = std::clamp(page, 1, pages_);
}

}  // namespace carelog::app
