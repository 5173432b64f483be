// Program-wide state of the window system: caret, cursor, keyboard state, clipboard, beep,
// and the installed display backend.
#include <atomic>

#include "runtime/host/backend.h"
#include "runtime/host/messages.h"
#include "runtime/host/window_table.h"

namespace carelog::host {

using internal::Find;
using internal::TableMutex;
using internal::TheTable;
using Lock = std::lock_guard<std::recursive_mutex>;

namespace internal {

namespace {
std::atomic<DisplayBackend*> installed{nullptr};
}

DisplayBackend* Backend() {
  return installed.load();
}
void InstallBackend(DisplayBackend* backend) {
  installed.store(backend);
}

}  // namespace internal

namespace {

// The caret is drawn by the display over the presented image, so changing it only needs the
// window presented again.
void PresentCaretOwner(WindowId window) {
  WindowId top = TopLevelOf(window);
  if (top == kNoWindow) return;
  if (DisplayBackend* b = internal::Backend()) b->Present(top);
}

bool IsToggleKey(int k) {
  return k == key::kCapsLock || k == key::kNumLock || k == key::kScrollLock || k == key::kInsert;
}

}  // namespace

bool CreateCaret(WindowId window, int width, int height) {
  WindowId old;
  {
    Lock lock(TableMutex());
    if (!Find(window)) return false;
    CaretState& c = TheTable().caret;
    old = c.window;
    c.window = window;
    c.rect = Rect::FromSize(0, 0, width < 1 ? 1 : width, height < 1 ? 1 : height);
    c.visible = false;
  }
  if (old != kNoWindow && old != window) PresentCaretOwner(old);
  return true;
}

bool SetCaretPosition(WindowId window, Point p) {
  {
    Lock lock(TableMutex());
    CaretState& c = TheTable().caret;
    if (c.window != window || window == kNoWindow) return false;
    c.rect = Rect::FromSize(p.x, p.y, c.rect.Width(), c.rect.Height());
  }
  PresentCaretOwner(window);
  return true;
}

bool ShowCaret(WindowId window, bool show) {
  {
    Lock lock(TableMutex());
    CaretState& c = TheTable().caret;
    if (c.window != window || window == kNoWindow) return false;
    c.visible = show;
  }
  PresentCaretOwner(window);
  return true;
}

void DestroyCaret() {
  WindowId old;
  {
    Lock lock(TableMutex());
    old = TheTable().caret.window;
    TheTable().caret = CaretState{};
  }
  if (old != kNoWindow) PresentCaretOwner(old);
}

CaretState Caret() {
  Lock lock(TableMutex());
  return TheTable().caret;
}

void SetCursor(CursorShape shape) {
  {
    Lock lock(TableMutex());
    TheTable().cursor = shape;
  }
  if (DisplayBackend* b = internal::Backend()) b->SetCursor(shape);
}

CursorShape Cursor() {
  Lock lock(TableMutex());
  return TheTable().cursor;
}

bool IsKeyDown(int k) {
  if (k < 0 || k >= key::kCount) return false;
  Lock lock(TableMutex());
  return TheTable().key_down[k];
}

bool IsKeyToggled(int k) {
  if (k < 0 || k >= key::kCount) return false;
  Lock lock(TableMutex());
  return TheTable().key_toggled[k];
}

void SetKeyDown(int k, bool down) {
  if (k < 0 || k >= key::kCount) return;
  Lock lock(TableMutex());
  internal::Table& t = TheTable();
  // A toggle key flips its state when it goes down.
  if (down && !t.key_down[k] && IsToggleKey(k)) t.key_toggled[k] = !t.key_toggled[k];
  t.key_down[k] = down;
}

void SetKeyToggled(int k, bool on) {
  if (k < 0 || k >= key::kCount) return;
  Lock lock(TableMutex());
  TheTable().key_toggled[k] = on;
}

uint32_t ModifierBits() {
  Lock lock(TableMutex());
  const internal::Table& t = TheTable();
  uint32_t bits = 0;
  if (t.key_down[key::kShift]) bits |= modifier::kShift;
  if (t.key_down[key::kCtrl]) bits |= modifier::kCtrl;
  if (t.key_down[key::kAlt]) bits |= modifier::kAlt;
  if (t.key_toggled[key::kCapsLock]) bits |= modifier::kCapsLock;
  if (t.key_toggled[key::kNumLock]) bits |= modifier::kNumLock;
  if (t.key_toggled[key::kScrollLock]) bits |= modifier::kScrollLock;
  if (t.key_toggled[key::kInsert]) bits |= modifier::kInsert;
  return bits;
}

void SetClipboardText(const std::string& text) {
  DisplayBackend* b = internal::Backend();
  if (b && b->SetClipboardText(AnsiToUtf8(text))) return;
  Lock lock(TableMutex());
  TheTable().clipboard = text;
}

std::string ClipboardText() {
  std::string utf8;
  DisplayBackend* b = internal::Backend();
  if (b && b->ClipboardText(&utf8)) {
    // Text from another program that the ANSI set cannot hold is refused whole, with a beep,
    // rather than pasted with other characters in place of those it lacks.
    std::string ansi;
    if (Utf8ToAnsiExact(utf8, &ansi)) return ansi;
    Beep();
    return std::string();
  }
  Lock lock(TableMutex());
  return TheTable().clipboard;
}

void Beep() {
  {
    Lock lock(TableMutex());
    ++TheTable().beeps;
  }
  if (DisplayBackend* b = internal::Backend()) b->Beep();
}

int BeepCount() {
  Lock lock(TableMutex());
  return TheTable().beeps;
}

}  // namespace carelog::host
