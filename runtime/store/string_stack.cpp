#include "runtime/store/string_stack.h"

#include <vector>

namespace carelog::store {
namespace {

std::vector<std::string>& Stack() {
  thread_local std::vector<std::string> stack;
  return stack;
}

}  // namespace

void PushString(std::string_view text) {
  Stack().emplace_back(text);
}

std::string PopString() {
  std::vector<std::string>& stack = Stack();
  if (stack.empty()) return {};
  std::string top = std::move(stack.back());
  stack.pop_back();
  return top;
}

size_t StringStackDepth() {
  return Stack().size();
}

void ClearStringStack() {
  Stack().clear();
}

}  // namespace carelog::store
