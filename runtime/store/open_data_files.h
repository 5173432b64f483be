// The data files open in this process. Every table that names the same data file (paths
// compared with the runtime's collating comparison, case-blind) shares one open DataFile; the
// file is closed when the last table that holds it lets it go.
#pragma once

#include <memory>
#include <string>

#include "runtime/store/data_file.h"

namespace carelog::store {

// The open data file at `path`, opening it with `options` when no table holds it yet.
// Returns 0 or the error of DataFile::Open (2 when the file does not exist).
int AcquireDataFile(const std::string& path, const DataFileOptions& options,
                    std::shared_ptr<DataFile>* file);

// Whether some table of this process holds the data file at `path` open.
bool DataFileInUse(const std::string& path);

}  // namespace carelog::store
