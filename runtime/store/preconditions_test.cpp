#include "runtime/store/preconditions.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/store/driver_state.h"
#include "runtime/store/lodestar_operations.h"

namespace carelog::store {
namespace {

// The operation table as the statements are documented: code, required / forbidden bits,
// set / clear on success, clear on failure, flags ("C", "F", "R").
struct Expected {
  int code;
  uint8_t required, forbidden, set, clear, fail_clear;
  const char* flags;
};

constexpr Expected kExpected[] = {
    {1, 0x41, 0, 0x02, 0, 0, "C"},
    {2, 0x21, 0, 0, 0, 0, ""},
    {3, 0xC0, 0x04, 0, 0, 0, "C"},
    {4, 0x41, 0, 0, 0, 0, "C"},
    {5, 0x01, 0x04, 0, 0, 0, "C"},
    {6, 0xC0, 0x04, 0, 0, 0, "C"},
    {7, 0x01, 0x04, 0, 0x01, 0, "CF"},
    {8, 0x05, 0, 0, 0x04, 0, "C"},
    {9, 0, 0x01, 0, 0, 0, "CF"},
    {10, 0, 0x01, 0, 0, 0, "CF"},
    {11, 0x43, 0, 0, 0x02, 0, "C"},
    {12, 0x41, 0, 0, 0, 0, "C"},
    {13, 0xC1, 0x04, 0, 0, 0, "C"},
    {14, 0x21, 0, 0, 0, 0, ""},
    {15, 0x01, 0, 0x02, 0, 0x02, "C"},
    {16, 0x01, 0, 0x02, 0, 0x02, "C"},
    {17, 0x01, 0, 0x02, 0, 0x02, "C"},
    {18, 0x01, 0, 0, 0, 0, "C"},
    {19, 0x01, 0, 0, 0, 0, "C"},
    {20, 0x01, 0x10, 0x90, 0, 0, "C"},
    {21, 0x01, 0x10, 0x90, 0, 0, "C"},
    {22, 0x01, 0x04, 0x04, 0, 0, "C"},
    {23, 0, 0, 0, 0, 0, ""},
    {24, 0x21, 0, 0x02, 0, 0x02, "CR"},
    {25, 0, 0x01, 0x01, 0, 0, "C"},
    {26, 0xC0, 0x04, 0, 0x22, 0x22, "C"},
    {27, 0x03, 0, 0, 0, 0, ""},
    {28, 0x03, 0, 0, 0, 0, ""},
    {29, 0x09, 0, 0, 0x08, 0, "C"},
    {30, 0x43, 0, 0, 0, 0, "C"},
    {31, 0x21, 0, 0x02, 0, 0x02, "CR"},
    {32, 0x01, 0, 0, 0, 0, ""},
    {33, 0x01, 0, 0, 0, 0, ""},
    {34, 0x01, 0x04, 0, 0, 0, "C"},
    {36, 0x01, 0, 0, 0, 0, "C"},
    {37, 0, 0x01, 0, 0, 0, "CF"},
    {38, 0, 0x01, 0, 0, 0, "CF"},
    {40, 0x05, 0, 0, 0x04, 0, "C"},
    {41, 0x01, 0, 0x20, 0, 0x20, "CR"},
    {42, 0x01, 0, 0x20, 0, 0x20, "CR"},
    {43, 0x01, 0, 0x20, 0, 0x20, "CR"},
    {44, 0x01, 0, 0x20, 0, 0x20, "CR"},
    {45, 0x01, 0, 0x20, 0, 0x20, "CR"},
    {46, 0x01, 0, 0x20, 0, 0x20, "CR"},
    {47, 0x01, 0, 0x20, 0, 0x20, "CR"},
    {48, 0, 0x01, 0x01, 0, 0, "C"},
    {49, 0x21, 0, 0, 0x02, 0x02, "CR"},
    {50, 0x11, 0x04, 0, 0x10, 0, "C"},
    {52, 0x01, 0, 0, 0, 0, "C"},
    {54, 0x41, 0, 0, 0, 0x02, "C"},
    {56, 0x01, 0x08, 0x08, 0, 0, "C"},
    {57, 0x01, 0, 0, 0, 0, "C"},
    {58, 0x01, 0, 0, 0, 0, "C"},
    {60, 0, 0, 0, 0, 0, "C"},
    {61, 0x03, 0, 0, 0, 0, "C"},
    {62, 0x03, 0, 0, 0, 0, "C"},
    {63, 0x01, 0, 0x20, 0, 0x20, "CR"},
    {64, 0x01, 0, 0x20, 0, 0x20, "CR"},
    {65, 0x01, 0, 0, 0, 0, ""},
    {66, 0x01, 0, 0x02, 0, 0, "C"},
    {67, 0x01, 0, 0x02, 0, 0, "C"},
    {73, 0x01, 0, 0, 0, 0, ""},
    {74, 0, 0, 0, 0, 0, ""},
    {75, 0x01, 0, 0, 0, 0, "C"},
    {76, 0x01, 0, 0, 0, 0, "C"},
    {77, 0x01, 0, 0, 0, 0, ""},
    {78, 0x01, 0, 0, 0, 0, "C"},
    {79, 0x01, 0, 0, 0, 0, "C"},
};

uint8_t FlagsOf(const char* text) {
  const std::string flags = text;
  return (flags.find('C') != std::string::npos ? kFlagClearError : 0) |
         (flags.find('F') != std::string::npos ? kFlagDiscard : 0) |
         (flags.find('R') != std::string::npos ? kFlagReading : 0);
}

TEST(OperationTable, EveryRowMatchesTheStatements) {
  int rows = 0;
  for (const OperationRow* row = OperationRowsBegin(); row != OperationRowsEnd(); ++row) ++rows;
  EXPECT_EQ(rows, static_cast<int>(std::size(kExpected)));
  for (const Expected& expected : kExpected) {
    const OperationRow* row = FindOperation(expected.code);
    ASSERT_NE(row, nullptr) << expected.code;
    EXPECT_EQ(row->required, expected.required) << expected.code;
    EXPECT_EQ(row->forbidden, expected.forbidden) << expected.code;
    EXPECT_EQ(row->set, expected.set) << expected.code;
    EXPECT_EQ(row->clear, expected.clear) << expected.code;
    EXPECT_EQ(row->fail_clear, expected.fail_clear) << expected.code;
    EXPECT_EQ(row->flags & (kFlagClearError | kFlagDiscard | kFlagReading), FlagsOf(expected.flags))
        << expected.code;
  }
  for (int code : {0, 35, 39, 51, 53, 55, 59, 68, 69, 70, 71, 72, 80, 255}) {
    EXPECT_EQ(FindOperation(code), nullptr) << code;
  }
}

TEST(OperationTable, StringArgumentsAndResults) {
  for (int code : {9, 38, 60, 63, 64, 66, 67, 78})
    EXPECT_EQ(FindOperation(code)->strings_popped, 1) << code;
  EXPECT_EQ(FindOperation(5)->strings_popped, 1);
  EXPECT_EQ(FindOperation(34)->strings_popped, 2);
  for (int code : {23, 60, 61, 62, 79}) EXPECT_TRUE(FindOperation(code)->string_result) << code;
}

// The error of each bit, missing when required and present when forbidden.
TEST(OperationTable, BitErrors) {
  const OperationRow needs_all = {99, 0xFF, 0, 0, 0, 0, 0, 0, false, nullptr};
  const struct {
    uint32_t missing;
    int error;
  } missing[] = {{0x02, 33},
                 {0x04, kSilentFailure},
                 {0x08, kSilentFailure},
                 {0x10, kSilentFailure},
                 {0x20, 33},
                 {0x40, 5},
                 {0x80, 63}};
  for (const auto& m : missing) {
    EXPECT_EQ(CheckPreconditions(needs_all, 0xFF & ~m.missing), m.error) << m.missing;
  }
  EXPECT_EQ(CheckPreconditions(needs_all, 0xFE), 37);
  EXPECT_EQ(CheckPreconditions(needs_all, 0xFF), 0);

  const OperationRow forbids_all = {99, 0, 0xFF, 0, 0, 0, 0, 0, false, nullptr};
  EXPECT_EQ(CheckPreconditions(forbids_all, 0x01), 52);
  EXPECT_EQ(CheckPreconditions(forbids_all, 0x04), 56);
  EXPECT_EQ(CheckPreconditions(forbids_all, 0x08), kSilentFailure);
  EXPECT_EQ(CheckPreconditions(forbids_all, 0x10), kSilentFailure);
  EXPECT_EQ(CheckPreconditions(forbids_all, 0xE2), 0) << "bits without a forbidden error";
}

TEST(OperationTable, ClosedFilesOnlyCheckTheOpenBit) {
  EXPECT_EQ(CheckPreconditions(*FindOperation(kOpBuildFile), 0), 0);
  EXPECT_EQ(CheckPreconditions(*FindOperation(kOpBuildFile), kBitOpen), 5);
  EXPECT_EQ(CheckPreconditions(*FindOperation(kOpEof), 0), 37);
  EXPECT_EQ(CheckPreconditions(*FindOperation(kOpDelete), kBitOpen | kBitCurrentRecord), 5);
  EXPECT_EQ(CheckPreconditions(*FindOperation(kOpDelete), kBitOpen | kBitWriteAccess), 33);
}

TEST(OperationTable, BitsAfterSuccessAndFailure) {
  const OperationRow& pack = *FindOperation(kOpPack);
  EXPECT_EQ(BitsAfter(pack, 0xE3, true), 0xC1u);
  EXPECT_EQ(BitsAfter(pack, 0xE3, false), 0xC1u);
  const OperationRow& lock = *FindOperation(kOpLock);
  EXPECT_EQ(BitsAfter(lock, 0x01, true), 0x91u);
  EXPECT_EQ(BitsAfter(lock, 0x01, false), 0x01u);
}

}  // namespace
}  // namespace carelog::store
