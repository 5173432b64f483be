// Compiled expressions kept by their text, for callers that compile the same text again and
// again (a view compiles its filter at every OPEN).
//
// A tree depends on its text and on what each name in it stood for when it was parsed (a
// variable's type decides how a comparison compares, a function name makes a call). A kept
// tree is handed out again only while neither has moved: no binding has changed what a name
// stands for (BindingChanges) and the locale's tables, which order the name table, have not
// been written (LocaleChangeCount). Otherwise the text is parsed afresh. Trees are immutable
// once built and read bound variables at evaluation time, so sharing one is the same as
// holding a fresh compile.
//
// Failures are not kept: a text that does not compile is parsed again at every call.
#pragma once

#include <memory>
#include <string_view>

#include "runtime/eval/expression.h"

namespace carelog::eval {

struct SharedCompile {
  std::shared_ptr<const Expression> expression;  // null on failure
  int error = 0;                                 // 0, kErrorInvalidExpression or kErrorNotBound
};

// The compiled `text`, shared with an earlier call when that is sound. Posts nothing.
SharedCompile CompileShared(std::string_view text);

}  // namespace carelog::eval
