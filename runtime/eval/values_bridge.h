// The evaluator's view of the value layer: case and collation tables, standard dates and
// times, the clock, and pictures. Everything the evaluator needs from there passes through
// these few functions, so the rest of the evaluator does not depend on how the value layer
// spells them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace carelog::eval {

uint8_t UpperCaseOf(uint8_t c);
uint8_t LowerCaseOf(uint8_t c);
// The case-insensitive collated comparison (name table order).
int CompareNamesCollated(std::string_view a, std::string_view b);
// Moves whenever the locale's tables may have changed (and with them that comparison).
uint64_t LocaleChangeCount();

struct CalendarDate {
  int32_t year = 0;
  int32_t month = 0;
  int32_t day = 0;
};

int32_t TodayNumber();
int32_t ClockNumber();
// DATE(month, day, year): normalises an overflowing day or month, then converts; -1 invalid.
int32_t DateNumber(int32_t month, int32_t day, int32_t year);
// False for a number that is no valid standard date.
bool SplitDateNumber(int32_t number, CalendarDate* date);
// A calendar date to its standard day number, -1 when invalid.
int32_t DayNumberOf(int32_t year, int32_t month, int32_t day);
int32_t TimeNumberOf(int32_t hour, int32_t minute, int32_t second, int32_t hundredths);

// FORMAT(value, picture) of a number (or standard date or time), and of a text (which number,
// date and time pictures read as a number).
std::string FormatNumberWithPicture(double number, const std::string& picture);
std::string FormatTextWithPicture(const std::string& text, const std::string& picture);
// DEFORMAT(text, picture) as text; without a picture the number in the text.
std::string DeformatWithPicture(const std::string& text, const std::string& picture);
double NumberInText(const std::string& text);

}  // namespace carelog::eval
