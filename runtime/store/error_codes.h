// The error codes the file layer and the driver post, named as their messages read (the texts
// are in messages.cpp). Operating-system failures are posted as 300 plus the system's error
// number (SystemErrorCode); run-time errors are 401 to 410.
#pragma once

namespace carelog::store {

inline constexpr int kErrFileNotFound = 2;
inline constexpr int kErrPathNotFound = 3;
inline constexpr int kErrTooManyOpenFiles = 4;
inline constexpr int kErrAccessDenied = 5;
inline constexpr int kErrMemoryCorrupted = 7;
inline constexpr int kErrInsufficientMemory = 8;
inline constexpr int kErrEntryNotFound = 30;
inline constexpr int kErrFileIsAlreadyLocked = 32;
inline constexpr int kErrRecordNotAvailable = 33;
inline constexpr int kErrRecordNotFound = 35;
inline constexpr int kErrInvalidDataFile = 36;
inline constexpr int kErrFileNotOpen = 37;
inline constexpr int kErrInvalidKeyFile = 38;
inline constexpr int kErrCreatesDuplicateKey = 40;
inline constexpr int kErrRecordIsAlreadyHeld = 43;
inline constexpr int kErrInvalidFilename = 45;
inline constexpr int kErrKeyFileMustBeRebuilt = 46;
inline constexpr int kErrInvalidRecordDeclaration = 47;
inline constexpr int kErrUnableToLogTransaction = 48;
inline constexpr int kErrFileAlreadyOpen = 52;
inline constexpr int kErrNoCreateAttribute = 54;
inline constexpr int kErrFileMustBeShared = 55;
inline constexpr int kErrLogoutAlreadyActive = 56;
inline constexpr int kErrInvalidMemoFile = 57;
inline constexpr int kErrExclusiveAccessRequired = 63;
inline constexpr int kErrSharingViolation = 64;
inline constexpr int kErrUnableToRollback = 65;
inline constexpr int kErrMemoFileMissing = 73;
inline constexpr int kErrInvalidFieldType = 75;
inline constexpr int kErrInvalidIndexString = 76;
inline constexpr int kErrUnableToAccessIndex = 77;
inline constexpr int kErrInvalidNumberOfParameters = 78;
inline constexpr int kErrUnsupportedDataType = 79;
inline constexpr int kErrUnsupportedFunction = 80;
inline constexpr int kErrUnknownErrorPosted = 81;
inline constexpr int kErrInvalidKeyLength = 88;
inline constexpr int kErrRecordChangedElsewhere = 89;

}  // namespace carelog::store
