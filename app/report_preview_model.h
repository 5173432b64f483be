// What the report preview shows for its page count and its state: the preview's algorithms
// without the window, so that the window code only copies a PreviewView onto its controls.
//
// State: the current page (in facing mode the right-hand page, always odd there; page 1 stands
// alone on the right), the other page (current - 1, the left-hand page, 0 = none), the display
// mode and whether zoom was entered from facing pages.
//
//   single (0) --Zoom / click--> zoom (1) --Zoom--> single or facing, as before the zoom
//   single (0) --Facing--> facing (2) --Facing--> single (0)
//   facing (2) --Zoom / click--> zoom (1)
#pragma once

#include <cstdint>
#include <string>

namespace carelog::app {

enum class PreviewMode : uint8_t { kSingle = 0, kZoom = 1, kFacing = 2 };

struct PreviewView {
  // The page each display shows; 0 = the display is hidden.
  int single = 0, left = 0, right = 0, zoom = 0;
  std::string zone2, zone3, zone4;  // status-bar zones 2 to 4
  bool previous_enabled = false, next_enabled = false, facing_enabled = false;
  std::string zoom_text, zoom_tip, facing_text, facing_tip;
};

class PreviewModel {
 public:
  // REQUIRES: pages >= 1.
  explicit PreviewModel(int pages);

  // Draw: settles the facing pair and returns what every control shows.
  PreviewView Draw();

  void Previous();
  void Next();
  void Zoom();
  void Facing();
  void ClickPage();  // the single page, the right-hand page or the zoomed page
  void ClickLeft();  // the left-hand page
  // The page the jump window starts with, and a jump to a page (limited to 1..N).
  int JumpStart() const;
  void JumpTo(int page);

  int pages() const { return pages_; }
  int current() const { return current_; }
  PreviewMode mode() const { return mode_; }

 private:
  int pages_;
  int current_ = 1;
  PreviewMode mode_ = PreviewMode::kSingle;
  bool facing_before_zoom_ = false;
  bool facing_item_enabled_;
  std::string zoom_text_ = "&Zoom In!";
  std::string zoom_tip_ = "Zoom in on a page of this report";
  std::string facing_text_ = "&Facing Pages!";
  std::string facing_tip_ = "View the report two pages at a time";
};

}  // namespace carelog::app
