// Transactions over several data files: the transaction control file's name, the transaction
// mark each participating data file carries, and the recovery decision for a pending redo log.
//
// Transaction mark: one entry of a data file that took part in a multi-file commit.
//
// | Part | Bytes | Meaning                                                       |
// |------|-------|---------------------------------------------------------------|
// | key  | 1     | 0xFF                                                          |
// | data | 4     | transaction number, big-endian                                |
// | data | n + 1 | name of the transaction control file, then a zero byte        |
//
// Transaction control file: a data file whose entries are the transactions between their start
// and their commit point, each one entry whose key part is the transaction number (4 bytes,
// big-endian) and whose data part is empty. A data file whose pending log carries a mark whose
// number is still in the named control file belongs to a transaction that never reached its
// commit point: its log is dropped instead of replayed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/store/file_header.h"
#include "runtime/store/file_io.h"

namespace carelog::store {

inline constexpr std::string_view kDefaultControlFileName = "c:\\lodestar.tcf";

// The file a control-file name stands for on this system: a drive letter and the separators
// after it are dropped, so the name is relative to the working directory, and backslashes
// become slashes ("c:\lodestar.tcf" -> "lodestar.tcf", "d:\shared\tx.tcf" -> "shared/tx.tcf").
std::string ControlFilePath(std::string_view name);

// The data part of a mark, and back (false when the bytes are no mark).
std::string EncodeMark(uint32_t transaction, std::string_view control_file);
bool DecodeMark(std::string_view data, uint32_t* transaction, std::string* control_file);

// The key part of a control file entry.
std::string ControlEntryKey(uint32_t transaction);

// Decides whether the pending log of a data file may be replayed: *replay false when the logged
// state carries a mark whose transaction is still listed in its control file. A control file
// that cannot be opened lists nothing. Returns 0 or an error reading the log.
int PendingLogMayReplay(File& file, const FileHeader& header, bool* replay);

}  // namespace carelog::store
