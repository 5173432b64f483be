// Naming of stored tables: a declared name "file\!table" names the table `table` inside the
// data file `file`. Without the separator the table is "UNNAMED"; a file part without an
// extension gets ".LDS".
#pragma once

#include <string>
#include <string_view>

namespace carelog::store {

inline constexpr std::string_view kTableSeparator = "\\!";
inline constexpr std::string_view kDefaultTableName = "UNNAMED";
inline constexpr std::string_view kDataFileExtension = ".LDS";

struct TableName {
  std::string file;   // data file path, extension added when missing
  std::string table;  // table name inside the data file
};

TableName SplitTableName(std::string_view declared);

// `path` with ".LDS" appended when its last path component has no extension.
std::string WithDataFileExtension(std::string_view path);

}  // namespace carelog::store
