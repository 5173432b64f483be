// The entries through which a table lives in the data file's one ordered tree. Every entry
// but the table name and the transaction mark begins with the table number t (4 bytes,
// big-endian, below 0xFE000000) and a kind byte, so a table's entries sort together and
// before all table names:
//
//   kind   key part                                   data part
//   0xFE   FE · table name                            t (big-endian)
//   0xFA   t · FA · block (2 bytes, low first)        up to 512 bytes of the definition
//   0xF6   t · F6 · index (F3 records, else key no.)  entries:u32le built:u32le
//   0xF3   t · F3 · r (big-endian)                    the record image
//   0xFC   t · FC · r · memo (1) · block (2, BE)      up to 256 bytes of memo text
//   0-239  t · k · v [· r for a DUP key]              r for a unique key, else empty
//   0xFF   FF                                         transaction number, control file name
//
// Record numbers and table numbers share the header's number counter, so a record number is
// unique in the whole data file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace carelog::store {

inline constexpr uint8_t kKindTableName = 0xFE;
inline constexpr uint8_t kKindDefinition = 0xFA;
inline constexpr uint8_t kKindCounters = 0xF6;
inline constexpr uint8_t kKindRecord = 0xF3;
inline constexpr uint8_t kKindMemo = 0xFC;
inline constexpr uint8_t kKindMark = 0xFF;
inline constexpr uint8_t kRecordsIndex = 0xF3;  // counters index byte of the records
inline constexpr uint32_t kKeyKinds = 240;      // key numbers 0 to 239
inline constexpr size_t kMemoBlockSize = 256;

void AppendU32BE(std::string* out, uint32_t v);
uint32_t ReadU32BE(std::string_view bytes, size_t at);  // REQUIRES: at + 4 <= size
void AppendU32LE(std::string* out, uint32_t v);
uint32_t ReadU32LE(std::string_view bytes, size_t at);  // REQUIRES: at + 4 <= size

std::string TablePrefix(uint32_t table);
std::string TableNameKey(std::string_view name);
std::string DefinitionKey(uint32_t table, uint16_t block);
std::string CountersKey(uint32_t table, uint8_t index);
std::string RecordKey(uint32_t table, uint32_t record);
std::string RecordsPrefix(uint32_t table);  // t · F3
std::string MemoPrefix(uint32_t table, uint32_t record);
std::string MemoKey(uint32_t table, uint32_t record, uint8_t memo, uint16_t block);
std::string KeyPrefix(uint32_t table, uint8_t key_number);

// The record number of a record entry's key part; 0 when it is not one.
uint32_t RecordNumberOf(std::string_view record_key);

struct Counters {
  uint32_t entries = 0;
  uint32_t built = 0;
};
std::string EncodeCounters(const Counters& c);
Counters DecodeCounters(std::string_view data);  // short data reads as zero counters

}  // namespace carelog::store
