// The report preview's modes, page moves, status texts and item texts, for the page counts a
// user meets: one page, an odd and an even number of pages.
#include "app/report_preview_model.h"

#include <gtest/gtest.h>

namespace carelog::app {
namespace {

TEST(PreviewModel, AOnePageReportHasNothingToBrowse) {
  PreviewModel m(1);
  PreviewView v = m.Draw();
  EXPECT_EQ(v.single, 1);
  EXPECT_FALSE(v.previous_enabled);
  EXPECT_FALSE(v.next_enabled);
  EXPECT_FALSE(v.facing_enabled);
  EXPECT_EQ(v.zone2, "");
  EXPECT_EQ(v.zone3, "Single Page");
  EXPECT_EQ(v.zone4, "Page 1 of 1");
  m.Zoom();
  m.Zoom();
  EXPECT_FALSE(m.Draw().facing_enabled);  // zooming out does not enable it either
}

TEST(PreviewModel, FacingPagesOfFivePagesPutPageOneAloneOnTheRight) {
  PreviewModel m(5);
  m.Facing();
  PreviewView v = m.Draw();
  EXPECT_EQ(v.left, 0);
  EXPECT_EQ(v.right, 1);
  EXPECT_EQ(v.single, 0);
  EXPECT_EQ(v.zone3, "Facing Pages");
  EXPECT_EQ(v.zone4, "Page 1 of 5");
  EXPECT_EQ(v.facing_text, "&Single Pages!");
  EXPECT_EQ(v.facing_tip, "View the report one page at a time");
  m.Next();
  v = m.Draw();
  EXPECT_EQ(v.left, 2);
  EXPECT_EQ(v.right, 3);
  EXPECT_EQ(v.zone4, "Pages 2 and 3 of 5");
  EXPECT_TRUE(v.next_enabled);
  m.Next();
  v = m.Draw();
  EXPECT_EQ(v.zone4, "Pages 4 and 5 of 5");
  EXPECT_FALSE(v.next_enabled);
  EXPECT_TRUE(v.previous_enabled);
  m.Previous();
  EXPECT_EQ(m.Draw().zone4, "Pages 2 and 3 of 5");
}

TEST(PreviewModel, TheLastPairOfAnEvenReportShowsOnlyTheLeftPage) {
  PreviewModel m(4);
  m.JumpTo(4);
  m.Facing();  // page 4 is even: the pair is 4 and 5
  PreviewView v = m.Draw();
  EXPECT_EQ(v.left, 4);
  EXPECT_EQ(v.right, 0);
  EXPECT_EQ(v.zone4, "Page 4 of 4");
  EXPECT_FALSE(v.next_enabled);
  m.Facing();
  v = m.Draw();
  EXPECT_EQ(v.single, 4);
  EXPECT_EQ(v.zone4, "Page 4 of 4");
  EXPECT_EQ(v.facing_text, "&Facing Pages!");
  EXPECT_EQ(v.facing_tip, "View the report two pages at a time");
}

TEST(PreviewModel, ZoomingOutReturnsToTheModeAndPairItCameFrom) {
  PreviewModel m(5);
  m.Facing();
  m.Next();
  m.Zoom();
  PreviewView v = m.Draw();
  EXPECT_EQ(v.zoom, 3);
  EXPECT_EQ(v.zone2, "ZOOM");
  EXPECT_EQ(v.zone3, "Single Page");
  EXPECT_EQ(v.zone4, "Page 3 of 5");
  EXPECT_FALSE(v.facing_enabled);
  EXPECT_EQ(v.zoom_text, "&Zoom Out!");
  EXPECT_EQ(v.zoom_tip, "Zoom out to facing page mode");
  m.Zoom();
  v = m.Draw();
  EXPECT_EQ(v.zone4, "Pages 2 and 3 of 5");
  EXPECT_TRUE(v.facing_enabled);
  EXPECT_EQ(v.zoom_text, "&Zoom In!");
  EXPECT_EQ(v.zoom_tip, "Zoom in on a page of this report");
  // From single pages the tooltip says so, and zooming out comes back to single pages.
  m.Facing();
  m.Zoom();
  EXPECT_EQ(m.Draw().zoom_tip, "Zoom out to full page mode");
  m.Zoom();
  EXPECT_EQ(m.mode(), PreviewMode::kSingle);
}

TEST(PreviewModel, ClickingTheLeftPageZoomsIntoIt) {
  PreviewModel m(5);
  m.Facing();
  m.Next();  // pages 2 and 3
  m.ClickLeft();
  EXPECT_EQ(m.Draw().zoom, 2);
  m.Zoom();
  EXPECT_EQ(m.Draw().zone4, "Pages 2 and 3 of 5");  // back to the same pair
  m.ClickPage();
  EXPECT_EQ(m.Draw().zoom, 3);
}

TEST(PreviewModel, ZoomOnALastPairWithoutItsRightPageShowsARealPage) {
  PreviewModel m(4);
  m.JumpTo(4);
  m.Facing();
  m.Zoom();
  EXPECT_EQ(m.Draw().zoom, 4);
  EXPECT_EQ(m.Draw().zone4, "Page 4 of 4");
  m.Zoom();
  EXPECT_EQ(m.Draw().left, 4);
}

TEST(PreviewModel, JumpsLandOnThePageOrItsPair) {
  PreviewModel m(5);
  EXPECT_EQ(m.JumpStart(), 1);
  m.JumpTo(3);
  EXPECT_EQ(m.Draw().single, 3);
  m.JumpTo(1);
  m.Facing();
  m.JumpTo(3);
  PreviewView v = m.Draw();
  EXPECT_EQ(v.zone4, "Pages 2 and 3 of 5");
  m.JumpTo(99);  // the entry's limit
  EXPECT_EQ(m.current(), 5);
  PreviewModel even(4);
  even.JumpTo(4);
  even.Facing();
  even.Draw();
  EXPECT_EQ(even.JumpStart(), 4);  // the pair 4 and 5 starts the jump at 4
}

}  // namespace
}  // namespace carelog::app
