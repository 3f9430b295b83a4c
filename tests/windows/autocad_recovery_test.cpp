// Whole runs of the real program against a stand-in AutoCAD that behaves as
// badly as the real one can: it hangs, shows a dialog, dies, starts slowly,
// lingers after Quit, or is the user's own. Each run must end, convert what
// it can, say once what became of the drawing AutoCAD failed on, and leave
// no AutoCAD of its own running.

#include <windows.h>

#include <tlhelp32.h>

#include "tests/windows/end_to_end_fixture.h"
#include "win32/com_resource.h"
#include "win32/options_menu.h"
#include "win32/unique_resource.h"
#include "win32/win32_automation.h"

namespace pellacore::testing {
namespace {

using namespace end_to_end;

constexpr wchar_t kStandInExe[] = L"standin-autocad.exe";

// The ids of the stand-in's processes that run now, its child helpers too.
std::vector<DWORD> StandInProcesses() {
  std::vector<DWORD> ids;
  win32::UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return ids;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry)) {
    if (::lstrcmpiW(entry.szExeFile, kStandInExe) == 0) ids.push_back(entry.th32ProcessID);
  }
  return ids;
}

void EndStandInProcesses() {
  for (DWORD id : StandInProcesses()) {
    win32::UniqueHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
    if (!process) continue;
    ::TerminateProcess(process.get(), 1);
    ::WaitForSingleObject(process.get(), 5000);
  }
}

bool HasLine(const Lines& lines, const std::wstring& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::wstring OpenLine(const std::wstring& drawing) {
  return L"Documents.Open call (VT_BSTR|VT_BYREF " + drawing + L")";
}

class AutoCadRecoveryTest : public EndToEndTest {
 protected:
  AutoCadRecoveryTest() { EndStandInProcesses(); }
  ~AutoCadRecoveryTest() override {
    if (program && window && ::IsWindow(window)) Close();
    // Whatever a failed test left is ended, so the next test starts clean.
    EndStandInProcesses();
  }

  // Two drawings dropped onto the list, their PDFs to go beside them.
  Paths DropTwoDrawings() {
    const Paths drawings{Drawing(scratch, L"first.dwg", 0), Drawing(scratch, L"second.dwg", 1)};
    {
      win32::OleSession ole;
      EXPECT_NE(harness::DropOnto(Control(ControlId::kListView1), drawings), static_cast<DWORD>(DROPEFFECT_NONE));
    }
    EXPECT_TRUE(WaitForEntries(drawings.size()));
    EXPECT_TRUE(ChooseBesideTheDrawings());
    return drawings;
  }

  bool WaitForCall(const std::wstring& line, milliseconds bound = harness::kDefaultTimeout) const {
    return WaitUntil([&] { return HasLine(StandInAutoCad::Log(autoCadLog, false), line); }, bound);
  }
  bool WaitForNoStandIn() const {
    return WaitUntil([] { return StandInProcesses().empty(); });
  }

  // The run of two drawings where AutoCAD failed on the first: one report
  // about it, the second converted, nothing of the first left beside it.
  void ExpectFirstGivenUpSecondConverted(const RunOutcome& run, const Paths& drawings, int step,
                                         const std::wstring& what) const {
    EXPECT_EQ(run.last, EndBoxAsking(L"Done.\r\n\r\n1 of 2 drawings were converted."));
    EXPECT_TRUE(run.asked);
    ASSERT_EQ(run.reports.size(), 1u);
    EXPECT_NE(run.reports[0].find(what), std::wstring::npos) << run.reports[0];
    EXPECT_NE(run.reports[0].find(L"\"" + drawings[0] + L"\""), std::wstring::npos) << run.reports[0];
    EXPECT_NE(run.reports[0].find(L"at line " + std::to_wstring(step) + L"\r\r"), std::wstring::npos)
        << run.reports[0];
    EXPECT_FALSE(Exists(PdfBeside(drawings[0])));
    EXPECT_FALSE(Exists(StemOf(drawings[0]) + L".bmp"));
    EXPECT_TRUE(IsOnePagePdf(PdfBeside(drawings[1])));
    EXPECT_FALSE(Exists(StemOf(drawings[1]) + L".bmp"));
    EXPECT_TRUE(WaitForNoStandIn()) << "an AutoCAD of the program's own is left running";
  }

  void SetTimeLimit(const wchar_t* seconds) { SetString(kSettingsKey, L"DrawingTimeLimit", seconds); }

  // The window's close box during a run: the program's exit code, or a
  // failure when it did not end.
  DWORD CloseDuringTheRun() {
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD code = 1;
    EXPECT_TRUE(program->WaitForExit()) << "the program did not end";
    ::GetExitCodeProcess(program->handle(), &code);
    program.reset();
    window = nullptr;
    return code;
  }
};

TEST_F(AutoCadRecoveryTest, TheStartUpCheckLeavesNoAutoCadRunning) {
  ASSERT_NE(Start(), nullptr);
  // The check quits its AutoCAD and waits for it before the window shows.
  EXPECT_EQ(StandInProcesses(), std::vector<DWORD>{});
  EXPECT_TRUE(HasLine(startupCalls, L"Application.HWND get ()"));
  EXPECT_TRUE(HasLine(startupCalls, L"Application.Quit call ()"));
  EXPECT_EQ(startupCalls.back(), L"server exit");
}

TEST_F(AutoCadRecoveryTest, AHangInOpenEndsThatAutoCadWithItsHelpersAtTheTimeLimit) {
  SetTimeLimit(L"4");
  ASSERT_NE(Start(), nullptr);
  const Paths drawings = DropTwoDrawings();
  StandInAutoCad::Set(L"HangIn", L"Open");
  StandInAutoCad::Set(L"OnlyFor", drawings[0]);
  StandInAutoCad::Set(L"ChildProcess", L"1");

  Click(ControlId::kPushButton2);
  ASSERT_TRUE(WaitForCall(OpenLine(drawings[0])));
  // While AutoCAD hangs the window takes posted input: the Options menu's
  // time limit opens its box, showing the stored limit, and is cancelled.
  ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(win32::options_menu::kTimeLimit, 0), 0);
  HWND box = harness::WaitForTopWindow(program->id(), L"#32770", kTitle);
  ASSERT_NE(box, nullptr) << "the window did not handle its input during the hang";
  EXPECT_EQ(TextOf(::GetDlgItem(box, kInputAnswer)), L"4");
  EXPECT_FALSE(HasLine(AutoCadCalls(), OpenLine(drawings[1]))) << "the hang was over already";
  PressButtonOf(box, IDCANCEL);
  // Gone before the run's boxes are awaited: a closing box is a box too.
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box); }));
  EXPECT_EQ(TextOf(Control(ControlId::kProgressBar1)), L"Processing: first.dwg");

  ExpectFirstGivenUpSecondConverted(AnswerBoxes(), drawings, 116, L"within 4 seconds. That AutoCAD was ended");
  EXPECT_EQ(StoredSetting(L"DrawingTimeLimit"), L"4");
}

TEST_F(AutoCadRecoveryTest, ADialogInExportIsEndedWithItsAutoCad) {
  SetTimeLimit(L"4");
  ASSERT_NE(Start(), nullptr);
  const Paths drawings = DropTwoDrawings();
  StandInAutoCad::Set(L"DialogIn", L"Export");
  StandInAutoCad::Set(L"OnlyFor", drawings[0]);

  Click(ControlId::kPushButton2);
  ASSERT_TRUE(WaitForCall(L"dialog shown in Export"));
  ExpectFirstGivenUpSecondConverted(AnswerBoxes(), drawings, 124, L"within 4 seconds. That AutoCAD was ended");
}

TEST_F(AutoCadRecoveryTest, AnAutoCadThatDiesInSelectIsOneReport) {
  ASSERT_NE(Start(), nullptr);
  const Paths drawings = DropTwoDrawings();
  StandInAutoCad::Set(L"CrashIn", L"Select");
  StandInAutoCad::Set(L"OnlyFor", drawings[0]);
  ExpectFirstGivenUpSecondConverted(Run(), drawings, 122, L"AutoCAD ended while working on");
  // The second drawing had an AutoCAD of its own, from the start.
  const Lines whole = StandInAutoCad::Log(autoCadLog, false);
  EXPECT_EQ(std::count(whole.begin(), whole.end(), L"server start embedding"), 2);
}

TEST_F(AutoCadRecoveryTest, TheRunReportInUtf8SaysWhatBecameOfEachDrawing) {
  wchar_t local[MAX_PATH] = {};
  ASSERT_EQ(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local), S_OK);
  SYSTEMTIME before;
  ::GetLocalTime(&before);
  ASSERT_NE(Start(), nullptr);
  // A name outside the ANSI code page, on the drawing AutoCAD dies on.
  const Paths drawings{Drawing(scratch, L"Grundri\u00df-\u6771\u4eac.dwg", 0), Drawing(scratch, L"second.dwg", 1)};
  {
    win32::OleSession ole;
    EXPECT_NE(harness::DropOnto(Control(ControlId::kListView1), drawings), static_cast<DWORD>(DROPEFFECT_NONE));
  }
  ASSERT_TRUE(WaitForEntries(drawings.size()));
  ASSERT_TRUE(ChooseBesideTheDrawings());
  StandInAutoCad::Set(L"CrashIn", L"Select");
  StandInAutoCad::Set(L"OnlyFor", drawings[0]);

  const RunOutcome run = Run();
  const std::wstring report = StoredSetting(L"LastReport");
  EXPECT_EQ(run.last, L"Done.\r\n\r\n1 of 2 drawings were converted.\r\n\r\nThe run report is in:\r\n" + report +
                          L"\r\n\r\nOpen it now?");
  EXPECT_TRUE(run.asked);
  // Named after the run's start, in the local application data.
  wchar_t day[32];
  std::swprintf(day, 32, L"Run %04u-%02u-%02u ", before.wYear, before.wMonth, before.wDay);
  EXPECT_EQ(FolderOf(report), std::wstring(local) + L"\\Pellacore\\Reports\\");
  EXPECT_EQ(report.substr(report.rfind(L'\\') + 1, 15), day) << report;
  EXPECT_TRUE(report.ends_with(L".csv")) << report;

  std::ifstream in(std::filesystem::path(report), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_TRUE(bytes.starts_with("\xEF\xBB\xBF")) << "no byte-order mark";
  std::wstring text(bytes.size(), L'\0');
  text.resize(static_cast<std::size_t>(::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data() + 3,
                                                             static_cast<int>(bytes.size() - 3), text.data(),
                                                             static_cast<int>(text.size()))));
  Lines rows;
  for (std::size_t at = 0, end; (end = text.find(L"\r\n", at)) != std::wstring::npos; at = end + 2) {
    rows.push_back(text.substr(at, end - at));
  }
  ASSERT_EQ(rows.size(), 3u) << bytes;
  EXPECT_EQ(rows[0], L"drawing,pdf,result,step,message,seconds");
  EXPECT_TRUE(rows[1].starts_with(drawings[0] + L",,failed,122,")) << rows[1];
  EXPECT_NE(rows[1].find(L"AutoCAD ended while working on"), std::wstring::npos) << rows[1];
  EXPECT_TRUE(rows[2].starts_with(drawings[1] + L"," + PdfBeside(drawings[1]) + L",converted,,,")) << rows[2];
  EXPECT_TRUE(IsOnePagePdf(PdfBeside(drawings[1])));
  in.close();
  ::DeleteFileW(report.c_str());
}

TEST_F(AutoCadRecoveryTest, ASlowStartAndAQuitThatLingersAreWaitedFor) {
  StandInAutoCad::Set(L"StartDelayMs", L"2500");
  StandInAutoCad::Set(L"LingerAfterQuitMs", L"3000");
  ASSERT_NE(Start(), nullptr);
  const Paths drawings = DropTwoDrawings();
  ExpectPdfsBeside(Run(), drawings);
  // The second drawing got a new AutoCAD, not the first one on its way out.
  EXPECT_EQ(AutoCadCalls(), ExportCallsFor(drawings));
  for (const std::wstring& line : StandInAutoCad::Log(autoCadLog, false)) {
    EXPECT_FALSE(line.ends_with(L" disconnected")) << line;
  }
  EXPECT_TRUE(WaitForNoStandIn());
}

TEST_F(AutoCadRecoveryTest, TheUsersAutoCadIsUsedButNeitherQuitNorRobbedOfItsDrawing) {
  ASSERT_NE(Start(), nullptr);
  const std::wstring own = Drawing(scratch, L"users-own.dwg", 2);
  harness::Program user = harness::Program::Start(StandInAutoCad::Exe(), scratch.path(), L"/run \"" + own + L"\"");
  ASSERT_TRUE(WaitUntil([&] { return HasLine(StandInAutoCad::Log(autoCadLog, false), L"ready"); }));
  const Paths drawings = DropTwoDrawings();

  ExpectPdfsBeside(Run(), drawings);
  Lines expected = ExportCallTable(drawings[0], StemOf(drawings[0]), false);
  const Lines second = ExportCallTable(drawings[1], StemOf(drawings[1]), false);
  expected.insert(expected.end(), second.begin(), second.end());
  EXPECT_EQ(AutoCadCalls(), expected);
  EXPECT_FALSE(user.WaitForExit(milliseconds(0))) << "the user's AutoCAD was ended";
  {
    // Still the running AutoCAD, with the user's drawing open in it.
    win32::OleSession ole;
    win32::Win32Automation com;
    auto application = com.GetActiveObject(L"AutoCAD.Application");
    EXPECT_EQ(application->GetProperty(L"Documents")->GetInteger(L"Count"), 1);
    application->Call(L"Quit", {});
  }
  EXPECT_TRUE(user.WaitForExit());
}

TEST_F(AutoCadRecoveryTest, StopEndsTheRunAfterTheDrawingInHand) {
  ASSERT_NE(Start(), nullptr);
  const Paths drawings = DropTwoDrawings();
  StandInAutoCad::Set(L"DelayMs", L"Export=1500");
  Click(ControlId::kPushButton2);
  ASSERT_TRUE(WaitForCall(OpenLine(drawings[0])));
  // Esc on the list, as a user presses it during a run.
  HWND list = Control(ControlId::kListView1);
  ::PostMessageW(list, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  const RunOutcome run = AnswerBoxes();
  EXPECT_EQ(run.last, EndBoxAsking(L"Done.\r\n\r\n1 of 2 drawings were converted."));
  EXPECT_EQ(run.reports, Lines{});
  EXPECT_TRUE(IsOnePagePdf(PdfBeside(drawings[0])));
  EXPECT_FALSE(Exists(PdfBeside(drawings[1])));
  EXPECT_FALSE(HasLine(AutoCadCalls(), OpenLine(drawings[1])));
  EXPECT_TRUE(WaitForNoStandIn());
}

TEST_F(AutoCadRecoveryTest, ClosingTheWindowDuringAHangEndsTheProgramAndItsAutoCad) {
  ASSERT_NE(Start(), nullptr);
  const Paths drawings = DropTwoDrawings();
  StandInAutoCad::Set(L"HangIn", L"Open");
  StandInAutoCad::Set(L"ChildProcess", L"1");
  Click(ControlId::kPushButton2);
  ASSERT_TRUE(WaitForCall(OpenLine(drawings[0])));
  ASSERT_FALSE(StandInProcesses().empty());

  EXPECT_EQ(CloseDuringTheRun(), 0u);
  EXPECT_TRUE(WaitForNoStandIn()) << "the window closed, its AutoCAD stayed";
}

// Between two drawings the run yields while it waits for the printer's PDF:
// a close then ends the program there, as its close box would at any time.
TEST_F(AutoCadRecoveryTest, ClosingTheWindowWhileTheRunWaitsForAPdfEndsTheProgram) {
  SetString(kPrinterSwitchesKey, L"DelaySeconds", L"3");
  ASSERT_NE(Start(), nullptr);
  const Paths drawings = DropTwoDrawings();
  Click(ControlId::kPushButton2);
  // The first drawing's AutoCAD has gone: its bitmap is with the late printer.
  ASSERT_TRUE(WaitForCall(L"server exit"));

  EXPECT_EQ(CloseDuringTheRun(), 0u);
  EXPECT_FALSE(HasLine(AutoCadCalls(), OpenLine(drawings[1]))) << "the run went on after the close";
  EXPECT_TRUE(WaitForNoStandIn());
}

// One AutoCAD kept open for a run's drawings: started once, quit when the
// run ends, replaced after its count of drawings or when it hangs.
class KeptAutoCadRunEndToEndTest : public AutoCadRecoveryTest {
 protected:
  void Keep() { SetString(kSettingsKey, L"KeepAutoCadOpen", L"True"); }

  Paths DropThreeDrawings() {
    const Paths drawings{Drawing(scratch, L"first.dwg", 0), Drawing(scratch, L"second.dwg", 1),
                         Drawing(scratch, L"third.dwg", 2)};
    {
      win32::OleSession ole;
      EXPECT_NE(harness::DropOnto(Control(ControlId::kListView1), drawings), static_cast<DWORD>(DROPEFFECT_NONE));
    }
    EXPECT_TRUE(WaitForEntries(drawings.size()));
    EXPECT_TRUE(ChooseBesideTheDrawings());
    return drawings;
  }
  // The server processes the run started.
  long ServerStarts() const {
    const Lines whole = StandInAutoCad::Log(autoCadLog, false);
    return std::count(whole.begin(), whole.end(), L"server start embedding");
  }
};

TEST_F(KeptAutoCadRunEndToEndTest, OneAutoCadConvertsThreeDrawingsAndIsQuitAtTheRunsEnd) {
  ASSERT_NE(Start(), nullptr);
  // Chosen from the Options menu, as a user does.
  ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(win32::options_menu::kKeepAutoCad, 0), 0);
  ASSERT_TRUE(WaitUntil([] { return StoredSetting(L"KeepAutoCadOpen") == L"True"; }));
  const Paths drawings = DropThreeDrawings();
  ExpectPdfsBeside(Run(), drawings);
  EXPECT_EQ(ServerStarts(), 1);
  // Each drawing opened and closed in it; its window told once, Quit once.
  Lines expected;
  for (std::size_t i = 0; i < drawings.size(); ++i) {
    Lines one = ExportCallTable(drawings[i], StemOf(drawings[i]), i + 1 == drawings.size());
    if (i > 0) one.erase(one.begin());
    expected.insert(expected.end(), one.begin(), one.end());
  }
  EXPECT_EQ(AutoCadCalls(), expected);
  EXPECT_TRUE(WaitForNoStandIn()) << "the kept AutoCAD outlived its run";
  EXPECT_TRUE(WaitForCall(L"server exit")) << "ended rather than quit";
}

TEST_F(KeptAutoCadRunEndToEndTest, RecycledAfterTwoDrawingsThreeNeedTwoAutoCads) {
  Keep();
  SetString(kSettingsKey, L"RecycleAfter", L"2");
  ASSERT_NE(Start(), nullptr);
  const Paths drawings = DropThreeDrawings();
  ExpectPdfsBeside(Run(), drawings);
  EXPECT_EQ(ServerStarts(), 2);
  EXPECT_TRUE(WaitForNoStandIn());
}

TEST_F(KeptAutoCadRunEndToEndTest, AKeptAutoCadThatHangsIsReplacedAndTheRunGoesOn) {
  Keep();
  SetTimeLimit(L"4");
  ASSERT_NE(Start(), nullptr);
  const Paths drawings = DropThreeDrawings();
  // The kept AutoCAD converts the first drawing, then hangs opening the second.
  StandInAutoCad::Set(L"HangIn", L"Open");
  StandInAutoCad::Set(L"OnlyFor", drawings[1]);
  const RunOutcome run = Run();
  EXPECT_EQ(run.last, EndBoxAsking(L"Done.\r\n\r\n2 of 3 drawings were converted."));
  ASSERT_EQ(run.reports.size(), 1u);
  EXPECT_NE(run.reports[0].find(L"\"" + drawings[1] + L"\" within 4 seconds. That AutoCAD was ended"),
            std::wstring::npos)
      << run.reports[0];
  EXPECT_TRUE(IsOnePagePdf(PdfBeside(drawings[0])));
  EXPECT_FALSE(Exists(PdfBeside(drawings[1])));
  EXPECT_TRUE(IsOnePagePdf(PdfBeside(drawings[2])));
  EXPECT_EQ(ServerStarts(), 2);
  EXPECT_TRUE(WaitForNoStandIn());
}

// The Options menu's counts: a whole number in range is stored; one beyond
// it is refused, saying the range, and the count stays.
TEST_F(KeptAutoCadRunEndToEndTest, TheMenusCountBoxesStoreWhatIsInRangeAndRefuseTheRest) {
  ASSERT_NE(Start(), nullptr);
  const auto answer = [&](UINT command, const std::wstring& offered, const std::wstring& typed) {
    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    HWND box = harness::WaitForTopWindow(program->id(), L"#32770", kTitle);
    ASSERT_NE(box, nullptr) << "no input box";
    EXPECT_EQ(TextOf(::GetDlgItem(box, kInputAnswer)), offered);
    harness::SetText(::GetDlgItem(box, kInputAnswer), typed);
    PressButtonOf(box, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box); }));
  };
  answer(win32::options_menu::kRecycleAfter, L"50", L"7");
  EXPECT_TRUE(WaitUntil([] { return StoredSetting(L"RecycleAfter") == L"7"; }));

  SYSTEM_INFO system{};
  ::GetNativeSystemInfo(&system);
  const std::wstring most = std::to_wstring(std::clamp<DWORD>(system.dwNumberOfProcessors, 1, 8));
  answer(win32::options_menu::kParallel, L"1", L"9");
  EXPECT_EQ(Answer(kTitle, IDOK), L"Please enter a whole number of AutoCADs from 1 to " + most + L".");
  EXPECT_EQ(StoredSetting(L"ParallelInstances"), L"<absent>");
}

// Two AutoCADs of the program's own plot four drawings side by side, each
// into its own PDF: the second starts while the first still plots.
TEST_F(KeptAutoCadRunEndToEndTest, TwoAutoCadsPlotFourDrawingsSideBySideIntoTheirOwnPdfs) {
  SetString(kSettingsKey, L"PdfRoute", L"Plotter");
  SetString(kSettingsKey, L"ParallelInstances", L"2");
  Keep();
  ASSERT_NE(Start(), nullptr);
  const Paths drawings{Drawing(scratch, L"one.dwg", 0), Drawing(scratch, L"two.dwg", 0),
                       Drawing(scratch, L"three.dwg", 0), Drawing(scratch, L"four.dwg", 0)};
  {
    win32::OleSession ole;
    ASSERT_NE(harness::DropOnto(Control(ControlId::kListView1), drawings), static_cast<DWORD>(DROPEFFECT_NONE));
  }
  ASSERT_TRUE(WaitForEntries(drawings.size()));
  ASSERT_TRUE(ChooseBesideTheDrawings());
  // The first drawing's plot takes long enough for the other AutoCAD to start.
  StandInAutoCad::Set(L"DelayMs", L"PlotToFile=4000");
  StandInAutoCad::Set(L"OnlyFor", drawings[0]);

  const RunOutcome run = Run();
  EXPECT_TRUE(run.reports.empty());
  EXPECT_EQ(run.last, L"Done.");
  Lines expected;
  for (const std::wstring& drawing : drawings) {
    EXPECT_TRUE(IsOnePagePdf(PdfBeside(drawing))) << ::testing::PrintToString(drawing);
    expected.push_back(L"converted: " + PdfBeside(drawing));
  }
  EXPECT_EQ(Results(), expected);

  const Lines whole = StandInAutoCad::Log(autoCadLog, false);
  EXPECT_EQ(ServerStarts(), 2);
  const auto secondStart = std::find(std::find(whole.begin(), whole.end(), L"server start embedding") + 1,
                                     whole.end(), L"server start embedding");
  const auto firstClosed = std::find_if(whole.begin(), whole.end(), [](const std::wstring& line) {
    return line.starts_with(L"Document.Close");
  });
  EXPECT_LT(secondStart - whole.begin(), firstClosed - whole.begin()) << "one drawing after another";
  // Each drawing opened once.
  for (const std::wstring& drawing : drawings) {
    EXPECT_EQ(std::count_if(whole.begin(), whole.end(),
                            [&](const std::wstring& line) {
                              return line.starts_with(L"Documents.Open") && line.find(drawing) != std::wstring::npos;
                            }),
              1)
        << ::testing::PrintToString(drawing);
  }
  EXPECT_TRUE(WaitForNoStandIn()) << "a kept AutoCAD outlived its run";
}

}  // namespace
}  // namespace pellacore::testing
