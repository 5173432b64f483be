// The built-in functions: one table of name, argument counts, number, result type and
// evaluation.
//
// The parser refuses a call with more arguments than max_args or fewer than min_args; the
// absent optional arguments take the defaults each function documents in functions.cpp.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "runtime/eval/nodes.h"
#include "runtime/eval/value.h"

namespace carelog::eval {

class Arguments;
struct Value;

struct FunctionInfo {
  const char* name;
  uint8_t max_args;
  uint8_t min_args;
  uint8_t number;
  ValueType result;
  Value (*call)(const Arguments& arguments);
};

inline constexpr int kFunctionCount = 41;
// Numbers of the functions whose value changes without any argument changing.
inline constexpr uint8_t kFunctionMemory = 1;
inline constexpr uint8_t kFunctionRandom = 22;
inline constexpr uint8_t kFunctionToday = 35;
inline constexpr uint8_t kFunctionClock = 36;
extern const FunctionInfo kFunctions[kFunctionCount];

// A function's result in its own type.
struct Value {
  ValueType type = ValueType::kInteger;
  int32_t integer = 0;
  double real = 0;
  std::string text;

  static Value Of(int32_t v) { return Value{ValueType::kInteger, v, 0, {}}; }
  static Value Of(double v) { return Value{ValueType::kReal, 0, FiniteOrZero(v), {}}; }
  static Value Of(std::string v) { return Value{ValueType::kString, 0, 0, std::move(v)}; }
  int32_t AsInteger() const;
  double AsReal() const;
  std::string AsString() const;
};

// REQUIRES: arguments.size() within the function's counts.
Value CallFunction(const FunctionInfo& function, std::span<const NodePtr> arguments);

}  // namespace carelog::eval
