// The standard warnings: every message box of the application, by kind number 1 to 35, with its
// fixed title, icon, buttons and default button, and the inserted texts.
//
// ShowWarning(kind, Text1..Text4):
//   1. every inserted text is clipped (trailing blanks removed); an omitted text is empty;
//   2. the error description is built from the error state of the last file statement
//      (ErrorDescription below) and cut at 150 characters;
//   3. the message box of the kind is shown, modal to the calling thread's window;
//   4. the halting kinds (1, 3, 4, 5, 22, and 2 answered No) then end the program through the
//      runtime's halt (runtime/window/halt.h) with their halt text: data files are closed,
//      exit code 0; they never return;
//   5. otherwise the button pressed is returned (kind 2 answered Yes: 2). A kind outside 1 to
//      35 shows nothing and returns 0.
// Callable from any procedure on any thread that holds the global semaphore.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace carelog::appdata {

// Kinds, by what they report.
namespace warning {
inline constexpr int32_t kInvalidFile = 1;           // halts
inline constexpr int32_t kInvalidKey = 2;            // No halts; Yes returns 2
inline constexpr int32_t kKeyRebuildError = 3;       // halts
inline constexpr int32_t kFileCreationError = 4;     // halts
inline constexpr int32_t kCreatedFileOpenError = 5;  // halts
inline constexpr int32_t kProcedureNotDefined = 6;
inline constexpr int32_t kKeyedReadError = 7;
inline constexpr int32_t kRangeBelow = 8;
inline constexpr int32_t kRangeAbove = 9;
inline constexpr int32_t kRangeBetween = 10;
inline constexpr int32_t kFieldNotInFile = 11;
inline constexpr int32_t kRestrictedUpdate = 12;
inline constexpr int32_t kRestrictedDelete = 13;
inline constexpr int32_t kRecordInsertError = 14;
inline constexpr int32_t kUpdateOperationError = 15;
inline constexpr int32_t kRecordUpdateError = 16;  // Yes/No/Cancel, Cancel default
inline constexpr int32_t kDeleteOperationError = 17;
inline constexpr int32_t kRecordDeleteError = 18;  // Yes/No/Cancel, Cancel default
inline constexpr int32_t kInsertNotAllowed = 19;
inline constexpr int32_t kChangeNotAllowed = 20;
inline constexpr int32_t kDeleteNotAllowed = 21;
inline constexpr int32_t kCreationNotAllowed = 22;  // halts
inline constexpr int32_t kConfirmCancel = 23;
inline constexpr int32_t kDuplicateKey = 24;
inline constexpr int32_t kAutoIncrementError = 25;  // Retry/Cancel
inline constexpr int32_t kFileLoadError = 26;
inline constexpr int32_t kConfirmStopLoading = 27;
inline constexpr int32_t kEmptyFileLoaded = 28;
inline constexpr int32_t kEndOfViewedFile = 29;  // Text1 "Down" or anything else
inline constexpr int32_t kFileAccessError = 30;
inline constexpr int32_t kProcessError = 31;   // Text1 "Put" or anything else
inline constexpr int32_t kConfirmDelete = 32;  // OK/Cancel
inline constexpr int32_t kSaveChanges = 33;    // Yes/No/Cancel, No default
inline constexpr int32_t kTransactionFramingError = 34;
inline constexpr int32_t kRecordRetrievalError = 35;
}  // namespace warning

// Results: the button that closed the box.
inline constexpr int32_t kWarningOk = 1;
inline constexpr int32_t kWarningYes = 2;
inline constexpr int32_t kWarningNo = 4;
inline constexpr int32_t kWarningRetry = 16;
inline constexpr int32_t kWarningCancel = 64;

// The error phrase that warning 15 takes after error 89 (the integrity routines pass it).
inline constexpr const char* kChangedByAnotherStation = "Record Changed by Another Station";

// A composed warning: what the message box shows and what follows it.
struct WarningBox {
  std::string title;
  std::string text;
  int icon = 0;     // window::message_icon value
  int buttons = 0;  // sum of kWarning* values
  int default_button = 0;
  const char* halt_text = nullptr;  // the program ends after the box (kind 2: only on No)
};

inline constexpr size_t kErrorDescriptionLength = 150;

// The error description of the current error state: for code 90 the file system's own text
// and code, else the error text and the code, as "Text (code)", cut at 150 characters.
std::string ErrorDescription();
std::string ErrorDescriptionFor(int error_code, std::string_view error_text);

// Builds the box of `kind` from the (unclipped) texts, the current error code and the error
// description. False for a kind that shows nothing.
bool ComposeWarning(int32_t kind, std::string_view text1, std::string_view text2,
                    std::string_view text3, int error_code, std::string_view error_description,
                    WarningBox* box);

int32_t ShowWarning(int32_t kind, std::string_view text1 = {}, std::string_view text2 = {},
                    std::string_view text3 = {}, std::string_view text4 = {});

}  // namespace carelog::appdata
