// The file statements of the application: one small stub per statement. Each pushes its string
// arguments on the string stack, hands the operation code, the file and its numeric arguments
// to the dispatcher, and pops a string result where the statement has one. The outcome is in
// the error state (ErrorCode, ErrorText, ErrorFile); stubs without a value return the code.
// Statements on a key (SET(key), GET(key, pointer) ...) address the key's file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/store/declarations.h"

namespace carelog::store {

inline constexpr uint32_t kOpenDefaultMode = 0x22;   // read/write, deny write
inline constexpr uint32_t kShareDefaultMode = 0x42;  // read/write, deny none

// Files.
int Open(FileDeclaration& file, uint32_t mode = kOpenDefaultMode);
int Share(FileDeclaration& file, uint32_t mode = kShareDefaultMode);
int Close(FileDeclaration& file);
int Create(FileDeclaration& file);
int Copy(FileDeclaration& file, std::string_view new_name);
int Rename(FileDeclaration& file, std::string_view new_name);
int Remove(FileDeclaration& file);
std::string Name(FileDeclaration& file);
std::string Send(FileDeclaration& file, std::string_view command);

// Records.
int Add(FileDeclaration& file);
int Append(FileDeclaration& file);
int Put(FileDeclaration& file);
int Put(FileDeclaration& file, uint32_t record);
int Delete(FileDeclaration& file);
int Get(FileDeclaration& file, KeyDeclaration& key);
int Get(FileDeclaration& file, uint32_t record);
int Get(KeyDeclaration& key, uint32_t record);
int Reget(FileDeclaration& file, std::string_view position);
int Reget(KeyDeclaration& key, std::string_view position);
bool Duplicate(FileDeclaration& file);
bool Duplicate(KeyDeclaration& key);
uint32_t Pointer(FileDeclaration& file);
uint32_t Pointer(KeyDeclaration& key);
uint32_t Records(FileDeclaration& file);
uint32_t Records(KeyDeclaration& key);
int64_t Bytes(FileDeclaration& file);

// Reading sequences.
int Set(FileDeclaration& file);
int Set(FileDeclaration& file, KeyDeclaration& key);
int Set(FileDeclaration& file, int32_t record);
int Set(KeyDeclaration& key);
int Set(KeyDeclaration& key, KeyDeclaration& start_key);
int Set(KeyDeclaration& key, int32_t record);
int Set(KeyDeclaration& key, KeyDeclaration& start_key, int32_t record);
int Reset(FileDeclaration& file, std::string_view position);
int Reset(KeyDeclaration& key, std::string_view position);
int Next(FileDeclaration& file);
int Previous(FileDeclaration& file);
int Skip(FileDeclaration& file, int32_t count);
bool Bof(FileDeclaration& file);
bool Eof(FileDeclaration& file);
std::string Position(FileDeclaration& file);
std::string Position(KeyDeclaration& key);
// 1-based number of the key the file reads by, 0 in record order.
int ReadingKeyNumber(FileDeclaration& file);
// The next read of the file leaves its memos alone.
int SkipMemosOnNextRead(FileDeclaration& file);

// Keys and maintenance.
int Build(FileDeclaration& file);
int Build(KeyDeclaration& key);
int BuildIndex(KeyDeclaration& index, std::string_view components);
int BuildIndex(KeyDeclaration& index, std::string_view components, std::string_view filter);
int Pack(FileDeclaration& file);
int Empty(FileDeclaration& file);

// Sharing.
int Lock(FileDeclaration& file);
int Lock(FileDeclaration& file, int32_t seconds);
int Unlock(FileDeclaration& file);
int Hold(FileDeclaration& file);
int Hold(FileDeclaration& file, int32_t seconds);
int Release(FileDeclaration& file);
int Watch(FileDeclaration& file);
int Stream(FileDeclaration& file);
int Flush(FileDeclaration& file);
int Logout(FileDeclaration& file);
int Commit(FileDeclaration& file);
int Rollback(FileDeclaration& file);

// Memos, by 1-based memo number; slices by 1-based inclusive byte positions.
std::string MemoSlice(FileDeclaration& file, int memo, int32_t from, int32_t to);
int SetMemoSlice(FileDeclaration& file, int memo, int32_t from, int32_t to, std::string_view text);
uint32_t MemoLength(FileDeclaration& file, int memo);
int AssignMemo(FileDeclaration& file, int memo, std::string_view text);
std::string MemoText(FileDeclaration& file, int memo);

}  // namespace carelog::store
