// The form engine's view of its record: the fields and memos that its controls show, found by
// declared name in the calling thread's record buffer and memo buffers, and the saved copy of
// the record (and of every memo) against which a note form tells whether anything changed.
//
// A FieldSlot is resolved once per form call, after the form's files are open (a memo buffer
// exists only while its file is open), and points into the calling thread's buffers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/data/dictionary.h"
#include "app/patterns/form_table.h"
#include "runtime/window/use_binding.h"

namespace carelog::app {

struct FieldSlot {
  uint8_t* address = nullptr;  // null when the name, element or memo does not resolve
  window::UseType storage;     // type code and size in bytes of the element
  uint8_t places = 0;          // DECIMAL fields
  // The value its control shows blank (FieldBinding::shown_blank).
  std::optional<double> shown_blank = std::nullopt;
  bool valid() const { return address != nullptr; }
};

// The field `name` of `file` (element 0: the whole field, or element 1 of an array; 1..n an
// element), or the memo of that declared name as a STRING of its maximum size.
FieldSlot ResolveField(appdata::FileId file, std::string_view name, uint32_t element = 0);

// Number and text access for priming and lookups. Numbers are BYTE, SHORT, LONG, ULONG and
// DECIMAL; texts are STRING fields and memos, cut or padded with blanks.
double ReadNumber(const FieldSlot& slot);
void WriteNumber(const FieldSlot& slot, double value);
std::string ReadText(const FieldSlot& slot);  // trailing blanks clipped
void WriteText(const FieldSlot& slot, std::string_view text);

// One (control, variable) pair per table row, in control order, for the form's window.
struct FormUse {
  int control;
  FieldSlot slot;
};
// False (with the unresolved name in *bad) when a row names nothing of the file.
bool ResolveBindings(const FormTable& table, std::vector<FormUse>* out, std::string* bad);

// The record buffer and every memo of a file, copied byte for byte.
class SavedRecord {
 public:
  void Take(appdata::FileId file);
  void Restore(appdata::FileId file) const;
  // True when the buffer or a memo differs from the copy.
  bool Differs(appdata::FileId file) const;

 private:
  std::vector<uint8_t> record_;
  std::vector<std::string> memos_;
};

}  // namespace carelog::app
