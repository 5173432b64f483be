#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "runtime/eval/expression.h"
#include "runtime/eval/name_table.h"
#include "runtime/eval/record_binding.h"
#include "runtime/values/locale.h"

namespace carelog::eval {
namespace {

std::string Eval(std::string_view text) {
  int error = 0;
  std::string result = Evaluate(text, &error);
  return error == 0 ? result : "error " + std::to_string(error);
}

TEST(NameTable, LooksUpWithoutRegardToCaseAndHoldsTheBuiltIns) {
  ASSERT_NE(FindName("sub"), nullptr);
  EXPECT_EQ(FindName("sub")->kind, EntryKind::kFunction);
  EXPECT_EQ(FindName("Xor")->operator_code, 19);
  EXPECT_EQ(FindName("MMMMMMM"), nullptr);  // the root is no name
  EXPECT_EQ(FindName("NoSuchThing"), nullptr);
  static int32_t value = 5;
  Bind("Mixed:Case_Name", &value);
  ASSERT_NE(FindName("MIXED:CASE_NAME"), nullptr);
  EXPECT_EQ(Eval("mixed:case_name * 2"), "10");
}

// A look-up remembers what a spelling found; a change of the case tables must still be seen.
TEST(NameTable, LookUpsFollowAChangeOfTheCaseTables) {
  static int32_t value = 1;
  Bind("Case:Zebra", &value);
  ASSERT_NE(FindName("case:zebra"), nullptr);
  const values::LocaleTables saved = values::Locale();
  values::MutableLocale().char_class[static_cast<uint8_t>('z')] = values::kClassOther;
  EXPECT_EQ(FindName("case:zebra"), nullptr);
  EXPECT_NE(FindName("CASE:ZEBRA"), nullptr);
  values::MutableLocale() = saved;
  EXPECT_NE(FindName("case:zebra"), nullptr);
}

TEST(NameTable, CompiledExpressionsReadVariablesAtEvaluationAndSeeRebinding) {
  static int32_t first = 1;
  static int32_t second = 100;
  Bind("Test:Rebound", &first);
  auto expression = Expression::Compile("Test:Rebound + 1");
  ASSERT_NE(expression, nullptr);
  EXPECT_EQ(expression->Integer(), 2);
  first = 41;
  EXPECT_EQ(expression->Integer(), 42);
  Bind("TEST:REBOUND", &second);
  EXPECT_EQ(expression->Integer(), 101);
  EXPECT_EQ(expression->Text(), "TEST:REBOUND + 1");
}

TEST(NameTable, SingleVariablesOfEachKind) {
  static double real = 2.5;
  static char text[6] = {'a', 'b', 'c', ' ', ' ', ' '};
  Bind("Test:Real", &real);
  Bind("Test:Text", text, sizeof text);
  EXPECT_EQ(Eval("Test:Real * 2"), "5");
  EXPECT_EQ(Eval("Test:Text & '|'"), "abc   |");
  EXPECT_EQ(Eval("Test:Text = 'abc'"), "1");
  EXPECT_EQ(Eval("LEN(CLIP(Test:Text))"), "3");
}

// Binds one variable of `type` over `bytes` and evaluates it as text.
std::string ReadAs(store::FieldType type, std::vector<uint8_t> bytes, uint8_t places = 0) {
  static std::vector<std::vector<uint8_t>> keep;  // bindings must outlive the test
  keep.push_back(std::move(bytes));
  Variable variable;
  variable.address = keep.back().data();
  variable.type = type;
  variable.size = static_cast<uint32_t>(keep.back().size());
  variable.places = places;
  BindVariable("Test:Typed", variable);
  return Eval("Test:Typed");
}

TEST(Variables, EveryStoredTypeReads) {
  EXPECT_EQ(ReadAs(store::kTypeByte, {200}), "200");
  EXPECT_EQ(ReadAs(store::kTypeShort, {0xFE, 0xFF}), "-2");
  EXPECT_EQ(ReadAs(store::kTypeUShort, {0xFE, 0xFF}), "65534");
  EXPECT_EQ(ReadAs(store::kTypeLong, {0x00, 0x01, 0x00, 0x80}), "-2147483392");
  EXPECT_EQ(ReadAs(store::kTypeDecimal, {0x01, 0x23, 0x45}, 2), "123.45");
  EXPECT_EQ(ReadAs(store::kTypeDecimal, {0xD0, 0x00, 0x07}, 1), "-0.7");
  EXPECT_EQ(ReadAs(store::kTypeCString, {'h', 'i', 0, 'x'}), "hi");
  EXPECT_EQ(ReadAs(store::kTypePString, {2, 'h', 'i', 'x'}), "hi");
  EXPECT_EQ(ReadAs(store::kTypePString, {200, 'h', 'i'}), "hi");     // length cut to the size
  EXPECT_EQ(ReadAs(store::kTypeDate, {5, 3, 0xCD, 0x07}), "71655");  // 5 March 1997
  EXPECT_EQ(ReadAs(store::kTypeDate, {0, 0, 0, 0}), "0");
  EXPECT_EQ(ReadAs(store::kTypeTime, {0, 0, 5, 13}), "4710001");  // 13:05
  float sreal = 1.5f;
  std::vector<uint8_t> bytes(4);
  std::memcpy(bytes.data(), &sreal, 4);
  EXPECT_EQ(ReadAs(store::kTypeSReal, bytes), "1.5");
}

// A record of 25 bytes: NUMBER LONG @0, NAME STRING(10) @4, SCORES DIM(3) SHORT @14,
// AMOUNT DECIMAL(5,2) @20, PAIR GROUP @23 { A BYTE @23, B BYTE @24 }.
struct TestFile {
  std::vector<uint8_t> layout;
  uint8_t buffer[25] = {};
  store::FileDeclaration file{};

  void Text(const char* s) { layout.insert(layout.end(), s, s + std::strlen(s) + 1); }
  void Word(uint32_t v) {
    for (int i = 0; i < 4; ++i) layout.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  void Link(uint32_t offset) {
    layout.push_back(0x18);
    Word(offset);
  }

  TestFile() {
    layout = {0x16};
    Link(0);
    Text("T:NUMBER"), layout.push_back(0x06), Link(4);
    Text("T:NAME"), layout.push_back(0x12), Word(10), layout.push_back(0), Link(14);
    Text("T:SCORES"), layout.push_back(0x17), Word(3), layout.push_back(0x02), Link(20);
    Text("T:AMOUNT"), layout.push_back(0x0A), layout.push_back(3), layout.push_back(2), Link(23);
    Text("T:PAIR"), layout.push_back(0x16), Link(0);
    Text("T:A"), layout.push_back(0x01), Link(1);
    Text("T:B"), layout.push_back(0x01), layout.push_back(0), layout.push_back(0);
    file.record_size = sizeof buffer;
    file.layout = layout.data();
    file.layout_size = static_cast<uint32_t>(layout.size());
    file.buffer = buffer;
  }
};

TEST(RecordBinding, BindsEveryFieldByItsDeclaredName) {
  static TestFile test;
  EXPECT_EQ(BindRecord(test.file), 7);
  int32_t number = 1234;
  std::memcpy(test.buffer, &number, 4);
  std::memcpy(test.buffer + 4, "Smith     ", 10);
  const int16_t scores[3] = {7, -8, 9};
  std::memcpy(test.buffer + 14, scores, sizeof scores);
  const uint8_t amount[3] = {0x09, 0x99, 0x50};
  std::memcpy(test.buffer + 20, amount, 3);
  test.buffer[23] = 'O';
  test.buffer[24] = 'K';

  EXPECT_EQ(Eval("t:number + 1"), "1235");
  EXPECT_EQ(Eval("CLIP(T:NAME) & ','"), "Smith,");
  EXPECT_EQ(Eval("T:SCORES[1] + T:SCORES[2] * T:SCORES[3]"), "-65");
  EXPECT_EQ(Eval("T:SCORES[4]"), "0");  // out of range reads as 0
  EXPECT_EQ(Eval("T:AMOUNT"), "999.5");
  EXPECT_EQ(Eval("T:PAIR"), "OK");
  EXPECT_EQ(Eval("T:A & T:B"), "7975");
  EXPECT_EQ(Evaluate("T:SCORES[1, 2]"), "");  // wrong number of indexes
  EXPECT_EQ(Parse("T:SCORES[1, 2]").error, kErrorInvalidExpression);
}

TEST(RecordBinding, MemosReadTheirPublishedBuffer) {
  static store::MemoDeclaration memo{};
  memo.max_size = 8;
  BindMemo("Test:Notes", memo);
  auto expression = Expression::Compile("CLIP(Test:Notes) & '.'");
  ASSERT_NE(expression, nullptr);
  EXPECT_EQ(expression->String(), ".");  // not yet published
  static char buffer[8] = {'w', 'o', 'u', 'n', 'd', ' ', ' ', ' '};
  memo.buffer = buffer;
  EXPECT_EQ(expression->String(), "wound.");
}

TEST(RecordBinding, AMalformedLayoutBindsNothing) {
  TestFile test;
  test.layout[0] = 0x99;
  EXPECT_EQ(BindRecord(test.file), 0);
}

}  // namespace
}  // namespace carelog::eval
