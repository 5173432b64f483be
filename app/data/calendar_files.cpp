// The declarations of MonthCal, Calendar and Fonts: calendars and the display font.
// Per file: the field table (name, type, declared offset, member of the record structure, group
// depth), the keys with components by name, the memos with their bound names, the layout stream
// encoded from the field table, the record buffer and the accessor of its live declaration.
#include <array>
#include <cstddef>

#include "app/data/dictionary.h"
#include "app/data/file_info.h"
#include "app/data/keys.h"
#include "app/data/records.h"

namespace carelog::appdata {

using store::kFileAttrCreate;
using store::kFileAttrKept08;
using store::kFileAttrThread;

// MonthCal: month calendars of 42 day cells.
namespace month_cal {
using Rec = MonthCalRecord;
constexpr FieldRow kFields[] = {
    {"MON:PATIENT_NUMBER", Long(), 0, offsetof(Rec, PATIENT_NUMBER)},
    {"MON:RECNO", Long(), 4, offsetof(Rec, RECNO)},
    {"MON:DAY_INFO", Dim(42, String(20)), 8, offsetof(Rec, DAY_INFO)},
    {"MON:DAYNO", Dim(42, Long()), 848, offsetof(Rec, DAYNO)},
    {"MON:CALENDARDATE", Long(), 1016, offsetof(Rec, CALENDARDATE)},
};
static_assert(FirstMisplacedField(kFields, sizeof(Rec)) == kAllFieldsInPlace);
constexpr auto kKeyRows = std::to_array<KeyRow>({
    {"MON:PATIENTNUMBERKEY", kDupOptNoCase, {"+MON:PATIENT_NUMBER"}},
    {"MON:RECNOKEY", kRecordId, {"+MON:RECNO"}},
});
constexpr auto kKeys = ResolveKeys(kFields, kKeyRows);
constexpr std::array<MemoRow, 0> kMemos{};
constexpr auto kLayout = EncodeLayout<LayoutSize(kFields)>(kFields);
static_assert(KeyNamed(kKeys, MonKey::PATIENTNUMBERKEY, "MON:PATIENTNUMBERKEY"));
static_assert(KeyNamed(kKeys, MonKey::RECNOKEY, "MON:RECNOKEY"));
}  // namespace month_cal

thread_local MonthCalRecord MON;
constinit const FileInfo kMonthCalInfo = {
    .label = "MonthCal",
    .prefix = "MON",
    .disk_name = "MONTHCAL",
    .attributes = kFileAttrCreate | kFileAttrThread,
    .record_size = sizeof(MonthCalRecord),
    .fields = month_cal::kFields,
    .keys = month_cal::kKeys,
    .memos = month_cal::kMemos,
    .layout = month_cal::kLayout,
    .identifying_key = "MON:RECNOKEY",
    .instance = [] { return &MonthCalFile(); },
};
store::FileDeclaration& MonthCalFile() {
  thread_local DeclaredFile file(kMonthCalInfo, &MON);
  return file.declaration();
}

// Calendar: appointments.
namespace calendar {
using Rec = CalendarRecord;
constexpr FieldRow kFields[] = {
    {"DAT:PATIENT_NUMBER", Long(), 0, offsetof(Rec, PATIENT_NUMBER)},
    {"DAT:DAYNO", Long(), 4, offsetof(Rec, DAYNO)},
    {"DAT:TIMEIN", Long(), 8, offsetof(Rec, TIMEIN)},
    {"DAT:TIMEOUT", ULong(), 12, offsetof(Rec, TIMEOUT)},
    {"DAT:NOTES", String(100), 16, offsetof(Rec, NOTES)},
};
static_assert(FirstMisplacedField(kFields, sizeof(Rec)) == kAllFieldsInPlace);
constexpr auto kKeyRows = std::to_array<KeyRow>({
    {"DAT:DATEKEY", kDupOptNoCase, {"+DAT:DAYNO", "+DAT:TIMEIN"}},
    {"DAT:PATKEY", kDupOptNoCase, {"+DAT:PATIENT_NUMBER"}},
});
constexpr auto kKeys = ResolveKeys(kFields, kKeyRows);
constexpr std::array<MemoRow, 0> kMemos{};
constexpr auto kLayout = EncodeLayout<LayoutSize(kFields)>(kFields);
static_assert(KeyNamed(kKeys, DatKey::DATEKEY, "DAT:DATEKEY"));
static_assert(KeyNamed(kKeys, DatKey::PATKEY, "DAT:PATKEY"));
}  // namespace calendar

thread_local CalendarRecord DAT;
constinit const FileInfo kCalendarInfo = {
    .label = "Calendar",
    .prefix = "DAT",
    .disk_name = "Calendar",
    .attributes = kFileAttrCreate | kFileAttrKept08 | kFileAttrThread,
    .record_size = sizeof(CalendarRecord),
    .fields = calendar::kFields,
    .keys = calendar::kKeys,
    .memos = calendar::kMemos,
    .layout = calendar::kLayout,
    .identifying_key = "DAT:DATEKEY",
    .instance = [] { return &CalendarFile(); },
};
store::FileDeclaration& CalendarFile() {
  thread_local DeclaredFile file(kCalendarInfo, &DAT);
  return file.declaration();
}

// Fonts: the display font.
namespace fonts {
using Rec = FontsRecord;
constexpr FieldRow kFields[] = {
    {"WFN:FONTTYPEFACE", String(40), 0, offsetof(Rec, FONTTYPEFACE)},
    {"WFN:FONTSIZE", Short(), 40, offsetof(Rec, FONTSIZE)},
    {"WFN:FONTCOLOR", Long(), 42, offsetof(Rec, FONTCOLOR)},
    {"WFN:FONTSTYLE", Short(), 46, offsetof(Rec, FONTSTYLE)},
};
static_assert(FirstMisplacedField(kFields, sizeof(Rec)) == kAllFieldsInPlace);
constexpr std::array<DeclaredKey, 0> kKeys{};
constexpr std::array<MemoRow, 0> kMemos{};
constexpr auto kLayout = EncodeLayout<LayoutSize(kFields)>(kFields);
}  // namespace fonts

FontsRecord WFN;
constinit const FileInfo kFontsInfo = {
    .label = "Fonts",
    .prefix = "WFN",
    .disk_name = "Fonts.Lds",
    .attributes = kFileAttrCreate,
    .record_size = sizeof(FontsRecord),
    .fields = fonts::kFields,
    .keys = fonts::kKeys,
    .memos = fonts::kMemos,
    .layout = fonts::kLayout,
    .identifying_key = nullptr,
    .instance = [] { return &FontsFile(); },
};
store::FileDeclaration& FontsFile() {
  static DeclaredFile file(kFontsInfo, &WFN);
  return file.declaration();
}

}  // namespace carelog::appdata
