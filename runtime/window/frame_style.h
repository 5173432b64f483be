// The window style a structure's frame attribute word (and its title and icon) asks for.
//
//   bits 0x0060: 0x00 thin border, 0x20 sizable with a caption, 0x40 dialog frame, 0x60 none
//   0x0400  no caption on an MDI window
//   0x0800  system menu and maximize box
//   0x1000  system menu
//   0x0008  modal (a plain window disables the windows below it while open)
//   an icon adds a system menu and a minimize box; a title gives a caption unless the border
//   bits say none.
#pragma once

#include <cstdint>

namespace carelog::window {

enum class StructureKind : uint8_t;

struct FrameTraits {
  uint32_t frame_attr = 0;
  StructureKind kind{};
  bool has_title = false;
  bool has_icon = false;
};

// host::style bits, without kVisible.
uint32_t FrameStyle(const FrameTraits& traits);

}  // namespace carelog::window
