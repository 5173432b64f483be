#include "runtime/window/help.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <mutex>

#include "runtime/window/frame_layout.h"

namespace carelog::window {
namespace {

std::mutex help_mutex;
std::string help_file;  // guarded by help_mutex

// Hands the file to the desktop's opener. The intermediate child exits at once, so the opener
// is adopted by init and never becomes a zombie of this program; only async-signal-safe calls
// run between fork and exec.
bool LaunchOpener(const std::string& file, HelpRequest, const std::string&) {
  const char* argv[] = {"xdg-open", file.c_str(), nullptr};
  pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    pid_t grandchild = fork();
    if (grandchild == 0) {
      execvp(argv[0], const_cast<char* const*>(argv));
      _exit(127);
    }
    _exit(grandchild < 0 ? 1 : 0);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

HelpLauncher& Launcher() {
  static HelpLauncher launcher = &LaunchOpener;
  return launcher;
}

bool IsFile(const std::string& path) {
  struct stat st {};
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
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
