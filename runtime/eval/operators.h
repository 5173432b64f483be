// The operator table: code, written form, grammar level and result type of every operator.
//
// Levels run from the loosest binding (1, OR and XOR) to the tightest (10, primaries); binary
// operators of one level associate to the left. The parser takes its precedence from this
// table and the writer its spelling and parentheses, so the two always agree.
#pragma once

#include <cstdint>

#include "runtime/eval/value.h"

namespace carelog::eval {

enum OperatorCode : uint8_t {
  kOpPower = 2,
  kOpTimes = 3,
  kOpDivide = 4,
  kOpRemainder = 5,
  kOpNegate = 6,
  kOpPlus = 7,
  kOpMinus = 8,
  kOpConcat = 9,
  kOpEqual = 10,
  kOpNotEqual = 11,
  kOpLess = 12,
  kOpGreater = 13,
  kOpLessEqual = 14,
  kOpGreaterEqual = 15,
  kOpNot = 16,
  kOpAnd = 17,
  kOpOr = 18,
  kOpXor = 19,
  kOpComma = 20,
  kOpRange = 21,
};

enum Level : uint8_t {
  kLevelOr = 1,
  kLevelAnd = 2,
  kLevelNot = 3,
  kLevelComparison = 4,
  kLevelConcat = 5,
  kLevelSum = 6,
  kLevelProduct = 7,
  kLevelPower = 8,
  kLevelSign = 9,
  kLevelPrimary = 10,
};

struct OperatorInfo {
  uint8_t code;
  const char* token;     // as the parser meets it: "+", "<=", "AND" ...
  const char* spelling;  // as the writer puts it between operands: " + ", " AND " ...
  uint8_t level;
  ValueType result;
};

// The entry for `code`; null for codes without an operator (0, 1, 20, 21, > 21).
const OperatorInfo* FindOperator(uint8_t code);

// The binary operator of `level` written as `token` (case-insensitive for keywords); null
// when there is none.
const OperatorInfo* FindBinaryOperator(uint8_t level, const char* token);

}  // namespace carelog::eval
