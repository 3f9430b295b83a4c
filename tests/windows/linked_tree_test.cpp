// The folder traversal over what only the Unix side can make
// (tests/windows/unix_links.sh runs these): a tree whose symbolic links lead
// back up it, and a drive letter mapped to a folder of the test's own.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "joblist/add_folder.h"
#include "joblist/job_list.h"
#include "tests/doubles/recording_message_boxes.h"
#include "win32/win32_code_page.h"
#include "win32/win32_event_pump.h"
#include "win32/win32_file_system.h"

namespace pellacore {
namespace {

using Paths = std::vector<std::wstring>;

std::wstring FromEnvironment(const wchar_t* name) {
  wchar_t value[1024] = {};
  const DWORD length = ::GetEnvironmentVariableW(name, value, 1024);
  return length > 0 && length < 1024 ? std::wstring(value, length) : std::wstring();
}

void MakeFile(const std::wstring& path) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot make " << ::testing::PrintToString(path);
  ::CloseHandle(file);
}

class LinkedTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tree = FromEnvironment(L"PELLACORE_LINKED_TREE");
    drive = FromEnvironment(L"PELLACORE_SCRATCH_DRIVE");
    ASSERT_FALSE(tree.empty() || drive.empty()) << "run through tests/windows/unix_links.sh";
  }

  Paths TreeFiles(const std::wstring& start) {
    JobList list;
    AddFolderTreeFiles(ports, list, start, L"*.dwg");
    Paths added;
    for (std::size_t i = 1; i <= list.Count(); ++i) added.push_back(list.Text(i));
    return added;
  }

  std::wstring tree;
  std::wstring drive;
  win32::Win32FileSystem fs;
  win32::Win32EventPump pump;
  testing::RecordingMessageBoxes boxes;
  win32::Win32CodePage codePage;
  TraversalPorts ports{fs, pump, boxes, codePage};
};

TEST_F(LinkedTreeTest, EachFolderOfATreeWithLinksBackUpIsEnteredOnce) {
  MakeFile(tree + L"\\a.dwg");
  MakeFile(tree + L"\\A\\b.dwg");
  MakeFile(tree + L"\\B\\c.dwg");
  // Wine shows a Unix link to a folder as a folder with the reparse-point
  // bit (1040), not 1046: the attribute rule would follow it. The folder it
  // leads to is the same one by its identity.
  EXPECT_EQ(fs.Attributes(tree + L"\\A\\up"),
            static_cast<std::uint32_t>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
  ASSERT_TRUE(fs.FolderIdentityOf(tree).has_value());
  EXPECT_EQ(fs.FolderIdentityOf(tree + L"\\A\\up\\B\\up"), fs.FolderIdentityOf(tree));
  EXPECT_NE(fs.FolderIdentityOf(tree + L"\\A"), fs.FolderIdentityOf(tree));

  // Followed, the two links would double the paths at every level until
  // they reached 260 characters.
  EXPECT_EQ(TreeFiles(tree), (Paths{tree + L"\\a.dwg", tree + L"\\A\\b.dwg", tree + L"\\B\\c.dwg"}));
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(LinkedTreeTest, ADriveRootIsNoEntryOfASearchButIsScannedWithSingleSeparators) {
  const std::wstring root = drive + L"\\";
  MakeFile(root + L"r.dwg");
  ASSERT_TRUE(::CreateDirectoryW((root + L"Sub").c_str(), nullptr));
  MakeFile(root + L"Sub\\s.dwg");
  // Why a dropped root needs its attributes read: no search finds it.
  EXPECT_TRUE(fs.FindEntries(root).empty());
  EXPECT_NE(fs.Attributes(root) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_EQ(TreeFiles(root), (Paths{root + L"r.dwg", root + L"Sub\\s.dwg"}));
  EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
}  // namespace pellacore
