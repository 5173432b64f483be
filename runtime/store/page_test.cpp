#include "runtime/store/page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace carelog::store {
namespace {

// Bytes that sit on the edges of signed and unsigned order, so a comparison that reads them
// as signed chars or in the wrong byte order shows.
std::string RandomKey(std::mt19937& random, const std::string& prefix, size_t longest) {
  static const char kBytes[] = {'\x00', '\x01', '\x7F', '\x80', '\xFE', '\xFF', 'a'};
  std::string key = prefix;
  const size_t length = random() % (longest + 1);
  for (size_t i = 0; i < length; ++i) key.push_back(kBytes[random() % sizeof kBytes]);
  return key;
}

TEST(KeyBeforeTest, OrdersAsUnsignedBytesWithPrefixesFirst) {
  std::mt19937 random(3);
  for (int i = 0; i < 20000; ++i) {
    // Long shared prefixes reach the word-at-a-time part and its tail.
    const std::string shared = RandomKey(random, "", 20);
    const std::string a = RandomKey(random, shared, 12);
    const std::string b = RandomKey(random, shared, 12);
    ASSERT_EQ(KeyBefore(a, b), std::string_view(a) < std::string_view(b))
        << testing::PrintToString(a) << " " << testing::PrintToString(b);
  }
  EXPECT_FALSE(KeyBefore("", ""));
  for (int i = 0; i < 20000; ++i) {
    const std::string a = RandomKey(random, "", 10);
    const std::string b = RandomKey(random, "", 10);
    if (KeyHead(a) != KeyHead(b)) {
      ASSERT_EQ(KeyHead(a) < KeyHead(b), std::string_view(a) < std::string_view(b))
          << testing::PrintToString(a) << " " << testing::PrintToString(b);
    }
  }
  EXPECT_TRUE(KeyBefore("", std::string(1, '\0')));
  EXPECT_TRUE(KeyBefore("abcdefgh", "abcdefgh\x01"));
}

Entry MakeEntry(const std::string& key) {
  Entry entry;
  entry.bytes = key + "data";
  entry.key_size = key.size();
  return entry;
}

// What LastAtOrBelow must answer, found by walking every entry.
ptrdiff_t Reference(const Page& page, std::string_view key) {
  ptrdiff_t last = -1;
  for (size_t i = 0; i < page.size(); ++i) {
    if (!(key < page.entries[i].key())) last = static_cast<ptrdiff_t>(i);
  }
  return last;
}

// Searches between every kind of edit: inserts inside and outside the prefix the page's
// entries share, erasures down to an empty page, replaced keys, splits, and entries filled in
// directly as the decoder does.
TEST(PageSearchTest, LastAtOrBelowFollowsEveryEdit) {
  std::mt19937 random(5);
  const std::vector<std::string> prefixes = {"", "\x01\x02\x03\x04\xF3", "\x01\x02\x03\x04\xFC",
                                             "\x01\x02\x03\x04\xF3\x00\x00"};
  for (int round = 0; round < 40; ++round) {
    Page page(1, 0);
    for (int i = 0; i < 30; ++i) page.entries.push_back(MakeEntry(RandomKey(random, "\x01", 10)));
    std::sort(page.entries.begin(), page.entries.end(),
              [](const Entry& a, const Entry& b) { return a.key() < b.key(); });
    page.entries.erase(std::unique(page.entries.begin(), page.entries.end(),
                                   [](const Entry& a, const Entry& b) { return a.key() == b.key(); }),
                       page.entries.end());
    for (int step = 0; step < 300; ++step) {
      const std::string& prefix = prefixes[random() % (round % 2 == 0 ? 2 : prefixes.size())];
      const std::string key = RandomKey(random, prefix, 9);
      const ptrdiff_t at = Reference(page, key);
      ASSERT_EQ(page.LastAtOrBelow(key), at) << round << " " << step;
      const int what = static_cast<int>(random() % 10);
      const bool present = at >= 0 && page.entries[static_cast<size_t>(at)].key() == key;
      if (what < 5 && !present) {
        page.Insert(static_cast<size_t>(at + 1), MakeEntry(key));
      } else if (what < 8 && page.size() > 0) {
        page.Erase(random() % page.size());
      } else if (what == 8 && page.size() > 0) {
        // A new key for an entry, as a parent's separator changes: any key between its
        // neighbours, inside the shared prefix or not.
        const size_t j = random() % page.size();
        const bool fits = (j == 0 || page.entries[j - 1].key() < key) &&
                          (j + 1 == page.size() || key < page.entries[j + 1].key());
        if (fits) page.Replace(j, MakeEntry(key));
      } else if (what == 9 && page.size() > 4) {
        Page right(2, 0);
        page.MoveTail(page.size() / 2, &right);
        ASSERT_EQ(right.LastAtOrBelow(key), Reference(right, key));
      }
    }
  }
}

}  // namespace
}  // namespace carelog::store
