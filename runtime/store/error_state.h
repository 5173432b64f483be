// The process-wide error state that the application reads after every file statement:
// ERRORCODE, ERROR (its message) and ERRORFILE (the file concerned), plus the last system
// error number. Every failure of the record store reaches the application through PostError.
//
// Posting code n:
//   - remembers the last system error number (NoteSystemError) as the posted system error;
//   - ERRORCODE = n, or 300 + the system error number when n is 0;
//   - ERROR = the code's message, leading blanks removed, cut to 79 characters; a code without
//     a message gets the message of 81, " : " and the code in decimal.
// All functions are safe to call from any thread.
#pragma once

#include <string>

#include "runtime/store/declarations.h"

namespace carelog::store {

inline constexpr int kSystemErrorBase = 300;
inline constexpr size_t kMaxErrorTextLength = 79;

// Posts `code` for `file` (null: no file concerned).
void PostError(int code, const FileDeclaration* file);

// Clears ERRORCODE and ERROR; ERRORFILE stays as last posted.
void ClearError();

int ErrorCode();
std::string ErrorText();
// The name on disk of the file of the last posting, empty when none.
std::string ErrorFile();
const FileDeclaration* ErrorFileDeclaration();

// The ERROR text that posting `code` produces (with `system_error` for code 0).
std::string ErrorTextFor(int code, int system_error);

// System error numbers are those of the message table (code - 300): 2 file not found, 5 access
// denied, 32 sharing violation... SystemErrorCode converts an errno value into that numbering;
// it is the one place where the record store converts operating-system errors.
int SystemErrorCode(int posix_errno);
// Records the last system error (in the table's numbering); returns it.
int NoteSystemError(int system_error);
// Converts and records an errno value in one step; returns the code to report, e.g.
//   if (pwrite(...) < 0) return SystemFailure(errno);
int SystemFailure(int posix_errno);
int LastSystemError();
// The system error remembered by the last posting.
int PostedSystemError();

}  // namespace carelog::store
