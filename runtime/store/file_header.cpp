#include "runtime/store/file_header.h"

#include <cstring>
#include <string>

#include "runtime/store/coding.h"

namespace carelog::store {

uint64_t FileHeader::EndOfDataOffset() const {
  return PageOffset(regions.EndOfData());
}

void EncodeHeaderStart(const FileHeader& header, uint8_t out[kHeaderStartSize]) {
  StoreLe32(out + 0, 0);
  StoreLe16(out + 4, kHeaderSize);
  StoreLe32(out + 6, header.log_start);
  StoreLe32(out + 10, header.log_end);
  StoreLe32(out + 14, kSignature);
  StoreLe16(out + 18, 0);
  StoreBe32(out + 20, header.last_number);
  StoreLe32(out + 24, header.change_counter);
  StoreLe32(out + 28, static_cast<uint32_t>(header.root));
  for (int i = 0; 32 + 4 * i < kHeaderStartSize; ++i) {
    StoreLe32(out + 32 + 4 * i, static_cast<uint32_t>(header.regions.start[i]));
  }
}

void EncodeHeader(const FileHeader& header, uint8_t out[kHeaderSize]) {
  std::memset(out, 0, kHeaderSize);
  EncodeHeaderStart(header, out);
  for (int i = 0; i < kRegionCount; ++i) {
    StoreLe32(out + 32 + 4 * i, static_cast<uint32_t>(header.regions.start[i]));
    StoreLe32(out + 272 + 4 * i, static_cast<uint32_t>(header.regions.end[i]));
  }
}

bool DecodeHeader(const uint8_t in[kHeaderSize], FileHeader* header) {
  if (LoadLe32(in + 14) != kSignature) return false;
  if (LoadLe32(in + 0) != 0 || LoadLe16(in + 4) != kHeaderSize) return false;
  FileHeader h;
  h.log_start = LoadLe32(in + 6);
  h.log_end = LoadLe32(in + 10);
  h.last_number = LoadBe32(in + 20);
  h.change_counter = LoadLe32(in + 24);
  h.root = static_cast<int32_t>(LoadLe32(in + 28));
  for (int i = 0; i < kRegionCount; ++i) {
    h.regions.start[i] = static_cast<int32_t>(LoadLe32(in + 32 + 4 * i));
    h.regions.end[i] = static_cast<int32_t>(LoadLe32(in + 272 + 4 * i));
  }
  std::string why;
  if (!h.regions.Check(false, &why)) return false;
  if (h.log_start > h.log_end || (h.log_pending() && h.log_start < kHeaderSize)) return false;
  if (h.root != kEmptyRoot && h.regions.ClassOf(h.root) == 0) return false;
  *header = h;
  return true;
}

}  // namespace carelog::store
