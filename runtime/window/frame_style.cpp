#include "runtime/window/frame_style.h"

#include "runtime/host/window_system.h"
#include "runtime/window/window_structure.h"

namespace carelog::window {
namespace {

namespace frame_bit {
constexpr uint32_t kBorderMask = 0x0060;
constexpr uint32_t kSizableBorder = 0x0020;
constexpr uint32_t kNoBorder = 0x0060;
constexpr uint32_t kNoCaption = 0x0400;
constexpr uint32_t kModal = 0x0008;
}  // namespace frame_bit

// (mask, value): the styles a frame attribute word gives when (word & mask) == value.
struct FrameBitRule {
  uint32_t mask;
  uint32_t value;
  uint32_t style;
};

constexpr FrameBitRule kFrameBitRules[] = {
    {frame_bit::kBorderMask, frame_bit::kSizableBorder, host::style::kSizable},
    {0x0800, 0x0800, host::style::kSystemMenu | host::style::kMaximizeBox},
    {0x1000, 0x1000, host::style::kSystemMenu},
};

bool HasCaption(const FrameTraits& t) {
  if (!t.has_title) return false;
  if ((t.frame_attr & frame_bit::kBorderMask) == frame_bit::kNoBorder) return false;
  return !(t.kind == StructureKind::kMdi && (t.frame_attr & frame_bit::kNoCaption));
}

}  // namespace

uint32_t FrameStyle(const FrameTraits& t) {
  uint32_t style = 0;
  for (const FrameBitRule& rule : kFrameBitRules) {
    if ((t.frame_attr & rule.mask) == rule.value) style |= rule.style;
  }
  if (t.has_icon) style |= host::style::kSystemMenu | host::style::kMinimizeBox;
  if (HasCaption(t)) style |= host::style::kCaption;
  if (t.kind == StructureKind::kWindow && (t.frame_attr & frame_bit::kModal)) {
    style |= host::style::kModal;
  }
  return style;
}

}  // namespace carelog::window
