// Runs that keep one AutoCAD open between drawings: the stored choices, the
// Options menu that sets them, and the kept AutoCAD at every end of a run.

#include <gtest/gtest.h>

#include "tests/app/form1_fixture.h"

namespace pellacore::testing {
namespace {

const std::wstring kKeptRunKey = L"Software\\Kelvandor PDF Writer";

class KeptAutoCadRunTest : public Form1Test {
 protected:
  KeptAutoCadRunTest() {
    fs.AddFolder(LR"(C:\Out)");
    fs.AddFolder(LR"(D:\Dwg)");
    fs.AddFolder(kLocalAppData);
    settings.Write(L"Location", LR"(C:\Out\)");
    // The printer takes each job at once: the PDF appears at the key's path.
    printing.onEndDoc = [this] {
      const std::string stored = registry.Stored(kKeptRunKey, L"OutputFile");
      fs.AddFile(std::wstring(stored.begin(), stored.end()));
      ++pdfs;
    };
  }
  // Three drawings converted under the stored choices.
  void RunThree() {
    form.Form_Load();
    for (const wchar_t* name : {LR"(D:\Dwg\a.dwg)", LR"(D:\Dwg\b.dwg)", LR"(D:\Dwg\c.dwg)"}) {
      fs.AddFile(name);
      form.jobList().Add(name);
    }
    form.PushButton2_Click();
  }

  int pdfs = 0;
};

// A program of its own for each case of a table.
struct FreshKeptRun : KeptAutoCadRunTest {
  void TestBody() override {}
  using Form1Test::autocad;
  using Form1Test::settings;
  using KeptAutoCadRunTest::pdfs;
  using KeptAutoCadRunTest::RunThree;
};

TEST_F(KeptAutoCadRunTest, OnlyAStoredTrueKeepsOneAutoCadWhichTheRunQuitsAtItsEnd) {
  struct Case {
    const wchar_t* stored;  // nullptr: absent
    int instances;
  };
  for (const Case& c : {Case{nullptr, 3}, Case{L"False", 3}, Case{L"yes", 3}, Case{L"0", 3}, Case{L"True", 1},
                        Case{L" true ", 1}}) {
    SCOPED_TRACE(c.stored ? c.stored : L"(absent)");
    FreshKeptRun run;
    if (c.stored) run.settings.Write(L"KeepAutoCadOpen", c.stored);
    run.RunThree();
    EXPECT_EQ(run.pdfs, 3);
    EXPECT_EQ(run.autocad.created, c.instances);
    EXPECT_EQ(run.autocad.quits, c.instances);
    EXPECT_EQ(run.autocad.LiveProcesses(), 0);
  }
}

TEST_F(KeptAutoCadRunTest, RecycleAfterCountsDrawingsPerAutoCadAndAnythingButAWholeNumberFromOneIsFifty) {
  struct Case {
    const wchar_t* stored;
    int instances;
  };
  for (const Case& c : {Case{L"2", 2}, Case{L" 1 ", 3}, Case{L"3", 1}, Case{L"0", 1}, Case{L"-2", 1},
                        Case{L"1.5", 1}, Case{L"two", 1}, Case{L"", 1}, Case{L"99999999999999", 1}}) {
    SCOPED_TRACE(c.stored);
    FreshKeptRun run;
    run.settings.Write(L"KeepAutoCadOpen", L"True");
    run.settings.Write(L"RecycleAfter", c.stored);
    run.RunThree();
    EXPECT_EQ(run.pdfs, 3);
    EXPECT_EQ(run.autocad.created, c.instances);
    EXPECT_EQ(run.autocad.LiveProcesses(), 0);
  }
}

TEST_F(KeptAutoCadRunTest, AStoppedRunQuitsItsKeptAutoCadAndClosingTheWindowEndsIt) {
  settings.Write(L"KeepAutoCadOpen", L"True");
  // Stop asked for while the first drawing is being converted.
  pump.duringYield = {[] {}, [&] { form.Options_StopClick(); }};
  RunThree();
  EXPECT_EQ(pdfs, 1);
  EXPECT_EQ(autocad.quits, 1);
  EXPECT_EQ(autocad.LiveProcesses(), 0);

  // The window closes between two drawings, the kept AutoCAD idle.
  pump.duringYield = {[] {}, [] {}, [&] { form.Form_Unload(); }};
  form.PushButton2_Click();
  EXPECT_TRUE(window.ended);
  ASSERT_FALSE(doubles.processes.endedTrees.empty());
  EXPECT_EQ(doubles.processes.endedTrees.front(), 1002);
}

TEST_F(KeptAutoCadRunTest, TheOptionsMenuStoresBothChoicesAndShowsTheCheck) {
  settings.Write(L"KeepAutoCadOpen", L"True");
  form.Form_Load();
  EXPECT_EQ(window.keepAutoCadShown, std::optional<bool>(true));
  form.Options_KeepAutoCadClick();
  EXPECT_EQ(settings.Read(L"KeepAutoCadOpen"), std::optional<std::wstring>(L"False"));
  EXPECT_EQ(window.keepAutoCadShown, std::optional<bool>(false));
  form.Options_KeepAutoCadClick();
  EXPECT_EQ(settings.Read(L"KeepAutoCadOpen"), std::optional<std::wstring>(L"True"));
  EXPECT_EQ(window.keepAutoCadShown, std::optional<bool>(true));

  inputBox.answer = L" 12 ";
  form.Options_RecycleAfterClick();
  ASSERT_EQ(inputBox.shown.size(), 1u);
  EXPECT_EQ(inputBox.shown[0].defaultText, L"50");
  EXPECT_EQ(inputBox.shown[0].title, L"Pellacore");
  EXPECT_EQ(settings.Read(L"RecycleAfter"), std::optional<std::wstring>(L"12"));

  inputBox.answer = L"0";
  form.Options_RecycleAfterClick();
  EXPECT_EQ(inputBox.shown[1].defaultText, L"12");
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, L"Please enter a whole number of drawings from 1.");
  EXPECT_EQ(settings.Read(L"RecycleAfter"), std::optional<std::wstring>(L"12"));

  inputBox.answer = L"";  // Cancel
  form.Options_RecycleAfterClick();
  EXPECT_EQ(settings.Read(L"RecycleAfter"), std::optional<std::wstring>(L"12"));
  EXPECT_EQ(boxes.shown.size(), 1u);
}

}  // namespace
}  // namespace pellacore::testing
