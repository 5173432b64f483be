// Temporary files in the system's temporary directory ($TMPDIR, else /tmp), named by a prefix
// and a unique suffix, created empty so that no other process can take the same name.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace carelog::host {

// Creates "<temporary directory>/<prefix>XXXXXX" and returns its path; "" when it cannot.
std::string CreateTemporaryFile(const std::string& prefix);

// Creates a temporary file as CreateTemporaryFile does and writes `bytes` into it through the
// descriptor it was created with (no second open). Returns false with `*path` empty when no
// file could be created, and false with `*path` naming it when the bytes could not all be
// written; the file is removed then, so a failure leaves nothing behind.
bool WriteTemporaryFile(const std::string& prefix, std::span<const uint8_t> bytes,
                        std::string* path);

}  // namespace carelog::host
