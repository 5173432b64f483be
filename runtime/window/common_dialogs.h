// The runtime's common dialogs: font choice, printer setup and the save-file name. Each is a
// window of the runtime itself, opened from its own definitions (module "carelog.cpp$carlg_sf")
// and run modally on the calling thread with the ordinary OPEN/ACCEPT loop, so automation
// drives it like any window.
#pragma once

#include <cstdint>
#include <string>

namespace carelog::window {

// A font as the program keeps it. `style` holds the weight in its low bits and the attribute
// bits (italic, underline, strikeout) above them, the same encoding control fonts use.
struct FontChoice {
  std::string face;
  int size = 0;
  int64_t color = 0;
  int64_t style = 0;  // style: weight and attribute bits
};

// Modal font dialog, preset with *choice; true and *choice filled on OK.
// Cancel or closing the dialog returns false and leaves *choice untouched.
// REQUIRES: choice is not null; called on a thread that may open windows.
bool ChooseFont(const std::string& title, FontChoice* choice);

// Modal printer setup over the platform's printers; true on OK (the chosen
// printer, paper and orientation become the program's print settings, read back through
// host::CurrentPrintSettings of runtime/host/print_settings.h).
// Cancel or closing keeps the previous settings and returns false.
bool PrinterSetup();

// Modal save-file dialog. *path presets the folder and name (empty: the current directory);
// `filter` lists the types of file as "description|patterns|description|patterns", patterns
// separated by ';' ("Text files|*.txt|All files|*.*"). True on OK with the absolute path of
// the file in *path; the file is neither created nor checked for being there.
bool ChooseSaveFile(const std::string& title, std::string* path, const std::string& filter);

}  // namespace carelog::window
