#pragma once
// What the cross-process checks share: the stand-in created through COM from
// this process, as the converter creates AutoCAD, its switches and call log
// for one check, and its processes, every one of which is gone when a check
// ends (ended by id if the check did not end it).

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "tests/windows/scratch_folder.h"
#include "tools/standin-autocad/tests/server_processes.h"
#include "tools/standin-autocad/tests/standin_test_support.h"

namespace pellacore::standin::testing {

inline constexpr std::chrono::milliseconds kServerTimeout{15000};
inline constexpr CLSID kClsid = {0x5930968d, 0x5f19, 0x415d, {0x8d, 0xc4, 0x44, 0x39, 0xab, 0x19, 0xd8, 0x0f}};

std::wstring ServerExe();
std::wstring Hex(HRESULT code);
// Milliseconds since `start`.
long long MillisecondsSince(std::chrono::steady_clock::time_point start);

// Whether `code` is what a call into a dead server answers.
bool IsDeadServerCode(HRESULT code);

class CrossProcess : public ::testing::Test {
 protected:
  CrossProcess();

  // No stand-in runs when a check starts: a server still on its way out
  // would write its last line into this check's log (the log path is read
  // afresh for every line).
  void SetUp() override;
  void TearDown() override;

  ComPtr<IDispatch> Create(HRESULT* result = nullptr);
  // Quit, then the process gone (bounded).
  void QuitAndWait(IDispatch* application);
  // The instance in the running object table, or none.
  ComPtr<IDispatch> Running(HRESULT* result = nullptr);

  std::wstring MakeDrawing(const std::wstring& name, const std::string& content = "not a DXF");
  ComPtr<IDispatch> Get(IDispatch* target, const wchar_t* name);
  std::unique_ptr<Outcome> Open(IDispatch* application, const std::wstring& path);
  // Everything the converter does with a drawing after opening it.
  std::unique_ptr<Outcome> SelectAndExport(IDispatch* application, IDispatch* document, const std::wstring& stem);
  // Application.HWND, which must arrive as VT_I8.
  HWND WindowOf(IDispatch* application);
  // The process behind the instance's main window, held open.
  win32::UniqueHandle ProcessOf(IDispatch* application);

  bool LogHas(const std::wstring& line) const;
  bool WaitForLog(const std::wstring& line) const;
  bool WaitForNoServer() const;

  pellacore::testing::ScratchFolder folder_;
  ScopedConfig config_;
  std::wstring log_;
};

}  // namespace pellacore::standin::testing
