// The operations procedures call on windows: OPEN and CLOSE of structures, the ACCEPT loop and
// what it reports (EVENT, FIELD, ACCEPTED, KEYCODE), POST, SELECT, DISPLAY and properties.
//
// Every operation works on the calling thread's top window unless it takes a structure, and
// must be called with the global semaphore held (from a procedure run by RunProgram or Start).
// Runtime errors go through FatalRuntimeError; when a test's hook lets it return, the
// operation fails without effect (false, 0).
//
// A procedure's loop:
//   Structure window(StructureKind::kWindow, "PROC$WINDOW", "carelog.cpp$module", uses);
//   Open(window);
//   while (Accept()) {
//     switch (Event()) { ... }
//   }
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "runtime/window/window_structure.h"

namespace carelog::window {

// OPEN: builds the window from its definition and makes it the thread's top window. Errors
// 526-533 and 535.
bool Open(Structure& structure);
// CLOSE: hides it, discards its queued events and wake-ups, destroys it. Error 536.
bool Close(Structure& structure);

// ACCEPT: waits for the next event of the thread's top window and makes it current. False
// when the window has closed: the loop ends. Errors 537 and 540.
bool Accept();
// Refuses the close announced by the current EVENT:CloseWindow: the window stays open.
void RefuseClose();

int Event();
int Field();
int Accepted();
uint32_t KeyCode();  // of the current event, masked with 0x7FF
// SETKEYCODE: what KEYCODE() reports from now on for the current event and the next ones.
void SetKeyCode(uint32_t code);

// POST(event, control, thread): thread 0 is the calling one. Error 522 for a report control.
void Post(int event, int control = 0, int thread = 0);
// SELECT(control); 0 starts accept-all mode.
void Select(int control = 0);
// DISPLAY: shows every USE variable of the top window again.
void Display();

// target{property} and target{property, index}: control 0 is the window, kSystemTarget the
// program-wide target (properties.h).
std::string GetProperty(int control, int property, int index = 0);
void SetProperty(int control, int property, const std::string& value, int index = 0);

// SETFONT(control, typeface, size, colour, style); control 0 is the window itself. An empty
// typeface or a size of 0 keeps the current one, a negative colour keeps the current colour;
// the style word is described in control_font.cpp.
void SetFont(int control, const std::string& typeface, int points, int64_t color, int64_t style);

// Registers the window runtime with the automation layer (idempotent).
void RegisterAutomation();

namespace internal {
// Shows the control's USE variable (or its text) in its window.
void Refresh(Control& control);
// Moves the focus to the control at once.
void Focus(Control& control);
// Entry check on losing the focus or in accept-all mode: parses the shown text through the
// picture. `queue_events` queues EVENT:Accepted / EVENT:Rejected. True when it parsed.
bool CheckEntry(Control& control, bool queue_events);
// A button was pressed (click, Enter on the default button, its key).
void Press(Control& control);
// Shows or hides the controls of a sheet's tabs after its selection changed.
void ShowSheetPages(Control& sheet);
// Asks the procedure at once, with the modal count raised; false refuses.
bool DispatchSynchronously(Structure& window, int event, Control* control, int value);
// True while this thread's procedure is being asked at once (DispatchSynchronously): its
// window is busy with that modal action and queues no EVENT:Rejected.
bool DispatchingSynchronously();
// Picks a sheet's tab (from 1) as a click on it would.
void SelectTab(Control& sheet, int tab);
// Moves a sheet's selection `step` tabs on (negative: back), wrapping around, as Ctrl+Tab does.
void StepTab(Control& sheet, int step);
// A click on a tab's header, scrolling the row of tabs to it first as its arrows would.
void ClickTab(Control& tab);
// The header of a tab in its sheet's coordinates; none while the row is scrolled past it.
std::optional<host::Rect> TabHeader(const Control& tab);
// Sets or kills the window's timer from its period.
void ApplyTimer(Structure& window);
// Scrolls the window so that the control's rectangle is inside its client area (as much of
// it as fits, from its top left).
void ScrollIntoView(Structure& window, const Control& control);
// Scrolls a selected control into view at once, or after the release when the left mouse
// button is held: scrolling under a held button would move the control away from the point
// where the release lands, and its click would be lost.
void ScrollToSelected(Structure& window, Control& control);
// Does the scroll that waited for the mouse button, once the button is up.
void ScrollAfterRelease(Structure& window);
// The open application frame, nullptr when none is open.
Structure* ApplicationFrame();
// Tells automation that a structure opened or closed.
void NoteOpen(Structure* window, bool open);
// Queues EVENT:AlertKey when `code` (a key code, or a mouse code 1, 2, 5) is an alert key of
// the focused control (the event names it) or of the window (a window event); true when it did.
bool RaiseAlert(Structure& window, Control* focus, uint32_t code);
// A click at `point` (window coordinates, scroll included) on the topmost shown and enabled
// region queues EVENT:Accepted for it; true when a region took the click.
bool ClickRegion(Structure& window, host::Point point);
// Draws the controls without windows of their own (images, lines, boxes, regions).
void PaintWindowless(Structure& window, host::DeviceContext& dc);
// Takes the opened window's placement as the one its procedure knows.
void StartPlacementReports(Structure& window);
// After the window was moved, sized, maximized, minimized or restored (by the program, the
// user or the window manager): queues EVENT:Moved, Sized, Maximized, Iconized or Restored.
void ReportPlacement(Structure& window);
}  // namespace internal

}  // namespace carelog::window
