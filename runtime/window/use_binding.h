// USE binding: a control shows its procedure variable formatted through the control's picture
// and takes edited text back through the same picture.
//
// Storage of the variable follows its type code (UseType of the definition):
//   1 BYTE u8, 2 SHORT i16, 3 USHORT u16, 4 DATE and 6 LONG i32, 5 TIME i32, 7 ULONG u32,
//   8 SREAL float, 9 REAL double, 0x0A DECIMAL / 0x0B PDECIMAL packed (sign nibble, digits;
//   places from the UseVariable), 0x12 STRING blank-padded, 0x13 CSTRING zero-terminated,
//   0x14 PSTRING length byte first. Sizes come from the descriptor; a variable never gets more
//   bytes than its descriptor names.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/window/definition_model.h"

namespace carelog::window {

// Where a USE variable lives (the procedure's table of them is use_table.h). The procedure owns
// the storage, which must outlive every window built with it.
struct UseVariable {
  void* address = nullptr;
  uint8_t decimal_places = 0;  // DECIMAL and PDECIMAL only
  // A number that stands for "nothing recorded yet" (the starting point of a running lowest
  // value): while the variable holds it, its control shows an empty text. What is stored does
  // not change; only typing into the control replaces the value.
  std::optional<double> shown_blank = std::nullopt;
};

// The variable's value: text for string types, a number for the others.
struct UseValue {
  bool is_text = false;
  double number = 0;
  std::string text;
};

UseValue ReadUse(const UseVariable& variable, const UseType& type);
// False (the variable unchanged) when the value does not fit the type.
bool WriteUse(const UseVariable& variable, const UseType& type, const UseValue& value);

// The text a control shows for the variable: formatted through `picture`, or plain (strings
// without trailing blanks, numbers in shortest form) when the picture is empty; empty while a
// number holds the variable's shown_blank value.
std::string DisplayText(const UseVariable& variable, const UseType& type, std::string_view picture);

// Checks typed text against the picture and the variable's type: characters a number cannot
// hold, dates and times that are not valid, patterns and key-ins that do not reformat to the
// same text, values that do not fit the type. On success the parsed value is in *value.
bool ParseEntryText(std::string_view text, std::string_view picture, const UseType& type,
                    UseValue* value);

}  // namespace carelog::window
