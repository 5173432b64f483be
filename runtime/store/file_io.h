// File I/O of the record store: every byte the store reads or writes goes through File, and every
// file it opens or removes through FileSystem, so that tests can inject failures and simulate a
// crash at any write or flush (see file_io_faults.h). The interface and the operating system's
// implementation (FileSystem::Posix) live in the platform layer (runtime/host/file_system.h,
// which describes the result and locking conventions); the store uses them under its own names.
#pragma once

#include "runtime/host/file_system.h"

namespace carelog::store {

using File = host::File;
using FileOpenFlags = host::FileOpenFlags;
using FileSystem = host::FileSystem;
using WritePiece = host::WritePiece;

}  // namespace carelog::store
