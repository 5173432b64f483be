// The stored form of a memo, cut into 256-byte blocks t · FC · r · memo · block.
//
//   text memo    the buffer without its trailing blanks (an all-blank memo has no blocks)
//   binary memo  length:u32le then `length` bytes (an empty memo has no blocks)
//
// Reading copies the blocks back in block order and fills the rest of the buffer with spaces,
// so a record without memo blocks reads back with blank memos.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/store/table_def.h"

namespace carelog::store {

// The bytes to store for a memo whose buffer holds `length` bytes (text memos: the whole
// buffer of max_size bytes is considered).
std::string MemoStoredBytes(const MemoDef& memo, const char* buffer, uint32_t length);

// Fills `buffer` (memo.max_size bytes) from the stored bytes; returns the memo's length.
// Stored bytes beyond the buffer, or a binary length beyond them, are cut, never overrun.
uint32_t LoadMemo(const MemoDef& memo, std::string_view stored, char* buffer);

}  // namespace carelog::store
