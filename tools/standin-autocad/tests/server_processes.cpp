#include "tools/standin-autocad/tests/server_processes.h"

#include <tlhelp32.h>

namespace pellacore::standin::testing {

namespace {

constexpr DWORD kEndTimeoutMs = 5000;

}  // namespace

std::vector<ServerProcess> ServerProcesses() {
  std::vector<ServerProcess> found;
  win32::UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot || snapshot.get() == INVALID_HANDLE_VALUE) return found;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry)) {
    if (::lstrcmpiW(entry.szExeFile, L"standin-autocad.exe") == 0) {
      found.push_back({entry.th32ProcessID, entry.th32ParentProcessID});
    }
  }
  return found;
}

DWORD ProcessOfWindow(HWND window) {
  DWORD process = 0;
  if (!::IsWindow(window) || !::GetWindowThreadProcessId(window, &process)) return 0;
  return process;
}

win32::UniqueHandle OpenServerProcess(DWORD id) {
  return win32::UniqueHandle(::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE, id));
}

int EndAllServerProcesses() {
  const std::vector<ServerProcess> running = ServerProcesses();
  for (const ServerProcess& process : running) {
    const win32::UniqueHandle handle = OpenServerProcess(process.id);
    if (!handle) continue;
    ::TerminateProcess(handle.get(), 1);
    ::WaitForSingleObject(handle.get(), kEndTimeoutMs);
  }
  return static_cast<int>(running.size());
}

}  // namespace pellacore::standin::testing
