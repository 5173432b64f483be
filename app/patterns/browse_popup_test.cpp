// The right-click menu of a browse list, as the popup function reads it.
#include <gtest/gtest.h>

#include "app/patterns/browse_session.h"

namespace carelog::app {
namespace {

TEST(BrowsePopup, AnEmptyPageOffersOnlyInsertAndSelectIsForACallerThatSelects) {
  EXPECT_EQ(BrowsePopupText(false, false, false), "&Insert|&Change|&Delete");
  EXPECT_EQ(BrowsePopupText(true, false, false), "&Insert|~&Change|~&Delete");
  EXPECT_EQ(BrowsePopupText(false, true, true), "&Insert|&Change|&Delete|-|&Select");
  EXPECT_EQ(BrowsePopupText(false, true, false), "&Insert|&Change|&Delete|-|~&Select");
  EXPECT_EQ(BrowsePopupText(true, true, true), "&Insert|~&Change|~&Delete|-|~&Select");
}

}  // namespace
}  // namespace carelog::app
