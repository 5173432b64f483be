#include "runtime/eval/expression.h"

#include "runtime/store/error_state.h"

namespace carelog::eval {

void PostEvaluatorError(int code) {
  store::PostError(code, nullptr);
}

std::unique_ptr<Expression> Expression::Compile(std::string_view text) {
  ParseResult parsed = Parse(text);
  if (parsed.tree == nullptr) {
    PostEvaluatorError(parsed.error);
    return nullptr;
  }
  return std::make_unique<Expression>(std::move(parsed.tree));
}

std::string Expression::Text() const {
  std::string out;
  tree_->Write(out);
  return out;
}

std::string Evaluate(std::string_view text, int* error) {
  ParseResult parsed = Parse(text);
  if (error != nullptr) *error = parsed.error;
  if (parsed.tree == nullptr) {
    PostEvaluatorError(parsed.error);
    return {};
  }
  return parsed.tree->String();
}

}  // namespace carelog::eval
