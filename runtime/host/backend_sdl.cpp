// The SDL display: real windows on X11 or Wayland.
//
// One host thread owns SDL: it creates, changes and destroys the native windows, copies the
// window surfaces to the screen, and turns SDL's keyboard, text, mouse and window events into
// input for the window system (input.h), which posts it to the thread that owns the window.
// Other threads never call SDL; they queue commands for the host thread and wake it with a
// user event.
//
// On a dense screen the native windows are scale x the windows' logical size: the backend turns
// logical rectangles into screen pixels on the way out and screen positions back into logical
// ones on the way in, and copies the windows' surfaces, already painted at that scale, as they
// are.
#include <SDL2/SDL.h>

#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

#include "runtime/host/backend_factory.h"
#include "runtime/host/display.h"
#include "runtime/host/graphics.h"
#include "runtime/host/input.h"
#include "runtime/host/messages.h"
#include "runtime/host/x_resources.h"

namespace carelog::host {

namespace {

struct KeyMapping {
  SDL_Keycode sdl;
  int vk;
};

constexpr KeyMapping kKeys[] = {
    {SDLK_BACKSPACE, key::kBack},
    {SDLK_TAB, key::kTab},
    {SDLK_RETURN, key::kEnter},
    {SDLK_KP_ENTER, key::kEnter},
    {SDLK_LSHIFT, key::kShift},
    {SDLK_RSHIFT, key::kShift},
    {SDLK_LCTRL, key::kCtrl},
    {SDLK_RCTRL, key::kCtrl},
    {SDLK_LALT, key::kAlt},
    {SDLK_RALT, key::kAlt},
    {SDLK_PAUSE, key::kPause},
    {SDLK_CAPSLOCK, key::kCapsLock},
    {SDLK_ESCAPE, key::kEscape},
    {SDLK_SPACE, key::kSpace},
    {SDLK_PAGEUP, key::kPageUp},
    {SDLK_PAGEDOWN, key::kPageDown},
    {SDLK_END, key::kEnd},
    {SDLK_HOME, key::kHome},
    {SDLK_LEFT, key::kLeft},
    {SDLK_UP, key::kUp},
    {SDLK_RIGHT, key::kRight},
    {SDLK_DOWN, key::kDown},
    {SDLK_INSERT, key::kInsert},
    {SDLK_DELETE, key::kDelete},
    {SDLK_KP_MULTIPLY, key::kMultiply},
    {SDLK_KP_PLUS, key::kAdd},
    {SDLK_KP_MINUS, key::kSubtract},
    {SDLK_KP_PERIOD, key::kDecimal},
    {SDLK_KP_DIVIDE, key::kDivide},
    {SDLK_NUMLOCKCLEAR, key::kNumLock},
    {SDLK_SCROLLLOCK, key::kScrollLock},
};

int VirtualKeyOf(SDL_Keycode sym) {
  if (sym >= SDLK_a && sym <= SDLK_z) return 'A' + (sym - SDLK_a);
  if (sym >= SDLK_0 && sym <= SDLK_9) return '0' + (sym - SDLK_0);
  if (sym >= SDLK_F1 && sym <= SDLK_F12) return key::kF1 + (sym - SDLK_F1);
  if (sym >= SDLK_KP_1 && sym <= SDLK_KP_9) return key::kNumpad0 + 1 + (sym - SDLK_KP_1);
  if (sym == SDLK_KP_0) return key::kNumpad0;
  for (const KeyMapping& k : kKeys) {
    if (k.sdl == sym) return k.vk;
  }
  return -1;
}

SDL_SystemCursor CursorOf(CursorShape shape) {
  switch (shape) {
    case CursorShape::kHourglass:
      return SDL_SYSTEM_CURSOR_WAIT;
    case CursorShape::kIBeam:
      return SDL_SYSTEM_CURSOR_IBEAM;
    case CursorShape::kCross:
      return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case CursorShape::kHand:
      return SDL_SYSTEM_CURSOR_HAND;
    default:
      return SDL_SYSTEM_CURSOR_ARROW;
  }
}

// The density the desktop chose, on X11 its Xft.dpi; 0 elsewhere. A Wayland compositor
// enlarges the windows of programs that do not ask for its scale itself, so there the program
// draws at scale 1 and the compositor's figure is not taken as well.
double DisplayDpi() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && std::strcmp(driver, "x11") == 0) return internal::XftDpi();
  return 0;
}

class SdlBackend : public DisplayBackend {
 public:
  SdlBackend() = default;
  ~SdlBackend() override {
    Run([this] { running_ = false; });
    if (thread_.joinable()) thread_.join();
  }

  // Starts the host thread and waits for SDL to come up there.
  bool Start(std::string* error) {
    std::promise<std::string> started;
    auto result = started.get_future();
    thread_ = std::thread([this, &started] { Main(&started); });
    std::string failure = result.get();
    if (failure.empty()) return true;
    thread_.join();
    *error = failure;
    return false;
  }

  const char* Name() const override { return "sdl"; }

  void WindowCreated(WindowId window, const Rect& rect, const std::string& title,
                     bool visible) override {
    std::string utf8 = AnsiToUtf8(title);
    Run([=, this] {
      Uint32 flags = SDL_WINDOW_RESIZABLE | (visible ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN);
      Rect device = ToDevice(rect);
      SDL_Window* w =
          SDL_CreateWindow(utf8.c_str(), device.left, device.top, std::max(device.Width(), 1),
                           std::max(device.Height(), 1), flags);
      if (!w) return;
      RefreshWorkArea();
      native_[window] = w;
      by_sdl_id_[SDL_GetWindowID(w)] = window;
      dirty_.insert(window);
    });
  }

  void WindowChanged(WindowId window, const Rect& rect, const std::string& title,
                     bool visible) override {
    std::string utf8 = AnsiToUtf8(title);
    Run([=, this] {
      SDL_Window* w = NativeOf(window);
      if (!w) return;
      SDL_SetWindowTitle(w, utf8.c_str());
      Rect device = ToDevice(rect);
      int x, y, width, height;
      SDL_GetWindowPosition(w, &x, &y);
      SDL_GetWindowSize(w, &width, &height);
      if (x != device.left || y != device.top) SDL_SetWindowPosition(w, device.left, device.top);
      if (width != device.Width() || height != device.Height()) {
        SDL_SetWindowSize(w, std::max(device.Width(), 1), std::max(device.Height(), 1));
      }
      bool shown = SDL_GetWindowFlags(w) & SDL_WINDOW_SHOWN;
      if (visible && !shown) SDL_ShowWindow(w);
      if (!visible && shown) SDL_HideWindow(w);
      dirty_.insert(window);
    });
  }

  void WindowDestroyed(WindowId window) override {
    Run([=, this] {
      SDL_Window* w = NativeOf(window);
      if (!w) return;
      by_sdl_id_.erase(SDL_GetWindowID(w));
      native_.erase(window);
      dirty_.erase(window);
      wanted_.erase(window);
      SDL_DestroyWindow(w);
    });
  }

  void WindowActivated(WindowId window) override {
    Run([=, this] {
      if (SDL_Window* w = NativeOf(window)) SDL_RaiseWindow(w);
    });
  }

  void Present(WindowId window) override {
    Run([=, this] { dirty_.insert(window); });
  }

  void SetCursor(CursorShape shape) override {
    Run([=, this] {
      SDL_Cursor*& cursor = cursors_[shape];
      if (!cursor) cursor = SDL_CreateSystemCursor(CursorOf(shape));
      if (cursor) SDL_SetCursor(cursor);
    });
  }

  bool SetClipboardText(const std::string& utf8) override {
    std::promise<bool> done;
    auto result = done.get_future();
    Run([&] { done.set_value(SDL_SetClipboardText(utf8.c_str()) == 0); });
    return result.get();
  }

  bool ClipboardText(std::string* utf8) override {
    std::promise<bool> done;
    auto result = done.get_future();
    Run([&] {
      char* text = SDL_GetClipboardText();
      *utf8 = text ? text : "";
      if (text) SDL_free(text);
      done.set_value(true);
    });
    return result.get();
  }

  void Beep() override {
    // SDL has no bell; the terminal's is the nearest thing.
    std::fputc('\a', stderr);
  }

  Rect WorkArea() override {
    std::lock_guard<std::mutex> lock(work_area_mutex_);
    return work_area_;
  }

  void WindowStateChanged(WindowId window, ShowState state) override {
    Run([=, this] {
      wanted_[window] = state;
      ApplyWantedState(window);
    });
  }

  bool IsShown(WindowId window) override {
    std::promise<bool> done;
    auto result = done.get_future();
    Run([&] {
      SDL_Window* w = NativeOf(window);
      done.set_value(w && (SDL_GetWindowFlags(w) & SDL_WINDOW_SHOWN));
    });
    return result.get();
  }

 private:
  void Run(std::function<void()> command) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      commands_.push_back(std::move(command));
    }
    SDL_Event wake{};
    wake.type = wake_event_;
    if (wake_event_ != 0) SDL_PushEvent(&wake);
  }

  SDL_Window* NativeOf(WindowId window) {
    auto it = native_.find(window);
    return it == native_.end() ? nullptr : it->second;
  }

  WindowId WindowOf(Uint32 sdl_id) {
    auto it = by_sdl_id_.find(sdl_id);
    return it == by_sdl_id_.end() ? kNoWindow : it->second;
  }

  void Main(std::promise<std::string>* started) {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    // Window surfaces go straight to the display server; no GL driver is loaded for them.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
      started->set_value(SDL_GetError());
      return;
    }
    wake_event_ = SDL_RegisterEvents(1);
    SetDisplayScaleFromDisplay(ScaleForDpi(DisplayDpi()));
    scale_ = DisplayScale();
    RefreshWorkArea();
    SDL_StartTextInput();
    started->set_value(std::string());
    while (running_) {
      SDL_Event e;
      if (SDL_WaitEventTimeout(&e, 50)) {
        Handle(e);
        while (SDL_PollEvent(&e)) Handle(e);
      }
      RunCommands();
      PresentDirty();
    }
    for (auto& [shape, cursor] : cursors_) SDL_FreeCursor(cursor);
    for (auto& [id, w] : native_) SDL_DestroyWindow(w);
    SDL_Quit();
  }

  // The usable bounds of the first display: on X11 the window manager's work area when it
  // publishes one, the whole screen otherwise.
  void RefreshWorkArea() {
    SDL_Rect r{};
    if (SDL_GetDisplayUsableBounds(0, &r) != 0 || r.w <= 0 || r.h <= 0) {
      if (SDL_GetDisplayBounds(0, &r) != 0) return;
    }
    std::lock_guard<std::mutex> lock(work_area_mutex_);
    work_area_ = ToLogical(Rect::FromSize(r.x, r.y, r.w, r.h));
  }

  // Between the window system's logical pixels and the screen's.
  int ToDevice(int v) const { return static_cast<int>(std::lround(v * scale_)); }
  int ToLogical(int v) const { return static_cast<int>(std::lround(v / scale_)); }
  Rect ToDevice(const Rect& r) const {
    return Rect{ToDevice(r.left), ToDevice(r.top), ToDevice(r.right), ToDevice(r.bottom)};
  }
  Rect ToLogical(const Rect& r) const {
    return Rect{ToLogical(r.left), ToLogical(r.top), ToLogical(r.right), ToLogical(r.bottom)};
  }
  Point ToLogical(int x, int y) const { return Point{ToLogical(x), ToLogical(y)}; }

  void RunCommands() {
    std::deque<std::function<void()>> batch;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      batch.swap(commands_);
    }
    for (auto& command : batch) command();
  }

  void PresentDirty() {
    std::set<WindowId> batch;
    batch.swap(dirty_);
    for (WindowId id : batch) {
      SDL_Window* w = NativeOf(id);
      std::shared_ptr<Surface> surface = SurfaceOf(id);
      if (!w || !surface) continue;
      SDL_Surface* screen = SDL_GetWindowSurface(w);
      if (!screen) continue;
      {
        std::lock_guard<std::mutex> lock(surface->Lock());
        SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(
            const_cast<uint8_t*>(surface->Data()), surface->DeviceWidth(), surface->DeviceHeight(),
            32, surface->StrideBytes(), SDL_PIXELFORMAT_ARGB8888);
        if (!source) continue;
        SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
        ClearUncovered(screen, surface->DeviceWidth(), surface->DeviceHeight());
        SDL_BlitSurface(source, nullptr, screen, nullptr);
        SDL_FreeSurface(source);
      }
      CaretState caret = Caret();
      if (caret.visible && caret.window != kNoWindow && TopLevelOf(caret.window) == id) {
        Point origin = ClientOriginInTopLevel(caret.window);
        Rect caret_rect = ToDevice(caret.rect.Offset(origin.x, origin.y));
        SDL_Rect r{caret_rect.left, caret_rect.top, std::max(caret_rect.Width(), 1),
                   caret_rect.Height()};
        SDL_FillRect(screen, &r, SDL_MapRGB(screen->format, 0, 0, 0));
      }
      SDL_UpdateWindowSurface(w);
    }
  }

  // While the window manager has made the native window larger than the window's surface
  // (the new size is on its way to the program, which then paints it), the part the surface
  // does not cover is cleared instead of showing what was there before.
  static void ClearUncovered(SDL_Surface* screen, int width, int height) {
    Uint32 grey = SDL_MapRGB(screen->format, 240, 240, 240);
    if (screen->w > width) {
      SDL_Rect right{width, 0, screen->w - width, screen->h};
      SDL_FillRect(screen, &right, grey);
    }
    if (screen->h > height) {
      SDL_Rect below{0, height, std::min(width, screen->w), screen->h - height};
      SDL_FillRect(screen, &below, grey);
    }
  }

  void Handle(const SDL_Event& e) {
    switch (e.type) {
      case SDL_KEYDOWN:
      case SDL_KEYUP: {
        SDL_Keymod mods = static_cast<SDL_Keymod>(e.key.keysym.mod);
        SetKeyToggled(key::kCapsLock, (mods & KMOD_CAPS) != 0);
        SetKeyToggled(key::kNumLock, (mods & KMOD_NUM) != 0);
        int vk = VirtualKeyOf(e.key.keysym.sym);
        if (vk >= 0) InjectKey(vk, e.type == SDL_KEYDOWN);
        break;
      }
      case SDL_TEXTINPUT:
        InjectTypedUtf8(e.text.text);
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        WindowId w = WindowOf(e.button.windowID);
        if (w == kNoWindow ||
            (e.button.button != SDL_BUTTON_LEFT && e.button.button != SDL_BUTTON_RIGHT)) {
          break;
        }
        MouseButton button =
            e.button.button == SDL_BUTTON_LEFT ? MouseButton::kLeft : MouseButton::kRight;
        InjectMouseButton(w, ToLogical(e.button.x, e.button.y), button,
                          e.type == SDL_MOUSEBUTTONDOWN, e.button.clicks >= 2);
        break;
      }
      case SDL_MOUSEMOTION:
        if (WindowId w = WindowOf(e.motion.windowID)) {
          InjectMouseMove(w, ToLogical(e.motion.x, e.motion.y));
        }
        break;
      case SDL_MOUSEWHEEL:
        if (WindowId w = WindowOf(e.wheel.windowID)) {
          int x, y;
          SDL_GetMouseState(&x, &y);
          InjectMouseWheel(w, ToLogical(x, y), e.wheel.y);
        }
        break;
      case SDL_WINDOWEVENT:
        HandleWindowEvent(e.window);
        break;
      case SDL_DISPLAYEVENT:
        RefreshWorkArea();
        break;
      default:
        break;
    }
  }

  // Takes the state the window manager shows the window in (maximized, minimized or normal)
  // into the window system. Checked on every change of state or size, as window managers
  // differ in which of the two they announce.
  // Asks the window manager for the state the program last asked for. Again once the window is
  // on the screen: a request made while the manager was still taking the window in is lost.
  void ApplyWantedState(WindowId window) {
    SDL_Window* w = NativeOf(window);
    auto it = wanted_.find(window);
    if (!w || it == wanted_.end()) return;
    Uint32 flags = SDL_GetWindowFlags(w);
    if (it->second == ShowState::kMaximized && !(flags & SDL_WINDOW_MAXIMIZED)) {
      SDL_MaximizeWindow(w);
    }
    if (it->second == ShowState::kMinimized && !(flags & SDL_WINDOW_MINIMIZED)) {
      SDL_MinimizeWindow(w);
    }
    if (it->second == ShowState::kNormal &&
        (flags & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_MINIMIZED))) {
      SDL_RestoreWindow(w);
    }
  }

  void SyncState(WindowId window) {
    SDL_Window* w = NativeOf(window);
    if (!w) return;
    Uint32 flags = SDL_GetWindowFlags(w);
    ShowState state = (flags & SDL_WINDOW_MINIMIZED)   ? ShowState::kMinimized
                      : (flags & SDL_WINDOW_MAXIMIZED) ? ShowState::kMaximized
                                                       : ShowState::kNormal;
    ShowState known = ShowStateOf(window);
    if (known != ShowState::kHidden && known != state) {
      wanted_.erase(window);  // the manager's choice now stands
      InjectWindowState(window, state);
    }
  }

  void HandleWindowEvent(const SDL_WindowEvent& e) {
    WindowId w = WindowOf(e.windowID);
    if (w == kNoWindow) return;
    switch (e.event) {
      case SDL_WINDOWEVENT_CLOSE:
        InjectClose(w);
        break;
      case SDL_WINDOWEVENT_FOCUS_GAINED:
        if (ActiveWindow() != w && IsEnabled(w)) SetActiveWindow(w);
        break;
      case SDL_WINDOWEVENT_SIZE_CHANGED: {
        SyncState(w);
        Rect r = WindowRect(w);
        MoveWindow(w, Rect::FromSize(r.left, r.top, ToLogical(e.data1), ToLogical(e.data2)));
        dirty_.insert(w);
        break;
      }
      case SDL_WINDOWEVENT_MOVED: {
        Rect r = WindowRect(w);
        MoveWindow(w,
                   Rect::FromSize(ToLogical(e.data1), ToLogical(e.data2), r.Width(), r.Height()));
        break;
      }
      case SDL_WINDOWEVENT_MAXIMIZED:
      case SDL_WINDOWEVENT_MINIMIZED:
      case SDL_WINDOWEVENT_RESTORED:
        SyncState(w);
        dirty_.insert(w);
        break;
      case SDL_WINDOWEVENT_SHOWN:
        ApplyWantedState(w);
        dirty_.insert(w);
        break;
      case SDL_WINDOWEVENT_EXPOSED:
        dirty_.insert(w);
        break;
      default:
        break;
    }
  }

  std::thread thread_;
  std::mutex mutex_;
  std::deque<std::function<void()>> commands_;
  std::atomic<Uint32> wake_event_{0};
  bool running_ = true;  // host thread only
  double scale_ = 1;     // screen pixels per logical pixel; set before any window
  // Host thread only:
  std::map<WindowId, SDL_Window*> native_;
  std::map<Uint32, WindowId> by_sdl_id_;
  std::set<WindowId> dirty_;
  std::map<CursorShape, SDL_Cursor*> cursors_;
  std::map<WindowId, ShowState> wanted_;  // asked of the window manager, not yet seen done
  std::mutex work_area_mutex_;
  Rect work_area_;  // asked from any thread, also under the window system's lock
};

}  // namespace

std::unique_ptr<DisplayBackend> MakeSdlBackend(std::string* error) {
  // Opening the X input method parses the locale's whole compose table (about 40% of a
  // start's instructions); from a cache it is mapped instead.
  internal::UseComposeCache();
  auto backend = std::make_unique<SdlBackend>();
  if (!backend->Start(error)) return nullptr;
  return backend;
}

}  // namespace carelog::host
