// The commit of a write access cycle through the redo log, and the repair of a commit that was
// interrupted.
//
// The log is a run of page images (each with its own offset in its first four bytes and its
// stored length in the next two, occupying its length rounded up to 256) followed by a copy of
// the new header (own offset 0, length 512). It lies beyond the data of both the old and the new
// state, so writing it never touches anything the old state needs.
//
// Commit (the header's log fields are equal except between steps 5 and 7):
//   1. keep the old header; a file never committed to first gets the empty header, flushed;
//   2. the log starts at the new end of data, or at the old one when that is higher;
//   3. a page that overwrites old data goes to the end of the log; a page beyond the old end of
//      data goes straight to its own offset;
//   4. the new header goes to the end of the log;
//   5. flush; write the old header pointing at the log; flush -- the change is now durable;
//   6. copy the logged pages and the new header to their own offsets;
//   7. flush; write the header with both log fields at the end of data; flush.
// WriteRedoLog runs steps 1 to 5, ApplyRedoLog steps 6 and 7. A crash before step 5's header
// reaches the disk leaves the old state; after it, ReplayRedoLog finishes the commit.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/store/file_header.h"
#include "runtime/store/file_io.h"

namespace carelog::store {

// A page ready to write: its serialized bytes with its own offset set (held by the page).
struct PageImage {
  uint64_t offset;
  std::string_view bytes;
};

struct RedoLog {
  uint64_t start = 0;
  uint64_t end = 0;
  std::vector<const PageImage*> logged;  // pages to copy in step 6
};

// Steps 1 to 5. Sets the log fields of *new_header and fills *log. `pages` must outlive *log.
int WriteRedoLog(File& file, const FileHeader& old_header, FileHeader* new_header,
                 const std::vector<PageImage>& pages, RedoLog* log);
// Steps 6 and 7. On return *new_header has both log fields at the end of data.
int ApplyRedoLog(File& file, const RedoLog& log, FileHeader* new_header);

// Reads the pending log of *header without applying it: the logged pages by their own offset
// (a later copy wins) and the logged header (its log fields as written). 36 when damaged.
int ReadRedoLog(File& file, const FileHeader& header, std::map<uint64_t, std::string>* pages,
                FileHeader* logged_header);

// Forgets the pending log: writes `header` (the state before the commit) with both log fields
// at its end of data, and flushes.
int DropRedoLog(File& file, FileHeader* header);

// Finishes an interrupted commit: *header (read from offset 0) has a pending log. Copies every
// logged page to its own offset and makes the logged header the file's header, with the log
// fields reset. 36 when the log is damaged.
int ReplayRedoLog(File& file, FileHeader* header);

}  // namespace carelog::store
