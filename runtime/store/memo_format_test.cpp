#include "runtime/store/memo_format.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>

#include "runtime/store/declarations.h"
#include "runtime/store/record_image.h"

namespace carelog::store {
namespace {

MemoDef Memo(uint16_t max_size, uint16_t flags) {
  MemoDef m;
  m.max_size = max_size;
  m.flags = flags;
  return m;
}

TEST(MemoFormat, TextMemosDropTrailingBlanks) {
  MemoDef memo = Memo(600, 1);
  std::string buffer(600, ' ');
  EXPECT_EQ(MemoStoredBytes(memo, buffer.data(), 0), "");
  buffer.replace(0, 3, "abc");
  EXPECT_EQ(MemoStoredBytes(memo, buffer.data(), 0), "abc");
  buffer[599] = 'z';
  EXPECT_EQ(MemoStoredBytes(memo, buffer.data(), 0).size(), 600u);

  std::string back(600, 'x');
  EXPECT_EQ(LoadMemo(memo, "abc", back.data()), 3u);
  EXPECT_EQ(back.substr(0, 4), "abc ");
  EXPECT_EQ(back.find_first_not_of(' ', 3), std::string::npos);
  // Stored text longer than the buffer is cut to it.
  EXPECT_EQ(LoadMemo(memo, std::string(700, 'q'), back.data()), 600u);
}

TEST(MemoFormat, BinaryMemosKeepTheirLength) {
  MemoDef memo = Memo(300, kDefMemoBinary);
  std::string buffer(300, '\0');
  buffer[0] = 'a';
  std::string stored = MemoStoredBytes(memo, buffer.data(), 5);
  ASSERT_EQ(stored.size(), 9u);
  EXPECT_EQ(stored.substr(0, 4), std::string("\x05\0\0\0", 4));
  EXPECT_EQ(MemoStoredBytes(memo, buffer.data(), 0), "");

  std::string back(300, 'x');
  EXPECT_EQ(LoadMemo(memo, stored, back.data()), 5u);
  EXPECT_EQ(back.substr(0, 5), std::string("a\0\0\0\0", 5));
  EXPECT_EQ(back[5], ' ');
  // A length beyond the stored bytes, or a damaged block 0, never reads past them.
  std::string lying = std::string("\xFF\xFF\0\0", 4) + "abc";
  EXPECT_EQ(LoadMemo(memo, lying, back.data()), 3u);
  EXPECT_EQ(LoadMemo(memo, "ab", back.data()), 0u);
}

TEST(RecordImage, MapsOnlyTheTextOfStringFields) {
  TableDefinition def;
  def.record_size = 12;
  FieldDef number;
  number.type = kTypeLong;
  number.total_size = 4;
  FieldDef name;
  name.type = kTypeString;
  name.offset = 4;
  name.total_size = 4;
  FieldDef pname;
  pname.type = kTypePString;
  pname.offset = 8;
  pname.total_size = 4;
  def.fields = {number, name, pname};
  CharsetMap upper;
  for (int c = 0; c < 256; ++c) upper[c] = static_cast<uint8_t>(c == 3 ? 'X' : std::toupper(c));
  uint8_t image[12] = {3, 3, 'a', 'b', 'c', 'd', 3, 'e', 3, 'f', 'g', 'h'};
  MapRecordText(def, upper, image);
  const uint8_t expected[12] = {3, 3, 'a', 'b', 'C', 'D', 'X', 'E', 3, 'F', 'G', 'H'};
  EXPECT_EQ(0, std::memcmp(image, expected, 12));
}

}  // namespace
}  // namespace carelog::store
