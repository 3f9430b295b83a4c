#pragma once
// A failure raised by an operation of the program or of the platform: the
// number the program's rules look at and the text the error report shows.

#include <exception>
#include <string>

namespace pellacore {

// Numbers of the failures that the program's rules tell apart. Adapters map
// the platform's own codes onto these; any other failure keeps the
// platform's code (an HRESULT for system and COM errors).
namespace failure_number {
inline constexpr long kInvalidArgument = 5;   // "Invalid procedure call or argument"
inline constexpr long kOverflow = 6;          // "Overflow"
inline constexpr long kOutOfMemory = 7;       // "Out of memory"
inline constexpr long kTypeMismatch = 13;     // "Type mismatch"
inline constexpr long kBadFileName = 52;      // "Bad file name or number"
inline constexpr long kFileNotFound = 53;     // "File not found"
inline constexpr long kFileExists = 58;       // "File already exists"
inline constexpr long kDiskFull = 61;         // "Disk full"
inline constexpr long kDeviceUnavailable = 68;  // "Device unavailable"
inline constexpr long kPermissionDenied = 70; // "Permission denied"
inline constexpr long kDiskNotReady = 71;     // "Disk not ready"
inline constexpr long kPathFileAccess = 75;   // "Path/File access error"
inline constexpr long kPathNotFound = 76;     // "Path not found"
inline constexpr long kObjectNotSet = 91;     // "Object variable or With block variable not set"
inline constexpr long kBufferTooSmall = 20476;  // file dialog: the name buffer is too small
}  // namespace failure_number

class Failure : public std::exception {
 public:
  Failure(long number, std::wstring description)
      : number_(number), description_(std::move(description)) {}

  long number() const noexcept { return number_; }
  const std::wstring& description() const noexcept { return description_; }
  const char* what() const noexcept override { return "pellacore::Failure"; }

 private:
  long number_;
  std::wstring description_;
};

// The failure with one of the numbers above and its standard description.
Failure StandardFailure(long number);

// The description of the standard failure with this number, or "" when the
// number is not one of them.
std::wstring StandardDescription(long number);

}  // namespace pellacore
