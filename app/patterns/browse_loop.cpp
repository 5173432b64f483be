#include "app/patterns/browse_loop.h"

#include "app/calendar.h"

#include "app/patterns/browse_services.h"
#include "app/patterns/browse_session.h"
#include "app/procedure_catalogue.h"
#include "app/procedure_globals.h"
#include "runtime/values/clock.h"
#include "runtime/window/properties.h"
#include "runtime/window/threads.h"
#include "runtime/window/window_runtime.h"

namespace carelog::app {
namespace {

namespace event = window::event;

enum class Target : uint8_t { kList, kSheet, kControl, kWindow };

struct EventRow {
  int event;  // 0: any event
  Target target;
  void (*handle)(BrowseSession& session);
};

void Scroll(BrowseSession& session) {
  session.box.Bind();
  session.box.Scroll(window::Event());
}

void NewSelection(BrowseSession& session) {
  session.ui.TakeNewSelection();
  if ((window::KeyCode() & 0x7FF) == window::mouse_key::kRight) return ShowBrowsePopup(session);
  if (session.box.page().empty()) return;
  session.box.ShowSelection();
  RefreshBrowse(session);
}

void Accepted(BrowseSession& session) {
  int control = window::Accepted();
  for (const ButtonRow& button : session.table.buttons) {
    if (button.control == control) return PressButton(session, button);
  }
  for (const MenuRow& item : session.table.menu) {
    if (item.item != control) continue;
    session.box.RereadCurrent();
    CallProcedureByName(item.procedure);
    RefreshBrowse(session);
  }
}

// The window changed size and the list with it: the page is rebuilt from its first entry to
// the number of rows the list now shows, the highlighted record kept.
void Resized(BrowseSession& session) {
  if (session.box.order_filled() == 0) return;
  session.box.RefreshPage(RefreshMode::kAnchored);
  session.box.LoadCurrent();
  session.ui.SetThumb(session.box.thumb());
  window::Display();
}

constexpr EventRow kEvents[] = {
    {event::kSized, Target::kWindow, &Resized},
    {event::kMaximized, Target::kWindow, &Resized},
    {event::kRestored, Target::kWindow, &Resized},
    {event::kScrollUp, Target::kList, &Scroll},
    {event::kScrollDown, Target::kList, &Scroll},
    {event::kPageUp, Target::kList, &Scroll},
    {event::kPageDown, Target::kList, &Scroll},
    {event::kScrollTop, Target::kList, &Scroll},
    {event::kScrollBottom, Target::kList, &Scroll},
    {event::kScrollDrag, Target::kList, &Scroll},
    {event::kNewSelection, Target::kList, &NewSelection},
    {event::kAlertKey, Target::kList, &TakeAlertKey},
    {0, Target::kSheet, &RefreshBrowse},
    {event::kAccepted, Target::kControl, &Accepted},
};

bool Aimed(const BrowseSession& session, Target target) {
  switch (target) {
    case Target::kList:
      return window::Field() == session.table.list;
    case Target::kSheet:
      return session.table.sheet != 0 && window::Field() == session.table.sheet;
    case Target::kControl:
      return true;
    case Target::kWindow:
      return window::Field() == 0;
  }
  return false;
}

void Dispatch(BrowseSession& session) {
  for (const EventRow& row : kEvents) {
    if ((row.event == 0 || row.event == window::Event()) && Aimed(session, row.target)) {
      return row.handle(session);
    }
  }
}

// Browses started on a thread of their own, and those they call, open as MDI children of the
// frame; on the frame's thread or inside a modal dialog a plain window is the only kind allowed.
window::StructureKind KindForThisThread() {
  window::Structure* frame = window::internal::ApplicationFrame();
  if (!frame || frame->slot == window::internal::CurrentSlot())
    return window::StructureKind::kWindow;
  return window::ModalCount() > 0 ? window::StructureKind::kWindow : window::StructureKind::kMdi;
}

// The Select button answers a caller that asked to select and is hidden otherwise.
void ShowSelectButton(const BrowseSession& session) {
  const int select = session.ButtonControl(ButtonRole::kSelect);
  if (select == 0) return;
  if (session.frame.entry_request() == kReqSelect) {
    window::SetProperty(select, window::prop::kDefault, "1");
  } else {
    window::SetProperty(select, window::prop::kHide, "1");
  }
}

void Initialise(BrowseSession& session) {
  session.ui.Attach();
  AlertListKeys(session);
  session.box.Bind();
}

void RunEvents(BrowseSession& session) {
  while (window::Accept()) {
    const int e = window::Event();
    if (e == event::kOpenWindow || e == event::kGainFocus) {
      const bool first = !session.frame.window_initialised();
      session.frame.TakeWindowEvent();
      if (e == event::kGainFocus) session.force_refresh = true;
      session.box.Bind();
      if (first || e == event::kGainFocus) RefreshBrowse(session);
      if (first) {
        ShowSelectButton(session);
        window::Select(session.table.list);
      }
      continue;
    }
    session.box.Bind();
    Dispatch(session);
  }
}

}  // namespace

BrowseSession::BrowseSession(const BrowseTable& browse, window::Structure& window,
                             bool default_font)
    : table(browse),
      frame(window, default_font),
      ui(browse.list, ButtonControl(ButtonRole::kChange), ButtonControl(ButtonRole::kDelete)),
      box(browse, 1, ui),
      locators(browse.orders.size()) {
  request = frame.entry_request();
}

const ButtonRow* BrowseSession::Button(ButtonRole role) const {
  for (const ButtonRow& button : table.buttons) {
    if (button.role == role) return &button;
  }
  return nullptr;
}

int BrowseSession::ButtonControl(ButtonRole role) const {
  const ButtonRow* button = Button(role);
  return button ? button->control : 0;
}

void RunBrowse(const BrowseTable& table) {
  const CatalogueRow* row = FindProcedure(table.name);
  window::Structure window(KindForThisThread(), table.window, table.module, window::UseTable{});
  BrowseSession session(table, window, row && row->takes_default_font);
  std::string problem;
  if (!session.box.Resolve(&problem) || !UseFiles(table.files)) return session.frame.Return();
  // A browse of one day asks for the day first; cancelling the calendar ends it at once.
  if (table.local_date) *session.box.local_date() = Calendar(values::Today());
  if ((!table.local_date || *session.box.local_date() != 0) && session.frame.Open()) {
    Initialise(session);
    RunEvents(session);
  }
  session.box.CloseView();
  ReleaseFiles(table.files);
  session.frame.Return();
}

}  // namespace carelog::app
