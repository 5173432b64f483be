// Feeds arbitrary bodies to the reader and the loader: they must report an error or decode,
// never crash or hang; a body that decodes must encode, decode and encode again to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/window/definition_loader.h"
#include "runtime/window/definition_writer.h"

namespace {

void IgnoreFatal(int, const char*) {}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace carelog::window;
  Module module;
  if (DecodeModule(data, size, &module) == DefinitionError::kOk) {
    std::vector<uint8_t> body;
    std::string error;
    if (EncodeModule(module, &body, &error)) {
      // Compared as bytes, so that a NaN read from the input still compares equal.
      Module again;
      std::vector<uint8_t> body_again;
      if (DecodeModule(body.data(), body.size(), &again) != DefinitionError::kOk ||
          !EncodeModule(again, &body_again, &error) || body_again != body) {
        std::abort();
      }
    }
  }

  Image image;
  if (MakeImage(data, size, &image) != DefinitionError::kOk) return 0;
  std::string name = ResourceNameOf(image.identifier);
  ResourceRecord record{"DABDUMP", name.c_str(), data, size};
  ResourceModule resources{"fuzz", &record, 1};
  AddResourceModule(&resources);
  SetFatalErrorHandler(&IgnoreFatal);
  DefinitionLoader loader;
  for (const Entry& structure : module.structures) {
    loader.Open(image.identifier, structure.Label());
  }
  loader.Open(image.identifier, "NO$SUCHLABEL");
  RemoveResourceModule(&resources);
  return 0;
}
