#include "runtime/store/dispatcher.h"

#include "runtime/store/declarations.h"
#include "runtime/store/error_codes.h"
#include "runtime/store/error_state.h"

namespace carelog::store {

intptr_t Dispatch(int op, void* object, const intptr_t* args) {
  const DriverEntry entry = object != nullptr ? *static_cast<DriverEntry*>(object) : nullptr;
  if (entry == nullptr) {
    ClearError();
    PostError(kErrUnsupportedFunction, nullptr);
    return kErrUnsupportedFunction;
  }
  return entry(op, object, args);
}

}  // namespace carelog::store
