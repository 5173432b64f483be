// The evaluator's three value types and the conversions between them.
//
// Every node of an expression tree has one of three types, fixed when the tree is built:
// integer (32-bit), real (double) and string. A node can be asked for its value in any of the
// three; these functions are the only conversions used for that, so that every node converts
// alike.
//
// Invariants:
//   1. RealToInteger never has undefined behaviour: it truncates toward zero, saturates at the
//      32-bit limits and maps NaN to 0.
//   2. TextToReal reads the longest numeric prefix after leading blanks and never fails; text
//      without digits is 0.
//   3. RealToText writes the shortest text that TextToReal reads back as the same double.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace carelog::eval {

enum class ValueType : uint8_t { kInteger = 1, kReal = 2, kString = 4 };

int32_t RealToInteger(double value);
double TextToReal(std::string_view text);
std::string RealToText(double value);
std::string IntegerToText(int32_t value);

// Results of arithmetic that are not finite numbers (division by zero, overflow, a logarithm of
// zero) become 0, so that no infinity or NaN ever reaches a bound variable or a text.
double FiniteOrZero(double value);

// Compares two reals with the evaluator's tolerance: they are equal when the binary exponent of
// their difference, plus 50, stays below the larger binary exponent of the two (an operand of
// exactly 0 counts with the exponent of 1.0). Returns <0, 0 or >0.
int CompareReals(double left, double right);

// The ordinary text comparison: collation weights, letter case counts, trailing blanks never
// make two texts unequal. Returns <0, 0 or >0.
int CompareTexts(std::string_view left, std::string_view right);

}  // namespace carelog::eval
