#include "runtime/store/error_state.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "runtime/store/messages.h"

namespace carelog::store {
namespace {

TEST(ErrorState, PostsCodeMessageAndFile) {
  FileDeclaration file{};
  file.name = {"Patients", 8};
  PostError(35, &file);
  EXPECT_EQ(ErrorCode(), 35);
  EXPECT_EQ(ErrorText(), "Record Not Found");
  EXPECT_EQ(ErrorFile(), "Patients");
  EXPECT_EQ(ErrorFileDeclaration(), &file);

  ClearError();
  EXPECT_EQ(ErrorCode(), 0);
  EXPECT_EQ(ErrorText(), "");
  EXPECT_EQ(ErrorFile(), "Patients");
}

TEST(ErrorState, CodeWithoutMessageNamesItsNumber) {
  PostError(12, nullptr);
  EXPECT_EQ(ErrorCode(), 12);
  EXPECT_EQ(ErrorText(), "Unknown Error Posted : 12");
  EXPECT_EQ(ErrorFile(), "");
  EXPECT_EQ(ErrorTextFor(314, 0), "Unknown Error Posted : 314");
}

TEST(ErrorState, CodeZeroPostsTheSystemError) {
  NoteSystemError(SystemErrorCode(ENOENT));
  PostError(0, nullptr);
  EXPECT_EQ(ErrorCode(), 302);
  EXPECT_EQ(ErrorText(), "File Not Found");
  EXPECT_EQ(PostedSystemError(), 2);

  EXPECT_EQ(SystemFailure(ENOSPC), 39);
  PostError(0, nullptr);
  EXPECT_EQ(ErrorCode(), 339);
  EXPECT_EQ(ErrorText(), "Handle Disk Full");
  NoteSystemError(0);
}

TEST(ErrorState, SystemErrorsUseTheTableNumbering) {
  EXPECT_EQ(SystemErrorCode(ENOENT), 2);
  EXPECT_EQ(SystemErrorCode(ENOTDIR), 3);
  EXPECT_EQ(SystemErrorCode(EMFILE), 4);
  EXPECT_EQ(SystemErrorCode(EACCES), 5);
  EXPECT_EQ(SystemErrorCode(ENOMEM), 8);
  EXPECT_EQ(SystemErrorCode(EEXIST), 80);
  EXPECT_EQ(SystemErrorCode(EINVAL), 87);
  EXPECT_EQ(SystemErrorCode(EPIPE), 31);  // unmapped: general failure
}

TEST(Messages, TextsAreExact) {
  EXPECT_EQ(MessageFor(2), "File Not Found");
  EXPECT_EQ(MessageFor(53), "Invalid Tamrin File");
  EXPECT_EQ(MessageFor(78), "Invalid Number Of Parameters ");
  EXPECT_EQ(MessageFor(89), "Record Changed By Another Station");
  EXPECT_EQ(MessageFor(316), "Invalid Operation For Current Directory");
  EXPECT_EQ(MessageFor(350), "Not Supported ");
  EXPECT_EQ(MessageFor(357), "Adapter/Hardware Failure");
  EXPECT_EQ(MessageFor(391), "Unknown Error");
  EXPECT_EQ(MessageFor(403), "Termination caused by signal.  (User break or Floating point)");
  EXPECT_EQ(MessageFor(410), "Pure Virtual Function Called");
  for (int missing : {0, 1, 6, 9, 29, 31, 34, 39, 90, 300, 314, 340, 373, 389, 392, 400, 411}) {
    EXPECT_TRUE(MessageFor(missing).empty()) << missing;
  }
}

TEST(Messages, PostedTextKeepsTheTrailingBlank) {
  PostError(78, nullptr);
  EXPECT_EQ(ErrorText(), "Invalid Number Of Parameters ");
}

}  // namespace
}  // namespace carelog::store
