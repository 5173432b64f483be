// The browse box's window side: its page shown in the list control (as the list's queue: the
// column values in format order and, last, the record's position), the list's rows, scroll bar
// and thumb, the Change and Delete buttons, and the events the box posts to its own list.
#pragma once

#include <vector>

#include "app/patterns/browse_box.h"
#include "runtime/window/list_control.h"

namespace carelog::app {

class WindowListUi : public BrowseUi {
 public:
  // `list`, `change` and `remove` are control numbers in the calling thread's top window; 0
  // for a button the window does not have.
  WindowListUi(int list, int change, int remove);
  ~WindowListUi() override;

  // Hands the queue to the list; after the window opened.
  void Attach();

  int VisibleRows() override;
  int SelectedRow() override;
  void ShowPage(const Page& page, int selected) override;
  void SetScrollBar(bool on) override;
  int Thumb() override;
  void SetThumb(int thumb) override;
  void EnableChangeDelete(bool enabled) override;
  void PostNewSelection() override;
  void PostClose() override;
  void ReadError(const appdata::FileInfo& file) override;
  void Busy(bool busy) override;

  // A new selection posted by the box and not yet handled.
  bool new_selection_pending() const { return pending_; }
  void TakeNewSelection() { pending_ = false; }

 private:
  int list_, change_, remove_;
  window::ListQueue queue_;
  bool attached_ = false;
  bool pending_ = false;
};

}  // namespace carelog::app
