// Whole conversion runs of the real program, driven through its window from
// outside, against the stand-in AutoCAD and the stand-in PDF printer: the
// list filled as a user fills it, the output chosen, Start clicked, and the
// PDFs, the bitmaps, the printer's key and the AutoCAD calls read back.

#include "tests/windows/end_to_end_fixture.h"

namespace pellacore::testing {
namespace {

using namespace end_to_end;

TEST_F(EndToEndTest, AFirstStartOffersTheDesktopAsTheOneFolderForResults) {
  wchar_t desktop[MAX_PATH] = {};
  ASSERT_EQ(::SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, desktop), S_OK);
  ASSERT_NE(Start(), nullptr);
  EXPECT_EQ(harness::WaitForTopWindow(program->id(), L"#32770", L"", milliseconds(500)), nullptr)
      << "a message at start with both partners present";
  EXPECT_EQ(TextOf(Control(ControlId::kText1)), std::wstring(desktop) + L"\\");
  EXPECT_EQ(StoredSetting(L"Location"), std::wstring(desktop) + L"\\");
  EXPECT_TRUE(Checked(ControlId::kOption1));
  EXPECT_FALSE(Checked(ControlId::kOption2));
  EXPECT_TRUE(::IsWindowEnabled(Control(ControlId::kText1)));
}

TEST_F(EndToEndTest, TheSamplesBecomePdfsBesideTheirDrawings) {
  ASSERT_NE(Start(), nullptr);
  const Paths drawings = LoadSamples();
  ASSERT_EQ(drawings.size(), kSampleNames.size());
  ASSERT_TRUE(ChooseBesideTheDrawings());

  ExpectPdfsBeside(Run(), drawings);
  for (const std::wstring& drawing : drawings) {
    EXPECT_EQ(FolderOf(drawing), samples);
    // The stand-in's bitmaps are wider than tall.
    EXPECT_TRUE(IsLandscapePdf(PdfBeside(drawing))) << PdfBeside(drawing);
  }
  EXPECT_EQ(NamesIn(samples, L"*.bmp"), Paths{});
  EXPECT_EQ(NamesIn(samples, L"*.pdf"), (Paths{L"flange.pdf", L"floor-plan.pdf", L"title-block.pdf"}));
  EXPECT_EQ(AutoCadCalls(), ExportCallsFor(drawings));
  EXPECT_EQ(HandedOutputFile(), PdfBeside(drawings.back()));
}

TEST_F(EndToEndTest, TheTypedFolderTakesThePdfsWithOrWithoutItsBackslash) {
  ScratchFolder withBackslash;
  ScratchFolder without;
  std::wstring bare = without.path();
  bare.pop_back();
  ASSERT_NE(Start(), nullptr);
  const Paths drawings = LoadSamples();
  ASSERT_TRUE(Checked(ControlId::kOption1));

  for (const std::wstring& typed : {withBackslash.path(), bare}) {
    SCOPED_TRACE(typed);
    const std::wstring folder = typed.ends_with(L'\\') ? typed : typed + L"\\";
    Type(typed);
    ASSERT_TRUE(WaitUntil([&] { return StoredSetting(L"Location") == typed; }));
    const RunOutcome run = Run();
    EXPECT_EQ(run.last, L"Done.");
    EXPECT_EQ(run.reports, Lines{});
    for (const std::wstring& drawing : drawings) {
      EXPECT_TRUE(IsOnePagePdf(PdfIn(folder, drawing))) << PdfIn(folder, drawing);
    }
    EXPECT_EQ(NamesIn(folder, L"*").size(), drawings.size()) << "nothing but the PDFs";
    EXPECT_EQ(HandedOutputFile(), PdfIn(folder, drawings.back()));
  }
  EXPECT_EQ(NamesIn(samples, L"*.pdf"), Paths{});
  EXPECT_EQ(NamesIn(samples, L"*.bmp"), Paths{});
}

TEST_F(EndToEndTest, AFolderThatDoesNotExistIsRefusedBeforeAnyExport) {
  const std::wstring missing = scratch.path() + L"No Such Folder\\";
  ASSERT_NE(Start(), nullptr);
  LoadSamples();
  Type(missing);
  ASSERT_TRUE(WaitUntil([&] { return StoredSetting(L"Location") == missing; }));
  const RunOutcome run = Run();
  EXPECT_EQ(run.last, kNoFolder);
  EXPECT_EQ(run.reports, Lines{});
  EXPECT_FALSE(Exists(missing));
  EXPECT_EQ(NamesIn(samples, L"*.pdf"), Paths{});
  EXPECT_EQ(AutoCadCalls(), Lines{});
  EXPECT_EQ(HandedOutputFile(), L"<absent>");
}

TEST_F(EndToEndTest, ScannedAndDroppedTreesBecomePdfsBesideEachDrawing) {
  ScratchFolder scanned;
  scanned.MakeFolder(L"Sub");
  scanned.MakeFolder(L"Sub\\Deeper");
  const Paths fromScan{Drawing(scanned, L"a.dwg", 0), Drawing(scanned, L"Sub\\b.dwg", 1),
                       Drawing(scanned, L"Sub\\Deeper\\c.dwg", 2)};
  scanned.MakeFile(L"Sub\\notes.txt");
  ScratchFolder dropped;
  dropped.MakeFolder(L"More");
  const Paths fromDrop{Drawing(dropped, L"d.dwg", 1), Drawing(dropped, L"More\\e.dwg", 2)};
  std::wstring scannedFolder = scanned.path();
  scannedFolder.pop_back();
  std::wstring droppedFolder = dropped.path();
  droppedFolder.pop_back();
  ASSERT_NE(Start(), nullptr);

  // The scan: the extension asked first, then the folder.
  Click(ControlId::kPushButton3);
  HWND question = harness::WaitForTopWindow(program->id(), L"#32770", kTitle);
  ASSERT_NE(question, nullptr) << "no input box";
  harness::SetText(::GetDlgItem(question, kInputAnswer), L"dwg");
  PressButtonOf(question, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(question); }));
  HWND picker = harness::WaitForTopWindow(program->id(), L"#32770", L"");
  ASSERT_NE(picker, nullptr) << "no folder picker";
  ASSERT_TRUE(harness::RemoteControls(program->id()).ChooseInFolderPicker(picker, scannedFolder))
      << "the picker did not take the folder";
  PressButtonOf(picker, IDOK);
  ASSERT_TRUE(WaitForEntries(fromScan.size()));

  win32::OleSession ole;
  EXPECT_NE(harness::DropOnto(Control(ControlId::kListView1), {droppedFolder}), static_cast<DWORD>(DROPEFFECT_NONE));
  ASSERT_TRUE(WaitForEntries(fromScan.size() + fromDrop.size()));
  // The scan's drawings first, then the drop's, each group in the traversal's order.
  const Paths drawings = Entries();
  auto sorted = [](Paths paths) {
    std::sort(paths.begin(), paths.end());
    return paths;
  };
  const auto split = drawings.begin() + static_cast<std::ptrdiff_t>(fromScan.size());
  ASSERT_EQ(sorted(Paths(drawings.begin(), split)), sorted(fromScan));
  ASSERT_EQ(sorted(Paths(split, drawings.end())), sorted(fromDrop));

  ASSERT_TRUE(ChooseBesideTheDrawings());
  ExpectPdfsBeside(Run(), drawings);
  for (const std::wstring& drawing : drawings) EXPECT_FALSE(Exists(StemOf(drawing) + L".bmp")) << drawing;
  EXPECT_FALSE(Exists(scanned.path() + L"Sub\\notes.pdf"));
  EXPECT_EQ(AutoCadCalls(), ExportCallsFor(drawings));
}

TEST_F(EndToEndTest, ADrawingThatCannotBeOpenedIsReportedAndTheRunGoesOn) {
  const std::wstring broken = Drawing(scratch, L"broken.dwg", 0);
  const std::wstring fine = Drawing(scratch, L"fine.dwg", 1);
  StandInAutoCad::Set(L"FailOpen", broken);
  ASSERT_NE(Start(), nullptr);
  {
    win32::OleSession ole;
    EXPECT_NE(harness::DropOnto(Control(ControlId::kListView1), {broken, fine}),
              static_cast<DWORD>(DROPEFFECT_NONE));
  }
  ASSERT_TRUE(WaitForEntries(2));
  ASSERT_EQ(Entries(), (Paths{broken, fine}));
  ASSERT_TRUE(ChooseBesideTheDrawings());

  const RunOutcome run = Run();
  EXPECT_EQ(run.last, EndBoxAsking(L"Done.\r\n\r\n1 of 2 drawings were converted."));
  EXPECT_EQ(NamesIn(elsewhere, L"*"), Paths{});
  // Open fails; every later step that needs the document fails with it.
  const std::vector<int> steps{116, 120, 122, 124, 126};
  ASSERT_EQ(run.reports.size(), steps.size());
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const std::wstring where = std::wstring(L"\r\n") + kConvert + L"at line " + std::to_wstring(steps[i]) + L"\r\r";
    EXPECT_NE(run.reports[i].find(where), std::wstring::npos) << run.reports[i];
    EXPECT_TRUE(run.reports[i].ends_with(L"Please email screenshot of this message to support@pellacore.com"));
  }
  EXPECT_NE(run.reports[0].find(broken), std::wstring::npos) << "the description names the drawing";
  EXPECT_NE(run.reports[0].find(L"FailOpen"), std::wstring::npos) << "the server's own description";

  EXPECT_FALSE(Exists(PdfBeside(broken)));
  EXPECT_FALSE(Exists(StemOf(broken) + L".bmp"));
  EXPECT_TRUE(IsOnePagePdf(PdfBeside(fine)));
  EXPECT_FALSE(Exists(StemOf(fine) + L".bmp"));
  // The failed drawing's instance is still shown and quit, then the next one exports.
  Lines calls = ExportCallTable(broken, StemOf(broken));
  calls.erase(calls.begin() + 6, calls.end() - 1);
  const Lines next = ExportCallTable(fine, StemOf(fine));
  calls.insert(calls.end(), next.begin(), next.end());
  EXPECT_EQ(AutoCadCalls(), calls);
  EXPECT_EQ(HandedOutputFile(), PdfBeside(fine));
}

TEST_F(EndToEndTest, ALatePrinterStillSavesEachDrawingUnderItsOwnName) {
  SetString(kPrinterSwitchesKey, L"DelaySeconds", L"3");
  ASSERT_NE(Start(), nullptr);
  const Paths drawings = LoadSamples();
  ASSERT_TRUE(ChooseBesideTheDrawings());

  ExpectPdfsBeside(Run(), drawings);
  EXPECT_EQ(NamesIn(samples, L"*.bmp"), Paths{});
  // Each job was late and wrote once, at its own drawing's path, in list order.
  EXPECT_EQ(PrinterLogLines("taken late").size(), drawings.size());
  const Lines wrote = PrinterLogLines("wrote '");
  ASSERT_EQ(wrote.size(), drawings.size());
  for (std::size_t i = 0; i < drawings.size(); ++i) {
    EXPECT_NE(wrote[i].find(L"wrote '" + PdfBeside(drawings[i]) + L"'"), std::wstring::npos) << wrote[i];
  }
}

TEST_F(EndToEndTest, TheChosenOptionAndFolderSurviveARestart) {
  const std::wstring folder = scratch.MakeFolder(L"Results") + L"\\";
  ASSERT_NE(Start(), nullptr);
  Type(folder);
  ASSERT_TRUE(Select(ControlId::kOption2));
  EXPECT_FALSE(Checked(ControlId::kOption1));
  ASSERT_TRUE(Close()) << "the program did not end on WM_CLOSE";

  ASSERT_NE(Start(), nullptr);
  EXPECT_EQ(TextOf(Control(ControlId::kText1)), folder);
  EXPECT_TRUE(Checked(ControlId::kOption2));
  EXPECT_FALSE(Checked(ControlId::kOption1));
  EXPECT_FALSE(::IsWindowEnabled(Control(ControlId::kText1)));

  // And back: the first option and another folder are kept as well.
  const std::wstring other = scratch.MakeFolder(L"Other");
  ASSERT_TRUE(Select(ControlId::kOption1));
  Type(other);
  ASSERT_TRUE(Close());
  ASSERT_NE(Start(), nullptr);
  EXPECT_EQ(TextOf(Control(ControlId::kText1)), other);
  EXPECT_TRUE(Checked(ControlId::kOption1));
  EXPECT_FALSE(Checked(ControlId::kOption2));
  EXPECT_TRUE(::IsWindowEnabled(Control(ControlId::kText1)));
}

}  // namespace
}  // namespace pellacore::testing
