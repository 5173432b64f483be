#include "app/program_options.h"

#include <cstring>

#include "runtime/host/automation_script.h"
#include "runtime/values/standard_date.h"

namespace carelog::app {
namespace {

// Reads exactly `digits` decimal digits at text[*at]; advances past them.
bool Digits(const std::string& text, size_t* at, size_t digits, int* value) {
  if (*at + digits > text.size()) return false;
  int v = 0;
  for (size_t i = 0; i < digits; ++i) {
    char c = text[*at + i];
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  *value = v;
  *at += digits;
  return true;
}

bool Literal(const std::string& text, size_t* at, char c) {
  if (*at >= text.size() || text[*at] != c) return false;
  ++*at;
  return true;
}

bool StartsWith(const char* text, const char* prefix) {
  return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

}  // namespace

bool ParseMoment(const std::string& text, int32_t* date, int32_t* time) {
  size_t at = 0;
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (!Digits(text, &at, 4, &year) || !Literal(text, &at, '-') || !Digits(text, &at, 2, &month) ||
      !Literal(text, &at, '-') || !Digits(text, &at, 2, &day)) {
    return false;
  }
  if (at < text.size()) {
    if (text[at] != 'T' && text[at] != ' ') return false;
    ++at;
    if (!Digits(text, &at, 2, &hour) || !Literal(text, &at, ':') ||
        !Digits(text, &at, 2, &minute)) {
      return false;
    }
    if (at < text.size() && (!Literal(text, &at, ':') || !Digits(text, &at, 2, &second))) {
      return false;
    }
    if (at != text.size()) return false;
  }
  if (month < 1 || month > 12 || day < 1 || day > values::DaysInMonth(month, year)) return false;
  if (hour > 23 || minute > 59 || second > 59) return false;
  int32_t standard_date = values::DayNumber(year, month, day);
  if (standard_date <= 0) return false;
  *date = standard_date;
  int32_t standard_time = values::BuildTime(hour, minute, second, 0);
  *time = standard_time > 0 ? standard_time : 1;  // midnight is 1
  return true;
}

bool ParseProgramOptions(int argc, const char* const* argv, ProgramOptions* out,
                         std::string* error) {
  *out = ProgramOptions{};
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--headless") == 0 || StartsWith(arg, "--display=") ||
        StartsWith(arg, "--screen=") || StartsWith(arg, "--scale=")) {
      continue;  // read below, by the display layer
    } else if (std::strcmp(arg, "--script") == 0) {
      if (i + 1 >= argc || argv[i + 1][0] == '\0') {
        *error = "--script needs a file name";
        return false;
      }
      ++i;
    } else if (StartsWith(arg, "--clock=")) {
      if (!ParseMoment(arg + 8, &out->clock_date, &out->clock_time)) {
        *error = std::string("--clock: not a moment YYYY-MM-DD[THH:MM[:SS]]: ") + (arg + 8);
        return false;
      }
      out->clock_given = true;
    } else if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      out->help = true;
    } else {
      *error = std::string("unknown option: ") + arg;
      return false;
    }
  }
  if (!host::DisplayChoiceFromArguments(argc, argv, &out->display)) {
    *error = "--display: expected auto, sdl or headless";
    return false;
  }
  if (!host::ScreenSizeFromArguments(argc, argv)) {
    *error = "--screen: expected WIDTHxHEIGHT in pixels, from 1x1 to 16384x16384";
    return false;
  }
  if (!host::ScaleFromArguments(argc, argv)) {
    *error = "--scale: expected a number from 1 to 4 (screen pixels per 1/96 inch)";
    return false;
  }
  host::ScriptPathFromArguments(argc, argv, &out->script);
  return true;
}

const char* ProgramUsage() {
  return "usage: carelog [--headless | --display=auto|sdl|headless] [--script FILE]\n"
         "               [--clock=YYYY-MM-DD[THH:MM[:SS]]] [--screen=WIDTHxHEIGHT]\n"
         "               [--scale=N]\n"
         "The data files are read and written in the working directory.\n";
}

}  // namespace carelog::app
