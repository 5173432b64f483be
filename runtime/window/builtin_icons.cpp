#include "runtime/window/builtin_icons.h"

#include <strings.h>

#include <algorithm>
#include <cmath>

namespace carelog::window {
namespace {

constexpr uint32_t kBlue = 0xFF1F6FB2u;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

// Coverage of a rounded square of side `n` with corner radius `r` at pixel centre (x, y).
bool InRoundedSquare(int x, int y, int n, int r) {
  double cx = std::clamp(x + 0.5, static_cast<double>(r), static_cast<double>(n - r));
  double cy = std::clamp(y + 0.5, static_cast<double>(r), static_cast<double>(n - r));
  return std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= r;
}

void ProgramIcon(image::Image* out) {
  const int n = 32;
  *out = image::Image{n, n, std::vector<uint32_t>(n * n, 0)};
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      if (!InRoundedSquare(x, y, n, 6)) continue;
      bool cross =
          (x >= 13 && x < 19 && y >= 6 && y < 26) || (y >= 13 && y < 19 && x >= 6 && x < 26);
      out->pixels[static_cast<size_t>(y) * n + x] = cross ? kWhite : kBlue;
    }
  }
}

// A filled triangle pointing left (`left`) or right, in a 16 x 16 icon.
// `reach` is the triangle's half height in pixels: 6 for the browse arrows, 4 for the small
// ones of the calendar's month and year buttons.
void Arrow(bool left, int reach, image::Image* out) {
  const int n = 16;
  *out = image::Image{n, n, std::vector<uint32_t>(n * n, 0)};
  for (int y = 8 - reach; y < 8 + reach; ++y) {
    int half = reach - std::abs(y - 8 + (y >= 8 ? 1 : 0));
    for (int i = 0; i <= half; ++i) {
      int x = left ? 4 + (6 - half) + i : 11 - (6 - half) - i;
      out->pixels[static_cast<size_t>(y) * n + x] = kBlue;
    }
  }
}

struct Builtin {
  const char* name;
  void (*draw)(image::Image*);
};

const Builtin kIcons[] = {
    {"RUDIV.ICO", &ProgramIcon},
    {"PREVIOUS.ICO", [](image::Image* out) { Arrow(true, 6, out); }},
    {"NEXT.ICO", [](image::Image* out) { Arrow(false, 6, out); }},
    {"PREVSMAL.ICO", [](image::Image* out) { Arrow(true, 4, out); }},
    {"NEXTSMAL.ICO", [](image::Image* out) { Arrow(false, 4, out); }},
};

}  // namespace

std::vector<std::string> BuiltinIconNames() {
  std::vector<std::string> names;
  for (const Builtin& icon : kIcons) names.emplace_back(icon.name);
  return names;
}

bool BuiltinIcon(const std::string& name, image::Image* out) {
  for (const Builtin& icon : kIcons) {
    if (strcasecmp(icon.name, name.c_str()) == 0) {
      icon.draw(out);
      return true;
    }
  }
  return false;
}

std::shared_ptr<host::Surface> LoadControlImage(const std::string& name) {
  if (name.empty()) return nullptr;
  image::Image img;
  if (image::LoadFile(name, &img) != image::ImageError::kOk && !BuiltinIcon(name, &img)) {
    return nullptr;
  }
  return host::Surface::FromPixels(img.width, img.height, img.pixels.data(), img.width);
}

}  // namespace carelog::window
