#include "runtime/store/coding.h"

#include <algorithm>

namespace carelog::store {

void AppendCount(std::string* out, size_t value) {
  while (value >= 0x80) {
    out->push_back(static_cast<char>((value & 0x7F) | 0x80));
    value >>= 7;
  }
  out->push_back(static_cast<char>(value));
}

bool ReadCount(std::string_view in, size_t* pos, size_t* value) {
  size_t result = 0;
  for (int shift = 0; shift < 35; shift += 7) {
    if (*pos >= in.size()) return false;
    uint8_t byte = static_cast<uint8_t>(in[(*pos)++]);
    result |= static_cast<size_t>(byte & 0x7F) << shift;
    if ((byte & 0x80) == 0) {
      if (result > 0xFFFFFFFFu) return false;
      *value = result;
      return true;
    }
  }
  return false;
}

bool RunLengthEncode(std::string_view in, std::string* out) {
  out->clear();
  size_t literal_start = 0;
  size_t p = 0;
  bool found_run = false;
  while (p < in.size()) {
    size_t run = 1;
    while (p + run < in.size() && in[p + run] == in[p]) ++run;
    if (run < 4) {
      p += run;
      continue;
    }
    found_run = true;
    AppendCount(out, p + 1 - literal_start);
    out->append(in.substr(literal_start, p + 1 - literal_start));
    AppendCount(out, run - 1);
    p += run;
    literal_start = p;
  }
  if (!found_run) {
    out->clear();
    return false;
  }
  if (literal_start < in.size()) {
    AppendCount(out, in.size() - literal_start);
    out->append(in.substr(literal_start));
  }
  return true;
}

bool RunLengthDecode(std::string_view in, size_t size, std::string* out) {
  size_t start = out->size();
  size_t pos = 0;
  while (out->size() - start < size) {
    size_t literals = 0;
    if (!ReadCount(in, &pos, &literals)) return false;
    if (literals > in.size() - pos || literals > size - (out->size() - start)) return false;
    out->append(in.substr(pos, literals));
    pos += literals;
    if (out->size() - start == size) break;
    size_t repeats = 0;
    if (!ReadCount(in, &pos, &repeats)) return false;
    if (out->size() == start) return false;  // nothing to repeat
    if (repeats > size - (out->size() - start)) return false;
    out->append(repeats, out->back());
  }
  return pos == in.size();
}

void AppendPrefixCoded(std::string* out, std::string_view previous, size_t previous_key_size,
                       std::string_view entry, size_t key_size, bool first) {
  size_t shared = 0;
  uint8_t flag = 0;
  if (first) {
    flag = 0xC0;
  } else {
    size_t limit = std::min<size_t>({63, previous.size(), entry.size()});
    while (shared < limit && previous[shared] == entry[shared]) ++shared;
    if (entry.size() != previous.size()) flag |= 0x80;
    if (key_size != previous_key_size) flag |= 0x40;
  }
  out->push_back(static_cast<char>(flag | shared));
  uint8_t length[2];
  if (flag & 0x80) {
    StoreLe16(length, static_cast<uint16_t>(entry.size()));
    out->append(reinterpret_cast<const char*>(length), 2);
  }
  if (flag & 0x40) {
    StoreLe16(length, static_cast<uint16_t>(key_size));
    out->append(reinterpret_cast<const char*>(length), 2);
  }
  out->append(entry.substr(shared));
}

bool ReadPrefixCoded(std::string_view in, size_t* pos, std::string* entry, size_t* key_size,
                     bool first) {
  if (*pos >= in.size()) return false;
  uint8_t flag = static_cast<uint8_t>(in[(*pos)++]);
  size_t shared = flag & 0x3F;
  if (first && (flag & 0xC0) != 0xC0) return false;
  if (shared > entry->size()) return false;
  size_t total = entry->size();
  const uint8_t* p = reinterpret_cast<const uint8_t*>(in.data());
  if (flag & 0x80) {
    if (in.size() - *pos < 2) return false;
    total = LoadLe16(p + *pos);
    *pos += 2;
  }
  if (flag & 0x40) {
    if (in.size() - *pos < 2) return false;
    *key_size = LoadLe16(p + *pos);
    *pos += 2;
  }
  if (shared > total || *key_size > total) return false;
  size_t rest = total - shared;
  if (rest > in.size() - *pos) return false;
  entry->resize(shared);
  entry->append(in.substr(*pos, rest));
  *pos += rest;
  return true;
}

}  // namespace carelog::store
