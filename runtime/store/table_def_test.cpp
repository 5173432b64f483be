#include "runtime/store/table_def.h"

#include <gtest/gtest.h>

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

TableDefinition SampleDefinition() {
  TableDefinition d;
  d.record_size = 40;
  FieldDef number = Field(kTypeLong, 0, "NUMBER", 4);
  FieldDef name = Field(kTypeString, 4, "NAME", 30);
  name.declared_length = 30;
  name.picture = "@s30";
  FieldDef amount = Field(kTypeDecimal, 34, "AMOUNT", 6);
  amount.places = 2;
  amount.decimal_size = 6;
  d.fields = {number, name, amount};
  d.memos = {MemoDef{"NOTES", "", 1000, 1}};
  KeyDef k1{"KEY_NUMBER", "X:KEY_NUMBER", kDefKeyPrimary, {{0, false}}};
  KeyDef k2{"KEY_NAME", "", kDefKeyDup | kDefKeyNoCase, {{1, false}, {0, true}}};
  d.keys = {k1, k2};
  return d;
}

TEST(TableDefinition, RoundTripsThroughTheStream) {
  TableDefinition d = SampleDefinition();
  std::string stream = EncodeDefinition(d);
  EXPECT_EQ(stream.substr(0, 2), std::string("\x01\x00", 2));
  // Padding to the block size, as the stored blocks give it back, is ignored.
  stream.resize(kDefinitionBlockSize * 2, '\0');
  TableDefinition back;
  ASSERT_EQ(DecodeDefinition(stream, &back), 0);
  EXPECT_TRUE(SameDefinition(back, d));
  EXPECT_EQ(back.fields[1].picture, "@s30");
  EXPECT_EQ(back.keys[1].label, "");
  EXPECT_TRUE(back.keys[1].components[1].descending);
}

TEST(TableDefinition, BinaryMemoMakesVersionTwo) {
  TableDefinition d = SampleDefinition();
  d.memos[0].flags = kDefMemoBinary;
  std::string stream = EncodeDefinition(d);
  EXPECT_EQ(stream[0], 2);
  TableDefinition back;
  EXPECT_EQ(DecodeDefinition(stream, &back), 0);
  stream[0] = 3;
  EXPECT_EQ(DecodeDefinition(stream, &back), 47);
}

TEST(TableDefinition, ComparisonToleratesNamesButNotNumbers) {
  TableDefinition d = SampleDefinition();
  TableDefinition renamed = d;
  renamed.fields[1].name = "OTHER";
  renamed.fields[1].picture = "@s10";
  renamed.keys[0].label = "Y:KEY";
  renamed.memos[0].name = "N";
  EXPECT_TRUE(SameDefinition(d, renamed));

  auto differs = [&](auto change) {
    TableDefinition other = d;
    change(other);
    return !SameDefinition(d, other);
  };
  EXPECT_TRUE(differs([](TableDefinition& o) { o.record_size = 41; }));
  EXPECT_TRUE(differs([](TableDefinition& o) { o.fields[2].places = 3; }));
  EXPECT_TRUE(differs([](TableDefinition& o) { o.fields[1].declared_length = 29; }));
  EXPECT_TRUE(differs([](TableDefinition& o) { o.memos[0].max_size = 999; }));
  EXPECT_TRUE(differs([](TableDefinition& o) { o.keys[1].flags &= ~kDefKeyNoCase; }));
  EXPECT_TRUE(differs([](TableDefinition& o) { o.keys[1].components[1].descending = false; }));
  EXPECT_TRUE(differs([](TableDefinition& o) { o.keys.pop_back(); }));
}

TEST(TableDefinition, RejectsDamagedStreams) {
  std::string stream = EncodeDefinition(SampleDefinition());
  TableDefinition back;
  // Every truncation of the stream is refused, never read past its end.
  for (size_t len = 0; len < stream.size(); ++len) {
    EXPECT_EQ(DecodeDefinition(std::string_view(stream).substr(0, len), &back), 47) << len;
  }
  std::string zero(kDefinitionBlockSize, '\0');
  EXPECT_EQ(DecodeDefinition(zero, &back), 47);
  // A key component beyond the field table.
  TableDefinition d = SampleDefinition();
  d.keys[0].components[0].field_index = 3;
  EXPECT_EQ(DecodeDefinition(EncodeDefinition(d), &back), 47);
  // A field beyond the record.
  d = SampleDefinition();
  d.record_size = 20;
  EXPECT_EQ(DecodeDefinition(EncodeDefinition(d), &back), 47);
}

}  // namespace
}  // namespace carelog::store
