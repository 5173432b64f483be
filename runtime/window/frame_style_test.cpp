#include "runtime/window/frame_style.h"

#include <gtest/gtest.h>

#include "runtime/host/window_system.h"
#include "runtime/window/window_structure.h"

namespace carelog::window {
namespace {

namespace st = host::style;

uint32_t Style(uint32_t frame, StructureKind kind = StructureKind::kWindow, bool icon = false,
               bool title = true) {
  return FrameStyle(FrameTraits{frame, kind, title, icon});
}

TEST(FrameStyleTest, TheWordsInUseGiveTheirFrames) {
  // The application frame: sizable, system menu, maximize box; its icon adds a minimize box.
  EXPECT_EQ(Style(0x5822, StructureKind::kApplication, true),
            st::kSizable | st::kSystemMenu | st::kMaximizeBox | st::kMinimizeBox | st::kCaption);
  EXPECT_EQ(Style(0x5822, StructureKind::kApplication),
            st::kSizable | st::kSystemMenu | st::kMaximizeBox | st::kCaption);
  // Browse and update windows: a thin border and a system menu, no boxes, not sizable.
  EXPECT_EQ(Style(0x3004, StructureKind::kMdi), st::kSystemMenu | st::kCaption);
  // Progress windows: a dialog frame with nothing on it.
  EXPECT_EQ(Style(0x2040), st::kCaption);
  // Modal dialog windows.
  EXPECT_EQ(Style(0x3048), st::kSystemMenu | st::kCaption | st::kModal);
  EXPECT_EQ(Style(0x3846), st::kSystemMenu | st::kMaximizeBox | st::kCaption);
  EXPECT_EQ(Style(0), st::kCaption);
}

TEST(FrameStyleTest, TheBorderBitsAreReadTogether) {
  // Only 0x20 alone in the border bits is sizable; 0x60 has no border and so no caption.
  EXPECT_TRUE(Style(0x0020) & st::kSizable);
  EXPECT_FALSE(Style(0x0040) & st::kSizable);
  EXPECT_FALSE(Style(0x0060) & st::kSizable);
  EXPECT_FALSE(Style(0x0060) & st::kCaption);
  EXPECT_FALSE(Style(0x0002) & st::kSizable);
  // Neither 0x0020 nor 0x0800 is a minimize box; only an icon gives one.
  EXPECT_FALSE(Style(0x0820) & st::kMinimizeBox);
  EXPECT_FALSE(Style(0x0020) & st::kMaximizeBox);
  EXPECT_EQ(Style(0x0060, StructureKind::kWindow, true), st::kSystemMenu | st::kMinimizeBox);
}

TEST(FrameStyleTest, CaptionAndModalityDependOnTheKind) {
  EXPECT_FALSE(Style(0x3404, StructureKind::kMdi) & st::kCaption);
  EXPECT_TRUE(Style(0x3404, StructureKind::kWindow) & st::kCaption);
  EXPECT_FALSE(Style(0x3004, StructureKind::kMdi, false, false) & st::kCaption);
  EXPECT_FALSE(Style(0x3048, StructureKind::kMdi) & st::kModal);
  EXPECT_FALSE(Style(0x5822 | 0x0008, StructureKind::kApplication) & st::kModal);
}

}  // namespace
}  // namespace carelog::window
