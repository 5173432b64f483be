// Writes the C++ source that carries the resource bodies inside the executable: one byte array
// per body and a table {type "DABDUMP", name, bytes} that registers itself, before main()
// runs, as the executable's resource module (runtime/window/resource_registry.h). The name of
// each body comes from its module identifier (ResourceNameOf); two bodies of the same name
// (without regard to case) are an error.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace carelog::defc {

bool EmbedSource(const std::vector<std::vector<uint8_t>>& bodies, std::string* source,
                 std::string* error);

}  // namespace carelog::defc
