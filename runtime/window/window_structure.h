// Window structure objects and control objects: what a procedure's WINDOW, APPLICATION and
// REPORT structures become once constructed, and the controls built into them.
//
// Life of a structure:  constructed --Open--> open --(EVENT:CloseWindow taken)--> closing
//                       --Accept ends the loop / Close--> closed (may be opened again)
//
// Invariants:
//   1. Structures and controls are touched only by the thread holding the global semaphore
//      (threads.h); a structure belongs to the thread that opened it.
//   2. `controls` holds every built control in declaration order (containers before their
//      children); each control's host window, when it has one, is a child of `handle`.
//   3. At most one control of a window is its default button.
//   4. The windows open on a thread form a stack through `next_down`; the top one is served
//      by ACCEPT.
#pragma once

#include <cassert>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runtime/host/graphics.h"
#include "runtime/host/types.h"
#include "runtime/host/window_system.h"
#include "runtime/window/definition_model.h"
#include "runtime/window/events.h"
#include "runtime/window/units.h"
#include "runtime/window/use_binding.h"
#include "runtime/window/use_table.h"

namespace carelog::window {

enum class StructureKind : uint8_t { kApplication, kMdi, kWindow, kReport };

struct ControlClass;
struct FrameParts;
class Structure;

// Control attribute flags kept by the runtime (the definition's attribute word is in `attr`).
namespace control_flag {
inline constexpr uint32_t kOpenWidth = 0x1;
inline constexpr uint32_t kOpenHeight = 0x2;
inline constexpr uint32_t kHidden = 0x4;
inline constexpr uint32_t kDisabled = 0x40;  // the value the disabled property reads
inline constexpr uint32_t kSkip = 0x8;       // no tab stop
inline constexpr uint32_t kNoScroll = 0x10;  // not scrolled into view when selected
}  // namespace control_flag

// Definition attribute bits of controls that the runtime reads.
namespace control_attr {
inline constexpr uint32_t kSkip = 0x1000;         // no tab stop
inline constexpr uint32_t kSelectAll = 0x2000;    // entry: select the whole text on focus
inline constexpr uint32_t kNewSelection = 0x800;  // entry: EVENT:NewSelection while typing
inline constexpr uint32_t kDisabled = 0x40;       // built disabled
inline constexpr uint32_t kHidden = 0x80;         // built hidden
}  // namespace control_attr

// State that one control class keeps for itself (entry editing, progress limits, list rows
// and columns ...). Each class derives its own and reaches it through Control::State<T>().
struct ControlState {
  virtual ~ControlState() = default;
};

// The common part of every control; what only one class needs lives in its ControlState.
struct Control {
  int equate = 0;
  uint8_t kind = 0;
  const ControlClass* cls = nullptr;
  Structure* window = nullptr;
  Control* container = nullptr;  // group, option, sheet, tab or toolbar holding it
  host::WindowId handle = host::kNoWindow;
  uint32_t attr = 0;   // the definition's attribute word
  uint32_t flags = 0;  // control_flag bits
  window::Rect at;     // window units as defined
  host::Rect pixels;   // in the window's client coordinates
  const UseVariable* use = nullptr;
  UseType use_type;
  std::string picture;
  std::string text;  // caption of buttons, prompts ...; the shown text of entries
  std::string image;
  std::string message;  // shown in the status bar while the control or item is highlighted
  std::string tip;      // the tooltip
  host::FontSpec font;
  // The font comes from a font record of the control's definition or of a container's; false
  // while it follows the window's, which a font set on control 0 then changes as well.
  bool own_font = false;
  uint32_t key = 0;  // key code that selects or presses the control
  int64_t action = 0;
  int64_t color = -1, fill = -1;
  int drop_rows = 0;
  std::vector<Control*> children;
  std::map<int, int64_t> extra;           // further properties set at run time, by number
  std::shared_ptr<host::Surface> bitmap;  // images: the decoded file
  bool pressed = false;                   // buttons: held down by the mouse

  // The shown text was edited since it was last checked (entries, spin boxes, text boxes); the
  // window reads it before it presses the default button or shows variables again.
  bool changed = false;
  // Check boxes and radios: the state shown; sheets: the selected tab (from 1).
  int state = 0;
  // Alert keys by slot: keys that queue EVENT:AlertKey for the control instead of acting.
  std::map<int, uint32_t> alerts;

  // The class's own state, created on first use. REQUIRES: every call for one control names
  // the same type (the control's class decides it).
  template <class T>
  T& State() const {
    if (!own_) own_ = std::make_unique<T>();
    assert(dynamic_cast<T*>(own_.get()));
    return *static_cast<T*>(own_.get());
  }

  bool IsVisible() const;
  bool IsEnabled() const;
  void Invalidate() const;

 private:
  mutable std::unique_ptr<ControlState> own_;
};

class Structure {
 public:
  Structure(StructureKind kind, std::string label, std::string module, UseTable use_table);
  ~Structure();
  Structure(const Structure&) = delete;
  Structure& operator=(const Structure&) = delete;

  StructureKind kind() const { return kind_; }
  const std::string& label() const { return label_; }
  const std::string& module() const { return module_; }
  const UseTable& use_table() const { return use_table_; }
  bool is_open() const { return handle != host::kNoWindow; }

  Control* Find(int equate);
  // The USE variable of the control with field equate `field`; nullptr when the table has
  // none (Open has checked the table against the definition before any control is built).
  const UseVariable* UseOf(int field) const;

  // Queues an event and wakes the window's loop.
  void Queue(int code, Control* control);
  int QueuedCount(int code) const;

  host::WindowId handle = host::kNoWindow;
  host::WindowId client = host::kNoWindow;  // application frame: its MDI client
  host::ThreadId thread = host::kNoThread;
  int slot = -1;
  Entry definition;
  uint32_t attr = 0;
  uint32_t frame_attr = 0;
  std::string title, icon;
  int64_t help = 0;
  host::FontSpec font;
  UnitScale scale;
  std::vector<std::unique_ptr<Control>> controls;
  Control* default_button = nullptr;
  Control* selection_target = nullptr;
  int selected_field = 0;
  host::Point scroll;  // how far the controls are scrolled: client = pixels - scroll
  Control* scroll_after_release = nullptr;  // selected while the mouse button was held
  // An image scroll bar's thumb held by the mouse (image_scroll.h): the image, which bar, where
  // along the bar the press fell and the scroll position then.
  struct ThumbDrag {
    Control* image = nullptr;
    bool vertical = false;
    int press = 0;
    int scroll = 0;
  } thumb_drag;
  std::deque<EventRecord> queue;
  std::optional<EventRecord> current;
  int timer_period = 0;
  bool timer_pending = false;
  bool closing = false;
  bool accept_all = false;
  int accept_all_position = 0;  // index into the USE controls of the next check
  Control* accept_all_checking = nullptr;
  Structure* next_down = nullptr;
  int class_number = 0;
  std::map<int, std::string> status_zones;
  // Menu bar, toolbar and status bar of the window, their layout and help state (frame_layout.h).
  std::unique_ptr<FrameParts> parts;
  std::map<int, int64_t> extra;  // window properties without an effect of their own
  uint32_t last_key_code = 0;
  // Alert keys of the window by slot (from its definition, then property 0x7D06).
  std::map<int, uint32_t> alerts;
  // The placement last reported to the procedure (window_placement.cpp); kHidden until the
  // window has opened, so that opening reports nothing.
  host::ShowState reported_state = host::ShowState::kHidden;
  host::Rect reported_rect;
  // The controls' area as designed and how much the resize layout has grown it
  // (resize_layout.h); an empty designed area until the window is first placed.
  host::Size designed_area;
  host::Size grown;
  bool build_failed = false;  // a control could not be built
  // Called at once for EVENT:TabChanging (sheet equate, new tab); false refuses the change.
  std::function<bool(int field, int tab)> synchronous_handler;

 private:
  StructureKind kind_;
  std::string label_;
  std::string module_;
  UseTable use_table_;
};

// Every control class in the same steps: measure the open dimensions, build the host window,
// handle its input, draw it.
struct ControlClass {
  const char* window_class;     // "TamButton"
  const char* automation_kind;  // "button"
  bool has_window;              // false: drawn by the window beneath the controls
  bool tab_stop;
  bool opaque;  // paints its whole rectangle
  host::Size (*measure)(Control& control, host::DeviceContext& dc);
  void (*paint)(Control& control, host::DeviceContext& dc, bool focused);
  // Input and focus messages of the control's host window; return true when handled.
  bool (*input)(Control& control, const host::Message& message);
};

// The class serving a definition kind (drop lists for kind 14 with drop rows), nullptr for
// kinds without a builder.
const ControlClass* ClassForKind(uint8_t kind, int drop_rows);

// Builds every control of the structure's definition into its open window.
void BuildControls(Structure& window);

// The control classes' shared drawing palette and helpers.
namespace theme {
inline constexpr host::Color kWindow{243, 243, 243};
inline constexpr host::Color kFace{253, 253, 253};
inline constexpr host::Color kBorder{173, 173, 173};
inline constexpr host::Color kText{26, 26, 26};
inline constexpr host::Color kDisabledText{160, 160, 160};
inline constexpr host::Color kDisabledFace{240, 240, 240};
inline constexpr host::Color kAccent{0, 95, 184};
inline constexpr host::Color kAccentLight{204, 228, 247};
inline constexpr host::Color kWhite{255, 255, 255};
}  // namespace theme

}  // namespace carelog::window
