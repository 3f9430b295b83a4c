// The conversion run as the Start button runs it, against doubles of AutoCAD,
// the printers, the printer's key and the file system.

#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "convert/prerequisite_checks.h"
#include "tests/app/form1_fixture.h"

namespace pellacore::testing {
namespace {

using Lines = std::vector<std::wstring>;

constexpr wchar_t kRun[] = L"in Corvanta2021/08/31.Form1.PushButton2_Click ";
const std::wstring kKey = L"Software\\Kelvandor PDF Writer";
const std::wstring kNoAutoCad =
    L"A valid version of AutoCAD was not found on this computer. You need to have it installed to "
    L"use this software.\r\n\r\nNote: You must install a version of AutoCAD that supports VBA. VBA "
    L"is not supported in AutoCAD LT for example.";
// The first run's report, with the fixture's local folder and start time.
const std::wstring kReport = kLocalAppData + LR"(\Pellacore\Reports\Run 2026-12-08 20-15-30.csv)";

// The end box of a run that did not convert everything, its report written.
std::wstring EndBoxAsking(const std::wstring& head, const std::wstring& report = kReport) {
  return head + L"\r\n\r\nThe run report is in:\r\n" + report + L"\r\n\r\nOpen it now?";
}

class ConversionTest : public Form1Test {
 protected:
  ConversionTest() {
    fs.AddFolder(kDesktop);
    fs.AddFolder(LR"(C:\Out)");
    fs.AddFolder(LR"(D:\Dwg)");
    fs.AddFolder(kLocalAppData);
    // The printer takes each job at once: the PDF appears at the key's path.
    printing.onEndDoc = [this] {
      const std::wstring path = OutputFile();
      pdfsWritten.push_back(path);
      fs.AddFile(path);
    };
  }

  // Starts the program with the results going into `folder`, or beside each
  // drawing when `folder` is empty.
  void Start(const std::wstring& folder = LR"(C:\Out\)") {
    if (folder.empty()) {
      settings.Write(L"Option1", L"False");
      settings.Write(L"Option2", L"True");
    } else {
      settings.Write(L"Location", folder);
    }
    form.Form_Load();
    boxes.shown.clear();
  }
  void AddDrawing(const std::wstring& path) {
    fs.AddFile(path);
    form.jobList().Add(path);
  }
  std::wstring OutputFile() {
    const std::string stored = registry.Stored(kKey, L"OutputFile");
    return std::wstring(stored.begin(), stored.end());
  }
  std::optional<std::wstring> LastReport() { return settings.Read(L"LastReport"); }
  Lines Messages() const {
    Lines texts;
    for (const ShownMessage& box : boxes.shown) {
      if (box.title != kErrorReportTitle) texts.push_back(box.text);
    }
    return texts;
  }

  Lines pdfsWritten;
};

// A program of its own for each case of a table.
struct FreshRun : ConversionTest {
  void TestBody() override {}
  using ConversionTest::AddDrawing;
  using ConversionTest::LastReport;
  using ConversionTest::Messages;
  using ConversionTest::pdfsWritten;
  using ConversionTest::Start;
  using Form1Test::autocad;
  using Form1Test::boxes;
  using Form1Test::clock;
  using Form1Test::pump;
  using Form1Test::settings;
  using Form1Test::form;
  using Form1Test::fs;
  using Form1Test::printing;
  using Form1Test::Reports;
  using Form1Test::window;
};

TEST_F(ConversionTest, TheRefusalsComeInTheirOrderAndLeaveTheRunFree) {
  checks.autoCad = false;
  Start();
  form.PushButton2_Click();  // an empty list, yet AutoCAD is told first
  EXPECT_EQ(Messages(), Lines{kNoAutoCad});
  EXPECT_EQ(boxes.shown[0].title, L"Pellacore");
  EXPECT_TRUE(autocad.log.empty());
  EXPECT_FALSE(form.ConversionBusy());
  EXPECT_EQ(LastReport(), std::nullopt);
}

TEST_F(ConversionTest, AnEmptyListAndAMissingFolderAreRefused) {
  Start(LR"(C:\Missing\)");
  form.PushButton2_Click();
  AddDrawing(LR"(D:\Dwg\Plan.dwg)");
  form.PushButton2_Click();
  EXPECT_EQ(Messages(), (Lines{L"No files added.", L"Folder does not exist. Please select another folder."}));
  EXPECT_TRUE(printing.calls.empty());
  EXPECT_TRUE(registry.calls.empty());
  EXPECT_FALSE(form.ConversionBusy());
  // A refused run has no report.
  EXPECT_TRUE(fs.writeCalls.empty());
  EXPECT_EQ(LastReport(), std::nullopt);

  // Beside the originals, the folder text does not matter.
  form.Option2_Selected();
  boxes.shown.clear();
  form.PushButton2_Click();
  EXPECT_EQ(Messages(), Lines{L"Done."});
  EXPECT_EQ(pdfsWritten, Lines{LR"(D:\Dwg\Plan.pdf)"});
}

TEST_F(ConversionTest, EachDrawingIsHandedOverExportedPrintedAndItsBitmapDeleted) {
  Start(LR"(C:\Out)");
  AddDrawing(LR"(D:\Dwg\a.dwg)");
  AddDrawing(LR"(D:\Dwg\b.dwg)");
  AddDrawing(LR"(D:\Dwg\c.dwg)");
  form.PushButton2_Click();

  EXPECT_EQ(pdfsWritten, (Lines{LR"(C:\Out\a.pdf)", LR"(C:\Out\b.pdf)", LR"(C:\Out\c.pdf)"}));
  EXPECT_EQ(printing.pagesPrinted, Lines(3, L"Kelvandor PDF Writer"));
  EXPECT_EQ(printing.calls[0], L"names");
  EXPECT_EQ(printing.calls[1], L"current Kelvandor PDF Writer");
  EXPECT_EQ(Lines(printing.calls.begin() + 2, printing.calls.begin() + 6),
            (Lines{LR"(load D:\Dwg\a.bmp)", L"open landscape", LR"(paint D:\Dwg\a.bmp)", L"enddoc"}));
  for (const wchar_t* bitmap : {LR"(D:\Dwg\a.bmp)", LR"(D:\Dwg\b.bmp)", LR"(D:\Dwg\c.bmp)"}) {
    EXPECT_FALSE(fs.Has(bitmap)) << bitmap;
  }
  // One opening of the key per drawing, both values written.
  EXPECT_EQ(Lines(registry.calls.begin(), registry.calls.begin() + 4),
            (Lines{L"create " + kKey + L" 63", LR"(set OutputFile C:\Out\a.pdf 12)",
                   L"set BypassSaveAs 1 1", L"close"}));
  EXPECT_EQ(OutputFile(), LR"(C:\Out\c.pdf)");

  ASSERT_EQ(window.progressValues.size(), 4u);
  EXPECT_DOUBLE_EQ(window.progressValues[0], 100.0 / 3);
  EXPECT_DOUBLE_EQ(window.progressValues[1], 200.0 / 3);
  EXPECT_DOUBLE_EQ(window.progressValues[2], 100);
  EXPECT_DOUBLE_EQ(window.progressValues[3], 0);
  EXPECT_EQ(window.progressTexts, (Lines{L"Processing: a.dwg", L"Processing: b.dwg",
                                         L"Processing: c.dwg", L"Progress Bar"}));
  EXPECT_EQ(form.MousePointer(), pointer_code::kDefault);
  EXPECT_EQ(Messages(), Lines{L"Done."});
  EXPECT_TRUE(Reports().empty());
  EXPECT_EQ(autocad.quits, 3);
}

TEST_F(ConversionTest, EachPageIsTurnedThePicturesWayAndThePictureKeepsItsProportions) {
  Start(LR"(C:\Out)");
  AddDrawing(LR"(D:\Dwg\wide.dwg)");
  AddDrawing(LR"(D:\Dwg\tall.dwg)");
  printing.pictureSizes[LR"(D:\Dwg\tall.bmp)"] = {850, 1100};
  form.PushButton2_Click();

  Lines opened;
  for (const std::wstring& call : printing.calls) {
    if (call.rfind(L"open ", 0) == 0) opened.push_back(call);
  }
  EXPECT_EQ(opened, (Lines{L"open landscape", L"open portrait"}));
  // Letter's printable area, turned for the wide one: the full height, centred across.
  EXPECT_EQ(printing.places, (std::vector<PageRect>{{22, 0, 3106, 2400}, {0, 22, 2400, 3106}}));
  EXPECT_EQ(printing.pagesPrinted.size(), 2u);
}

TEST_F(ConversionTest, OutputPathsFollowTheFolderTextOrTheDrawingsFolder) {
  struct Case {
    std::wstring folder, source, pdf;
  };
  const Case cases[] = {
      {LR"(C:\Out)", LR"(D:\Dwg\Plan.dwg)", LR"(C:\Out\Plan.pdf)"},
      {LR"(C:\Out\)", LR"(D:\Dwg\Plan.dwg)", LR"(C:\Out\Plan.pdf)"},
      {LR"(\\server\share\)", LR"(D:\Dwg\Plan.dwg)", LR"(\\server\share\Plan.pdf)"},
      {L"", LR"(D:\Dwg\Plan.dwg)", LR"(D:\Dwg\Plan.pdf)"},
      {L"", LR"(D:\My.Projects\Plan.rev.dwg)", LR"(D:\My.Projects\Plan.rev.pdf)"},
      {L"", LR"(D:\Dwg\A.DWG)", LR"(D:\Dwg\A.pdf)"},
      {L"", LR"(D:\Dwg\NoDot)", LR"(D:\Dwg\NoDot.pdf)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder + L" " + c.source);
    FreshRun run;
    run.fs.AddFolder(LR"(\\server\share)");
    run.fs.AddFolder(LR"(D:\My.Projects)");
    run.Start(c.folder);
    run.AddDrawing(c.source);
    run.form.PushButton2_Click();
    EXPECT_EQ(run.pdfsWritten, Lines{c.pdf});
    EXPECT_TRUE(run.Reports().empty());
  }
}

TEST_F(ConversionTest, TheBitmapIsExportedBesideTheDrawingUnderItsStem) {
  fs.AddFolder(LR"(D:\My.Projects)");
  Start(L"");
  AddDrawing(LR"(D:\My.Projects\Plan.rev.dwg)");
  AddDrawing(LR"(D:\Dwg\A.DWG)");
  AddDrawing(LR"(D:\Dwg\NoDot)");
  form.PushButton2_Click();
  Lines exports;
  for (const std::wstring& line : autocad.log) {
    if (line.starts_with(L"Document.Export")) exports.push_back(line);
  }
  const std::wstring tail = L", VT_BSTR BMP, VT_DISPATCH|VT_BYREF SelectionSet)";
  EXPECT_EQ(exports, (Lines{LR"(Document.Export call (VT_BSTR|VT_BYREF D:\My.Projects\Plan.rev)" + tail,
                            LR"(Document.Export call (VT_BSTR|VT_BYREF D:\Dwg\A)" + tail,
                            LR"(Document.Export call (VT_BSTR|VT_BYREF D:\Dwg\NoDot)" + tail}));
}

TEST_F(ConversionTest, NeitherOptionSelectedPutsThePdfBesideTheDrawing) {
  settings.Write(L"Option1", L"False");
  settings.Write(L"Option2", L"False");
  form.Form_Load();
  boxes.shown.clear();
  fs.AddFolder(LR"(C:\Users\User\Desktop)");
  AddDrawing(LR"(D:\Dwg\Plan.dwg)");
  form.PushButton2_Click();
  EXPECT_EQ(pdfsWritten, Lines{LR"(D:\Dwg\Plan.pdf)"});
}

TEST_F(ConversionTest, AUsersBitmapBesideTheDrawingIsNeverPrintedNorDeleted) {
  Start();
  AddDrawing(LR"(D:\Dwg\Plan.dwg)");
  fs.AddFile(LR"(D:\Dwg\Plan.bmp)");  // the user's own picture
  form.PushButton2_Click();
  EXPECT_TRUE(fs.Has(LR"(D:\Dwg\Plan.bmp)"));
  EXPECT_EQ(Lines(printing.calls.begin() + 2, printing.calls.end()),
            (Lines{LR"(load D:\Dwg\Plan~1.bmp)", L"open landscape", LR"(paint D:\Dwg\Plan~1.bmp)", L"enddoc"}));
  EXPECT_FALSE(fs.Has(LR"(D:\Dwg\Plan~1.bmp)"));

  // An export that makes no file makes no PDF, even with the user's file there.
  autocad.exportWithoutFile = true;
  printing.calls.clear();
  boxes.shown.clear();
  form.PushButton2_Click();
  EXPECT_EQ(printing.calls, (Lines{L"names", L"current Kelvandor PDF Writer"}));
  EXPECT_TRUE(fs.Has(LR"(D:\Dwg\Plan.bmp)"));
  EXPECT_EQ(Messages(), Lines{EndBoxAsking(L"No drawing was converted (0 of 1).",
                                            kLocalAppData + LR"(\Pellacore\Reports\Run 2026-12-08 20-15-30 (2).csv)")});
  EXPECT_DOUBLE_EQ(window.progressValues.back(), 0);
}

TEST_F(ConversionTest, TheNextPathWaitsForAPrinterThatTakesItsJobLate) {
  Start();
  AddDrawing(LR"(D:\Dwg\a.dwg)");
  AddDrawing(LR"(D:\Dwg\b.dwg)");
  // The printer reads the key only at the third wait after each job.
  int waitsLeft = -1;
  printing.onEndDoc = [&] { waitsLeft = 3; };
  clock.onWait = [&] {
    if (waitsLeft > 0 && --waitsLeft == 0) {
      pdfsWritten.push_back(OutputFile());
      fs.AddFile(OutputFile());
    }
  };
  form.PushButton2_Click();
  EXPECT_EQ(pdfsWritten, (Lines{LR"(C:\Out\a.pdf)", LR"(C:\Out\b.pdf)"}));
  EXPECT_EQ(clock.waits, 6);
  EXPECT_GE(pump.yields, 6);  // the window lives while it waits
}

TEST_F(ConversionTest, AnOldPdfAtThePathDoesNotEndTheWait) {
  Start();
  AddDrawing(LR"(D:\Dwg\a.dwg)");
  fs.AddFile(LR"(C:\Out\a.pdf)");  // from an earlier run
  int waitsLeft = -1;
  printing.onEndDoc = [&] { waitsLeft = 2; };
  clock.onWait = [&] {
    if (waitsLeft > 0 && --waitsLeft == 0) fs.AddFile(OutputFile());
  };
  form.PushButton2_Click();
  EXPECT_EQ(clock.waits, 2);
}

TEST_F(ConversionTest, APrinterSlowerThanAMinuteIsWaitedForWithinTheTimeLimit) {
  Start();
  AddDrawing(LR"(D:\Dwg\a.dwg)");
  AddDrawing(LR"(D:\Dwg\b.dwg)");
  // Each PDF comes 90 s after its job; the limit is the default 300 s.
  // The printer reads the key when it saves, as it is then: a path handed
  // over too early names the late job's PDF wrongly.
  std::deque<std::int64_t> jobs;
  printing.onEndDoc = [&] { jobs.push_back(clock.now); };
  clock.onWait = [&] {
    if (jobs.empty() || clock.now - jobs.front() < 90'000) return;
    jobs.pop_front();
    pdfsWritten.push_back(OutputFile());
    fs.AddFile(OutputFile());
  };
  form.PushButton2_Click();
  EXPECT_EQ(pdfsWritten, (Lines{LR"(C:\Out\a.pdf)", LR"(C:\Out\b.pdf)"}));
  EXPECT_EQ(Messages(), Lines{L"Done."});
  EXPECT_EQ(form.LastRun()[1].result, DrawingResult::kConverted);
}

TEST_F(ConversionTest, APdfThatDoesNotComeWithinTheTimeLimitStopsTheRunThere) {
  settings.Write(L"DrawingTimeLimit", L"45");
  Start();
  AddDrawing(LR"(D:\Dwg\a.dwg)");
  AddDrawing(LR"(D:\Dwg\b.dwg)");
  AddDrawing(LR"(D:\Dwg\c.dwg)");
  printing.onEndDoc = nullptr;
  std::int64_t jobAt = 0;
  printing.onEndDoc = [&] { jobAt = clock.now; };
  form.PushButton2_Click();
  EXPECT_EQ(clock.now - jobAt, 45'000);
  // b's path was never handed over: a late PDF of a can only be a's.
  EXPECT_EQ(OutputFile(), LR"(C:\Out\a.pdf)");
  EXPECT_EQ(printing.pagesPrinted.size(), 1u);
  EXPECT_EQ(Messages(), Lines{EndBoxAsking(L"No drawing was converted (0 of 3).\r\n\r\nThe PDF of \"D:\\Dwg\\a.dwg\" "
                                            L"did not appear at \"C:\\Out\\a.pdf\" within 45 seconds. The run stopped "
                                            L"there, so that no PDF is saved under another drawing's name: the "
                                            L"drawings after it were not converted.")});
  const std::vector<DrawingOutcome>& run = form.LastRun();
  ASSERT_EQ(run.size(), 3u);
  EXPECT_EQ(run[0].result, DrawingResult::kFailed);
  EXPECT_EQ(run[0].message, LR"(The PDF did not appear at "C:\Out\a.pdf".)");
  for (std::size_t i : {1u, 2u}) {
    EXPECT_EQ(run[i].result, DrawingResult::kSkipped);
    EXPECT_EQ(run[i].message, L"The run stopped at an earlier drawing whose PDF did not appear.");
  }
  EXPECT_FALSE(form.ConversionBusy());
}

TEST_F(ConversionTest, WithoutThePdfPrinterTheRunIsRefusedBeforeAnyDrawing) {
  printing.printers = {L"Office Laser", L"kelvandor pdf writer"};
  Start();
  AddDrawing(LR"(D:\Dwg\a.dwg)");
  form.PushButton2_Click();
  // Told how to install it, as at start-up; nothing goes on paper.
  EXPECT_EQ(Messages(), Lines{PdfPrinterMissingText()});
  EXPECT_NE(Messages()[0].find(L"Kelvandor PDF Writer is not installed."), std::wstring::npos);
  EXPECT_TRUE(printing.pagesPrinted.empty());
  EXPECT_TRUE(autocad.log.empty());
  EXPECT_TRUE(registry.calls.empty());
  EXPECT_EQ(printing.current, L"Office Laser");
  EXPECT_FALSE(form.ConversionBusy());
  EXPECT_EQ(LastReport(), std::nullopt);
  EXPECT_EQ(window.pointer, pointer_code::kDefault);
}

TEST_F(ConversionTest, AStartDuringARunDoesNothingAndOneAfterItRunsAgain) {
  Start();
  AddDrawing(LR"(D:\Dwg\a.dwg)");
  pump.duringYield.push_back([&] { form.PushButton2_Click(); });
  form.PushButton2_Click();
  EXPECT_EQ(printing.pagesPrinted.size(), 1u);
  EXPECT_EQ(Messages(), Lines{L"Done."});
  form.PushButton2_Click();
  EXPECT_EQ(printing.pagesPrinted.size(), 2u);
}

TEST_F(ConversionTest, AnOptionChangedDuringTheRunAppliesToTheDrawingsThatFollow) {
  Start();
  AddDrawing(LR"(D:\Dwg\a.dwg)");
  AddDrawing(LR"(D:\Dwg\b.dwg)");
  // Yields of drawing a: before it, after its text, in the bitmap's deletion.
  pump.duringYield.push_back([] {});
  pump.duringYield.push_back([] {});
  pump.duringYield.push_back([&] { form.Option2_Selected(); });
  form.PushButton2_Click();
  EXPECT_EQ(pdfsWritten, (Lines{LR"(C:\Out\a.pdf)", LR"(D:\Dwg\b.pdf)"}));
}

TEST_F(ConversionTest, EntriesTakenOutBeforeTheRunReachesThemEndIt) {
  Start();
  AddDrawing(LR"(D:\Dwg\a.dwg)");
  AddDrawing(LR"(D:\Dwg\b.dwg)");
  AddDrawing(LR"(D:\Dwg\c.dwg)");
  // Before the hourglass shows, the first yield lets the user clear two.
  pump.duringYield.push_back([&] {
    form.jobList().Remove(3);
    form.jobList().Remove(2);
  });
  form.PushButton2_Click();
  EXPECT_EQ(pdfsWritten, Lines{LR"(C:\Out\a.pdf)"});
  EXPECT_TRUE(Reports().empty());
  EXPECT_DOUBLE_EQ(window.progressValues[0], 100);
  EXPECT_FALSE(form.ConversionBusy());
}

TEST_F(ConversionTest, APrinterThatCannotBeMadeCurrentIsReportedAndTheRunRefused) {
  const std::pair<const wchar_t*, int> steps[] = {{L"names", 114}, {L"current", 116}};
  for (const auto& [operation, step] : steps) {
    SCOPED_TRACE(operation);
    FreshRun run;
    run.Start();
    run.AddDrawing(LR"(D:\Dwg\a.dwg)");
    const Failure failure(-2147024809, std::wstring(L"failed: ") + operation);
    run.printing.failures.emplace(operation, failure);
    run.form.PushButton2_Click();
    EXPECT_EQ(run.Reports(), Lines{ErrorReportText(failure.description(), kRun, step)});
    EXPECT_EQ(run.Messages(), Lines{PdfPrinterMissingText()});
    EXPECT_TRUE(run.printing.pagesPrinted.empty());
    EXPECT_TRUE(run.autocad.log.empty());
    EXPECT_FALSE(run.form.ConversionBusy());
  }
}

TEST_F(ConversionTest, APrintingFailureIsReportedUnderItsStepAndTheRunGoesOn) {
  struct Case {
    const wchar_t* operation;
    int step;
    bool pageLeft;  // a page went to the printer before the failure
  };
  const Case steps[] = {
      {L"load", 182, false}, {L"open", 184, false}, {L"paint", 184, false}, {L"enddoc", 186, true}};
  for (const auto& [operation, step, pageLeft] : steps) {
    SCOPED_TRACE(operation);
    FreshRun run;
    run.Start();
    run.AddDrawing(LR"(D:\Dwg\a.dwg)");
    run.AddDrawing(LR"(D:\Dwg\b.dwg)");
    const Failure failure(-2147024809, std::wstring(L"failed: ") + operation);
    run.printing.failures.emplace(operation, failure);
    run.form.PushButton2_Click();
    // One report per drawing: what failed is the drawing's reason.
    EXPECT_EQ(run.Reports(), Lines(2, ErrorReportText(failure.description(), kRun, step)));
    for (const DrawingOutcome& outcome : run.form.LastRun()) {
      EXPECT_EQ(outcome.result, DrawingResult::kFailed);
      EXPECT_EQ(outcome.step, step);
    }
    // A picture that did not load or paint sends no page: its document is abandoned.
    EXPECT_EQ(std::count(run.printing.calls.begin(), run.printing.calls.end(), L"abortdoc"), pageLeft ? 0 : 2);
    EXPECT_EQ(std::count(run.printing.calls.begin(), run.printing.calls.end(), L"enddoc"), pageLeft ? 2 : 0);
    // Both drawings were tried, their bitmaps are gone, and the run ended.
    EXPECT_EQ(run.autocad.quits, 2);
    EXPECT_FALSE(run.fs.Has(LR"(D:\Dwg\a.bmp)"));
    EXPECT_FALSE(run.fs.Has(LR"(D:\Dwg\b.bmp)"));
    EXPECT_EQ(run.Messages(), Lines{EndBoxAsking(L"No drawing was converted (0 of 2).")});
    EXPECT_DOUBLE_EQ(run.window.progressValues.back(), 0);
    EXPECT_FALSE(run.form.ConversionBusy());
  }
}

TEST_F(ConversionTest, ABitmapThatDoesNotLoadNeverPrintsThePreviousPicture) {
  Start();
  AddDrawing(LR"(D:\Dwg\a.dwg)");
  AddDrawing(LR"(D:\Dwg\b.dwg)");
  printing.unloadable.insert(LR"(D:\Dwg\b.bmp)");
  form.PushButton2_Click();
  EXPECT_EQ(printing.pagesPrinted.size(), 1u);
  EXPECT_EQ(std::count(printing.calls.begin(), printing.calls.end(), LR"(paint D:\Dwg\a.bmp)"), 1);
  // Nothing is painted or ended for b: one report, and its document abandoned.
  EXPECT_EQ(Reports(), Lines{ErrorReportText(L"Invalid picture", kRun, 182)});
  EXPECT_EQ(printing.calls.back(), L"abortdoc");
  EXPECT_EQ(pdfsWritten, Lines{LR"(C:\Out\a.pdf)"});
}

TEST_F(ConversionTest, ExportFailuresAreTheExportsOwnAndTheRunGoesOn) {
  Start();
  AddDrawing(LR"(D:\Dwg\a.dwg)");
  AddDrawing(LR"(D:\Dwg\b.dwg)");
  autocad.unopenable.insert(LR"(D:\Dwg\a.dwg)");
  form.PushButton2_Click();
  const Lines reports = Reports();
  ASSERT_EQ(reports.size(), 5u);
  EXPECT_NE(reports[0].find(L"convertDWGtoBMP"), std::wstring::npos);
  EXPECT_EQ(pdfsWritten, Lines{LR"(C:\Out\b.pdf)"});
  EXPECT_EQ(autocad.quits, 2);
}

TEST_F(ConversionTest, AnAutoCadGoneSinceStartUpIsToldForEachDrawing) {
  Start();
  AddDrawing(LR"(D:\Dwg\a.dwg)");
  AddDrawing(LR"(D:\Dwg\b.dwg)");
  autocad.creatable = false;
  form.PushButton2_Click();
  EXPECT_EQ(Messages(), (Lines{L"Error opening AutoCAD. Do you have AutoCad installed?",
                               L"Error opening AutoCAD. Do you have AutoCad installed?",
                               EndBoxAsking(L"No drawing was converted (0 of 2).")}));
  EXPECT_TRUE(printing.pagesPrinted.empty());
}

TEST_F(ConversionTest, ARefusedKeyIsNotReported) {
  Start();
  AddDrawing(LR"(D:\Dwg\a.dwg)");
  registry.refuseCreate = true;
  printing.onEndDoc = nullptr;
  form.PushButton2_Click();
  EXPECT_TRUE(Reports().empty());
  EXPECT_EQ(printing.pagesPrinted.size(), 1u);
}

}  // namespace
}  // namespace pellacore::testing

namespace pellacore::testing {
namespace {

// The run with an AutoCAD that hangs, dies, or is stopped, and its time limit.
class RunSurvivesAutoCadTest : public ConversionTest {};

TEST_F(RunSurvivesAutoCadTest, ADrawingThatHangsIsGivenUpAtTheStoredLimitAndTheRunGoesOn) {
  settings.Write(L"DrawingTimeLimit", L" 7 ");
  Start();
  AddDrawing(LR"(D:\Dwg\a.dwg)");
  AddDrawing(LR"(D:\Dwg\b.dwg)");
  // AutoCAD hangs in Close after writing the bitmap: what it wrote is not
  // this drawing's PDF, and it is not left beside the drawing.
  autocad.hangIn.insert(L"Close");
  const std::int64_t start = clock.now;
  // The second drawing's AutoCAD answers (the run yields twice per drawing).
  pump.duringYield = {[] {}, [] {}, [&] { autocad.hangIn.clear(); }};
  form.PushButton2_Click();
  EXPECT_GE(clock.now - start, 7000);
  EXPECT_LT(clock.now - start, 8000);
  EXPECT_EQ(pdfsWritten, Lines{LR"(C:\Out\b.pdf)"});
  EXPECT_FALSE(fs.Has(LR"(D:\Dwg\a.bmp)"));
  EXPECT_FALSE(fs.Has(LR"(D:\Dwg\b.bmp)"));
  ASSERT_EQ(Reports().size(), 1u);
  EXPECT_NE(Reports()[0].find(L"within 7 seconds"), std::wstring::npos);
  EXPECT_EQ(Messages(), Lines{EndBoxAsking(L"Done.\r\n\r\n1 of 2 drawings were converted.")});
  EXPECT_EQ(autocad.LiveProcesses(), 0);
}

TEST_F(RunSurvivesAutoCadTest, ATimeLimitThatIsNoWholeNumberOfSecondsIsTheDefault) {
  for (const wchar_t* stored : {L"0", L"-5", L"abc", L"1.5", L"86401", L""}) {
    SCOPED_TRACE(stored);
    FreshRun run;
    run.settings.Write(L"DrawingTimeLimit", stored);
    run.Start();
    run.AddDrawing(LR"(D:\Dwg\a.dwg)");
    run.autocad.hangIn.insert(L"Open");
    const std::int64_t start = run.clock.now;
    run.form.PushButton2_Click();
    EXPECT_EQ(run.clock.now - start, 300'000);
  }
}

TEST_F(RunSurvivesAutoCadTest, StopEndsTheRunAfterTheCurrentDrawing) {
  Start();
  AddDrawing(LR"(D:\Dwg\a.dwg)");
  AddDrawing(LR"(D:\Dwg\b.dwg)");
  AddDrawing(LR"(D:\Dwg\c.dwg)");
  form.Options_StopClick();  // no run: nothing to stop
  EXPECT_FALSE(form.StopRequested());
  // Asked for while the first drawing is being converted.
  pump.duringYield.push_back([] {});
  pump.duringYield.push_back([&] { form.Options_StopClick(); });
  form.PushButton2_Click();
  EXPECT_EQ(pdfsWritten, Lines{LR"(C:\Out\a.pdf)"});
  EXPECT_EQ(autocad.created, 1);
  EXPECT_EQ(window.stopEnabled, (std::vector<bool>{true, false}));
  EXPECT_EQ(Messages(), Lines{EndBoxAsking(L"Done.\r\n\r\n1 of 3 drawings were converted.")});
  EXPECT_EQ(window.progressTexts.back(), L"Progress Bar");
  // The next run converts the whole list again.
  pdfsWritten.clear();
  form.PushButton2_Click();
  EXPECT_EQ(pdfsWritten.size(), 3u);
}

TEST_F(RunSurvivesAutoCadTest, ClosingTheWindowDuringARunEndsTheAutoCadItStarted) {
  autocad.running = false;
  Start();
  AddDrawing(LR"(D:\Dwg\a.dwg)");
  // The window closes while AutoCAD works (the call thread handles events).
  autocad.hangIn.insert(L"Export");
  doubles.threads.whileWaiting = [&] { form.Form_Unload(); };
  form.PushButton2_Click();
  EXPECT_TRUE(window.ended);
  ASSERT_FALSE(doubles.processes.endedTrees.empty());
  EXPECT_EQ(doubles.processes.endedTrees.front(), 1001);
}

TEST_F(RunSurvivesAutoCadTest, TheTimeLimitIsSetFromTheOptionsMenu) {
  Start();
  inputBox.answer = L"45";
  form.Options_TimeLimitClick();
  ASSERT_EQ(inputBox.shown.size(), 1u);
  EXPECT_EQ(inputBox.shown[0].defaultText, L"300");
  EXPECT_EQ(inputBox.shown[0].title, L"Pellacore");
  EXPECT_EQ(settings.Read(L"DrawingTimeLimit"), std::optional<std::wstring>(L"45"));

  inputBox.answer = L"ten";
  form.Options_TimeLimitClick();
  EXPECT_EQ(inputBox.shown[1].defaultText, L"45");
  EXPECT_EQ(Messages(), Lines{L"Please enter a whole number of seconds from 1 to 86400."});
  EXPECT_EQ(settings.Read(L"DrawingTimeLimit"), std::optional<std::wstring>(L"45"));

  inputBox.answer = L"";  // Cancel
  form.Options_TimeLimitClick();
  EXPECT_EQ(settings.Read(L"DrawingTimeLimit"), std::optional<std::wstring>(L"45"));
  EXPECT_EQ(boxes.shown.size(), 1u);
}

}  // namespace
}  // namespace pellacore::testing

namespace pellacore::testing {
namespace {

TEST_F(ConversionTest, TwoDrawingsOfOneNameIntoOneFolderKeepBothPdfs) {
  fs.AddFolder(LR"(D:\Other)");
  fs.AddFile(LR"(C:\Out\plan.pdf)");  // from an earlier run: replaced, as always
  Start();
  AddDrawing(LR"(D:\Dwg\plan.dwg)");
  AddDrawing(LR"(D:\Other\PLAN.dwg)");
  AddDrawing(LR"(D:\Dwg\plan.dwg)");
  form.PushButton2_Click();
  EXPECT_EQ(pdfsWritten, (Lines{LR"(C:\Out\plan.pdf)", LR"(C:\Out\PLAN (2).pdf)", LR"(C:\Out\plan (3).pdf)"}));
  EXPECT_EQ(Messages(), Lines{L"Done."});
  // The next run starts afresh.
  pdfsWritten.clear();
  form.PushButton2_Click();
  EXPECT_EQ(pdfsWritten.front(), LR"(C:\Out\plan.pdf)");
}

}  // namespace
}  // namespace pellacore::testing

namespace pellacore::testing {
namespace {

// What became of each drawing, as the run records it.
class OutcomesTest : public ConversionTest {};

TEST_F(OutcomesTest, EachDrawingIsConvertedOnlyWhenItsPdfAppeared) {
  settings.Write(L"DrawingTimeLimit", L"30");
  Start();
  for (const wchar_t* name : {L"a", L"b", L"c", L"d", L"e"}) AddDrawing(std::wstring(LR"(D:\Dwg\)") + name + L".dwg");
  autocad.unopenable.insert(LR"(D:\Dwg\b.dwg)");
  // c hangs in Open; d's bitmap does not load; e is fine.
  printing.unloadable.insert(LR"(D:\Dwg\d.bmp)");
  autocad.hangOpening.insert(LR"(D:\Dwg\c.dwg)");
  form.PushButton2_Click();

  const std::vector<DrawingOutcome>& run = form.LastRun();
  ASSERT_EQ(run.size(), 5u);
  std::vector<DrawingResult> results;
  for (const DrawingOutcome& outcome : run) results.push_back(outcome.result);
  EXPECT_EQ(results, (std::vector<DrawingResult>{DrawingResult::kConverted, DrawingResult::kFailed,
                                                 DrawingResult::kTimedOut, DrawingResult::kFailed,
                                                 DrawingResult::kConverted}));
  EXPECT_EQ(run[0].drawing, LR"(D:\Dwg\a.dwg)");
  EXPECT_EQ(run[0].files, Lines{LR"(C:\Out\a.pdf)"});
  EXPECT_EQ(run[0].step, 0);
  EXPECT_EQ(run[1].step, 116);
  EXPECT_EQ(run[1].message, LR"(Cannot open D:\Dwg\b.dwg)");
  EXPECT_TRUE(run[1].files.empty());
  EXPECT_EQ(run[2].step, 116);
  EXPECT_NE(run[2].message.find(L"within 30 seconds"), std::wstring::npos);
  EXPECT_DOUBLE_EQ(run[2].seconds, 30.0);
  EXPECT_EQ(run[3].step, 182);
  EXPECT_EQ(run[3].message, L"Invalid picture");
  EXPECT_TRUE(run[3].files.empty());
  EXPECT_EQ(run[4].files, Lines{LR"(C:\Out\e.pdf)"});
}

TEST_F(OutcomesTest, WhatAStopLeftIsSkippedAndARenamedPdfIsSaid) {
  fs.AddFolder(LR"(D:\Other)");
  Start();
  AddDrawing(LR"(D:\Dwg\plan.dwg)");
  AddDrawing(LR"(D:\Other\plan.dwg)");
  AddDrawing(LR"(D:\Dwg\c.dwg)");
  // During the second drawing (its second yield): it is finished, the third skipped.
  pump.duringYield = {[] {}, [] {}, [] {}, [] {}, [&] { form.Options_StopClick(); }};
  form.PushButton2_Click();
  const std::vector<DrawingOutcome>& run = form.LastRun();
  ASSERT_EQ(run.size(), 3u);
  EXPECT_EQ(run[1].result, DrawingResult::kConverted);
  EXPECT_EQ(run[1].files, Lines{LR"(C:\Out\plan (2).pdf)"});
  EXPECT_EQ(run[1].message, L"Written as \"plan (2).pdf\": an earlier drawing of this run has the same name.");
  EXPECT_EQ(run[2].result, DrawingResult::kSkipped);
  EXPECT_EQ(run[2].drawing, LR"(D:\Dwg\c.dwg)");
}

}  // namespace
}  // namespace pellacore::testing

namespace pellacore::testing {
namespace {

// Runs that nobody watches: no box waits until the run has ended.
class UnattendedTest : public ConversionTest {};

TEST_F(UnattendedTest, EveryReportOfTheRunGoesToItsDrawingAndOnlyTheEndShows) {
  struct Case {
    const wchar_t* what;
    std::function<void(FreshRun&)> arrange;
    DrawingResult result;
    int step;
    const wchar_t* words;  // found in the drawing's message
    DrawingResult next;    // what became of the drawing after it
  };
  const Case cases[] = {
      {L"export", [](FreshRun& r) { r.autocad.unopenable.insert(LR"(D:\Dwg\a.dwg)"); }, DrawingResult::kFailed,
       116, LR"(Cannot open D:\Dwg\a.dwg)", DrawingResult::kConverted},
      {L"hang", [](FreshRun& r) { r.autocad.hangOpening.insert(LR"(D:\Dwg\a.dwg)"); }, DrawingResult::kTimedOut,
       116, L"within 300 seconds", DrawingResult::kConverted},
      {L"load", [](FreshRun& r) { r.printing.unloadable.insert(LR"(D:\Dwg\a.bmp)"); }, DrawingResult::kFailed, 182,
       L"Invalid picture", DrawingResult::kConverted},
      {L"no AutoCAD", [](FreshRun& r) { r.autocad.creatable = false; }, DrawingResult::kFailed, 0,
       L"Error opening AutoCAD. Do you have AutoCad installed?", DrawingResult::kFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FreshRun run;
    run.settings.Write(L"Unattended", L"True");
    run.Start();
    run.AddDrawing(LR"(D:\Dwg\a.dwg)");
    run.AddDrawing(LR"(D:\Dwg\b.dwg)");
    c.arrange(run);
    // A report before any drawing is in hand has no drawing to go to.
    run.pump.duringYield.push_back([] { throw Failure(5, L"Invalid procedure call or argument"); });
    run.form.PushButton2_Click();

    EXPECT_EQ(run.Reports(), Lines{});
    // The end box is the only box; the report that had no drawing ends it.
    ASSERT_EQ(run.boxes.shown.size(), 1u);
    const std::wstring& end = run.boxes.shown[0].text;
    EXPECT_NE(end.find(L"\r\n\r\nAlso reported during the run:\r\n\r\n" +
                       ErrorReportText(L"Invalid procedure call or argument", kRun, 120)),
              std::wstring::npos)
        << end;
    const std::vector<DrawingOutcome>& outcomes = run.form.LastRun();
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_EQ(outcomes[0].result, c.result);
    EXPECT_EQ(outcomes[0].step, c.step);
    EXPECT_NE(outcomes[0].message.find(c.words), std::wstring::npos) << outcomes[0].message;
    EXPECT_EQ(outcomes[1].result, c.next);
    EXPECT_FALSE(run.form.ConversionBusy());
  }
}

TEST_F(UnattendedTest, TheChoiceIsStoredAndShownAndLeavesBoxesAsTheyWereWhenOff) {
  Start();
  EXPECT_EQ(window.unattendedShown, false);
  form.Options_UnattendedClick();
  EXPECT_EQ(settings.Read(L"Unattended"), L"True");
  EXPECT_EQ(window.unattendedShown, true);
  form.Options_UnattendedClick();
  EXPECT_EQ(settings.Read(L"Unattended"), L"False");
  EXPECT_EQ(window.unattendedShown, false);

  // A stored choice shows from the start; a value that is no Boolean is off.
  for (const auto& [stored, shown] : {std::pair{L"true", true}, std::pair{L"maybe", false}}) {
    FreshRun run;
    run.settings.Write(L"Unattended", stored);
    run.Start();
    EXPECT_EQ(run.window.unattendedShown, shown) << stored;
  }

  // Off, a failing drawing's report shows during the run, as always.
  AddDrawing(LR"(D:\Dwg\a.dwg)");
  printing.unloadable.insert(LR"(D:\Dwg\a.bmp)");
  form.PushButton2_Click();
  EXPECT_EQ(Reports(), Lines{ErrorReportText(L"Invalid picture", kRun, 182)});
}

}  // namespace
}  // namespace pellacore::testing

namespace pellacore::testing {
namespace {

// The run's report file, "LastReport", and the end box that tells the truth.
class RunReportTest : public ConversionTest {
 protected:
  // Two drawings, the first of which does not open in AutoCAD.
  void StartWithOneBadDrawing() {
    Start();
    AddDrawing(LR"(D:\Dwg\Pläne 東.dwg)");
    AddDrawing(LR"(D:\Dwg\b.dwg)");
    autocad.unopenable.insert(LR"(D:\Dwg\Pläne 東.dwg)");
  }
  // The report's lines, BOM and UTF-8 checked and taken away.
  std::vector<std::string> ReportLines(const std::wstring& path) {
    const std::optional<std::string> bytes = fs.Contents(path);
    std::vector<std::string> lines;
    if (!bytes || !bytes->starts_with("\xEF\xBB\xBF")) return lines;
    std::size_t at = 3;
    for (std::size_t end; (end = bytes->find("\r\n", at)) != std::string::npos; at = end + 2) {
      lines.push_back(bytes->substr(at, end - at));
    }
    return lines;
  }
};

TEST_F(RunReportTest, ARunWithAFailureAsksToOpenItsReportWhichHoldsEveryDrawing) {
  StartWithOneBadDrawing();
  boxes.answers.assign(20, MessageAnswer::kNo);  // an error report takes any answer as its OK
  form.PushButton2_Click();

  ASSERT_EQ(Messages(), Lines{EndBoxAsking(L"Done.\r\n\r\n1 of 2 drawings were converted.")});
  EXPECT_EQ(boxes.shown.back().buttons, MessageButtons::kYesNo);
  EXPECT_EQ(boxes.shown.back().title, L"Pellacore");
  EXPECT_TRUE(shell.opened.empty());  // No
  EXPECT_EQ(LastReport(), kReport);
  EXPECT_EQ(ReportLines(kReport),
            (std::vector<std::string>{"drawing,pdf,result,step,message,seconds",
                                      "D:\\Dwg\\Pl\xC3\xA4ne \xE6\x9D\xB1.dwg,,failed,116,"
                                      "Cannot open D:\\Dwg\\Pl\xC3\xA4ne \xE6\x9D\xB1.dwg,0.0",
                                      "D:\\Dwg\\b.dwg,C:\\Out\\b.pdf,converted,,,0.0"}));

  // Again in the same second: a report of its own beside the first, and Yes opens it.
  boxes.shown.clear();
  boxes.answers.clear();
  form.PushButton2_Click();
  const std::wstring second = kLocalAppData + LR"(\Pellacore\Reports\Run 2026-12-08 20-15-30 (2).csv)";
  EXPECT_EQ(Messages(), Lines{EndBoxAsking(L"Done.\r\n\r\n1 of 2 drawings were converted.", second)});
  EXPECT_EQ(LastReport(), second);
  ASSERT_EQ(shell.opened.size(), 1u);
  EXPECT_EQ(shell.opened[0].file, second);
  EXPECT_EQ(shell.opened[0].workingFolder, kLocalAppData + LR"(\Pellacore\Reports\)");
  EXPECT_EQ(ReportLines(kReport).size(), 3u);
}

TEST_F(RunReportTest, EveryDrawingConvertedSaysDoneAloneAndStillLeavesItsReport) {
  Start();
  AddDrawing(LR"(D:\Dwg\a.dwg)");
  form.PushButton2_Click();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, L"Done.");
  EXPECT_EQ(boxes.shown[0].buttons, MessageButtons::kOk);
  EXPECT_EQ(boxes.shown[0].icon, MessageIcon::kNone);
  EXPECT_EQ(LastReport(), kReport);
  EXPECT_EQ(ReportLines(kReport), (std::vector<std::string>{"drawing,pdf,result,step,message,seconds",
                                                            "D:\\Dwg\\a.dwg,C:\\Out\\a.pdf,converted,,,0.0"}));
  EXPECT_TRUE(shell.opened.empty());
}

TEST_F(RunReportTest, NothingConvertedIsSaidInsteadOfSilence) {
  Start();
  AddDrawing(LR"(D:\Dwg\a.dwg)");
  autocad.unopenable.insert(LR"(D:\Dwg\a.dwg)");
  form.PushButton2_Click();
  EXPECT_EQ(Messages(), Lines{EndBoxAsking(L"No drawing was converted (0 of 1).")});
  ASSERT_EQ(shell.opened.size(), 1u);  // the double answers Yes
  EXPECT_EQ(shell.opened[0].file, kReport);
}

TEST_F(RunReportTest, AReportThatCannotBeWrittenIsSaidAndTheRunEndsAsUsual) {
  fs.writeFailure = StandardFailure(failure_number::kDiskFull);
  StartWithOneBadDrawing();
  form.PushButton2_Click();
  EXPECT_EQ(Messages(), Lines{L"Done.\r\n\r\n1 of 2 drawings were converted.\r\n\r\nThe run report could not be written."});
  EXPECT_EQ(boxes.shown.back().buttons, MessageButtons::kOk);
  EXPECT_EQ(LastReport(), L"");  // no earlier run's report taken for this one's
  EXPECT_EQ(pdfsWritten, Lines{LR"(C:\Out\b.pdf)"});
  EXPECT_FALSE(form.ConversionBusy());
  EXPECT_TRUE(shell.opened.empty());

  // Everything converted, still without a report: "Done." does not hide it.
  form.jobList().Remove(1);
  boxes.shown.clear();
  form.PushButton2_Click();
  EXPECT_EQ(Messages(), Lines{L"Done.\r\n\r\nThe run report could not be written."});

  // A store that refuses "LastReport" is reported; the end box still comes.
  fs.writeFailure.reset();
  settings.writeFailure = StandardFailure(failure_number::kPermissionDenied);
  boxes.shown.clear();
  form.PushButton2_Click();
  EXPECT_EQ(Reports(), Lines{ErrorReportText(L"Permission denied", kRun, 198)});
  EXPECT_EQ(Messages(), Lines{L"Done."});
  EXPECT_FALSE(form.ConversionBusy());
}

}  // namespace
}  // namespace pellacore::testing

namespace pellacore::testing {
namespace {

// The list's Result column during and after runs.
class ResultColumnTest : public ConversionTest {
 protected:
  // The column at every yield of the run, each change once.
  void WatchResults() {
    for (int i = 0; i < 500; ++i) {
      pump.duringYield.push_back([this] {
        if (seen.empty() || seen.back() != Results()) seen.push_back(Results());
      });
    }
  }
  // Runs `action` once, at the first yield while `drawing` is in hand.
  void During(const std::wstring& drawing, std::function<void()> action) {
    for (int i = 0; i < 500; ++i) {
      pump.duringYield.push_back([this, drawing, action] {
        if (acted || window.progressTexts.empty() || window.progressTexts.back() != L"Processing: " + drawing) return;
        acted = true;
        action();
      });
    }
  }
  std::vector<Lines> seen;
  bool acted = false;
};

TEST_F(ResultColumnTest, EveryEntryWaitsThenShowsWhatBecameOfItAsItsDrawingEnds) {
  settings.Write(L"DrawingTimeLimit", L"30");
  Start();
  for (const wchar_t* name : {L"a", L"b", L"c"}) AddDrawing(std::wstring(LR"(D:\Dwg\)") + name + L".dwg");
  autocad.unopenable.insert(LR"(D:\Dwg\b.dwg)");
  autocad.hangOpening.insert(LR"(D:\Dwg\c.dwg)");
  WatchResults();
  form.PushButton2_Click();

  const std::wstring converted = LR"(converted: C:\Out\a.pdf)";
  const std::wstring failed = LR"(failed at step 116: Cannot open D:\Dwg\b.dwg)";
  // The last drawing ends the run: no yield comes after its outcome.
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], (Lines{L"waiting", L"waiting", L"waiting"}));
  EXPECT_EQ(seen[1], (Lines{converted, L"waiting", L"waiting"}));
  EXPECT_EQ(seen[2], (Lines{converted, failed, L"waiting"}));
  EXPECT_EQ(Results()[0], converted);
  EXPECT_EQ(Results()[1], failed);
  EXPECT_EQ(Results()[2].rfind(L"timed out at step 116: AutoCAD did not finish", 0), 0u) << Results()[2];
  // The same record as the run's outcomes.
  EXPECT_EQ(Results()[1], ResultText(form.LastRun()[1]));
}

TEST_F(ResultColumnTest, EntriesAddedDuringOrAfterARunShowNothingUntilTheNext) {
  Start();
  AddDrawing(LR"(D:\Dwg\a.dwg)");
  During(LR"(a.dwg)", [&] { AddDrawing(LR"(D:\Dwg\b.dwg)"); });
  form.PushButton2_Click();
  AddDrawing(LR"(D:\Dwg\c.dwg)");
  EXPECT_EQ(Results(), (Lines{LR"(converted: C:\Out\a.pdf)", L"", L""}));

  pump.duringYield.clear();
  WatchResults();
  form.PushButton2_Click();
  EXPECT_EQ(seen.front(), (Lines{L"waiting", L"waiting", L"waiting"}));
  EXPECT_EQ(Results(), (Lines{LR"(converted: C:\Out\a.pdf)", LR"(converted: C:\Out\b.pdf)",
                              LR"(converted: C:\Out\c.pdf)"}));
}

TEST_F(ResultColumnTest, ADrawingDraggedWhileItConvertsTakesItsResultAlong) {
  Start();
  for (const wchar_t* name : {L"a", L"b", L"c"}) AddDrawing(std::wstring(LR"(D:\Dwg\)") + name + L".dwg");
  // The hourglass does not stop a reorder: b goes to the top while it converts.
  During(L"b.dwg", [&] { Drag(2, 1); });
  form.PushButton2_Click();
  ASSERT_TRUE(acted);
  EXPECT_EQ(form.jobList().Text(1), LR"(D:\Dwg\b.dwg)");
  EXPECT_EQ(Results(), (Lines{LR"(converted: C:\Out\b.pdf)", LR"(converted: C:\Out\a.pdf)",
                              LR"(converted: C:\Out\c.pdf)"}));
}

TEST_F(ResultColumnTest, AStopLeavesTheRestSkippedAndAnEntryTheRunNeverReachedWaitsNoLonger) {
  Start();
  for (const wchar_t* name : {L"a", L"b", L"c", L"d"}) AddDrawing(std::wstring(LR"(D:\Dwg\)") + name + L".dwg");
  // While b converts, d and a trade places (a quick move) and the run is
  // stopped: the run, going down the list, never comes to d; c is skipped;
  // a, converted already, keeps saying so.
  During(L"b.dwg", [&] {
    Drag(4, 1);
    form.Options_StopClick();
  });
  form.PushButton2_Click();
  ASSERT_TRUE(acted);
  EXPECT_EQ(form.jobList().Text(1), LR"(D:\Dwg\d.dwg)");
  EXPECT_EQ(Results(), (Lines{L"", LR"(converted: C:\Out\b.pdf)", L"skipped: The run was stopped first.",
                              LR"(converted: C:\Out\a.pdf)"}));
}

TEST_F(ResultColumnTest, ResultsGoWithTheirEntriesWhenEntriesAreRemovedOrReorderedAndGoWithAClear) {
  Start();
  for (const wchar_t* name : {L"a", L"b", L"c"}) AddDrawing(std::wstring(LR"(D:\Dwg\)") + name + L".dwg");
  autocad.unopenable.insert(LR"(D:\Dwg\b.dwg)");
  form.PushButton2_Click();
  const std::wstring a = LR"(converted: C:\Out\a.pdf)";
  const std::wstring b = LR"(failed at step 116: Cannot open D:\Dwg\b.dwg)";
  const std::wstring c = LR"(converted: C:\Out\c.pdf)";
  ASSERT_EQ(Results(), (Lines{a, b, c}));

  Drag(1, 3);
  EXPECT_EQ(Results(), (Lines{c, b, a}));
  form.ListView1_SelectionChanged(2);
  form.ListView1_KeyDown(kDeleteKey, 0);
  EXPECT_EQ(Results(), (Lines{c, a}));
  EXPECT_EQ(form.jobList().Text(2), LR"(D:\Dwg\a.dwg)");
  form.ListView1_SelectionChanged(1);
  form.ListView1_DblClick();
  EXPECT_EQ(Results(), Lines{a});

  form.PushButton4_Click();
  AddDrawing(LR"(D:\Dwg\a.dwg)");
  EXPECT_EQ(Results(), Lines{L""});
}

}  // namespace
}  // namespace pellacore::testing
