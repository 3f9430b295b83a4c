#include <gtest/gtest.h>

#include "tests/app/form1_fixture.h"
#include "util/settings.h"

namespace pellacore {
namespace {

using testing::Form1Test;
using testing::kDesktop;
using testing::kProgramFolder;

const std::wstring kFormLoad = L"in Corvanta2021/08/31.Form1.Form_Load ";

TEST_F(Form1Test, FirstStartStoresTheDesktopAsLocationAndSelectsOption1) {
  form.Form_Load();
  EXPECT_EQ(form.text1(), kDesktop + L"\\");
  EXPECT_EQ(window.text1, kDesktop + L"\\");
  EXPECT_EQ(settings.values[setting_key::kLocation], kDesktop + L"\\");
  EXPECT_TRUE(form.option1());
  EXPECT_FALSE(form.option2());
  EXPECT_TRUE(window.options[1]);
  EXPECT_FALSE(window.options[2]);
  EXPECT_TRUE(form.frame3Enabled());
  EXPECT_TRUE(window.frame3Enabled);
  // Option1 was selected already: its click procedure does not run.
  EXPECT_EQ(settings.values.count(setting_key::kOption1), 0u);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Form1Test, StartUpSetsCaptionIconTitleColumnAndRunsTheChecksInOrder) {
  checks.autoCad = true;
  EXPECT_EQ(form.applicationTitle(), L"");  // not known before start-up
  form.Form_Load();
  EXPECT_EQ(window.caption, L"Pellacore");
  EXPECT_TRUE(window.iconSet);
  EXPECT_EQ(form.applicationTitle(), L"Pellacore");
  // The checks after step 102 already tell the user under the title.
  EXPECT_EQ(checks.titles, (std::vector<std::wstring>{L"Pellacore", L"Pellacore"}));
  EXPECT_EQ(list.columns, (std::vector<std::wstring>{L"DWG File(s)", L"Result"}));
  EXPECT_EQ(list.columnWidthTwips, 7000);
  // The Result column takes what the paths leave, once it is there.
  EXPECT_EQ(list.fittedAt, std::vector<std::size_t>{2});
  EXPECT_EQ(checks.calls, (std::vector<std::wstring>{L"AutoCadAvailable", L"PdfPrinterInstalled"}));
  EXPECT_TRUE(form.AutoCadFound());
}

TEST_F(Form1Test, AutoCadFoundKeepsTheCheckAnswer) {
  checks.autoCad = false;
  form.Form_Load();
  EXPECT_FALSE(form.AutoCadFound());
}

struct OptionCase {
  std::optional<std::wstring> option1, option2;
  bool selected1, selected2, frame3;
  // The values written while starting; nullopt when the click procedures did not run.
  std::optional<std::pair<std::wstring, std::wstring>> written;
};

class StoredOptionsTest : public Form1Test, public ::testing::WithParamInterface<OptionCase> {};

TEST_P(StoredOptionsTest, RestoreTheButtonsThroughTheirClickProcedures) {
  const OptionCase& c = GetParam();
  if (c.option1) settings.values[setting_key::kOption1] = *c.option1;
  if (c.option2) settings.values[setting_key::kOption2] = *c.option2;
  form.Form_Load();
  EXPECT_EQ(form.option1(), c.selected1);
  EXPECT_EQ(form.option2(), c.selected2);
  EXPECT_EQ(window.options[1], c.selected1);
  EXPECT_EQ(window.options[2], c.selected2);
  EXPECT_EQ(window.frame3Enabled, c.frame3);
  std::vector<std::pair<std::wstring, std::wstring>> optionWrites;
  for (const auto& write : settings.writes) {
    if (write.first != setting_key::kLocation) optionWrites.push_back(write);
  }
  if (c.written) {
    EXPECT_EQ(optionWrites, (std::vector<std::pair<std::wstring, std::wstring>>{
                                {L"Option1", c.written->first}, {L"Option2", c.written->second}}));
  } else {
    EXPECT_TRUE(optionWrites.empty());
  }
  EXPECT_TRUE(boxes.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Combinations, StoredOptionsTest,
    ::testing::Values(
        OptionCase{std::nullopt, std::nullopt, true, false, true, std::nullopt},
        OptionCase{L"True", L"False", true, false, true, std::nullopt},
        OptionCase{L"False", L"True", false, true, false, std::pair{L"False", L"True"}},
        OptionCase{L"False", L"False", false, false, false, std::nullopt},
        // Selecting Option2 clears Option1.
        OptionCase{L"True", L"True", false, true, false, std::pair{L"False", L"True"}},
        OptionCase{L"0", L"-1", false, true, false, std::pair{L"False", L"True"}}));

TEST_F(Form1Test, AStoredOptionThatIsNoBooleanFailsItsStepAndKeepsTheButton) {
  settings.values[setting_key::kOption1] = L"maybe";
  settings.values[setting_key::kOption2] = L"sometimes";
  form.Form_Load();
  EXPECT_EQ(Reports(), (std::vector<std::wstring>{ErrorReportText(L"Type mismatch", kFormLoad, 138),
                                                  ErrorReportText(L"Type mismatch", kFormLoad, 140)}));
  EXPECT_TRUE(form.option1());
  EXPECT_FALSE(form.option2());
  EXPECT_TRUE(window.frame3Enabled);
}

TEST_F(Form1Test, AStoredEmptyLocationStaysEmpty) {
  settings.values[setting_key::kLocation] = L"";
  form.Form_Load();
  EXPECT_EQ(form.text1(), L"");
  EXPECT_EQ(settings.values[setting_key::kLocation], L"");
  EXPECT_TRUE(settings.writes.empty());
}

TEST_F(Form1Test, ADesktopWithoutPathFailsStep136OnlyWhenNoLocationIsStored) {
  folders.paths.clear();
  form.Form_Load();
  EXPECT_EQ(Reports(), std::vector<std::wstring>{ErrorReportText(
                           L"Invalid procedure call or argument", kFormLoad, 136)});
  EXPECT_EQ(form.text1(), L"");
  EXPECT_EQ(settings.values.count(setting_key::kLocation), 0u);
  EXPECT_TRUE(window.frame3Enabled);  // start-up went on

  boxes.shown.clear();
  settings.values[setting_key::kLocation] = L"D:\\Out\\";
  form.Form_Load();
  EXPECT_TRUE(Reports().empty());
  EXPECT_EQ(form.text1(), L"D:\\Out\\");
}

TEST_F(Form1Test, TheSampleListIsRecordedUntilTheSnapshotIsStored) {
  // A recording that stores nothing: 110 and 130 both find "Snapshot" empty.
  form.Form_Load();
  EXPECT_EQ(samples.calls, 2);
  EXPECT_EQ(settings.ReadsOf(setting_key::kSnapshot), 2u);

  // A recording that stores it: step 130 reads it again and records no more.
  settings.values.clear();
  settings.reads.clear();
  samples.calls = 0;
  samples.recording = [&] { settings.values[setting_key::kSnapshot] = L"encoded"; };
  form.Form_Load();
  EXPECT_EQ(samples.calls, 1);
  EXPECT_EQ(settings.ReadsOf(setting_key::kSnapshot), 2u);

  // Stored already: both steps read it, neither records.
  settings.reads.clear();
  samples.calls = 0;
  form.Form_Load();
  EXPECT_EQ(samples.calls, 0);
  EXPECT_EQ(settings.ReadsOf(setting_key::kSnapshot), 2u);
}

TEST_F(Form1Test, ASettingsStoreThatCannotBeReadRunsEveryGuardedBranch) {
  settings.readFailure = Failure(-2147024891, L"Access is denied.");
  form.Form_Load();
  const std::wstring denied = L"Access is denied.";
  EXPECT_EQ(Reports(), (std::vector<std::wstring>{ErrorReportText(denied, kFormLoad, 110),
                                                  ErrorReportText(denied, kFormLoad, 130),
                                                  ErrorReportText(denied, kFormLoad, 136),
                                                  ErrorReportText(denied, kFormLoad, 138),
                                                  ErrorReportText(denied, kFormLoad, 140)}));
  EXPECT_EQ(samples.calls, 2);
  EXPECT_TRUE(window.frame3Enabled);
  EXPECT_EQ(checks.calls.size(), 2u);
}

TEST_F(Form1Test, AFailingRecordingIsReportedUnderItsStep) {
  samples.failure = Failure(76, L"Path not found");
  form.Form_Load();
  EXPECT_EQ(Reports(), (std::vector<std::wstring>{ErrorReportText(L"Path not found", kFormLoad, 110),
                                                  ErrorReportText(L"Path not found", kFormLoad, 130)}));
}

TEST_F(Form1Test, TheHandCursorIsLoadedWhenItsFileLiesBesideTheProgram) {
  form.Form_Load();
  EXPECT_EQ(window.customPointerFile, L"");

  fs.AddFile(kProgramFolder + L"\\HAND-M.CUR");
  form.Form_Load();
  EXPECT_EQ(window.customPointerFile, kProgramFolder + L"\\HAND-M.CUR");

  window.customPointerFailure = Failure(481, L"Invalid picture");
  form.Form_Load();
  EXPECT_EQ(Reports(), std::vector<std::wstring>{ErrorReportText(L"Invalid picture", kFormLoad, 106)});
}

TEST_F(Form1Test, WithoutASkinFileTheWindowStaysWhite) {
  form.Form_Load();
  EXPECT_TRUE(window.backdrops.empty());
  EXPECT_TRUE(skin.calls.empty());

  fs.AddFile(kProgramFolder + L"\\x\\o.cjs", file_attribute::kArchive | file_attribute::kHidden);
  form.Form_Load();
  EXPECT_TRUE(skin.calls.empty());
}

TEST_F(Form1Test, TheSkinFileStylesTheWindowInTheComponentsOrder) {
  fs.AddFile(kProgramFolder + L"\\x\\o.cjs", file_attribute::kArchive | file_attribute::kReadOnly);
  form.Form_Load();
  for (Surface surface : {Surface::kWindow, Surface::kFrame1, Surface::kFrame3, Surface::kOption1,
                          Surface::kOption2}) {
    EXPECT_EQ(window.backdrops[surface], Backdrop::kButtonFace);
  }
  EXPECT_EQ(skin.calls, (std::vector<std::wstring>{
                            L"LoadSkin(" + kProgramFolder + L"\\x\\o.cjs,)", L"Options",
                            L"SetOptions(65)", L"SetStyleFrames(1)", L"SetStyleButtons(1)",
                            L"ApplyWindow(66051)"}));
}

TEST_F(Form1Test, AFailureInTheSkinIsReportedAsStep100AndTheCaptionIsStillSet) {
  fs.AddFile(kProgramFolder + L"\\x\\o.cjs");
  skin.loadFailure = Failure(53, L"File not found");
  form.Form_Load();
  EXPECT_EQ(Reports(), std::vector<std::wstring>{ErrorReportText(L"File not found", kFormLoad, 100)});
  EXPECT_EQ(window.caption, L"Pellacore");
  EXPECT_EQ(list.columns.size(), 2u);
}

TEST_F(Form1Test, AFailureInOneStatementOfStep102LeavesTheOthersToRun) {
  window.captionFailure = Failure(5, L"Invalid procedure call or argument");
  form.Form_Load();
  EXPECT_EQ(Reports(), std::vector<std::wstring>{
                           ErrorReportText(L"Invalid procedure call or argument", kFormLoad, 102)});
  EXPECT_TRUE(window.iconSet);
  EXPECT_EQ(form.applicationTitle(), L"Pellacore");
}

TEST_F(Form1Test, AFailingPrinterCheckIsReportedAsStep150) {
  checks.printerFailure = Failure(-2147024891, L"Access is denied.");
  form.Form_Load();
  EXPECT_EQ(Reports(), std::vector<std::wstring>{ErrorReportText(L"Access is denied.", kFormLoad, 150)});
}

TEST_F(Form1Test, FormUnloadEndsTheProgram) {
  form.Form_Unload();
  EXPECT_TRUE(window.ended);
}

}  // namespace
}  // namespace pellacore
