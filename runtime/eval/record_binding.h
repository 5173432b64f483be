// Binding a file's record and memos for expressions.
//
// BindRecord walks the file declaration's record layout stream and binds every field under its
// declared name ("PAT:LAST_NAME") to its place in the declaration's record buffer: scalars,
// strings, arrays (DIM, up to four dimensions) and groups (read as the text of their bytes).
// A field of a type the evaluator cannot read (BFLOAT4, BFLOAT8) is left unbound.
//
// REQUIRES: the declaration (and for a THREAD file, the calling thread's copy of it) outlives
// the bindings, and its layout stream is well formed.
#pragma once

#include <string_view>

#include "runtime/store/declarations.h"

namespace carelog::eval {

// Binds every field of the record; returns the number of names bound.
int BindRecord(const store::FileDeclaration& file);

// Binds a memo under `name` (the memo's mixed-case name). The memo's buffer is looked up at
// every evaluation, so the binding may be made before the record store publishes the buffer;
// an unpublished memo reads as the empty text.
void BindMemo(std::string_view name, const store::MemoDeclaration& memo);

}  // namespace carelog::eval
