// A program for the process tests: shows a top-level window whose caption
// names the process that started it, starts a child copy of itself when
// asked, and waits. It ends by itself after two minutes, so that nothing a
// failed test leaves behind lingers.
//
//   process-tree-helper.exe GENERATIONS FROM [exit]
//     GENERATIONS  how many generations to start below this one (0: none)
//     FROM         the id shown in the caption: "process tree helper from FROM"
//     exit         end as soon as the child is started

#include <windows.h>

#include <shellapi.h>

#include <string>

namespace {

constexpr UINT kLifetimeMilliseconds = 120'000;

LRESULT CALLBACK HelperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER || message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

bool StartChild(int generations) {
  wchar_t exe[MAX_PATH];
  if (!::GetModuleFileNameW(nullptr, exe, MAX_PATH)) return false;
  std::wstring commandLine = L"\"" + std::wstring(exe) + L"\" " + std::to_wstring(generations) + L" " +
                             std::to_wstring(::GetCurrentProcessId());
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(exe, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return false;
  }
  ::CloseHandle(info.hThread);
  ::CloseHandle(info.hProcess);
  return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!arguments || count < 3) return 2;
  const int generations = std::stoi(arguments[1]);
  const std::wstring from = arguments[2];
  const bool exitAtOnce = count > 3 && std::wstring(arguments[3]) == L"exit";
  ::LocalFree(arguments);

  if (generations > 0 && !StartChild(generations - 1)) return 3;
  if (exitAtOnce) return 0;

  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = HelperProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"PellacoreProcessTreeHelper";
  ::RegisterClassW(&windowClass);
  const std::wstring caption = L"process tree helper from " + from;
  const HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, caption.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                        0, 0, 200, 100, nullptr, nullptr, instance, nullptr);
  if (!window) return 4;
  ::SetTimer(window, 1, kLifetimeMilliseconds, nullptr);

  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
  return 0;
}
