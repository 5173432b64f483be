// Property numbers of windows and controls (target{property} and target{property, index}).
//
// Values travel as text, as the procedures' property syntax gives them. Effects:
//   0x7C00 text of a control (entries: the shown text; sheets: the selected tab number)
//   0x7C15 current value of a progress bar or spin box
//   0x7C54 left edge in window units   (get and set; moves the control or window)
//   0x7C5C top edge in window units    (get and set)
//   0x7C5E default button (button): get 1/0; set makes it the window's default
//   0x7C5F disabled: get reads attribute bit 0x40; set disables (non-zero) or enables
//   0x7C65 hidden: set hides (non-zero) or shows
//   0x7C73 font size in points of a control (get and set; the control is redrawn)
//   0x7C86 window timer period in 1/100 s; set restarts (0 stops) the timer
//   0x7C8A read-only entry (get and set): a read-only entry takes no typing
//   0x7C8B vertical scroll bar (list: shown or not; text: kept)
//   0x7C8E visible rows of a list (get): whole rows that fit under its header
//   0x7C8F selected row of a list, from 1; 0 none (get and set; set scrolls it into view and
//          queues nothing)
//   0x7C9A accept-all mode flag of the window
//   0x7C9E vertical scroll position: a list's thumb, 0-100 (windows: kept)
//   0x7CBC key code of a control (get and set): pressing it selects or presses the control
//   0x7D01 status-bar zone text, indexed by zone
//   0x7D06 alert key of a control or window, indexed by alert slot; 0 removes the slot
//   0x7E00 list format text (get and set; set parses it again)
//   0x7E01-0x7E0B a list column's width (pixels), header, picture, field, -, justification
//          letter, header justification letter, flags, extra flags, data indent, header
//          indent; indexed by column from 1 (list_format.h)
//   0x7E05 number of field columns of a list (get)
//   0x7E40 header height of a list in pixels (get)
//   0x7E7F width of all a list's columns in pixels (get)
// Any other number is kept with its target and read back as set.
//
// The system target (kSystemTarget, -4) is one program-wide set of properties, kept and read
// back as set from any thread. On it, 0x7CBC is the program's ready mark: the main procedure
// sets it to 1 just before it opens its frame, and whoever drives the program from outside
// (the script mode) waits for it before looking for the frame.
#pragma once

#include <cstdint>

namespace carelog::window {

inline constexpr int kSystemTarget = -4;

// The system target's property, readable from any thread (0 when never set).
int64_t SystemProperty(int property, int index = 0);

namespace prop {
inline constexpr int kText = 0x7C00;
inline constexpr int kProgress = 0x7C15;
inline constexpr int kXPos = 0x7C54;
inline constexpr int kYPos = 0x7C5C;
inline constexpr int kDefault = 0x7C5E;
inline constexpr int kDisable = 0x7C5F;
inline constexpr int kHide = 0x7C65;
inline constexpr int kFontSize = 0x7C73;
inline constexpr int kTimer = 0x7C86;
inline constexpr int kReadOnly = 0x7C8A;
inline constexpr int kVScroll = 0x7C8B;
inline constexpr int kItems = 0x7C8E;
inline constexpr int kSelected = 0x7C8F;
inline constexpr int kAcceptAll = 0x7C9A;
inline constexpr int kVScrollPos = 0x7C9E;
inline constexpr int kKey = 0x7CBC;
inline constexpr int kStatusText = 0x7D01;
inline constexpr int kAlertKey = 0x7D06;
inline constexpr int kListFormat = 0x7E00;
inline constexpr int kFormatColumns = 0x7E05;
inline constexpr int kListHeaderHeight = 0x7E40;
inline constexpr int kListWidth = 0x7E7F;
}  // namespace prop

}  // namespace carelog::window
