// Handles the program keeps from one drawing's export to the next, counted
// from the system's handle list (Wine answers GetProcessHandleCount with 0).

#include <windows.h>

#include <gtest/gtest.h>

#include "convert/autocad_instances.h"
#include "convert/bounded_automation.h"
#include "convert/drawing_export.h"
#include "convert/retrying_automation.h"
#include "tests/doubles/recording_message_boxes.h"
#include "tests/windows/scratch_folder.h"
#include "tests/windows/standins.h"
#include "tools/harness/handle_census.h"
#include "win32/ole_session.h"
#include "win32/win32_automation.h"
#include "win32/win32_call_threads.h"
#include "win32/win32_clock.h"
#include "win32/win32_event_pump.h"
#include "win32/win32_processes.h"

namespace pellacore::testing {
namespace {

std::map<std::wstring, DWORD> OwnHandles() {
  return harness::HandleCensus(::GetCurrentProcess(), ::GetCurrentProcessId());
}

class HandleGrowthTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StandInAutoCad::ClearSwitches();
    ::CopyFileW((WindowsPathOf(PELLACORE_SAMPLES_DIR) + L"\\floor-plan.dxf").c_str(), drawing.c_str(), FALSE);
  }
  void TearDown() override { StandInAutoCad::ClearSwitches(); }

  ExportEnd Export() { return convertDWGtoBMP({instances, boxes}, true, 60, L"Pellacore", drawing, stem); }

  win32::OleSession ole;
  ScratchFolder folder;
  std::wstring drawing = folder.path() + L"Plan.dwg";
  std::wstring stem = folder.path() + L"Plan";
  win32::Win32Automation com;
  win32::Win32Clock clock;
  win32::Win32EventPump pump;
  RetryingAutomation retrying{com, clock};
  win32::Win32CallThreads threads{clock, pump};
  win32::Win32Processes processes;
  BoundedAutomation automation{retrying, threads, clock};
  AutoCadInstances instances{{automation, processes, clock, pump}};
  RecordingMessageBoxes boxes;
};

// Each export starts a stand-in AutoCAD, quits it and waits for its end.
// Proxies released after their server has ended keep Wine's RPC pipe and
// events open: every object must be let go of while the server still runs.
TEST_F(HandleGrowthTest, RepeatedExportsKeepNoHandles) {
  constexpr int kExports = 6;
  ASSERT_EQ(Export(), ExportEnd::kFinished);  // the first connection's own handles
  const auto before = OwnHandles();
  ASSERT_FALSE(before.empty()) << "the system's handle list cannot be read";
  for (int i = 0; i < kExports; ++i) ASSERT_EQ(Export(), ExportEnd::kFinished);
  const auto after = OwnHandles();
  EXPECT_LT(harness::HandleTotal(after), harness::HandleTotal(before) + kExports)
      << "gained: " << ::testing::PrintToString(harness::HandleGrowth(before, after));
}

}  // namespace
}  // namespace pellacore::testing
