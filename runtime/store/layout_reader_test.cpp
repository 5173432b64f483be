#include "runtime/store/layout_reader.h"

#include <gtest/gtest.h>

#include "runtime/store/test_file_builder.h"

namespace carelog::store {
namespace {

using testing::LayoutBytes;

int Read(const LayoutBytes& layout, uint32_t record_size, LayoutTable* table) {
  return ReadLayout(layout.bytes.data(), layout.bytes.size(), record_size, table);
}

// The Fonts file: a string and three numbers, no groups.
LayoutBytes FontsLayout() {
  LayoutBytes layout;
  layout.Start()
      .String("WFN:FONTTYPEFACE", 40)
      .Link(40)
      .Field("WFN:FONTSIZE", kTypeShort)
      .Link(42)
      .Field("WFN:FONTCOLOR", kTypeLong)
      .Link(46)
      .Field("WFN:FONTSTYLE", kTypeShort)
      .End();
  return layout;
}

TEST(LayoutReader, ReadsFlatRecord) {
  LayoutTable table;
  ASSERT_EQ(Read(FontsLayout(), 48, &table), 0);
  ASSERT_EQ(table.fields.size(), 4u);
  EXPECT_EQ(table.stored_size, 48u);
  const uint32_t offsets[] = {0, 40, 42, 46};
  const uint32_t sizes[] = {40, 2, 4, 2};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(table.fields[i].number, static_cast<int>(i + 1));
    EXPECT_EQ(table.fields[i].offset, offsets[i]);
    EXPECT_EQ(table.fields[i].total_size, sizes[i]);
    EXPECT_FALSE(table.fields[i].overlay);
    EXPECT_EQ(table.fields[i].parent, -1);
  }
  EXPECT_EQ(table.fields[0].name, "WFN:FONTTYPEFACE");
  EXPECT_EQ(table.fields[0].string_length, 40u);
}

TEST(LayoutReader, NestedGroupsAndArrays) {
  // X:A LONG @0; X:G GROUP @4 { X:B DIM(3) SHORT @0; X:H GROUP @6 { X:C DECIMAL(3,1) @0 } }
  // X:D DIM(2,5) BYTE @13 -> record 23.
  LayoutBytes layout;
  layout.Start()
      .Field("X:A", kTypeLong)
      .Link(4)
      .Group("X:G")
      .Link(0)
      .Name("X:B")
      .Dim(3)
      .Raw({kTypeShort})
      .Link(6)
      .Group("X:H")
      .Link(0)
      .Decimal("X:C", 3, 1)
      .Link(13, 2)
      .Name("X:D")
      .Dim(2)
      .Dim(5)
      .Raw({kTypeByte})
      .End();
  LayoutTable table;
  ASSERT_EQ(Read(layout, 23, &table), 0);
  ASSERT_EQ(table.fields.size(), 6u);
  const FieldEntry& group = table.fields[1];
  EXPECT_EQ(group.type, kTypeGroup);
  EXPECT_EQ(group.offset, 4u);
  EXPECT_EQ(group.total_size, 9u);
  const FieldEntry& array = table.fields[2];
  EXPECT_EQ(array.offset, 4u);
  EXPECT_EQ(array.element_count, 3u);
  EXPECT_EQ(array.total_size, 6u);
  EXPECT_EQ(array.parent, 1);
  const FieldEntry& inner = table.fields[4];
  EXPECT_EQ(inner.offset, 10u);
  EXPECT_EQ(inner.decimal_size, 3);
  EXPECT_EQ(inner.decimal_places, 1);
  EXPECT_EQ(inner.parent, 3);
  const FieldEntry& matrix = table.fields[5];
  EXPECT_EQ(matrix.offset, 13u);
  EXPECT_EQ(matrix.dimension_count, 2);
  EXPECT_EQ(matrix.element_count, 10u);
  EXPECT_EQ(matrix.parent, -1);
  EXPECT_EQ(table.stored_size, 23u);
}

TEST(LayoutReader, DimensionedGroupMultipliesItsMembers) {
  // X:G DIM(4) GROUP { X:A LONG, X:B SHORT } -> 4 * 6 bytes.
  LayoutBytes layout;
  layout.Start()
      .Name("X:G")
      .Dim(4)
      .Raw({kTypeGroup})
      .Link(0)
      .Field("X:A", kTypeLong)
      .Link(4)
      .Field("X:B", kTypeShort)
      .End(2);
  LayoutTable table;
  ASSERT_EQ(Read(layout, 24, &table), 0);
  EXPECT_EQ(table.fields[0].element_size, 6u);
  EXPECT_EQ(table.fields[0].total_size, 24u);
  EXPECT_EQ(table.stored_size, 24u);
}

TEST(LayoutReader, DetectsOverlays) {
  // X:A STRING(8) @0; X:D DATE @0 over it; X:G GROUP @0 over it { X:B LONG, X:C LONG };
  // X:E LONG @8; X:F TIME @4 (before the highest start 8 -> overlay).
  LayoutBytes layout;
  layout.Start()
      .String("X:A", 8)
      .Link(0)
      .Field("X:D", kTypeDate)
      .Link(0)
      .Group("X:G")
      .Link(0)
      .Field("X:B", kTypeLong)
      .Link(4)
      .Field("X:C", kTypeLong)
      .Link(8, 1)
      .Field("X:E", kTypeLong)
      .Link(4)
      .Field("X:F", kTypeTime)
      .End();
  LayoutTable table;
  ASSERT_EQ(Read(layout, 12, &table), 0);
  const bool expected[] = {false, true, true, true, true, false, true};
  ASSERT_EQ(table.fields.size(), 7u);
  for (size_t i = 0; i < 7; ++i) EXPECT_EQ(table.fields[i].overlay, expected[i]) << i;
  EXPECT_EQ(table.stored_size, 12u);
}

TEST(LayoutReader, FirstFieldOfAGroupIsNeverAnOverlay) {
  // X:G GROUP { X:A LONG @0 } then X:B LONG @4: neither overlays anything.
  LayoutBytes layout;
  layout.Start()
      .Group("X:G")
      .Link(0)
      .Field("X:A", kTypeLong)
      .Link(4, 1)
      .Field("X:B", kTypeLong)
      .End();
  LayoutTable table;
  ASSERT_EQ(Read(layout, 8, &table), 0);
  for (const FieldEntry& field : table.fields) EXPECT_FALSE(field.overlay) << field.name;
}

struct BadLayout {
  const char* what;
  LayoutBytes layout;
  uint32_t record_size;
  int error;
};

TEST(LayoutReader, RefusesBadStreams) {
  auto one = [](auto build) {
    LayoutBytes layout;
    layout.Start();
    build(layout);
    return layout;
  };
  const BadLayout cases[] = {
      {"date outside overlay", one([](LayoutBytes& l) { l.Field("X:D", kTypeDate).End(); }), 4, 79},
      {"pdecimal outside overlay", one([](LayoutBytes& l) {
         l.Name("X:P").Raw({kTypePDecimal, 3, 0}).End();
       }),
       4, 79},
      {"bfloat8 outside overlay", one([](LayoutBytes& l) { l.Field("X:F", kTypeBFloat8).End(); }),
       8, 79},
      {"unknown type 0x0C", one([](LayoutBytes& l) { l.Field("X:U", 0x0C).End(); }), 4, 79},
      {"type 21 accepted by registration only",
       one([](LayoutBytes& l) { l.Field("X:U", 21).End(); }), 4, 79},
      {"no marker before an entry",
       one([](LayoutBytes& l) { l.Field("X:A", kTypeByte).Raw({0x19}).U32(1); }), 4, 75},
      {"root that is not a group", LayoutBytes{}.Raw({kTypeLong, 0x18, 0, 0, 0, 0}), 4, 75},
      {"stream ends inside a name", one([](LayoutBytes& l) {
         l.Raw({'X', ':'});
       }),
       4, 75},
      {"stream ends before the root closes", one([](LayoutBytes& l) { l.Field("X:A", 1); }), 4, 75},
      {"root alone", LayoutBytes{}.Raw({kTypeGroup}), 4, 75},
      {"fifth dimension", one([](LayoutBytes& l) {
         l.Name("X:A").Dim(1).Dim(1).Dim(1).Dim(1).Dim(1).Raw({kTypeByte}).End();
       }),
       4, 47},
      {"zero dimension", one([](LayoutBytes& l) { l.Name("X:A").Dim(0).Raw({1}).End(); }), 4, 47},
      {"string of 64001", one([](LayoutBytes& l) { l.String("X:S", 64001).End(); }), 64000, 47},
      {"field beyond the record", one([](LayoutBytes& l) { l.Field("X:L", kTypeLong).End(); }), 3,
       47},
      {"offset beyond the record",
       one([](LayoutBytes& l) { l.Field("X:A", 1).Link(0xFFFFFFF0).Field("X:B", 1).End(); }), 4,
       47},
      {"array beyond the record",
       one([](LayoutBytes& l) { l.Name("X:A").Dim(0x10000).Dim(0x10000).Raw({6}).End(); }), 4000,
       47},
  };
  for (const BadLayout& bad : cases) {
    LayoutTable table;
    EXPECT_EQ(Read(bad.layout, bad.record_size, &table), bad.error) << bad.what;
  }
}

TEST(LayoutReader, AcceptsOverlayOnlyTypesInAnOverlay) {
  LayoutBytes layout;
  layout.Start()
      .Field("X:A", kTypeReal)
      .Link(0)
      .Field("X:B", kTypeBFloat8)
      .Link(0)
      .Name("X:C")
      .Raw({kTypePDecimal, 5, 2})
      .End();
  LayoutTable table;
  ASSERT_EQ(Read(layout, 8, &table), 0);
  EXPECT_EQ(table.fields[2].total_size, 5u);
  EXPECT_EQ(table.fields[2].decimal_places, 0);
  EXPECT_EQ(table.stored_size, 8u);
}

}  // namespace
}  // namespace carelog::store
