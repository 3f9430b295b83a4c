#include "win32/program_folder.h"

#include <windows.h>

#include "util/paths.h"
#include "win32/win32_failure.h"

namespace pellacore::win32 {

std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) throw SystemFailure(::GetLastError());
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  std::wstring folder = FolderOfPath(path);
  if (!folder.empty()) folder.pop_back();
  return folder;
}

}  // namespace pellacore::win32
