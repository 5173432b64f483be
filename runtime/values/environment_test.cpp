#include "runtime/values/environment.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/values/intl.h"
#include "runtime/values/settings.h"

namespace carelog::values {
namespace {

LocaleTables Apply(const std::string& text) {
  LocaleTables t = DefaultLocaleTables();
  SettingsReader reader(t);
  reader.Feed(text.data(), text.size());
  reader.Finish();
  return t;
}

std::string WriteTemp(const std::string& content) {
  char name[] = "/tmp/values_env_XXXXXX";
  int fd = mkstemp(name);
  EXPECT_GE(fd, 0);
  EXPECT_EQ(write(fd, content.data(), content.size()), static_cast<ssize_t>(content.size()));
  close(fd);
  return name;
}

bool IsPermutation(const uint8_t w[256]) {
  bool seen[256] = {};
  for (int c = 0; c < 256; ++c) {
    if (seen[w[c]]) return false;
    seen[w[c]] = true;
  }
  return true;
}

TEST(EnvironmentFile, MonthsNamedReplaceOnlyThoseMonths) {
  LocaleTables t = Apply("TAMMONTH=Januar,Februar,M\xE4rz\r\nTAMMON=JAN,FEBRUARY\r\n");
  EXPECT_STREQ(t.month_names[0], "Januar");
  EXPECT_STREQ(t.month_names[2], "M\xE4rz");
  EXPECT_STREQ(t.month_names[3], "April");
  EXPECT_STREQ(t.month_abbreviations[1], "FEB");
  EXPECT_STREQ(t.month_abbreviations[2], "Mar");
  t = Apply("TAMMONTH=A,B,C,D,E,F,G,H,I,J,K,L,M,N\nTAMMONTH=Septemberissimo\n");
  EXPECT_STREQ(t.month_names[0], "Septemberiss");  // cut to 12
  EXPECT_STREQ(t.month_names[11], "L");            // items past 12 ignored
}

TEST(EnvironmentFile, LineRules) {
  // Names: any case, blanks and control characters dropped; lines without '=' ignored.
  LocaleTables t = Apply(" tam\tAmPm = vm,nm  \t\nTAMMONTH Januar\n=x\nTAMMON=Jn\x1A TAMMON=Zz\n");
  EXPECT_STREQ(t.am_pm[0], " v");  // the value keeps its leading blank
  EXPECT_STREQ(t.am_pm[1], "nm");
  EXPECT_STREQ(t.month_names[0], "January");
  EXPECT_STREQ(t.month_abbreviations[0], "Jn");  // the Ctrl-Z ends the text
  std::string long_value(400, 'x');
  t = Apply("TAMMSG7=" + long_value + "  \n");
  EXPECT_EQ(t.message_overrides[7].size(), kMaxSettingValue);
  t = Apply("TAMMSG12=No, not now\nTAMMSG12=\"Later, please\"\nTAMMSGx=1\nTAMMSG=2\n");
  EXPECT_EQ(t.message_overrides[12], "Later, please");
  EXPECT_EQ(t.message_overrides.size(), 1u);
}

TEST(EnvironmentFile, ValuesSplitIntoItems) {
  EXPECT_EQ(SplitItems("a,b,,c"), (std::vector<std::string>{"a", "b", "", "c"}));
  EXPECT_EQ(SplitItems("\"a,b\",\"say \"\"hi\"\"\""),
            (std::vector<std::string>{"a,b", "say \"hi\""}));
  EXPECT_EQ(SplitItems("\"unterminated"), (std::vector<std::string>{"unterminated"}));
  EXPECT_TRUE(SplitItems("").size() <= 1);
  LocaleTables t = Apply("TAMBUTTON=&Ja,,&Nein\n");
  EXPECT_EQ(t.button_texts[0], "&Ja");
  EXPECT_EQ(t.button_texts.count(1), 0u);
  EXPECT_EQ(t.button_texts[2], "&Nein");
}

TEST(EnvironmentFile, CollationSequenceReordersOnlyTheCharactersNamed) {
  LocaleTables t = Apply("TAMCOLSEQ=ZA\n");
  EXPECT_EQ(t.collation['Z'], 'A');
  EXPECT_EQ(t.collation['A'], 'Z');
  for (int c = 0; c < 256; ++c) {
    if (c != 'A' && c != 'Z') {
      ASSERT_EQ(t.collation[c], c);
    }
  }
  t = Apply("TAMCOLSEQ=cbAc,a\n");  // duplicates dropped, commas are characters
  EXPECT_EQ(t.collation['c'], ',');
  EXPECT_EQ(t.collation['b'], 'A');
  EXPECT_EQ(t.collation['A'], 'a');
  EXPECT_EQ(t.collation[','], 'b');
  EXPECT_EQ(t.collation['a'], 'c');
  EXPECT_TRUE(IsPermutation(t.collation));
  EXPECT_TRUE(IsPermutation(t.oem_collation));
  t = Apply("TAMCOLSEQ=ZA\nTAMCOLSEQ=\n");
  EXPECT_EQ(t.collation['Z'], 'Z');
}

TEST(EnvironmentFile, CompleteOrderOfThePrintableCharacters) {
  // Reverse order of 32..126 then 128..254: 222 distinct characters.
  std::string seq;
  for (int c = 126; c >= 32; --c) seq.push_back(static_cast<char>(c));
  for (int c = 254; c >= 128; --c) seq.push_back(static_cast<char>(c));
  ASSERT_EQ(seq.size(), 222u);
  uint8_t w[256];
  CollationFromSequence(seq, w);
  EXPECT_EQ(w[126], 32);
  EXPECT_EQ(w[32], 126);
  EXPECT_EQ(w[254], 128);
  EXPECT_EQ(w[128], 254);
  EXPECT_EQ(w[127], 127);
  EXPECT_EQ(w[10], 10);
}

TEST(EnvironmentFile, OemFlagConvertsValuesButBuildsBothCollations) {
  // OEM 0x8E is A with diaeresis (ANSI 0xC4); OEM 0x84 is a with diaeresis (ANSI 0xE4).
  LocaleTables t = Apply(
      "TAMCHARSET=oem\nTAMMONTH=M\x84rz\nTAMCASE=\x8E,\x84\nTAMCOLSEQ=\x8E"
      "A\n");
  EXPECT_TRUE(t.oem);
  EXPECT_STREQ(t.month_names[0], "M\xE4rz");
  EXPECT_EQ(t.case_partner[0xC4], 0xE4);
  EXPECT_EQ(t.char_class[0xE4], kClassLower);
  // The sequence is OEM: the OEM table takes it as it stands, the ANSI one converted.
  EXPECT_EQ(t.oem_collation[0x8E], 'A');
  EXPECT_EQ(t.oem_collation['A'], 0x8E);
  EXPECT_EQ(t.collation[0xC4], 'A');
  EXPECT_EQ(t.collation['A'], 0xC4);
  t = Apply("TAMCHARSET=OEM\nTAMCHARSET=ANSI\nTAMMONTH=M\x84rz\n");
  EXPECT_FALSE(t.oem);
  EXPECT_STREQ(t.month_names[0], "M\x84rz");
}

TEST(EnvironmentFile, CasePairsAboveAsciiOnly) {
  LocaleTables t = Apply(
      "TAMCASE=\xC4\xD6"
      "BX\xC4,\xE4\xF6"
      "bx\xE5\n");
  EXPECT_EQ(t.case_partner[0xD6], 0xF6);
  EXPECT_EQ(t.case_partner[0xF6], 0xD6);
  EXPECT_EQ(t.case_partner[0xE5], 0);   // second pairing of 0xC4 refused
  EXPECT_EQ(t.case_partner['B'], 'b');  // defaults kept
  EXPECT_EQ(t.char_class['X'], kClassUpper);
  t = Apply("TAMCASE=\xC4,\xE4\nTAMCASE=\xD6,\xF6\n");
  EXPECT_EQ(t.case_partner[0xC4], 0);  // entries above 127 cleared first
  EXPECT_EQ(t.char_class[0xE4], kClassOther);
  t = Apply("TAMCASE=WINDOWS\n");
  EXPECT_EQ(t.case_partner[0xC0], 0xE0);
  EXPECT_EQ(t.case_partner[0x8A], 0x9A);
  EXPECT_EQ(t.case_partner[0xD7], 0);  // the multiplication sign is no letter
  EXPECT_EQ(t.char_class[0xDF], kClassOther);
  for (int c = 0; c < 256; ++c) {
    if (t.case_partner[c] != 0) {
      ASSERT_EQ(t.case_partner[t.case_partner[c]], c);
    }
  }
}

TEST(EnvironmentFile, DigraphsAndAmPm) {
  LocaleTables t = Apply(
      "TAMDIGRAPH=\xDFSS\xC6"
      "AE,\xE6"
      "ae,xy\nTAMAMPM=vorm,nachm\n");
  EXPECT_EQ(t.digraphs[0][0], 0xDF);
  EXPECT_EQ(t.digraphs[0][1], 'S');
  EXPECT_EQ(t.digraphs[1][0], 0xC6);
  EXPECT_EQ(t.digraphs[2][2], 'e');
  EXPECT_EQ(t.digraphs[3][0], 0);  // "xy" is too short for an entry
  EXPECT_STREQ(t.am_pm[0], "vo");
  EXPECT_STREQ(t.am_pm[1], "na");
  std::string many = "TAMDIGRAPH=";
  for (int i = 0; i < 20; ++i) many += "abc,";
  t = Apply(many + "\n");
  EXPECT_EQ(t.digraphs[15][0], 'a');
  std::strcpy(t.windows_am_pm[0], "a");
  t.windows_am_pm[1][0] = 0;
  ApplySetting(t, "TAMAMPM", "windows");
  EXPECT_STREQ(t.am_pm[0], "a");
  EXPECT_STREQ(t.am_pm[1], "");
}

TEST(EnvironmentFile, ReadsFilesInBlocksAndReportsMissingOnes) {
  // A line that spans the first block boundary, CR LF line ends, and a Ctrl-Z.
  std::string content(2040, '\n');
  content += "TAMMONTH=Januar,Februar\r\nTAMMON=Jnr\r\n\x1ATAMAMPM=xx,yy\n";
  std::string path = WriteTemp(content);
  LocaleTables t = DefaultLocaleTables();
  EXPECT_EQ(LoadSettingsFileInto(t, path), 0);
  EXPECT_STREQ(t.month_names[1], "Februar");
  EXPECT_STREQ(t.month_abbreviations[0], "Jnr");
  EXPECT_STREQ(t.am_pm[0], "AM");
  std::remove(path.c_str());
  LocaleTables untouched = DefaultLocaleTables();
  EXPECT_EQ(LoadSettingsFileInto(untouched, path), kSettingsFileNotFound);
  EXPECT_STREQ(untouched.month_names[1], "February");
  EXPECT_EQ(LoadSettingsFileInto(untouched, "Windows"), 0);
  EXPECT_TRUE(IsPermutation(untouched.collation));
  EXPECT_EQ(untouched.case_partner[0xC9], 0xE9);
}

TEST(EnvironmentFile, PathBesideTheExecutable) {
  EXPECT_EQ(EnvironmentPathFor("/opt/care/CARELOG.EXE"), "/opt/care/CARELOG.ENV");
  EXPECT_EQ(EnvironmentPathFor("/opt/care/carelog"), "/opt/care/carelog.ENV");
  EXPECT_EQ(EnvironmentPathFor("/opt/care.d/carelog"), "/opt/care.d/carelog.ENV");
  EXPECT_EQ(EnvironmentPathFor("/opt/a.b.c"), "/opt/a.b.ENV");
}

TEST(EnvironmentFile, SettingsReachTheProcessTables) {
  LocaleTables saved = Locale();
  SetSetting("TAMMSG47", "Satzbeschreibung falsch");
  ASSERT_NE(MessageOverride(47), nullptr);
  EXPECT_EQ(*MessageOverride(47), "Satzbeschreibung falsch");
  SetSetting("TAMCOLSEQ", "ZA");
  const char a[] = "Zoo", b[] = "Apple";
  EXPECT_LT(CompareText(a, 3, b, 5), 0);
  EXPECT_EQ(LoadSettingsFile("/nonexistent/file.env"), kSettingsFileNotFound);
  MutableLocale() = saved;
}

TEST(IntlSettings, DefaultsForTheCLocale) {
  IntlSettings s = IntlSettingsFrom(LocaleLayouts{});
  EXPECT_FALSE(s.time_24hour);
  EXPECT_TRUE(s.hour_leading_zero);
  EXPECT_EQ(s.time_separator, ':');
  EXPECT_STREQ(s.am, "AM");
  EXPECT_EQ(s.short_date, "MM/dd/yy");
  EXPECT_EQ(s.long_date, "ddd', 'MMMM' 'dd', 'yyyy");
}

TEST(IntlSettings, DerivedFromLocaleLayouts) {
  LocaleLayouts us{"%r", "%I:%M:%S %p", "AM", "PM", "%m/%d/%Y", "%a %d %b %Y %r %Z"};
  IntlSettings s = IntlSettingsFrom(us);
  EXPECT_FALSE(s.time_24hour);
  EXPECT_TRUE(s.hour_leading_zero);
  EXPECT_EQ(s.short_date, "MM/dd/yyyy");
  EXPECT_EQ(s.long_date, "ddd dd MMM yyyy");
  LocaleLayouts de{"%T", "", "", "", "%d.%m.%Y", "%a %d %b %Y %T %Z"};
  s = IntlSettingsFrom(de);
  EXPECT_TRUE(s.time_24hour);
  EXPECT_EQ(s.time_separator, ':');
  EXPECT_STREQ(s.am, "AM");  // an empty text keeps the default
  EXPECT_EQ(s.short_date, "dd.MM.yyyy");
  LocaleLayouts fi{"%-k.%M.%S", "", "ap.", "ip.", "%-d.%-m.%y", "%A %e. %Bta %Y %H.%M.%S"};
  s = IntlSettingsFrom(fi);
  EXPECT_TRUE(s.time_24hour);
  EXPECT_FALSE(s.hour_leading_zero);
  EXPECT_EQ(s.time_separator, '.');
  EXPECT_STREQ(s.am, "ap");
  EXPECT_EQ(s.short_date, "d.M.yy");
  EXPECT_EQ(s.long_date, "dddd d. MMMM'ta' yyyy");
  EXPECT_EQ(DateFormatFromStrftime("%H:%M", false), "");
}

}  // namespace
}  // namespace carelog::values
