// Opens arbitrary bytes as a whole data file (header, pending redo log, pages) and walks every
// entry both ways: any damage must end in an error code, never a crash or a hang.
#include <cstdint>
#include <string>

#include "runtime/store/data_file.h"
#include "runtime/store/file_header.h"
#include "runtime/store/file_io_faults.h"
#include "runtime/store/tree.h"

using namespace carelog::store;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size >= kHeaderSize) {
    FileHeader header;
    DecodeHeader(data, &header);
  }
  FaultFileSystem fs;
  {
    DataFileOptions options;
    options.create = true;
    std::unique_ptr<DataFile> file;
    DataFile::Open("f", options, &file, &fs);
  }
  fs.Contents("f")->assign(reinterpret_cast<const char*>(data), size);
  DataFileOptions options;
  std::unique_ptr<DataFile> file;
  if (DataFile::Open("f", options, &file, &fs) != 0) return 0;
  Cursor cursor(*file);
  bool found = false;
  for (int steps = 0; cursor.Next(&found) == 0 && found && steps < 100000; ++steps) {
  }
  for (int steps = 0; cursor.Previous(&found) == 0 && found && steps < 100000; ++steps) {
  }
  file->tree().Put("fuzz", "entry");
  file->EndAccess();
  return 0;
}
