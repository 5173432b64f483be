#include "runtime/store/declarations.h"

#include <gtest/gtest.h>

namespace carelog::store {
namespace {

TEST(Declarations, TypeCodesMatchTheLayoutStream) {
  EXPECT_EQ(kTypeString, 0x12);
  EXPECT_EQ(kTypeGroup, 0x16);
  EXPECT_EQ(kTypeDim, 0x17);
  EXPECT_EQ(kLayoutLinkMarker, 0x18);
}

}  // namespace
}  // namespace carelog::store
