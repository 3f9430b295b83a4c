#include "win32/handed_paths.h"

#include "win32/main_window.h"

namespace pellacore::win32 {
namespace {

// Tells a hand-over apart from any other WM_COPYDATA: "PCPH".
constexpr ULONG_PTR kHandedPathsTag = 0x50435048;
// A window that does not take the paths in this time is taken for hung:
// this start opens a window of its own instead.
constexpr UINT kHandOverMilliseconds = 10'000;

HWND RunningMainWindow() {
  struct Search {
    DWORD self = ::GetCurrentProcessId();
    HWND found = nullptr;
  } search;
  ::EnumWindows(
      [](HWND window, LPARAM context) -> BOOL {
        auto& state = *reinterpret_cast<Search*>(context);
        wchar_t name[64] = {};
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        if (process == state.self || !::IsWindowVisible(window)) return TRUE;
        if (::GetClassNameW(window, name, 64) == 0 || std::wstring(name) != kMainWindowClass) return TRUE;
        state.found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

bool HandPathsToRunningWindow(const std::vector<std::wstring>& paths) {
  const HWND window = RunningMainWindow();
  if (!window) return false;
  std::wstring joined;
  for (const std::wstring& path : paths) joined += path + L'\0';
  COPYDATASTRUCT data{kHandedPathsTag, static_cast<DWORD>(joined.size() * sizeof(wchar_t)), joined.data()};
  // The running window may come to the front: this start is the user's act.
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  ::AllowSetForegroundWindow(process);
  DWORD_PTR taken = FALSE;
  return ::SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                               kHandOverMilliseconds, &taken) != 0 &&
         taken == TRUE;
}

std::optional<std::vector<std::wstring>> HandedPaths(const COPYDATASTRUCT& data) {
  if (data.dwData != kHandedPathsTag || data.cbData % sizeof(wchar_t) != 0) return std::nullopt;
  const auto* text = static_cast<const wchar_t*>(data.lpData);
  const std::size_t length = data.cbData / sizeof(wchar_t);
  std::vector<std::wstring> paths;
  std::size_t start = 0;
  for (std::size_t i = 0; i < length; ++i) {
    if (text[i] != L'\0') continue;
    if (i > start) paths.emplace_back(text + start, i - start);
    start = i + 1;
  }
  if (start < length) paths.emplace_back(text + start, length - start);
  return paths;
}

}  // namespace pellacore::win32
