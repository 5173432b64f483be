#include "runtime/values/charset.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstring>
#include <string>

namespace carelog::values {
namespace {

// Converts one byte through the C library's converter; -1 when it has no counterpart.
int IconvByte(const char* from, const char* to, uint8_t c) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return -2;
  char in[1] = {static_cast<char>(c)};
  char out[8] = {};
  char* pin = in;
  char* pout = out;
  size_t nin = 1, nout = sizeof out;
  size_t r = iconv(cd, &pin, &nin, &pout, &nout);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1) || pout - out != 1) return -1;
  return static_cast<uint8_t>(out[0]);
}

TEST(Charset, AgreesWithTheCLibraryWhereBothSetsHaveTheCharacter) {
  if (IconvByte("CP1252", "CP437", 'A') < 0) GTEST_SKIP() << "no CP437 converter";
  for (int c = 0; c < 256; ++c) {
    int expect = IconvByte("CP1252", "CP437", c);
    if (expect >= 0) {
      EXPECT_EQ(AnsiToOemChar(c), expect) << "ANSI " << c;
    }
    expect = IconvByte("CP437", "CP1252", c);
    if (expect >= 0) {
      EXPECT_EQ(OemToAnsiChar(c), expect) << "OEM " << c;
    }
  }
}

TEST(Charset, SharedCharactersRoundTripAndOthersBecomeLookAlikes) {
  int shared = 0;
  for (int c = 0; c < 256; ++c) {
    uint8_t oem = AnsiToOemChar(c);
    if (c < 128) {
      EXPECT_EQ(oem, c);
    }
    if (oem >= 128 || c < 128) {
      EXPECT_EQ(OemToAnsiChar(oem), c) << c;
      ++shared;
    } else {
      EXPECT_TRUE(oem == '?' || oem == '+' || oem == '-' || oem == '|') << c;
    }
  }
  EXPECT_GT(shared, 128 + 50);
  EXPECT_EQ(OemToAnsiChar(0xC4), '-');  // box drawing horizontal
  EXPECT_EQ(OemToAnsiChar(0xB3), '|');
  EXPECT_EQ(OemToAnsiChar(0xC5), '+');
  char text[] = "M\xC4rz \xFC";  // ANSI "MÄrz ü"
  AnsiToOem(text, std::strlen(text));
  EXPECT_STREQ(text, "M\x8Erz \x81");
  OemToAnsi(text, std::strlen(text));
  EXPECT_STREQ(text, "M\xC4rz \xFC");
  EXPECT_EQ(UnicodeToAnsi(0x20AC), 0x80);
  EXPECT_EQ(UnicodeToAnsi(0x2500), 0);
}

}  // namespace
}  // namespace carelog::values
