// Finds a window or report definition by module identifier and label, and keeps the loaded
// copy of its module's body current until the next structure is opened.
//
// Opening a structure:
//   1. name the resource from the identifier (ResourceNameOf) and find it, type "DABDUMP",
//      executable first (resource_registry.h);
//   2. check that the body's identifier equals the one asked for;
//   3. copy the body behind the two-byte prefix (the image, definition_reader.h);
//   4. follow the top-level list and pick the entry whose label equals the one asked for;
//   5. decode and check the entry's whole tree.
// Identifiers and labels are compared by the locale's collating comparison (equality). Any failure
// leaves no structure current and raises the fatal runtime error 502 "Internal error 02" through
// the fatal-error handler; the loader then returns the error to its caller (a handler in a test may
// return).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/window/definition_model.h"
#include "runtime/window/definition_reader.h"
#include "runtime/window/resource_registry.h"

namespace carelog::window {

// The one path of fatal runtime errors. The default handler writes the message to standard
// error and ends the program; the window runtime installs one that shows a message box and
// writes the error log first.
using FatalErrorHandler = void (*)(int code, const char* message);
FatalErrorHandler SetFatalErrorHandler(FatalErrorHandler handler);  // returns the previous one
void RaiseFatalError(int code, const char* message);

class DefinitionLoader {
 public:
  DefinitionError Open(std::string_view module_identifier, std::string_view label);

  bool has_structure() const { return has_structure_; }
  // The current loaded copy and the offset of the structure in it.
  const Image& image() const { return image_; }
  uint32_t offset() const { return offset_; }
  const Entry& structure() const { return structure_; }
  // The resource module the structure was found in; icons and images come from the same.
  const ResourceModule* module() const { return module_; }

 private:
  DefinitionError Find(std::string_view module_identifier, std::string_view label);

  bool has_structure_ = false;
  Image image_;
  uint32_t offset_ = 0;
  Entry structure_;
  const ResourceModule* module_ = nullptr;
};

// The process-wide loader that window structures open through. The window runtime serialises
// access to it.
DefinitionLoader& SharedDefinitionLoader();

// Equality of identifiers and labels under the locale's case-insensitive collation.
bool EqualCollated(std::string_view a, std::string_view b);

}  // namespace carelog::window
