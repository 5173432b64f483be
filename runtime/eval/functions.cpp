#include "runtime/eval/functions.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "runtime/eval/values_bridge.h"
#include "runtime/host/system.h"

namespace carelog::eval {

namespace {
constexpr ValueType kInt = ValueType::kInteger;
constexpr ValueType kReal = ValueType::kReal;
constexpr ValueType kStr = ValueType::kString;
}  // namespace

int32_t Value::AsInteger() const {
  switch (type) {
    case ValueType::kInteger:
      return integer;
    case ValueType::kReal:
      return RealToInteger(real);
    default:
      return RealToInteger(TextToReal(text));
  }
}

double Value::AsReal() const {
  switch (type) {
    case ValueType::kInteger:
      return integer;
    case ValueType::kReal:
      return real;
    default:
      return TextToReal(text);
  }
}

std::string Value::AsString() const {
  switch (type) {
    case ValueType::kInteger:
      return IntegerToText(integer);
    case ValueType::kReal:
      return RealToText(real);
    default:
      return text;
  }
}

// Argument access for the functions, with defaults for the absent optional ones.
class Arguments {
 public:
  explicit Arguments(std::span<const NodePtr> nodes) : nodes_(nodes) {}
  bool Has(size_t i) const { return i < nodes_.size(); }
  bool IsText(size_t i) const { return Has(i) && nodes_[i]->type() == ValueType::kString; }
  int32_t Integer(size_t i, int32_t absent = 0) const {
    return Has(i) ? nodes_[i]->Integer() : absent;
  }
  double Real(size_t i, double absent = 0) const { return Has(i) ? nodes_[i]->Real() : absent; }
  std::string String(size_t i) const { return Has(i) ? nodes_[i]->String() : std::string(); }

 private:
  std::span<const NodePtr> nodes_;
};

namespace {

std::string Clip(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

std::string TrimLeft(std::string text) {
  text.erase(0, std::min(text.find_first_not_of(' '), text.size()));
  return text;
}

// A requested result length: absent means the source's length; at most 64000 bytes, so a
// hostile length cannot exhaust memory.
size_t ResultLength(const Arguments& args, size_t i, size_t absent) {
  if (!args.Has(i)) return std::min<size_t>(absent, 64000);
  return static_cast<size_t>(std::clamp(args.Integer(i), 0, 64000));
}

// SUB(text, position [, length]): position counts from 1, or from the end when negative;
// without a length the rest of the text.
std::string Sub(const Arguments& args) {
  const std::string text = args.String(0);
  const int64_t size = static_cast<int64_t>(text.size());
  int64_t position = args.Integer(1);
  if (position < 0) position = size + position + 1;
  if (position < 1) position = 1;
  if (position > size) return {};
  int64_t length = args.Has(2) ? args.Integer(2) : size;
  length = std::clamp<int64_t>(length, 0, size - position + 1);
  return text.substr(position - 1, length);
}

// INSTRING(sought, text [, step [, start]]): the step count at which `sought` occurs, searching
// from `start` (default 1, or the end for a negative step) in steps of `step` (default 1);
// 0 when not found.
int32_t InString(const Arguments& args) {
  const std::string sought = args.String(0);
  const std::string text = args.String(1);
  const int64_t step = args.Integer(2, 1);
  if (step == 0 || sought.empty() || sought.size() > text.size()) return 0;
  const int64_t last_start = static_cast<int64_t>(text.size() - sought.size()) + 1;
  int64_t position = args.Has(3) ? args.Integer(3) : (step > 0 ? 1 : last_start);
  for (; position >= 1 && position <= last_start; position += step) {
    if (text.compare(position - 1, sought.size(), sought) == 0) {
      return static_cast<int32_t>((position - 1) / std::abs(step) + 1);
    }
  }
  return 0;
}

std::string All(const Arguments& args) {
  const std::string pattern = args.String(0);
  const size_t length = ResultLength(args, 1, 255);
  std::string out;
  if (pattern.empty()) return std::string(length, ' ');
  out.reserve(length);
  while (out.size() < length) out += pattern.substr(0, length - out.size());
  return out;
}

// LEFT, RIGHT and CENTER place the text without its surrounding blanks in a field of the given
// length (default: the text's own length), cutting it when it does not fit.
enum class Placement { kLeft, kRight, kCenter };

std::string Place(const Arguments& args, Placement placement) {
  const std::string text = args.String(0);
  const size_t length = ResultLength(args, 1, text.size());
  std::string core = Clip(TrimLeft(text));
  if (core.size() > length) core.resize(length);
  const size_t room = length - core.size();
  const size_t before =
      placement == Placement::kLeft ? 0 : (placement == Placement::kRight ? room : room / 2);
  return std::string(before, ' ') + core + std::string(room - before, ' ');
}

std::string MapCase(std::string text, uint8_t (*map)(uint8_t)) {
  for (char& c : text) c = static_cast<char>(map(static_cast<uint8_t>(c)));
  return text;
}

// NUMERIC: 1 when the text, without surrounding blanks, is a number: an optional sign, digits
// with at most one point, and an optional exponent.
int32_t IsNumeric(const std::string& raw) {
  const std::string text = Clip(TrimLeft(raw));
  size_t i = 0;
  size_t digits = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  bool point = false;
  for (; i < text.size(); ++i) {
    if (text[i] >= '0' && text[i] <= '9') {
      ++digits;
    } else if (text[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t exponent_digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++exponent_digits;
    if (exponent_digits == 0) return 0;
  }
  return i == text.size() ? 1 : 0;
}

int32_t Memory() {
  return RealToInteger(static_cast<double>(host::AvailableMemory()));
}

int32_t Random(int32_t low, int32_t high) {
  static std::mt19937 generator{std::random_device{}()};
  if (low > high) std::swap(low, high);
  return std::uniform_int_distribution<int32_t>(low, high)(generator);
}

// ROUND(value, order): the multiple of `order` nearest to `value`, halves away from zero.
double Round(double value, double order) {
  order = std::fabs(order);
  if (order == 0) return value;
  return std::round(value / order) * order;
}

int32_t Shift(int32_t value, int32_t count) {
  const auto bits = static_cast<uint32_t>(value);
  if (count >= 32 || count <= -32) return 0;
  return static_cast<int32_t>(count >= 0 ? bits << count : bits >> -count);
}

// AGE(birth [, base]): the age at `base` (default today) in days below two months, in months
// below two years, else in years: "12 DAYS", "7 MOS", "43 YRS". Empty when either date is not
// a valid standard date or the birth is after the base.
std::string Age(const Arguments& args) {
  const int32_t base = args.Has(1) ? args.Integer(1) : TodayNumber();
  CalendarDate from;
  CalendarDate to;
  const int32_t birth = args.Integer(0);
  if (!SplitDateNumber(birth, &from) || !SplitDateNumber(base, &to) || birth > base) {
    return {};
  }
  int32_t months = (to.year - from.year) * 12 + (to.month - from.month);
  if (to.day < from.day) --months;
  if (months < 2) return std::to_string(base - birth) + " DAYS";
  if (months < 24) return std::to_string(months) + " MOS";
  return std::to_string(months / 12) + " YRS";
}

int32_t DatePart(int32_t day_number, int32_t CalendarDate::*part) {
  CalendarDate date;
  if (!SplitDateNumber(day_number, &date)) return 0;
  return date.*part;
}

// FORMAT(value, picture): a text value through the picture as text (number pictures read it
// as a number), any other value as its number.
std::string Format(const Arguments& args) {
  if (args.IsText(0)) return FormatTextWithPicture(args.String(0), args.String(1));
  return FormatNumberWithPicture(args.Real(0), args.String(1));
}

// DEFORMAT(text [, picture]): the value a picture reads from the text, as text; without a
// picture, the number in the text.
std::string Deformat(const Arguments& args) {
  if (!args.Has(1)) return RealToText(NumberInText(args.String(0)));
  return DeformatWithPicture(args.String(0), args.String(1));
}

}  // namespace

using A = const Arguments&;

// name, max args, min args, number, result, evaluation
const FunctionInfo kFunctions[kFunctionCount] = {
    {"MEMORY", 1, 0, 1, kInt, [](A) { return Value::Of(Memory()); }},
    {"SUB", 3, 2, 2, kStr, [](A a) { return Value::Of(Sub(a)); }},
    {"INSTRING", 4, 2, 3, kInt, [](A a) { return Value::Of(InString(a)); }},
    {"CLIP", 1, 1, 4, kStr, [](A a) { return Value::Of(Clip(a.String(0))); }},
    {"ALL", 2, 1, 5, kStr, [](A a) { return Value::Of(All(a)); }},
    {"CENTER", 2, 1, 6, kStr, [](A a) { return Value::Of(Place(a, Placement::kCenter)); }},
    {"CHR", 1, 1, 7, kStr,
     [](A a) { return Value::Of(std::string(1, static_cast<char>(a.Integer(0) & 0xFF))); }},
    {"DEFORMAT", 2, 1, 8, kStr, [](A a) { return Value::Of(Deformat(a)); }},
    {"FORMAT", 2, 2, 9, kStr, [](A a) { return Value::Of(Format(a)); }},
    {"LEFT", 2, 1, 10, kStr, [](A a) { return Value::Of(Place(a, Placement::kLeft)); }},
    {"LEN", 1, 1, 11, kInt,
     [](A a) {
       return Value::Of(static_cast<int32_t>(std::min<size_t>(a.String(0).size(), INT32_MAX)));
     }},
    {"LOWER", 1, 1, 12, kStr, [](A a) { return Value::Of(MapCase(a.String(0), LowerCaseOf)); }},
    {"NUMERIC", 1, 1, 13, kInt, [](A a) { return Value::Of(IsNumeric(a.String(0))); }},
    {"RIGHT", 2, 1, 14, kStr, [](A a) { return Value::Of(Place(a, Placement::kRight)); }},
    {"UPPER", 1, 1, 15, kStr, [](A a) { return Value::Of(MapCase(a.String(0), UpperCaseOf)); }},
    {"VAL", 1, 1, 16, kInt,
     [](A a) {
       const std::string text = a.String(0);
       return Value::Of(static_cast<int32_t>(text.empty() ? 0 : static_cast<uint8_t>(text[0])));
     }},
    {"ABS", 1, 1, 17, kReal, [](A a) { return Value::Of(std::fabs(a.Real(0))); }},
    {"INRANGE", 3, 3, 18, kInt,
     [](A a) {
       const double x = a.Real(0);
       return Value::Of(static_cast<int32_t>(x >= a.Real(1) && x <= a.Real(2)));
     }},
    {"INT", 1, 1, 19, kInt, [](A a) { return Value::Of(RealToInteger(std::trunc(a.Real(0)))); }},
    {"LOGE", 1, 1, 20, kReal, [](A a) { return Value::Of(std::log(a.Real(0))); }},
    {"LOG10", 1, 1, 21, kReal, [](A a) { return Value::Of(std::log10(a.Real(0))); }},
    {"RANDOM", 2, 2, 22, kInt, [](A a) { return Value::Of(Random(a.Integer(0), a.Integer(1))); }},
    {"ROUND", 2, 2, 23, kReal, [](A a) { return Value::Of(Round(a.Real(0), a.Real(1))); }},
    {"SQRT", 1, 1, 24, kReal, [](A a) { return Value::Of(std::sqrt(a.Real(0))); }},
    {"SIN", 1, 1, 25, kReal, [](A a) { return Value::Of(std::sin(a.Real(0))); }},
    {"COS", 1, 1, 26, kReal, [](A a) { return Value::Of(std::cos(a.Real(0))); }},
    {"TAN", 1, 1, 27, kReal, [](A a) { return Value::Of(std::tan(a.Real(0))); }},
    {"ASIN", 1, 1, 28, kReal, [](A a) { return Value::Of(std::asin(a.Real(0))); }},
    {"ACOS", 1, 1, 29, kReal, [](A a) { return Value::Of(std::acos(a.Real(0))); }},
    {"ATAN", 1, 1, 30, kReal, [](A a) { return Value::Of(std::atan(a.Real(0))); }},
    {"BAND", 2, 2, 31, kInt, [](A a) { return Value::Of(a.Integer(0) & a.Integer(1)); }},
    {"BOR", 2, 2, 32, kInt, [](A a) { return Value::Of(a.Integer(0) | a.Integer(1)); }},
    {"BXOR", 2, 2, 33, kInt, [](A a) { return Value::Of(a.Integer(0) ^ a.Integer(1)); }},
    {"BSHIFT", 2, 2, 34, kInt, [](A a) { return Value::Of(Shift(a.Integer(0), a.Integer(1))); }},
    {"TODAY", 0, 0, 35, kInt, [](A) { return Value::Of(TodayNumber()); }},
    {"CLOCK", 0, 0, 36, kInt, [](A) { return Value::Of(ClockNumber()); }},
    {"DATE", 3, 3, 37, kInt,
     [](A a) { return Value::Of(DateNumber(a.Integer(0), a.Integer(1), a.Integer(2))); }},
    {"DAY", 1, 1, 38, kInt,
     [](A a) { return Value::Of(DatePart(a.Integer(0), &CalendarDate::day)); }},
    {"MONTH", 1, 1, 39, kInt,
     [](A a) { return Value::Of(DatePart(a.Integer(0), &CalendarDate::month)); }},
    {"YEAR", 1, 1, 40, kInt,
     [](A a) { return Value::Of(DatePart(a.Integer(0), &CalendarDate::year)); }},
    {"AGE", 2, 1, 41, kStr, [](A a) { return Value::Of(Age(a)); }},
};

Value CallFunction(const FunctionInfo& function, std::span<const NodePtr> nodes) {
  return function.call(Arguments(nodes));
}

}  // namespace carelog::eval
