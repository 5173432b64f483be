#include "app/data/layout_stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/data/dictionary.h"

namespace carelog::appdata {
namespace {

using Bytes = std::vector<uint8_t>;

void Append(Bytes& out, std::initializer_list<uint8_t> bytes) {
  out.insert(out.end(), bytes);
}
void AppendU32(Bytes& out, uint32_t v) {
  Append(out, {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
}
void AppendName(Bytes& out, const std::string& name) {
  out.insert(out.end(), name.begin(), name.end());
  out.push_back(0);
}

// The Fonts layout, written out byte by byte as the record store expects it.
Bytes FontsVector() {
  Bytes b;
  Append(b, {0x16, 0x18});
  AppendU32(b, 0);
  AppendName(b, "WFN:FONTTYPEFACE");
  Append(b, {0x12});
  AppendU32(b, 40);
  Append(b, {0x00, 0x18});
  AppendU32(b, 40);
  AppendName(b, "WFN:FONTSIZE");
  Append(b, {0x02, 0x18});
  AppendU32(b, 42);
  AppendName(b, "WFN:FONTCOLOR");
  Append(b, {0x06, 0x18});
  AppendU32(b, 46);
  AppendName(b, "WFN:FONTSTYLE");
  Append(b, {0x02, 0x00});
  return b;
}

Bytes Layout(const FileInfo& info) {
  return Bytes(info.layout.begin(), info.layout.end());
}

TEST(LayoutEncoding, FontsStreamIsTheReferenceVector) {
  EXPECT_EQ(Layout(kFontsInfo), FontsVector());
}

TEST(LayoutEncoding, GroupsOpenWithZeroOffsetAndCloseBeforeTheParentLink) {
  Bytes poc = Layout(kPocInfo);
  // POC:FUNCTIONALLIMITATIONS: GROUP, then its first member at offset 0 within the group.
  Bytes group_entry;
  AppendName(group_entry, "POC:FUNCTIONALLIMITATIONS");
  Append(group_entry, {0x16, 0x18});
  AppendU32(group_entry, 0);
  AppendName(group_entry, "POC:AMPUTATION");
  EXPECT_NE(std::search(poc.begin(), poc.end(), group_entry.begin(), group_entry.end()), poc.end());
  // POC:OTHERLIM ends the group: one 00, then the root's link to POC:ACTIVITIESPERMITTED at
  // 1019 counted from the record start; POC:BEDBRP is at 1 within its group.
  Bytes group_end;
  AppendName(group_end, "POC:OTHERLIM");
  Append(group_end, {0x12});
  AppendU32(group_end, 30);
  Append(group_end, {0x00, 0x00, 0x18});
  AppendU32(group_end, 1019);
  AppendName(group_end, "POC:ACTIVITIESPERMITTED");
  Append(group_end, {0x16, 0x18});
  AppendU32(group_end, 0);
  AppendName(group_end, "POC:TOTBED");
  Append(group_end, {0x01, 0x18});
  AppendU32(group_end, 1);
  EXPECT_NE(std::search(poc.begin(), poc.end(), group_end.begin(), group_end.end()), poc.end());
  // The last member closes POC:PROGNOSIS and then the root.
  Bytes tail;
  AppendName(tail, "POC:EXCELLENT");
  Append(tail, {0x01, 0x00, 0x00});
  ASSERT_GE(poc.size(), tail.size());
  EXPECT_TRUE(std::equal(tail.begin(), tail.end(), poc.end() - tail.size()));
}

TEST(LayoutEncoding, DimAndDecimalArguments) {
  Bytes med = Layout(kMedicationsInfo);
  Bytes drug;  // STRING(40),DIM(16)
  AppendName(drug, "MED:DRUG");
  Append(drug, {0x17});
  AppendU32(drug, 16);
  Append(drug, {0x12});
  AppendU32(drug, 40);
  Append(drug, {0x00, 0x18});
  AppendU32(drug, 716);
  EXPECT_NE(std::search(med.begin(), med.end(), drug.begin(), drug.end()), med.end());

  Bytes dis = Layout(kDischargeSummaryInfo);
  Bytes number;  // DECIMAL(11,0): six bytes, no places, first entry of the record
  Append(number, {0x16, 0x18});
  AppendU32(number, 0);
  AppendName(number, "DIS:PATIENT_NUMBER");
  Append(number, {0x0A, 0x06, 0x00, 0x18});
  AppendU32(number, 6);
  ASSERT_GE(dis.size(), number.size());
  EXPECT_TRUE(std::equal(number.begin(), number.end(), dis.begin()));

  Bytes six = Layout(kSixtyDayInfo);
  Bytes high_temp;  // DECIMAL(7,2): four bytes, two places
  AppendName(high_temp, "SIX:HIGHTEMP");
  Append(high_temp, {0x0A, 0x04, 0x02, 0x18});
  AppendU32(high_temp, 23);
  EXPECT_NE(std::search(six.begin(), six.end(), high_temp.begin(), high_temp.end()), six.end());
}

TEST(LayoutDecoding, ReadsNestedDimmedGroups) {
  // root { A LONG; G GROUP,DIM(2) { B BYTE,DIM(3); H GROUP { C STRING(5) } }; D SHORT }
  Bytes b;
  Append(b, {0x16, 0x18});
  AppendU32(b, 0);
  AppendName(b, "A");
  Append(b, {0x06, 0x18});
  AppendU32(b, 4);
  AppendName(b, "G");
  Append(b, {0x17});
  AppendU32(b, 2);
  Append(b, {0x16, 0x18});
  AppendU32(b, 0);
  AppendName(b, "B");
  Append(b, {0x17});
  AppendU32(b, 3);
  Append(b, {0x01, 0x18});
  AppendU32(b, 3);
  AppendName(b, "H");
  Append(b, {0x16, 0x18});
  AppendU32(b, 0);
  AppendName(b, "C");
  Append(b, {0x12});
  AppendU32(b, 5);
  Append(b, {'X', 0x00, 0x00, 0x00, 0x18});  // picture "X"; closes H and G
  AppendU32(b, 20);
  AppendName(b, "D");
  Append(b, {0x02, 0x00});

  std::vector<LayoutField> fields;
  ASSERT_EQ(DecodeLayout(b, &fields), LayoutError::kNone);
  ASSERT_EQ(fields.size(), 6u);
  struct Expected {
    const char* name;
    uint32_t offset, count, element_size, size;
    uint8_t depth;
  };
  const Expected expected[] = {
      {"A", 0, 1, 4, 4, 0}, {"G", 4, 2, 8, 16, 0}, {"B", 4, 3, 1, 3, 1},
      {"H", 7, 1, 5, 5, 1}, {"C", 7, 1, 5, 5, 2},  {"D", 20, 1, 2, 2, 0},
  };
  for (size_t i = 0; i < fields.size(); ++i) {
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(fields[i].number, i + 1);
    EXPECT_EQ(fields[i].name, expected[i].name);
    EXPECT_EQ(fields[i].offset, expected[i].offset);
    EXPECT_EQ(fields[i].count, expected[i].count);
    EXPECT_EQ(fields[i].element_size, expected[i].element_size);
    EXPECT_EQ(fields[i].size, expected[i].size);
    EXPECT_EQ(fields[i].depth, expected[i].depth);
  }
}

TEST(LayoutDecoding, MalformedStreamsGiveTheirError) {
  std::vector<LayoutField> fields;
  Bytes fonts = FontsVector();

  EXPECT_EQ(DecodeLayout({}, &fields), LayoutError::kTruncated);
  Bytes no_root = fonts;
  no_root[0] = 0x06;
  EXPECT_EQ(DecodeLayout(no_root, &fields), LayoutError::kNoRoot);
  Bytes bad_link = fonts;
  bad_link[1] = 0x19;
  EXPECT_EQ(DecodeLayout(bad_link, &fields), LayoutError::kBadLink);
  Bytes trailing = fonts;
  trailing.push_back(0x18);
  EXPECT_EQ(DecodeLayout(trailing, &fields), LayoutError::kTrailingBytes);

  Bytes unknown = {0x16, 0x18, 0, 0, 0, 0, 'X', 0, 0x0C, 0x00};
  EXPECT_EQ(DecodeLayout(unknown, &fields), LayoutError::kUnknownType);

  Bytes five_dims = {0x16, 0x18, 0, 0, 0, 0, 'X', 0};
  for (int i = 0; i < 5; ++i) Append(five_dims, {0x17, 1, 0, 0, 0});
  Append(five_dims, {0x01, 0x00});
  EXPECT_EQ(DecodeLayout(five_dims, &fields), LayoutError::kTooManyDims);
  five_dims.erase(five_dims.begin() + 8, five_dims.begin() + 13);  // four DIMs are fine
  EXPECT_EQ(DecodeLayout(five_dims, &fields), LayoutError::kNone);

  Bytes huge = {0x16, 0x18, 0, 0, 0, 0, 'X', 0, 0x17, 0xFF, 0xFF, 0xFF, 0xFF, 0x06, 0x00};
  EXPECT_EQ(DecodeLayout(huge, &fields), LayoutError::kTooLarge);

  Bytes deep = {0x16};
  for (size_t i = 0; i <= kMaxGroupDepth; ++i) Append(deep, {0x18, 0, 0, 0, 0, 'G', 0, 0x16});
  EXPECT_EQ(DecodeLayout(deep, &fields), LayoutError::kTooDeep);
}

TEST(LayoutDecoding, EveryTruncationIsReportedNotOverrun) {
  for (const FileInfo* info : Catalogue()) {
    std::vector<LayoutField> fields;
    for (size_t n = 0; n < info->layout.size(); ++n) {
      ASSERT_EQ(DecodeLayout(info->layout.first(n), &fields), LayoutError::kTruncated)
          << info->label << " cut at " << n;
    }
  }
}

}  // namespace
}  // namespace carelog::appdata
