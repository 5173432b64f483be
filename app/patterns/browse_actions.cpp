// What the browse's buttons, its popup menu and the keys alerted on its list do.
#include <iterator>

#include "app/patterns/browse_session.h"
#include "app/procedure_catalogue.h"
#include "app/procedure_globals.h"
#include "runtime/store/file_statements.h"
#include "runtime/window/list_control.h"
#include "runtime/window/popup.h"
#include "runtime/window/properties.h"
#include "runtime/window/window_runtime.h"

namespace carelog::app {
namespace {

namespace key {
constexpr uint32_t kBackspace = 0x08;
constexpr uint32_t kSpace = 0x20;
constexpr uint32_t kInsert = 0x2D;
constexpr uint32_t kDelete = 0x2E;
constexpr uint32_t kCtrlEnter = 0x20D;
constexpr uint32_t kShift = 0x100;  // added to a key's code while Shift is down
}  // namespace key

// Alert slots of the list: the browse keys take the last four, the locator's letters and digits
// the slots below them, and its capital letters (Shift and a letter) a range of their own.
constexpr int kFirstBrowseSlot = 252;
constexpr int kFirstLocatorSlot = 200;
constexpr int kFirstCapitalSlot = 160;

int32_t CallByName(const char* name, int32_t request) {
  return name ? CallProcedureByName(name, request) : kRespCancelled;
}

// Calls the update form with the view closed around it; the local response it leaves. A form
// that completed leaves its file on the record it wrote: *written gets its number.
int32_t CallForm(BrowseSession& session, int32_t request, uint32_t* written = nullptr) {
  session.box.CloseView();
  int32_t response = CallByName(session.table.form, request);
  if (written != nullptr) {
    *written = response == kRespCompleted ? store::Pointer(session.box.primary()) : 0;
  }
  session.box.Bind();
  session.box.ResetView();
  return response;
}

void AfterAction(BrowseSession& session) {
  session.box.BuildKeyDistribution();
  session.ui.PostNewSelection();
  window::Select(session.table.list);
  session.request = session.frame.entry_request();
  RefreshBrowse(session);
}

// After the form: a written record is highlighted (by its number too, so that among records
// of one key value, such as one patient's notes, the page shows the one written); otherwise
// the page stays where it was.
void Relocate(BrowseSession& session, int32_t request) {
  uint32_t written = 0;
  if (CallForm(session, request, &written) == kRespCompleted) {
    session.box.Locate(LocateMode::kAtBuffer, written);
  } else {
    session.box.RefreshPage(RefreshMode::kAnchored);
  }
}

void Insert(BrowseSession& session, const ButtonRow&) {
  session.box.PrimeNewRecord();
  Relocate(session, kReqInsert);
}

void Change(BrowseSession& session, const ButtonRow&) {
  if (!session.box.RereadCurrent()) return;
  Relocate(session, kReqChange);
}

void Delete(BrowseSession& session, const ButtonRow&) {
  if (!session.box.RereadCurrent()) return;
  if (CallForm(session, kReqDelete) == kRespCompleted) session.box.DropCurrent();
  session.box.RefreshPage(RefreshMode::kAnchored);
}

void Copy(BrowseSession& session, const ButtonRow&) {
  if (!session.box.RereadCurrent()) return;
  CallForm(session, kReqInsert);
  session.force_refresh = true;
}

void CallOnRecord(BrowseSession& session, const ButtonRow& button) {
  if (!session.box.RereadCurrent()) return;
  session.box.CloseView();
  CallByName(button.procedure, kNoRequest);
  session.box.Bind();
  session.box.ResetView();
}

void Select(BrowseSession& session, const ButtonRow&) {
  if (!session.box.RereadCurrent()) return;
  session.frame.local_response = kRespCompleted;
  window::Post(window::event::kCloseWindow);
}

void Close(BrowseSession& session, const ButtonRow&) {
  session.frame.local_response = kRespCancelled;
  window::Post(window::event::kCloseWindow);
}

struct RoleRow {
  ButtonRole role;
  void (*press)(BrowseSession& session, const ButtonRow& button);
  bool after_action;  // the box is rebuilt and the window refreshed afterwards
};

constexpr RoleRow kRoles[] = {
    {ButtonRole::kInsert, &Insert, true},      {ButtonRole::kChange, &Change, true},
    {ButtonRole::kDelete, &Delete, true},      {ButtonRole::kCopy, &Copy, true},
    {ButtonRole::kPrint, &CallOnRecord, true}, {ButtonRole::kSubBrowse, &CallOnRecord, true},
    {ButtonRole::kSelect, &Select, false},     {ButtonRole::kClose, &Close, false},
};

void Press(BrowseSession& session, ButtonRole role) {
  if (const ButtonRow* button = session.Button(role)) {
    window::Post(window::event::kAccepted, button->control);
  }
}

bool Selecting(const BrowseSession& session) {
  return session.frame.entry_request() == kReqSelect && session.Button(ButtonRole::kSelect);
}

// A typed key of the locator: the text grows (or loses its last character) and the page is
// located at the first record at or after it.
void Locate(BrowseSession& session, uint32_t code) {
  std::string& text = session.locators[static_cast<size_t>(session.box.order() - 1)];
  if (code == key::kBackspace) {
    if (!text.empty()) text.pop_back();
  } else {
    text.push_back(static_cast<char>(code));
  }
  FieldValue value;
  value.is_text = true;
  value.text = text;
  value.number = std::atof(text.c_str());
  session.box.LocateAt(value);
}

bool IsLocatorKey(uint32_t code) {
  return code == key::kBackspace || code == key::kSpace || (code >= '0' && code <= '9') ||
         (code >= 'A' && code <= 'Z');
}

// A capital letter types the same letter as a small one: the locator compares without case.
uint32_t LocatorCode(uint32_t code) {
  uint32_t letter = code & ~key::kShift;
  return (code & key::kShift) && letter >= 'A' && letter <= 'Z' ? letter : code;
}

}  // namespace

void PressButton(BrowseSession& session, const ButtonRow& button) {
  for (const RoleRow& row : kRoles) {
    if (row.role != button.role) continue;
    session.box.Bind();
    row.press(session, button);
    if (row.after_action) AfterAction(session);
    return;
  }
}

std::string BrowsePopupText(bool page_empty, bool has_select, bool selecting) {
  std::string text = page_empty ? "&Insert|~&Change|~&Delete" : "&Insert|&Change|&Delete";
  if (has_select) text += selecting && !page_empty ? "|-|&Select" : "|-|~&Select";
  return text;
}

void ShowBrowsePopup(BrowseSession& session) {
  std::string text =
      BrowsePopupText(session.box.page().empty(), session.Button(ButtonRole::kSelect) != nullptr,
                      session.frame.entry_request() == kReqSelect);
  constexpr ButtonRole kChoices[] = {ButtonRole::kInsert, ButtonRole::kChange, ButtonRole::kDelete,
                                     ButtonRole::kSelect};
  int choice = window::Popup(text);
  if (choice >= 1 && choice <= static_cast<int>(std::size(kChoices))) {
    Press(session, kChoices[choice - 1]);
  }
}

void TakeAlertKey(BrowseSession& session) {
  const uint32_t code =
      session.table.type_ahead ? LocatorCode(window::KeyCode()) : window::KeyCode();
  const bool empty = session.box.page().empty();
  if (session.table.type_ahead && IsLocatorKey(code)) {
    Locate(session, code);
  } else if (code == key::kInsert) {
    Press(session, ButtonRole::kInsert);
  } else if (empty) {
    // only Insert is honoured on an empty list
  } else if (code == window::mouse_key::kLeftDouble || code == key::kCtrlEnter) {
    Press(session, Selecting(session) ? ButtonRole::kSelect : ButtonRole::kChange);
  } else if (code == key::kDelete) {
    Press(session, ButtonRole::kDelete);
  }
  session.ui.PostNewSelection();
}

void AlertListKeys(const BrowseSession& session) {
  const int list = session.table.list;
  auto alert = [list](int slot, uint32_t code) {
    window::SetProperty(list, window::prop::kAlertKey, std::to_string(code), slot);
  };
  if (session.table.type_ahead) {
    const uint32_t keys[] = {window::mouse_key::kLeftDouble, key::kBackspace, key::kSpace};
    for (size_t i = 0; i < std::size(keys); ++i)
      alert(kFirstBrowseSlot + static_cast<int>(i), keys[i]);
    int slot = kFirstLocatorSlot;
    for (uint32_t c = '0'; c <= '9'; ++c) alert(slot++, c);
    for (uint32_t c = 'A'; c <= 'Z'; ++c) alert(slot++, c);
    slot = kFirstCapitalSlot;
    for (uint32_t c = 'A'; c <= 'Z'; ++c) alert(slot++, c | key::kShift);
    return;
  }
  const uint32_t keys[] = {window::mouse_key::kLeftDouble, key::kInsert, key::kDelete,
                           key::kCtrlEnter};
  for (size_t i = 0; i < std::size(keys); ++i)
    alert(kFirstBrowseSlot + static_cast<int>(i), keys[i]);
}

}  // namespace carelog::app
