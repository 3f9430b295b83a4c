// The run through AutoCAD's plotter, and the Options menu's choices of route,
// paper and colours, against doubles of AutoCAD and the file system.

#include <gtest/gtest.h>

#include "tests/app/form1_fixture.h"

namespace pellacore::testing {
namespace {

using Lines = std::vector<std::wstring>;

class PlotRouteTest : public Form1Test {
 protected:
  PlotRouteTest() {
    fs.AddFolder(kDesktop);
    fs.AddFolder(LR"(C:\Out)");
    fs.AddFolder(LR"(D:\Dwg)");
    fs.AddFolder(LR"(D:\Other)");
    fs.AddFolder(kLocalAppData);
    settings.Write(L"Location", LR"(C:\Out\)");
    settings.Write(L"PdfRoute", L"Plotter");
    // No PDF printer at all: the plotter does not need one.
    printing.printers = {L"Office Laser"};
  }
  void AddDrawing(const std::wstring& path) {
    fs.AddFile(path);
    form.jobList().Add(path);
  }
  Lines Messages() const {
    Lines texts;
    for (const ShownMessage& box : boxes.shown) texts.push_back(box.text);
    return texts;
  }
};

TEST_F(PlotRouteTest, ARunPlotsEachDrawingWithoutPrinterOrKeyAndKeepsNamesApart) {
  form.Form_Load();
  EXPECT_EQ(checks.calls, Lines{L"AutoCadAvailable"});  // no printer check, no message
  EXPECT_EQ(window.plotterShown, true);
  EXPECT_TRUE(boxes.shown.empty());

  AddDrawing(LR"(D:\Dwg\plan.dwg)");
  AddDrawing(LR"(D:\Other\PLAN.dwg)");
  form.PushButton2_Click();
  EXPECT_EQ(Messages(), Lines{L"Done."});
  ASSERT_EQ(form.LastRun().size(), 2u);
  EXPECT_EQ(form.LastRun()[0].files, Lines{LR"(C:\Out\plan.pdf)"});
  EXPECT_EQ(form.LastRun()[1].files, Lines{LR"(C:\Out\PLAN (2).pdf)"});
  EXPECT_EQ(form.LastRun()[1].result, DrawingResult::kConverted);
  EXPECT_NE(form.LastRun()[1].message.find(L"PLAN (2).pdf"), std::wstring::npos);
  EXPECT_TRUE(registry.keys.empty());
  EXPECT_TRUE(printing.pagesPrinted.empty());
  EXPECT_FALSE(fs.Has(LR"(D:\Dwg\plan.bmp)"));
}

TEST_F(PlotRouteTest, EveryLayoutsFileIsTheDrawingsAndAFalsePlotFailsOnlyItsDrawing) {
  settings.Write(L"Unattended", L"True");
  autocad.layouts = {{L"Model", 0, 1}, {L"Plan", 1, 2}, {L"Section", 2, 5}};
  form.Form_Load();
  AddDrawing(LR"(D:\Dwg\a.dwg)");
  form.PushButton2_Click();
  ASSERT_EQ(form.LastRun().size(), 1u);
  EXPECT_EQ(form.LastRun()[0].files, (Lines{LR"(C:\Out\a - Plan.pdf)", LR"(C:\Out\a - Section.pdf)"}));
  EXPECT_EQ(form.LastRun()[0].result, DrawingResult::kConverted);

  autocad.plotAnswers = false;
  AddDrawing(LR"(D:\Dwg\b.dwg)");
  form.PushButton2_Click();
  ASSERT_EQ(form.LastRun().size(), 2u);
  for (const DrawingOutcome& outcome : form.LastRun()) {
    EXPECT_EQ(outcome.result, DrawingResult::kFailed);
    EXPECT_EQ(outcome.step, 132);
    EXPECT_TRUE(outcome.files.empty());
  }
  EXPECT_EQ(autocad.quits, 3);  // every drawing was tried
}

TEST_F(PlotRouteTest, TheOptionsMenuStoresRoutePaperAndColoursAndTheRunUsesThem) {
  form.Form_Load();
  form.Options_RouteClick(PdfRouteChoice::kPrinter);
  EXPECT_EQ(settings.Read(L"PdfRoute"), L"Printer");
  EXPECT_EQ(window.plotterShown, false);
  form.Options_RouteClick(PdfRouteChoice::kPlotter);
  EXPECT_EQ(settings.Read(L"PdfRoute"), L"Plotter");

  const std::wstring media = L"ISO_full_bleed_A1_(841.00_x_594.00_MM)";
  form.Options_PlotMediaClick(media);
  form.Options_BlackAndWhiteClick();
  EXPECT_EQ(settings.Read(L"PlotMedia"), media);
  EXPECT_EQ(settings.Read(L"PlotStyle"), L"monochrome.ctb");
  EXPECT_EQ(window.plotChoicesShown, std::make_pair(media, true));

  AddDrawing(LR"(D:\Dwg\a.dwg)");
  form.PushButton2_Click();
  const Lines& log = autocad.log;
  EXPECT_NE(std::find(log.begin(), log.end(), L"Layout.CanonicalMediaName put (VT_BSTR " + media + L")"), log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), L"Layout.StyleSheet put (VT_BSTR monochrome.ctb)"), log.end());

  form.Options_BlackAndWhiteClick();
  form.Options_PlotMediaClick(L"");
  EXPECT_EQ(settings.Read(L"PlotStyle"), L"");
  EXPECT_EQ(settings.Read(L"PlotMedia"), L"");
  EXPECT_EQ(window.plotChoicesShown, std::make_pair(std::wstring(), false));
}

// The papers the menu offers: a built-in list until AutoCAD's PDF device
// has named its own in a run; then those, with the choice kept.
TEST_F(PlotRouteTest, ThePaperMenuOffersWhatAutoCadsDeviceNamesOnceARunHasAskedIt) {
  settings.Write(L"PlotMedia", L"");
  form.Form_Load();
  EXPECT_EQ(window.plotMediaOffered, BuiltInPlotMedia());
  autocad.mediaNames = {L"ISO_full_bleed_A3_(420.00_x_297.00_MM)", L"ARCH_full_bleed_D_(36.00_x_24.00_Inches)"};
  AddDrawing(LR"(D:\Dwg\a.dwg)");
  form.PushButton2_Click();
  EXPECT_EQ(window.plotMediaOffered, autocad.mediaNames);
  form.Options_PlotMediaClick(autocad.mediaNames[1]);
  EXPECT_EQ(window.plotMediaOffered, autocad.mediaNames);
  EXPECT_EQ(window.plotChoicesShown, std::make_pair(autocad.mediaNames[1], false));
}

}  // namespace
}  // namespace pellacore::testing
