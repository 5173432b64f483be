#include "runtime/window/dialog_fields.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "runtime/window/window_runtime.h"

namespace carelog::window::dialog {

void PutString(char* field, size_t size, const std::string& text) {
  size_t n = std::min(size, text.size());
  std::memcpy(field, text.data(), n);
  std::memset(field + n, ' ', size - n);
}

std::string GetString(const char* field, size_t size) {
  std::string text(field, size);
  size_t end = text.find_last_not_of(' ');
  return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

bool OpenWithControls(Structure& window, std::initializer_list<int> equates) {
  if (!Open(window)) return false;
  for (int equate : equates) {
    if (!window.Find(equate)) {
      Close(window);
      return false;
    }
  }
  return true;
}

}  // namespace carelog::window::dialog
