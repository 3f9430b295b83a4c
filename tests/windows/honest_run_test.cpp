// The job list's Result column of the real program, read through its window
// from outside: during a run each entry waits until its drawing ends, then
// says what became of it, and the error reports still come as boxes.

#include "tests/windows/end_to_end_fixture.h"

namespace pellacore::testing {
namespace {

using namespace end_to_end;

class HonestRunTest : public EndToEndTest {};

TEST_F(HonestRunTest, TheResultColumnSaysWhatBecameOfEachDrawingAsItEnds) {
  SetString(kSettingsKey, L"DrawingTimeLimit", L"3");
  ASSERT_NE(Start(), nullptr);
  const Paths drawings{Drawing(scratch, L"converts.dwg", 0), Drawing(scratch, L"fails.dwg", 1),
                       Drawing(scratch, L"hangs.dwg", 2)};
  {
    win32::OleSession ole;
    ASSERT_NE(harness::DropOnto(Control(ControlId::kListView1), drawings), static_cast<DWORD>(DROPEFFECT_NONE));
  }
  ASSERT_TRUE(WaitForEntries(drawings.size()));
  ASSERT_TRUE(ChooseBesideTheDrawings());
  EXPECT_EQ(Results(), (Lines{L"", L"", L""}));
  // Before the run no column reaches past the list's right edge.
  EXPECT_FALSE(::GetWindowLongPtrW(Control(ControlId::kListView1), GWL_STYLE) & WS_HSCROLL);

  // AutoCAD dies in Select on the second drawing.
  StandInAutoCad::Set(L"CrashIn", L"Select");
  StandInAutoCad::Set(L"OnlyFor", drawings[1]);
  Click(ControlId::kPushButton2);
  HWND report = harness::WaitForTopWindow(program->id(), L"#32770", kErrorTitle, kRunBound);
  ASSERT_NE(report, nullptr) << "no report for the drawing AutoCAD died on";
  // The run waits on the box: the first drawing is done, the others wait.
  const std::wstring converted = L"converted: " + PdfBeside(drawings[0]);
  EXPECT_EQ(Results(), (Lines{converted, L"waiting", L"waiting"}));
  // The third drawing's AutoCAD hangs in Open (it never gets to Select).
  StandInAutoCad::Set(L"HangIn", L"Open");
  StandInAutoCad::Set(L"OnlyFor", drawings[2]);
  PressButtonOf(report, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(report); }));

  const RunOutcome run = AnswerBoxes();
  EXPECT_EQ(run.reports.size(), 1u);  // the hang's
  EXPECT_EQ(run.last.rfind(L"Done.", 0), 0u) << run.last;
  const Lines results = Results();
  ASSERT_EQ(results.size(), 3u);
  EXPECT_EQ(results[0], converted);
  EXPECT_TRUE(IsOnePagePdf(PdfBeside(drawings[0])));
  EXPECT_EQ(results[1].rfind(L"failed at step 122: AutoCAD ended while working on \"" + drawings[1] + L"\"", 0), 0u)
      << results[1];
  EXPECT_EQ(results[2].rfind(L"timed out at step 116: AutoCAD did not finish \"" + drawings[2] +
                                 L"\" within 3 seconds. That AutoCAD was ended",
                             0),
            0u)
      << results[2];
  EXPECT_FALSE(Exists(PdfBeside(drawings[1])));
  EXPECT_FALSE(Exists(PdfBeside(drawings[2])));

  // An entry added after the run shows nothing until the next run.
  {
    win32::OleSession ole;
    const Paths more{Drawing(scratch, L"later.dwg", 0)};
    ASSERT_NE(harness::DropOnto(Control(ControlId::kListView1), more), static_cast<DWORD>(DROPEFFECT_NONE));
  }
  ASSERT_TRUE(WaitForEntries(4));
  EXPECT_EQ(Results().back(), L"");
  EXPECT_EQ(Results().front(), converted);
}

// Through AutoCAD's plotter, with no PDF printer at all: a plot AutoCAD
// answers false is that drawing's one failure, in its result and in the run
// report, and the run goes on; a drawing with two sheets gives two files,
// both listed.
TEST_F(HonestRunTest, APlotThatFailsIsItsDrawingsOneFailureAndTheRunGoesOn) {
  SetString(kSettingsKey, L"PdfRoute", L"Plotter");
  SetString(kSettingsKey, L"Unattended", L"True");
  HiddenPdfPrinter hidden;
  ASSERT_NE(Start(), nullptr);
  const Paths drawings{Drawing(scratch, L"fails.dwg", 0), Drawing(scratch, L"sheets.dwg", 1)};
  {
    win32::OleSession ole;
    ASSERT_NE(harness::DropOnto(Control(ControlId::kListView1), drawings), static_cast<DWORD>(DROPEFFECT_NONE));
  }
  ASSERT_TRUE(WaitForEntries(drawings.size()));
  ASSERT_TRUE(ChooseBesideTheDrawings());
  StandInAutoCad::Set(L"FailPlot", L"false");
  StandInAutoCad::Set(L"OnlyFor", drawings[0]);

  const RunOutcome run = Run();
  EXPECT_TRUE(run.reports.empty());  // unattended: kept as the drawing's result
  EXPECT_EQ(run.last, EndBoxAsking(L"Done.\r\n\r\n1 of 2 drawings were converted."));
  const std::wstring stem = StemOf(drawings[1]);
  const Lines sheets{stem + L" - Detail.pdf", stem + L" - Parts List.pdf"};
  const Lines results = Results();
  ASSERT_EQ(results.size(), 2u);
  EXPECT_EQ(results[0].rfind(L"failed at step 132: AutoCAD did not plot layout \"A3 Sheet\"", 0), 0u) << results[0];
  EXPECT_EQ(results[1], L"converted: " + sheets[0] + L"; " + sheets[1]);
  EXPECT_FALSE(Exists(PdfBeside(drawings[0])));
  for (const std::wstring& sheet : sheets) EXPECT_TRUE(IsOnePagePdf(sheet)) << ::testing::PrintToString(sheet);

  std::ifstream in(std::filesystem::path(StoredSetting(L"LastReport")), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::wstring text(bytes.size(), L'\0');
  text.resize(static_cast<std::size_t>(::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                             text.data(), static_cast<int>(text.size()))));
  EXPECT_NE(text.find(drawings[0] + L",,failed,132,"), std::wstring::npos) << bytes;
  EXPECT_NE(text.find(drawings[1] + L"," + sheets[0] + L"|" + sheets[1] + L",converted,"), std::wstring::npos)
      << bytes;
}

}  // namespace
}  // namespace pellacore::testing
