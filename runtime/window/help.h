// The program's help file and the help actions of menus and buttons.
//
// The help file is set once for the program by its name ("CARELOG.HLP") and, optionally, the
// places where the program ships it under another name (its user guide). A help action looks
// for it, in order: the name in the working directory, the name beside the program, then each
// of those places; the first that exists is handed to the desktop's viewer
// (host::OpenInViewer) in a process of its own that the program neither waits for nor keeps.
// With no help file set the action does nothing; when none of the places holds the file, or
// no viewer can show it, a message box says so. Either way the window is marked as having
// started help.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "runtime/window/window_structure.h"

namespace carelog::window {

enum class HelpRequest : uint8_t { kContents, kOnHelp, kSearch, kContext };

// `shipped_as`: further paths of the same help, tried after the name itself.
void SetHelpFile(const std::string& name, std::vector<std::string> shipped_as = {});
std::string HelpFile();

// The file a help action opens now; empty when no help file is set or none of its places
// holds it.
std::string LocateHelpFile();

// The texts of the two failures a help action reports.
std::string HelpNotFoundText(const std::string& name);
std::string HelpNotShownText(const std::string& file);

// Opens an existing help file for a request; `topic` is the window's help context for
// kContext. Returns false when the file could not be handed over.
using HelpLauncher =
    std::function<bool(const std::string& file, HelpRequest request, const std::string& topic)>;
// Replaces the launcher (tests record the requests instead); returns the previous one.
HelpLauncher SetHelpLauncher(HelpLauncher launcher);

// Performs a help action for the window: marks it and opens the help file.
// REQUIRES: the calling thread holds the global semaphore (a failure shows a message box).
void StartHelp(Structure& window, HelpRequest request);
bool HelpStarted(const Structure& window);

}  // namespace carelog::window
