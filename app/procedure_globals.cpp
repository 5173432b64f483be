#include "app/procedure_globals.h"

#include <cassert>

#include "runtime/window/threads.h"

namespace carelog::app {

int32_t ProcRequest = kNoRequest;
int32_t ProcResponse = kNoResponse;
DisplayFontSettings DisplayFont;

int32_t CallProcedure(int32_t request, const std::function<void()>& procedure) {
  assert(window::HoldsSemaphore());
  ProcRequest = request;
  if (procedure) procedure();
  // A procedure that is absent never ran its return routine: it answers "cancelled".
  int32_t response = procedure ? ProcResponse : kRespCancelled;
  ProcRequest = kNoRequest;
  return response;
}

}  // namespace carelog::app
