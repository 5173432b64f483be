// The expression parser: text to a tree of nodes.
//
// Grammar, loosest binding first; binary operators of one level associate to the left, and
// their levels and spellings come from the operator table (operators.h):
//   expression  := disjunction
//   disjunction := conjunction { (OR | XOR) conjunction }
//   conjunction := negation { AND negation }
//   negation    := { NOT | '~' } comparison          each further NOT toggles
//   comparison  := concatenation { ('=' | '<>' | '<' | '>' | '<=' | '>=') concatenation }
//   concatenation := sum { '&' sum }
//   sum         := product { ('+' | '-') product }
//   product     := power { ('*' | '/' | '%') power }
//   power       := signed { '^' signed }
//   signed      := { '+' | '-' } postfix              an odd number of '-' negates
//   postfix     := primary { '[' expression { ',' expression } ']'
//                          | '[' expression ':' expression ']' }
//   primary     := integer | real | string | picture | '(' expression ')' | bound-name
//                | function-name [ '(' [ expression { ',' expression } ] ')' ]
// A function name may go without parentheses only when the function takes no arguments.
//
// Failure: 800 for any syntax error (including more nesting than kMaxNesting brackets and
// calls, or a tree deeper than kMaxTreeDepth), 801 for a name that is neither bound nor built
// in. The first error found stops the parse.
#pragma once

#include <string_view>

#include "runtime/eval/nodes.h"

namespace carelog::eval {

inline constexpr int kErrorInvalidExpression = 800;
inline constexpr int kErrorNotBound = 801;
inline constexpr int kMaxNesting = 64;

struct ParseResult {
  NodePtr tree;   // null on failure
  int error = 0;  // 0, kErrorInvalidExpression or kErrorNotBound
};

ParseResult Parse(std::string_view text);

}  // namespace carelog::eval
