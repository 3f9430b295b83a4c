// The output location controls: the option buttons, the folder text and its
// browse button, and the settings they keep.

#include <gtest/gtest.h>

#include "tests/app/form1_fixture.h"

namespace pellacore::testing {
namespace {

constexpr wchar_t kBrowse[] = L"in Corvanta2021/08/31.Form1.PushButton7_Click ";

class OptionsTest : public Form1Test {
 protected:
  OptionsTest() {
    settings.Write(L"Location", LR"(D:\Typed\)");
    form.Form_Load();
  }
};

TEST_F(OptionsTest, EachOptionSavesBothStatesAndSetsTheFrame) {
  form.Option2_Selected();
  EXPECT_EQ(settings.Read(L"Option1"), L"False");
  EXPECT_EQ(settings.Read(L"Option2"), L"True");
  EXPECT_FALSE(form.frame3Enabled());
  EXPECT_FALSE(window.frame3Enabled);
  form.Option1_Selected();
  EXPECT_EQ(settings.Read(L"Option1"), L"True");
  EXPECT_EQ(settings.Read(L"Option2"), L"False");
  EXPECT_TRUE(window.frame3Enabled);
}

TEST_F(OptionsTest, TheBrowseButtonOpensOnTheLastFolderChosenWithIt) {
  settings.Write(L"LastFolderDot", LR"(E:\Before)");
  folderPicker.answer = LR"(C:\Out)";
  form.PushButton7_Click();
  ASSERT_EQ(folderPicker.shown.size(), 1u);
  EXPECT_EQ(folderPicker.shown[0].prompt, L"Please select folder:");
  EXPECT_EQ(folderPicker.shown[0].initialFolder, LR"(E:\Before)");
  EXPECT_EQ(form.text1(), LR"(C:\Out\)");
  EXPECT_EQ(window.text1, LR"(C:\Out\)");
  EXPECT_EQ(settings.Read(L"Location"), LR"(C:\Out\)");
  EXPECT_EQ(settings.Read(L"LastFolderDot"), LR"(C:\Out)");

  folderPicker.answer = LR"(C:\)";
  form.PushButton7_Click();
  EXPECT_EQ(form.text1(), LR"(C:\)");
  EXPECT_EQ(folderPicker.shown[1].initialFolder, LR"(C:\Out)");
}

TEST_F(OptionsTest, CancellingThePickerChangesNothing) {
  folderPicker.answer = L"";
  form.PushButton7_Click();
  EXPECT_EQ(form.text1(), LR"(D:\Typed\)");
  EXPECT_EQ(settings.Read(L"Location"), LR"(D:\Typed\)");
  EXPECT_EQ(settings.Read(L"LastFolderDot"), std::nullopt);
}

TEST_F(OptionsTest, TypingSavesEachChangeAndAnEmptyTextStaysEmpty) {
  form.Text1_Edited(L"D");
  EXPECT_EQ(settings.Read(L"Location"), L"D");
  form.Text1_Edited(L"");
  EXPECT_EQ(settings.Read(L"Location"), L"");
  EXPECT_EQ(settings.Read(L"LastFolderDot"), std::nullopt);  // typing is not browsing
}

TEST_F(OptionsTest, AFailingSaveIsReportedAndTheFolderStillShows) {
  settings.writeFailure = Failure(-2147024891, L"Access is denied.");
  folderPicker.answer = LR"(C:\Out)";
  form.PushButton7_Click();
  ASSERT_FALSE(Reports().empty());
  EXPECT_EQ(Reports()[0], ErrorReportText(L"Access is denied.", kBrowse, 104));
  EXPECT_EQ(window.text1, LR"(C:\Out\)");
}

}  // namespace
}  // namespace pellacore::testing
