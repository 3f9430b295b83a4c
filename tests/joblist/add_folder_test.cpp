#include "joblist/add_folder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "joblist/job_list.h"
#include "tests/doubles/fake_code_page.h"
#include "tests/doubles/memory_file_system.h"
#include "tests/doubles/recording_message_boxes.h"
#include "tests/doubles/scripted_event_pump.h"
#include "util/error_report.h"
#include "util/failure.h"

namespace pellacore {
namespace {

using testing::FakeCodePage;
using testing::MemoryFileSystem;
using testing::RecordingMessageBoxes;
using testing::ScriptedEventPump;
using Paths = std::vector<std::wstring>;

const std::wstring kLister = L"in Ondrelith2021/08/31.AddFolder.GetSubDirectories2016 ";

constexpr std::uint32_t kDir = file_attribute::kDirectory;
constexpr std::uint32_t kHidden = file_attribute::kHidden;
constexpr std::uint32_t kSystem = file_attribute::kSystem;
constexpr std::uint32_t kArchive = file_attribute::kArchive;
constexpr std::uint32_t kReadOnly = file_attribute::kReadOnly;
constexpr std::uint32_t kReparse = 0x400;

class AddFolderTest : public ::testing::Test {
 protected:
  MemoryFileSystem fs;
  ScriptedEventPump pump;
  RecordingMessageBoxes boxes;
  FakeCodePage codePage;
  TraversalPorts ports{fs, pump, boxes, codePage};

  Paths Traverse(Paths folders, bool recurse = true) {
    GetSubDirectories2016(ports, folders, recurse);
    return folders;
  }

  Paths TreeFiles(const std::wstring& start, const std::wstring& pattern) {
    JobList list;
    AddFolderTreeFiles(ports, list, start, pattern);
    return Entries(list);
  }

  static Paths Entries(const JobList& list) {
    Paths paths;
    for (std::size_t i = 1; i <= list.Count(); ++i) paths.push_back(list.Text(i));
    return paths;
  }
};

// --- GetSubDirectories2016 -------------------------------------------------

TEST_F(AddFolderTest, ListsAllChildrenBeforeAnyGrandchildInTheListersOrder) {
  // Added out of alphabetical order: the lister's order is what counts, and
  // grandchildren come in the order of their parents.
  fs.AddFolder(LR"(D:\Root)");
  fs.AddFolder(LR"(D:\Root\Zeta)");
  fs.AddFolder(LR"(D:\Root\Alpha)");
  fs.AddFolder(LR"(D:\Root\Alpha\A1)");
  fs.AddFolder(LR"(D:\Root\Zeta\Z1)");
  fs.AddFolder(LR"(D:\Root\Alpha\A1\Deep)");
  fs.AddFile(LR"(D:\Root\plan.dwg)");

  EXPECT_EQ(Traverse({LR"(D:\Root\)"}),
            (Paths{LR"(D:\Root\)", LR"(D:\Root\Zeta\)", LR"(D:\Root\Alpha\)",
                   LR"(D:\Root\Zeta\Z1\)", LR"(D:\Root\Alpha\A1\)",
                   LR"(D:\Root\Alpha\A1\Deep\)"}));
  EXPECT_EQ(Traverse({LR"(D:\Root\)"}, false),
            (Paths{LR"(D:\Root\)", LR"(D:\Root\Zeta\)", LR"(D:\Root\Alpha\)"}));
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(AddFolderTest, OnlyFoldersOfExactly22Or1046AreLeftOut) {
  struct Case {
    std::uint32_t attributes;
    bool followed;
  };
  const Case cases[] = {
      {kDir, true},
      {kDir | kHidden, true},                               // 18
      {kDir | kHidden | kSystem, false},                    // 22
      {kDir | kHidden | kSystem | kArchive, true},          // 54
      {kDir | kHidden | kSystem | kReadOnly, true},         // 23
      {kDir | kHidden | kSystem | kReparse, false},         // 1046
      {kDir | kHidden | kSystem | kReparse | kArchive, true},  // 1078
      {kDir | kSystem, true},                               // 20
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.attributes);
    MemoryFileSystem tree;
    tree.AddFolder(LR"(D:\Root)");
    tree.AddFolder(LR"(D:\Root\Marked)", c.attributes);
    tree.AddFolder(LR"(D:\Root\Marked\Below)");
    tree.AddFolder(LR"(D:\Root\Plain)");
    TraversalPorts treePorts{tree, pump, boxes, codePage};
    Paths folders{LR"(D:\Root\)"};
    GetSubDirectories2016(treePorts, folders, true);
    const Paths expected =
        c.followed ? Paths{LR"(D:\Root\)", LR"(D:\Root\Marked\)", LR"(D:\Root\Plain\)",
                           LR"(D:\Root\Marked\Below\)"}
                   : Paths{LR"(D:\Root\)", LR"(D:\Root\Plain\)"};
    EXPECT_EQ(folders, expected);
  }
}

TEST_F(AddFolderTest, TheCallersEntriesStayWhetherOrNotTheyAreListed) {
  fs.AddFolder(LR"(C:\)", kDir | kHidden | kSystem);
  fs.AddFolder(LR"(C:\Work)");
  fs.AddFolder(LR"(d:\)", kDir | kHidden | kSystem | kReparse);
  fs.AddFolder(LR"(d:\Data)");
  fs.AddFolder(LR"(E:\Sys)", kDir | kHidden | kSystem);
  fs.AddFolder(LR"(E:\Sys\Inside)");
  fs.AddFile(LR"(E:\plan.dwg)");

  // Drive roots are listed whatever their attributes; a hidden system folder
  // the caller names stays in the list but is not looked into; a file and a
  // missing path stay too.
  EXPECT_EQ(Traverse({LR"(C:\)", LR"(d:\)", LR"(E:\Sys\)", LR"(E:\plan.dwg\)", LR"(E:\None\)"}),
            (Paths{LR"(C:\)", LR"(d:\)", LR"(E:\Sys\)", LR"(E:\plan.dwg\)", LR"(E:\None\)",
                   LR"(C:\Work\)", LR"(d:\Data\)"}));
}

TEST_F(AddFolderTest, AFolderThatCannotBeListedForLackOfRightsOrIsGoneIsTakenOut) {
  for (const long number : {failure_number::kPermissionDenied, failure_number::kPathNotFound}) {
    SCOPED_TRACE(number);
    MemoryFileSystem tree;
    for (const wchar_t* folder : {LR"(D:\A)", LR"(D:\A\a1)", LR"(D:\B)", LR"(D:\B\b1)", LR"(D:\C)",
                                  LR"(D:\C\c1)"}) {
      tree.AddFolder(folder);
    }
    tree.subFolderFailures.emplace(LR"(D:\B\)", StandardFailure(number));
    TraversalPorts treePorts{tree, pump, boxes, codePage};

    Paths folders{LR"(D:\A\)", LR"(D:\B\)", LR"(D:\C\)"};
    GetSubDirectories2016(treePorts, folders, true);
    EXPECT_EQ(folders, (Paths{LR"(D:\A\)", LR"(D:\C\)", LR"(D:\A\a1\)", LR"(D:\C\c1\)"}));

    // Both copies go, one per listing; the entries between them are all
    // still examined.
    folders = {LR"(D:\B\)", LR"(D:\A\)", LR"(D:\B\)", LR"(D:\C\)"};
    GetSubDirectories2016(treePorts, folders, false);
    EXPECT_EQ(folders, (Paths{LR"(D:\A\)", LR"(D:\C\)", LR"(D:\A\a1\)", LR"(D:\C\c1\)"}));
    EXPECT_TRUE(boxes.shown.empty());
  }
}

TEST_F(AddFolderTest, TakingOutComparesExactlyAndReachesDeeperLevels) {
  fs.AddFolder(LR"(D:\Root)");
  fs.AddFolder(LR"(D:\Root\Locked)");
  fs.AddFolder(LR"(D:\Root\Locked\Inner)");
  fs.AddFolder(LR"(D:\Root\After)");
  fs.subFolderFailures.emplace(LR"(D:\Root\Locked\)",
                               StandardFailure(failure_number::kPermissionDenied));
  fs.subFolderFailures.emplace(LR"(D:\ROOT\)", StandardFailure(failure_number::kPathNotFound));

  // The same folder in other letters is another entry: only the one that
  // failed goes.
  EXPECT_EQ(Traverse({LR"(D:\Root\)", LR"(D:\ROOT\)"}),
            (Paths{LR"(D:\Root\)", LR"(D:\Root\After\)"}));
}

TEST_F(AddFolderTest, AFolderThatGoesWhileTheEventsRunIsTakenOut) {
  fs.AddFolder(LR"(D:\Root)");
  fs.AddFolder(LR"(D:\Root\Gone)");
  fs.AddFolder(LR"(D:\Root\Gone\Inner)");
  fs.AddFolder(LR"(D:\Root\Kept)");
  // Yields: Root examined, its two sub-folders met, then Gone examined.
  for (int i = 0; i < 3; ++i) pump.duringYield.push_back([] {});
  pump.duringYield.push_back([&] { fs.Erase(LR"(D:\Root\Gone)"); });

  EXPECT_EQ(Traverse({LR"(D:\Root\)"}), (Paths{LR"(D:\Root\)", LR"(D:\Root\Kept\)"}));
  // Its attributes cannot be read any more: that is reported, and the
  // listing that follows finds it gone.
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text,
            ErrorReportText(StandardDescription(failure_number::kFileNotFound), kLister, 106));
}

TEST_F(AddFolderTest, AnyOtherListingFailureIsReportedAndTheFolderKept) {
  fs.AddFolder(LR"(D:\Root)");
  fs.AddFolder(LR"(D:\Root\Odd)");
  fs.AddFolder(LR"(D:\Root\Odd\Inner)");
  fs.AddFolder(LR"(D:\Root\Next)");
  fs.AddFolder(LR"(D:\Root\Next\Inner)");
  const Failure odd(-2147024809, L"The parameter is incorrect.");
  fs.subFolderFailures.emplace(LR"(D:\Root\Odd\)", odd);

  EXPECT_EQ(Traverse({LR"(D:\Root\)"}), (Paths{LR"(D:\Root\)", LR"(D:\Root\Odd\)",
                                                LR"(D:\Root\Next\)", LR"(D:\Root\Next\Inner\)"}));
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text,
            ErrorReportText(L"D:\\Root\\Odd\\: The parameter is incorrect.", kLister, 108));
  EXPECT_EQ(boxes.shown[0].title, L"Application Error");
}

TEST_F(AddFolderTest, AFolderReachedAgainThroughALinkIsNotEnteredTwice) {
  // Two links back up the tree: followed, each level would double the paths
  // until they reached the length limit. A third leads to a sibling, a
  // fourth out of the tree.
  fs.AddFolder(LR"(D:\Loop)");
  fs.AddFile(LR"(D:\Loop\a.dwg)");
  fs.AddFolder(LR"(D:\Loop\A)");
  fs.AddFile(LR"(D:\Loop\A\b.dwg)");
  fs.AddLink(LR"(D:\Loop\A\up)", LR"(D:\Loop)", kDir | kReparse);
  fs.AddFolder(LR"(D:\Loop\B)");
  fs.AddFile(LR"(D:\Loop\B\c.dwg)");
  fs.AddLink(LR"(D:\Loop\B\top)", LR"(D:\Loop)");  // as Wine shows a Unix link
  fs.AddLink(LR"(D:\Loop\B\toA)", LR"(D:\Loop\A)", kDir | kReparse);
  fs.AddLink(LR"(D:\Loop\B\out)", LR"(D:\Other)", kDir | kReparse);
  fs.AddFolder(LR"(D:\Other)");
  fs.AddFile(LR"(D:\Other\o.dwg)");
  fs.AddFolder(LR"(D:\Other\Deep)");
  fs.AddFile(LR"(D:\Other\Deep\p.dwg)");

  // A link to a folder the traversal has not met is followed like a folder.
  const Paths folders{LR"(D:\Loop\)", LR"(D:\Loop\A\)", LR"(D:\Loop\B\)",
                      LR"(D:\Loop\B\out\)", LR"(D:\Loop\B\out\Deep\)"};
  EXPECT_EQ(Traverse({LR"(D:\Loop\)"}), folders);
  EXPECT_EQ(TreeFiles(LR"(D:\Loop)", L"*.dwg"),
            (Paths{LR"(D:\Loop\a.dwg)", LR"(D:\Loop\A\b.dwg)", LR"(D:\Loop\B\c.dwg)",
                   LR"(D:\Loop\B\out\o.dwg)", LR"(D:\Loop\B\out\Deep\p.dwg)"}));
  // Started below the loop, the link up is a folder like any other, and
  // the walk stops where it comes round to the start.
  EXPECT_EQ(Traverse({LR"(D:\Loop\A\)"}),
            (Paths{LR"(D:\Loop\A\)", LR"(D:\Loop\A\up\)", LR"(D:\Loop\A\up\B\)",
                   LR"(D:\Loop\A\up\B\out\)", LR"(D:\Loop\A\up\B\out\Deep\)"}));
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(AddFolderTest, NamesWithCharactersTheListerDoesNotFollowAreLeftOut) {
  codePage.withoutCode.insert(L'\xe6');
  codePage.withoutCode.insert(L'\x85');
  fs.AddFolder(LR"(D:\Root)");
  // Japanese, Greek and a letter the code page lacks have no single-byte
  // code: followed like any other name. A control character without a code
  // is still a control character.
  for (const std::wstring name :
       {L"Good", L"bad\x01name", L"del\x7f", L"ctl\x80", L"ctl\x85", L"ctl\x9f", L"what?",
        L"\u65e5\u672c", L"\u03a3\u03c7\u03ad\u03b4\u03b9\u03b1", L"\xe6ther", L"caf\xe9 \xa0",
        L"~tilde"}) {
    fs.AddFolder(LR"(D:\Root\)" + name);
    fs.AddFolder(LR"(D:\Root\)" + name + LR"(\Inner)");
  }
  const Paths followed{L"Good\\", L"\u65e5\u672c\\", L"\u03a3\u03c7\u03ad\u03b4\u03b9\u03b1\\",
                       L"\xe6ther\\", L"caf\xe9 \xa0\\", L"~tilde\\"};
  Paths expected{LR"(D:\Root\)"};
  for (const std::wstring& name : followed) expected.push_back(LR"(D:\Root\)" + name);
  for (const std::wstring& name : followed) expected.push_back(LR"(D:\Root\)" + name + L"Inner\\");
  EXPECT_EQ(Traverse({LR"(D:\Root\)"}), expected);
}

TEST_F(AddFolderTest, PathsFrom260AndNamesFrom260UnitsAreNotFollowed) {
  // "D:\", the padding and "\": the folder's path is `length` units long.
  auto folderOf = [](std::size_t length) {
    return L"D:\\" + std::wstring(length - 4, L'p') + L"\\";
  };
  for (const std::size_t length : {259u, 260u}) {
    SCOPED_TRACE(length);
    MemoryFileSystem tree;
    tree.AddFolder(folderOf(length));
    tree.AddFolder(folderOf(length) + L"c");
    TraversalPorts treePorts{tree, pump, boxes, codePage};
    Paths folders{folderOf(length)};
    GetSubDirectories2016(treePorts, folders, true);
    EXPECT_EQ(folders.size(), length < 260 ? 2u : 1u);
  }

  // Counted in UTF-16 units: a character outside the basic plane takes two.
  const std::wstring wide = L"D:\\" + std::wstring(254, L'p') + L"\U0001F4C1\\";
  fs.AddFolder(wide);
  fs.AddFolder(wide + L"c");
  EXPECT_EQ(Traverse({wide}), (Paths{wide}));

  fs.AddFolder(LR"(D:\Names)");
  fs.AddFolder(LR"(D:\Names\)" + std::wstring(259, L'k'));
  fs.AddFolder(LR"(D:\Names\)" + std::wstring(260, L'l'));
  // The 259-unit name is kept: its own path is too long to be looked into,
  // but it is handed up all the same.
  fs.AddFolder(LR"(D:\Names\)" + std::wstring(259, L'k') + LR"(\Inner)");
  EXPECT_EQ(Traverse({LR"(D:\Names\)"}),
            (Paths{LR"(D:\Names\)", LR"(D:\Names\)" + std::wstring(259, L'k') + L"\\"}));
}

TEST_F(AddFolderTest, YieldsOncePerFolderExaminedPerSubFolderMetAndPerFolderHandedUp) {
  fs.AddFolder(LR"(D:\Root)");
  fs.AddFolder(LR"(D:\Root\A)");
  fs.AddFolder(LR"(D:\Root\A\A1)");
  fs.AddFolder(LR"(D:\Root\Sys)", kDir | kHidden | kSystem);
  fs.AddFolder(L"D:\\Root\\bad\x01");
  fs.AddFile(LR"(D:\plan.dwg)");

  Traverse({LR"(D:\plan.dwg\)", LR"(D:\Root\)"}, false);
  // Root examined (the file is not); A, Sys and the bad name met; A and Sys
  // handed up, since the attribute test comes after the yield.
  EXPECT_EQ(pump.yields, 1 + 3 + 2);

  pump.yields = 0;
  Traverse({LR"(D:\Root\)"});
  const int top = 1 + 3 + 3;     // Root; A, Sys, bad met; A, Sys, A1 handed up
  const int second = 2 + 1 + 1;  // A and Sys examined; A1 met; A1 handed up
  const int third = 1;           // A1 examined
  EXPECT_EQ(pump.yields, top + second + third);
}

TEST(HasBadCharacters, LooksAtEachCharactersSingleByteCode) {
  FakeCodePage codePage;
  codePage.withoutCode.insert(L'\xe6');
  codePage.extraCodes[L'\u20ac'] = 0x80;  // the euro sign, as in Western European Windows
  codePage.extraCodes[L'\u0152'] = 0x8c;
  codePage.extraCodes[L'\u2122'] = 0x99;
  codePage.extraCodes[L'\u0160'] = 0xa0;
  codePage.withoutCode.insert(L'\x85');
  struct Case {
    std::wstring name;
    bool bad;
  };
  const Case cases[] = {
      {L"", false},           {L"Plans 2021", false},   {L"\x1f", true},
      {L" ", false},          {L"~!", false},           {L"\x7e", false},
      {L"\x7f", true},        {L"\x9f", true},          {L"\xa0", false},
      {L"\xff", false},       {L"a?b", true},           {L"\u20ac", true},
      {L"\u0152", true},      {L"\u2122", true},        {L"\u0160", false},
      {L"\t", true},
      // Without a code in the code page: followed, unless a control character.
      {L"\xe6", false},       {L"ok\u65e5", false},     {L"\u0391\u03b8", false},
      {L"\x85", true},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(HasBadCharacters(codePage, cases[i].name), cases[i].bad);
  }
}

// --- GetFilesInFolder -------------------------------------------------------

TEST_F(AddFolderTest, GetFilesInFolderGivesFilesOfEveryKindButNoFolders) {
  fs.AddFolder(LR"(D:\In)");
  fs.AddFile(LR"(D:\In\a.dwg)", kArchive);
  fs.AddFile(LR"(D:\In\h.dwg)", kHidden);
  fs.AddFile(LR"(D:\In\hs.dwg)", kHidden | kSystem);
  fs.AddFile(LR"(D:\In\locked.dwg)");
  fs.AddFile(LR"(D:\In\r.dwg)", kReadOnly | kArchive);
  fs.AddFile(LR"(D:\In\s.dwg)", kSystem);
  fs.AddFolder(LR"(D:\In\sub.dwg)");
  fs.AddFolder(LR"(D:\In\hidden.dwg)", kDir | kHidden | kSystem);
  fs.AddFile(LR"(D:\In\x.txt)");
  fs.AddFile(LR"(D:\In\~lock.dwg)", kHidden | kArchive);
  fs.LockFile(LR"(D:\In\locked.dwg)");

  const Paths expected{L"a.dwg", L"h.dwg", L"hs.dwg", L"r.dwg", L"s.dwg", L"~lock.dwg"};
  EXPECT_EQ(GetFilesInFolder(ports, LR"(D:\In)", L"*.dwg"), expected);
  EXPECT_EQ(GetFilesInFolder(ports, LR"(D:\In\)", L"*.dwg"), expected);
  EXPECT_EQ(fs.findCalls, (Paths{LR"(D:\In\*.dwg)", LR"(D:\In\*.dwg)"}));

  EXPECT_EQ(GetFilesInFolder(ports, LR"(D:\In)", L"*.pdf"), Paths{});
  EXPECT_EQ(GetFilesInFolder(ports, LR"(D:\Missing)", L"*.*"), Paths{});
}

TEST_F(AddFolderTest, GetFilesInFolderGivesEveryMatchOfALargeFolder) {
  fs.AddFolder(LR"(D:\Many)");
  Paths expected;
  for (int i = 0; i < 101; ++i) {
    std::wstring name = std::to_wstring(i);
    name = L"p" + std::wstring(3 - name.size(), L'0') + name + L".dwg";
    fs.AddFile(LR"(D:\Many\)" + name);
    expected.push_back(name);
  }
  const Paths found = GetFilesInFolder(ports, LR"(D:\Many)", L"*.dwg");
  EXPECT_EQ(found.size(), 101u);
  EXPECT_EQ(found, expected);
}

// --- AddFolderTreeFiles -----------------------------------------------------

TEST_F(AddFolderTest, TreeFilesLeavesOutTildeNamesAndExactly34) {
  fs.AddFolder(LR"(D:\Jobs)");
  fs.AddFile(LR"(D:\Jobs\a.dwg)", kArchive);
  fs.AddFile(LR"(D:\Jobs\b.txt)", kArchive);
  fs.AddFile(LR"(D:\Jobs\h.dwg)", kHidden);                          // 2
  fs.AddFile(LR"(D:\Jobs\ha.dwg)", kHidden | kArchive);              // 34
  fs.AddFile(LR"(D:\Jobs\hra.dwg)", kHidden | kReadOnly | kArchive);  // 35
  fs.AddFile(LR"(D:\Jobs\hs.dwg)", kHidden | kSystem | kArchive);    // 38
  fs.AddFile(LR"(D:\Jobs\~a.dwg)", kArchive);
  fs.AddFolder(LR"(D:\Jobs\Sub)");
  fs.AddFile(LR"(D:\Jobs\Sub\c.DWG)");
  fs.AddFolder(LR"(D:\Jobs\Sub\Sys)", kDir | kHidden | kSystem);
  fs.AddFile(LR"(D:\Jobs\Sub\Sys\d.dwg)");
  fs.AddFolder(LR"(D:\Jobs\Hid)", kDir | kHidden);
  fs.AddFile(LR"(D:\Jobs\Hid\e.dwg)");

  EXPECT_EQ(TreeFiles(LR"(D:\Jobs)", L"*.dwg"),
            (Paths{LR"(D:\Jobs\a.dwg)", LR"(D:\Jobs\h.dwg)", LR"(D:\Jobs\hra.dwg)",
                   LR"(D:\Jobs\hs.dwg)", LR"(D:\Jobs\Sub\c.DWG)", LR"(D:\Jobs\Hid\e.dwg)"}));
}

TEST_F(AddFolderTest, TreeFilesAddsWhatIsAlreadyThereAgain) {
  fs.AddFolder(LR"(D:\Jobs)");
  fs.AddFile(LR"(D:\Jobs\a.dwg)");
  JobList list;
  list.Add(LR"(D:\Jobs\a.dwg)");
  AddFolderTreeFiles(ports, list, LR"(D:\Jobs)", L"*.dwg");
  AddFolderTreeFiles(ports, list, LR"(D:\Jobs)", L"*.dwg");
  EXPECT_EQ(Entries(list), (Paths(3, LR"(D:\Jobs\a.dwg)")));
}

TEST_F(AddFolderTest, TreeFilesGivesSingleSeparatorsFromADriveRootOrATrailingSeparator) {
  // A drive root reads as hidden + system on Windows; its whole tree is scanned.
  fs.AddFolder(LR"(C:\)", kDir | kHidden | kSystem);
  fs.AddFile(LR"(C:\a.dwg)");
  fs.AddFolder(LR"(C:\Work)");
  fs.AddFile(LR"(C:\Work\b.dwg)");
  fs.AddFolder(LR"(C:\Work\Deep)");
  fs.AddFile(LR"(C:\Work\Deep\c.dwg)");

  const Paths all{LR"(C:\a.dwg)", LR"(C:\Work\b.dwg)", LR"(C:\Work\Deep\c.dwg)"};
  EXPECT_EQ(TreeFiles(LR"(C:\)", L"*.dwg"), all);
  EXPECT_EQ(TreeFiles(LR"(C:\Work\)", L"*.dwg"), (Paths(all.begin() + 1, all.end())));
}

TEST_F(AddFolderTest, TreeFilesPassesOverFoldersTakenOutAndFilesThatAreHeld) {
  fs.AddFolder(LR"(D:\Jobs)");
  fs.AddFolder(LR"(D:\Jobs\Locked)");
  fs.AddFile(LR"(D:\Jobs\Locked\x.dwg)");
  fs.AddFolder(LR"(D:\Jobs\Later)");
  fs.AddFile(LR"(D:\Jobs\Later\a.dwg)");
  fs.AddFile(LR"(D:\Jobs\Later\held.dwg)");
  fs.AddFile(LR"(D:\Jobs\Later\z.dwg)");
  fs.subFolderFailures.emplace(LR"(D:\Jobs\Locked\)",
                               StandardFailure(failure_number::kPermissionDenied));
  fs.LockFile(LR"(D:\Jobs\Later\held.dwg)");

  EXPECT_EQ(TreeFiles(LR"(D:\Jobs)", L"*.dwg"),
            (Paths{LR"(D:\Jobs\Later\a.dwg)", LR"(D:\Jobs\Later\z.dwg)"}));
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(AddFolderTest, AFolderThatCannotBeReadIsReportedOnceByNameAndTheScanGoesOn) {
  const Failure dropped(-2147024832, L"The specified network name is no longer available.");
  for (const bool listingFailsToo : {false, true}) {
    SCOPED_TRACE(listingFailsToo);
    MemoryFileSystem tree;
    for (const wchar_t* folder : {LR"(D:\Jobs)", LR"(D:\Jobs\A)", LR"(D:\Jobs\B)", LR"(D:\Jobs\C)"}) {
      tree.AddFolder(folder);
    }
    tree.AddFile(LR"(D:\Jobs\A\a.dwg)");
    tree.AddFile(LR"(D:\Jobs\B\b.dwg)");
    tree.AddFile(LR"(D:\Jobs\C\c.dwg)");
    tree.findFailures.emplace(LR"(D:\Jobs\B)", dropped);
    if (listingFailsToo) tree.subFolderFailures.emplace(LR"(D:\Jobs\B\)", dropped);
    RecordingMessageBoxes treeBoxes;
    TraversalPorts treePorts{tree, pump, treeBoxes, codePage};
    JobList list;
    AddFolderTreeFiles(treePorts, list, LR"(D:\Jobs)", L"*.dwg");

    EXPECT_EQ(Entries(list), (Paths{LR"(D:\Jobs\A\a.dwg)", LR"(D:\Jobs\C\c.dwg)"}));
    ASSERT_EQ(treeBoxes.shown.size(), 1u);
    EXPECT_EQ(treeBoxes.shown[0].text,
              ErrorReportText(L"D:\\Jobs\\B\\: The specified network name is no longer available.",
                              kLister, listingFailsToo ? 108 : 128));
    EXPECT_EQ(treeBoxes.shown[0].title, L"Application Error");
  }
}

TEST_F(AddFolderTest, TreeFilesFindsNothingWhenTheStartFolderCannotBeListed) {
  for (const long number : {failure_number::kPermissionDenied, failure_number::kPathNotFound}) {
    SCOPED_TRACE(number);
    MemoryFileSystem tree;
    tree.AddFolder(LR"(D:\Jobs)");
    tree.AddFile(LR"(D:\Jobs\a.dwg)");
    tree.subFolderFailures.emplace(LR"(D:\Jobs\)", StandardFailure(number));
    TraversalPorts treePorts{tree, pump, boxes, codePage};
    JobList list;
    AddFolderTreeFiles(treePorts, list, LR"(D:\Jobs)", L"*.dwg");
    EXPECT_TRUE(list.Empty());
  }
}

TEST_F(AddFolderTest, TreeFilesRaisesWhatTheFileSearchRaises) {
  fs.AddFolder(LR"(D:\Jobs)");
  fs.AddFile(LR"(D:\Jobs\a.dwg)");
  fs.findFailure = StandardFailure(failure_number::kBadFileName);
  JobList list;
  EXPECT_THROW(AddFolderTreeFiles(ports, list, LR"(D:\Jobs)", L"*.<"), Failure);
  EXPECT_TRUE(list.Empty());
}

}  // namespace
}  // namespace pellacore
