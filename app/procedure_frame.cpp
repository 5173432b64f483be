#include "app/procedure_frame.h"

#include <algorithm>
#include <cassert>

#include "app/procedure_catalogue.h"
#include "app/procedure_globals.h"
#include "runtime/window/properties.h"
#include "runtime/window/threads.h"
#include "runtime/window/window_runtime.h"

namespace carelog::app {

namespace {
constexpr uint32_t kRightButton = 2;
constexpr uint32_t kKeyWithoutShifts = 0x7FF;
}  // namespace

ProcedureFrame::ProcedureFrame(window::Structure& window, bool takes_default_font)
    : window_(window), takes_default_font_(takes_default_font) {
  assert(window::HoldsSemaphore());
  entry_request_ = ProcRequest;
  working_request = entry_request_;
  local_response = kRespCancelled;
  ProcRequest = kNoRequest;
  ProcResponse = kNoResponse;
  ResetRightButtonKeyCode();
}

ProcedureFrame::~ProcedureFrame() {
  Return();
}

int32_t ProcedureFrame::Call(std::string_view procedure, int32_t request) {
  int32_t response = CallProcedureByName(procedure, request);
  working_request = entry_request_;
  return response;
}

bool ProcedureFrame::Open() {
  if (!window::Open(window_)) return false;
  window_opened_ = true;
  if (takes_default_font_) ApplyDisplayFont(window_);
  return true;
}

bool ProcedureFrame::TakeWindowEvent() {
  switch (window::Event()) {
    case window::event::kOpenWindow:
      if (!window_initialised_) {
        InitialiseWindow();
        window_initialised_ = true;
      }
      return true;
    case window::event::kGainFocus:
      force_refresh_ = true;
      if (!window_initialised_) {
        InitialiseWindow();
        window_initialised_ = true;
      } else {
        Refresh();
      }
      return true;
    default:
      return false;
  }
}

void ProcedureFrame::Refresh() {
  if (window::GetProperty(0, window::prop::kAcceptAll) == "1") return;
  window::Display();
  force_refresh_ = false;
}

void ProcedureFrame::InitialiseWindow() {
  Refresh();
}

void ProcedureFrame::Return() {
  if (returned_) return;
  returned_ = true;
  if (window_opened_ && window_.is_open()) window::Close(window_);
  ProcResponse = local_response != 0 ? local_response : kRespCancelled;
}

void ApplyDisplayFont(window::Structure& window) {
  if (!DisplayFont.IsSet()) return;
  int highest = 0;
  for (const auto& control : window.controls) highest = std::max(highest, control->equate);
  for (int control = 0; control <= highest; ++control) {
    window::SetFont(control, DisplayFont.typeface, DisplayFont.size, DisplayFont.color,
                    DisplayFont.style);
  }
}

void ResetRightButtonKeyCode() {
  if ((window::KeyCode() & kKeyWithoutShifts) == kRightButton) window::SetKeyCode(0);
}

}  // namespace carelog::app
