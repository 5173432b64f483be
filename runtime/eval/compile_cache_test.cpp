#include "runtime/eval/compile_cache.h"

#include <gtest/gtest.h>

#include "runtime/eval/name_table.h"
#include "runtime/values/locale.h"

namespace carelog::eval {
namespace {

// Bound variables must outlive every tree that names them.
int32_t left_number = 0;
int32_t right_number = 0;
char left_text[4] = {'a', 'n', 'n', ' '};
char right_text[4] = {'A', 'N', 'N', ' '};

TEST(CompileCache, KeepsATreeOnlyWhileTheNamesStandForWhatTheyDid) {
  Bind("Cache:Left", &left_number);
  Bind("Cache:Right", &right_number);
  const SharedCompile first = CompileShared("Cache:Left = Cache:Right");
  ASSERT_NE(first.expression, nullptr);
  EXPECT_EQ(first.expression->Integer(), 1);  // 0 = 0 as integers
  // Binding the same variables again, as a browse does at every event, keeps the tree.
  Bind("Cache:Left", &left_number);
  EXPECT_EQ(CompileShared("Cache:Left = Cache:Right").expression, first.expression);

  // As texts the two differ by case: a tree kept from the integer binding would still say 1.
  Bind("Cache:Left", left_text, sizeof left_text);
  Bind("Cache:Right", right_text, sizeof right_text);
  const SharedCompile rebound = CompileShared("Cache:Left = Cache:Right");
  ASSERT_NE(rebound.expression, nullptr);
  EXPECT_NE(rebound.expression, first.expression);
  EXPECT_EQ(rebound.expression->type(), ValueType::kInteger);
  EXPECT_EQ(rebound.expression->Integer(), 0);
  EXPECT_EQ(first.expression->Integer(), 1);  // the old tree, still held, is unchanged

  // A write to the locale's tables (which order the name table) drops what was kept.
  values::MutableLocale();
  EXPECT_NE(CompileShared("Cache:Left = Cache:Right").expression, rebound.expression);
}

TEST(CompileCache, FailuresAreNotKept) {
  const SharedCompile unbound = CompileShared("Cache:Later + 1");
  EXPECT_EQ(unbound.expression, nullptr);
  EXPECT_EQ(unbound.error, kErrorNotBound);
  static int32_t later = 41;
  Bind("Cache:Later", &later);
  const SharedCompile bound = CompileShared("Cache:Later + 1");
  ASSERT_NE(bound.expression, nullptr);
  EXPECT_EQ(bound.expression->Integer(), 42);
  EXPECT_EQ(CompileShared("Cache:Later +").error, kErrorInvalidExpression);
}

TEST(CompileCache, ManyTextsStillCompileEachToItsOwnTree) {
  static int32_t value = 7;
  Bind("Cache:Value", &value);
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 100; ++i) {  // more texts than are kept
      const std::string text = "Cache:Value + " + std::to_string(i);
      const SharedCompile compiled = CompileShared(text);
      ASSERT_NE(compiled.expression, nullptr) << text;
      EXPECT_EQ(compiled.expression->Integer(), 7 + i) << text;
    }
  }
}

}  // namespace
}  // namespace carelog::eval
