#include "runtime/store/coding.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace carelog::store {

namespace {

// Writes `value` as a count: seven bits a byte, low first, the high bit set on all but the last.
char* WriteCount(char* out, size_t value) {
  while (value >= 0x80) {
    *out++ = static_cast<char>((value & 0x7F) | 0x80);
    value >>= 7;
  }
  *out++ = static_cast<char>(value);
  return out;
}

}  // namespace

void AppendCount(std::string* out, size_t value) {
  char bytes[10];  // a 64-bit count takes at most ten bytes
  out->append(bytes, static_cast<size_t>(WriteCount(bytes, value) - bytes));
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

namespace {

// The first p at or after `from` where four equal bytes begin, else `size`. A window of four
// that holds two different neighbours cannot start at or before the first of them, so the scan
// moves on past it.
size_t NextRunOfFour(const char* data, size_t size, size_t from) {
  size_t p = from;
  while (p + 3 < size) {
    if (data[p + 2] != data[p + 3]) {
      p += 3;
    } else if (data[p + 1] != data[p + 2]) {
      p += 2;
    } else if (data[p] != data[p + 1]) {
      p += 1;
    } else {
      return p;
    }
  }
  return size;
}

// The length of the run of data[p] starting at p, at least `known`; compared eight bytes at a
// time, since runs of blanks and zeros fill most of a page's records.
size_t RunLength(const char* data, size_t size, size_t p, size_t known) {
  const uint64_t pattern = 0x0101010101010101ULL * static_cast<uint8_t>(data[p]);
  size_t end = p + known;
  while (end + 8 <= size) {
    uint64_t word;
    std::memcpy(&word, data + end, 8);
    const uint64_t differ = word ^ pattern;
    if (differ != 0) {
      // The lowest differing byte comes first in memory on a little-endian machine; elsewhere
      // the byte loop below finds it.
      if constexpr (std::endian::native == std::endian::little) {
        return end + static_cast<size_t>(std::countr_zero(differ) / 8) - p;
      }
      break;
    }
    end += 8;
  }
  while (end < size && data[end] == data[p]) ++end;
  return end - p;
}

// The length of the common prefix of `a` and `b`, at most `limit` (within both); neighbouring
// entries share their table number, kind and most of their key, so it is compared by words.
size_t SharedPrefix(std::string_view a, std::string_view b, size_t limit) {
  size_t shared = 0;
  while (shared + 8 <= limit) {
    uint64_t x, y;
    std::memcpy(&x, a.data() + shared, 8);
    std::memcpy(&y, b.data() + shared, 8);
    if (x != y) {
      if constexpr (std::endian::native == std::endian::little) {
        return shared + static_cast<size_t>(std::countr_zero(x ^ y) / 8);
      }
      break;
    }
    shared += 8;
  }
  while (shared < limit && a[shared] == b[shared]) ++shared;
  return shared;
}

size_t CountSize(size_t value) {
  size_t bytes = 1;
  while (value >= 0x80) {
    value >>= 7;
    ++bytes;
  }
  return bytes;
}

// Writes count(n) and the n literal bytes at `from`, or returns null when that would take the
// coding past `limit`.
char* WriteLiterals(char* out, const char* begin, const char* from, size_t n, size_t limit) {
  if (static_cast<size_t>(out - begin) + CountSize(n) + n > limit) return nullptr;
  out = WriteCount(out, n);
  std::memcpy(out, from, n);
  return out + n;
}

}  // namespace

// Writes into a buffer sized up front and stops as soon as the coding would pass `limit`: a
// pair never codes fewer bytes than it takes, give or take its counts, so three times the input
// always holds it.
bool RunLengthEncode(std::string_view in, std::string* out, size_t limit) {
  out->resize(RunLengthRoom(in.size(), limit));
  out->resize(RunLengthEncodeInto(in, out->data(), limit));
  return !out->empty();
}

size_t RunLengthEncodeInto(std::string_view in, char* out, size_t limit) {
  const char* data = in.data();
  const size_t size = in.size();
  char* const begin = out;
  char* at = begin;
  size_t literal_start = 0;
  bool found_run = false;
  for (size_t p = NextRunOfFour(data, size, 0); p < size && at; p = NextRunOfFour(data, size, p)) {
    const size_t run = RunLength(data, size, p, 4);
    found_run = true;
    at = WriteLiterals(at, begin, data + literal_start, p + 1 - literal_start, limit);
    if (at && static_cast<size_t>(at - begin) + CountSize(run - 1) > limit) at = nullptr;
    if (at) at = WriteCount(at, run - 1);
    p += run;
    literal_start = p;
  }
  if (at && literal_start < size && found_run) {
    at = WriteLiterals(at, begin, data + literal_start, size - literal_start, limit);
  }
  if (!found_run || !at) return 0;
  return static_cast<size_t>(at - begin);
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

char* WritePrefixCoded(char* out, std::string_view previous, size_t previous_key_size,
                       std::string_view entry, size_t key_size, bool first) {
  size_t shared = 0;
  uint8_t flag = 0;
  if (first) {
    flag = 0xC0;
  } else {
    shared = SharedPrefix(previous, entry, std::min<size_t>({63, previous.size(), entry.size()}));
    if (entry.size() != previous.size()) flag |= 0x80;
    if (key_size != previous_key_size) flag |= 0x40;
  }
  *out++ = static_cast<char>(flag | shared);
  if (flag & 0x80) {
    StoreLe16(reinterpret_cast<uint8_t*>(out), static_cast<uint16_t>(entry.size()));
    out += 2;
  }
  if (flag & 0x40) {
    StoreLe16(reinterpret_cast<uint8_t*>(out), static_cast<uint16_t>(key_size));
    out += 2;
  }
  std::memcpy(out, entry.data() + shared, entry.size() - shared);
  return out + entry.size() - shared;
}

void AppendPrefixCoded(std::string* out, std::string_view previous, size_t previous_key_size,
                       std::string_view entry, size_t key_size, bool first) {
  const size_t at = out->size();
  out->resize(at + kMaxPrefixCodedOverhead + entry.size());
  char* end =
      WritePrefixCoded(out->data() + at, previous, previous_key_size, entry, key_size, first);
  out->resize(static_cast<size_t>(end - out->data()));
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
