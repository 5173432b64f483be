// Entry fields (one line, shown and read back through a picture) and text boxes (several lines,
// stored as typed).
#include <algorithm>

#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"
#include "runtime/window/control_classes.h"
#include "runtime/window/window_runtime.h"

namespace carelog::window {
namespace {

constexpr int kPadX = 4;
// Where the read-only property (0x7C8A) is kept among a control's further properties.
constexpr int kReadOnlyKey = 0x7C8A << 16;

void Edited(Control& c) {
  c.changed = true;
  if (c.attr & control_attr::kNewSelection) c.window->Queue(event::kNewSelection, &c);
  c.Invalidate();
}

size_t MaxLength(const Control& c) {
  if (!c.use) return 4096;
  if (c.use_type.type >= 0x12 && c.use_type.type <= 0x14 && c.picture.empty()) {
    return c.use_type.size;
  }
  return 255;
}

// Clears the whole text when it is all selected (typing or deleting replaces it); true then.
bool ReplaceSelection(Control& c) {
  if (!Editing(c).all_selected) return false;
  c.text.clear();
  Editing(c).caret = 0;
  Editing(c).all_selected = false;
  return true;
}

bool EditChar(Control& c, char ch, bool multi_line) {
  if (c.extra.count(kReadOnlyKey) && c.extra[kReadOnlyKey] != 0) return true;
  if (ch == '\b') {
    if (!ReplaceSelection(c) && Editing(c).caret > 0) c.text.erase(--Editing(c).caret, 1);
    Editing(c).all_selected = false;
    Edited(c);
    return true;
  }
  if (ch == '\r' && multi_line) ch = '\n';
  if (static_cast<unsigned char>(ch) < 32 && ch != '\n') return true;
  ReplaceSelection(c);
  if (c.text.size() >= MaxLength(c)) {
    host::Beep();
    return true;
  }
  c.text.insert(Editing(c).caret++, 1, ch);
  Edited(c);
  return true;
}

// Caret keys and Delete; false for other keys.
bool EditKey(Control& c, int key) {
  size_t& caret = Editing(c).caret;
  switch (key) {
    case host::key::kLeft:
      caret = caret ? caret - 1 : 0;
      break;
    case host::key::kRight:
      caret = std::min(caret + 1, c.text.size());
      break;
    case host::key::kHome:
      caret = 0;
      break;
    case host::key::kEnd:
      caret = c.text.size();
      break;
    case host::key::kDelete:
      if (!ReplaceSelection(c) && caret < c.text.size()) c.text.erase(caret, 1);
      Edited(c);
      break;
    default:
      return false;
  }
  Editing(c).all_selected = false;
  c.Invalidate();
  return true;
}

bool EditInput(Control& c, const host::Message& m, bool multi_line) {
  switch (m.number) {
    case host::msg::kSetFocus:
      Editing(c).caret = c.text.size();
      Editing(c).all_selected = (c.attr & control_attr::kSelectAll) != 0 || !multi_line;
      return false;  // the common part queues EVENT:Selected
    case host::msg::kKillFocus:
      Editing(c).all_selected = false;
      if (c.changed) internal::CheckEntry(c, true);
      c.Invalidate();
      return true;
    case host::msg::kChar:
      return EditChar(c, static_cast<char>(m.wparam), multi_line);
    case host::msg::kKeyDown:
      return EditKey(c, static_cast<int>(m.wparam));
    default:
      return false;
  }
}

bool EntryInput(Control& c, const host::Message& m) {
  return EditInput(c, m, false);
}
bool TextInput(Control& c, const host::Message& m) {
  return EditInput(c, m, true);
}

host::Size EntryMeasure(Control& c, host::DeviceContext& dc) {
  std::string sample(std::max<size_t>(c.text.size(), 8), '0');
  return draw::TextSize(dc, c, sample, kPadX + 2, 4);
}

constexpr host::Color kRefused{196, 43, 28};

void Field(Control& c, host::DeviceContext& dc, bool focused) {
  host::Rect r = draw::Bounds(c);
  bool enabled = c.IsEnabled();
  bool refused = Editing(c).refused;
  host::Color edge = refused ? kRefused : focused ? theme::kAccent : theme::kBorder;
  dc.SetBrush(enabled ? theme::kWhite : theme::kDisabledFace);
  dc.SetPen(edge, refused ? 2 : 1);
  dc.Rectangle(r);
  if (focused || refused) {
    dc.FillRect(host::Rect{r.left + 1, r.bottom - 2, r.right - 1, r.bottom - 1}, edge);
  }
}

// A refused text stays as typed; the field says so with a beep and its red frame.
void MarkRefused(Control& c, bool refused) {
  if (refused) host::Beep();
  if (Editing(c).refused == refused) return;
  Editing(c).refused = refused;
  c.Invalidate();
}

void EntryPaint(Control& c, host::DeviceContext& dc, bool focused) {
  Field(c, dc, focused);
  host::Rect r = draw::Bounds(c);
  host::Rect inner{r.left + kPadX, r.top + 1, r.right - kPadX, r.bottom - 1};
  dc.Save();
  dc.IntersectClip(inner);
  dc.SetFont(c.font);
  if (focused && Editing(c).all_selected && !c.text.empty()) {
    host::Size extent = dc.TextExtent(c.text);
    int top = (r.Height() - extent.height) / 2;
    dc.FillRect(host::Rect::FromSize(inner.left, top, extent.width, extent.height), theme::kAccent);
    dc.SetTextColor(theme::kWhite);
    dc.SetTextBackground(theme::kAccent, false);
    dc.DrawText(inner, c.text, host::text::kVCenter);
  } else {
    draw::Label(dc, c, inner, c.text, host::text::kVCenter);
  }
  if (focused && !Editing(c).all_selected) {
    int x = inner.left + dc.TextExtent(std::string_view(c.text).substr(0, Editing(c).caret)).width;
    if (Editing(c).caret == 0) x = inner.left;
    int h = dc.Metrics().height;
    int top = (r.Height() - h) / 2;
    dc.FillRect(host::Rect::FromSize(x, top, 1, h), theme::kText);
  }
  dc.Restore();
}

void TextPaint(Control& c, host::DeviceContext& dc, bool focused) {
  Field(c, dc, focused);
  host::Rect r = draw::Bounds(c);
  host::Rect inner{r.left + kPadX, r.top + 3, r.right - kPadX, r.bottom - 3};
  dc.Save();
  dc.IntersectClip(inner);
  draw::Label(dc, c, inner, c.text, host::text::kWordWrap);
  dc.Restore();
}

}  // namespace

namespace internal {

bool CheckEntry(Control& c, bool queue_events) {
  Structure& w = *c.window;
  if (!c.use || c.kind == kKindTextBox) {
    if (c.use) {
      UseValue v;
      v.is_text = true;
      v.text = c.text;
      WriteUse(*c.use, c.use_type, v);
    }
    c.changed = false;
    if (queue_events) w.Queue(event::kAccepted, &c);
    return true;
  }
  if (!c.changed) {
    // The entry still shows its variable, untouched since: reading the shown text back could
    // only lose what the picture leaves out (a two-digit year, digits past its places).
    if (queue_events) w.Queue(event::kAccepted, &c);
    return true;
  }
  UseValue value;
  if (!ParseEntryText(c.text, c.picture, c.use_type, &value)) {
    MarkRefused(c, true);
    // A modal window open elsewhere (a form called from a browse is one) does not hold the
    // refusal back: only this thread's own synchronous dispatch does.
    if (queue_events && c.equate != 0 && !DispatchingSynchronously()) {
      w.Queue(event::kRejected, &c);
    }
    return false;
  }
  MarkRefused(c, false);
  WriteUse(*c.use, c.use_type, value);
  c.changed = false;
  if (queue_events) w.Queue(event::kAccepted, &c);
  Refresh(c);
  return true;
}

}  // namespace internal

const ControlClass kEntryClass{"TamEdit", "entry",       true,        true,
                               true,      &EntryMeasure, &EntryPaint, &EntryInput};
const ControlClass kTextClass{"TamText", "text",        true,       true,
                              true,      &EntryMeasure, &TextPaint, &TextInput};

}  // namespace carelog::window
