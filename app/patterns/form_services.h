// What the form engine needs from the application's data layer, in one place: opening files
// with use counts, the standard warnings, and the per-file routines that remember a record's
// key and store or delete it with its integrity rules.
//
// REQUIRES: every function runs on the procedure's thread while it holds the global semaphore.
#pragma once

#include <cstdint>
#include <string_view>

#include "app/data/dictionary.h"

namespace carelog::app::forms {

// Button values that warnings return.
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerYes = 2;
inline constexpr int kAnswerNo = 4;
inline constexpr int kAnswerRetry = 16;
inline constexpr int kAnswerCancel = 64;

// Standard warning `kind` with its first and second inserted texts; the button pressed.
int Warn(int kind, std::string_view text1 = {}, std::string_view text2 = {});

// Opens the file when its use count goes from 0 to 1; ReleaseFile closes it at 0 again.
void UseFile(appdata::FileId file);
void ReleaseFile(appdata::FileId file);

// Remembers the key of the record in the buffer, so that a later store can tell whether it
// changed (a no-op for files that own no children).
void RememberKey(appdata::FileId file);
// Stores the changed record in the buffer (with change detection and cascades): 0 stored, 1
// failed after the user was told.
int StoreChecked(appdata::FileId file);
// Deletes the current record and handles its dependent records: 0 deleted, 1 failed.
int DeleteChecked(appdata::FileId file);

// Calls the procedure `name` on this thread with `request`: the response it left (2 when the
// procedure is not built).
int CallByName(std::string_view name, int32_t request);

}  // namespace carelog::app::forms
