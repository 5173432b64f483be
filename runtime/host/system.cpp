#include "runtime/host/system.h"

#include <execinfo.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <string_view>
#include <thread>

namespace carelog::host {
namespace {

// The signal plumbing: the handler writes one byte per signal into a pipe; a watcher thread
// turns each byte into a call of the watcher's function.
std::mutex signals_mutex;
int signal_pipe[2] = {-1, -1};
std::thread watcher;
constexpr char kStopWatcher = 'x';

void OnSignal(int number) {
  int saved = errno;
  char byte = static_cast<char>(number == SIGTERM ? SessionSignal::kEndRequested
                                                  : SessionSignal::kSessionEnding);
  if (signal_pipe[1] >= 0) (void)!write(signal_pipe[1], &byte, 1);
  errno = saved;
}

void WatchPipe(int read_end, void (*on_signal)(SessionSignal)) {
  char byte = 0;
  while (true) {
    ssize_t got = read(read_end, &byte, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0 || byte == kStopWatcher) return;
    on_signal(static_cast<SessionSignal>(byte));
  }
}

struct ThreadStart {
  void (*entry)(void*);
  void* argument;
};

void* ThreadMain(void* start) {
  ThreadStart s = *static_cast<ThreadStart*>(start);
  delete static_cast<ThreadStart*>(start);
  s.entry(s.argument);
  return nullptr;
}

}  // namespace

// The intermediate child exits at once, so the program is adopted by init and never becomes a
// zombie of this one; only async-signal-safe calls run between fork and exec.
bool StartDetachedProgram(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return false;
  std::vector<char*> argv;
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    pid_t grandchild = fork();
    if (grandchild == 0) {
      execvp(argv[0], argv.data());
      _exit(127);
    }
    _exit(grandchild < 0 ? 1 : 0);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string FindProgram(const std::string& name) {
  if (name.empty()) return std::string();
  if (name.find('/') != std::string::npos) {
    return access(name.c_str(), X_OK) == 0 ? name : std::string();
  }
  const char* path = std::getenv("PATH");
  std::string_view dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
  while (true) {
    size_t colon = dirs.find(':');
    std::string dir(dirs.substr(0, colon));
    std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    if (colon == std::string_view::npos) return std::string();
    dirs.remove_prefix(colon + 1);
  }
}

bool OpenInViewer(const std::string& file) {
  for (const char* viewer : {"xdg-open", "sensible-browser", "x-www-browser"}) {
    std::string program = FindProgram(viewer);
    if (!program.empty()) return StartDetachedProgram({program, file});
  }
  return false;
}

bool StartDetachedThread(void (*entry)(void*), void* argument, size_t stack_size) {
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, stack_size);
  pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
  pthread_t handle;
  auto* start = new ThreadStart{entry, argument};
  int failed = pthread_create(&handle, &attributes, &ThreadMain, start);
  pthread_attr_destroy(&attributes);
  if (failed) delete start;
  return failed == 0;
}

bool WatchSessionSignals(void (*on_signal)(SessionSignal)) {
  std::lock_guard<std::mutex> lock(signals_mutex);
  if (signal_pipe[0] >= 0) return true;
  if (pipe2(signal_pipe, O_CLOEXEC) != 0) return false;
  // A burst of signals must never block the handler: extra bytes are dropped.
  fcntl(signal_pipe[1], F_SETFL, fcntl(signal_pipe[1], F_GETFL) | O_NONBLOCK);
  struct sigaction action {};
  action.sa_handler = &OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
  watcher = std::thread(&WatchPipe, signal_pipe[0], on_signal);
  return true;
}

void StopSessionSignals() {
  std::lock_guard<std::mutex> lock(signals_mutex);
  if (signal_pipe[0] < 0) return;
  signal(SIGTERM, SIG_DFL);
  signal(SIGHUP, SIG_DFL);
  (void)!write(signal_pipe[1], &kStopWatcher, 1);
  watcher.join();
  close(signal_pipe[0]);
  close(signal_pipe[1]);
  signal_pipe[0] = signal_pipe[1] = -1;
}

std::vector<uintptr_t> CallTrace(int skip, int count) {
  std::vector<void*> frames(static_cast<size_t>(skip + count + 1));
  int n = backtrace(frames.data(), static_cast<int>(frames.size()));
  std::vector<uintptr_t> trace;
  for (int i = skip + 1; i < n && static_cast<int>(trace.size()) < count; ++i) {
    trace.push_back(reinterpret_cast<uintptr_t>(frames[static_cast<size_t>(i)]));
  }
  return trace;
}

std::string ExecutablePath() {
  char path[4096];
  ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
  return n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string();
}

uint64_t AvailableMemory() {
  const long pages = sysconf(_SC_AVPHYS_PAGES);
  const long page_size = sysconf(_SC_PAGESIZE);
  if (pages < 0 || page_size < 0) return 0;
  return static_cast<uint64_t>(pages) * static_cast<uint64_t>(page_size);
}

}  // namespace carelog::host
