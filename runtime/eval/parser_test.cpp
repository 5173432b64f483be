#include "runtime/eval/parser.h"

#include <gtest/gtest.h>

#include "runtime/eval/expression.h"
#include "runtime/eval/name_table.h"
#include "runtime/store/error_state.h"

namespace carelog::eval {
namespace {

std::string Eval(std::string_view text) {
  int error = 0;
  std::string result = Evaluate(text, &error);
  return error == 0 ? result : "error " + std::to_string(error);
}

int ErrorOf(std::string_view text) {
  return Parse(text).error;
}

std::string Written(std::string_view text) {
  ParseResult parsed = Parse(text);
  if (parsed.tree == nullptr) return "error";
  std::string out;
  parsed.tree->Write(out);
  return out;
}

TEST(Evaluate, ArithmeticFollowsTheLevelsAndAssociatesLeft) {
  EXPECT_EQ(Eval("1 + 2 * 3"), "7");
  EXPECT_EQ(Eval("(1 + 2) * 3"), "9");
  EXPECT_EQ(Eval("2 ^ 3 ^ 2"), "64");
  EXPECT_EQ(Eval("10 - 4 - 3"), "3");
  EXPECT_EQ(Eval("7 % 3"), "1");
  EXPECT_EQ(Eval("7 / 2"), "3.5");
  EXPECT_EQ(Eval("-2 ^ 2"), "4");  // signs bind tighter than '^'
  EXPECT_EQ(Eval(".5 + 1.25e1"), "13");
  EXPECT_EQ(Eval("3000000000 + 1"), "3000000001");  // too big for an integer: a real
}

TEST(Evaluate, SignAndNotRunsToggle) {
  EXPECT_EQ(Eval("--1"), "1");
  EXPECT_EQ(Eval("-+-+-1"), "-1");
  EXPECT_EQ(Eval("NOT NOT 1"), "1");
  EXPECT_EQ(Eval("NOT 5"), "0");
  EXPECT_EQ(Eval("~0"), "1");
  EXPECT_EQ(Eval("not 1 = 2"), "1");  // NOT binds looser than '='
}

TEST(Evaluate, NonFiniteResultsBecomeZero) {
  EXPECT_EQ(Eval("1 / 0"), "0");
  EXPECT_EQ(Eval("5 % 0"), "0");
  EXPECT_EQ(Eval("1e300 * 1e300"), "0");
  EXPECT_EQ(Eval("INT(1e300 * 10)"), "2147483647");  // saturates
}

TEST(Evaluate, StringsQuotesAndConcatenation) {
  EXPECT_EQ(Eval("'it''s'"), "it's");
  EXPECT_EQ(Eval("''''"), "'");
  EXPECT_EQ(Eval("'a' & 1 + 2 & 'b'"), "a3b");
  EXPECT_EQ(Eval("'12' + 3"), "15");
  EXPECT_EQ(Eval("'ABCDEF'[2 : 4]"), "BCD");
  EXPECT_EQ(Eval("'ABCDEF'[5 : 99]"), "EF");
  EXPECT_EQ(Eval("'ABCDEF'[4 : 2]"), "");
  EXPECT_EQ(Eval("'ABC'[2]"), "B");
  EXPECT_EQ(Eval("'ABC'[9]"), "");
}

TEST(Evaluate, ComparisonsByOperandType) {
  EXPECT_EQ(Eval("2 < 10"), "1");      // integers
  EXPECT_EQ(Eval("'2' < '10'"), "0");  // texts
  EXPECT_EQ(Eval("'2' < 10"), "1");    // mixed: reals
  EXPECT_EQ(Eval("'abc' = 'abc   '"), "1");
  EXPECT_EQ(Eval("'abc ' <> 'abc'"), "0");
  EXPECT_EQ(Eval("'abc' = 'ABC'"), "0");  // case counts
  EXPECT_EQ(Eval("'ab' < 'ab!'"), "1");   // a non-blank tail decides against a blank
  EXPECT_EQ(Eval("'ab!' > 'ab'"), "1");
  EXPECT_EQ(Eval("0.1 + 0.2 = 0.3"), "1");  // equal within the exponent rule
  EXPECT_EQ(Eval("1 = 1.0000001"), "0");
  EXPECT_EQ(Eval("0 = 1e-20"), "1");
  EXPECT_EQ(Eval("3 >= 3"), "1");
  EXPECT_EQ(Eval("3 < = 4"), "1");  // two-token forms may hold a blank
}

TEST(Evaluate, LogicalOperators) {
  EXPECT_EQ(Eval("1 AND 0"), "0");
  EXPECT_EQ(Eval("2 AND 3"), "1");
  EXPECT_EQ(Eval("0 OR 7"), "1");
  EXPECT_EQ(Eval("1 XOR 1"), "0");
  EXPECT_EQ(Eval("1 xor 0"), "1");
  EXPECT_EQ(Eval("1 OR 0 AND 0"), "1");  // AND binds tighter
}

TEST(Parse, SyntaxErrorsAre800) {
  for (const char* text :
       {"", "'abc", "(1 + 2", "1 +", "1 2", "1 $ 2", "@", "AND 1", "'a'[1,", "SUB('a')",
        "CLIP('a', 'b')", "LEN", "'a'[1, 2]", "'a'[1 : 2 : 3]", "1e99999", "@P###"}) {
    EXPECT_EQ(ErrorOf(text), kErrorInvalidExpression) << text;
  }
}

TEST(Parse, UnknownNamesAre801) {
  EXPECT_EQ(ErrorOf("NoSuchName + 1"), kErrorNotBound);
  EXPECT_EQ(ErrorOf("1 + ?Unknown"), kErrorNotBound);
}

TEST(Parse, NestingIsLimitedWithA800) {
  std::string deep(kMaxNesting + 5, '(');
  deep += "1";
  deep += std::string(kMaxNesting + 5, ')');
  EXPECT_EQ(ErrorOf(deep), kErrorInvalidExpression);
  std::string shallow = std::string(10, '(') + "1" + std::string(10, ')');
  EXPECT_EQ(ErrorOf(shallow), 0);

  std::string long_chain = "1";
  for (int i = 0; i < 100000; ++i) long_chain += "+1";
  EXPECT_EQ(ErrorOf(long_chain), kErrorInvalidExpression);
  std::string signs(100000, '-');
  EXPECT_EQ(Eval(signs + "1"), "1");
}

TEST(Expression, CompilePostsErrorsToTheErrorState) {
  store::ClearError();
  EXPECT_EQ(Expression::Compile("1 +"), nullptr);
  EXPECT_EQ(store::ErrorCode(), 800);
  EXPECT_EQ(store::ErrorText(), "Invalid expression for EVALUATE");
  EXPECT_EQ(Expression::Compile("Nowhere:Bound"), nullptr);
  EXPECT_EQ(store::ErrorCode(), 801);
  EXPECT_EQ(store::ErrorText(), "No BIND on variable");
}

TEST(Write, OperatorsAreSpacedAndParenthesesKept) {
  EXPECT_EQ(Written("1+2*3"), "1 + 2 * 3");
  EXPECT_EQ(Written("(1+2)*3"), "(1 + 2) * 3");
  EXPECT_EQ(Written("1-(2-3)"), "1 - (2 - 3)");
  EXPECT_EQ(Written("1-2-3"), "1 - 2 - 3");
  EXPECT_EQ(Written("-(2^2)"), "-(2 ^ 2)");
  EXPECT_EQ(Written("~(1 and 0) or 1<>2"), "NOT (1 AND 0) OR 1 <> 2");
  EXPECT_EQ(Written("sub('it''s',1,2)&@n6.2"), "SUB('it''s', 1, 2) & @n6.2");
  EXPECT_EQ(Written("'abc'[1:2]"), "'abc'[1 : 2]");
  EXPECT_EQ(Written("2.5e-3"), "0.0025");
  // A picture runs on to the next blank: one taken apart by a substring keeps its parentheses.
  EXPECT_EQ(Written("@n6.2 [2:3]"), "(@n6.2)[2 : 3]");
  // ... and one that ends a subscript is closed by a blank before ']'.
  EXPECT_EQ(Written("', 1PR(#Pbc'[@1 ]"), "', 1PR(#Pbc'[@1 ]");
  EXPECT_EQ(Written("'abc'[1 : -@n3 ]"), "'abc'[1 : -@n3 ]");
  EXPECT_EQ(Written("'abc'[@P#P ]"), "'abc'[@P#P ]");
  EXPECT_EQ(Written("'abc'[SUB(@n3, 1, 1)]"), "'abc'[SUB(@n3, 1, 1)]");
}

TEST(Write, WrittenTextParsesToTheSameValue) {
  for (const char* text :
       {"1-(2-3)*4^(1+1)", "NOT (1 AND 0) XOR 1", "-(-(3))", "'a''b' & 'c'", "(1 < 2) = (3 > 2)",
        "2 ^ -1", "10 % (4 - 1)", "'xyz'[2 : 3] & 'q'", "@d4 [1:2] & 'x'",
        "'ab'['x'[@n2 ] : 1 + @n3 ] & SUB(@s2, 1, @n1 )", "'a'[@P]P ]"}) {
    const std::string once = Written(text);
    EXPECT_EQ(Written(once), once) << text;
    EXPECT_EQ(Eval(once), Eval(text)) << text;
  }
}

}  // namespace
}  // namespace carelog::eval
