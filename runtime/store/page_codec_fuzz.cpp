// Decodes arbitrary bytes as a stored page; a page that decodes must serialize and decode again
// to the same entries.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "runtime/store/page_codec.h"

using namespace carelog::store;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  int32_t number = data[0] % 4;
  std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  // Let most inputs carry the right own offset so that decoding goes past it.
  if (bytes.size() >= 4) SetPageOffset(&bytes, number);
  std::unique_ptr<Page> page;
  if (!DecodePage(bytes, number, &page)) return 0;
  std::string again;
  SerializePage(*page, &again);
  SetPageOffset(&again, number);
  std::unique_ptr<Page> back;
  if (!DecodePage(again, number, &back) || back->entries.size() != page->entries.size()) {
    std::abort();
  }
  for (size_t i = 0; i < page->entries.size(); ++i) {
    if (back->entries[i].bytes != page->entries[i].bytes ||
        back->entries[i].key_size != page->entries[i].key_size) {
      std::abort();
    }
  }
  return 0;
}
