// Feeds arbitrary text to the definition parser: it must accept or report a line, never crash
// or hang; accepted text must compile, decompile and print back to text that reads as the same
// module.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/window/definition_reader.h"
#include "runtime/window/definition_writer.h"
#include "tools/defc/text_parser.h"
#include "tools/defc/text_printer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace carelog;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  window::Module module;
  defc::ParseError error;
  if (!defc::ParseModule(text, &module, &error)) {
    if (error.line < 1) std::abort();
    return 0;
  }
  std::vector<uint8_t> body;
  std::string message;
  if (!window::EncodeModule(module, &body, &message)) return 0;
  window::Module decoded;
  if (window::DecodeModule(body.data(), body.size(), &decoded) != window::DefinitionError::kOk ||
      !(decoded == module)) {
    std::abort();
  }
  window::Module reparsed;
  if (!defc::ParseModule(defc::PrintModule(decoded), &reparsed, &error) || !(reparsed == module)) {
    std::abort();
  }
  return 0;
}
