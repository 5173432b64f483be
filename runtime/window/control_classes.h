// The control classes and the drawing helpers they share. Every class follows the same steps:
// measure (the size of its content, for open widths and heights), input (its messages), paint
// (into a context whose origin is the control's top left).
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "runtime/window/window_structure.h"

namespace carelog::window {

// Entries, spin boxes and text boxes: the caret, the whole-text selection and the undo text.
struct EntryState : ControlState {
  size_t caret = 0;
  bool all_selected = false;
  std::string undo_text;  // the text that an undo brings back
  // The last check refused the shown text: the field is framed in red until a check takes it.
  bool refused = false;
};

// Progress bars (and spin boxes' current value): the limits and the value shown.
struct ProgressState : ControlState {
  double lower = 0, upper = 100, value = 0;
};

inline EntryState& Editing(const Control& c) {
  return c.State<EntryState>();
}
inline ProgressState& Progress(const Control& c) {
  return c.State<ProgressState>();
}

extern const ControlClass kButtonClass;
extern const ControlClass kCheckClass;
extern const ControlClass kRadioClass;
extern const ControlClass kOptionClass;
extern const ControlClass kGroupClass;
extern const ControlClass kPromptClass;
extern const ControlClass kStringClass;
extern const ControlClass kEntryClass;
extern const ControlClass kTextClass;
extern const ControlClass kProgressClass;
extern const ControlClass kSheetClass;
extern const ControlClass kTabClass;
extern const ControlClass kRegionClass;
extern const ControlClass kImageClass;
extern const ControlClass kLineClass;
extern const ControlClass kBoxClass;
extern const ControlClass kCustomClass;
extern const ControlClass kToolbarClass;
extern const ControlClass kListClass;
extern const ControlClass kDropClass;

namespace draw {
// The control's rectangle in its own coordinates.
host::Rect Bounds(const Control& c);
// Text in the control's font, grey when the control is disabled.
void Label(host::DeviceContext& dc, const Control& c, const host::Rect& rect, std::string_view text,
           uint32_t flags);
// Size of a one-line text in the control's font, with `pad` pixels around it.
host::Size TextSize(host::DeviceContext& dc, const Control& c, std::string_view text, int pad_x,
                    int pad_y);
// The accent ring that marks the focus.
void FocusRing(host::DeviceContext& dc, const host::Rect& rect);
// A colour of the definition (0x00BBGGRR), or `fallback` for -1.
host::Color DefinitionColor(int64_t value, host::Color fallback);
// The parts of a scroll bar: its whole strip, the two arrow boxes (up or left first) and the
// thumb (empty: none). `vertical` points the arrows up and down, else left and right.
struct ScrollBarParts {
  host::Rect bar, back, forward, thumb;
  bool vertical = true;
};
void ScrollBar(host::DeviceContext& dc, const ScrollBarParts& parts);
}  // namespace draw

namespace internal {
// Every tab's header of a sheet in the sheet's coordinates, in tab order, from one layout of
// its row; none for a tab the row is scrolled past.
std::vector<std::optional<host::Rect>> TabHeaders(const Control& sheet);
}  // namespace internal

}  // namespace carelog::window
