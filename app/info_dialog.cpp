// GETINFO: one 20-character entry (control 1) under the prompt "INFO:", OK (2) and Cancel (3).
// The entry is bound to a local buffer; OK takes the buffer, Cancel and closing keep the text
// the caller gave.
#include <algorithm>
#include <cstring>
#include <string>

#include "app/calendar.h"
#include "app/procedure_catalogue.h"
#include "app/procedure_frame.h"
#include "app/procedure_globals.h"
#include "runtime/window/events.h"
#include "runtime/window/use_table.h"
#include "runtime/window/window_runtime.h"

namespace carelog::app {
namespace {

constexpr const char* kModule = "carelog.cpp$carlg002";
constexpr const char* kLabel = "GETINFO$WINDOW";
constexpr int kInfoEntry = 1;
constexpr int kOk = 2;
constexpr int kCancel = 3;

std::string Clipped(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// Runs the dialog; true when the user pressed OK, with the entered text in `text`.
bool RunInfo(std::string* text) {
  char info[20];
  std::memset(info, ' ', sizeof info);
  std::memcpy(info, text->data(), std::min(text->size(), sizeof info));
  window::Structure w(window::StructureKind::kWindow, kLabel, kModule,
                      window::UseTable{window::use::String(kInfoEntry, info)});
  const CatalogueRow* row = FindProcedure("GETINFO");
  ProcedureFrame frame(w, row && row->takes_default_font);
  if (!frame.Open()) {
    frame.Return();
    return false;
  }
  bool answered = false;
  while (window::Accept()) {
    if (frame.TakeWindowEvent()) continue;
    if (window::Event() != window::event::kAccepted) continue;
    if (window::Accepted() == kOk) {
      answered = true;
      break;
    }
    if (window::Accepted() == kCancel) break;
  }
  frame.local_response = answered ? kRespCompleted : kRespCancelled;
  frame.Return();
  if (answered) *text = Clipped(std::string(info, sizeof info));
  return answered;
}

}  // namespace

std::string GetInfo(const std::string& text) {
  std::string answer = text;
  RunInfo(&answer);
  return answer;
}

void GETINFO() {
  std::string answer;
  RunInfo(&answer);
}

}  // namespace carelog::app
