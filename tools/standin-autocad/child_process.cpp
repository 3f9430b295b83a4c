#include "tools/standin-autocad/child_process.h"

namespace pellacore::standin {

namespace {

constexpr DWORD kEndTimeoutMs = 5000;

}  // namespace

ChildProcess::ChildProcess(const std::wstring& exe) {
  std::wstring commandLine = L"\"" + exe + L"\" /child";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
    return;
  }
  ::CloseHandle(started.hThread);
  process_.reset(started.hProcess);
  id_ = started.dwProcessId;
}

ChildProcess::~ChildProcess() {
  if (!process_) return;
  ::TerminateProcess(process_.get(), 0);
  ::WaitForSingleObject(process_.get(), kEndTimeoutMs);
}

int RunAsChild() {
  for (;;) ::Sleep(INFINITE);
}

}  // namespace pellacore::standin
