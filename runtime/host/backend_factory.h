// Constructors of the display backends, one per file; display.cpp picks one.
#pragma once

#include <memory>
#include <string>

#include "runtime/host/backend.h"

namespace carelog::host {

// Each returns nullptr, with the reason in *error, when the backend cannot start.
std::unique_ptr<DisplayBackend> MakeHeadlessBackend(std::string* error);
std::unique_ptr<DisplayBackend> MakeSdlBackend(std::string* error);

}  // namespace carelog::host
