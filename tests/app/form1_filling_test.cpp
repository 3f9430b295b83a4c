#include <gtest/gtest.h>

#include "platform/drop_effect.h"
#include "tests/app/form1_fixture.h"
#include "util/settings.h"

namespace pellacore {
namespace {

using Paths = std::vector<std::wstring>;

class FillingTest : public testing::Form1Test {
 protected:
  Paths Entries() const {
    Paths entries;
    for (std::size_t i = 1; i <= form.jobList().Count(); ++i) entries.push_back(form.jobList().Text(i));
    return entries;
  }
};

const std::wstring kPushButton1 = L"in Corvanta2021/08/31.Form1.PushButton1_Click ";
const std::wstring kPushButton3 = L"in Corvanta2021/08/31.Form1.PushButton3_Click ";

TEST_F(FillingTest, TheFileDialogIsSetUpForSeveralDrawings) {
  form.PushButton1_Click();
  ASSERT_EQ(fileDialogs.shown.size(), 1u);
  const OpenDialogSettings& shown = fileDialogs.shown[0];
  EXPECT_EQ(shown.fileName, L"");
  EXPECT_EQ(shown.flags, 2621953u);
  EXPECT_EQ(shown.title, L"Add File(s) - Hold Ctrl or Shift to select multiple files");
  EXPECT_EQ(shown.filter, L"All DWG (*.dwg)|*.dwg");
  EXPECT_EQ(shown.bufferChars, 30000u);
  EXPECT_TRUE(Entries().empty());  // cancelled
  EXPECT_TRUE(boxes.shown.empty());
}

struct DialogCase {
  std::wstring answer;
  Paths added;
};

void PrintTo(const DialogCase& c, std::ostream* os) { *os << ::testing::PrintToString(c.answer); }

// The dialog's answer for several files: the parts joined by NUL characters.
std::wstring JoinedByNul(std::initializer_list<const wchar_t*> parts) {
  std::wstring joined;
  for (const wchar_t* part : parts) {
    if (!joined.empty()) joined.push_back(L'\0');
    joined += part;
  }
  return joined;
}

class DialogResultTest : public FillingTest, public ::testing::WithParamInterface<DialogCase> {};

TEST_P(DialogResultTest, EachChosenFileIsAppendedInTheDialogsOrder) {
  form.jobList().Add(L"D:\\Plans\\b.dwg");
  fileDialogs.answer = GetParam().answer;
  form.PushButton1_Click();
  Paths expected{L"D:\\Plans\\b.dwg"};
  expected.insert(expected.end(), GetParam().added.begin(), GetParam().added.end());
  EXPECT_EQ(Entries(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, DialogResultTest,
    ::testing::Values(
        DialogCase{L"D:\\Plans\\Site A.dwg", {L"D:\\Plans\\Site A.dwg"}},
        DialogCase{JoinedByNul({L"D:\\Plans", L"c.dwg", L"a.dwg", L"b.dwg"}),
                   {L"D:\\Plans\\c.dwg", L"D:\\Plans\\a.dwg", L"D:\\Plans\\b.dwg"}},
        DialogCase{JoinedByNul({L"E:\\", L"one.dwg", L"two.dwg"}), {L"E:\\one.dwg", L"E:\\two.dwg"}},
        // A single path is taken as the dialog gave it, doubled separators and all.
        DialogCase{L"\\\\server\\share\\x.dwg", {L"\\\\server\\share\\x.dwg"}}));

TEST_F(FillingTest, ASelectionTooLargeForTheBufferIsToldAndAddsNothing) {
  form.Form_Load();  // the application title
  fileDialogs.failure = StandardFailure(failure_number::kBufferTooSmall);
  form.PushButton1_Click();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text,
            L"You've selected too many files to add.\r\rPlease try adding via the \"Add All\" button.");
  EXPECT_EQ(boxes.shown[0].title, L"Pellacore");
  EXPECT_EQ(boxes.shown[0].buttons, MessageButtons::kOk);
  EXPECT_EQ(boxes.shown[0].icon, MessageIcon::kNone);
  EXPECT_TRUE(Entries().empty());
}

TEST_F(FillingTest, AnotherDialogFailureIsReported) {
  fileDialogs.failure = Failure(-2147467259, L"Unspecified error");
  form.PushButton1_Click();
  EXPECT_EQ(Reports(), Paths{ErrorReportText(L"Unspecified error", kPushButton1, 100)});
  EXPECT_TRUE(Entries().empty());
}

// A list that cannot take one entry, as a list control out of memory raises.
class ListRefusingOneEntry : public JobListObserver {
 public:
  explicit ListRefusingOneEntry(std::size_t refused) : refused_(refused) {}
  void EntriesAppended(std::size_t newCount) override {
    if (newCount == refused_) throw Failure(7, L"Out of memory");
  }
  void EntryChanged(std::size_t) override {}
  void AllEntriesChanged() override {}
  void EntriesRemoved(std::size_t) override {}
  void SelectionChanged(std::optional<std::size_t>) override {}

 private:
  std::size_t refused_;
};

TEST_F(FillingTest, AFailureWhileAppendingOneNameIsReportedAndTheRestAreAppended) {
  ListRefusingOneEntry refusing(2);
  form.jobList().SetObserver(&refusing);
  fileDialogs.answer = JoinedByNul({L"D:\\Plans", L"a.dwg", L"b.dwg", L"c.dwg"});
  form.PushButton1_Click();
  form.jobList().SetObserver(nullptr);
  EXPECT_EQ(Reports(), Paths{ErrorReportText(L"Out of memory", kPushButton1, 108)});
  ASSERT_EQ(Entries().size(), 3u);
  EXPECT_EQ(Entries().front(), L"D:\\Plans\\a.dwg");
  EXPECT_EQ(Entries().back(), L"D:\\Plans\\c.dwg");
}

TEST_F(FillingTest, OnlyAListOfFilesIsTakenAndOnlyAsACopy) {
  struct Case {
    bool offersFiles;
    std::uint32_t allowed;
    std::uint32_t taken;
  };
  using namespace drop_effect;
  for (const Case& c : {Case{true, kCopy | kMove | kLink, kCopy}, Case{true, kCopy, kCopy},
                        Case{true, kMove, kNone}, Case{true, kMove | kLink, kNone},
                        Case{false, kCopy | kMove, kNone}, Case{false, kCopy, kNone}}) {
    std::uint32_t effect = c.allowed;
    form.ListView1_OLEDragOver(c.offersFiles, effect);
    EXPECT_EQ(effect, c.taken) << "files " << c.offersFiles << ", allowed " << c.allowed;
  }
}

TEST_F(FillingTest, DroppedFilesAreAddedUnchangedAndFoldersThroughTheirTree) {
  fs.AddFile(L"C:\\In\\x.txt");
  fs.AddFile(L"C:\\In\\y.dwg");
  fs.AddFolder(L"C:\\Tree");
  fs.AddFile(L"C:\\Tree\\a.dwg");
  fs.AddFile(L"C:\\Tree\\~lock.dwg");
  fs.AddFolder(L"C:\\Tree\\Sub");
  fs.AddFile(L"C:\\Tree\\Sub\\b.dwg");
  form.jobList().Add(L"C:\\In\\x.txt");
  form.ListView1_OLEDragDrop({L"C:\\In\\x.txt", L"C:\\Tree", L"C:\\Gone.dwg", L"C:\\In\\y.dwg"});
  EXPECT_EQ(Entries(), (Paths{L"C:\\In\\x.txt", L"C:\\In\\x.txt", L"C:\\Tree\\a.dwg",
                              L"C:\\Tree\\Sub\\b.dwg", L"C:\\In\\y.dwg"}));
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(FillingTest, FoldersDroppedTogetherEachAddTheirOwnFilesOnce) {
  fs.AddFolder(L"C:\\B");
  fs.AddFile(L"C:\\B\\b1.dwg");
  fs.AddFolder(L"C:\\B\\Sub");
  fs.AddFile(L"C:\\B\\Sub\\b2.dwg");
  fs.AddFolder(L"C:\\A");
  fs.AddFile(L"C:\\A\\a1.dwg");
  form.ListView1_OLEDragDrop({L"C:\\B", L"C:\\A"});
  EXPECT_EQ(Entries(), (Paths{L"C:\\B\\b1.dwg", L"C:\\B\\Sub\\b2.dwg", L"C:\\A\\a1.dwg"}));
}

TEST_F(FillingTest, AnEmptyDroppedFolderAddsNothingAndShowsNothing) {
  fs.AddFolder(L"C:\\Empty");
  fs.AddFolder(L"C:\\Empty\\Sub");
  form.ListView1_OLEDragDrop({L"C:\\Empty"});
  EXPECT_TRUE(Entries().empty());
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(FillingTest, ADroppedDriveOrShareRootIsScannedLikeAFolder) {
  // No search finds a root; a drive root reads as hidden + system.
  fs.AddFolder(L"D:\\", file_attribute::kDirectory | file_attribute::kHidden |
                             file_attribute::kSystem);
  fs.AddFile(L"D:\\a.dwg");
  fs.AddFolder(L"D:\\Sub");
  fs.AddFile(L"D:\\Sub\\b.dwg");
  fs.AddFolder(L"\\\\server\\share");
  fs.AddFile(L"\\\\server\\share\\c.dwg");
  fs.AddFolder(L"\\\\server\\share\\In");
  fs.AddFile(L"\\\\server\\share\\In\\d.dwg");
  const Paths share{L"\\\\server\\share\\c.dwg", L"\\\\server\\share\\In\\d.dwg"};

  form.ListView1_OLEDragDrop({L"D:\\", L"Q:\\", L"\\\\server\\share", L"\\\\server\\share\\",
                              L"\\\\server\\gone\\"});
  Paths expected{L"D:\\a.dwg", L"D:\\Sub\\b.dwg"};
  expected.insert(expected.end(), share.begin(), share.end());
  expected.insert(expected.end(), share.begin(), share.end());
  EXPECT_EQ(Entries(), expected);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(FillingTest, AnItemThatCannotBeReadIsSkippedAndTheDropGoesOn) {
  fs.AddFile(L"C:\\In\\x.dwg");
  fs.findFailure = StandardFailure(failure_number::kPermissionDenied);
  form.ListView1_OLEDragDrop({L"C:\\In\\x.dwg"});
  EXPECT_TRUE(Entries().empty());
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(FillingTest, TheFolderScanAsksForTheExtensionAndTheFolderAndRemembersBoth) {
  fs.AddFolder(L"D:\\Jobs");
  fs.AddFile(L"D:\\Jobs\\a.dwg");
  fs.AddFile(L"D:\\Jobs\\b.txt");
  fs.AddFolder(L"D:\\Jobs\\Old");
  fs.AddFile(L"D:\\Jobs\\Old\\c.DWG");
  inputBox.answer = L"dwg";
  folderPicker.answer = L"D:\\Jobs";
  int pointerDuringScan = -1;
  pump.duringYield.push_back([&] { pointerDuringScan = form.MousePointer(); });
  form.Form_Load();  // the application title
  form.PushButton3_Click();

  ASSERT_EQ(inputBox.shown.size(), 1u);
  EXPECT_EQ(inputBox.shown[0].prompt,
            L"Enter file extension to load:\r\r(* for all files, txt for all txt files, doc for all "
            L"doc files, etc.)");
  EXPECT_EQ(inputBox.shown[0].title, L"Pellacore");
  EXPECT_EQ(inputBox.shown[0].defaultText, L"dwg");
  ASSERT_EQ(folderPicker.shown.size(), 1u);
  EXPECT_EQ(folderPicker.shown[0].prompt, L"Please select folder:");
  EXPECT_EQ(folderPicker.shown[0].initialFolder, L"");
  EXPECT_EQ(settings.values[setting_key::kExtension], L"dwg");
  EXPECT_EQ(settings.values[setting_key::kLastFolder], L"D:\\Jobs");
  EXPECT_EQ(Entries(), (Paths{L"D:\\Jobs\\a.dwg", L"D:\\Jobs\\Old\\c.DWG"}));
  EXPECT_EQ(pointerDuringScan, pointer_code::kHourglass);
  EXPECT_EQ(form.MousePointer(), pointer_code::kDefault);

  // The next scan offers what was given last.
  inputBox.answer = L"";
  form.PushButton3_Click();
  EXPECT_EQ(inputBox.shown[1].defaultText, L"dwg");
  settings.values[setting_key::kExtension] = L" .txt ";
  inputBox.answer = L"*";
  folderPicker.answer = L"";
  form.PushButton3_Click();
  EXPECT_EQ(inputBox.shown[2].defaultText, L" .txt ");
  EXPECT_EQ(folderPicker.shown[1].initialFolder, L"D:\\Jobs");
}

TEST_F(FillingTest, CancellingTheScanChangesOnlyWhatWasGivenBefore) {
  inputBox.answer = L"";
  form.PushButton3_Click();
  EXPECT_TRUE(folderPicker.shown.empty());
  EXPECT_EQ(settings.values.count(setting_key::kExtension), 0u);

  inputBox.answer = L"pdf";
  folderPicker.answer = L"";
  settings.values[setting_key::kLastFolder] = L"C:\\Old";
  form.PushButton3_Click();
  EXPECT_EQ(settings.values[setting_key::kExtension], L"pdf");
  EXPECT_EQ(settings.values[setting_key::kLastFolder], L"C:\\Old");
  EXPECT_EQ(form.MousePointer(), pointer_code::kDefault);
  EXPECT_TRUE(Entries().empty());
}

TEST_F(FillingTest, ARejectedPatternIsReportedOnceAndTheScanEndsWithTheArrow) {
  fs.AddFolder(L"D:\\Jobs");
  fs.AddFolder(L"D:\\Jobs\\Sub");
  inputBox.answer = L"d<g";
  folderPicker.answer = L"D:\\Jobs";
  fs.findFailure = StandardFailure(failure_number::kBadFileName);
  form.PushButton3_Click();
  EXPECT_EQ(Reports(), Paths{ErrorReportText(L"Bad file name or number", kPushButton3, 114)});
  EXPECT_TRUE(Entries().empty());
  EXPECT_EQ(form.MousePointer(), pointer_code::kDefault);
}

TEST_F(FillingTest, TheTypedExtensionMakesThePatternAsItIsAndADriveRootIsScannedWhole) {
  fs.AddFolder(L"C:\\", file_attribute::kDirectory | file_attribute::kHidden |
                             file_attribute::kSystem);
  fs.AddFile(L"C:\\a.dwg");
  fs.AddFile(L"C:\\b.txt");
  fs.AddFile(L"C:\\odd..dwg");
  fs.AddFolder(L"C:\\Work");
  fs.AddFile(L"C:\\Work\\c.pdf");
  folderPicker.answer = L"C:\\";  // a root comes back with its separator

  struct Case {
    std::wstring answer;
    Paths searches;
    Paths added;
  };
  // Below a root the searches carry its doubled separator; the entries do not.
  const Case cases[] = {
      {L"*", {L"C:\\*.*", L"C:\\\\Work\\*.*"},
       {L"C:\\a.dwg", L"C:\\b.txt", L"C:\\odd..dwg", L"C:\\Work\\c.pdf"}},
      // What "*..dwg" matches is the platform's business; this file system
      // takes it literally.
      {L".dwg", {L"C:\\*..dwg", L"C:\\\\Work\\*..dwg"}, {L"C:\\odd..dwg"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    form.jobList().Clear();
    fs.findCalls.clear();
    inputBox.answer = c.answer;
    form.PushButton3_Click();
    EXPECT_EQ(fs.findCalls, c.searches);
    EXPECT_EQ(Entries(), c.added);
  }
  EXPECT_EQ(settings.values[setting_key::kLastFolder], L"C:\\");
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(FillingTest, TheSampleButtonLoadsTheSamplesUnderTheApplicationTitle) {
  form.Form_Load();
  form.PushButton8_Click();
  EXPECT_EQ(samples.loadTitles, Paths{L"Pellacore"});
  samples.loadFailure = Failure(53, L"File not found");
  form.PushButton8_Click();
  EXPECT_EQ(Reports(), Paths{ErrorReportText(L"File not found",
                                             L"in Corvanta2021/08/31.Form1.PushButton8_Click ", 100)});
}

}  // namespace
}  // namespace pellacore
