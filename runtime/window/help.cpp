#include "runtime/window/help.h"

#include <filesystem>
#include <mutex>

#include "runtime/host/system.h"
#include "runtime/window/frame_layout.h"
#include "runtime/window/message_box.h"

namespace carelog::window {
namespace {

namespace fs = std::filesystem;

std::mutex help_mutex;
std::string help_name;                  // guarded by help_mutex
std::vector<std::string> help_shipped;  // guarded by help_mutex

constexpr char kHelpCaption[] = "Help";

bool LaunchViewer(const std::string& file, HelpRequest, const std::string&) {
  return host::OpenInViewer(file);
}

HelpLauncher& Launcher() {
  static HelpLauncher launcher = &LaunchViewer;
  return launcher;
}

bool IsFile(const fs::path& path) {
  std::error_code error;
  return !path.empty() && fs::is_regular_file(path, error);
}

std::string TopicOf(const Structure& s) {
  const std::string* help = s.definition.String(Field::kHelp);
  return help ? *help : std::string();
}

// Where the help file may be, in the order tried.
std::vector<fs::path> Places(const std::string& name, const std::vector<std::string>& shipped) {
  std::vector<fs::path> places{fs::path(name)};
  std::string program = host::ExecutablePath();
  if (!program.empty() && fs::path(name).is_relative()) {
    places.push_back(fs::path(program).parent_path() / name);
  }
  places.insert(places.end(), shipped.begin(), shipped.end());
  return places;
}

}  // namespace

void SetHelpFile(const std::string& name, std::vector<std::string> shipped_as) {
  std::lock_guard<std::mutex> lock(help_mutex);
  help_name = name;
  help_shipped = std::move(shipped_as);
}

std::string HelpFile() {
  std::lock_guard<std::mutex> lock(help_mutex);
  return help_name;
}

std::string LocateHelpFile() {
  std::string name;
  std::vector<std::string> shipped;
  {
    std::lock_guard<std::mutex> lock(help_mutex);
    name = help_name;
    shipped = help_shipped;
  }
  if (name.empty()) return std::string();
  for (const fs::path& place : Places(name, shipped)) {
    if (IsFile(place)) return place.string();
  }
  return std::string();
}

std::string HelpNotFoundText(const std::string& name) {
  return "The help file " + name +
         " cannot be found. It is looked for in the data folder, beside the program and in "
         "the program's installed documentation.";
}

std::string HelpNotShownText(const std::string& file) {
  return "The help file " + file +
         " cannot be shown: no program to view it is installed (xdg-open, from the "
         "xdg-utils package).";
}

HelpLauncher SetHelpLauncher(HelpLauncher launcher) {
  std::lock_guard<std::mutex> lock(help_mutex);
  HelpLauncher previous = Launcher();
  Launcher() = launcher ? std::move(launcher) : HelpLauncher(&LaunchViewer);
  return previous;
}

void StartHelp(Structure& s, HelpRequest request) {
  if (s.parts) s.parts->help_started = true;
  std::string name = HelpFile();
  if (name.empty()) return;
  std::string file = LocateHelpFile();
  if (file.empty()) {
    Message(HelpNotFoundText(name), kHelpCaption, message_icon::kExclamation);
    return;
  }
  HelpLauncher launcher;
  {
    std::lock_guard<std::mutex> lock(help_mutex);
    launcher = Launcher();
  }
  if (!launcher(file, request, request == HelpRequest::kContext ? TopicOf(s) : std::string())) {
    Message(HelpNotShownText(file), kHelpCaption, message_icon::kExclamation);
  }
}

bool HelpStarted(const Structure& s) {
  return s.parts && s.parts->help_started;
}

}  // namespace carelog::window
