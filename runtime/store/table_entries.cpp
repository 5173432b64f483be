#include "runtime/store/table_entries.h"

namespace carelog::store {

void AppendU32BE(std::string* out, uint32_t v) {
  const char bytes[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16),
                         static_cast<char>(v >> 8), static_cast<char>(v)};
  out->append(bytes, sizeof bytes);
}

uint32_t ReadU32BE(std::string_view b, size_t at) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<uint8_t>(b[at + i]);
  return v;
}

void AppendU32LE(std::string* out, uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out->push_back(static_cast<char>(v >> shift));
}

uint32_t ReadU32LE(std::string_view b, size_t at) {
  uint32_t v = 0;
  for (size_t i = 4; i-- > 0;) v = (v << 8) | static_cast<uint8_t>(b[at + i]);
  return v;
}

std::string TablePrefix(uint32_t table) {
  std::string k;
  AppendU32BE(&k, table);
  return k;
}

std::string TableNameKey(std::string_view name) {
  std::string k(1, static_cast<char>(kKindTableName));
  k.append(name);
  return k;
}

std::string DefinitionKey(uint32_t table, uint16_t block) {
  std::string k = TablePrefix(table);
  k.push_back(static_cast<char>(kKindDefinition));
  k.push_back(static_cast<char>(block & 0xFF));
  k.push_back(static_cast<char>(block >> 8));
  return k;
}

std::string CountersKey(uint32_t table, uint8_t index) {
  std::string k = TablePrefix(table);
  k.push_back(static_cast<char>(kKindCounters));
  k.push_back(static_cast<char>(index));
  return k;
}

std::string RecordsPrefix(uint32_t table) {
  std::string k = TablePrefix(table);
  k.push_back(static_cast<char>(kKindRecord));
  return k;
}

std::string RecordKey(uint32_t table, uint32_t record) {
  std::string k = RecordsPrefix(table);
  AppendU32BE(&k, record);
  return k;
}

std::string MemoPrefix(uint32_t table, uint32_t record) {
  std::string k = TablePrefix(table);
  k.push_back(static_cast<char>(kKindMemo));
  AppendU32BE(&k, record);
  return k;
}

std::string MemoKey(uint32_t table, uint32_t record, uint8_t memo, uint16_t block) {
  std::string k = MemoPrefix(table, record);
  k.push_back(static_cast<char>(memo));
  k.push_back(static_cast<char>(block >> 8));
  k.push_back(static_cast<char>(block & 0xFF));
  return k;
}

std::string KeyPrefix(uint32_t table, uint8_t key_number) {
  std::string k = TablePrefix(table);
  k.push_back(static_cast<char>(key_number));
  return k;
}

uint32_t RecordNumberOf(std::string_view key) {
  if (key.size() != 9 || static_cast<uint8_t>(key[4]) != kKindRecord) return 0;
  return ReadU32BE(key, 5);
}

std::string EncodeCounters(const Counters& c) {
  std::string d;
  AppendU32LE(&d, c.entries);
  AppendU32LE(&d, c.built);
  return d;
}

Counters DecodeCounters(std::string_view data) {
  Counters c;
  if (data.size() >= 4) c.entries = ReadU32LE(data, 0);
  if (data.size() >= 8) c.built = ReadU32LE(data, 4);
  return c;
}

}  // namespace carelog::store
