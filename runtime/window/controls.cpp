// Building controls from the definition: the class table, the common part of every control
// (equate, attributes, USE variable, rectangle, host window, key, default button) and the
// host window procedure that routes messages to the control's class.
#include <algorithm>
#include <utility>

#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"
#include "runtime/window/builtin_icons.h"
#include "runtime/window/control_classes.h"
#include "runtime/window/font_style.h"
#include "runtime/window/frame_layout.h"
#include "runtime/window/list_state.h"
#include "runtime/window/standard_actions.h"
#include "runtime/window/status_bar.h"
#include "runtime/window/window_runtime.h"

namespace carelog::window {
namespace {

struct KindClass {
  uint8_t kind;
  const ControlClass* cls;
};

const KindClass kClasses[] = {
    {kKindVarString, &kStringClass}, {kKindString, &kStringClass}, {kKindImage, &kImageClass},
    {kKindRegion, &kRegionClass},    {kKindLine, &kLineClass},     {kKindBox, &kBoxClass},
    {kKindEntry, &kEntryClass},      {kKindButton, &kButtonClass}, {kKindPrompt, &kPromptClass},
    {kKindOption, &kOptionClass},    {kKindCheck, &kCheckClass},   {kKindGroup, &kGroupClass},
    {kKindList, &kListClass},        {kKindSpin, &kEntryClass},    {kKindTextBox, &kTextClass},
    {kKindCustom, &kCustomClass},    {kKindRadio, &kRadioClass},   {kKindProgress, &kProgressClass},
    {kKindSheet, &kSheetClass},      {kKindTab, &kTabClass},       {kKindToolbar, &kToolbarClass},
};

host::FontSpec FontOf(const Entry& entry, const host::FontSpec& inherited) {
  host::FontSpec font = inherited;
  if (!entry.font) return font;
  if (!entry.font->face.empty()) font.face = entry.font->face;
  if (entry.font->points > 0) font.points = entry.font->points;
  if (entry.font->style >= 0) ApplyFontStyle(entry.font->style, &font);
  if (entry.font->color >= 0) font.color = ColorFromDefinition(entry.font->color);
  return font;
}

int64_t ControlProc(Control* c, const host::Message& m) {
  switch (m.number) {
    case host::msg::kPaint: {
      std::unique_ptr<host::DeviceContext> dc = host::BeginPaint(m.window);
      if (!dc) return 0;
      if (c->cls->opaque) dc->FillRect(host::ClientRect(m.window), theme::kWindow);
      c->cls->paint(*c, *dc, host::FocusWindow() == m.window);
      host::EndPaint(m.window, std::move(dc));
      return 0;
    }
    case host::msg::kKeyDown:
      c->window->last_key_code =
          static_cast<uint32_t>(m.wparam & 0xFF) | static_cast<uint32_t>(m.lparam & 0xFF00);
      break;
    default:
      break;
  }
  if (m.number >= host::msg::kCut && m.number <= host::msg::kUndo) {
    return internal::EditCommand(*c, m.number) ? 0 : host::DefaultWindowProc(m);
  }
  if (m.number == host::msg::kSetFocus) {
    if (c->cls == &kEntryClass || c->cls == &kTextClass) Editing(*c).undo_text = c->text;
    if (!c->message.empty()) internal::ShowHighlightMessage(*c->window, &c->message);
  } else if (m.number == host::msg::kKillFocus && !c->message.empty()) {
    internal::ShowHighlightMessage(*c->window, nullptr);
  }
  if (c->cls->input && c->cls->input(*c, m)) return 0;
  switch (m.number) {
    case host::msg::kSetFocus:
      c->window->selection_target = c;
      c->window->Queue(event::kSelected, c);
      c->Invalidate();
      return 0;
    case host::msg::kKillFocus:
    case host::msg::kEnable:
      c->Invalidate();
      return 0;
    default:
      return host::DefaultWindowProc(m);
  }
}

// The origin that a container gives its children's coordinates.
host::Point ChildOrigin(const Control* container) {
  if (!container) return host::Point{};
  if (container->kind == kKindToolbar)
    return host::Point{container->pixels.left, container->pixels.top};
  if (container->kind == kKindTab && container->container) {
    const Control* sheet = container->container;
    return host::Point{sheet->pixels.left, sheet->pixels.top};
  }
  return host::Point{};
}

void BuildOne(Structure& s, const Entry& entry, Control* container, host::DeviceContext& dc);

void BuildList(Structure& s, const std::vector<Entry>& entries, Control* container,
               host::DeviceContext& dc) {
  for (const Entry& entry : entries) BuildOne(s, entry, container, dc);
}

void Position(Structure& s, Control& c, host::DeviceContext& dc) {
  // Top-level controls start below the menu bar and toolbar; the toolbar itself is placed
  // across the window by the frame layout.
  host::Point origin = c.container ? ChildOrigin(c.container) : internal::ControlAreaOrigin(s);
  if (!c.container && c.kind == kKindToolbar) origin.y -= s.parts ? s.parts->toolbar_height : 0;
  int x = ToPixelsX(s.scale, c.at.x) + origin.x;
  int y = ToPixelsY(s.scale, c.at.y) + origin.y;
  int w = ToPixelsX(s.scale, c.at.width);
  int h = ToPixelsY(s.scale, c.at.height);
  if (c.at.width == kNotGiven) c.flags |= control_flag::kOpenWidth;
  if (c.at.height == kNotGiven) c.flags |= control_flag::kOpenHeight;
  if ((c.flags & (control_flag::kOpenWidth | control_flag::kOpenHeight)) && c.cls->measure) {
    dc.Save();
    dc.SetFont(c.font);
    host::Size content = c.cls->measure(c, dc);
    dc.Restore();
    if (c.flags & control_flag::kOpenWidth) w = content.width;
    if (c.flags & control_flag::kOpenHeight) h = content.height;
  }
  c.pixels = host::Rect::FromSize(x, y, std::max(w, 1), std::max(h, 1));
}

void CreateHostWindow(Structure& s, Control& c) {
  host::WindowSpec spec;
  spec.kind = host::WindowKind::kChild;
  spec.parent = s.handle;
  spec.rect = c.pixels;
  spec.title = c.text;
  spec.control_id = c.equate;
  spec.class_name = c.cls->window_class;
  spec.background = theme::kWindow;
  spec.style = host::style::kVisible;
  if (c.cls->tab_stop && !(c.attr & control_attr::kSkip)) spec.style |= host::style::kTabStop;
  Control* self = &c;
  spec.proc = [self](const host::Message& m) { return ControlProc(self, m); };
  c.handle = host::CreateWindow(spec);
}

// The definition's settings of one control: texts, numbers, alerts and its class's own state.
void TakeSettings(Control& c, const Entry& entry) {
  if (const std::string* p = entry.String(Field::kPicture)) c.picture = *p;
  if (const std::string* t = entry.String(Field::kText)) c.text = *t;
  if (const std::string* f = entry.String(Field::kFormat)) SetListFormat(c, *f);
  if (const std::string* i = entry.String(Field::kImage)) c.image = *i;
  if (const std::string* i = entry.String(Field::kIcon)) c.image = *i;
  if (const std::string* m = entry.String(Field::kMessage)) c.message = *m;
  if (const std::string* t = entry.String(Field::kTip)) c.tip = *t;
  c.key = static_cast<uint32_t>(entry.Number(Field::kKey));
  c.action = entry.Number(Field::kAction);
  if (entry.kind == kKindProgress) {
    ProgressState& p = Progress(c);
    p.lower = entry.Real(Field::kLower);
    p.upper = entry.Real(Field::kUpper);
    if (p.upper <= p.lower) p.upper = p.lower + 100;
  }
  for (size_t i = 0; i < entry.alerts.size(); ++i)
    c.alerts[static_cast<int>(i) + 1] = entry.alerts[i];
  c.color = entry.Number(Field::kColor);
  c.fill = entry.Number(Field::kFill);
  if (entry.kind == kKindImage || (entry.kind == kKindButton && !c.image.empty())) {
    c.bitmap = LoadControlImage(c.image);
  }
}

// The host window of a control that has one, disabled or hidden as its attributes say.
void CreateControlWindow(Structure& s, Control& c) {
  CreateHostWindow(s, c);
  if (c.attr & control_attr::kDisabled) {
    c.flags |= control_flag::kDisabled;
    host::EnableWindow(c.handle, false);
  }
  if (c.attr & control_attr::kHidden) {
    c.flags |= control_flag::kHidden;
    host::ShowWindow(c.handle, host::ShowState::kHidden);
  }
}

void BuildOne(Structure& s, const Entry& entry, Control* container, host::DeviceContext& dc) {
  if (entry.kind == kKindMenuBar || entry.kind == kKindMenu || entry.kind == kKindItem) return;
  int drop_rows = static_cast<int>(entry.Number(Field::kDropRows));
  const ControlClass* cls = ClassForKind(entry.kind, drop_rows);
  if (!cls) return;
  auto owned = std::make_unique<Control>();
  Control& c = *owned;
  c.equate = entry.id;
  c.kind = entry.kind;
  c.cls = cls;
  c.window = &s;
  c.container = container;
  c.attr = entry.attr;
  c.at = entry.at;
  c.drop_rows = drop_rows;
  c.font = FontOf(entry, container ? container->font : s.font);
  c.own_font = entry.font.has_value() || (container && container->own_font);
  if (entry.use) {
    c.use_type = *entry.use;
    c.use = s.UseOf(entry.id);
  }
  TakeSettings(c, entry);
  if (container) container->children.push_back(&c);
  s.controls.push_back(std::move(owned));
  Position(s, c, dc);
  if (cls->has_window) CreateControlWindow(s, c);
  if (entry.kind == kKindButton && (entry.Number(Field::kFlags) & 1)) {
    if (s.default_button) s.default_button->Invalidate();
    s.default_button = &c;
  }
  internal::Refresh(c);
  BuildList(s, entry.children, &c, dc);
  if (entry.kind == kKindSheet) {
    if (c.state == 0) c.state = 1;
    internal::ShowSheetPages(c);
  }
}

}  // namespace

const ControlClass* ClassForKind(uint8_t kind, int drop_rows) {
  if (kind == kKindList && drop_rows > 0) return &kDropClass;
  for (const KindClass& k : kClasses) {
    if (k.kind == kind) return k.cls;
  }
  return nullptr;
}

void BuildControls(Structure& s) {
  auto surface = host::Surface::Create(1, 1);
  host::DeviceContext dc(surface);
  const std::vector<uint32_t>& alerts = s.definition.alerts;
  for (size_t i = 0; i < alerts.size(); ++i) s.alerts[static_cast<int>(i) + 1] = alerts[i];
  BuildList(s, s.definition.children, nullptr, dc);
  // Later controls lie above earlier ones, so containers stay beneath what they hold.
  for (auto& c : s.controls) {
    if (c->handle) host::BringToTop(c->handle);
  }
}

bool Control::IsVisible() const {
  for (const Control* c = this; c; c = c->container) {
    if (c->flags & control_flag::kHidden) return false;
    if (c->kind == kKindTab && c->container && c->container->kind == kKindSheet) {
      const Control* sheet = c->container;
      auto it = std::find(sheet->children.begin(), sheet->children.end(), c);
      if (it - sheet->children.begin() + 1 != sheet->state) return false;
    }
  }
  return true;
}

bool Control::IsEnabled() const {
  for (const Control* c = this; c; c = c->container) {
    if (c->flags & control_flag::kDisabled) return false;
  }
  return true;
}

void Control::Invalidate() const {
  if (handle) host::Invalidate(handle);
}

namespace {

// The text a radio leaves in its option's variable, read back as the variable holds it: a
// radio's text is cut to a short string variable ("Female" in a STRING(1) is "F"), so that is
// what the variable is compared with to tell which radio is on.
std::string StoredText(const Control& option, const std::string& text) {
  std::vector<uint8_t> scratch(std::max<size_t>(option.use_type.size, 1) + 1, 0);
  UseVariable variable{scratch.data()};
  UseValue value;
  value.is_text = true;
  value.text = text;
  if (!WriteUse(variable, option.use_type, value)) return text;
  return ReadUse(variable, option.use_type).text;
}

}  // namespace

namespace internal {

namespace {

// Takes the USE variable into what the control shows; true when that changed.
bool ShowVariable(Control& c) {
  if (c.kind == kKindCheck) {
    UseValue v = ReadUse(*c.use, c.use_type);
    int on = v.is_text ? !v.text.empty() : v.number != 0;
    return std::exchange(c.state, on) != on;
  }
  if (c.kind == kKindProgress) {
    double value = ReadUse(*c.use, c.use_type).number;
    return std::exchange(Progress(c).value, value) != value;
  }
  if (c.kind == kKindOption) {
    UseValue v = ReadUse(*c.use, c.use_type);
    int index = 0;
    for (Control* radio : c.children) {
      ++index;
      if (radio->kind != kKindRadio) continue;
      int on =
          v.is_text ? StoredText(c, radio->text) == v.text : index == static_cast<int>(v.number);
      if (radio->state != on) {
        radio->state = on;
        radio->Invalidate();
      }
    }
    return false;
  }
  if (c.kind == kKindSheet) return false;
  std::string text = DisplayText(*c.use, c.use_type, c.picture);
  bool changed = std::exchange(c.changed, false) || text != c.text;
  c.text = std::move(text);
  if (c.cls == &kEntryClass || c.cls == &kTextClass) {
    size_t caret = std::min(Editing(c).caret, c.text.size());
    changed |= std::exchange(Editing(c).caret, caret) != caret;
    changed |= std::exchange(Editing(c).refused, false);  // the variable's text is shown again
  }
  return changed;
}

}  // namespace

// Repaints only what changed: the window loop refreshes every USE control after each event,
// and repainting the unchanged ones each time would cost far more than the events themselves.
void Refresh(Control& c) {
  bool changed = c.use && ShowVariable(c);
  if (!c.handle) return;
  if (host::WindowText(c.handle) != c.text) {
    host::SetWindowText(c.handle, c.text);
    changed = true;
  }
  if (changed) c.Invalidate();
}

void PaintWindowless(Structure& s, host::DeviceContext& dc) {
  for (auto& owned : s.controls) {
    Control& c = *owned;
    if (c.cls->has_window || !c.IsVisible()) continue;
    dc.Save();
    dc.Translate(c.pixels.left, c.pixels.top);
    dc.IntersectClip(draw::Bounds(c));
    c.cls->paint(c, dc, false);
    dc.Restore();
  }
}

bool ClickRegion(Structure& s, host::Point point) {
  for (auto it = s.controls.rbegin(); it != s.controls.rend(); ++it) {
    Control& c = **it;
    if (c.kind != kKindRegion || !c.IsVisible() || !c.IsEnabled()) continue;
    if (point.x < c.pixels.left || point.x >= c.pixels.right || point.y < c.pixels.top ||
        point.y >= c.pixels.bottom) {
      continue;
    }
    s.Queue(event::kAccepted, &c);
    return true;
  }
  return false;
}

bool RaiseAlert(Structure& w, Control* focus, uint32_t code) {
  auto alerted = [code](const std::map<int, uint32_t>& alerts) {
    for (const auto& slot : alerts) {
      if ((slot.second & 0x7FF) == (code & 0x7FF)) return true;
    }
    return false;
  };
  Control* target = nullptr;
  if (focus && alerted(focus->alerts)) {
    target = focus;
  } else if (!alerted(w.alerts)) {
    return false;
  }
  w.last_key_code = code;
  w.Queue(event::kAlertKey, target);
  return true;
}

void Focus(Control& c) {
  if (!c.handle) return;
  host::SetFocus(c.handle);
}

void ShowSheetPages(Control& sheet) {
  for (Control* tab : sheet.children) {
    for (auto& owned : sheet.window->controls) {
      Control* c = owned.get();
      bool inside = false;
      for (Control* up = c->container; up && !inside; up = up->container) inside = up == tab;
      if (!inside || !c->handle) continue;
      bool show = c->IsVisible();
      host::ShowWindow(c->handle, show ? host::ShowState::kNormal : host::ShowState::kHidden);
    }
  }
  sheet.Invalidate();
}

}  // namespace internal
}  // namespace carelog::window
