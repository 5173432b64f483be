#include "runtime/store/file_statements.h"

#include "runtime/store/dispatcher.h"
#include "runtime/store/preconditions.h"
#include "runtime/store/string_stack.h"

namespace carelog::store {
namespace {

intptr_t Call(int op, void* object, intptr_t a = 0, intptr_t b = 0, intptr_t c = 0) {
  const intptr_t args[3] = {a, b, c};
  return Dispatch(op, object, args);
}

int Status(int op, void* object, intptr_t a = 0, intptr_t b = 0) {
  return static_cast<int>(Call(op, object, a, b));
}

intptr_t Key(KeyDeclaration& key) {
  return reinterpret_cast<intptr_t>(&key);
}

std::string TextResult(int op, void* object, intptr_t a = 0, intptr_t b = 0, intptr_t c = 0) {
  Call(op, object, a, b, c);
  return PopString();
}

}  // namespace

int Open(FileDeclaration& file, uint32_t mode) {
  return Status(kOpOpen, &file, mode);
}
int Share(FileDeclaration& file, uint32_t mode) {
  return Status(kOpShare, &file, mode);
}
int Close(FileDeclaration& file) {
  return Status(kOpClose, &file);
}
int Create(FileDeclaration& file) {
  return Status(kOpCreate, &file);
}

int Copy(FileDeclaration& file, std::string_view new_name) {
  PushString(new_name);
  return Status(kOpCopy, &file);
}

int Rename(FileDeclaration& file, std::string_view new_name) {
  PushString(new_name);
  return Status(kOpRename, &file);
}

int Remove(FileDeclaration& file) {
  return Status(kOpRemove, &file);
}
std::string Name(FileDeclaration& file) {
  return TextResult(kOpName, &file);
}

std::string Send(FileDeclaration& file, std::string_view command) {
  PushString(command);
  return TextResult(kOpSend, &file);
}

int Add(FileDeclaration& file) {
  return Status(kOpAdd, &file);
}
int Append(FileDeclaration& file) {
  return Status(kOpAppend, &file);
}
int Put(FileDeclaration& file) {
  return Status(kOpPut, &file);
}
int Put(FileDeclaration& file, uint32_t record) {
  return Status(kOpPutPointer, &file, record);
}
int Delete(FileDeclaration& file) {
  return Status(kOpDelete, &file);
}
int Get(FileDeclaration& file, KeyDeclaration& key) {
  return Status(kOpGetByKey, &file, Key(key));
}
int Get(FileDeclaration& file, uint32_t record) {
  return Status(kOpGetByPointer, &file, record);
}

int Get(KeyDeclaration& key, uint32_t record) {
  return Status(kOpGetKeyPointer, key.file, Key(key), record);
}

int Reget(FileDeclaration& file, std::string_view position) {
  PushString(position);
  return Status(kOpRegetFile, &file);
}

int Reget(KeyDeclaration& key, std::string_view position) {
  PushString(position);
  return Status(kOpRegetKey, key.file, Key(key));
}

bool Duplicate(FileDeclaration& file) {
  return Call(kOpDuplicateFile, &file) != 0;
}
bool Duplicate(KeyDeclaration& key) {
  return Call(kOpDuplicateKey, key.file, Key(key)) != 0;
}

uint32_t Pointer(FileDeclaration& file) {
  return static_cast<uint32_t>(Call(kOpPointerFile, &file));
}

uint32_t Pointer(KeyDeclaration& key) {
  return static_cast<uint32_t>(Call(kOpPointerKey, key.file, Key(key)));
}

uint32_t Records(FileDeclaration& file) {
  return static_cast<uint32_t>(Call(kOpRecordsFile, &file));
}

uint32_t Records(KeyDeclaration& key) {
  return static_cast<uint32_t>(Call(kOpRecordsKey, key.file, Key(key)));
}

int64_t Bytes(FileDeclaration& file) {
  return Call(kOpBytes, &file);
}

int Set(FileDeclaration& file) {
  return Status(kOpSetFile, &file);
}
int Set(FileDeclaration& file, KeyDeclaration& key) {
  return Status(kOpSetFileKey, &file, Key(key));
}
int Set(FileDeclaration& file, int32_t record) {
  return Status(kOpSetFilePointer, &file, record);
}
int Set(KeyDeclaration& key) {
  return Status(kOpSetKey, key.file, Key(key));
}

int Set(KeyDeclaration& key, KeyDeclaration& /*start_key*/) {
  return Status(kOpSetKeyKey, key.file, Key(key));
}

int Set(KeyDeclaration& key, int32_t record) {
  return Status(kOpSetKeyPointer, key.file, Key(key), record);
}

int Set(KeyDeclaration& key, KeyDeclaration& /*start_key*/, int32_t record) {
  return Status(kOpSetKeyKeyPointer, key.file, Key(key), record);
}

int Reset(FileDeclaration& file, std::string_view position) {
  PushString(position);
  return Status(kOpResetFile, &file);
}

int Reset(KeyDeclaration& key, std::string_view position) {
  PushString(position);
  return Status(kOpResetKey, key.file, Key(key));
}

int Next(FileDeclaration& file) {
  return Status(kOpNext, &file);
}
int Previous(FileDeclaration& file) {
  return Status(kOpPrevious, &file);
}
int Skip(FileDeclaration& file, int32_t count) {
  return Status(kOpSkip, &file, count);
}
bool Bof(FileDeclaration& file) {
  return Call(kOpBof, &file) != 0;
}
bool Eof(FileDeclaration& file) {
  return Call(kOpEof, &file) != 0;
}
std::string Position(FileDeclaration& file) {
  return TextResult(kOpPositionFile, &file);
}
std::string Position(KeyDeclaration& key) {
  return TextResult(kOpPositionKey, key.file, Key(key));
}
int ReadingKeyNumber(FileDeclaration& file) {
  return static_cast<int>(Call(kOpReadingKey, &file));
}
int SkipMemosOnNextRead(FileDeclaration& file) {
  return Status(kOpSkipMemos, &file);
}

int Build(FileDeclaration& file) {
  return Status(kOpBuildFile, &file);
}
int Build(KeyDeclaration& key) {
  return Status(kOpBuildKey, key.file, Key(key));
}

int BuildIndex(KeyDeclaration& index, std::string_view components) {
  PushString(components);
  return Status(kOpBuildIndex, index.file, Key(index));
}

int BuildIndex(KeyDeclaration& index, std::string_view components, std::string_view filter) {
  PushString(components);
  PushString(filter);
  return Status(kOpBuildIndexFiltered, index.file, Key(index));
}

int Pack(FileDeclaration& file) {
  return Status(kOpPack, &file);
}
int Empty(FileDeclaration& file) {
  return Status(kOpEmpty, &file);
}

int Lock(FileDeclaration& file) {
  return Status(kOpLock, &file);
}
int Lock(FileDeclaration& file, int32_t seconds) {
  return Status(kOpLockSeconds, &file, seconds);
}
int Unlock(FileDeclaration& file) {
  return Status(kOpUnlock, &file);
}
int Hold(FileDeclaration& file) {
  return Status(kOpHold, &file);
}
int Hold(FileDeclaration& file, int32_t seconds) {
  return Status(kOpHoldSeconds, &file, seconds);
}
int Release(FileDeclaration& file) {
  return Status(kOpRelease, &file);
}
int Watch(FileDeclaration& file) {
  return Status(kOpWatch, &file);
}
int Stream(FileDeclaration& file) {
  return Status(kOpStream, &file);
}
int Flush(FileDeclaration& file) {
  return Status(kOpFlush, &file);
}
int Logout(FileDeclaration& file) {
  return Status(kOpLogout, &file);
}
int Commit(FileDeclaration& file) {
  return Status(kOpCommit, &file);
}
int Rollback(FileDeclaration& file) {
  return Status(kOpRollback, &file);
}

std::string MemoSlice(FileDeclaration& file, int memo, int32_t from, int32_t to) {
  return TextResult(kOpMemoSliceRead, &file, memo, from, to);
}

int SetMemoSlice(FileDeclaration& file, int memo, int32_t from, int32_t to, std::string_view text) {
  PushString(text);
  return static_cast<int>(Call(kOpMemoSliceWrite, &file, memo, from, to));
}

uint32_t MemoLength(FileDeclaration& file, int memo) {
  return static_cast<uint32_t>(Call(kOpMemoLength, &file, memo));
}

int AssignMemo(FileDeclaration& file, int memo, std::string_view text) {
  PushString(text);
  return Status(kOpMemoAssign, &file, memo);
}

std::string MemoText(FileDeclaration& file, int memo) {
  return TextResult(kOpMemoString, &file, memo);
}

}  // namespace carelog::store
