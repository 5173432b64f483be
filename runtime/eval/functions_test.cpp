#include "runtime/eval/functions.h"

#include <gtest/gtest.h>

#include "runtime/eval/expression.h"
#include "runtime/eval/name_table.h"
#include "runtime/values/clock.h"

namespace carelog::eval {
namespace {

std::string Eval(std::string_view text) {
  int error = 0;
  std::string result = Evaluate(text, &error);
  return error == 0 ? result : "error " + std::to_string(error);
}

TEST(Functions, TableIsCompleteAndNumbered) {
  for (int i = 0; i < kFunctionCount; ++i) {
    EXPECT_EQ(kFunctions[i].number, i + 1) << kFunctions[i].name;
    EXPECT_LE(kFunctions[i].min_args, kFunctions[i].max_args) << kFunctions[i].name;
    const NameEntry* entry = FindName(kFunctions[i].name);
    ASSERT_NE(entry, nullptr) << kFunctions[i].name;
    EXPECT_EQ(entry->function, &kFunctions[i]);
  }
}

TEST(Functions, ArgumentCountsAreEnforced) {
  EXPECT_EQ(Eval("SUB('abc', 1, 2, 3)"), "error 800");
  EXPECT_EQ(Eval("INSTRING('a', 'b', 1, 1, 1)"), "error 800");
  EXPECT_EQ(Eval("TODAY(1)"), "error 800");
  EXPECT_EQ(Eval("ABS()"), "error 800");
}

TEST(Functions, Texts) {
  EXPECT_EQ(Eval("SUB('hello', 2, 3)"), "ell");
  EXPECT_EQ(Eval("SUB('hello', -3, 2)"), "ll");
  EXPECT_EQ(Eval("SUB('hello', 4)"), "lo");
  EXPECT_EQ(Eval("SUB('hello', 9, 2)"), "");
  EXPECT_EQ(Eval("SUB('hello', 2, -1)"), "");
  EXPECT_EQ(Eval("CLIP('ab  ') & '|'"), "ab|");
  EXPECT_EQ(Eval("ALL('ab', 5)"), "ababa");
  EXPECT_EQ(Eval("LEN(ALL('-'))"), "255");
  EXPECT_EQ(Eval("LEN(ALL('-', 999999999))"), "64000");  // bounded
  EXPECT_EQ(Eval("CENTER('ab', 6) & '|'"), "  ab  |");
  EXPECT_EQ(Eval("LEFT('  ab', 5) & '|'"), "ab   |");
  EXPECT_EQ(Eval("RIGHT('ab  ') & '|'"), "  ab|");
  EXPECT_EQ(Eval("RIGHT('abcdef', 3)"), "abc");
  EXPECT_EQ(Eval("CHR(65) & CHR(321)"), "AA");
  EXPECT_EQ(Eval("VAL('A')"), "65");
  EXPECT_EQ(Eval("VAL('')"), "0");
  EXPECT_EQ(Eval("LEN('')"), "0");
  EXPECT_EQ(Eval("UPPER('abC1') & LOWER('XyZ')"), "ABC1xyz");
}

TEST(Functions, InString) {
  EXPECT_EQ(Eval("INSTRING('C', 'ABCD')"), "3");
  EXPECT_EQ(Eval("INSTRING('X', 'ABCD')"), "0");
  EXPECT_EQ(Eval("INSTRING('AB', 'ABAB', 1, 2)"), "3");
  EXPECT_EQ(Eval("INSTRING('CD', 'ABCD', 2)"), "2");  // the second step of two characters
  EXPECT_EQ(Eval("INSTRING('BC', 'ABCD', 2)"), "0");  // not at a step boundary
  EXPECT_EQ(Eval("INSTRING('A', 'ABAB', -1)"), "3");  // searching backwards
  EXPECT_EQ(Eval("INSTRING('A', 'ABAB', 0)"), "0");
}

TEST(Functions, Numbers) {
  EXPECT_EQ(Eval("NUMERIC(' -12.5e3 ')"), "1");
  EXPECT_EQ(Eval("NUMERIC('12a')"), "0");
  EXPECT_EQ(Eval("NUMERIC('.')"), "0");
  EXPECT_EQ(Eval("ABS(-2.5)"), "2.5");
  EXPECT_EQ(Eval("INT(-2.7)"), "-2");
  EXPECT_EQ(Eval("ROUND(3.14159, .01)"), "3.14");
  EXPECT_EQ(Eval("ROUND(-2.5, 1)"), "-3");
  EXPECT_EQ(Eval("ROUND(7, 0)"), "7");
  EXPECT_EQ(Eval("INRANGE(5, 1, 5)"), "1");
  EXPECT_EQ(Eval("INRANGE(5.01, 1, 5)"), "0");
  EXPECT_EQ(Eval("SQRT(16) + LOG10(1000) + LOGE(1)"), "7");
  EXPECT_EQ(Eval("SQRT(-1)"), "0");  // outside the domain
  EXPECT_EQ(Eval("LOGE(0)"), "0");
  EXPECT_EQ(Eval("ROUND(SIN(0) + COS(0) + TAN(0) + ASIN(1) * 2 - ACOS(-1), 1e-9)"), "1");
  EXPECT_EQ(Eval("ATAN(0)"), "0");
  EXPECT_EQ(Eval("BAND(12, 10) & BOR(12, 10) & BXOR(12, 10)"), "8146");
  EXPECT_EQ(Eval("BSHIFT(1, 4) & ',' & BSHIFT(-16, -2) & ',' & BSHIFT(1, 40)"), "16,1073741820,0");
  EXPECT_GT(std::stoll(Eval("MEMORY()")), 0);
}

TEST(Functions, DatesAndTheClock) {
  values::FixClock(71655, 4710001);  // 5 March 1997, 13:05:00.00
  EXPECT_EQ(Eval("TODAY()"), "71655");
  EXPECT_EQ(Eval("TODAY = DATE(3, 5, 1997)"), "1");
  EXPECT_EQ(Eval("CLOCK()"), "4710001");
  EXPECT_EQ(Eval("DATE(1, 1, 1801)"), "4");
  EXPECT_EQ(Eval("DATE(2, 29, 1900) = DATE(3, 1, 1900)"), "1");  // spills into March
  EXPECT_EQ(Eval("DATE(13, 1, 99) = DATE(1, 1, 2000)"), "1");
  EXPECT_EQ(Eval("DAY(TODAY()) & '/' & MONTH(TODAY()) & '/' & YEAR(TODAY())"), "5/3/1997");
  EXPECT_EQ(Eval("DAY(0) + MONTH(-5) + YEAR(999999)"), "0");  // no valid date
  EXPECT_EQ(Eval("AGE(DATE(2, 20, 1997))"), "13 DAYS");
  EXPECT_EQ(Eval("AGE(DATE(1, 6, 1997))"), "58 DAYS");
  EXPECT_EQ(Eval("AGE(DATE(1, 5, 1997))"), "2 MOS");
  EXPECT_EQ(Eval("AGE(DATE(3, 6, 1995))"), "23 MOS");
  EXPECT_EQ(Eval("AGE(DATE(3, 5, 1995))"), "2 YRS");
  EXPECT_EQ(Eval("AGE(DATE(7, 4, 1930), DATE(7, 3, 2000))"), "69 YRS");
  EXPECT_EQ(Eval("AGE(TODAY() + 1)"), "");  // born after the base date
  EXPECT_EQ(Eval("AGE(0, TODAY())"), "");
  values::UseSystemClock();
}

TEST(Functions, PicturesFormatAndDeformat) {
  EXPECT_EQ(Eval("FORMAT(DATE(3, 5, 1997), @d1)"), " 3/05/97");
  EXPECT_EQ(Eval("FORMAT(DATE(3, 5, 1997), @D3)"), "MAR  5,1997");
  EXPECT_EQ(Eval("FORMAT(1234.5, @n10.2)"), "  1,234.50");
  EXPECT_EQ(Eval("FORMAT('1234.5', @n10.2)"), "  1,234.50");  // text read as a number
  EXPECT_EQ(Eval("FORMAT('abc', @s5) & '|'"), "abc  |");
  EXPECT_EQ(Eval("FORMAT(5551234567, @P(###)-###-####P)"), "(555)-123-4567");
  EXPECT_EQ(Eval("FORMAT(DATE(3, 5, 1997), '@d2')"), " 3/05/1997");  // a picture in a text
  EXPECT_EQ(Eval("DEFORMAT('03/05/97', @d1) = DATE(3, 5, 1997)"), "1");
  EXPECT_EQ(Eval("DEFORMAT('1,234.50', @n10.2)"), "1234.5");
  EXPECT_EQ(Eval("DEFORMAT('(12.5)')"), "-12.5");
  EXPECT_EQ(Eval("DEFORMAT('abc  ', @s3)"), "abc");
}

TEST(Functions, RandomStaysInItsRange) {
  auto expression = Expression::Compile("RANDOM(7, 3)");
  ASSERT_NE(expression, nullptr);
  bool seen[8] = {};
  for (int i = 0; i < 500; ++i) {
    const int32_t value = expression->Integer();
    ASSERT_GE(value, 3);
    ASSERT_LE(value, 7);
    seen[value] = true;
  }
  EXPECT_TRUE(seen[3] && seen[7]);
}

}  // namespace
}  // namespace carelog::eval
