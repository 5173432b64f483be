#include "runtime/store/internal_error.h"

#include <cstdio>
#include <cstdlib>

namespace carelog::store {
namespace {

void PrintAndAbort(const std::string& message) {
  std::fprintf(stderr, "Runtime error: %s\n", message.c_str());
  std::fflush(stderr);
  std::abort();
}

InternalErrorHandler current_handler = PrintAndAbort;

}  // namespace

InternalErrorHandler SetInternalErrorHandler(InternalErrorHandler handler) {
  InternalErrorHandler previous = current_handler;
  current_handler = handler != nullptr ? handler : PrintAndAbort;
  return previous;
}

std::string InternalErrorText(int line) {
  return "Internal error : ldsbt line " + std::to_string(line);
}

void InternalError(int line) {
  current_handler(InternalErrorText(line));
  std::abort();
}

}  // namespace carelog::store
