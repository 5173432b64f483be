#include "runtime/window/standard_actions.h"

#include "runtime/host/mdi.h"
#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"
#include "runtime/window/common_dialogs.h"
#include "runtime/window/control_classes.h"
#include "runtime/window/frame_layout.h"
#include "runtime/window/help.h"
#include "runtime/window/menu_model.h"
#include "runtime/window/properties.h"
#include "runtime/window/window_runtime.h"

namespace carelog::window {
namespace {

// Where the read-only property of an entry is kept among its further properties.
constexpr int kReadOnlyKey = prop::kReadOnly << 16;

void ArrangeMdi(int64_t code) {
  Structure* frame = internal::ApplicationFrame();
  if (!frame || frame->client == host::kNoWindow) return;
  switch (code) {
    case action::kTile:
    case action::kTileVertical:
      host::MdiTile(frame->client, host::TileDirection::kVertical);
      return;
    case action::kTileHorizontal:
      host::MdiTile(frame->client, host::TileDirection::kHorizontal);
      return;
    case action::kCascade:
      host::MdiCascade(frame->client);
      return;
    default:
      host::MdiArrangeIcons(frame->client);
      return;
  }
}

uint32_t EditMessageOf(int64_t code) {
  switch (code) {
    case action::kCut:
      return host::msg::kCut;
    case action::kCopy:
      return host::msg::kCopy;
    case action::kPaste:
      return host::msg::kPaste;
    case action::kClear:
      return host::msg::kClear;
    default:
      return host::msg::kUndo;
  }
}

bool IsEditable(const Control& c) {
  return c.kind == kKindEntry || c.kind == kKindSpin || c.kind == kKindTextBox;
}

bool IsReadOnly(const Control& c) {
  auto it = c.extra.find(kReadOnlyKey);
  return it != c.extra.end() && it->second != 0;
}

// The text an edit replaces: all of it while it is selected, else nothing (at the caret).
void ReplaceSelection(Control& c, const std::string& with) {
  Editing(c).undo_text = c.text;
  if (Editing(c).all_selected) {
    c.text = with;
    Editing(c).caret = with.size();
    Editing(c).all_selected = false;
  } else {
    Editing(c).caret = std::min(Editing(c).caret, c.text.size());
    c.text.insert(Editing(c).caret, with);
    Editing(c).caret += with.size();
  }
  c.changed = true;
  if (c.attr & control_attr::kNewSelection) c.window->Queue(event::kNewSelection, &c);
}

}  // namespace

namespace internal {

bool PerformStandardAction(Structure& w, int64_t code) {
  switch (code) {
    case action::kTile:
    case action::kCascade:
    case action::kArrangeIcons:
    case action::kTileHorizontal:
    case action::kTileVertical:
      ArrangeMdi(code);
      return true;
    case action::kHelpContents:
      StartHelp(w, HelpRequest::kContents);
      return true;
    case action::kHelpOnHelp:
      StartHelp(w, HelpRequest::kOnHelp);
      return true;
    case action::kHelpSearch:
      StartHelp(w, HelpRequest::kSearch);
      return true;
    case action::kContextHelp:
      StartHelp(w, HelpRequest::kContext);
      return true;
    case action::kCut:
    case action::kCopy:
    case action::kPaste:
    case action::kClear:
    case action::kUndo: {
      host::WindowId focus = host::FocusWindow();
      if (focus != host::kNoWindow) host::PostMessage(focus, EditMessageOf(code));
      return true;
    }
    case action::kClose:
      host::PostMessage(w.handle, host::msg::kClose);
      return true;
    case action::kPrinterSetup:
      PrinterSetup();
      return true;
    default:
      return false;
  }
}

void HandleCommand(Structure& w, int command) {
  if (command == 0) {
    w.Queue(event::kAlertKey, nullptr);
    return;
  }
  Control* c = w.Find(EquateOfCommand(command));
  if (!c || !c->IsEnabled()) return;
  if (c->action != 0 && PerformStandardAction(w, c->action)) return;
  if (c->kind == kKindItem) {
    if (c->use) {
      UseValue v = ReadUse(*c->use, c->use_type);
      UseValue flipped;
      flipped.number = v.is_text ? v.text.empty() : v.number == 0;
      WriteUse(*c->use, c->use_type, flipped);
    }
    w.Queue(event::kAccepted, c);
    return;
  }
  if (c->kind == kKindButton || c->kind == kKindCheck || c->kind == kKindRadio) {
    internal::Press(*c);
  }
}

bool EditCommand(Control& c, uint32_t message) {
  if (!IsEditable(c)) return false;
  bool read_only = IsReadOnly(c);
  std::string selected = Editing(c).all_selected ? c.text : std::string();
  switch (message) {
    case host::msg::kCopy:
      if (!selected.empty()) host::SetClipboardText(selected);
      return true;
    case host::msg::kCut:
      if (selected.empty() || read_only) return true;
      host::SetClipboardText(selected);
      ReplaceSelection(c, std::string());
      break;
    case host::msg::kClear:
      if (selected.empty() || read_only) return true;
      ReplaceSelection(c, std::string());
      break;
    case host::msg::kPaste: {
      if (read_only) return true;
      std::string text = host::ClipboardText();
      if (c.kind != kKindTextBox) {
        // A one-line entry takes the first line only.
        size_t end = text.find_first_of("\r\n");
        if (end != std::string::npos) text.resize(end);
      }
      ReplaceSelection(c, text);
      break;
    }
    case host::msg::kUndo: {
      if (read_only) return true;
      std::string before = c.text;
      c.text = Editing(c).undo_text;
      Editing(c).undo_text = before;
      Editing(c).caret = c.text.size();
      Editing(c).all_selected = false;
      c.changed = true;
      break;
    }
    default:
      return false;
  }
  c.Invalidate();
  return true;
}

}  // namespace internal
}  // namespace carelog::window
