// One run of a browse procedure: its window, the procedure frame, the box with its list, the
// local request and the type-ahead locator. browse_loop.cpp runs the events, browse_actions.cpp
// the buttons, the popup menu and the alerted keys.
#pragma once

#include <string>
#include <vector>

#include "app/patterns/browse_box.h"
#include "app/patterns/browse_window_ui.h"
#include "app/procedure_frame.h"

namespace carelog::app {

struct BrowseSession {
  BrowseSession(const BrowseTable& table, window::Structure& window, bool default_font);

  const BrowseTable& table;
  ProcedureFrame frame;
  WindowListUi ui;
  BrowseBox box;
  int32_t request = 0;                // the local request, restored to the entry request
  bool force_refresh = false;         // set by Copy and by the window regaining the focus
  std::vector<std::string> locators;  // one type-ahead text per sort order

  const ButtonRow* Button(ButtonRole role) const;
  int ButtonControl(ButtonRole role) const;
};

// The refresh routine: the reset check (unless the window is in accept-all mode), the thumb,
// the window shown again.
void RefreshBrowse(BrowseSession& session);

// Handlers of browse_actions.cpp.
void PressButton(BrowseSession& session, const ButtonRow& button);
void ShowBrowsePopup(BrowseSession& session);
// The right-click menu's text: Change and Delete disabled on an empty page; in browses with a
// Select button a separator and Select, enabled only for a caller that selects.
std::string BrowsePopupText(bool page_empty, bool has_select, bool selecting);
void TakeAlertKey(BrowseSession& session);
// Alerts the list's keys when the window opens.
void AlertListKeys(const BrowseSession& session);

}  // namespace carelog::app
