// Compiles a picture from the input and applies it to a number, a decimal text, a standard
// date and time, and a typed text taken from the same input.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "runtime/values/picture.h"

using carelog::values::Deformat;
using carelog::values::FormatDecimal;
using carelog::values::FormatNumber;
using carelog::values::FormatText;
using carelog::values::Picture;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Layout: picture text, NUL, value text, NUL, then eight bytes of a double.
  std::string_view input(reinterpret_cast<const char*>(data), size);
  size_t split = input.find('\0');
  std::string_view picture_text = input.substr(0, split);
  std::string_view rest = split == std::string_view::npos ? "" : input.substr(split + 1);
  size_t split2 = rest.find('\0');
  std::string_view value_text = rest.substr(0, split2);
  double number = 0;
  if (split2 != std::string_view::npos && rest.size() - split2 - 1 >= sizeof number) {
    std::memcpy(&number, rest.data() + split2 + 1, sizeof number);
  }

  Picture picture(picture_text);
  if (picture.valid() && picture.length() > carelog::values::kMaxCompiledPicture) __builtin_trap();
  const size_t width = picture.width();
  for (size_t length : {width, width / 2, width + 3}) {
    // Formatting twice over different garbage must give the same text: every position of the
    // output is written, and nothing depends on what was there.
    std::string a(length, '\x01');
    std::string b(length, '\xfe');
    for (std::string* out : {&a, &b}) {
      FormatNumber(number, picture, out->data(), out->size());
      FormatNumber(
          static_cast<double>(static_cast<int32_t>(number > 0 && number < 2e5 ? number : 0)),
          picture, out->data(), out->size());
      FormatDecimal(value_text, picture, out->data(), out->size());
      FormatText(value_text, picture, out->data(), out->size());
    }
    if (a != b) __builtin_trap();
  }
  Deformat(value_text, picture);
  std::string formatted(width, ' ');
  FormatText(value_text, picture, formatted.data(), formatted.size());
  Deformat(formatted, picture);
  return 0;
}
