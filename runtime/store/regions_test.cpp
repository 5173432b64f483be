#include "runtime/store/regions.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace carelog::store {
namespace {

// Pages by number, as the moves reported by Regions place them.
class RegionModel {
 public:
  void Apply(const std::vector<PageMove>& moves) {
    for (const PageMove& move : moves) {
      ASSERT_EQ(pages_.count(move.from), 1u) << "move from an empty slot " << move.from;
      ASSERT_EQ(pages_.count(move.to), 0u) << "move onto a page at " << move.to;
      pages_[move.to] = pages_[move.from];
      pages_.erase(move.from);
    }
  }

  void Add(int size_class) {
    std::vector<PageMove> moves;
    int32_t slot = regions_.Append(size_class, &moves);
    Apply(moves);
    ASSERT_EQ(pages_.count(slot), 0u);
    pages_[slot] = {next_id_++, size_class};
  }

  void RemoveAt(int32_t number) {
    int size_class = pages_.at(number).size_class;
    pages_.erase(number);
    std::vector<PageMove> moves;
    regions_.Remove(size_class, number, &moves);
    Apply(moves);
  }

  void Pack() {
    std::vector<PageMove> moves;
    regions_.Pack(&moves);
    Apply(moves);
  }

  // Every page sits on a slot of its class's region, and every slot holds a page.
  void Verify(bool packed) {
    std::string why;
    ASSERT_TRUE(regions_.Check(packed, &why)) << why;
    size_t slots = 0;
    for (int c = 1; c <= kLargestClass; ++c) slots += static_cast<size_t>(regions_.PageCount(c));
    ASSERT_EQ(slots, pages_.size());
    for (const auto& [number, page] : pages_) {
      ASSERT_EQ(regions_.ClassOf(number), page.size_class) << number;
    }
  }

  struct PageInfo {
    int id;
    int size_class;
  };
  Regions regions_;
  std::map<int32_t, PageInfo> pages_;
  int next_id_ = 0;
};

TEST(Regions, AppendShiftsLaterRegionsByMovingTheirFirstPage) {
  RegionModel model;
  model.Add(1);
  model.Add(3);
  model.Add(3);
  int first_of_three = model.pages_.at(1).id;
  model.Add(1);  // region 3 must make room: its first page moves to its end
  model.Verify(false);
  EXPECT_EQ(model.regions_.start[1], 0);
  EXPECT_EQ(model.regions_.end[1], 2);
  EXPECT_EQ(model.regions_.start[3], 4);
  EXPECT_EQ(model.pages_.at(7).id, first_of_three);
  model.Pack();  // the gap of two units holds no page of three: region 3 slides down by two
  model.Verify(true);
  EXPECT_EQ(model.regions_.start[3], 2);
  EXPECT_EQ(model.regions_.EndOfData(), 8);
  EXPECT_EQ(model.pages_.at(5).id, first_of_three);
}

TEST(Regions, PackClosesWholeAndPartialGapsKeepingEveryPage) {
  RegionModel model;
  for (int i = 0; i < 5; ++i) model.Add(2);
  for (int i = 0; i < 4; ++i) model.Add(5);
  model.RemoveAt(0);
  model.RemoveAt(2);
  model.RemoveAt(4);  // region 2 shrinks by six units: one page of five fits, one unit remains
  std::map<int, int> classes_before;
  for (const auto& [number, page] : model.pages_) classes_before[page.id] = page.size_class;
  model.Pack();
  model.Verify(true);
  EXPECT_EQ(model.regions_.start[5], 4);
  EXPECT_EQ(model.regions_.EndOfData(), 24);
  std::map<int, int> classes_after;
  for (const auto& [number, page] : model.pages_) classes_after[page.id] = page.size_class;
  EXPECT_EQ(classes_after, classes_before);
}

TEST(Regions, CheckOfAPackedFileRejectsAnyGap) {
  Regions regions;
  regions.start[1] = 0;
  regions.end[1] = 3;
  regions.start[4] = 4;  // one unit of gap: too small for a page of four, still a gap
  regions.end[4] = 12;
  for (int c = 5; c <= kLargestClass; ++c) regions.start[c] = regions.end[c] = 12;
  for (int c = 2; c <= 3; ++c) regions.start[c] = regions.end[c] = 3;
  std::string why;
  EXPECT_TRUE(regions.Check(false, &why)) << why;
  EXPECT_FALSE(regions.Check(true, &why));
  EXPECT_EQ(why, "region 4 is not packed against the region before it");
}

TEST(Regions, RemoveFillsTheHoleWithTheLastPage) {
  RegionModel model;
  for (int i = 0; i < 4; ++i) model.Add(2);
  int last = model.pages_.at(6).id;
  model.RemoveAt(2);
  model.Verify(true);
  EXPECT_EQ(model.pages_.at(2).id, last);
  EXPECT_EQ(model.regions_.end[2], 6);
}

TEST(Regions, RandomGrowthAndShrinkKeepTheInvariants) {
  std::mt19937 random(11);
  RegionModel model;
  for (int step = 0; step < 3000; ++step) {
    if (model.pages_.empty() || random() % 3 != 0) {
      model.Add(1 + static_cast<int>(random() % 6) * (random() % 4 == 0 ? 9 : 1));
    } else {
      auto it = model.pages_.begin();
      std::advance(it, random() % model.pages_.size());
      model.RemoveAt(it->first);
    }
    if (step % 50 == 0) {
      model.Pack();
      model.Verify(true);
    } else {
      model.Verify(false);
    }
  }
}

}  // namespace
}  // namespace carelog::store
