#include "runtime/store/page_codec.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/store/file_header.h"

namespace carelog::store {
namespace {

Entry MakeEntry(const std::string& bytes, size_t key_size) {
  Entry e;
  e.bytes = bytes;
  e.key_size = key_size;
  return e;
}

TEST(PageCodec, SmallLeafByteForByte) {
  Page page(3, 0);
  page.Insert(0, Entry());
  page.Insert(1, MakeEntry("ab1", 3));
  page.Insert(2, MakeEntry("ab2", 3));
  EXPECT_EQ(page.accounting, 13u + 5 + 8 + 8);
  std::string bytes;
  SerializePage(page, &bytes);
  SetPageOffset(&bytes, 3);
  const uint8_t expected[] = {
      0x00, 0x05, 0x00, 0x00,                       // own offset 512 + 3 x 256
      0x1C, 0x00, 0x1C, 0x00,                       // stored and decoded length 28
      0x22, 0x00, 0x03, 0x00,                       // accounting 34, three entries
      0x00,                                         // leaf
      0xC0, 0x00, 0x00, 0x00, 0x00,                 // the sentinel
      0xC0, 0x03, 0x00, 0x03, 0x00, 'a', 'b', '1',  // both lengths, nothing shared
      0x02, '2',                                    // shares "ab"
  };
  ASSERT_EQ(bytes.size(), 256u);
  EXPECT_EQ(bytes.substr(0, sizeof expected),
            std::string(reinterpret_cast<const char*>(expected), sizeof expected));
  EXPECT_EQ(bytes.substr(sizeof expected), std::string(256 - sizeof expected, '\xB0'));

  std::unique_ptr<Page> back;
  ASSERT_TRUE(DecodePage(bytes, 3, &back));
  EXPECT_EQ(back->entries.size(), 3u);
  EXPECT_EQ(back->entries[2].bytes, "ab2");
  EXPECT_EQ(back->entries[2].key_size, 3u);
  EXPECT_EQ(back->accounting, page.accounting);
  EXPECT_FALSE(DecodePage(bytes, 4, &back));  // at the wrong place
}

TEST(PageCodec, InnerPageCompressedWhenItSavesUnits) {
  Page page(0, 2);
  page.Insert(0, Entry(), 17);
  page.Insert(1, MakeEntry(std::string(600, 'q'), 600), 42);
  std::string bytes;
  SerializePage(page, &bytes);
  EXPECT_EQ(bytes.size(), 256u);  // 600 equal bytes shrink to a run
  EXPECT_EQ(bytes[12], 2);
  EXPECT_EQ(bytes.substr(13, 8), std::string("\x11\0\0\0\x2A\0\0\0", 8));
  std::unique_ptr<Page> back;
  SetPageOffset(&bytes, 0);
  ASSERT_TRUE(DecodePage(bytes, 0, &back));
  EXPECT_EQ(back->children, (std::vector<int32_t>{17, 42}));
  EXPECT_EQ(back->entries[1].bytes, std::string(600, 'q'));
}

TEST(PageCodec, NoRunMeansStoredAsIs) {
  Page page(0, 0);
  std::string bytes_of_entry;
  for (int i = 0; i < 300; ++i) bytes_of_entry.push_back(static_cast<char>(i * 7 % 251));
  page.Insert(0, MakeEntry(bytes_of_entry, 4));
  std::string bytes;
  SerializePage(page, &bytes);
  EXPECT_EQ(bytes.substr(4, 2), bytes.substr(6, 2));  // stored == decoded length
  EXPECT_EQ(bytes.size(), 512u);
}

TEST(PageCodec, RejectsDamage) {
  Page page(1, 0);
  page.Insert(0, Entry());
  page.Insert(1, MakeEntry("abcd", 4));
  std::string sound;
  SerializePage(page, &sound);
  SetPageOffset(&sound, 1);
  std::unique_ptr<Page> back;
  ASSERT_TRUE(DecodePage(sound, 1, &back));

  auto damaged = [&](size_t at, char value) {
    std::string bytes = sound;
    bytes[at] = value;
    return !DecodePage(bytes, 1, &back);
  };
  EXPECT_TRUE(damaged(4, 5));          // stored length below the header
  EXPECT_TRUE(damaged(5, 0x40));       // stored length beyond the largest page
  EXPECT_TRUE(damaged(6, 30));         // decoded length: entries end early
  EXPECT_TRUE(damaged(8, 10));         // accounting below the length
  EXPECT_TRUE(damaged(8, 40));         // accounting not what the entries make
  EXPECT_TRUE(damaged(10, 3));         // more entries than stored
  EXPECT_TRUE(damaged(10, 0));         // no entries
  EXPECT_TRUE(damaged(13, 0x00));      // first entry without both lengths
  EXPECT_TRUE(damaged(13 + 5, 0x00));  // second entry repeats the first one's empty key
}

}  // namespace
}  // namespace carelog::store
