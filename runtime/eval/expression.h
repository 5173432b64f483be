// The evaluator's public interface: compile expression text once, evaluate it many times.
//
//   Bind(...) / BindRecord(...)       make program variables known by name (name_table.h,
//                                     record_binding.h)
//   Expression::Compile(text)         parse; on failure post 800 or 801 to the error state
//   expression.Integer() / Real() / String()   evaluate against the variables' current values
//   expression.Text()                 the tree written back as text
//   Evaluate(text)                    compile and evaluate in one step, result as text
//
// An Expression owns its tree. Bound variables are read at every evaluation, never copied.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "runtime/eval/nodes.h"
#include "runtime/eval/parser.h"

namespace carelog::eval {

class Expression {
 public:
  // The compiled expression, or null after posting 800 (syntax) or 801 (unbound name) to the
  // error state.
  static std::unique_ptr<Expression> Compile(std::string_view text);
  explicit Expression(NodePtr tree) : tree_(std::move(tree)) {}

  ValueType type() const { return tree_->type(); }
  int32_t Integer() const { return tree_->Integer(); }
  double Real() const { return tree_->Real(); }
  std::string String() const { return tree_->String(); }
  // Whether the value counts as true (non-zero as an integer).
  bool Holds() const { return tree_->Integer() != 0; }
  std::string Text() const;
  const Node& tree() const { return *tree_; }

 private:
  NodePtr tree_;
};

// Compiles and evaluates `text`, giving the result in its own type written as text. On failure
// posts the error and sets *error (when given) to its code; the result is then empty.
std::string Evaluate(std::string_view text, int* error = nullptr);

// Posts an evaluator error (800 or 801) to the runtime's error state.
void PostEvaluatorError(int code);

}  // namespace carelog::eval
