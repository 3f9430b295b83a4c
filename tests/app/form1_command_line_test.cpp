// Form1 from the command line: paths added as files and folder trees, a
// batch run that changes none of the user's stored choices and answers its
// exit code, and the run's progress on the taskbar.

#include <gtest/gtest.h>

#include "tests/app/form1_fixture.h"
#include "util/command_line.h"

namespace pellacore::testing {
namespace {

using Lines = std::vector<std::wstring>;

class CommandLineRunTest : public Form1Test {
 protected:
  CommandLineRunTest() {
    for (const wchar_t* folder : {LR"(C:\Out)", LR"(D:\Dwg)", LR"(D:\Dwg\Sub)", LR"(D:\Reports)"}) fs.AddFolder(folder);
    fs.AddFolder(kDesktop);
    fs.AddFolder(kLocalAppData);
    for (const wchar_t* file : {LR"(D:\Dwg\a.dwg)", LR"(D:\Dwg\b.dwg)", LR"(D:\Dwg\notes.txt)",
                                LR"(D:\Dwg\Sub\c.dwg)", LR"(D:\Dwg\Sub\c.dxf)"}) {
      fs.AddFile(file);
    }
    printing.onEndDoc = [this] {
      const std::string stored = registry.Stored(L"Software\\Kelvandor PDF Writer", L"OutputFile");
      fs.AddFile(std::wstring(stored.begin(), stored.end()));
    };
    form.Form_Load();
    boxes.shown.clear();
  }
  Lines Entries() const {
    Lines entries;
    for (std::size_t i = 1; i <= form.jobList().Count(); ++i) entries.push_back(form.jobList().Text(i));
    return entries;
  }
  int Convert(const Lines& arguments) {
    Lines line{L"/convert"};
    line.insert(line.end(), arguments.begin(), arguments.end());
    return form.ConvertFromCommandLine(ParseCommandLine(line));
  }
};

TEST_F(CommandLineRunTest, FilesAreEntriesAndFoldersAreSearchedWithTheStoredExtension) {
  form.AddCommandLinePaths({LR"(D:\Dwg\a.dwg)", LR"(D:\Gone\x.dwg)", LR"(D:\Dwg\Sub)"});
  EXPECT_EQ(Entries(), (Lines{LR"(D:\Dwg\a.dwg)", LR"(D:\Dwg\Sub\c.dwg)"}));
  // A later start hands the same paths over again: nothing twice.
  settings.Write(L"Extension", L"dxf");
  form.AddCommandLinePaths({LR"(D:\Dwg\a.dwg)", LR"(D:\Dwg)"});
  EXPECT_EQ(Entries(), (Lines{LR"(D:\Dwg\a.dwg)", LR"(D:\Dwg\Sub\c.dwg)", LR"(D:\Dwg\Sub\c.dxf)"}));
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(CommandLineRunTest, ABatchRunConvertsUnattendedWhereItIsToldAndLeavesTheStoredChoicesAlone) {
  fs.AddFile(LR"(D:\Reports\night.csv)");  // last night's, replaced
  const std::wstring location = *settings.Read(L"Location");
  const std::optional<std::wstring> option1 = settings.Read(L"Option1");
  const int code = Convert({LR"(D:\Dwg)", L"/out", LR"(C:\Out)", L"/route", L"plotter", L"/report",
                            LR"(D:\Reports\night.csv)"});
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(fs.Has(LR"(C:\Out\a.pdf)") && fs.Has(LR"(C:\Out\b.pdf)") && fs.Has(LR"(C:\Out\c.pdf)"));
  EXPECT_TRUE(printing.pagesPrinted.empty());  // the plotter, as told
  const std::optional<std::string> report = fs.Contents(LR"(D:\Reports\night.csv)");
  ASSERT_TRUE(report);
  EXPECT_EQ(report->substr(3, 7), "drawing");
  EXPECT_EQ(settings.Read(L"LastReport"), LR"(D:\Reports\night.csv)");
  EXPECT_EQ(settings.Read(L"Location"), location);
  EXPECT_EQ(settings.Read(L"Option1"), option1);
  EXPECT_EQ(settings.Read(L"PdfRoute"), std::nullopt);
  EXPECT_EQ(settings.Read(L"Unattended"), std::nullopt);

  // Beside each drawing, by the stored route; a drawing AutoCAD cannot open
  // is its result, not a box, and the exit code says not all were converted.
  autocad.unopenable.insert(LR"(D:\Dwg\b.dwg)");
  form.PushButton4_Click();
  boxes.shown.clear();
  EXPECT_EQ(Convert({LR"(D:\Dwg\a.dwg)", LR"(D:\Dwg\b.dwg)"}), 1);
  EXPECT_TRUE(fs.Has(LR"(D:\Dwg\a.pdf)"));
  ASSERT_EQ(boxes.shown.size(), 1u);  // the end box alone, answered No to opening the report
  EXPECT_NE(boxes.shown[0].text.find(L"1 of 2 drawings were converted."), std::wstring::npos);
  EXPECT_EQ(form.option1(), true);  // the window's own choices are back
}

TEST_F(CommandLineRunTest, NothingToConvertOrAMissingOutFolderIsTwoAndAnyDrawingNotConvertedIsOne) {
  EXPECT_EQ(Convert({LR"(D:\Gone)", LR"(D:\Dwg\notes.doc)"}), 2);
  EXPECT_NE(boxes.shown.back().text.find(L"no drawing was found"), std::wstring::npos);
  EXPECT_EQ(Convert({LR"(D:\Dwg\a.dwg)", L"/out", LR"(C:\Missing)"}), 2);
  EXPECT_NE(boxes.shown.back().text.find(LR"("C:\Missing")"), std::wstring::npos);

  const DrawingOutcome converted{L"a", {L"a.pdf"}, DrawingResult::kConverted, 0, L"", 1};
  const DrawingOutcome skipped{L"b", {}, DrawingResult::kSkipped, 0, L"stopped", 0};
  EXPECT_EQ(BatchExitCode({converted, converted}), 0);
  EXPECT_EQ(BatchExitCode({converted, skipped}), 1);
  EXPECT_EQ(BatchExitCode({}), 1);  // a run refused converted nothing
}

TEST_F(CommandLineRunTest, TheTaskbarButtonShowsTheDrawingsDoneAndTurnsToTroubleAtAFailure) {
  autocad.unopenable.insert(LR"(D:\Dwg\a.dwg)");
  settings.Write(L"Unattended", L"True");
  form.AddCommandLinePaths({LR"(D:\Dwg\a.dwg)", LR"(D:\Dwg\b.dwg)"});
  form.PushButton2_Click();
  using Shown = FakeMainWindow::TaskbarShown;
  EXPECT_EQ(window.taskbar, (std::vector<Shown>{{0.0, false}, {50.0, true}, {100.0, true}, {std::nullopt, false}}));
  EXPECT_EQ(window.calls.back(), L"FlashUnlessActive");
}

TEST_F(CommandLineRunTest, ARunThroughThePrinterElsewhereRefusesThePrinterButNotThePlotter) {
  // Another window's run, or a scheduled batch, holds the printer's key.
  locks.heldElsewhere.insert(L"Pellacore PDF printer hand-off");
  EXPECT_EQ(Convert({LR"(D:\Dwg\a.dwg)"}), 1);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text.rfind(L"Another Pellacore run is converting drawings through the PDF printer now.", 0),
            0u);
  EXPECT_TRUE(registry.keys.empty());
  EXPECT_EQ(autocad.created, 0);  // nor AutoCAD
  EXPECT_FALSE(form.ConversionBusy());

  EXPECT_EQ(Convert({LR"(D:\Dwg\a.dwg)", L"/route", L"plotter"}), 0);

  // Free again, the printer is this program's for the run and no longer.
  locks.heldElsewhere.clear();
  form.PushButton4_Click();
  printing.onEndDoc = [this, inner = printing.onEndDoc] {
    EXPECT_EQ(locks.held.size(), 1u);
    inner();
  };
  EXPECT_EQ(Convert({LR"(D:\Dwg\b.dwg)"}), 0);
  EXPECT_TRUE(locks.held.empty());
}

}  // namespace
}  // namespace pellacore::testing
