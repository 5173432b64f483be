// The two small dialogs other procedures call for an answer.
//
//   Calendar(day)   CALENDAR, the date picker: shows the month of `day` (today when `day` is
//                   outside the calendar's limits) and returns the picked day number, or 0
//                   when the user cancels or the window cannot open.
//   GetInfo(text)   GETINFO: the prompt "INFO:" and a 20-character entry preset with `text`;
//                   returns the entered text (clipped), or `text` unchanged when cancelled.
//
// REQUIRES: the calling thread holds the global semaphore (as every procedure's code does).
#pragma once

#include <cstdint>
#include <string>

namespace carelog::app {

int32_t Calendar(int32_t day);
std::string GetInfo(const std::string& text);

// The catalogue entries: CALENDAR asks for a day starting at today, GETINFO for a text
// starting blank; both leave their answer only in ProcResponse (1 answered, 2 cancelled).
void CALENDAR();
void GETINFO();

}  // namespace carelog::app
