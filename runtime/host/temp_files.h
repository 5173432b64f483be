// Temporary files in the system's temporary directory ($TMPDIR, else /tmp), named by a prefix
// and a unique suffix, created empty so that no other process can take the same name.
#pragma once

#include <string>

namespace carelog::host {

// Creates "<temporary directory>/<prefix>XXXXXX" and returns its path; "" when it cannot.
std::string CreateTemporaryFile(const std::string& prefix);

}  // namespace carelog::host
