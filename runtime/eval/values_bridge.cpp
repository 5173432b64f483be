#include "runtime/eval/values_bridge.h"

#include "runtime/eval/value.h"
#include "runtime/values/clock.h"
#include "runtime/values/locale.h"
#include "runtime/values/picture.h"
#include "runtime/values/standard_date.h"

namespace carelog::eval {

uint8_t UpperCaseOf(uint8_t c) {
  return values::UpperCase(c);
}
uint8_t LowerCaseOf(uint8_t c) {
  return values::LowerCase(c);
}

int CompareNamesCollated(std::string_view a, std::string_view b) {
  return values::CompareCollated(a.data(), a.size(), b.data(), b.size());
}

uint64_t LocaleChangeCount() {
  return values::LocaleChanges();
}

int32_t TodayNumber() {
  return values::Today();
}
int32_t ClockNumber() {
  return values::TimeOfDay();
}

int32_t DateNumber(int32_t month, int32_t day, int32_t year) {
  return values::BuildDate(month, day, year);
}

bool SplitDateNumber(int32_t number, CalendarDate* date) {
  values::CalendarDate parts;
  if (!values::SplitDate(number, &parts)) return false;
  *date = CalendarDate{parts.year, parts.month, parts.day};
  return true;
}

int32_t DayNumberOf(int32_t year, int32_t month, int32_t day) {
  return values::DayNumber(year, month, day);
}

int32_t TimeNumberOf(int32_t hour, int32_t minute, int32_t second, int32_t hundredths) {
  return values::BuildTime(hour, minute, second, hundredths);
}

std::string FormatNumberWithPicture(double number, const std::string& picture) {
  return values::Format(number, picture);
}

std::string FormatTextWithPicture(const std::string& text, const std::string& picture) {
  return values::FormatText(text, picture);
}

std::string DeformatWithPicture(const std::string& text, const std::string& picture) {
  const values::DeformattedValue value = values::Deformat(text, picture);
  return value.is_text ? value.text : RealToText(value.number);
}

double NumberInText(const std::string& text) {
  return values::ParseNumberText(text);
}

}  // namespace carelog::eval
