// The export of a drawing through the real automation layer against the
// stand-in AutoCAD server, out of process as AutoCAD runs.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "convert/drawing_export.h"
#include "convert/prerequisite_checks.h"
#include "tests/doubles/recording_message_boxes.h"
#include "tests/windows/program_automation.h"
#include "tests/windows/scratch_folder.h"
#include "tests/windows/standins.h"
#include "tools/harness/handle_census.h"
#include "util/error_report.h"
#include "win32/ole_session.h"
#include "win32/win32_printing.h"

namespace pellacore::testing {
namespace {

using Lines = std::vector<std::wstring>;
constexpr wchar_t kConvert[] = L"in Corvanta2021/08/31.Form1.convertDWGtoBMP ";

class ExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StandInAutoCad::ClearSwitches();
    StandInAutoCad::Set(L"LogFile", log);
    drawing = folder.path() + L"Plan.rev.DWG";
    ::CopyFileW((WindowsPathOf(PELLACORE_SAMPLES_DIR) + L"\\floor-plan.dxf").c_str(), drawing.c_str(), FALSE);
    stem = folder.path() + L"Plan.rev";
  }
  void TearDown() override { StandInAutoCad::ClearSwitches(); }

  ExportEnd Export() { return convertDWGtoBMP({instances, boxes}, true, 60, L"Pellacore", drawing, stem); }
  Lines Reports() const {
    Lines texts;
    for (const auto& box : boxes.shown) {
      if (box.title == kErrorReportTitle) texts.push_back(box.text);
    }
    return texts;
  }
  bool BitmapThere() const {
    std::ifstream in(std::filesystem::path(stem + L".bmp"), std::ios::binary);
    char magic[2] = {};
    return in.read(magic, 2) && magic[0] == 'B' && magic[1] == 'M';
  }

  win32::OleSession ole;
  ScratchFolder folder;
  std::wstring log = folder.path() + L"calls.log";
  std::wstring drawing, stem;
  // The program's own way to AutoCAD.
  ProgramAutomation program;
  AutoCadInstances& instances = program.instances;
  RecordingMessageBoxes boxes;
};

TEST_F(ExportTest, AStartedServerGetsExactlyTheExportsCallsAndIsGoneWhenItEnds) {
  StandInAutoCad::Set(L"LingerAfterQuitMs", L"1500");
  EXPECT_EQ(Export(), ExportEnd::kFinished);
  EXPECT_EQ(StandInAutoCad::Log(log), ExportCallTable(drawing, stem));
  EXPECT_TRUE(BitmapThere());
  EXPECT_TRUE(boxes.shown.empty());
  // Started by COM for this export, quit, and waited for: its process has
  // ended by the time the export returns.
  EXPECT_EQ(StandInAutoCad::Log(log, false).front(), L"server start embedding");
  EXPECT_EQ(StandInAutoCad::Log(log, false).back(), L"server exit");
}

TEST_F(ExportTest, ARunningServerIsAttachedToAndLeftRunning) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  std::wstring command = L"\"" + StandInAutoCad::Exe() + L"\" /run";
  ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &info));
  ::CloseHandle(info.hThread);
  ASSERT_TRUE(harness::WaitUntil([&] {
    const Lines lines = StandInAutoCad::Log(log, false);
    return std::find(lines.begin(), lines.end(), L"ready") != lines.end();
  }));

  Export();
  // The user's AutoCAD is not quit: it goes on running.
  EXPECT_EQ(::WaitForSingleObject(info.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  const Lines whole = StandInAutoCad::Log(log, false);
  EXPECT_EQ(std::count(whole.begin(), whole.end(), L"server start embedding"), 0);
  EXPECT_EQ(StandInAutoCad::Log(log), ExportCallTable(drawing, stem, false));
  EXPECT_TRUE(BitmapThere());
  ::TerminateProcess(info.hProcess, 0);
  ::WaitForSingleObject(info.hProcess, 10000);
  ::CloseHandle(info.hProcess);
}

TEST_F(ExportTest, ADrawingTheServerCannotOpenReportsEachLaterStepAndStillQuits) {
  StandInAutoCad::Set(L"FailOpen", drawing);
  Export();
  const Lines reports = Reports();
  ASSERT_EQ(reports.size(), 5u);
  const std::pair<std::size_t, int> steps[] = {{0, 116}, {1, 120}, {2, 122}, {3, 124}, {4, 126}};
  for (const auto& [index, step] : steps) {
    EXPECT_NE(reports[index].find(std::wstring(kConvert) + L"at line " + std::to_wstring(step)),
              std::wstring::npos)
        << reports[index];
  }
  EXPECT_NE(reports[1].find(L"Object variable or With block variable not set"), std::wstring::npos);
  EXPECT_FALSE(BitmapThere());
  const Lines calls = StandInAutoCad::Log(log);
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), L"Application.Quit call ()");
}

TEST_F(ExportTest, ABusyServerIsWaitedOutWithoutReports) {
  StandInAutoCad::Set(L"RejectCalls", L"3");
  Export();
  EXPECT_TRUE(Reports().empty());
  EXPECT_TRUE(BitmapThere());
  const Lines calls = StandInAutoCad::Log(log);
  EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                          [](const std::wstring& line) { return line.ends_with(L" rejected"); }),
            3);
}

TEST_F(ExportTest, TheStartUpCheckFindsTheServerOnlyWhileItIsRegistered) {
  win32::Win32Printing printing;
  PartnerChecks checks({instances, printing, boxes});
  // Once, under load, the first check failed at once: what the registry and
  // the server's log said then is kept for the next time.
  const bool available = checks.AutoCadAvailable(L"Pellacore");
  CLSID clsid{};
  EXPECT_TRUE(available) << "CLSIDFromProgID: 0x" << std::hex << ::CLSIDFromProgID(L"AutoCAD.Application", &clsid)
                         << "; the server's log: " << ::testing::PrintToString(StandInAutoCad::Log(log, false));
  EXPECT_TRUE(boxes.shown.empty());

  {
    UnregisteredAutoCad unregistered;
    EXPECT_FALSE(checks.AutoCadAvailable(L"Pellacore"));
  }
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text.rfind(L"A valid version of AutoCAD with VBA was not found", 0), 0u);
}

// Each export starts a stand-in AutoCAD, quits it and waits for its end.
// Proxies released after their server has ended keep Wine's RPC pipe and
// events open: every object must be let go of while the server still runs.
// The server stays 3 s after Quit, so that a release the machine's load
// delays past a shorter stay is not counted as the program's. The handles
// are counted from the system's handle list (Wine answers
// GetProcessHandleCount with 0).
TEST_F(ExportTest, RepeatedExportsKeepNoHandles) {
  const auto ownHandles = [] { return harness::HandleCensus(::GetCurrentProcess(), ::GetCurrentProcessId()); };
  StandInAutoCad::Set(L"LingerAfterQuitMs", L"3000");
  constexpr int kExports = 4;
  ASSERT_EQ(Export(), ExportEnd::kFinished);  // the first connection's own handles
  const auto before = ownHandles();
  ASSERT_FALSE(before.empty()) << "the system's handle list cannot be read";
  for (int i = 0; i < kExports; ++i) ASSERT_EQ(Export(), ExportEnd::kFinished);
  const auto after = ownHandles();
  EXPECT_LT(harness::HandleTotal(after), harness::HandleTotal(before) + kExports)
      << "gained: " << ::testing::PrintToString(harness::HandleGrowth(before, after));
}

}  // namespace
}  // namespace pellacore::testing
