#include "util/failure.h"

#include <array>
#include <utility>

namespace pellacore {
namespace {

constexpr std::array<std::pair<long, const wchar_t*>, 15> kDescriptions{{
    {failure_number::kInvalidArgument, L"Invalid procedure call or argument"},
    {failure_number::kOverflow, L"Overflow"},
    {failure_number::kOutOfMemory, L"Out of memory"},
    {failure_number::kTypeMismatch, L"Type mismatch"},
    {failure_number::kBadFileName, L"Bad file name or number"},
    {failure_number::kFileNotFound, L"File not found"},
    {failure_number::kFileExists, L"File already exists"},
    {failure_number::kDiskFull, L"Disk full"},
    {failure_number::kDeviceUnavailable, L"Device unavailable"},
    {failure_number::kPermissionDenied, L"Permission denied"},
    {failure_number::kDiskNotReady, L"Disk not ready"},
    {failure_number::kPathFileAccess, L"Path/File access error"},
    {failure_number::kPathNotFound, L"Path not found"},
    {failure_number::kObjectNotSet, L"Object variable or With block variable not set"},
    {failure_number::kBufferTooSmall, L"The buffer for the selected file names is too small"},
}};

}  // namespace

std::wstring StandardDescription(long number) {
  for (const auto& [n, text] : kDescriptions) {
    if (n == number) return text;
  }
  return {};
}

Failure StandardFailure(long number) { return Failure(number, StandardDescription(number)); }

}  // namespace pellacore
