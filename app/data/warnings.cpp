#include "app/data/warnings.h"

#include <iterator>

#include "runtime/store/error_state.h"
#include "runtime/store/messages.h"
#include "runtime/window/halt.h"
#include "runtime/window/message_box.h"

namespace carelog::appdata {
namespace {

namespace icon = window::message_icon;
constexpr int kExclamation = icon::kExclamation;
constexpr int kQuestion = icon::kQuestion;
constexpr int32_t kFileSystemError = 90;
constexpr int32_t kRecordChanged = 89;

// One message of a kind. In `text`, {1} {2} {3} stand for the clipped texts and {e} for the
// clipped error description. Kinds 15, 29 and 31 have two variants (see VariantOf).
struct WarningRow {
  int32_t kind;
  int variant;
  const char* title;
  const char* text;
  int icon;
  int buttons;
  int default_button;
  const char* halt_text;
};

constexpr const char* kFileCreationHalt = "File Creation Error!";

constexpr WarningRow kWarnings[] = {
    {1, 0, "Invalid File", "Error: ({e}) accessing {1}.  Press OK to end this application.",
     kExclamation, 1, 1, "Invalid File!"},
    {2, 0, "Invalid Key", "{1} key file is invalid.  Do you want to rebuild the key?", kQuestion, 6,
     2, "Invalid Key!"},
    {3, 0, "Key Rebuild Error",
     "Error: ({e}) repairing key for {1}.  Press OK to end this application.", kExclamation, 1, 1,
     "Error Rebuilding Key!"},
    {4, 0, "File Creation Error", "Error: ({e}) creating {1}.  Press OK to end this application.",
     kExclamation, 1, 1, kFileCreationHalt},
    {5, 0, "File Creation Error",
     "Error: ({e}) opening created file:{1}.  Press OK to end this application.", kExclamation, 1,
     1, kFileCreationHalt},
    {6, 0, "Procedure not defined", "The Procedure {1} has not been defined.", kExclamation, 1, 1,
     nullptr},
    {7, 0, "Record Insert Error", "Unable to read keyed record.  Error: {e}.  Insert Aborted",
     kExclamation, 1, 1, nullptr},
    {8, 0, "Range Error", "The value of {1} must be lower than {2}.", kExclamation, 1, 1, nullptr},
    {9, 0, "Range Error", "The value of {1} must be higher than {2}.", kExclamation, 1, 1, nullptr},
    {10, 0, "Range Error", "The value of {1} must be between {2} and {3}.", kExclamation, 1, 1,
     nullptr},
    {11, 0, "Field Contents Error", "The value for {1} must be found in the {2} file.",
     kExclamation, 1, 1, nullptr},
    {12, 0, "Referential Integrity Update Error",
     "This record is referenced from the file {1}.  Linking field(s) have been restricted from "
     "change and have been reset to original values.",
     kExclamation, 1, 1, nullptr},
    {13, 0, "Referential Integrity Delete Error",
     "This record is referenced from the file {1}.  This record cannot be deleted while these "
     "references exist.",
     kExclamation, 1, 1, nullptr},
    {14, 0, "Record Insert Error",
     "An error was experienced during the update of record.  Error: {e}.", kExclamation, 1, 1,
     nullptr},
    {15, 0, "Update Operation Error", "This record was changed by another station.", kExclamation,
     1, 1, nullptr},
    {15, 1, "Update Operation Error",
     "An error ({e}) was experienced when attempting to update a record from the file.  "
     "Probable Cause: {1}.",
     kExclamation, 1, 1, nullptr},
    {16, 0, "Record Update Error",
     "An error was experienced changing this record.  Do you want to try to save again?",
     kExclamation, 70, 64, nullptr},
    {17, 0, "Delete Operation Error",
     "An error ({e}) was experienced when attempting to delete a record from the file {1}.",
     kExclamation, 1, 1, nullptr},
    {18, 0, "Record Update Error",
     "An error was experienced deleting this record.  Do you want to try to save again?",
     kExclamation, 70, 64, nullptr},
    {19, 0, "Invalid Request",
     "This procedure was called to insert a record, however inserts are not allowed for this "
     "procedure.  Press OK to return to the calling procedure",
     kExclamation, 1, 1, nullptr},
    {20, 0, "Invalid Request",
     "This procedure was called to change a record, however changes are not allowed for this "
     "procedure.  Press OK to return to the calling procedure",
     kExclamation, 1, 1, nullptr},
    {21, 0, "Invalid Request",
     "This procedure was called to delete a record, however deletions are not allowed for this "
     "procedure.  Press OK to return to the calling procedure",
     kExclamation, 1, 1, nullptr},
    {22, 0, "File Creation Not Allowed",
     "The File {1}was not found, and creation of the file is not allowed.  Press OK to end this "
     "application.",
     kExclamation, 1, 1, kFileCreationHalt},
    {23, 0, "Update Cancelled", "Are you sure you want to cancel?", kQuestion, 6, 4, nullptr},
    {24, 0, "Duplicate Key Error", "Adding this record creates a duplicate entry for the key:{1}",
     kExclamation, 1, 1, nullptr},
    {25, 0, "Auto Increment Error",
     "Attempts to automatically number this record have failed.  Error: {e}.", kExclamation, 80, 64,
     nullptr},
    {26, 0, "File Load Error", "{1} File Load Error.  Error: {e}.", kExclamation, 1, 1, nullptr},
    {27, 0, "Cancel Request", "Are you certain you want to stop loading {1}?", kQuestion, 65, 64,
     nullptr},
    {28, 0, "File Load Error", "{1} File Load Error.  The file you've requested contains no text.",
     kExclamation, 1, 1, nullptr},
    {29, 0, "End of File Error",
     "The end of the viewed file was encountered.  Do you want to start again from the "
     "beginning?",
     kQuestion, 6, 2, nullptr},
    {29, 1, "Beginning of File Error",
     "The beginning of the viewed file was encountered.  Do you want to start again from the end "
     "of the file?",
     kQuestion, 6, 2, nullptr},
    {30, 0, "File Access Error", "File ({1}) could not be opened.  Error: {e}.", kExclamation, 1, 1,
     nullptr},
    {31, 0, "Process PUT Error",
     "An error was experienced when making changes to the {2} file.  Error: {e}", kExclamation, 1,
     1, nullptr},
    {31, 1, "Process DELETE Error",
     "An error was experienced when deleting a record from the {2} file.  Error: {e}", kExclamation,
     1, 1, nullptr},
    {32, 0, "Confirm Delete",
     "You've selected to delete the highlighted record.  Press OK to confirm deletion of this "
     "record.",
     kQuestion, 65, 64, nullptr},
    {33, 0, "Update Cancelled", "Do you want to save the changes to this record?", kQuestion, 70, 4,
     nullptr},
    {34, 0, "Transaction Framing Error",
     "Error: ({e}) attempting to frame the {1} transaction on {2}.  {1} transaction cancelled.",
     kExclamation, 1, 1, nullptr},
    {35, 0, "Record Retrieval Error",
     "Error: ({e}) attempting to access a record from the {1} file.  Returning to previous "
     "window.",
     kExclamation, 1, 1, nullptr},
};

std::string_view Clipped(std::string_view text) {
  size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

// Which text a kind with two takes: 15 by the error code, 29 and 31 by Text1.
int VariantOf(int32_t kind, std::string_view text1, int error_code) {
  switch (kind) {
    case warning::kUpdateOperationError:
      return error_code == 0 || error_code == kRecordChanged ? 0 : 1;
    case warning::kEndOfViewedFile:
      return text1 == "Down" ? 0 : 1;
    case warning::kProcessError:
      return text1 == "Put" ? 0 : 1;
    default:
      return 0;
  }
}

const WarningRow* RowOf(int32_t kind, int variant) {
  for (const WarningRow& row : kWarnings) {
    if (row.kind == kind && row.variant == variant) return &row;
  }
  return nullptr;
}

std::string Fill(std::string_view pattern, const std::string_view (&texts)[3],
                 std::string_view error) {
  std::string out;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 2] == '}') {
      char slot = pattern[i + 1];
      out += slot == 'e' ? error : texts[slot - '1'];
      i += 2;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

}  // namespace

std::string ErrorDescriptionFor(int error_code, std::string_view error_text) {
  std::string description =
      std::string(Clipped(error_text)) + " (" + std::to_string(error_code) + ")";
  if (description.size() > kErrorDescriptionLength) description.resize(kErrorDescriptionLength);
  return description;
}

// Code 90 carries the file system's own error: the system error that the record store noted,
// with its message from the store's table.
std::string ErrorDescription() {
  int code = store::ErrorCode();
  if (code == kFileSystemError) {
    int system_error = store::PostedSystemError();
    return ErrorDescriptionFor(system_error, store::ErrorTextFor(0, system_error));
  }
  return ErrorDescriptionFor(code, store::ErrorText());
}

bool ComposeWarning(int32_t kind, std::string_view text1, std::string_view text2,
                    std::string_view text3, int error_code, std::string_view error_description,
                    WarningBox* box) {
  const std::string_view texts[3] = {Clipped(text1), Clipped(text2), Clipped(text3)};
  const WarningRow* row = RowOf(kind, VariantOf(kind, texts[0], error_code));
  if (row == nullptr) return false;
  box->title = row->title;
  box->text = Fill(row->text, texts, Clipped(error_description));
  box->icon = row->icon;
  box->buttons = row->buttons;
  box->default_button = row->default_button;
  box->halt_text = row->halt_text;
  return true;
}

int32_t ShowWarning(int32_t kind, std::string_view text1, std::string_view text2,
                    std::string_view text3, std::string_view /*text4: no kind inserts it*/) {
  WarningBox box;
  if (!ComposeWarning(kind, text1, text2, text3, store::ErrorCode(), ErrorDescription(), &box)) {
    return 0;
  }
  int answer = window::Message(box.text, box.title, box.icon, box.buttons, box.default_button);
  bool halts = box.halt_text != nullptr && (kind != warning::kInvalidKey || answer != kWarningYes);
  if (halts) window::Halt(box.halt_text, 0);
  return answer;
}

}  // namespace carelog::appdata
