#include "runtime/eval/record_binding.h"

#include <algorithm>

#include "runtime/eval/name_table.h"
#include "runtime/store/layout_reader.h"

namespace carelog::eval {
namespace {

Variable VariableFor(const store::FieldEntry& field, uint8_t* record) {
  Variable variable;
  variable.address = record + field.offset;
  variable.type = static_cast<store::FieldType>(field.type);
  variable.size = field.element_size;
  variable.places = field.decimal_places;
  // A string or a group is read as one text of its element's bytes; arrays index elements.
  variable.dimension_count = static_cast<uint8_t>(std::min(field.dimension_count, kMaxDimensions));
  std::copy_n(field.dimensions, variable.dimension_count, variable.dimensions);
  return variable;
}

}  // namespace

int BindRecord(const store::FileDeclaration& file) {
  if (file.layout == nullptr || file.buffer == nullptr) return 0;
  // Without a declared size the stream ends where its root group closes.
  const size_t size = file.layout_size != 0 ? file.layout_size : SIZE_MAX;
  store::LayoutTable table;
  if (store::ReadLayout(file.layout, size, file.record_size, &table) != 0) return 0;
  int bound = 0;
  for (const store::FieldEntry& field : table.fields) {
    const auto type = static_cast<store::FieldType>(field.type);
    if (!IsReadableType(type) || field.offset + field.total_size > file.record_size) continue;
    BindVariable(field.name, VariableFor(field, file.buffer));
    ++bound;
  }
  return bound;
}

void BindMemo(std::string_view name, const store::MemoDeclaration& memo) {
  Variable variable;
  variable.memo = &memo;
  variable.type = store::kTypeString;
  variable.size = memo.max_size;
  BindVariable(name, variable);
}

}  // namespace carelog::eval
