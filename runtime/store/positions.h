// Positions: a string that names one record, and one entry of a key, so that REGET can read
// the record again and RESET can start a reading sequence there.
//
//   POSITION(file)  record number (4 bytes, big-endian)
//   POSITION(key)   encoded key value (the key's value size) · record number (4, big-endian)
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/store/table.h"

namespace carelog::store {

// The position of record `record` (key -1: in record order) from its stored image; when the
// record no longer exists, from the caller's buffer.
int PositionOf(Table& table, int key, uint32_t record, const uint8_t* buffer,
               std::string* position);

// Reads the record that `position` names (key -1: a record position). 35 when the record, or
// in a key the entry of that value for that record, does not exist or the string does not fit.
int RegetPosition(Table& table, int key, std::string_view position, RecordBuffers& out,
                  uint32_t* record);

// Reads the record whose value of key `key` equals the buffer's (for a DUP key, the one with
// the lowest record number); 35 when there is none.
int GetByKey(Table& table, int key, RecordBuffers& buffers, uint32_t* record);

}  // namespace carelog::store
