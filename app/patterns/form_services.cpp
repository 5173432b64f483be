#include "app/patterns/form_services.h"

#include <array>
#include <string>

#include "app/procedure_catalogue.h"
#include "app/procedure_globals.h"
#include "runtime/store/error_state.h"
#include "runtime/store/file_statements.h"
#include "runtime/window/message_box.h"

namespace carelog::app::forms {
namespace {

using window::message_button::kCancel;
using window::message_button::kNo;
using window::message_button::kOk;
using window::message_button::kRetry;
using window::message_button::kYes;
using window::message_icon::kExclamation;
using window::message_icon::kQuestion;

struct WarningRow {
  int kind;
  const char* title;
  const char* before;  // text before the first inserted piece
  int piece;           // 1: Text1, 2: the error description, 0: none
  const char* between;
  int second_piece;
  const char* after;
  int icon;
  int buttons;
  int default_button;
};

constexpr WarningRow kWarnings[] = {
    {11, "Field Contents Error", "The value for ", 1, " must be found in the ", 3, " file.",
     kExclamation, kOk, kOk},
    {14, "Record Insert Error", "An error was experienced during the update of record.  Error: ", 2,
     ".", 0, "", kExclamation, kOk, kOk},
    {16, "Record Update Error",
     "An error was experienced changing this record.  Do you want to try to save again?", 0, "", 0,
     "", kExclamation, kYes | kNo | kCancel, kCancel},
    {18, "Record Update Error",
     "An error was experienced deleting this record.  Do you want to try to save again?", 0, "", 0,
     "", kExclamation, kYes | kNo | kCancel, kCancel},
    {24, "Duplicate Key Error", "Adding this record creates a duplicate entry for the key:", 1, "",
     0, "", kExclamation, kOk, kOk},
    {25, "Auto Increment Error",
     "Attempts to automatically number this record have failed.  Error: ", 2, ".", 0, "",
     kExclamation, kRetry | kCancel, kCancel},
    {32, "Confirm Delete",
     "You've selected to delete the highlighted record.  Press OK to confirm deletion of this "
     "record.",
     0, "", 0, "", kQuestion, kOk | kCancel, kCancel},
    {33, "Update Cancelled", "Do you want to save the changes to this record?", 0, "", 0, "",
     kQuestion, kYes | kNo | kCancel, kNo},
    {35, "Record Retrieval Error", "Error: (", 2, ") attempting to access a record from the ", 1,
     " file.  Returning to previous window.", kExclamation, kOk, kOk},
};

std::string Clipped(std::string_view text) {
  std::string out(text);
  out.erase(out.find_last_not_of(' ') + 1);
  return out;
}

std::string ErrorDescription() {
  std::string text = Clipped(store::ErrorText()) + " (" + std::to_string(store::ErrorCode()) + ")";
  return text.substr(0, 150);
}

std::string Piece(int which, std::string_view text1, std::string_view text2) {
  switch (which) {
    case 1:
      return Clipped(text1);
    case 2:
      return Clipped(ErrorDescription());
    case 3:
      return Clipped(text2);
    default:
      return {};
  }
}

std::array<int, appdata::kFileCount> use_counts{};  // under the semaphore

}  // namespace

int Warn(int kind, std::string_view text1, std::string_view text2) {
  for (const WarningRow& row : kWarnings) {
    if (row.kind != kind) continue;
    std::string text = std::string(row.before) + Piece(row.piece, text1, text2) + row.between +
                       Piece(row.second_piece, text1, text2) + row.after;
    return window::Message(text, row.title, row.icon, row.buttons, row.default_button);
  }
  if (kind == 15) {
    int code = store::ErrorCode();
    std::string text = code == 0 || code == 89
                           ? std::string("This record was changed by another station.")
                           : "An error (" + ErrorDescription() +
                                 ") was experienced when attempting to update a record from the "
                                 "file.  Probable Cause: " +
                                 Clipped(text1) + ".";
    return window::Message(text, "Update Operation Error", kExclamation, kOk, kOk);
  }
  return 0;
}

void UseFile(appdata::FileId file) {
  int& count = use_counts[static_cast<size_t>(file)];
  if (count++ > 0) return;
  store::FileDeclaration& declaration = appdata::Declaration(file);
  if (store::Open(declaration, 0x42) == 2 && store::Create(declaration) == 0) {
    store::Open(declaration, 0x42);
  }
}

void ReleaseFile(appdata::FileId file) {
  int& count = use_counts[static_cast<size_t>(file)];
  if (count == 0 || --count > 0) return;
  store::Close(appdata::Declaration(file));
}

void RememberKey(appdata::FileId) {}

int StoreChecked(appdata::FileId file) {
  if (store::Put(appdata::Declaration(file)) == 0) return 0;
  Warn(15, store::ErrorCode() == 89 ? "Record Changed by Another Station"
                                    : appdata::Info(file).label);
  return 1;
}

int DeleteChecked(appdata::FileId file) {
  return store::Delete(appdata::Declaration(file)) == 0 ? 0 : 1;
}

int CallByName(std::string_view name, int32_t request) {
  const CatalogueRow* row = FindProcedure(name);
  return CallProcedure(request, row ? row->run : nullptr);
}

}  // namespace carelog::app::forms
