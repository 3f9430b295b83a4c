#pragma once
// The program folder as users get it (the program with its pointer files
// beside it) in a scratch folder, and the program started from there with no
// settings stored: a first start.

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/windows/scratch_folder.h"
#include "tools/harness/harness.h"

namespace pellacore::testing {

// A Linux path of the build as Wine sees it (drive Z: is the root).
inline std::wstring WindowsPathOf(const char* unixPath) {
  std::wstring path = L"Z:";
  for (const char* c = unixPath; *c; ++c) path.push_back(*c == '/' ? L'\\' : static_cast<wchar_t>(*c));
  return path;
}

inline const wchar_t kSettingsKey[] = L"Software\\VB and VBA Program Settings\\Kelvandor\\Pellacore";

class InstalledProgram {
 public:
  InstalledProgram() {
    const std::wstring built = WindowsPathOf(PELLACORE_EXE_DIR) + L"\\";
    for (const wchar_t* file : {L"pellacore.exe", L"HAND-M.CUR", L"drag.ico"}) {
      ::CopyFileW((built + file).c_str(), (folder.path() + file).c_str(), FALSE);
    }
  }
  std::wstring exe() const { return folder.path() + L"pellacore.exe"; }

  ScratchFolder folder;
};

// A value of the program's settings, or "<absent>".
inline std::wstring StoredSetting(const wchar_t* name) {
  wchar_t value[1024] = {};
  DWORD bytes = sizeof(value);
  if (::RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, value, &bytes) !=
      ERROR_SUCCESS) {
    return L"<absent>";
  }
  return value;
}

// A test that starts the installed program, with no settings stored.
class RunningProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey); }
  void TearDown() override {
    program.reset();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
  }

  // Starts the program (in `workingFolder`, its own folder by default) and
  // waits for its main window.
  HWND Start(const std::wstring& workingFolder = L"") {
    program.emplace(harness::Program::Start(installed.exe(), workingFolder.empty() ? installed.folder.path()
                                                                                  : workingFolder));
    window = harness::WaitForTopWindow(program->id(), L"PellacoreMainWindow", L"Pellacore");
    EXPECT_NE(window, nullptr) << "no main window appeared";
    return window;
  }

  HWND Control(int index) const { return harness::Children(window)[static_cast<std::size_t>(index)]; }

  InstalledProgram installed;
  std::optional<harness::Program> program;
  HWND window = nullptr;
};

}  // namespace pellacore::testing
