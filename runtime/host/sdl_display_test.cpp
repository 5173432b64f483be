// Runs the sdl display against a private X server (Xvfb) and checks through Xlib that a window
// appears with its painted pixels and that a key pressed in it reaches the owning thread.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "runtime/host/display.h"
#include "runtime/host/input.h"
#include "runtime/host/message_queue.h"
#include "runtime/host/messages.h"
#include "runtime/host/window_system.h"

// Xlib last: its macros (None, Bool, Status) would clash with names in the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

extern char** environ;

namespace carelog::host {
namespace {

using namespace std::chrono_literals;

std::string FindInPath(const char* program) {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t colon = dirs.find(':', start);
    std::string dir =
        dirs.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
    std::string candidate = dir + "/" + program;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  return "";
}

// The first line written to `fd` (the display number Xvfb announces), empty at end of file.
std::string ReadLine(int fd) {
  std::string line;
  char c;
  while (read(fd, &c, 1) == 1 && c != '\n') line += c;
  return line;
}

// A private X server on a display number it picks itself (-displayfd), stopped at the end, so
// that tests running at the same time never race for one number.
class PrivateXServer {
 public:
  bool Start(const std::string& binary, const std::string& size = "640x480") {
    int fds[2];
    if (pipe(fds) != 0) return false;
    std::string screen = size + "x24";
    std::string fd = std::to_string(fds[1]);
    const char* argv[] = {binary.c_str(), "-displayfd", fd.c_str(), "-screen", "0",
                          screen.c_str(), "-nolisten",  "tcp",      nullptr};
    int spawned =
        posix_spawn(&pid_, binary.c_str(), nullptr, nullptr, const_cast<char**>(argv), environ);
    close(fds[1]);
    std::string number = spawned == 0 ? ReadLine(fds[0]) : "";
    close(fds[0]);
    if (number.empty()) {
      Stop();
      return false;
    }
    name_ = ":" + number;
    for (int i = 0; i < 100; ++i) {
      if (Display* d = XOpenDisplay(name_.c_str())) {
        display_ = d;
        return true;
      }
      std::this_thread::sleep_for(50ms);
    }
    Stop();
    return false;
  }
  void Stop() {
    if (display_) XCloseDisplay(display_);
    display_ = nullptr;
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
      pid_ = -1;
    }
  }
  ~PrivateXServer() { Stop(); }
  const std::string& name() const { return name_; }
  Display* display() const { return display_; }

 private:
  std::string name_;
  pid_t pid_ = -1;
  Display* display_ = nullptr;
};

// SDL's helper windows come and go while the test looks at the window tree; an X error about a
// window that has just gone is expected and must not end the test program.
int IgnoreXErrors(Display*, XErrorEvent*) {
  return 0;
}

// The top-level X window whose name is `title`, or 0.
::Window FindXWindow(Display* d, const std::string& title) {
  ::Window root = DefaultRootWindow(d), parent, *children = nullptr;
  unsigned int count = 0;
  ::Window found = 0;
  if (!XQueryTree(d, root, &root, &parent, &children, &count)) return 0;
  for (unsigned int i = 0; i < count && !found; ++i) {
    char* name = nullptr;
    if (XFetchName(d, children[i], &name) && name) {
      if (title == name) found = children[i];
      XFree(name);
    }
  }
  if (children) XFree(children);
  return found;
}

// Waits up to ten seconds: a loaded machine may take its time to map and manage a window.
template <typename Condition>
bool WaitFor(Condition condition) {
  for (int i = 0; i < 1000; ++i) {
    if (condition()) return true;
    Message m;
    while (PeekMessage(&m)) DispatchMessage(m);
    std::this_thread::sleep_for(10ms);
  }
  return false;
}

#define CHILD_CHECK(condition, what)                   \
  do {                                                 \
    if (!(condition)) {                                \
      std::fprintf(stderr, "sdl display: %s\n", what); \
      return 1;                                        \
    }                                                  \
  } while (0)

// The scenario, run in a child process so that SDL, its host thread and the display
// libraries it loads never outlive it inside the test program.
int WindowAppearsAndTakesAKey(Display* d) {
  std::string error;
  if (!StartDisplay(DisplayChoice::kSdl, &error)) {
    std::fprintf(stderr, "sdl display: %s\n", error.c_str());
    return 1;
  }
  CHILD_CHECK(DisplayName() == "sdl", "the sdl backend was not chosen");

  int key_down = -1, typed = -1;
  WindowSpec spec;
  spec.title = "Care Log Test";
  spec.rect = Rect::FromSize(20, 20, 200, 100);
  spec.background = Color{255, 0, 0};
  spec.proc = [&](const Message& m) -> int64_t {
    if (m.number == msg::kKeyDown) key_down = static_cast<int>(m.wparam);
    if (m.number == msg::kChar) typed = static_cast<int>(m.wparam);
    return DefaultWindowProc(m);
  };
  WindowId window = CreateWindow(spec);
  UpdateWindows();

  XSetErrorHandler(IgnoreXErrors);
  ::Window xw = 0;
  CHILD_CHECK(WaitFor([&] { return (xw = FindXWindow(d, "Care Log Test")) != 0; }),
              "no X window with the title appeared");
  CHILD_CHECK(WaitFor([&] {
                XWindowAttributes attributes;
                return XGetWindowAttributes(d, xw, &attributes) &&
                       attributes.map_state == IsViewable;
              }),
              "the X window is not mapped");
  CHILD_CHECK(DisplayShows(window), "the backend does not report the window shown");
  CHILD_CHECK(WaitFor([&] {
                XImage* image = XGetImage(d, xw, 50, 50, 1, 1, AllPlanes, ZPixmap);
                if (!image) return false;
                unsigned long pixel = XGetPixel(image, 0, 0);
                XDestroyImage(image);
                return (pixel & 0xFFFFFF) == 0xFF0000;
              }),
              "the painted background did not reach the screen");

  XSetInputFocus(d, xw, RevertToParent, CurrentTime);
  XKeyEvent press{};
  press.type = KeyPress;
  press.display = d;
  press.window = xw;
  press.root = DefaultRootWindow(d);
  press.same_screen = True;
  press.keycode = XKeysymToKeycode(d, XK_a);
  press.time = CurrentTime;
  XSendEvent(d, xw, True, KeyPressMask, reinterpret_cast<XEvent*>(&press));
  XKeyEvent release = press;
  release.type = KeyRelease;
  XSendEvent(d, xw, True, KeyReleaseMask, reinterpret_cast<XEvent*>(&release));
  XFlush(d);
  CHILD_CHECK(WaitFor([&] { return key_down == 'A'; }), "the key did not arrive");
  CHILD_CHECK(WaitFor([&] { return typed == 'a'; }), "the typed character did not arrive");

  DestroyWindow(window);
  CHILD_CHECK(WaitFor([&] { return FindXWindow(d, "Care Log Test") == 0; }),
              "the X window outlived its window");
  StopDisplay();
  return 0;
}

// Runs the scenario in a child process (SDL keeps state for the life of a process) against a
// fresh X server, with DISPLAY naming it; the scenario's status is the child's.
void RunOnPrivateServer(int (*scenario)(Display*)) {
  std::string xvfb = FindInPath("Xvfb");
  PrivateXServer server;
  ASSERT_TRUE(server.Start(xvfb)) << "Xvfb did not start";
  std::fflush(nullptr);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    setenv("DISPLAY", server.name().c_str(), 1);
    unsetenv("CARELOG_SCALE");
    ForgetDisplayScale();
    Display* d = XOpenDisplay(server.name().c_str());
    _exit(d ? scenario(d) : 2);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "the scenario crashed";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "see the scenario's message above";
}

TEST(SdlDisplay, AWindowAppearsOnTheScreenAndTakesAKey) {
  if (FindInPath("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed";
  RunOnPrivateServer(WindowAppearsAndTakesAKey);
}

// Whether the window manager has taken `window` in: it reparents a managed window into its
// frame.
bool IsFramed(Display* d, ::Window window) {
  ::Window root, parent, *children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(d, window, &root, &parent, &children, &count)) return false;
  if (children) XFree(children);
  return parent != root;
}

// Starts openbox on the display and waits until it manages windows. Openbox announces itself
// on the root window before its start-up is over, and a window mapped in between is never
// taken in (its map request is lost, and SDL then waits for the map for ever). So a probe
// window is mapped, again every quarter second while it stays unframed, until the manager
// frames it; then it goes. The window manager ends with the X server.
bool StartWindowManager(Display* d, const std::string& display) {
  std::string openbox = FindInPath("openbox");
  if (openbox.empty()) return false;
  std::string command = "DISPLAY=" + display + " " + openbox + " --sm-disable >/dev/null 2>&1 &";
  if (std::system(command.c_str()) != 0) return false;
  ::Window probe = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 10, 10, 0, 0, 0);
  bool framed = false;
  for (int i = 0; i < 400 && !framed; ++i) {
    if (i % 10 == 0) XMapWindow(d, probe);
    XSync(d, False);
    framed = IsFramed(d, probe);
    if (!framed) std::this_thread::sleep_for(25ms);
  }
  XDestroyWindow(d, probe);
  XSync(d, False);
  return framed;
}

// Puts the keysyms on free keycodes of the server's keyboard before any client starts, as a
// keyboard with those keys has them. Typing them is then plain key events; without this,
// xdotool remaps a keycode for each character while the program may still read the old map.
bool BindKeysyms(Display* d, const std::vector<KeySym>& keysyms) {
  int low = 0, high = 0, per = 0;
  XDisplayKeycodes(d, &low, &high);
  KeySym* map = XGetKeyboardMapping(d, static_cast<KeyCode>(low), high - low + 1, &per);
  if (!map) return false;
  size_t next = 0;
  for (int code = high; code >= low && next < keysyms.size(); --code) {
    bool free = true;
    for (int k = 0; k < per; ++k) free &= map[(code - low) * per + k] == NoSymbol;
    if (!free) continue;
    KeySym bound[2] = {keysyms[next], keysyms[next]};
    XChangeKeyboardMapping(d, code, 2, bound, 1);
    ++next;
  }
  XFree(map);
  XSync(d, False);
  return next == keysyms.size();
}

bool Run(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// What the window system told the window, seen by its procedure.
struct Seen {
  std::string typed;
  bool closed = false;
  ShowState last_size_state = ShowState::kHidden;
};

// Under a window manager: the window opens maximized over the work area; the manager's
// restore, maximize and close reach the window; a name typed through X key events arrives in
// the ANSI set, and a character outside it is refused with a beep.
int UnderAWindowManager(Display*, int width, int height, bool full) {
  std::string error;
  if (!StartDisplay(DisplayChoice::kSdl, &error)) {
    std::fprintf(stderr, "sdl display: %s\n", error.c_str());
    return 1;
  }
  Rect area = ScreenWorkArea();
  CHILD_CHECK(!area.Empty() && area.right <= width && area.bottom <= height,
              "the work area is not within the screen");
  Seen seen;
  WindowSpec spec;
  spec.title = "Care Log Desktop";
  spec.rect = Rect::FromSize(50, 50, 400, 300);
  spec.style = style::kSizable | style::kMaximizeBox | style::kMinimizeBox;
  spec.proc = [&](const Message& m) -> int64_t {
    if (m.number == msg::kChar) seen.typed += static_cast<char>(m.wparam);
    if (m.number == msg::kClose) seen.closed = true;
    if (m.number == msg::kSize) seen.last_size_state = static_cast<ShowState>(m.wparam);
    if (m.number == msg::kClose) return 0;
    return DefaultWindowProc(m);
  };
  WindowId window = CreateWindow(spec);
  ShowWindow(window, ShowState::kMaximized);
  UpdateWindows();
  XSetErrorHandler(IgnoreXErrors);
  const std::string target = "\"Care Log Desktop\"";
  const std::string maximize = "wmctrl -r " + target + " -b add,maximized_vert,maximized_horz";
  // A busy manager can drop the program's own request while it is still taking the window in;
  // after two seconds the request is repeated each second through wmctrl.
  int maximize_polls = 0;
  CHILD_CHECK(WaitFor([&] {
                if (++maximize_polls % 100 == 0 && maximize_polls >= 200) Run(maximize);
                return Run("xprop -name 'Care Log Desktop' _NET_WM_STATE | "
                           "grep -q _NET_WM_STATE_MAXIMIZED_HORZ") &&
                       WindowRect(window).Width() >= area.Width() - 16;
              }),
              "the window manager did not maximize the window over the work area");
  CHILD_CHECK(WindowRect(window).Height() >= area.Height() - 64,
              "the window did not cover the work area's height");
  CHILD_CHECK(SurfaceOf(window)->Width() == WindowRect(window).Width(),
              "the surface does not follow the window's size");
  if (!full) return StopDisplay(), 0;

  const std::string restore = "wmctrl -r " + target + " -b remove,maximized_vert,maximized_horz";
  CHILD_CHECK(Run(restore), "wmctrl could not restore");
  // A busy manager can drop a request that comes while it is still settling the maximize, so
  // the request is repeated each second until the window is restored.
  int polls = 0;
  CHILD_CHECK(WaitFor([&] {
                if (++polls % 100 == 0) Run(restore);
                return ShowStateOf(window) == ShowState::kNormal;
              }),
              "the manager's restore did not reach the window");
  CHILD_CHECK(Run(maximize), "wmctrl could not maximize");
  CHILD_CHECK(WaitFor([&] {
                return ShowStateOf(window) == ShowState::kMaximized &&
                       seen.last_size_state == ShowState::kMaximized;
              }),
              "the manager's maximize did not reach the window");

  Run("xdotool search --name 'Care Log Desktop' windowactivate --sync");
  int beeps = BeepCount();
  CHILD_CHECK(Run("xdotool type --delay 20 'N\xC3\xBA\xC3\xB1"
                  "ez Zo\xC3\xAB Ren\xC3\xA9'"),
              "xdotool could not type");
  if (!WaitFor([&] {
        return seen.typed ==
               "N\xFA\xF1"
               "ez Zo\xEB Ren\xE9";
      })) {
    std::fprintf(stderr, "sdl display: typed \"%s\", not the name in the ANSI set\n",
                 AnsiToUtf8(seen.typed).c_str());
    return 1;
  }
  CHILD_CHECK(Run("xdotool type --delay 20 '\xC5\x91'"), "xdotool could not type");
  CHILD_CHECK(WaitFor([&] { return BeepCount() == beeps + 1; }),
              "a character outside the ANSI set was not refused with a beep");
  CHILD_CHECK(seen.typed ==
                  "N\xFA\xF1"
                  "ez Zo\xEB Ren\xE9",
              "a refused character was typed");

  CHILD_CHECK(Run("wmctrl -c " + target), "wmctrl could not close");
  CHILD_CHECK(WaitFor([&] { return seen.closed; }), "the manager's close did not arrive");
  DestroyWindow(window);
  StopDisplay();
  return 0;
}

// Runs the scenario on a fresh X server of the given size with openbox managing it.
void RunUnderWindowManager(const std::string& size, int width, int height, bool full) {
  std::string xvfb = FindInPath("Xvfb");
  if (xvfb.empty() || FindInPath("openbox").empty() || FindInPath("wmctrl").empty() ||
      FindInPath("xdotool").empty()) {
    GTEST_SKIP() << "Xvfb, openbox, wmctrl or xdotool is not installed (scripts/install-deps.sh)";
  }
  PrivateXServer server;
  ASSERT_TRUE(server.Start(xvfb, size)) << "Xvfb did not start";
  ASSERT_TRUE(BindKeysyms(server.display(),
                          {XK_uacute, XK_ntilde, XK_ediaeresis, XK_eacute, XK_odoubleacute}));
  ASSERT_TRUE(StartWindowManager(server.display(), server.name())) << "openbox did not start";
  std::fflush(nullptr);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    setenv("DISPLAY", server.name().c_str(), 1);
    Display* d = XOpenDisplay(server.name().c_str());
    _exit(d ? UnderAWindowManager(d, width, height, full) : 2);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "the scenario crashed";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "see the scenario's message above";
}

// What another program reads from the clipboard (UTF-8), through xclip.
std::string ClipboardSeenByOthers() {
  FILE* pipe = popen("xclip -o -selection clipboard 2>/dev/null", "r");
  if (!pipe) return "";
  std::string out;
  char buffer[256];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  pclose(pipe);
  return out;
}

// Another program puts UTF-8 text on the clipboard and keeps it there until it is taken.
bool OthersPutOnTheClipboard(const std::string& utf8) {
  return Run("printf '%s' '" + utf8 + "' | xclip -i -selection clipboard");
}

// The clipboard with other programs: the program's ANSI text reaches them in UTF-8; their
// UTF-8 comes back in the ANSI set, and text the set cannot hold is refused with a beep.
int ClipboardWithOtherPrograms(Display*) {
  std::string error;
  if (!StartDisplay(DisplayChoice::kSdl, &error)) {
    std::fprintf(stderr, "sdl display: %s\n", error.c_str());
    return 1;
  }
  WindowSpec spec;
  spec.title = "Care Log Clipboard";
  spec.rect = Rect::FromSize(10, 10, 200, 100);
  WindowId window = CreateWindow(spec);
  UpdateWindows();
  SetClipboardText(
      "Caf\xE9 N\xFA\xF1"
      "ez");
  CHILD_CHECK(WaitFor([] {
                return ClipboardSeenByOthers() ==
                       "Caf\xC3\xA9 N\xC3\xBA\xC3\xB1"
                       "ez";
              }),
              "another program did not read the text in UTF-8");
  CHILD_CHECK(OthersPutOnTheClipboard("Zo\xC3\xAB M\xC3\xBCller"), "xclip could not copy");
  std::string pasted;
  CHILD_CHECK(WaitFor([&] { return (pasted = ClipboardText()) == "Zo\xEB M\xFCller"; }),
              "another program's text did not arrive in the ANSI set");
  int beeps = BeepCount();
  CHILD_CHECK(OthersPutOnTheClipboard("Wa\xC5\x82\xC4\x99sa"), "xclip could not copy");
  CHILD_CHECK(WaitFor([&] { return ClipboardText().empty() && BeepCount() > beeps; }),
              "text outside the ANSI set was not refused with a beep");
  DestroyWindow(window);
  StopDisplay();
  return 0;
}

TEST(SdlDisplay, TheClipboardIsSharedWithOtherProgramsInTheAnsiSet) {
  if (FindInPath("Xvfb").empty() || FindInPath("xclip").empty()) {
    GTEST_SKIP() << "Xvfb or xclip is not installed (scripts/install-deps.sh)";
  }
  RunOnPrivateServer(ClipboardWithOtherPrograms);
}

// On a desktop that chose 192 dpi the native window is twice the window's logical size, its
// surface holds the screen's pixels, and a click lands on the logical point under it.
int DenseDesktop(Display* d) {
  const char resources[] = "Xft.antialias:\t1\nXft.dpi:\t192\n";
  XChangeProperty(d, DefaultRootWindow(d), XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(resources), sizeof resources - 1);
  XSync(d, False);
  std::string error;
  if (!StartDisplay(DisplayChoice::kSdl, &error)) {
    std::fprintf(stderr, "sdl display: %s\n", error.c_str());
    return 1;
  }
  CHILD_CHECK(DisplayScale() == 2, "the desktop's Xft.dpi did not give scale 2");
  Point clicked{-1, -1};
  WindowSpec spec;
  spec.title = "Care Log Dense";
  spec.rect = Rect::FromSize(20, 20, 300, 150);
  spec.style = style::kVisible;
  spec.proc = [&](const Message& m) -> int64_t {
    if (m.number == msg::kLButtonDown) clicked = Point{UnpackX(m.lparam), UnpackY(m.lparam)};
    return DefaultWindowProc(m);
  };
  WindowId window = CreateWindow(spec);
  UpdateWindows();
  ::Window xw = 0;
  CHILD_CHECK(WaitFor([&] { return (xw = FindXWindow(d, "Care Log Dense")) != 0; }),
              "no X window appeared");
  XWindowAttributes attributes{};
  CHILD_CHECK(WaitFor([&] {
                return XGetWindowAttributes(d, xw, &attributes) && attributes.width == 600 &&
                       attributes.height == 300 && attributes.map_state == IsViewable;
              }),
              "the X window is not twice the window's size");
  CHILD_CHECK(WindowRect(window).Width() == 300, "the window's own size changed");
  CHILD_CHECK(SurfaceOf(window)->DeviceWidth() == 600, "the surface is not at the screen's scale");
  // Clicked again until it arrives: the server may take the first before SDL listens.
  std::string click = "xdotool mousemove --window " + std::to_string(xw) + " 200 100 click 1";
  CHILD_CHECK(WaitFor([&] { return (clicked.x == 100 && clicked.y == 50) || !Run(click); }) &&
                  clicked.x == 100 && clicked.y == 50,
              "the click did not land on the logical point under it");
  DestroyWindow(window);
  StopDisplay();
  return 0;
}

TEST(SdlDisplay, ADenseDesktopGetsWindowsAtItsScale) {
  if (FindInPath("Xvfb").empty() || FindInPath("xdotool").empty()) {
    GTEST_SKIP() << "Xvfb or xdotool is not installed (scripts/install-deps.sh)";
  }
  RunOnPrivateServer(DenseDesktop);
}

TEST(SdlDisplay, UnderAWindowManagerMaximizeCloseAndTypingWork) {
  RunUnderWindowManager("1600x1000", 1600, 1000, true);
}

TEST(SdlDisplay, AMaximizedWindowFollowsTheScreenSize) {
  RunUnderWindowManager("1280x800", 1280, 800, false);
}

}  // namespace
}  // namespace carelog::host
