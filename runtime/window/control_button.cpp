// Push buttons, check boxes and radio buttons, and the option and group boxes that hold radios
// and other controls.
#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"
#include "runtime/window/control_classes.h"
#include "runtime/window/standard_actions.h"
#include "runtime/window/window_runtime.h"

namespace carelog::window {
namespace {

constexpr int kMarkSize = 13;

// Mouse press and release inside the control press it; space presses a focused one.
bool ClickInput(Control& c, const host::Message& m) {
  switch (m.number) {
    case host::msg::kLButtonDown:
      c.pressed = true;
      host::SetCapture(c.handle);
      c.Invalidate();
      return false;  // the default procedure moves the focus here
    case host::msg::kLButtonUp: {
      if (!c.pressed) return true;
      c.pressed = false;
      host::ReleaseCapture();
      c.Invalidate();
      host::Point p{host::UnpackX(m.lparam), host::UnpackY(m.lparam)};
      if (draw::Bounds(c).Contains(p) && c.IsEnabled()) internal::Press(c);
      return true;
    }
    case host::msg::kCaptureLost:
      c.pressed = false;
      c.Invalidate();
      return true;
    case host::msg::kKeyDown:
      if (m.wparam == host::key::kSpace && c.IsEnabled()) {
        internal::Press(c);
        return true;
      }
      return false;
    default:
      return false;
  }
}

host::Size ButtonMeasure(Control& c, host::DeviceContext& dc) {
  host::Size s = draw::TextSize(dc, c, c.text, 12, 6);
  if (s.width < 75) s.width = 75;
  return s;
}

void ButtonPaint(Control& c, host::DeviceContext& dc, bool focused) {
  host::Rect r = draw::Bounds(c);
  bool enabled = c.IsEnabled();
  bool is_default = c.window->default_button == &c;
  host::Color face = !enabled     ? theme::kDisabledFace
                     : c.pressed  ? theme::kAccentLight
                     : is_default ? host::Color{229, 241, 251}
                                  : theme::kFace;
  host::Color border = !enabled                  ? host::Color{204, 204, 204}
                       : (is_default || focused) ? theme::kAccent
                                                 : theme::kBorder;
  dc.SetBrush(face);
  dc.SetPen(border, is_default ? 2 : 1);
  dc.RoundRect(r, 4);
  if (focused) {
    dc.SetNoBrush();
    dc.SetPen(theme::kAccent, 1, host::PenStyle::kDot);
    dc.Rectangle(host::Rect{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3});
  }
  if (c.bitmap && c.text.empty()) {  // an icon button shows its icon centred
    int x = (r.Width() - c.bitmap->Width()) / 2, y = (r.Height() - c.bitmap->Height()) / 2;
    dc.DrawBitmap(*c.bitmap, host::Rect::FromSize(r.left + x, r.top + y, c.bitmap->Width(),
                                                  c.bitmap->Height()));
    return;
  }
  draw::Label(dc, c, r, c.text,
              host::text::kCenter | host::text::kVCenter | host::text::kHotkeyPrefix);
}

host::Size MarkMeasure(Control& c, host::DeviceContext& dc) {
  host::Size s = draw::TextSize(dc, c, c.text, 0, 2);
  return host::Size{s.width + kMarkSize + 8, std::max(s.height, kMarkSize + 4)};
}

host::Rect MarkRect(const Control& c) {
  int top = (c.pixels.Height() - kMarkSize) / 2;
  return host::Rect::FromSize(1, top, kMarkSize, kMarkSize);
}

void MarkLabel(Control& c, host::DeviceContext& dc, bool focused) {
  host::Rect r = draw::Bounds(c);
  host::Rect text{kMarkSize + 6, r.top, r.right, r.bottom};
  draw::Label(dc, c, text, c.text, host::text::kVCenter | host::text::kHotkeyPrefix);
  if (focused) {
    dc.SetFont(c.font);
    host::Size extent = dc.TextExtent(c.text);
    int h = extent.height + 2;
    int top = (r.Height() - h) / 2;
    dc.FocusRect(
        host::Rect::FromSize(text.left - 2, top, std::min(extent.width + 4, text.Width()), h));
  }
}

void CheckPaint(Control& c, host::DeviceContext& dc, bool focused) {
  dc.FillRect(draw::Bounds(c), theme::kWindow);
  host::Rect box = MarkRect(c);
  bool enabled = c.IsEnabled();
  bool on = c.state != 0;
  host::Color accent = enabled ? theme::kAccent : theme::kDisabledText;
  dc.SetPen(on ? accent : (enabled ? host::Color{96, 96, 96} : theme::kDisabledText));
  dc.SetBrush(on ? accent : theme::kWhite);
  dc.RoundRect(box, 3);
  if (on) {
    dc.SetPen(theme::kWhite, 2);
    dc.MoveTo(host::Point{box.left + 3, box.top + 6});
    dc.LineTo(host::Point{box.left + 5, box.top + 9});
    dc.LineTo(host::Point{box.left + 10, box.top + 3});
  }
  MarkLabel(c, dc, focused);
}

void RadioPaint(Control& c, host::DeviceContext& dc, bool focused) {
  dc.FillRect(draw::Bounds(c), theme::kWindow);
  host::Rect ring = MarkRect(c);
  bool enabled = c.IsEnabled();
  host::Color accent = enabled ? theme::kAccent : theme::kDisabledText;
  dc.SetPen(c.state ? accent : (enabled ? host::Color{96, 96, 96} : theme::kDisabledText));
  dc.SetBrush(theme::kWhite);
  dc.Ellipse(ring);
  if (c.state) {
    dc.SetPen(accent);
    dc.SetBrush(accent);
    dc.Ellipse(host::Rect{ring.left + 3, ring.top + 3, ring.right - 3, ring.bottom - 3});
  }
  MarkLabel(c, dc, focused);
}

bool IsInOption(const Control& c) {
  return c.container && c.container->kind == kKindOption;
}

host::Size GroupMeasure(Control& c, host::DeviceContext& dc) {
  host::Size s = draw::TextSize(dc, c, c.text, 10, 0);
  int right = 0, bottom = 0;
  for (Control* child : c.children) {
    right = std::max(right, child->pixels.right - c.pixels.left);
    bottom = std::max(bottom, child->pixels.bottom - c.pixels.top);
  }
  return host::Size{std::max(s.width, right + 8), std::max(s.height + 8, bottom + 8)};
}

void GroupPaint(Control& c, host::DeviceContext& dc, bool) {
  host::Rect r = draw::Bounds(c);
  dc.SetFont(c.font);
  int half = c.text.empty() ? 0 : dc.TextExtent(c.text).height / 2;
  dc.SetNoBrush();
  dc.SetPen(host::Color{204, 204, 204});
  dc.RoundRect(host::Rect{r.left, r.top + half, r.right, r.bottom}, 4);
  if (!c.text.empty()) {
    host::Size t = dc.TextExtent(c.text);
    host::Rect caption = host::Rect::FromSize(8, 0, t.width + 6, t.height);
    dc.FillRect(caption, theme::kWindow);
    draw::Label(dc, c, caption, c.text, host::text::kCenter | host::text::kHotkeyPrefix);
  }
}

void OptionPaint(Control& c, host::DeviceContext& dc, bool focused) {
  if (!c.text.empty()) GroupPaint(c, dc, focused);
}

}  // namespace

namespace internal {

void Press(Control& c) {
  Structure& w = *c.window;
  switch (c.kind) {
    case kKindCheck: {
      c.state = !c.state;
      if (c.use) {
        UseValue v;
        v.number = c.state;
        WriteUse(*c.use, c.use_type, v);
      }
      c.Invalidate();
      w.Queue(event::kAccepted, &c);
      return;
    }
    case kKindRadio: {
      Control* option = IsInOption(c) ? c.container : nullptr;
      if (option && option->use) {
        int index = 0, mine = 0;
        for (Control* r : option->children) {
          ++index;
          if (r == &c) mine = index;
        }
        UseValue v;
        v.is_text = option->use_type.type >= 0x12 && option->use_type.type <= 0x14;
        v.text = c.text;
        v.number = mine;
        WriteUse(*option->use, option->use_type, v);
        Refresh(*option);
      } else {
        c.state = 1;
        c.Invalidate();
      }
      w.Queue(event::kAccepted, option && option->equate ? option : &c);
      return;
    }
    default:
      // A button with a standard action performs it instead of being accepted.
      if (c.action != 0 && PerformStandardAction(w, c.action)) return;
      w.Queue(event::kAccepted, &c);
      return;
  }
}

}  // namespace internal

const ControlClass kButtonClass{"TamButton", "button",       true,         true,
                                true,        &ButtonMeasure, &ButtonPaint, &ClickInput};
const ControlClass kCheckClass{"TamCheck", "check",      true,        true,
                               true,       &MarkMeasure, &CheckPaint, &ClickInput};
const ControlClass kRadioClass{"TamRadio", "radio",      true,        true,
                               true,       &MarkMeasure, &RadioPaint, &ClickInput};
const ControlClass kOptionClass{"TamOption", "option",      true,         false,
                                false,       &GroupMeasure, &OptionPaint, nullptr};
const ControlClass kGroupClass{"TamGroup", "group",       true,        false,
                               false,      &GroupMeasure, &GroupPaint, nullptr};

}  // namespace carelog::window
