// Feeds arbitrary bytes to the automation script parser: it must answer with commands or an
// error, never crash or hang.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/host/automation_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<carelog::host::ScriptCommand> commands;
  std::string error;
  std::string_view source(reinterpret_cast<const char*>(data), size);
  if (carelog::host::ParseScript(source, &commands, &error)) {
    for (const auto& c : commands) {
      if (c.line < 1) __builtin_trap();
      (void)carelog::host::ScriptVerbName(c.verb);
    }
  } else if (error.empty()) {
    __builtin_trap();
  }
  return 0;
}
