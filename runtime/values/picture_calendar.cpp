#include <cstring>
#include <string>

#include "runtime/values/picture_cells.h"

namespace carelog::values {
namespace {

// Date and time layouts, one letter per cell:
//   M m  month digit (tens shown blank / '0')    D d  day digit    y  year digit
//   N    month-name letter                        H h  hour digit   i  minute   s  second
//   / ,  separator cell showing '/' or ','       ~    separator cell showing a blank
//   _    literal blank                            X    AM/PM marker (then a literal 'M')
constexpr const char* kDateLayouts[16] = {
    "Mm/dd/yy", "Mm/dd/yyyy", "NNN_Dd,yyyy", "NNNNNNNNNNNN_Dd,_yyyy",
    "Dd/mm/yy", "Dd/mm/yyyy", "Dd~NNN~yy",   "Dd~NNN~yyyy",
    "yy/mm/dd", "yyyy/mm/dd", "yymmdd",      "yyyymmdd",
    "mm/yy",    "mm/yyyy",    "yy/mm",       "yyyy/mm",
};

constexpr const char* kTimeLayouts[6] = {
    "Hh:ii", "Hhii", "Hh:iiXM", "Hh:ii:ss", "Hhiiss", "Hh:ii:ssXM",
};

void AddLayout(const char* layout, CellList* cells) {
  for (const char* p = layout; *p != 0; ++p) {
    switch (*p) {
      case 'M':
        cells->Add(' ', kCellMonth);
        break;
      case 'm':
        cells->Add('0', kCellMonth);
        break;
      case 'D':
        cells->Add(' ', kCellDay);
        break;
      case 'd':
        cells->Add('0', kCellDay);
        break;
      case 'y':
        cells->Add('0', kCellYear);
        break;
      case 'N':
        cells->Add(' ', kCellMonthName);
        break;
      case 'H':
        cells->Add(' ', kCellHour);
        break;
      case 'h':
        cells->Add('0', kCellHour);
        break;
      case 'i':
        cells->Add('0', kCellMinute);
        break;
      case 's':
        cells->Add('0', kCellSecond);
        break;
      case '~':
        cells->Add(' ', kCellSeparator);
        break;
      case '/':
      case ',':
      case ':':
        cells->Add(*p, kCellSeparator);
        break;
      case '_':
        cells->Add(' ', kCellLiteral);
        break;
      case 'X':
        cells->Add(kAmPmLocaleTexts, kCellAmPm);
        cells->Add('M', kCellLiteral);
        ++p;  // the 'M' that follows belongs to the marker
        break;
      default:
        cells->Add(*p, kCellLiteral);
        break;
    }
  }
}

// Date picture 17 from the short date format: the order from its first letter, the separator
// after its last 'M', leading zeros from "dd" / "MM", four year digits from "yyy".
void AddShortDate(const std::string& format, CellList* cells) {
  char separator = '/';
  size_t last_m = format.rfind('M');
  if (last_m != std::string::npos && last_m + 1 < format.size()) {
    char c = format[last_m + 1];
    bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (!letter && c != '\'' && c != 0) separator = c;
  }
  std::string day = format.find("dd") != std::string::npos ? "dd" : "Dd";
  std::string month = format.find("MM") != std::string::npos ? "mm" : "Mm";
  std::string year = format.find("yyy") != std::string::npos ? "yyyy" : "yy";
  char first = format.empty() ? 'M' : format[0];
  std::string order[3];
  if (first == 'd') {
    order[0] = day, order[1] = month, order[2] = year;
  } else if (first == 'y') {
    order[0] = year, order[1] = month, order[2] = day;
  } else {
    order[0] = month, order[1] = day, order[2] = year;
  }
  for (int i = 0; i < 3; ++i) {
    if (i > 0) cells->Add(separator, kCellSeparator);
    AddLayout(order[i].c_str(), cells);
  }
}

// Date picture 18 from the long date format: its day, month and year fields in format order
// with the literal text between them. Weekday fields (and the text right after them) are left
// out, as no cell shows a weekday. "MMM" gives three month-name cells, "MMMM" as many as the
// longest month name.
void AddLongDate(const std::string& format, const LocaleTables& locale, CellList* cells) {
  int longest = 1;
  for (const auto& name : locale.month_names) {
    int n = static_cast<int>(std::strlen(name));
    if (n > longest) longest = n;
  }
  std::string pending;  // literal text waiting for the next field
  bool any_field = false;
  bool after_weekday = false;
  size_t i = 0;
  while (i < format.size()) {
    char c = format[i];
    if (c == '\'') {
      size_t close = format.find('\'', i + 1);
      if (close == std::string::npos) close = format.size();
      if (!after_weekday) pending.append(format, i + 1, close - i - 1);
      i = close + 1;
      continue;
    }
    if (c != 'd' && c != 'M' && c != 'y') {
      if (!after_weekday) pending.push_back(c);
      ++i;
      continue;
    }
    size_t run = 1;
    while (i + run < format.size() && format[i + run] == c) ++run;
    i += run;
    if (c == 'd' && run >= 3) {
      after_weekday = true;
      pending.clear();
      continue;
    }
    after_weekday = false;
    if (any_field) {
      for (char p : pending) cells->Add(p, kCellLiteral);
    }
    pending.clear();
    any_field = true;
    if (c == 'd') {
      AddLayout(run == 1 ? "Dd" : "dd", cells);
    } else if (c == 'y') {
      AddLayout(run >= 3 ? "yyyy" : "yy", cells);
    } else if (run <= 2) {
      AddLayout(run == 1 ? "Mm" : "mm", cells);
    } else {
      int n = run == 3 ? 3 : longest;
      for (int k = 0; k < n; ++k) cells->Add(' ', kCellMonthName);
    }
  }
}

// Time pictures 7 and 8 from the international time settings.
void AddSystemTime(bool seconds, const IntlSettings& intl, CellList* cells) {
  AddLayout(intl.hour_leading_zero ? "hh" : "Hh", cells);
  cells->Add(intl.time_separator, kCellLiteral);
  AddLayout("ii", cells);
  if (seconds) {
    cells->Add(intl.time_separator, kCellLiteral);
    AddLayout("ss", cells);
  }
  if (!intl.time_24hour) {
    cells->Add(' ', kCellLiteral);
    cells->Add(kAmPmSystemTexts, kCellAmPm);
    cells->Add('M', kCellLiteral);
  }
}

}  // namespace

bool DatePictureCells(int number, const LocaleTables& locale, CellList* cells) {
  if (number >= 1 && number <= 16) {
    AddLayout(kDateLayouts[number - 1], cells);
  } else if (number == 17) {
    AddShortDate(locale.intl.short_date, cells);
  } else if (number == 18) {
    AddLongDate(locale.intl.long_date, locale, cells);
    if (cells->count == 0 || cells->overflow) {
      *cells = CellList{};
      AddLongDate(IntlSettings{}.long_date, locale, cells);
    }
  } else {
    return false;
  }
  return true;
}

bool TimePictureCells(int number, const IntlSettings& intl, CellList* cells) {
  if (number >= 1 && number <= 6) {
    AddLayout(kTimeLayouts[number - 1], cells);
  } else if (number == 7 || number == 8) {
    AddSystemTime(number == 8, intl, cells);
  } else {
    return false;
  }
  return true;
}

}  // namespace carelog::values
