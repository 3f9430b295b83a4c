#include "win32/win32_failure.h"

#include <string>

namespace pellacore::win32 {
namespace {

long FileFailureNumber(DWORD code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
      return failure_number::kFileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_PATHNAME:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_DIRECTORY:
      return failure_number::kPathNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return failure_number::kPermissionDenied;
    case ERROR_INVALID_DRIVE:
      return failure_number::kDeviceUnavailable;
    case ERROR_NOT_READY:
      return failure_number::kDiskNotReady;
    case ERROR_INVALID_NAME:
      return failure_number::kBadFileName;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return failure_number::kFileExists;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return failure_number::kDiskFull;
    default:
      return 0;
  }
}

}  // namespace

std::wstring SystemMessage(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = length ? std::wstring(text, length) : std::wstring();
  ::LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) {
    message.pop_back();
  }
  if (message.empty()) message = L"System error " + std::to_wstring(code);
  return message;
}

Failure FileSystemFailure(DWORD code) {
  if (const long number = FileFailureNumber(code)) return StandardFailure(number);
  return SystemFailure(code);
}

Failure SystemFailure(DWORD code) {
  return Failure(static_cast<long>(HRESULT_FROM_WIN32(code)), SystemMessage(code));
}

}  // namespace pellacore::win32
