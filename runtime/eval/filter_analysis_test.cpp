#include "runtime/eval/filter_analysis.h"

#include <gtest/gtest.h>

#include "runtime/eval/name_table.h"

namespace carelog::eval {
namespace {

struct Record {
  int32_t patient = 0;
  int32_t date = 0;
};

class FilterAnalysis : public ::testing::Test {
 protected:
  void SetUp() override {
    Bind("FA:Patient", &record_.patient);
    Bind("FA:Date", &record_.date);
    Bind("FA:Reset", &reset_);
  }

  std::vector<FieldEquality> Find(const char* text) {
    expression_ = Expression::Compile(text);
    EXPECT_NE(expression_, nullptr) << text;
    if (expression_ == nullptr) return {};
    return FindFieldEqualities(*expression_, [this](const Variable& v) {
      const auto* at = static_cast<const uint8_t*>(v.address);
      const auto* begin = reinterpret_cast<const uint8_t*>(&record_);
      return at >= begin && at < begin + sizeof record_;
    });
  }

  Record record_;
  int32_t reset_ = 7;
  std::unique_ptr<Expression> expression_;
};

TEST_F(FilterAnalysis, FindsEqualitiesOnEitherSideOfTopLevelConjunctions) {
  auto found = Find("FA:Patient = FA:Reset");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].field->address, &record_.patient);
  EXPECT_EQ(found[0].value->Integer(), 7);

  found = Find("FA:Reset + 1 = FA:Patient AND (FA:Date > 3 AND FA:Date = 12)");
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].field->address, &record_.patient);
  EXPECT_EQ(found[0].value->Integer(), 8);
  EXPECT_EQ(found[1].field->address, &record_.date);
}

TEST_F(FilterAnalysis, IgnoresWhatDoesNotFixAField) {
  EXPECT_TRUE(Find("FA:Patient = FA:Reset OR FA:Date = 1").empty());
  EXPECT_TRUE(Find("NOT FA:Patient = 1").empty());
  EXPECT_TRUE(Find("FA:Patient = FA:Date").empty());  // the value depends on the record
  EXPECT_TRUE(Find("FA:Patient = RANDOM(1, 2)").empty());
  EXPECT_TRUE(Find("FA:Patient >= 1").empty());
  EXPECT_TRUE(Find("FA:Reset = 7").empty());  // not a field of the record
}

}  // namespace
}  // namespace carelog::eval
