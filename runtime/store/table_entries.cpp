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

namespace {

void PutU32BE(char* at, uint32_t v) {
  at[0] = static_cast<char>(v >> 24);
  at[1] = static_cast<char>(v >> 16);
  at[2] = static_cast<char>(v >> 8);
  at[3] = static_cast<char>(v);
}

// t · kind, with `extra` bytes left after it for the caller to fill: every entry key is built
// in one string of its final size.
std::string TableKey(uint32_t table, uint8_t kind, size_t extra) {
  std::string k(5 + extra, '\0');
  PutU32BE(k.data(), table);
  k[4] = static_cast<char>(kind);
  return k;
}

}  // namespace

std::string TablePrefix(uint32_t table) {
  std::string k(4, '\0');
  PutU32BE(k.data(), table);
  return k;
}

std::string TableNameKey(std::string_view name) {
  std::string k(1, static_cast<char>(kKindTableName));
  k.append(name);
  return k;
}

std::string DefinitionKey(uint32_t table, uint16_t block) {
  std::string k = TableKey(table, kKindDefinition, 2);
  k[5] = static_cast<char>(block & 0xFF);
  k[6] = static_cast<char>(block >> 8);
  return k;
}

std::string CountersKey(uint32_t table, uint8_t index) {
  std::string k = TableKey(table, kKindCounters, 1);
  k[5] = static_cast<char>(index);
  return k;
}

std::string RecordsPrefix(uint32_t table) {
  return TableKey(table, kKindRecord, 0);
}

std::string RecordKey(uint32_t table, uint32_t record) {
  std::string k = TableKey(table, kKindRecord, 4);
  PutU32BE(k.data() + 5, record);
  return k;
}

std::string MemoPrefix(uint32_t table, uint32_t record) {
  std::string k = TableKey(table, kKindMemo, 4);
  PutU32BE(k.data() + 5, record);
  return k;
}

std::string MemoKey(uint32_t table, uint32_t record, uint8_t memo, uint16_t block) {
  std::string k = TableKey(table, kKindMemo, 7);
  PutU32BE(k.data() + 5, record);
  k[9] = static_cast<char>(memo);
  k[10] = static_cast<char>(block >> 8);
  k[11] = static_cast<char>(block & 0xFF);
  return k;
}

std::string KeyPrefix(uint32_t table, uint8_t key_number) {
  return TableKey(table, key_number, 0);
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
