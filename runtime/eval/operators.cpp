#include "runtime/eval/operators.h"

#include <strings.h>

namespace carelog::eval {
namespace {

constexpr ValueType kInt = ValueType::kInteger;
constexpr ValueType kReal = ValueType::kReal;

const OperatorInfo kOperators[] = {
    {kOpPower, "^", " ^ ", kLevelPower, kReal},
    {kOpTimes, "*", " * ", kLevelProduct, kReal},
    {kOpDivide, "/", " / ", kLevelProduct, kReal},
    {kOpRemainder, "%", " % ", kLevelProduct, kReal},
    {kOpNegate, "-", "-", kLevelSign, kReal},
    {kOpPlus, "+", " + ", kLevelSum, kReal},
    {kOpMinus, "-", " - ", kLevelSum, kReal},
    {kOpConcat, "&", " & ", kLevelConcat, ValueType::kString},
    {kOpEqual, "=", " = ", kLevelComparison, kInt},
    {kOpNotEqual, "<>", " <> ", kLevelComparison, kInt},
    {kOpLess, "<", " < ", kLevelComparison, kInt},
    {kOpGreater, ">", " > ", kLevelComparison, kInt},
    {kOpLessEqual, "<=", " <= ", kLevelComparison, kInt},
    {kOpGreaterEqual, ">=", " >= ", kLevelComparison, kInt},
    {kOpNot, "NOT", "NOT ", kLevelNot, kInt},
    {kOpAnd, "AND", " AND ", kLevelAnd, kInt},
    {kOpOr, "OR", " OR ", kLevelOr, kInt},
    {kOpXor, "XOR", " XOR ", kLevelOr, kInt},
};

}  // namespace

const OperatorInfo* FindOperator(uint8_t code) {
  for (const OperatorInfo& op : kOperators) {
    if (op.code == code) return &op;
  }
  return nullptr;
}

const OperatorInfo* FindBinaryOperator(uint8_t level, const char* token) {
  for (const OperatorInfo& op : kOperators) {
    if (op.level == level && op.code != kOpNegate && op.code != kOpNot &&
        strcasecmp(op.token, token) == 0) {
      return &op;
    }
  }
  return nullptr;
}

}  // namespace carelog::eval
