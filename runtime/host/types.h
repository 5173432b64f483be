// Plain value types shared by every part of the platform layer: handles, geometry, colours
// and the message record that travels through the per-thread queues.
//
// Strings that cross this layer's interfaces (titles, texts, clipboard, typed characters) are
// ANSI bytes (Windows-1252), the character set of the runtime above; the layer converts to
// and from UTF-8 where it meets fontconfig, Pango, SDL or a terminal.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace carelog::host {

// Windows are named by small numbers that are never reused within a run, so a stale handle
// is recognised as invalid instead of reaching another window.
using WindowId = uint32_t;
inline constexpr WindowId kNoWindow = 0;

// Threads that own a message queue are numbered from 1 in order of first use.
using ThreadId = uint32_t;
inline constexpr ThreadId kNoThread = 0;

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  Rect Offset(int dx, int dy) const { return Rect{left + dx, top + dy, right + dx, bottom + dy}; }
  Rect Intersect(const Rect& o) const;
  // The same size moved the least distance to lie within `area`; when it is larger than
  // `area`, its top left corner goes to the area's.
  Rect KeptWithin(const Rect& area) const;
  static Rect FromSize(int x, int y, int width, int height) {
    return Rect{x, y, x + width, y + height};
  }
  bool operator==(const Rect&) const = default;
};

inline Rect Rect::Intersect(const Rect& o) const {
  Rect r{left > o.left ? left : o.left, top > o.top ? top : o.top,
         right < o.right ? right : o.right, bottom < o.bottom ? bottom : o.bottom};
  if (r.Empty()) return Rect{};
  return r;
}

inline Rect Rect::KeptWithin(const Rect& area) const {
  int x = right > area.right ? area.right - Width() : left;
  int y = bottom > area.bottom ? area.bottom - Height() : top;
  if (x < area.left) x = area.left;
  if (y < area.top) y = area.top;
  return FromSize(x, y, Width(), Height());
}

struct Color {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  uint8_t a = 255;
  bool operator==(const Color&) const = default;
};

// One queued message. `window` is kNoWindow for messages posted to a thread.
struct Message {
  WindowId window = kNoWindow;
  uint32_t number = 0;
  uint64_t wparam = 0;
  int64_t lparam = 0;
};

// Windows-1252 <-> UTF-8. Bytes without a character (0x81, 0x8D, 0x8F, 0x90, 0x9D) become
// U+FFFD; characters outside Windows-1252 become '?'.
std::string AnsiToUtf8(std::string_view ansi);
std::string Utf8ToAnsi(std::string_view utf8);
// The same conversion for text a user typed or pasted: false, leaving *ansi alone, when any
// character cannot be held in Windows-1252 (or the text is not valid UTF-8), so that nothing
// is ever stored as a character other than the one given.
bool Utf8ToAnsiExact(std::string_view utf8, std::string* ansi);

}  // namespace carelog::host
