#include "runtime/store/tree.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

#include "runtime/store/data_file.h"
#include "runtime/store/data_file_check.h"
#include "runtime/store/data_file_impl.h"
#include "runtime/store/file_io_faults.h"

namespace carelog::store {
namespace {

class TreeTest : public ::testing::Test {
 protected:
  void Open() {
    file_.reset();
    DataFileOptions options;
    options.create = true;
    ASSERT_EQ(DataFile::Open("t.lds", options, &file_, &fs_), 0);
  }
  void SetUp() override { Open(); }

  Tree& tree() { return file_->tree(); }
  DataFileImpl& impl() { return file_->impl(); }

  void Put(const std::string& key, const std::string& data) { ASSERT_EQ(tree().Put(key, data), 0); }
  void Commit() { ASSERT_EQ(file_->EndAccess(), 0); }

  // Every page of the tree, by level, walked from the root.
  void CountPages(std::map<int, int>* per_level) {
    ASSERT_EQ(file_->BeginAccess(Access::kRead), 0);
    std::vector<Page*> todo{impl().LoadPage(impl().header_.root)};
    while (!todo.empty()) {
      Page* page = todo.back();
      todo.pop_back();
      ++(*per_level)[page->level];
      for (size_t i = 0; i < page->children.size(); ++i) {
        todo.push_back(impl().LoadChild(*page, i));
      }
    }
  }

  FaultFileSystem fs_;
  std::unique_ptr<DataFile> file_;
};

std::string Key(int n) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "k%08d", n);
  return buffer;
}

TEST_F(TreeTest, EmptyTreeFindsNothing) {
  Cursor cursor(*file_);
  bool found = true;
  ASSERT_EQ(cursor.First(&found), 0);
  EXPECT_FALSE(found);
  ASSERT_EQ(cursor.Last(&found), 0);
  EXPECT_FALSE(found);
  Entry entry;
  ASSERT_EQ(tree().Find("x", &entry, &found), 0);
  EXPECT_FALSE(found);
  // Even an empty key (the sentinel's) finds nothing once the tree exists.
  Put("a", "1");
  ASSERT_EQ(tree().Find("", &entry, &found), 0);
  EXPECT_FALSE(found);
  ASSERT_EQ(cursor.SeekAtOrBelow("0", &found), 0);
  EXPECT_FALSE(found);
}

TEST_F(TreeTest, InsertFindPutErase) {
  bool inserted = false;
  ASSERT_EQ(tree().Insert("key", "data", &inserted), 0);
  EXPECT_TRUE(inserted);
  ASSERT_EQ(tree().Insert("key", "other", &inserted), 0);
  EXPECT_FALSE(inserted);
  Entry entry;
  bool found = false;
  ASSERT_EQ(tree().Find("key", &entry, &found), 0);
  ASSERT_TRUE(found);
  EXPECT_EQ(entry.key(), "key");
  EXPECT_EQ(entry.data(), "data");
  Put("key", "replaced");
  ASSERT_EQ(tree().Find("key", &entry, &found), 0);
  EXPECT_EQ(entry.data(), "replaced");
  // Key parts alone decide: "ke" is a different, smaller key.
  Put("ke", "y");
  ASSERT_EQ(tree().Find("ke", &entry, &found), 0);
  EXPECT_EQ(entry.bytes, "key");
  EXPECT_EQ(entry.key_size, 2u);
  bool erased = false;
  ASSERT_EQ(tree().Erase("key", &erased), 0);
  EXPECT_TRUE(erased);
  ASSERT_EQ(tree().Erase("key", &erased), 0);
  EXPECT_FALSE(erased);
  Commit();
  Open();
  ASSERT_EQ(tree().Find("key", &entry, &found), 0);
  EXPECT_FALSE(found);
  ASSERT_EQ(tree().Find("ke", &entry, &found), 0);
  EXPECT_TRUE(found);
}

TEST_F(TreeTest, SplitsCrowdedPagesAboveTwentyEntries) {
  // The sentinel and 19 entries of 220 bytes: 20 entries, 13 + 5 + 19 x 225 = 4293 bytes.
  for (int i = 0; i < 19; ++i) Put(Key(i), std::string(220 - 9, 'x'));
  std::map<int, int> levels;
  CountPages(&levels);
  EXPECT_EQ(levels, (std::map<int, int>{{0, 1}}));
  Put(Key(99), std::string(220 - 9, 'x'));
  levels.clear();
  CountPages(&levels);
  EXPECT_EQ(levels, (std::map<int, int>{{0, 2}, {1, 1}}));
}

TEST_F(TreeTest, SplitsLargeEntriesByAccountingSize) {
  Put(Key(1), std::string(7000, 'a'));
  Put(Key(2), std::string(7000, 'b'));
  std::map<int, int> levels;
  CountPages(&levels);
  EXPECT_EQ(levels[0], 1);
  Put(Key(3), std::string(7000, 'c'));
  levels.clear();
  CountPages(&levels);
  EXPECT_EQ(levels[0], 2);
}

TEST_F(TreeTest, ManyLargestEntriesKeepTheTreeShallow) {
  for (int i = 0; i < 40; ++i) Put(Key(i), std::string(kMaxEntrySize - 9, static_cast<char>(i)));
  Commit();
  std::map<int, int> levels;
  CountPages(&levels);
  EXPECT_EQ(levels.size(), 2u);
  EXPECT_EQ(levels[0], 41);  // the sentinel has a leaf of its own
  Open();
  Cursor cursor(*file_);
  bool found = false;
  int count = 0;
  for (cursor.First(&found); found; cursor.Next(&found)) {
    EXPECT_EQ(cursor.data(), std::string(kMaxEntrySize - 9, static_cast<char>(count)));
    ++count;
  }
  EXPECT_EQ(count, 40);
}

TEST_F(TreeTest, EraseFreesEmptyPagesAndShrinksTheFile) {
  for (int i = 0; i < 3000; ++i) Put(Key(i), std::string(100, static_cast<char>('a' + i % 26)));
  Commit();
  uint64_t full = file_->end_of_data();
  std::map<int, int> levels;
  CountPages(&levels);
  EXPECT_GT(levels[0], 50);
  for (int i = 0; i < 3000; ++i) {
    bool erased = false;
    ASSERT_EQ(tree().Erase(Key(i), &erased), 0);
    ASSERT_TRUE(erased);
  }
  Commit();
  levels.clear();
  CountPages(&levels);
  // Only the leftmost path, holding the sentinel, is left.
  for (auto [level, count] : levels) EXPECT_EQ(count, 1) << level;
  EXPECT_LT(file_->end_of_data(), full / 20);
  Open();
  Cursor cursor(*file_);
  bool found = true;
  ASSERT_EQ(cursor.First(&found), 0);
  EXPECT_FALSE(found);
}

TEST_F(TreeTest, CursorFindsItsPlaceAfterChanges) {
  for (int i = 0; i < 1000; i += 2) Put(Key(i), "v");
  Cursor cursor(*file_);
  bool found = false;
  ASSERT_EQ(cursor.SeekExact(Key(500), &found), 0);
  ASSERT_TRUE(found);
  // Erase its entry and its neighbours, and insert around it.
  ASSERT_EQ(tree().Erase(Key(500)), 0);
  ASSERT_EQ(tree().Erase(Key(502)), 0);
  Put(Key(501), "new");
  ASSERT_EQ(cursor.Next(&found), 0);
  ASSERT_TRUE(found);
  EXPECT_EQ(cursor.key(), Key(501));
  ASSERT_EQ(tree().Erase(Key(501)), 0);
  ASSERT_EQ(cursor.Previous(&found), 0);
  ASSERT_TRUE(found);
  EXPECT_EQ(cursor.key(), Key(498));
  // A cursor survives the end of the access cycle and a reopened cache.
  Commit();
  ASSERT_EQ(cursor.Next(&found), 0);
  EXPECT_EQ(cursor.key(), Key(504));
}

TEST_F(TreeTest, SeekVariants) {
  for (int i = 10; i <= 50; i += 10) Put(Key(i), "");
  Cursor cursor(*file_);
  bool found = false;
  ASSERT_EQ(cursor.SeekAtOrBelow(Key(25), &found), 0);
  EXPECT_EQ(cursor.key(), Key(20));
  ASSERT_EQ(cursor.SeekAtOrAbove(Key(25), &found), 0);
  EXPECT_EQ(cursor.key(), Key(30));
  ASSERT_EQ(cursor.SeekAtOrAbove(Key(30), &found), 0);
  EXPECT_EQ(cursor.key(), Key(30));
  ASSERT_EQ(cursor.SeekAtOrAbove(Key(51), &found), 0);
  EXPECT_FALSE(found);
  EXPECT_EQ(cursor.key(), Key(30));  // unchanged
  ASSERT_EQ(cursor.SeekAtOrBelow(Key(5), &found), 0);
  EXPECT_FALSE(found);
  ASSERT_EQ(cursor.SeekExact(Key(25), &found), 0);
  EXPECT_FALSE(found);
  ASSERT_EQ(cursor.Last(&found), 0);
  EXPECT_EQ(cursor.key(), Key(50));
  ASSERT_EQ(cursor.Next(&found), 0);
  EXPECT_FALSE(found);
  ASSERT_EQ(cursor.First(&found), 0);
  EXPECT_EQ(cursor.key(), Key(10));
  ASSERT_EQ(cursor.Previous(&found), 0);
  EXPECT_FALSE(found);
}

// Random inserts, replacements and erasures checked against std::map, with commits, reopening
// and complete walks in both directions.
TEST_F(TreeTest, RandomOperationsMatchAModel) {
  std::mt19937 random(7);
  std::map<std::string, std::string> model;
  auto random_key = [&] {
    // Shared prefixes and varied lengths exercise the prefix coding and splits.
    std::string key = "t" + std::to_string(random() % 3) + "/";
    int length = static_cast<int>(random() % 40);
    for (int i = 0; i < length; ++i) key.push_back(static_cast<char>('a' + random() % 3));
    return key;
  };
  for (int round = 0; round < 6; ++round) {
    for (int i = 0; i < 1500; ++i) {
      std::string key = random_key();
      int what = static_cast<int>(random() % 10);
      if (what < 5) {
        std::string data(random() % 300, static_cast<char>(random()));
        if (random() % 20 == 0) data.assign(2000 + random() % 6000, 'z');
        Put(key, data);
        model[key] = data;
      } else if (what < 7) {
        // Rewritten in place (same size), grown (may split), or left alone.
        const int how = static_cast<int>(random() % 3);
        const auto at = model.find(key);
        const std::string before = at == model.end() ? "" : at->second;
        std::string after = before;
        if (how == 0) after = before.empty() ? "n" : std::string(before.size(), '#');
        if (how == 1) after.append(500, 'g');
        ASSERT_EQ(tree().Modify(key,
                                [&](std::string* data) {
                                  EXPECT_EQ(*data, before);
                                  *data = after;
                                  return how != 2;
                                }),
                  0);
        if (how != 2) model[key] = after;
      } else {
        bool erased = false;
        ASSERT_EQ(tree().Erase(key, &erased), 0);
        EXPECT_EQ(erased, model.erase(key) == 1);
      }
    }
    Commit();
    if (round % 2 == 1) Open();
    std::vector<CheckFault> faults;
    CheckSummary summary;
    ASSERT_EQ(CheckDataFile(*file_, &faults, &summary), 0);
    for (const CheckFault& fault : faults) ADD_FAILURE() << fault.page << ": " << fault.text;
    EXPECT_EQ(summary.leaf_entries, static_cast<int64_t>(model.size()));

    Cursor cursor(*file_);
    bool found = false;
    ASSERT_EQ(cursor.First(&found), 0);
    for (const auto& [key, data] : model) {
      ASSERT_TRUE(found);
      ASSERT_EQ(cursor.key(), key);
      ASSERT_EQ(cursor.data(), data);
      ASSERT_EQ(cursor.Next(&found), 0);
    }
    EXPECT_FALSE(found);
    ASSERT_EQ(cursor.Last(&found), 0);
    for (auto it = model.rbegin(); it != model.rend(); ++it) {
      ASSERT_TRUE(found);
      ASSERT_EQ(cursor.key(), it->first);
      ASSERT_EQ(cursor.Previous(&found), 0);
    }
    EXPECT_FALSE(found);
  }
}

// Prefix scans over runs that span several leaves: every entry of the prefix in order, nothing
// of its neighbours, an entry equal to the prefix included, and a scan stopped by its visitor.
TEST_F(TreeTest, ScanPrefixVisitsExactlyThePrefixInOrder) {
  std::map<std::string, std::string> model;
  for (int n = 0; n < 3000; ++n) {
    for (const std::string& range : {std::string("m"), std::string("m\x01"), std::string("n")}) {
      const std::string key = range + Key(n % 700) + (n % 3 == 0 ? "" : std::to_string(n));
      Put(key, std::string(40, 'd'));
      model[key] = std::string(40, 'd');
    }
  }
  Put("m\x01", "itself");
  model["m\x01"] = "itself";
  Commit();
  for (const std::string& prefix : {std::string("m"), std::string("m\x01"), std::string("mk0000001"),
                                    std::string("m\x01k00000699"), std::string("l"),
                                    std::string("o"), std::string("m\x02")}) {
    std::vector<std::string> expected;
    for (const auto& [key, data] : model) {
      if (key.starts_with(prefix)) expected.push_back(key);
    }
    std::vector<std::string> seen;
    ASSERT_EQ(tree().ScanPrefix(prefix,
                                [&](const Entry& entry) {
                                  seen.emplace_back(entry.key());
                                  EXPECT_EQ(entry.data(), model[seen.back()]);
                                  return true;
                                }),
              0);
    EXPECT_EQ(seen, expected) << prefix;
  }
  int visited = 0;
  ASSERT_EQ(tree().ScanPrefix("n", [&](const Entry&) { return ++visited < 5; }), 0);
  EXPECT_EQ(visited, 5);
}

// Searches that start from a remembered leaf: ADDs in key order into three interleaved ranges
// (as a record, its key entry and a counter are written), lookups around them, and erasures of
// whole runs that free leaves and change their parents' entries; every answer is checked
// against std::map, within one cycle and across commits.
TEST_F(TreeTest, SearchesFromRememberedLeavesMatchAModel) {
  std::map<std::string, std::string> model;
  auto key_of = [](char range, int n) { return std::string(1, range) + Key(n); };
  auto expect_matches = [&](const std::string& key) {
    Entry entry;
    bool found = false;
    ASSERT_EQ(tree().Find(key, &entry, &found), 0);
    auto it = model.find(key);
    ASSERT_EQ(found, it != model.end()) << key;
    if (found) {
      EXPECT_EQ(entry.data(), it->second) << key;
    }
  };
  for (int n = 0; n < 4000; ++n) {
    for (char range : {'a', 'k', 'r'}) {
      std::string data = range == 'k' ? "" : std::string(60, static_cast<char>('0' + n % 10));
      Put(key_of(range, n), data);
      model[key_of(range, n)] = data;
    }
    Put("c", std::to_string(n));  // one entry rewritten at every step
    model["c"] = std::to_string(n);
    if (n % 97 == 0) {
      for (int back : {0, 1, 5, 40, 600}) expect_matches(key_of('a', n - back));
      expect_matches(key_of('k', n + 1));  // just past the last: not there yet
      expect_matches("c");
    }
    if (n % 1000 == 999) Commit();
  }
  // Runs long enough to empty leaves, each followed by searches on both sides of the gap.
  for (int start : {100, 1500, 3900}) {
    for (int n = start; n < start + 300 && n < 4000; ++n) {
      bool erased = false;
      ASSERT_EQ(tree().Erase(key_of('a', n), &erased), 0);
      ASSERT_TRUE(erased);
      model.erase(key_of('a', n));
      if (n % 50 == 0) {
        for (int near : {n, n + 1, start - 1, start + 300}) expect_matches(key_of('a', near));
      }
    }
  }
  for (int n = 0; n < 4000; n += 7) {
    for (char range : {'a', 'k', 'r'}) expect_matches(key_of(range, n));
  }
  Commit();
  for (int n = 3999; n >= 0; n -= 13) expect_matches(key_of('a', n));
}

// A search from a leaf remembered before another opener changed the file finds that opener's
// entries and misses its erasures: the cycle that sees the change drops the cached pages and
// with them the remembered paths.
TEST_F(TreeTest, RememberedLeavesFollowAnotherOpenersChanges) {
  DataFileOptions shared;
  shared.create = true;
  shared.shared = true;
  std::unique_ptr<DataFile> mine, theirs;
  ASSERT_EQ(DataFile::Open("s.lds", shared, &mine, &fs_), 0);
  for (int n = 0; n < 2000; n += 2) ASSERT_EQ(mine->tree().Put(Key(n), "mine"), 0);
  ASSERT_EQ(mine->EndAccess(), 0);
  Entry entry;
  bool found = false;
  ASSERT_EQ(mine->tree().Find(Key(1000), &entry, &found), 0);
  ASSERT_TRUE(found);
  ASSERT_EQ(mine->EndAccess(), 0);

  ASSERT_EQ(DataFile::Open("s.lds", shared, &theirs, &fs_), 0);
  for (int n = 1; n < 2000; n += 2) ASSERT_EQ(theirs->tree().Put(Key(n), "theirs"), 0);
  for (int n = 900; n < 1200; n += 2) ASSERT_EQ(theirs->tree().Erase(Key(n)), 0);
  ASSERT_EQ(theirs->EndAccess(), 0);

  for (int n = 990; n < 1010; ++n) {
    ASSERT_EQ(mine->tree().Find(Key(n), &entry, &found), 0);
    EXPECT_EQ(found, n % 2 == 1) << n;
    if (found) {
      EXPECT_EQ(entry.data(), "theirs");
    }
  }
  ASSERT_EQ(mine->EndAccess(), 0);
}
}  // namespace
}  // namespace carelog::store
