#include "runtime/store/page_codec.h"

#include <cstring>

#include "runtime/store/coding.h"
#include "runtime/store/file_header.h"
#include "runtime/store/internal_error.h"

namespace carelog::store {
namespace {

const uint8_t* Bytes(std::string_view s) {
  return reinterpret_cast<const uint8_t*>(s.data());
}
uint8_t* Bytes(std::string* s) {
  return reinterpret_cast<uint8_t*>(s->data());
}

}  // namespace

bool DecodePageHeader(std::string_view bytes, PageHeaderFields* h) {
  if (bytes.size() < kPageHeaderSize) return false;
  const uint8_t* p = Bytes(bytes);
  h->own_offset = LoadLe32(p);
  h->stored_length = LoadLe16(p + 4);
  h->decoded_length = LoadLe16(p + 6);
  h->accounting = LoadLe16(p + 8);
  h->count = LoadLe16(p + 10);
  h->level = p[12];
  size_t fixed = kPageHeaderSize + (h->level > 0 ? 4u * h->count : 0u);
  return h->stored_length >= fixed && h->stored_length <= kLargestPage &&
         h->decoded_length >= h->stored_length && h->decoded_length <= h->accounting &&
         h->count >= 1;
}

// The entries are prefix-coded straight into `out` after the header and child numbers; a
// run-length coding that saves units replaces them in place.
void SerializePage(const Page& page, std::string* out) {
  const size_t fixed = kPageHeaderSize + (page.is_leaf() ? 0 : 4 * page.children.size());
  size_t room = fixed;
  for (const Entry& e : page.entries) room += kMaxPrefixCodedOverhead + e.bytes.size();
  out->resize(room);
  char* const begin = out->data();
  char* end = begin + fixed;
  for (size_t i = 0; i < page.entries.size(); ++i) {
    const Entry& e = page.entries[i];
    const Entry* previous = i > 0 ? &page.entries[i - 1] : nullptr;
    end = WritePrefixCoded(end, previous ? std::string_view(previous->bytes) : std::string_view(),
                           previous ? previous->key_size : 0, e.bytes, e.key_size, i == 0);
  }
  const size_t decoded = static_cast<size_t>(end - begin);
  if (decoded > page.accounting) InternalError(1649);
  size_t stored = decoded;
  // Run-length coding pays only when the page then occupies fewer units.
  const size_t fewer_units = static_cast<size_t>(UnitsFor(decoded) - 1) * kUnitSize;
  if (fewer_units > fixed) {
    // One buffer per thread, grown once: coding a page allocates and clears nothing.
    thread_local std::string packed;
    const std::string_view body(begin + fixed, decoded - fixed);
    const size_t limit = fewer_units - fixed;
    if (packed.size() < RunLengthRoom(body.size(), limit)) {
      packed.resize(RunLengthRoom(body.size(), limit));
    }
    if (size_t coded = RunLengthEncodeInto(body, packed.data(), limit)) {
      std::memcpy(begin + fixed, packed.data(), coded);
      stored = fixed + coded;
    }
  }
  if (stored > kLargestPage) InternalError(1668);

  const size_t units = static_cast<size_t>(UnitsFor(stored)) * kUnitSize;
  out->resize(units);
  std::memset(out->data() + stored, kPageFill, units - stored);
  uint8_t* p = Bytes(out);
  StoreLe32(p, 0);
  StoreLe16(p + 4, static_cast<uint16_t>(stored));
  StoreLe16(p + 6, static_cast<uint16_t>(decoded));
  StoreLe16(p + 8, static_cast<uint16_t>(page.accounting));
  StoreLe16(p + 10, static_cast<uint16_t>(page.entries.size()));
  p[12] = page.level;
  for (size_t i = 0; i < page.children.size(); ++i) {
    StoreLe32(p + kPageHeaderSize + 4 * i, static_cast<uint32_t>(page.children[i]));
  }
}

void SetPageOffset(std::string* bytes, int32_t number) {
  StoreLe32(Bytes(bytes), static_cast<uint32_t>(PageOffset(number)));
}

bool DecodePage(std::string_view bytes, int32_t number, std::unique_ptr<Page>* out) {
  PageHeaderFields h;
  if (!DecodePageHeader(bytes, &h)) return false;
  if (h.own_offset != PageOffset(number) ||
      static_cast<size_t>(UnitsFor(h.stored_length)) * kUnitSize != bytes.size()) {
    return false;
  }
  auto page = std::make_unique<Page>(number, h.level);
  const uint8_t* p = Bytes(bytes);
  size_t fixed = kPageHeaderSize;
  if (h.level > 0) {
    for (size_t i = 0; i < h.count; ++i) {
      page->children.push_back(static_cast<int32_t>(LoadLe32(p + fixed + 4 * i)));
      if (page->children.back() < 0) return false;
    }
    fixed += 4u * h.count;
  }
  std::string_view stored_body = bytes.substr(fixed, h.stored_length - fixed);
  std::string unpacked;
  std::string_view body = stored_body;
  if (h.decoded_length != h.stored_length) {
    if (!RunLengthDecode(stored_body, h.decoded_length - fixed, &unpacked)) return false;
    body = unpacked;
  }
  size_t pos = 0;
  Entry entry;
  for (size_t i = 0; i < h.count; ++i) {
    if (!ReadPrefixCoded(body, &pos, &entry.bytes, &entry.key_size, i == 0)) return false;
    if (i > 0 && !(page->entries.back().key() < entry.key())) return false;
    page->entries.push_back(entry);
  }
  if (pos != body.size()) return false;
  page->RecomputeAccounting();
  if (page->accounting != h.accounting) return false;
  *out = std::move(page);
  return true;
}

}  // namespace carelog::store
