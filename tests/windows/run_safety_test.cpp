// Whole runs of the real program where the run must protect what it writes:
// unattended runs that no box holds up, a bitmap that cannot be printed, and
// a printer too late for the drawing's time limit.

#include <windows.h>

#include "tests/windows/end_to_end_fixture.h"
#include "win32/options_menu.h"

namespace pellacore::testing {
namespace {

using namespace end_to_end;

class RunSafetyTest : public EndToEndTest {
 protected:
  Paths DropDrawings(const Paths& names) {
    Paths drawings;
    for (std::size_t i = 0; i < names.size(); ++i) {
      drawings.push_back(Drawing(scratch, names[i], static_cast<int>(i)));
    }
    {
      win32::OleSession ole;
      EXPECT_NE(harness::DropOnto(Control(ControlId::kListView1), drawings), static_cast<DWORD>(DROPEFFECT_NONE));
    }
    EXPECT_TRUE(WaitForEntries(drawings.size()));
    EXPECT_TRUE(ChooseBesideTheDrawings());
    return drawings;
  }
  std::size_t PrintJobs() const { return PrinterLogLines("received").size(); }
};

TEST_F(RunSafetyTest, AnUnattendedRunShowsNoBoxUntilItsEndAndPrintsNoUnreadableBitmap) {
  ASSERT_NE(Start(), nullptr);
  // Chosen from the Options menu, as a user does.
  ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(win32::options_menu::kUnattended, 0), 0);
  ASSERT_TRUE(WaitUntil([] { return StoredSetting(L"Unattended") == L"True"; }));
  const Paths drawings = DropDrawings({L"crashes.dwg", L"unreadable.dwg", L"fine.dwg"});
  StandInAutoCad::Set(L"CrashIn", L"Select");
  StandInAutoCad::Set(L"OnlyFor", drawings[0]);
  StandInAutoCad::Set(L"UnreadableBitmap", drawings[1]);

  const RunOutcome run = Run();
  // No report held the run up: the only box is the end's.
  EXPECT_EQ(run.reports, Lines{});
  EXPECT_EQ(run.last.rfind(L"Done.", 0), 0u) << run.last;
  EXPECT_FALSE(Exists(PdfBeside(drawings[0])));
  EXPECT_FALSE(Exists(PdfBeside(drawings[1])));
  EXPECT_TRUE(IsOnePagePdf(PdfBeside(drawings[2])));
  // The unreadable bitmap sent nothing to the printer: one job, the last drawing's.
  EXPECT_EQ(PrintJobs(), 1u);
  for (const std::wstring& drawing : drawings) EXPECT_FALSE(Exists(StemOf(drawing) + L".bmp")) << drawing;
}

TEST_F(RunSafetyTest, APrinterGoneSinceStartUpRefusesTheRunBeforeAnyDrawing) {
  ASSERT_NE(Start(), nullptr);
  const Paths drawings = DropDrawings({L"plan.dwg"});
  HiddenPdfPrinter hidden;
  ASSERT_TRUE(hidden.hidden());

  const RunOutcome run = Run();
  EXPECT_EQ(run.reports, Lines{});
  EXPECT_EQ(run.last.rfind(L"Kelvandor PDF Writer is not installed.", 0), 0u) << run.last;
  // Nothing was handed over, exported or printed, on any printer.
  EXPECT_EQ(HandedOutputFile(), L"<absent>");
  EXPECT_EQ(AutoCadCalls(), Lines{});
  EXPECT_EQ(PrintJobs(), 0u);
  EXPECT_FALSE(Exists(PdfBeside(drawings[0])));
}

TEST_F(RunSafetyTest, APrinterLaterThanTheTimeLimitStopsTheRunAndItsPdfKeepsItsOwnName) {
  SetString(kSettingsKey, L"DrawingTimeLimit", L"5");
  SetString(kPrinterSwitchesKey, L"DelaySeconds", L"8");
  ASSERT_NE(Start(), nullptr);
  const Paths drawings = DropDrawings({L"late.dwg", L"next.dwg"});

  const RunOutcome run = Run();
  EXPECT_EQ(run.reports, Lines{});
  EXPECT_EQ(run.last, EndBoxAsking(L"No drawing was converted (0 of 2).\r\n\r\nThe PDF of \"" + drawings[0] +
                                    L"\" did not appear at \"" + PdfBeside(drawings[0]) +
                                    L"\" within 5 seconds. The run stopped there, so that no PDF is saved under "
                                    L"another drawing's name: the drawings after it were not converted."));
  // The next drawing was never handed over, so the late PDF comes under its own name.
  EXPECT_EQ(HandedOutputFile(), PdfBeside(drawings[0]));
  EXPECT_TRUE(WaitUntil([&] { return Exists(PdfBeside(drawings[0])); }, milliseconds(20000)));
  EXPECT_TRUE(IsOnePagePdf(PdfBeside(drawings[0])));
  EXPECT_FALSE(Exists(PdfBeside(drawings[1])));
  EXPECT_EQ(PrintJobs(), 1u);
}

// Over a minute long: run by `make long` (scripts/run-long-tests), not by `make test`.
TEST_F(RunSafetyTest, DISABLED_APrinterSlowerThanAMinuteIsWaitedForAndEachPdfHasItsOwnName) {
  SetString(kPrinterSwitchesKey, L"DelaySeconds", L"62");
  ASSERT_NE(Start(), nullptr);
  const Paths drawings = DropDrawings({L"slow.dwg", L"after.dwg"});
  // The first PDF comes after 62 s; the second drawing's path waits for it.
  Click(ControlId::kPushButton2);
  ASSERT_TRUE(WaitUntil([&] { return Exists(PdfBeside(drawings[0])); }, milliseconds(90000)));
  SetString(kPrinterSwitchesKey, L"DelaySeconds", L"0");
  const RunOutcome run = AnswerBoxes();
  ExpectPdfsBeside(run, drawings);
}

}  // namespace
}  // namespace pellacore::testing
