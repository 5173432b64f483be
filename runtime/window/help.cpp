#include "runtime/window/help.h"

#include <filesystem>
#include <mutex>

#include "runtime/host/system.h"
#include "runtime/window/frame_layout.h"

namespace carelog::window {
namespace {

std::mutex help_mutex;
std::string help_file;  // guarded by help_mutex

// Hands the file to the desktop's opener, detached from this program.
bool LaunchOpener(const std::string& file, HelpRequest, const std::string&) {
  return host::StartDetachedProgram({"xdg-open", file});
}

HelpLauncher& Launcher() {
  static HelpLauncher launcher = &LaunchOpener;
  return launcher;
}

bool IsFile(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_regular_file(path, error);
}

std::string TopicOf(const Structure& s) {
  const std::string* help = s.definition.String(Field::kHelp);
  return help ? *help : std::string();
}

}  // namespace

void SetHelpFile(const std::string& path) {
  std::lock_guard<std::mutex> lock(help_mutex);
  help_file = path;
}

std::string HelpFile() {
  std::lock_guard<std::mutex> lock(help_mutex);
  return help_file;
}

HelpLauncher SetHelpLauncher(HelpLauncher launcher) {
  std::lock_guard<std::mutex> lock(help_mutex);
  HelpLauncher previous = Launcher();
  Launcher() = launcher ? std::move(launcher) : HelpLauncher(&LaunchOpener);
  return previous;
}

void StartHelp(Structure& s, HelpRequest request) {
  if (s.parts) s.parts->help_started = true;
  std::string file = HelpFile();
  if (!IsFile(file)) return;
  HelpLauncher launcher;
  {
    std::lock_guard<std::mutex> lock(help_mutex);
    launcher = Launcher();
  }
  launcher(file, request, request == HelpRequest::kContext ? TopicOf(s) : std::string());
}

bool HelpStarted(const Structure& s) {
  return s.parts && s.parts->help_started;
}

}  // namespace carelog::window
