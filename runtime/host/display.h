// Choosing and starting the display backend.
//
//   auto      sdl when a display is available (DISPLAY or WAYLAND_DISPLAY set and SDL starts),
//             headless otherwise;
//   headless  in-memory surfaces, no display (tests, CI, automation);
//   sdl       real windows; fails with a plain message when there is no display.
//
// Start before creating windows; windows created earlier are shown when the backend starts.
#pragma once

#include <string>

#include "runtime/host/types.h"

namespace carelog::host {

enum class DisplayChoice : uint8_t { kAuto, kHeadless, kSdl };

// False, with the reason in *error, when the chosen display cannot be used.
bool StartDisplay(DisplayChoice choice, std::string* error);
// Stops the backend; windows stay in the window system with no display attached.
void StopDisplay();
// "sdl", "headless", or "" before start.
std::string DisplayName();
// Whether the display shows a top-level window now.
bool DisplayShows(WindowId window);

// The usable area of the screen, in screen coordinates: the display's work area (the screen
// less the panels and docks that the window manager keeps free), or the headless screen. Before
// a display starts, the headless screen.
Rect ScreenWorkArea();
// The size of the headless screen: 1024 x 768 unless set here or by --screen=WIDTHxHEIGHT.
// Sizes below 1 x 1 or above 16384 x 16384 are refused.
bool SetHeadlessScreenSize(Size size);
Size HeadlessScreenSize();
// Reads "--screen=WIDTHxHEIGHT" from program arguments into the headless screen size. False,
// changing nothing, when the value is malformed; true when the option is absent.
bool ScreenSizeFromArguments(int argc, const char* const* argv);

// The screen's density as a scale: screen pixels per logical pixel, a logical pixel being 1/96
// inch. The window system, dialog units and fonts all measure in logical pixels; top-level
// windows keep backing stores of scale x as many screen pixels and are painted through the
// scale, so on a dense screen the program has the size it has at 96 dpi and is drawn sharp.
// Chosen, first to last: SetDisplayScale or --scale=N, the CARELOG_SCALE environment variable,
// the display's own (the X server's Xft.dpi), 1.
double DisplayScale();
// Scales from 1 to 4 are accepted; anything else is refused and changes nothing.
bool SetDisplayScale(double scale);
// Forgets any scale set or read: the next is read from the environment and the display again.
void ForgetDisplayScale();
// What the display reports, taken unless a scale was set or given in the environment.
void SetDisplayScaleFromDisplay(double scale);
// A screen of `dpi` dots per inch as a scale: dpi / 96 in steps of a quarter, from 1 to 4.
double ScaleForDpi(double dpi);
// Reads "--scale=N" from program arguments. False, changing nothing, when N is malformed or out
// of range; true when the option is absent.
bool ScaleFromArguments(int argc, const char* const* argv);

// Reads the display choice from program arguments: "--headless" or "--display=NAME".
// Unknown names give false.
bool DisplayChoiceFromArguments(int argc, const char* const* argv, DisplayChoice* choice);

}  // namespace carelog::host
