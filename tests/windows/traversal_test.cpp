// The folder traversal over real files, through the real adapters.
//
// Wine keeps the archive bit on every file and drops it (and read-only) on
// folders, so what a folder or file ends up with is read back and the
// expectations follow from that, as they would from what Windows reports.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "joblist/add_folder.h"
#include "joblist/job_list.h"
#include "tests/windows/scratch_folder.h"
#include "util/failure.h"
#include "win32/unique_resource.h"
#include "win32/win32_code_page.h"
#include "win32/win32_event_pump.h"
#include "win32/win32_file_system.h"
#include "win32/win32_message_boxes.h"

namespace pellacore {
namespace {

using testing::ScratchFolder;
using Paths = std::vector<std::wstring>;

// Closes every message box this process shows while it lives and keeps
// their texts: an unexpected error report fails the test instead of waiting
// for a user who never comes.
class BoxCloser {
 public:
  BoxCloser() : watcher_([this] { Watch(); }) {}
  ~BoxCloser() { Finish(); }

  // Stops watching and answers the texts of the boxes it closed.
  Paths Finish() {
    stop_ = true;
    if (watcher_.joinable()) watcher_.join();
    return texts_;
  }

 private:
  void Watch() {
    while (!stop_) {
      if (HWND box = FindBox()) {
        wchar_t text[2048] = {};
        ::GetWindowTextW(::GetDlgItem(box, 0xFFFF), text, 2048);
        texts_.push_back(text);
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        while (!stop_ && ::IsWindow(box)) ::Sleep(20);
      }
      ::Sleep(20);
    }
  }

  static HWND FindBox() {
    HWND found = nullptr;
    ::EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
          DWORD process = 0;
          ::GetWindowThreadProcessId(window, &process);
          wchar_t className[16] = {};
          ::GetClassNameW(window, className, 16);
          if (process != ::GetCurrentProcessId() || !::IsWindowVisible(window) ||
              std::wstring(className) != L"#32770") {
            return TRUE;
          }
          *reinterpret_cast<HWND*>(context) = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
  }

  Paths texts_;
  std::atomic<bool> stop_{false};
  std::thread watcher_;
};

class TraversalTest : public ::testing::Test {
 protected:
  ScratchFolder scratch;
  win32::Win32FileSystem fs;
  win32::Win32EventPump pump;
  win32::Win32MessageBoxes boxes;
  win32::Win32CodePage codePage;
  TraversalPorts ports{fs, pump, boxes, codePage};

  DWORD AttributesOf(const std::wstring& name) {
    return ::GetFileAttributesW((scratch.path() + name).c_str());
  }

  std::wstring Folder(const std::wstring& name, DWORD attributes = 0) {
    const std::wstring path = scratch.MakeFolder(name);
    if (attributes) ::SetFileAttributesW(path.c_str(), attributes);
    return path;
  }

  long SubFolderFailure(const std::wstring& folder) {
    try {
      fs.SubFolderNames(folder);
    } catch (const Failure& failure) {
      return failure.number();
    }
    return 0;
  }
};

TEST_F(TraversalTest, TreeFilesGivesExactlyTheFilesTheRulesKeepLevelByLevel) {
  // Names sort the same in every letter case, so the system's order is the
  // alphabetical one.
  Folder(L"Tree");
  scratch.MakeFile(L"Tree\\a.dwg");
  scratch.MakeFile(L"Tree\\b.dwg", FILE_ATTRIBUTE_HIDDEN);
  scratch.MakeFile(L"Tree\\c.dwg", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
  scratch.MakeFile(L"Tree\\d.dwg", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY |
                                       FILE_ATTRIBUTE_ARCHIVE);
  scratch.MakeFile(L"Tree\\e.dwg", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  scratch.MakeFile(L"Tree\\f.txt");
  scratch.MakeFile(L"Tree\\~g.dwg");
  Folder(L"Tree\\hidden", FILE_ATTRIBUTE_HIDDEN);
  scratch.MakeFile(L"Tree\\hidden\\h.dwg");
  Folder(L"Tree\\hidden\\inner");
  scratch.MakeFile(L"Tree\\hidden\\inner\\i.dwg");
  Folder(L"Tree\\k.dwg");
  Folder(L"Tree\\many");
  for (int i = 0; i < 101; ++i) {
    std::wstring number = std::to_wstring(i);
    scratch.MakeFile(L"Tree\\many\\m" + std::wstring(3 - number.size(), L'0') + number + L".dwg");
  }
  Folder(L"Tree\\plain");
  scratch.MakeFile(L"Tree\\plain\\p.dwg");
  scratch.MakeFile(L"Tree\\plain\\~q.dwg", FILE_ATTRIBUTE_HIDDEN);
  Folder(L"Tree\\sysarch",
         FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
  scratch.MakeFile(L"Tree\\sysarch\\t.dwg");
  Folder(L"Tree\\system", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  scratch.MakeFile(L"Tree\\system\\s.dwg");
  Folder(L"Tree\\system\\under");
  scratch.MakeFile(L"Tree\\system\\under\\u.dwg");

  // What both platforms keep as set.
  ASSERT_EQ(AttributesOf(L"Tree\\hidden"), 18u);
  ASSERT_EQ(AttributesOf(L"Tree\\system"), 22u);
  ASSERT_EQ(AttributesOf(L"Tree\\c.dwg"), 34u);
  ASSERT_EQ(AttributesOf(L"Tree\\d.dwg"), 35u);
  // Windows keeps 2 and 54; Wine reads back 34 and 22.
  const bool hiddenFileKept = AttributesOf(L"Tree\\b.dwg") != 34;
  const DWORD sysarch = AttributesOf(L"Tree\\sysarch");
  const bool sysarchFollowed = sysarch != 22 && sysarch != 1046;

  const std::wstring tree = scratch.path() + L"Tree\\";
  Paths expected{tree + L"a.dwg"};
  if (hiddenFileKept) expected.push_back(tree + L"b.dwg");
  expected.push_back(tree + L"d.dwg");
  expected.push_back(tree + L"e.dwg");
  expected.push_back(tree + L"hidden\\h.dwg");
  for (int i = 0; i < 101; ++i) {
    std::wstring number = std::to_wstring(i);
    expected.push_back(tree + L"many\\m" + std::wstring(3 - number.size(), L'0') + number +
                       L".dwg");
  }
  expected.push_back(tree + L"plain\\p.dwg");
  if (sysarchFollowed) expected.push_back(tree + L"sysarch\\t.dwg");
  expected.push_back(tree + L"hidden\\inner\\i.dwg");

  BoxCloser closer;
  for (const bool trailingSeparator : {false, true}) {
    SCOPED_TRACE(trailingSeparator);
    const std::wstring start = scratch.path() + (trailingSeparator ? L"Tree\\" : L"Tree");
    JobList list;
    AddFolderTreeFiles(ports, list, start, L"*.dwg");
    Paths added;
    for (std::size_t i = 1; i <= list.Count(); ++i) added.push_back(list.Text(i));
    EXPECT_EQ(added, expected);
  }
  EXPECT_EQ(closer.Finish(), Paths{});
}

TEST_F(TraversalTest, FoldersNamedInAnyScriptAndFilesPastTheLengthLimitAreAdded) {
  // Neither Japanese nor Greek has a code in the test prefix's code page.
  const std::wstring japanese = L"\u56f3\u9762";
  const std::wstring greek = L"\u03a3\u03c7\u03ad\u03b4\u03b9\u03b1";
  Folder(L"Scripts");
  Folder(L"Scripts\\" + japanese);
  scratch.MakeFile(L"Scripts\\" + japanese + L"\\a.dwg");
  Folder(L"Scripts\\" + greek);
  scratch.MakeFile(L"Scripts\\" + greek + L"\\b.dwg");
  Folder(L"Scripts\\" + greek + L"\\" + japanese);
  scratch.MakeFile(L"Scripts\\" + greek + L"\\" + japanese + L"\\c.dwg");
  // A folder of 250 characters is followed; a file in it may be longer.
  const std::wstring scripts = scratch.path() + L"Scripts\\";
  const std::wstring deep = scripts + std::wstring(250 - scripts.size(), L'd');
  fs.CreateFolder(deep);
  const std::wstring longFile = deep + L"\\" + std::wstring(20, L'n') + L".dwg";
  fs.WriteNewFile(longFile, "drawing");

  BoxCloser closer;
  JobList list;
  AddFolderTreeFiles(ports, list, scratch.path() + L"Scripts", L"*.dwg");
  Paths added;
  for (std::size_t i = 1; i <= list.Count(); ++i) added.push_back(list.Text(i));
  std::sort(added.begin(), added.end());
  Paths expected{scripts + japanese + L"\\a.dwg", scripts + greek + L"\\b.dwg",
                 scripts + greek + L"\\" + japanese + L"\\c.dwg", longFile};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(added, expected);
  EXPECT_EQ(closer.Finish(), Paths{});
}

TEST_F(TraversalTest, GetFilesInFolderGivesHiddenSystemAndTildeFilesButNoFolders) {
  Folder(L"In");
  scratch.MakeFile(L"In\\a.dwg");
  scratch.MakeFile(L"In\\b.dwg", FILE_ATTRIBUTE_HIDDEN);
  scratch.MakeFile(L"In\\c.dwg", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
  scratch.MakeFile(L"In\\d.txt");
  Folder(L"In\\e.dwg");
  scratch.MakeFile(L"In\\~f.dwg", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);

  EXPECT_EQ(GetFilesInFolder(ports, scratch.path() + L"In", L"*.dwg"),
            (Paths{L"a.dwg", L"b.dwg", L"c.dwg", L"~f.dwg"}));
  EXPECT_EQ(GetFilesInFolder(ports, scratch.path() + L"In\\", L"*.pdf"), Paths{});
}

TEST_F(TraversalTest, SubFolderNamesListsFoldersOnlyAndFailsWith76WhenTheFolderIsNotThere) {
  Folder(L"Top");
  Folder(L"Top\\one");
  Folder(L"Top\\two", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  scratch.MakeFile(L"Top\\three.dwg");
  Folder(L"Empty");

  const std::wstring top = scratch.path() + L"Top";
  EXPECT_EQ(fs.SubFolderNames(top), (Paths{L"one", L"two"}));
  EXPECT_EQ(fs.SubFolderNames(top + L"\\"), (Paths{L"one", L"two"}));
  EXPECT_EQ(fs.SubFolderNames(scratch.path() + L"Empty\\"), Paths{});

  EXPECT_EQ(SubFolderFailure(scratch.path() + L"Missing\\"), failure_number::kPathNotFound);
  EXPECT_EQ(SubFolderFailure(scratch.path() + L"Missing\\Below"), failure_number::kPathNotFound);
}

TEST_F(TraversalTest, FileIsPresentOnlyForFilesThatOpen) {
  const std::wstring file =
      scratch.MakeFile(L"plan.dwg", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                        FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(FileIsPresent(fs, file));
  // Opening with no access rights is not refused by another program that
  // holds the file without sharing it.
  const std::wstring held = scratch.MakeFile(L"held.dwg");
  const win32::UniqueFile holder(::CreateFileW(held.c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                               nullptr));
  ASSERT_TRUE(holder);
  EXPECT_TRUE(FileIsPresent(fs, held));
  EXPECT_FALSE(FileIsPresent(fs, Folder(L"Folder")));
  EXPECT_FALSE(FileIsPresent(fs, scratch.path() + L"Folder\\"));
  EXPECT_FALSE(FileIsPresent(fs, scratch.path() + L"missing.dwg"));
  EXPECT_FALSE(FileIsPresent(fs, scratch.path() + L"Missing\\plan.dwg"));
}

TEST_F(TraversalTest, TheSystemCodePageTellsBadCharacters) {
  EXPECT_EQ(codePage.SingleByteCode(L'A'), 'A');
  EXPECT_EQ(codePage.SingleByteCode(L'?'), '?');
  EXPECT_EQ(codePage.SingleByteCode(L'\x01'), 1);
  EXPECT_TRUE(HasBadCharacters(codePage, L"bad\x01name"));
  EXPECT_TRUE(HasBadCharacters(codePage, L"bad\x7fname"));
  EXPECT_FALSE(HasBadCharacters(codePage, L"Plans 2021"));
  // A lone half of a surrogate pair has no code in any code page.
  EXPECT_EQ(codePage.SingleByteCode(static_cast<wchar_t>(0xD800)), std::nullopt);
}

TEST_F(TraversalTest, TheWesternEuropeanCodePageKeepsItsOwnCharactersAndNoLookAlikes) {
  if (::GetACP() != 1252) GTEST_SKIP() << "the system code page is " << ::GetACP();
  EXPECT_EQ(codePage.SingleByteCode(L'\xe9'), 0xe9);
  EXPECT_EQ(codePage.SingleByteCode(L'\u20ac'), 0x80);  // euro sign: among 127-159
  EXPECT_TRUE(HasBadCharacters(codePage, L"\u20ac costs"));
  EXPECT_FALSE(HasBadCharacters(codePage, L"caf\xe9"));
  // Best fit would give "A"; without it there is no code.
  EXPECT_EQ(codePage.SingleByteCode(L'\u0100'), std::nullopt);
  EXPECT_EQ(codePage.SingleByteCode(L'\u65e5'), std::nullopt);
}

}  // namespace
}  // namespace pellacore
