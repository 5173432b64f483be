// carelog-eval EXPRESSION...: evaluates each expression with the built-in functions and prints
// its result as text, one line each. An expression that does not compile prints its error code
// and message on standard error instead; the exit status is then 1.
#include <cstdio>

#include "runtime/eval/expression.h"
#include "runtime/store/error_state.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: carelog-eval EXPRESSION...\n");
    return 2;
  }
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    int error = 0;
    const std::string result = carelog::eval::Evaluate(argv[i], &error);
    if (error != 0) {
      std::fprintf(stderr, "%d %s\n", carelog::store::ErrorCode(),
                   carelog::store::ErrorText().c_str());
      status = 1;
      continue;
    }
    std::printf("%s\n", result.c_str());
  }
  return status;
}
