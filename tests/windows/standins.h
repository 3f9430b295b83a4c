#pragma once
// The stand-in partners as the Windows tests use them: the automation server
// registered as "AutoCAD.Application" (switched on and off, configured, its
// call log read back) and the stand-in PDF printer (hidden and shown again).
// scripts/install-standins puts both into the test prefix before the tests.

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/export_call_table.h"
#include "tests/windows/program_folder_fixture.h"
#include "tools/harness/harness.h"

namespace pellacore::testing {

inline const wchar_t kStandInConfigKey[] = L"Software\\Pellacore\\Stand-ins\\AutoCAD";

// Runs a command line to its end (bounded); answers its exit code.
inline DWORD RunToEnd(std::wstring commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
    return ::GetLastError() | 0x80000000u;
  }
  ::CloseHandle(info.hThread);
  DWORD code = WAIT_TIMEOUT;
  if (::WaitForSingleObject(info.hProcess, 30000) == WAIT_OBJECT_0) ::GetExitCodeProcess(info.hProcess, &code);
  ::CloseHandle(info.hProcess);
  return code;
}

class StandInAutoCad {
 public:
  static std::wstring Exe() { return WindowsPathOf(PELLACORE_STANDIN_AUTOCAD_EXE); }

  // Registers the server (on) or takes its registration away (off).
  static void Register(bool on) {
    const std::wstring reg = TempFile(on ? L"standin-on.reg" : L"standin-off.reg");
    RunToEnd(L"\"" + Exe() + L"\" " + (on ? L"/regfile \"" : L"/unregfile \"") + reg + L"\"");
    RunToEnd(L"regedit /S \"" + reg + L"\"");
    ::DeleteFileW(reg.c_str());
  }

  // A switch of the server ("LogFile", "FailOpen", "RejectCalls", ...).
  static void Set(const wchar_t* name, const std::wstring& value) {
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kStandInConfigKey, name, REG_SZ, value.c_str(),
                      static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  static void ClearSwitches() { ::RegDeleteTreeW(HKEY_CURRENT_USER, kStandInConfigKey); }

  // The log's lines, UTF-8 decoded; only the member calls when `callsOnly`.
  static std::vector<std::wstring> Log(const std::wstring& file, bool callsOnly = true) {
    std::vector<std::wstring> lines;
    std::ifstream in(std::filesystem::path(file), std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const int length = static_cast<int>(line.size());
      std::wstring wide(static_cast<std::size_t>(length), L'\0');
      wide.resize(static_cast<std::size_t>(
          ::MultiByteToWideChar(CP_UTF8, 0, line.data(), length, wide.data(), length)));
      const std::size_t dot = wide.find(L'.');
      const std::size_t blank = wide.find(L' ');
      if (callsOnly && (dot == std::wstring::npos || blank < dot)) continue;
      lines.push_back(wide);
    }
    return lines;
  }

 private:
  static std::wstring TempFile(const wchar_t* name) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + name;
  }
};

// The stand-in's registration taken away while this lives.
class UnregisteredAutoCad {
 public:
  UnregisteredAutoCad() { StandInAutoCad::Register(false); }
  ~UnregisteredAutoCad() { StandInAutoCad::Register(true); }
  UnregisteredAutoCad(const UnregisteredAutoCad&) = delete;
  UnregisteredAutoCad& operator=(const UnregisteredAutoCad&) = delete;
};

// The stand-in printer taken out of the printer list for a while: its key is
// kept aside and put back when this goes.
class HiddenPdfPrinter {
 public:
  HiddenPdfPrinter() {
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kAside);
    HKEY aside = nullptr;
    ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kAside, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &aside, nullptr);
    ::RegCopyTreeW(HKEY_LOCAL_MACHINE, kPrinter, aside);
    ::RegCloseKey(aside);
    hidden_ = ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kPrinter) == ERROR_SUCCESS;
  }
  ~HiddenPdfPrinter() {
    if (!hidden_) return;
    HKEY printer = nullptr;
    ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kPrinter, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &printer, nullptr);
    ::RegCopyTreeW(HKEY_LOCAL_MACHINE, kAside, printer);
    ::RegCloseKey(printer);
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kAside);
  }
  HiddenPdfPrinter(const HiddenPdfPrinter&) = delete;
  HiddenPdfPrinter& operator=(const HiddenPdfPrinter&) = delete;
  bool hidden() const { return hidden_; }

 private:
  static constexpr wchar_t kPrinter[] =
      L"System\\CurrentControlSet\\Control\\Print\\Printers\\Kelvandor PDF Writer";
  static constexpr wchar_t kAside[] = L"Software\\Pellacore Tests\\Hidden printer";
  bool hidden_ = false;
};

}  // namespace pellacore::testing
