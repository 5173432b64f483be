#include "runtime/store/memo_format.h"

#include <algorithm>
#include <cstring>

#include "runtime/store/table_entries.h"

namespace carelog::store {

std::string MemoStoredBytes(const MemoDef& memo, const char* buffer, uint32_t length) {
  if (memo.binary()) {
    length = std::min<uint32_t>(length, memo.max_size);
    if (length == 0) return {};
    std::string out;
    AppendU32LE(&out, length);
    out.append(buffer, length);
    return out;
  }
  size_t end = memo.max_size;
  while (end > 0 && buffer[end - 1] == ' ') --end;
  return std::string(buffer, end);
}

uint32_t LoadMemo(const MemoDef& memo, std::string_view stored, char* buffer) {
  std::string_view body = stored;
  if (memo.binary()) {
    if (stored.size() < 4) {
      body = {};
    } else {
      uint32_t declared = ReadU32LE(stored, 0);
      body = stored.substr(4, declared);
    }
  }
  size_t length = std::min<size_t>(body.size(), memo.max_size);
  if (length > 0) std::memcpy(buffer, body.data(), length);
  std::memset(buffer + length, ' ', memo.max_size - length);
  return static_cast<uint32_t>(length);
}

}  // namespace carelog::store
