#include "runtime/store/key_encoding.h"

#include <gtest/gtest.h>

#include <cstring>

#include "runtime/store/declarations.h"

namespace carelog::store {
namespace {

FieldDef Field(uint8_t type, uint16_t offset, const char* name, uint16_t size) {
  FieldDef f;
  f.type = type;
  f.offset = offset;
  f.name = name;
  f.total_size = size;
  return f;
}

std::string Encode(uint8_t type, const void* bytes, uint16_t size, bool descending = false,
                   bool nocase = false) {
  FieldDef f = Field(type, 0, "F", size);
  std::string out;
  AppendComponent(f, descending, nocase, DefaultTextKeyTables(), static_cast<const uint8_t*>(bytes),
                  &out);
  return out;
}

template <typename T>
std::string EncodeValue(uint8_t type, T value, bool descending = false) {
  return Encode(type, &value, sizeof value, descending);
}

TEST(KeyEncoding, LongsSortNumericallyBothWays) {
  EXPECT_EQ(EncodeValue<int32_t>(kTypeLong, -1), std::string("\x7F\xFF\xFF\xFF", 4));
  EXPECT_EQ(EncodeValue<int32_t>(kTypeLong, 1), std::string("\x80\x00\x00\x01", 4));
  EXPECT_EQ(EncodeValue<int32_t>(kTypeLong, -1, true), std::string("\x80\x00\x00\x00", 4));
  EXPECT_EQ(EncodeValue<int32_t>(kTypeLong, 1, true), std::string("\x7F\xFF\xFF\xFE", 4));
}

// Byte order of the encodings follows numeric order for every numeric type.
TEST(KeyEncoding, NumericTypesOrderByBytes) {
  const int16_t shorts[] = {-32768, -300, -1, 0, 1, 255, 256, 32767};
  for (size_t i = 1; i < std::size(shorts); ++i) {
    EXPECT_LT(EncodeValue(kTypeShort, shorts[i - 1]), EncodeValue(kTypeShort, shorts[i]));
    EXPECT_GT(EncodeValue(kTypeShort, shorts[i - 1], true),
              EncodeValue(kTypeShort, shorts[i], true));
  }
  const uint32_t ulongs[] = {0, 1, 255, 256, 65536, 0x80000000u, 0xFFFFFFFFu};
  for (size_t i = 1; i < std::size(ulongs); ++i) {
    EXPECT_LT(EncodeValue(kTypeULong, ulongs[i - 1]), EncodeValue(kTypeULong, ulongs[i]));
  }
  const double reals[] = {-1e300, -2.5, -1.0, -1e-300, 0.0, 1e-300, 1.0, 2.5, 1e300};
  for (size_t i = 1; i < std::size(reals); ++i) {
    EXPECT_LT(EncodeValue(kTypeReal, reals[i - 1]), EncodeValue(kTypeReal, reals[i]));
    EXPECT_GT(EncodeValue(kTypeReal, reals[i - 1], true), EncodeValue(kTypeReal, reals[i], true));
  }
  const float sreals[] = {-3.5f, -0.25f, 0.0f, 0.25f, 7.0f};
  for (size_t i = 1; i < std::size(sreals); ++i) {
    EXPECT_LT(EncodeValue(kTypeSReal, sreals[i - 1]), EncodeValue(kTypeSReal, sreals[i]));
  }
}

TEST(KeyEncoding, PackedDecimalsOrderBySignAndMagnitude) {
  // DECIMAL(5,2) in three bytes: sign nibble first, then five digits.
  const char* values[] = {"\xF9\x99\x99", "\xF0\x12\x50", "\xF0\x00\x01", "\x00\x00\x00",
                          "\x00\x00\x01", "\x00\x12\x50", "\x09\x99\x99"};
  for (size_t i = 1; i < std::size(values); ++i) {
    EXPECT_LT(Encode(kTypeDecimal, values[i - 1], 3), Encode(kTypeDecimal, values[i], 3)) << i;
    EXPECT_GT(Encode(kTypeDecimal, values[i - 1], 3, true),
              Encode(kTypeDecimal, values[i], 3, true))
        << i;
  }
  // A negative value's bytes are left as they are in a descending component.
  EXPECT_EQ(Encode(kTypeDecimal, "\xF0\x12\x50", 3, true), std::string("\x80\x12\x50", 3));
}

TEST(KeyEncoding, StringsAndNoCase) {
  EXPECT_EQ(Encode(kTypeString, "Smith ", 6, false, true), "smith ");
  EXPECT_EQ(Encode(kTypeString, "SMITH ", 6, false, true), "smith ");
  EXPECT_EQ(Encode(kTypeString, "Smith ", 6), "Smith ");
  EXPECT_EQ(Encode(kTypeCString, "ab\0zz", 5), "ab   ");
  EXPECT_EQ(Encode(kTypePString,
                   "\x02"
                   "abzz",
                   5),
            std::string("ab\0\0\0", 5));
  // A length byte larger than the field is cut to the field.
  EXPECT_EQ(Encode(kTypePString,
                   "\xFF"
                   "abcd",
                   5)
                .size(),
            5u);

  TextKeyTables swapped = DefaultTextKeyTables();
  std::swap(swapped.collation['A'], swapped.collation['Z']);
  FieldDef f = Field(kTypeString, 0, "F", 1);
  std::string a, z;
  AppendComponent(f, false, false, swapped, reinterpret_cast<const uint8_t*>("A"), &a);
  AppendComponent(f, false, false, swapped, reinterpret_cast<const uint8_t*>("Z"), &z);
  EXPECT_LT(z, a);
}

TEST(KeyEncoding, BlankComponentsForOptKeys) {
  auto blank = [](uint8_t type, const char* bytes, uint16_t size) {
    FieldDef f = Field(type, 0, "F", size);
    return IsBlankComponent(f, reinterpret_cast<const uint8_t*>(bytes));
  };
  EXPECT_TRUE(blank(kTypeString, "   ", 3));
  EXPECT_FALSE(blank(kTypeString, "  a", 3));
  EXPECT_FALSE(blank(kTypeString, std::string(3, '\0').c_str(), 3));
  EXPECT_TRUE(blank(kTypeGroup, "    ", 4));
  EXPECT_TRUE(blank(kTypeCString, "\0bc", 3));
  EXPECT_FALSE(blank(kTypeCString, " bc", 3));
  EXPECT_TRUE(blank(kTypeLong, "\0\0\0\0", 4));
  EXPECT_FALSE(blank(kTypeLong, "\0\0\x01\0", 4));
}

TEST(KeyEncoding, EntriesOfUniqueAndDupKeys) {
  EncodedKey u = MakeKeyEntry(0x01020304, 2, false, "ab", 0x0A0B0C0D);
  EXPECT_EQ(u.key, std::string("\x01\x02\x03\x04\x02"
                               "ab"));
  EXPECT_EQ(u.data, std::string("\x0A\x0B\x0C\x0D"));
  EXPECT_EQ(KeyEntryRecord(false, u.key, u.data), 0x0A0B0C0Du);
  EncodedKey d = MakeKeyEntry(0x01020304, 2, true, "ab", 7);
  EXPECT_EQ(d.key, std::string("\x01\x02\x03\x04\x02"
                               "ab\0\0\0\x07",
                               11));
  EXPECT_TRUE(d.data.empty());
  EXPECT_EQ(KeyEntryRecord(true, d.key, d.data), 7u);
}

}  // namespace
}  // namespace carelog::store
