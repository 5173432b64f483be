// The refresh routine and its reset check: which sort order the sheet's tab selects, whether the
// range source moved, and how the page is rebuilt when either changed.
#include "app/patterns/browse_session.h"
#include "app/procedure_globals.h"
#include "runtime/window/properties.h"
#include "runtime/window/window_runtime.h"

namespace carelog::app {
namespace {

// The sort order the sheet selects; 1 in a browse with one order.
int ChosenOrder(BrowseSession& session) {
  if (session.table.orders.size() <= 1 || session.table.sheet == 0) return 1;
  window::Structure& window = session.frame.window();
  window::Control* sheet = window.Find(session.table.sheet);
  if (!sheet || sheet->state < 1 || static_cast<size_t>(sheet->state) > sheet->children.size()) {
    return session.box.OrderForTab("");
  }
  return session.box.OrderForTab(sheet->children[static_cast<size_t>(sheet->state - 1)]->text);
}

void ResetCheck(BrowseSession& session) {
  BrowseBox& box = session.box;
  const int old_order = box.order_filled();
  const int order = ChosenOrder(session);
  if (order != box.order()) box.SetOrder(order);
  const bool reset_needed =
      order == old_order && box.ranged() && box.reset_value() != box.RangeSourceValue();
  if (order == old_order && !reset_needed && !session.force_refresh) {
    box.LoadCurrent();
    return;
  }
  box.set_reset_value(box.RangeSourceValue());
  box.RereadCurrent();
  box.ResetView();
  if (old_order == 0) {
    if (session.frame.entry_request() == kReqSelect) {
      box.Locate(LocateMode::kAtBuffer);
    } else {
      box.RefreshPage(RefreshMode::kReset);
    }
    session.ui.PostNewSelection();
  } else if (reset_needed) {
    box.ClearPage();
    box.RefreshPage(RefreshMode::kReset);
    session.ui.PostNewSelection();
  } else {
    box.Locate(LocateMode::kAtBuffer);
  }
  box.MarkFilled();
  box.LoadCurrent();
  box.BuildKeyDistribution();
}

}  // namespace

void RefreshBrowse(BrowseSession& session) {
  if (window::GetProperty(0, window::prop::kAcceptAll) == "1") return;
  ResetCheck(session);
  session.ui.SetThumb(session.box.thumb());
  window::Display();
  session.force_refresh = false;
}

}  // namespace carelog::app
