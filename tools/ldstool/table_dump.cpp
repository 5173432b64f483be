#include "tools/ldstool/table_dump.h"

#include <cstring>
#include <sstream>

#include "runtime/store/declarations.h"
#include "runtime/store/memo_format.h"
#include "runtime/store/table.h"
#include "runtime/store/table_entries.h"
#include "runtime/store/tree.h"

namespace carelog::ldstool {
namespace {

using namespace carelog::store;

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

template <typename T>
T Load(const uint8_t* at) {
  T value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

std::string PackedDecimal(const uint8_t* at, size_t size, int places) {
  std::string digits;
  for (size_t i = 0; i < size; ++i) {
    if (i > 0) digits.push_back(static_cast<char>('0' + std::min(at[i] >> 4, 9)));
    digits.push_back(static_cast<char>('0' + std::min(at[i] & 0x0F, 9)));
  }
  if (places > 0 && static_cast<size_t>(places) < digits.size()) {
    digits.insert(digits.size() - places, ".");
  }
  size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) return "0";
  if (digits[first] == '.') --first;
  std::string text = digits.substr(first);
  return (size > 0 && (at[0] & 0xF0) != 0) ? "-" + text : text;
}

std::string Element(const FieldDef& f, const uint8_t* at, size_t size) {
  std::ostringstream s;
  switch (f.type) {
    case kTypeByte:
      return std::to_string(at[0]);
    case kTypeShort:
      return std::to_string(Load<int16_t>(at));
    case kTypeUShort:
      return std::to_string(Load<uint16_t>(at));
    case kTypeLong:
    case kTypeDate:
    case kTypeTime:
      return std::to_string(Load<int32_t>(at));
    case kTypeULong:
      return std::to_string(Load<uint32_t>(at));
    case kTypeSReal:
      s << Load<float>(at);
      return s.str();
    case kTypeReal:
      s << Load<double>(at);
      return s.str();
    case kTypeDecimal:
    case kTypePDecimal:
      return PackedDecimal(at, size, f.places);
    case kTypeCString: {
      const void* nul = std::memchr(at, 0, size);
      return std::string(reinterpret_cast<const char*>(at),
                         nul ? static_cast<const uint8_t*>(nul) - at : size);
    }
    case kTypePString:
      return size == 0 ? std::string()
                       : std::string(reinterpret_cast<const char*>(at) + 1,
                                     std::min<size_t>(at[0], size - 1));
    default: {
      std::string text(reinterpret_cast<const char*>(at), size);
      return text.substr(0, text.find_last_not_of(' ') + 1);
    }
  }
}

std::string CsvQuoted(const std::string& text) {
  std::string q = "\"";
  for (char c : text) {
    if (c == '"') q.push_back('"');
    q.push_back(c);
  }
  return q + "\"";
}

// Memos of record `record`, as stored (blocks in order), one string per memo.
int ReadMemos(DataFile& file, uint32_t table, uint32_t record, const TableDefinition& def,
              std::vector<std::string>* memos) {
  memos->assign(def.memos.size(), std::string());
  std::string prefix = MemoPrefix(table, record);
  Cursor cursor(file);
  bool found = false;
  int rc = cursor.SeekAtOrAbove(prefix, &found);
  while (rc == 0 && found && StartsWith(cursor.key(), prefix)) {
    if (cursor.key().size() == prefix.size() + 3) {
      size_t memo = static_cast<uint8_t>(cursor.key()[prefix.size()]);
      if (memo < memos->size()) (*memos)[memo].append(cursor.data());
    }
    rc = cursor.Next(&found);
  }
  for (size_t m = 0; m < def.memos.size(); ++m) {
    std::string buffer(def.memos[m].max_size, ' ');
    uint32_t length = LoadMemo(def.memos[m], (*memos)[m], buffer.data());
    if (!def.memos[m].binary()) length = buffer.find_last_not_of(' ') + 1;
    (*memos)[m] = buffer.substr(0, length);
  }
  return rc;
}

bool Shown(const FieldDef& f) {
  return f.type != kTypeGroup && f.overlay == 0;
}

}  // namespace

std::string FormatField(const FieldDef& f, const uint8_t* image) {
  if (f.element_count <= 1) return Element(f, image + f.offset, f.total_size);
  const size_t size = f.total_size / f.element_count;
  std::string text;
  for (size_t e = 0; e < f.element_count; ++e) {
    if (e > 0) text.push_back('|');
    text += Element(f, image + f.offset + e * size, size);
  }
  return text;
}

int ListTables(DataFile& file, std::vector<StoredTableInfo>* tables) {
  tables->clear();
  const std::string prefix(1, static_cast<char>(kKindTableName));
  Cursor cursor(file);
  bool found = false;
  int rc = cursor.SeekAtOrAbove(prefix, &found);
  while (rc == 0 && found && StartsWith(cursor.key(), prefix)) {
    if (cursor.data().size() == 4) {
      tables->push_back(
          StoredTableInfo{std::string(cursor.key().substr(1)), ReadU32BE(cursor.data(), 0)});
    }
    rc = cursor.Next(&found);
  }
  return rc;
}

int DumpTable(DataFile& file, uint32_t number, bool csv, std::ostream& out) {
  TableDefinition def;
  int rc = Table::ReadDefinition(file, number, &def);
  if (rc != 0) return rc;
  if (csv) {
    std::string header = "RECORD";
    for (const FieldDef& f : def.fields) {
      if (Shown(f)) header += "," + CsvQuoted(f.name);
    }
    for (const MemoDef& m : def.memos) header += "," + CsvQuoted(m.name);
    out << header << "\n";
  }
  const std::string records = RecordsPrefix(number);
  Cursor cursor(file);
  bool found = false;
  rc = cursor.SeekAtOrAbove(records, &found);
  while (rc == 0 && found && StartsWith(cursor.key(), records)) {
    uint32_t record = RecordNumberOf(cursor.key());
    std::string image(cursor.data());
    if (image.size() != def.record_size) return kErrInvalidDataFile;
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(image.data());
    std::vector<std::string> memos;
    if ((rc = ReadMemos(file, number, record, def, &memos)) != 0) return rc;
    if (csv) {
      out << record;
      for (const FieldDef& f : def.fields) {
        if (Shown(f)) out << "," << CsvQuoted(FormatField(f, bytes));
      }
      for (const std::string& memo : memos) out << "," << CsvQuoted(memo);
      out << "\n";
    } else {
      out << "record " << record << "\n";
      for (const FieldDef& f : def.fields) {
        if (Shown(f)) out << "  " << f.name << " = " << FormatField(f, bytes) << "\n";
      }
      for (size_t m = 0; m < memos.size(); ++m) {
        out << "  " << def.memos[m].name << " = " << memos[m] << "\n";
      }
    }
    rc = cursor.Next(&found);
  }
  return rc;
}

}  // namespace carelog::ldstool
