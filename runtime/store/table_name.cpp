#include "runtime/store/table_name.h"

namespace carelog::store {

std::string WithDataFileExtension(std::string_view path) {
  size_t base = path.find_last_of("/\\");
  base = base == std::string_view::npos ? 0 : base + 1;
  std::string result(path);
  if (path.find('.', base) == std::string_view::npos) result.append(kDataFileExtension);
  return result;
}

TableName SplitTableName(std::string_view declared) {
  TableName name;
  size_t sep = declared.find(kTableSeparator);
  if (sep == std::string_view::npos) {
    name.file = WithDataFileExtension(declared);
    name.table = std::string(kDefaultTableName);
  } else {
    name.file = WithDataFileExtension(declared.substr(0, sep));
    name.table = std::string(declared.substr(sep + kTableSeparator.size()));
    if (name.table.empty()) name.table = std::string(kDefaultTableName);
  }
  return name;
}

}  // namespace carelog::store
