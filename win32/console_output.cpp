#include "win32/console_output.h"

#include <windows.h>

#include "util/text.h"

namespace pellacore::win32 {
namespace {

// The output, found once: the standard output handed to the program, or
// the console of its parent, attached to.
HANDLE Output() {
  static const HANDLE output = [] {
    const HANDLE given = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (given && given != INVALID_HANDLE_VALUE && ::GetFileType(given) != FILE_TYPE_UNKNOWN) return given;
    if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return INVALID_HANDLE_VALUE;
    // Kept open for the program's life: the console is its output.
    return ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  }();
  return output;
}

}  // namespace

bool HasConsoleOutput() { return Output() != INVALID_HANDLE_VALUE; }

bool WriteConsoleText(const std::wstring& text) {
  const HANDLE output = Output();
  if (output == INVALID_HANDLE_VALUE) return false;
  DWORD mode = 0;
  DWORD written = 0;
  if (::GetConsoleMode(output, &mode)) {
    return ::WriteConsoleW(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != 0;
  }
  const std::string bytes = Utf8(text);
  return ::WriteFile(output, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0;
}

}  // namespace pellacore::win32
