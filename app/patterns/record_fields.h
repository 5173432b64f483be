// Reading and writing single fields of a file's record buffer by declared name, for the engines
// that show and position on fields they know only by name: list columns, key components, range
// values and locator texts.
//
// A FieldRef is resolved once (by name against the file's FileInfo) and then reads the calling
// thread's record buffer of the file at every use, so one resolved table serves every thread.
// Numbers are BYTE, SHORT, USHORT, LONG, ULONG and DECIMAL fields; STRING fields are text.
// Arrays are read at their first element.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/data/dictionary.h"

namespace carelog::app {

struct FieldValue {
  bool is_text = false;
  double number = 0;
  std::string text;  // STRING fields, trailing blanks kept

  bool operator==(const FieldValue&) const = default;
};

class FieldRef {
 public:
  FieldRef() = default;
  // False when `name` is not a field of `file`.
  bool Resolve(appdata::FileId file, std::string_view name);

  bool valid() const { return row_ != nullptr; }
  bool is_text() const;
  appdata::FileId file() const { return file_; }

  FieldValue Read() const;
  // Numbers are rounded into the field's type; texts are cut or padded with blanks.
  void Write(const FieldValue& value) const;
  // Blanks for texts, 0 for numbers.
  void Clear() const;

 private:
  uint8_t* Where() const;

  appdata::FileId file_ = appdata::FileId::kPatients;
  const appdata::FieldRow* row_ = nullptr;
};

// The field that a key component (1-based field number, negative when descending) names.
const appdata::FieldRow& ComponentField(const appdata::FileInfo& info, int32_t component);

}  // namespace carelog::app
