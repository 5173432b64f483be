// The constant description of one browse: its file, its sort orders with their keys, tab texts
// and ranges, the columns of its list, its buttons and the procedures they call. Every browse of
// the application is one BrowseTable (app/procedures/), run by the one browse engine
// (browse_box.h for the paging of one box, browse_loop.h for a browse window's event loop).
//
// Names are the declared names of the data dictionary ("PAT:KEY_LAST_NAME", "MED:DATE"); the
// catalogue test checks that every name resolves and that every control the table names exists
// in the browse's window definition.
//
// Ranges. A ranged sort order shows only the records whose first key component equals a range
// source (for the patient-ranged browses the patient number in the patient record buffer). The
// box copies the source into its reset value, which it binds for expressions under
// "BRW<box>::<reset_name>"; the range expression names that value, written for box 1
// ("MED:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number") and renumbered for other boxes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "app/data/dictionary.h"

namespace carelog::app {

// Where a ranged sort order takes its range value from.
struct RangeSource {
  appdata::FileId file;  // the record buffer holding it
  const char* field;     // "PAT:PATIENT_NUMBER"
};

struct SortOrder {
  const char* tab;  // the tab text that selects it; nullptr in a browse with one order
  const char* key;  // the primary file's key, "PAT:KEY_LAST_NAME"
  // Ranged orders only (expression nullptr otherwise):
  const char* range_expression;  // over BRW1:: names, see the header comment
  const char* reset_name;        // "Sort1:Reset:PAT:Patient_Number"
  RangeSource source;
};

// A column shows a field of the primary file, or of a file looked up for each row through its
// key by a number the primary record holds (the patient's name beside a progress note).
struct LookupRow {
  appdata::FileId file;  // PAT
  const char* key;       // "PAT:KEY_PATIENT_NUMBER", a unique key over one LONG
  const char* by_field;  // the primary file's field holding the number, "PRO:PATIENT_NUMBER"
};

struct ColumnRow {
  const char* field;  // "MED:DATE", or a field of the lookup file
  // A number that stands for "nothing recorded yet" (a running lowest value's starting point):
  // the row shows it as 0, which the column's blank-when-zero picture leaves empty.
  std::optional<double> shown_blank = std::nullopt;
};

// What a button does.
enum class ButtonRole : uint8_t {
  kInsert,
  kChange,
  kDelete,
  kClose,
  kHelp,
  kPrint,      // calls the report procedure on the highlighted record
  kCopy,       // calls the form with an insert request on a copy of the highlighted record
  kSelect,     // answers the caller with the highlighted record
  kSubBrowse,  // calls a browse ranged on the highlighted record
};

struct ButtonRow {
  int control;  // the button's control number in the window definition
  ButtonRole role;
  const char* procedure;  // kPrint, kSubBrowse: the procedure called; nullptr otherwise
};

// A menu item of the browse window that calls a procedure on the highlighted record.
struct MenuRow {
  int item;  // control number (negative)
  const char* procedure;
};

struct BrowseTable {
  const char* name;    // catalogue name, "BROWSEMED:KEY_PATIENT_NUMBER"
  const char* module;  // "carelog.cpp$carlg021"
  const char* window;  // "BROWSEMED:KEY_PATIENT_NUMBER$QUICKWINDOW"
  appdata::FileId primary;
  std::span<const appdata::FileId> files;  // every file it opens, in opening order
  std::span<const SortOrder> orders;
  std::span<const ColumnRow> columns;
  const LookupRow* lookup;  // nullptr when every column is the primary file's
  int sheet;                // control number of the sheet; 0 when the window has none
  int list;                 // control number of the list
  std::span<const ButtonRow> buttons;
  std::span<const MenuRow> menu;
  const char* form;  // the update form, "UPDATEMEDS"
  bool quick_scan;   // multi-record fills run with QUICKSCAN on
  bool type_ahead;   // the select browse's locator
  // Browses that ask for their date first (BROWSEDATE, BROWSEDATES): the local date bound
  // under this name is the range source.
  const char* local_date;
};

}  // namespace carelog::app
