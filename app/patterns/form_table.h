// The constant description of one update form: the file it adds, changes and deletes records
// of, its flavour and titles, how a new record is numbered and primed, which fields it shows on
// which controls, which of them must be found in another file, and the procedures its buttons
// call. Every update form of the application is one FormTable (app/procedures/), run by the one
// form engine (form_engine.h).
//
// Names are declared names of the data dictionary ("MED:PATIENT_NUMBER", "MED:RECORD_KEY");
// the catalogue test checks that each resolves in its file and that every control a table
// names exists in the form's window definition with a USE descriptor of the field's storage.
//
// Control numbering (both flavours): 1 is the sheet holding the tabs, 2 the first prompt, 3 the
// first entry. Note forms number OK and "Cancel" 101 and 102; plain forms end with OK, "Cancel"
// and "Help", whose numbers the table gives.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "app/data/dictionary.h"

namespace carelog::app {

struct BrowseTable;

enum class FormFlavour : uint8_t {
  kPlain,  // the action is named in the window title
  kNote,   // the window keeps its title; the action message goes to the status bar, and
           // closing with unsaved changes asks whether to save them
};

// A control showing a field of the form's file (or one of its memos): element 0 is the whole
// field, 1..n an element of an array. A number field may have a value that means nothing was
// recorded yet (a range's starting point); the control shows it blank.
struct FieldBinding {
  int control;
  const char* field;  // "MED:DRUG", or a memo's declared name "PAT:PLANS_AND_PROGRESS"
  uint32_t element = 0;
  std::optional<double> shown_blank = {};
};

// Where a form's window puts the fields of its table. Two forms of one file share one table of
// fields; the second window may number its controls from `from` on `shift` higher (a note form
// gives OK and "Cancel" the numbers 101 and 102 in the middle of its fields).
struct ControlShift {
  int from = 0;  // 0: every control is numbered as the table gives it
  int shift = 0;
};

// A field whose value must be found in another file: on acceptance the value is looked up by
// `key` (a unique key over the one field `key_field`); a value not found calls the file's select
// browse, whose chosen record's `key_field` is copied back.
struct FieldLookupRow {
  int control;
  const char* field;       // the form's field, "MED:PATIENT_NUMBER"
  appdata::FileId file;    // the looked-up file, Patients
  const char* key;         // "PAT:KEY_PATIENT_NUMBER"
  const char* key_field;   // "PAT:PATIENT_NUMBER"
  const char* select;      // the select browse, "SELECTPATIENTS"
  const char* shown_name;  // the field as warning 11 names it, "MED:Patient_Number"
  bool zero_allowed;       // 0 stands for "none yet" and is not looked up
};

// A button of the form that calls another procedure with the request the table gives.
struct CallRow {
  int control;
  const char* procedure;
  int32_t request;
};

// A field primed on insert with a constant.
struct PrimedText {
  const char* field;
  const char* text;
  uint32_t element = 0;
};
struct PrimedNumber {
  const char* field;
  double number;
  uint32_t element = 0;
};

// A form that shows its record as one month on the grid of month_grid.h (the cells 1..42, the
// month and year buttons, the heading): each cell's day and note are elements of two array
// fields of 42 elements, and a date field holds a date within the month (form_month_grid.h).
struct MonthGridRow {
  const char* date_field;  // "MON:CALENDARDATE": the month shown, primed today on insert
  const char* day_field;   // "MON:DAYNO": the day each cell shows, 0 outside the month
  const char* note_field;  // "MON:DAY_INFO": a cell's note; a cell with one shows "*"
  int after_note;          // the control focused once a cell's note was asked for
  std::string (*ask_note)(const std::string& note);  // the new note, or `note` when cancelled
};

struct FormTable {
  const char* name = nullptr;    // catalogue name, "UPDATEMEDICATIONS"
  const char* module = nullptr;  // "carelog.cpp$carlg047"
  const char* window = nullptr;  // "UPDATEMEDICATIONS$QUICKWINDOW"
  appdata::FileId file = appdata::FileId::kPatients;
  std::span<const appdata::FileId> also_opens = {};  // opened with the form's file, in this order
  FormFlavour flavour = FormFlavour::kPlain;
  // Plain forms: the file's name in "Adding a <title> Record"; with fixed_titles set the
  // titles are "Record Will Be Added" / "Record Will Be Changed" instead. Note forms: unused.
  const char* title = nullptr;
  bool fixed_titles = false;
  bool shows_patient_name = false;  // "  (" + PAT:NAME + ")" or "  (New)" after the title
  // The unique record-number key whose highest value plus one numbers a new record, and its
  // field; nullptr when a new record is added only on completion.
  const char* number_key = nullptr;
  const char* number_field = nullptr;
  const char* patient_field =
      nullptr;  // filled from PAT:PATIENT_NUMBER on insert; nullptr for none
  std::span<const char* const> dated_fields = {};  // set to today on insert
  std::span<const PrimedText> primed_texts = {};
  std::span<const PrimedNumber> primed_numbers = {};
  void (*prime)() = nullptr;  // the form's own priming beyond constants; nullptr for none
  std::span<const FieldBinding> fields = {};
  ControlShift field_controls = {};
  std::span<const FieldLookupRow> lookups = {};
  std::span<const CallRow> calls = {};
  // The browse boxes on the form's tabs, each ranged on a field of the form's record and each
  // calling its own update form (form_boxes.h).
  std::span<const BrowseTable* const> boxes = {};
  const MonthGridRow* month_grid = nullptr;  // nullptr for a form without the month grid
  int ok_button = 0;
  int cancel_button = 0;
};

// The control of the form's window that shows `binding`.
constexpr int ControlOf(const FormTable& table, const FieldBinding& binding) {
  const ControlShift& moved = table.field_controls;
  bool shifted = moved.from != 0 && binding.control >= moved.from;
  return binding.control + (shifted ? moved.shift : 0);
}

}  // namespace carelog::app
