// The program's help file and the help actions of menus and buttons.
//
// The help file is set once for the program (SetHelpFile("CARELOG.HLP")). A help action opens
// it when the file exists, by handing it to the desktop's opener (`xdg-open`) in a process of
// its own that the program neither waits for nor keeps; with no file set, or none on disk,
// the action does nothing. Either way the window is marked as having started help.
#pragma once

#include <functional>
#include <string>

#include "runtime/window/window_structure.h"

namespace carelog::window {

enum class HelpRequest : uint8_t { kContents, kOnHelp, kSearch, kContext };

void SetHelpFile(const std::string& path);
std::string HelpFile();

// Opens an existing help file for a request; `topic` is the window's help context for
// kContext. Returns false when the file could not be handed over.
using HelpLauncher =
    std::function<bool(const std::string& file, HelpRequest request, const std::string& topic)>;
// Replaces the launcher (tests record the requests instead); returns the previous one.
HelpLauncher SetHelpLauncher(HelpLauncher launcher);

// Performs a help action for the window: marks it and opens the help file when it exists.
void StartHelp(Structure& window, HelpRequest request);
bool HelpStarted(const Structure& window);

}  // namespace carelog::window
