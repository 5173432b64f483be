#include "runtime/store/coding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace carelog::store {
namespace {

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (!out.empty()) out += ' ';
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

TEST(Coding, FixedWidthIntegers) {
  uint8_t b[4];
  StoreLe32(b, 0x53644F6C);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(b), 4), "lOdS");
  EXPECT_EQ(LoadLe32(b), 0x53644F6Cu);
  StoreBe32(b, 0x01020304);
  EXPECT_EQ(b[0], 1);
  EXPECT_EQ(b[3], 4);
  EXPECT_EQ(LoadBe32(b), 0x01020304u);
  StoreLe16(b, 0xBEEF);
  EXPECT_EQ(b[0], 0xEF);
  EXPECT_EQ(LoadLe16(b), 0xBEEF);
}

TEST(Coding, CountsRoundTripAndUseSevenBitGroups) {
  for (size_t value : {0ul, 1ul, 127ul, 128ul, 199ul, 16383ul, 16384ul, 0xFFFFFFFFul}) {
    std::string out;
    AppendCount(&out, value);
    size_t pos = 0, back = 0;
    ASSERT_TRUE(ReadCount(out, &pos, &back));
    EXPECT_EQ(back, value);
    EXPECT_EQ(pos, out.size());
  }
  std::string out;
  AppendCount(&out, 199);
  EXPECT_EQ(Hex(out), "C7 01");
  AppendCount(&out, 127);
  EXPECT_EQ(Hex(out), "C7 01 7F");
  size_t pos = 0, value = 0;
  EXPECT_FALSE(ReadCount("\x80\x80", &pos, &value));  // truncated
}

TEST(Coding, RunLengthCodeOfThreeLiteralsAndARun) {
  std::string in = "xyz" + std::string(200, 'a');
  std::string packed;
  ASSERT_TRUE(RunLengthEncode(in, &packed));
  EXPECT_EQ(Hex(packed), "04 78 79 7A 61 C7 01");
  std::string back;
  ASSERT_TRUE(RunLengthDecode(packed, in.size(), &back));
  EXPECT_EQ(back, in);
}

TEST(Coding, RunsShorterThanFourStayLiteral) {
  std::string packed;
  EXPECT_FALSE(RunLengthEncode("aaabbbcccabc", &packed));
  EXPECT_TRUE(packed.empty());
  // Exactly four: one literal 'a' and three repeats, then the tail as a final literal part.
  ASSERT_TRUE(RunLengthEncode("aaaab", &packed));
  EXPECT_EQ(Hex(packed), "01 61 03 01 62");
  // Back-to-back runs.
  ASSERT_TRUE(RunLengthEncode("aaaabbbb", &packed));
  EXPECT_EQ(Hex(packed), "01 61 03 01 62 03");
}

TEST(Coding, RunLengthRoundTripsRandomBytes) {
  std::mt19937 random(3);
  for (int round = 0; round < 300; ++round) {
    std::string in;
    int pieces = static_cast<int>(random() % 20);
    for (int i = 0; i < pieces; ++i) {
      in.append(random() % 9, static_cast<char>(random() % 4));
      in.push_back(static_cast<char>(random()));
    }
    std::string packed, back;
    if (!RunLengthEncode(in, &packed)) continue;
    ASSERT_TRUE(RunLengthDecode(packed, in.size(), &back));
    ASSERT_EQ(back, in);
  }
}

// The coding of a run is fixed by the stored pages already written: every run of four or more
// found by a plain byte-by-byte scan, at the same place. A limit only refuses longer codings.
TEST(Coding, RunLengthCodingMatchesAPlainScanAndHonoursItsLimit) {
  auto plain = [](const std::string& in) {
    std::string out;
    size_t literal_start = 0, p = 0;
    while (p < in.size()) {
      size_t run = 1;
      while (p + run < in.size() && in[p + run] == in[p]) ++run;
      if (run >= 4) {
        AppendCount(&out, p + 1 - literal_start);
        out.append(in, literal_start, p + 1 - literal_start);
        AppendCount(&out, run - 1);
        literal_start = p + run;
      }
      p += run;
    }
    if (out.empty()) return out;
    if (literal_start < in.size()) {
      AppendCount(&out, in.size() - literal_start);
      out.append(in, literal_start, std::string::npos);
    }
    return out;
  };
  std::mt19937 random(5);
  for (int round = 0; round < 500; ++round) {
    std::string in;
    for (int i = static_cast<int>(random() % 30); i > 0; --i) {
      // Mostly short runs, now and then one long enough to be compared by whole words.
      in.append(random() % 5 == 0 ? random() % 40 : random() % 7, static_cast<char>(random() % 3));
      in.push_back(static_cast<char>(random() % 5));
    }
    const std::string expected = plain(in);
    std::string packed;
    ASSERT_EQ(RunLengthEncode(in, &packed), !expected.empty());
    ASSERT_EQ(packed, expected);
    if (expected.empty()) continue;
    EXPECT_TRUE(RunLengthEncode(in, &packed, expected.size()));
    EXPECT_FALSE(RunLengthEncode(in, &packed, expected.size() - 1));
    EXPECT_TRUE(packed.empty());
  }
}

TEST(Coding, RunLengthDecodeRejectsMalformedInput) {
  std::string out;
  EXPECT_FALSE(RunLengthDecode(std::string("\x00\x05", 2), 5, &out));  // repeat with no output
  out.clear();
  EXPECT_FALSE(
      RunLengthDecode("\x01"
                      "a"
                      "\x09",
                      5, &out));  // beyond the length
  out.clear();
  EXPECT_FALSE(
      RunLengthDecode("\x03"
                      "ab",
                      3, &out));  // literals missing
  out.clear();
  EXPECT_FALSE(
      RunLengthDecode("\x01"
                      "a"
                      "\x01"
                      "zz",
                      2, &out));  // input left over
}

TEST(Coding, PrefixCodingOfEntries) {
  std::string out;
  AppendPrefixCoded(&out, "", 0, "", 0, true);
  EXPECT_EQ(Hex(out), "C0 00 00 00 00");  // the sentinel

  std::string a = std::string(70, 'p') + "111";
  std::string b = std::string(70, 'p') + "222";
  out.clear();
  AppendPrefixCoded(&out, a, 5, b, 5, false);
  EXPECT_EQ(static_cast<uint8_t>(out[0]), 0x3F);  // 63 shared, both lengths kept
  EXPECT_EQ(out.substr(1), b.substr(63));

  std::string entry = a;
  size_t key_size = 5, pos = 0;
  ASSERT_TRUE(ReadPrefixCoded(out, &pos, &entry, &key_size, false));
  EXPECT_EQ(entry, b);
  EXPECT_EQ(key_size, 5u);

  // Changed lengths set bits 7 and 6.
  out.clear();
  AppendPrefixCoded(&out, "abc", 1, "abde", 2, false);
  EXPECT_EQ(Hex(out), "C2 04 00 02 00 64 65");
  entry = "abc";
  key_size = 1;
  pos = 0;
  ASSERT_TRUE(ReadPrefixCoded(out, &pos, &entry, &key_size, false));
  EXPECT_EQ(entry, "abde");
  EXPECT_EQ(key_size, 2u);

  // The shared prefix is found wherever the first difference falls, and by either entry's end.
  for (size_t common = 0; common <= 70; ++common) {
    std::string before(75, 'k'), after(75, 'k');
    if (common < after.size()) after[common] = 'z';
    for (const std::string& next : {after, after.substr(0, common)}) {
      out.clear();
      AppendPrefixCoded(&out, before, 9, next, 9, false);
      EXPECT_EQ(static_cast<uint8_t>(out[0]) & 0x3F, std::min<size_t>({common, 63, next.size()}))
          << common << " of " << next.size();
    }
  }
}

TEST(Coding, PrefixDecodeRejectsInconsistentEntries) {
  std::string entry = "ab";
  size_t key_size = 1, pos = 0;
  EXPECT_FALSE(
      ReadPrefixCoded("\x05"
                      "x",
                      &pos, &entry, &key_size, false));  // shares 5 of 2
  pos = 0;
  EXPECT_FALSE(ReadPrefixCoded(std::string("\x40\x09\x00", 3), &pos, &entry, &key_size, false));
  pos = 0;
  EXPECT_FALSE(ReadPrefixCoded(std::string("\x00", 1), &pos, &entry, &key_size, true));
}

}  // namespace
}  // namespace carelog::store
