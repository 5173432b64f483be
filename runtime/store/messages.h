// The runtime's message table: the text of every error code the record store, the system and
// the run-time library can report. The window runtime's fatal errors use the same table.
//
//   2 to 89     posted by the file layer and the driver
//   301 to 391  300 plus a system error number (see SystemErrorCode)
//   401 to 410  run-time errors
#pragma once

#include <string_view>

namespace carelog::store {

inline constexpr int kUnknownErrorCode = 81;

// The message of `code` exactly as tabled, or an empty view when the code has none.
std::string_view MessageFor(int code);

}  // namespace carelog::store
