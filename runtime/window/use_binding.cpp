#include "runtime/window/use_binding.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "runtime/values/picture.h"

namespace carelog::window {
namespace {

enum TypeCode : uint8_t {
  kByte = 0x01,
  kShort = 0x02,
  kUShort = 0x03,
  kDate = 0x04,
  kTime = 0x05,
  kLong = 0x06,
  kULong = 0x07,
  kSReal = 0x08,
  kReal = 0x09,
  kDecimal = 0x0A,
  kPDecimal = 0x0B,
  kString = 0x12,
  kCString = 0x13,
  kPString = 0x14,
};

bool IsTextType(uint8_t type) {
  return type == kString || type == kCString || type == kPString;
}

template <typename T>
T Load(const void* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

template <typename T>
void Store(void* p, T v) {
  std::memcpy(p, &v, sizeof v);
}

template <typename T>
bool StoreInteger(void* p, double value) {
  double rounded = std::round(value);
  if (!(rounded >= static_cast<double>(std::numeric_limits<T>::min()) &&
        rounded <= static_cast<double>(std::numeric_limits<T>::max()))) {
    return false;
  }
  Store<T>(p, static_cast<T>(rounded));
  return true;
}

// Packed decimal: nibble 0 the sign (non-zero negative), then digits, most significant first.
double LoadDecimal(const uint8_t* bytes, uint32_t size, int places) {
  double v = 0;
  for (uint32_t i = 1; i < 2 * size; ++i) {
    int nibble = (i % 2) ? (bytes[i / 2] & 0x0F) : (bytes[i / 2] >> 4);
    v = v * 10 + (nibble > 9 ? 9 : nibble);
  }
  if (bytes[0] >> 4) v = -v;
  return v / std::pow(10.0, places);
}

bool StoreDecimal(uint8_t* bytes, uint32_t size, int places, double value) {
  if (size == 0 || !std::isfinite(value)) return false;
  double unscaled = std::round(std::fabs(value) * std::pow(10.0, places));
  if (unscaled >= std::pow(10.0, 2.0 * size - 1)) return false;
  std::vector<uint8_t> out(size, 0);
  for (uint32_t i = 2 * size - 1; i >= 1; --i) {
    int digit = static_cast<int>(std::fmod(unscaled, 10.0));
    unscaled = std::floor(unscaled / 10);
    if (i % 2) {
      out[i / 2] |= static_cast<uint8_t>(digit);
    } else {
      out[i / 2] |= static_cast<uint8_t>(digit << 4);
    }
  }
  bool zero = true;
  for (uint8_t b : out) zero = zero && b == 0;
  if (value < 0 && !zero) out[0] |= 0xF0;
  std::memcpy(bytes, out.data(), size);
  return true;
}

std::string PlainNumber(double v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", v);
  return buffer;
}

std::string TrimRight(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.pop_back();
  return s;
}

std::string Trim(std::string_view s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return std::string();
  size_t e = s.find_last_not_of(' ');
  return std::string(s.substr(b, e - b + 1));
}

bool NumberCharactersValid(std::string_view text, const values::Picture& picture) {
  for (char c : text) {
    if ((c >= '0' && c <= '9') || c == ' ' || c == '-' || c == '+' || c == '(' || c == ')' ||
        c == '.') {
      continue;
    }
    bool in_picture = false;
    for (int i = 0; i < picture.cells() && !in_picture; ++i) {
      values::CellCode code = picture.cell_code(i);
      bool shows_char = code == values::kCellLiteral || code == values::kCellGroup ||
                        code == values::kCellDecimal || code == values::kCellCurrency ||
                        code == values::kCellSign;
      in_picture = shows_char && picture.cell_char(i) == c;
    }
    if (!in_picture) return false;
  }
  return true;
}

// A zero typed into a pattern: zeros and the pattern's own literal characters only ("0", "0.0").
bool IsTypedZero(std::string_view text, std::string_view picture_text) {
  return std::all_of(text.begin(), text.end(), [picture_text](char c) {
    bool literal = c != '#' && c != '<' && std::ispunct(static_cast<unsigned char>(c)) &&
                   picture_text.find(c) != std::string_view::npos;
    return c == '0' || literal;
  });
}

}  // namespace

UseValue ReadUse(const UseVariable& variable, const UseType& type) {
  UseValue v;
  const auto* p = static_cast<const uint8_t*>(variable.address);
  if (!p) return v;
  switch (type.type) {
    case kByte:
      v.number = p[0];
      break;
    case kShort:
      v.number = Load<int16_t>(p);
      break;
    case kUShort:
      v.number = Load<uint16_t>(p);
      break;
    case kDate:
    case kTime:
    case kLong:
      v.number = Load<int32_t>(p);
      break;
    case kULong:
      v.number = Load<uint32_t>(p);
      break;
    case kSReal:
      v.number = Load<float>(p);
      break;
    case kReal:
      v.number = Load<double>(p);
      break;
    case kDecimal:
    case kPDecimal:
      v.number = LoadDecimal(p, type.size, variable.decimal_places);
      break;
    case kString:
      v.is_text = true;
      v.text = TrimRight(std::string(reinterpret_cast<const char*>(p), type.size));
      break;
    case kCString:
      v.is_text = true;
      v.text = std::string(reinterpret_cast<const char*>(p),
                           strnlen(reinterpret_cast<const char*>(p), type.size));
      break;
    case kPString: {
      v.is_text = true;
      size_t n = type.size ? std::min<size_t>(p[0], type.size - 1) : 0;
      v.text = std::string(reinterpret_cast<const char*>(p + 1), n);
      break;
    }
    default:
      break;
  }
  return v;
}

bool WriteUse(const UseVariable& variable, const UseType& type, const UseValue& value) {
  auto* p = static_cast<uint8_t*>(variable.address);
  if (!p) return false;
  double n = value.is_text ? values::ParseNumberText(value.text) : value.number;
  std::string text = value.is_text ? value.text : PlainNumber(value.number);
  switch (type.type) {
    case kByte:
      return StoreInteger<uint8_t>(p, n);
    case kShort:
      return StoreInteger<int16_t>(p, n);
    case kUShort:
      return StoreInteger<uint16_t>(p, n);
    case kDate:
    case kTime:
    case kLong:
      return StoreInteger<int32_t>(p, n);
    case kULong:
      return StoreInteger<uint32_t>(p, n);
    case kSReal:
      Store<float>(p, static_cast<float>(n));
      return true;
    case kReal:
      Store<double>(p, n);
      return true;
    case kDecimal:
    case kPDecimal:
      return StoreDecimal(p, type.size, variable.decimal_places, n);
    case kString:
      std::memset(p, ' ', type.size);
      std::memcpy(p, text.data(), std::min<size_t>(text.size(), type.size));
      return true;
    case kCString: {
      if (type.size == 0) return false;
      size_t k = std::min<size_t>(text.size(), type.size - 1);
      std::memcpy(p, text.data(), k);
      p[k] = 0;
      return true;
    }
    case kPString: {
      if (type.size == 0) return false;
      size_t k = std::min<size_t>({text.size(), type.size - 1, size_t{255}});
      p[0] = static_cast<uint8_t>(k);
      std::memcpy(p + 1, text.data(), k);
      return true;
    }
    default:
      return false;
  }
}

std::string DisplayText(const UseVariable& variable, const UseType& type,
                        std::string_view picture) {
  UseValue v = ReadUse(variable, type);
  if (!v.is_text && variable.shown_blank == v.number) return std::string();
  if (picture.empty()) return v.is_text ? v.text : PlainNumber(v.number);
  if (v.is_text) return TrimRight(values::FormatText(v.text, picture));
  return Trim(values::Format(v.number, picture));
}

bool ParseEntryText(std::string_view text, std::string_view picture_text, const UseType& type,
                    UseValue* value) {
  values::Picture picture(picture_text);
  std::string trimmed = Trim(text);
  UseValue parsed;
  if (picture_text.empty() || !picture.valid()) {
    parsed.is_text = IsTextType(type.type);
    if (parsed.is_text) {
      parsed.text = std::string(text);
    } else {
      values::Picture none;
      if (!NumberCharactersValid(trimmed, none)) return false;
      parsed.number = values::ParseNumberText(trimmed);
    }
  } else {
    values::DeformattedValue d = values::Deformat(trimmed, picture);
    switch (picture.kind()) {
      case values::PictureKind::kNumber:
      case values::PictureKind::kScientific:
        if (!NumberCharactersValid(trimmed, picture)) return false;
        if (values::Format(d.number, picture_text).find('#') != std::string::npos) return false;
        break;
      case values::PictureKind::kDate:
      case values::PictureKind::kTime:
        if (!trimmed.empty() && d.number == 0) return false;
        break;
      case values::PictureKind::kPattern:
      case values::PictureKind::kKeyIn: {
        if (trimmed.empty()) break;  // a cleared entry: no number, no text
        // A typed zero shows blank again where the picture blanks zeros.
        if (picture.blank_when_zero() && IsTypedZero(trimmed, picture_text)) break;
        if (d.is_text && !values::KeyInFits(d.text, picture)) return false;
        std::string again = d.is_text ? values::FormatText(d.text, picture_text)
                                      : values::Format(d.number, picture_text);
        if (Trim(again) != trimmed) return false;
        break;
      }
      case values::PictureKind::kString:
        break;
    }
    parsed.is_text = d.is_text;
    parsed.number = d.number;
    parsed.text = d.is_text ? d.text : d.decimal;
    if (IsTextType(type.type) && !d.is_text) {
      parsed.is_text = true;
      parsed.text = Trim(std::string(text));
    }
  }
  // The value must fit the variable: try it on a scratch copy of the storage.
  if (type.type != 0 && !IsTextType(type.type) && type.size > 0 && type.size <= 64) {
    uint8_t scratch[64] = {};
    UseVariable probe{scratch, 0};
    UseValue n = parsed;
    if (n.is_text) {
      n.is_text = false;
      n.number = values::ParseNumberText(n.text);
    }
    if (!WriteUse(probe, type, n)) return false;
  }
  *value = parsed;
  return true;
}

}  // namespace carelog::window
