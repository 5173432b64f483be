#include "runtime/window/definition_loader.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "runtime/values/locale.h"
#include "runtime/window/runtime_errors.h"

namespace carelog::window {
namespace {

void DefaultFatalErrorHandler(int code, const char* message) {
  std::fprintf(stderr, "Fatal error %d: %s\n", code, message);
  std::fflush(stderr);
  std::_Exit(EXIT_FAILURE);
}

std::atomic<FatalErrorHandler> fatal_handler{&DefaultFatalErrorHandler};

}  // namespace

FatalErrorHandler SetFatalErrorHandler(FatalErrorHandler handler) {
  return fatal_handler.exchange(handler ? handler : &DefaultFatalErrorHandler);
}

void RaiseFatalError(int code, const char* message) {
  fatal_handler.load()(code, message);
}

bool EqualCollated(std::string_view a, std::string_view b) {
  return values::CompareCollated(a.data(), a.size(), b.data(), b.size()) == 0;
}

DefinitionError DefinitionLoader::Open(std::string_view module_identifier, std::string_view label) {
  has_structure_ = false;
  structure_ = Entry();
  offset_ = 0;
  module_ = nullptr;
  DefinitionError error = Find(module_identifier, label);
  if (error != DefinitionError::kOk) {
    RaiseFatalError(runtime_error::kInternalError02,
                    runtime_error::TextOf(runtime_error::kInternalError02).data());
    return error;
  }
  has_structure_ = true;
  return DefinitionError::kOk;
}

DefinitionError DefinitionLoader::Find(std::string_view module_identifier, std::string_view label) {
  std::string name = ResourceNameOf(std::string(module_identifier));
  const ResourceModule* found_in = nullptr;
  const ResourceRecord* record = FindResource(kDefinitionResourceType, name, &found_in);
  if (!record) return DefinitionError::kResourceNotFound;
  if (DefinitionError error = MakeImage(record->bytes, record->size, &image_);
      error != DefinitionError::kOk) {
    return error;
  }
  if (!EqualCollated(image_.identifier, module_identifier)) {
    return DefinitionError::kModuleMismatch;
  }
  std::vector<uint32_t> offsets;
  if (DefinitionError error = ListStructures(image_, &offsets); error != DefinitionError::kOk) {
    return error;
  }
  for (uint32_t offset : offsets) {
    std::string_view candidate;
    if (StructureLabel(image_, offset, &candidate) && EqualCollated(candidate, label)) {
      Entry structure;
      if (DefinitionError error = DecodeStructure(image_, offset, &structure);
          error != DefinitionError::kOk) {
        return error;
      }
      structure_ = std::move(structure);
      offset_ = offset;
      module_ = found_in;
      return DefinitionError::kOk;
    }
  }
  return DefinitionError::kLabelNotFound;
}

DefinitionLoader& SharedDefinitionLoader() {
  static DefinitionLoader loader;
  return loader;
}

}  // namespace carelog::window
