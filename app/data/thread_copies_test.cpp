#include <gtest/gtest.h>

#include <thread>

#include "app/data/dictionary.h"
#include "app/data/keys.h"
#include "app/data/records.h"

namespace carelog::appdata {
namespace {

// What one thread sees of a file's declaration.
struct Seen {
  store::FileDeclaration* declaration = nullptr;
  store::FileDeclaration* mapped = nullptr;  // through thread_copy
  uint8_t* buffer = nullptr;
  store::KeyDeclaration* key = nullptr;
  store::FileDeclaration* key_file = nullptr;
  store::MemoDeclaration* memo = nullptr;
};

Seen Look(FileId id, store::FileDeclaration* other_thread_copy) {
  Seen seen;
  store::FileDeclaration& file = Declaration(id);
  seen.declaration = &file;
  if (other_thread_copy != nullptr && other_thread_copy->thread_copy != nullptr) {
    seen.mapped = other_thread_copy->thread_copy();
  }
  seen.buffer = file.buffer;
  if (file.key_count > 0) {
    seen.key = file.keys[0];
    seen.key_file = file.keys[0]->file;
  }
  if (file.memo_count > 0) seen.memo = file.memos[0];
  return seen;
}

TEST(ThreadCopies, EachThreadHasItsOwnDeclarationBufferKeysAndMemos) {
  for (size_t i = 0; i < kFileCount; ++i) {
    FileId id = static_cast<FileId>(i);
    if (!(Info(id).attributes & store::kFileAttrThread)) continue;
    SCOPED_TRACE(Info(id).label);
    Seen main_thread = Look(id, nullptr);
    Seen other;
    std::thread([&] { other = Look(id, main_thread.declaration); }).join();

    EXPECT_NE(other.declaration, main_thread.declaration);
    EXPECT_NE(other.buffer, main_thread.buffer);
    EXPECT_EQ(other.mapped, other.declaration);  // the main thread's copy maps to the caller's
    EXPECT_EQ(main_thread.declaration->thread_copy(), main_thread.declaration);
    if (main_thread.key != nullptr) {
      EXPECT_NE(other.key, main_thread.key);
      EXPECT_EQ(main_thread.key_file, main_thread.declaration);
      EXPECT_EQ(other.key_file, other.declaration);
    }
    if (main_thread.memo != nullptr) {
      EXPECT_NE(other.memo, main_thread.memo);
    }
  }
}

TEST(ThreadCopies, NamedKeysAndMemosAreTheCallingThreadsOwn) {
  store::KeyDeclaration* main_key = &Key(PatKey::KEY_NEXT_VISIT);
  store::MemoDeclaration* main_memo = &Memo(ProMemo::PLANS);
  EXPECT_EQ(main_key, FindKey(FileId::kPatients, "PAT:KEY_NEXT_VISIT"));
  EXPECT_EQ(main_memo->max_size, 600u);
  store::KeyDeclaration* other_key = nullptr;
  store::MemoDeclaration* other_memo = nullptr;
  std::thread([&] {
    other_key = &Key(PatKey::KEY_NEXT_VISIT);
    other_memo = &Memo(ProMemo::PLANS);
  }).join();
  EXPECT_NE(other_key, main_key);
  EXPECT_NE(other_memo, main_memo);
}

TEST(ThreadCopies, RecordBuffersDoNotLeakBetweenThreads) {
  PAT.PATIENT_NUMBER = 17;
  int32_t seen_by_other = -1;
  std::thread([&] {
    seen_by_other = PAT.PATIENT_NUMBER;
    PAT.PATIENT_NUMBER = 99;
  }).join();
  EXPECT_EQ(seen_by_other, 0);
  EXPECT_EQ(int32_t{PAT.PATIENT_NUMBER}, 17);
}

TEST(ThreadCopies, FilesWithoutThreadAreSharedByAllThreads) {
  for (FileId id : {FileId::kPoc, FileId::kFonts}) {
    Seen main_thread = Look(id, nullptr);
    Seen other;
    std::thread([&] { other = Look(id, nullptr); }).join();
    EXPECT_EQ(other.declaration, main_thread.declaration);
    EXPECT_EQ(other.buffer, main_thread.buffer);
    EXPECT_EQ(main_thread.declaration->thread_copy, nullptr);
  }
}

}  // namespace
}  // namespace carelog::appdata
