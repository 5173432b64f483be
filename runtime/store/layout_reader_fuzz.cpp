// Feeds random layout streams, with a key and a memo, to the driver's declaration reader.
// Input: 2 bytes record size, 1 byte key component count, 4 bytes per component (up to 8),
// 2 bytes memo size, then the layout stream.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "runtime/store/driver_state.h"
#include "runtime/store/layout_reader.h"

using namespace carelog::store;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  const uint32_t record_size = uint32_t{data[0]} | uint32_t{data[1]} << 8;
  const int component_count = data[2] % 9;
  data += 3;
  size -= 3;
  std::vector<int32_t> components;
  for (int i = 0; i < component_count && size >= 4; ++i) {
    int32_t component;
    std::memcpy(&component, data, 4);
    components.push_back(component % 64);
    data += 4;
    size -= 4;
  }
  if (size < 2) return 0;
  const uint32_t memo_size = uint32_t{data[0]} | uint32_t{data[1]} << 8;
  data += 2;
  size -= 2;

  LayoutTable table;
  ReadLayout(data, size, record_size, &table);

  std::vector<uint8_t> layout(data, data + size);
  std::vector<uint8_t> buffer(record_size + 1);
  KeyDeclaration key{};
  key.name = {"F:KEY", 5};
  key.component_count = static_cast<uint8_t>(components.size());
  key.components = components.data();
  MemoDeclaration memo{};
  memo.name = {"F:MEMO", 6};
  memo.max_size = memo_size;
  KeyDeclaration* keys[] = {&key};
  MemoDeclaration* memos[] = {&memo};
  FileDeclaration file{};
  file.name = {"Fuzz", 4};
  file.record_size = record_size;
  file.layout = layout.data();
  file.layout_size = static_cast<uint32_t>(layout.size());
  file.buffer = buffer.data();
  file.key_count = 1;
  file.keys = keys;
  file.memo_count = 1;
  file.memos = memos;
  if (!layout.empty() && BuildDriverState(file) == 0) DiscardDriverState(file);
  return 0;
}
