#include "runtime/window/properties.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <mutex>

#include "runtime/host/window_system.h"
#include "runtime/window/builtin_icons.h"
#include "runtime/window/control_classes.h"
#include "runtime/window/image_painter.h"
#include "runtime/window/list_state.h"
#include "runtime/window/menu_bar.h"
#include "runtime/window/status_bar.h"
#include "runtime/window/threads.h"
#include "runtime/window/window_runtime.h"

namespace carelog::window {
namespace {

int64_t Number(const std::string& text) {
  return std::strtoll(text.c_str(), nullptr, 10);
}
std::string Text(int64_t n) {
  return std::to_string(n);
}

// Inverse of the unit conversion for one coordinate (pixels back to window units).
int32_t ToUnits(int32_t pixels, int32_t multiplier, int32_t divisor) {
  return multiplier ? MulDiv(pixels, divisor, multiplier) : 0;
}

void Move(Control& c) {
  c.pixels =
      host::Rect::FromSize(ToPixelsX(c.window->scale, c.at.x), ToPixelsY(c.window->scale, c.at.y),
                           c.pixels.Width(), c.pixels.Height());
  if (c.handle)
    host::MoveWindow(c.handle, c.pixels.Offset(-c.window->scroll.x, -c.window->scroll.y));
  else
    host::Invalidate(c.window->handle);
}

// The file an image control shows: a bitmap it decodes, or a page for the image painter,
// shown from its top.
void SetImageFile(Control& c, const std::string& file) {
  c.image = file;
  c.bitmap = LoadControlImage(file);
  SetImageSetting(c, kImageScrollX, 0);
  SetImageSetting(c, kImageScrollY, 0);
  if (c.window && c.window->is_open()) host::Invalidate(c.window->handle);
}

int64_t Key(int property, int index) {
  return (static_cast<int64_t>(property) << 16) | index;
}

std::mutex system_mutex;
std::map<int64_t, int64_t> system_properties;  // guarded by system_mutex

std::string Stored(const std::map<int, int64_t>& extra, int property, int index) {
  auto it = extra.find(static_cast<int>(Key(property, index)));
  return it == extra.end() ? std::string("0") : Text(it->second);
}

std::string Alert(const std::map<int, uint32_t>& alerts, int slot) {
  auto it = alerts.find(slot);
  return Text(it == alerts.end() ? 0 : it->second);
}

void SetAlert(std::map<int, uint32_t>* alerts, int slot, int64_t key) {
  if (key == 0)
    alerts->erase(slot);
  else
    (*alerts)[slot] = static_cast<uint32_t>(key);
}

std::string GetControl(Control& c, int property, int index) {
  std::string list_value;
  if (ListProperty(c, property, index, &list_value)) return list_value;
  switch (property) {
    case prop::kText:
      if (c.kind == kKindImage) return c.image;
      return c.kind == kKindSheet ? Text(c.state) : c.text;
    case prop::kToolTip:
      return c.tip;
    case prop::kProgress:
      if (c.kind != kKindProgress) return Stored(c.extra, property, index);
      return Text(static_cast<int64_t>(Progress(c).value));
    case prop::kAlertKey:
      return Alert(c.alerts, index);
    case prop::kXPos:
      return Text(c.at.x == kNotGiven ? ToUnits(c.pixels.left, c.window->scale.x_multiplier,
                                                c.window->scale.divisor)
                                      : c.at.x);
    case prop::kYPos:
      return Text(c.at.y == kNotGiven
                      ? ToUnits(c.pixels.top, c.window->scale.y_multiplier, c.window->scale.divisor)
                      : c.at.y);
    case prop::kDefault:
      return Text(c.window->default_button == &c);
    case prop::kDisable:
      return Text((c.flags & control_flag::kDisabled) ? 0x40 : 0);
    case prop::kHide:
      return Text((c.flags & control_flag::kHidden) ? 1 : 0);
    case prop::kFontSize:
      return Text(static_cast<int64_t>(c.font.points));
    case prop::kKey:
      return Text(c.key);
    default:
      return Stored(c.extra, property, index);
  }
}

// One control property being set: the value as text and as a number, and the slot index.
struct ControlSetting {
  Control& c;
  int property;
  const std::string& value;
  int64_t n;
  int index;
};

void SetStored(const ControlSetting& s) {
  s.c.extra[static_cast<int>(Key(s.property, s.index))] = s.n;
  if (s.c.kind == kKindImage) host::Invalidate(s.c.window->handle);
}

void SetText(const ControlSetting& s) {
  Control& c = s.c;
  if (c.kind == kKindSheet) {
    internal::SelectTab(c, static_cast<int>(s.n));
    return;
  }
  if (c.kind == kKindImage) {
    SetImageFile(c, s.value);
    return;
  }
  c.text = s.value;
  c.changed = c.kind == kKindEntry || c.kind == kKindTextBox;
  if (c.handle) host::SetWindowText(c.handle, s.value);
  c.Invalidate();
  if (!c.handle) host::Invalidate(c.window->handle);
}

void SetProgressValue(const ControlSetting& s) {
  if (s.c.kind != kKindProgress) {
    s.c.extra[static_cast<int>(Key(s.property, s.index))] = s.n;
    return;
  }
  Progress(s.c).value = static_cast<double>(s.n);
  s.c.Invalidate();
}

void SetAlertKey(const ControlSetting& s) {
  SetAlert(&s.c.alerts, s.index, s.n);
}

void SetXPos(const ControlSetting& s) {
  s.c.at.x = static_cast<int32_t>(s.n);
  Move(s.c);
}

void SetYPos(const ControlSetting& s) {
  s.c.at.y = static_cast<int32_t>(s.n);
  Move(s.c);
}

void SetDefault(const ControlSetting& s) {
  Control& c = s.c;
  Structure& w = *c.window;
  if (c.kind != kKindButton) return;
  if (s.n != 0) {
    if (w.default_button) w.default_button->Invalidate();
    w.default_button = &c;
  } else if (w.default_button == &c) {
    w.default_button = nullptr;
  }
  c.Invalidate();
}

void SetDisable(const ControlSetting& s) {
  Control& c = s.c;
  if (s.n)
    c.flags |= control_flag::kDisabled;
  else
    c.flags &= ~control_flag::kDisabled;
  if (c.handle) host::EnableWindow(c.handle, s.n == 0);
  for (Control* child : c.children) child->Invalidate();
  c.Invalidate();
}

void SetHide(const ControlSetting& s) {
  Control& c = s.c;
  if (s.n)
    c.flags |= control_flag::kHidden;
  else
    c.flags &= ~control_flag::kHidden;
  if (c.handle)
    host::ShowWindow(c.handle, s.n ? host::ShowState::kHidden : host::ShowState::kNormal);
  else
    host::Invalidate(c.window->handle);
}

void SetFontSize(const ControlSetting& s) {
  if (s.n > 0 && s.n < 200) s.c.font.points = static_cast<double>(s.n);
  s.c.Invalidate();
}

void SetKey(const ControlSetting& s) {
  s.c.key = static_cast<uint32_t>(s.n);
}

void SetToolTip(const ControlSetting& s) {
  s.c.tip = s.value;
}

struct ControlSetter {
  int property;
  void (*set)(const ControlSetting&);
};

// Properties with their own effect; every other one is stored by number.
constexpr ControlSetter kControlSetters[] = {
    {prop::kText, SetText},         {prop::kProgress, SetProgressValue},
    {prop::kAlertKey, SetAlertKey}, {prop::kXPos, SetXPos},
    {prop::kYPos, SetYPos},         {prop::kDefault, SetDefault},
    {prop::kDisable, SetDisable},   {prop::kHide, SetHide},
    {prop::kFontSize, SetFontSize}, {prop::kKey, SetKey},
    {prop::kToolTip, SetToolTip},
};

void SetControl(Control& c, int property, const std::string& value, int index) {
  if (SetListProperty(c, property, index, value)) return;
  const ControlSetting setting{c, property, value, Number(value), index};
  for (const ControlSetter& setter : kControlSetters) {
    if (setter.property == property) {
      setter.set(setting);
      return;
    }
  }
  SetStored(setting);
}

std::string GetWindow(Structure& w, int property, int index) {
  switch (property) {
    case prop::kText:
      return w.title;
    case prop::kTimer:
      return Text(w.timer_period);
    case prop::kAcceptAll:
      return Text(w.accept_all);
    case prop::kStatusText:
      return internal::StatusText(w, index);
    case prop::kXPos:
      return Text(ToUnits(host::WindowRect(w.handle).left, w.scale.x_multiplier, w.scale.divisor));
    case prop::kYPos:
      return Text(ToUnits(host::WindowRect(w.handle).top, w.scale.y_multiplier, w.scale.divisor));
    case prop::kAlertKey:
      return Alert(w.alerts, index);
    default:
      return Stored(w.extra, property, index);
  }
}

void SetWindow(Structure& w, int property, const std::string& value, int index) {
  int64_t n = Number(value);
  switch (property) {
    case prop::kText:
      w.title = value;
      host::SetWindowText(w.handle, value);
      return;
    case prop::kTimer:
      w.timer_period = static_cast<int>(n < 0 ? 0 : n);
      internal::ApplyTimer(w);
      return;
    case prop::kAcceptAll:
      if (n) {
        Select(0);
      } else {
        w.accept_all = false;
        w.accept_all_checking = nullptr;
      }
      return;
    case prop::kStatusText:
      internal::SetStatusText(w, index, value);
      return;
    case prop::kAlertKey:
      SetAlert(&w.alerts, index, n);
      return;
    case prop::kXPos:
    case prop::kYPos: {
      host::Rect r = host::WindowRect(w.handle);
      int32_t px = property == prop::kXPos ? ToPixelsX(w.scale, static_cast<int32_t>(n)) : r.left;
      int32_t py = property == prop::kYPos ? ToPixelsY(w.scale, static_cast<int32_t>(n)) : r.top;
      host::MoveWindow(w.handle, host::Rect::FromSize(px, py, r.Width(), r.Height()));
      return;
    }
    default:
      w.extra[static_cast<int>(Key(property, index))] = n;
      return;
  }
}

}  // namespace

int64_t SystemProperty(int property, int index) {
  std::lock_guard<std::mutex> lock(system_mutex);
  auto it = system_properties.find(Key(property, index));
  return it == system_properties.end() ? 0 : it->second;
}

std::string GetProperty(int control, int property, int index) {
  if (control == kSystemTarget) return Text(SystemProperty(property, index));
  Structure* w = TopWindowOf(0);
  if (!w || !w->is_open()) return std::string();
  if (control == 0) return GetWindow(*w, property, index);
  Control* c = w->Find(control);
  return c ? GetControl(*c, property, index) : std::string();
}

void SetProperty(int control, int property, const std::string& value, int index) {
  if (control == kSystemTarget) {
    std::lock_guard<std::mutex> lock(system_mutex);
    system_properties[Key(property, index)] = Number(value);
    return;
  }
  Structure* w = TopWindowOf(0);
  if (!w || !w->is_open()) return;
  if (control == 0) {
    SetWindow(*w, property, value, index);
    return;
  }
  if (Control* c = w->Find(control)) {
    SetControl(*c, property, value, index);
    // Menus and items are drawn by the menu bar that shows them.
    if (c->kind == kKindMenu || c->kind == kKindItem) internal::RedrawMenuBar(*w);
  }
}

}  // namespace carelog::window
