#pragma once

#include <QString>

// Error codes of the OS layer. Callers above it compare against the Windows-style
// numbers the program has always used (a sharing violation is 32 everywhere), so
// the OS layer translates its native errors into these.
namespace SystemErrorCode {
constexpr int Success = 0;
constexpr int FileNotFound = 2;        // the file is missing, its folder exists
constexpr int PathNotFound = 3;        // a folder on the path is missing
constexpr int TooManyOpenFiles = 4;
constexpr int AccessDenied = 5;        // permissions, read-only file system, a folder opened as file
constexpr int NotSameDevice = 17;
constexpr int GeneralFailure = 31;     // anything without a closer match
constexpr int SharingViolation = 32;   // another process holds a conflicting lock, or a running program
constexpr int LockViolation = 33;
constexpr int SharingBufferExceeded = 36;
constexpr int FileExists = 80;         // exclusive creation met an existing name (also a link)
constexpr int DiskFull = 112;
constexpr int InvalidName = 123;       // empty path, or a path holding a NUL character
constexpr int FolderNotEmpty = 145;
constexpr int FilenameTooLong = 206;
constexpr int CannotResolveName = 1921; // a link met where none may be followed
} // namespace SystemErrorCode

// The calling thread's last native error (errno value) recorded by a failing call of
// the OS layer. Successful calls leave it unchanged, like the Windows last-error slot.
int LastSystemError();
void SetLastSystemError(int nativeError);

// The system's message text for a native error (strerror); empty when it has none.
QString SystemErrorMessage(int nativeError);
