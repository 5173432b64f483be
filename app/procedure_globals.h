// The process-wide state that every procedure shares: the request and response codes that a
// caller and the procedure it calls hand to each other, and the default display font.
//
// Hand-over (one thread at a time): the window runtime lets exactly one thread run procedure
// code, the one holding the global semaphore, and a thread gives the semaphore up only while
// it waits for an event, while a message box is up, or when it ends. Each hand-over runs
// without any of these between its steps:
//   request:   caller sets ProcRequest -> calls -> callee copies it and clears both codes
//   response:  callee's return routine sets ProcResponse -> returns -> caller reads it
// so no other thread can run between the steps and see or change the codes. CallProcedure
// below is the caller's half; ProcedureFrame (procedure_frame.h) is the callee's. Both check,
// in debug builds, that the calling thread holds the semaphore.
//
// DisplayFont is written only by the frame's thread (MAIN) and read by every thread when it
// opens a window, both under the semaphore.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace carelog::app {

// Codes in ProcRequest.
inline constexpr int32_t kNoRequest = 0;  // plain browsing or viewing
inline constexpr int32_t kReqInsert = 1;
inline constexpr int32_t kReqChange = 2;
inline constexpr int32_t kReqDelete = 3;
inline constexpr int32_t kReqSelect = 4;

// Codes in ProcResponse.
inline constexpr int32_t kNoResponse = 0;
inline constexpr int32_t kRespCompleted = 1;
inline constexpr int32_t kRespCancelled = 2;

extern int32_t ProcRequest;
extern int32_t ProcResponse;

// The default display font. A size of 6 or less means that none is set.
struct DisplayFontSettings {
  std::string typeface;  // at most kTypefaceLength characters, trailing blanks clipped
  uint8_t size = 0;      // points
  int32_t color = 0;     // 0x00BBGGRR
  int32_t style = 0;     // weight and attribute bits (runtime/window/control_font.cpp)
  static constexpr size_t kTypefaceLength = 20;
  static constexpr uint8_t kLargestUnsetSize = 6;
  bool IsSet() const { return size > kLargestUnsetSize; }
};
extern DisplayFontSettings DisplayFont;

// The caller's half of the request protocol: sets ProcRequest, calls `procedure` directly on
// this thread and returns the ProcResponse it left.
// REQUIRES: the calling thread holds the global semaphore.
int32_t CallProcedure(int32_t request, const std::function<void()>& procedure);

}  // namespace carelog::app
