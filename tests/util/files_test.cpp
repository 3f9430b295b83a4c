#include "util/files.h"

#include <gtest/gtest.h>

#include "tests/doubles/fake_special_folders.h"
#include "tests/doubles/memory_file_system.h"
#include "tests/doubles/scripted_event_pump.h"
#include "util/failure.h"

namespace pellacore {
namespace {

using testing::FakeSpecialFolders;
using testing::MemoryFileSystem;
using testing::ScriptedEventPump;

TEST(SpecialFolderPath, AnswersThePathANulAndBlanksUpTo512Characters) {
  FakeSpecialFolders folders;
  folders.paths[csidl::kDesktop] = LR"(C:\Users\User\Desktop)";
  const std::wstring buffer = SpecialFolderPath(folders, csidl::kDesktop);
  ASSERT_EQ(buffer.size(), kSpecialFolderBufferLength);
  EXPECT_EQ(buffer.substr(0, 22), std::wstring(LR"(C:\Users\User\Desktop)") + L'\0');
  EXPECT_EQ(buffer.find_first_not_of(L' ', 22), std::wstring::npos);
}

TEST(SpecialFolderPath, AnswersEmptyWhenTheShellGivesNoPath) {
  FakeSpecialFolders folders;
  EXPECT_EQ(SpecialFolderPath(folders, csidl::kDesktop), L"");
  folders.paths[csidl::kDesktop] = L"";
  EXPECT_EQ(SpecialFolderPath(folders, csidl::kDesktop), L"");
}

TEST(DesktopFolderPath, EndsWithASeparator) {
  FakeSpecialFolders folders;
  folders.paths[csidl::kDesktop] = LR"(C:\Users\User\Desktop)";
  EXPECT_EQ(DesktopFolderPath(folders), LR"(C:\Users\User\Desktop\)");
}

TEST(DesktopFolderPath, FailsWithInvalidArgumentWhenTheShellGivesNoPath) {
  FakeSpecialFolders folders;
  try {
    DesktopFolderPath(folders);
    FAIL() << "expected a failure";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.number(), failure_number::kInvalidArgument);
    EXPECT_EQ(failure.description(), L"Invalid procedure call or argument");
  }
}

TEST(FileExists, AnswersWhetherTheTimeCanBeRead) {
  MemoryFileSystem fs;
  fs.AddFile(LR"(C:\Dwg\Plan.dwg)");
  EXPECT_TRUE(FileExists(fs, LR"(C:\Dwg\Plan.dwg)"));
  EXPECT_FALSE(FileExists(fs, LR"(C:\Dwg\Missing.dwg)"));
  EXPECT_FALSE(FileExists(fs, L""));
  fs.lastWriteTimeFailure = StandardFailure(failure_number::kPermissionDenied);
  EXPECT_FALSE(FileExists(fs, LR"(C:\Dwg\Plan.dwg)"));
}

TEST(IsFolder, IsTrueOnlyForFolders) {
  MemoryFileSystem fs;
  fs.AddFolder(LR"(C:\Dwg)");
  fs.AddFile(LR"(C:\Dwg\Plan.dwg)", file_attribute::kArchive | file_attribute::kHidden);
  EXPECT_TRUE(IsFolder(fs, LR"(C:\Dwg)"));
  EXPECT_TRUE(IsFolder(fs, LR"(C:\Dwg\)"));
  EXPECT_FALSE(IsFolder(fs, LR"(C:\Dwg\Plan.dwg)"));
  EXPECT_FALSE(IsFolder(fs, LR"(C:\Missing)"));
  EXPECT_FALSE(IsFolder(fs, L""));
  fs.attributesFailure = StandardFailure(failure_number::kPathNotFound);
  EXPECT_FALSE(IsFolder(fs, LR"(C:\Dwg)"));
}

TEST(DeleteFileQuietly, YieldsOnceBeforeDeleting) {
  MemoryFileSystem fs;
  ScriptedEventPump pump;
  fs.AddFile(LR"(C:\Dwg\Plan.bmp)");
  bool presentDuringYield = false;
  pump.duringYield.push_back([&] { presentDuringYield = fs.Has(LR"(C:\Dwg\Plan.bmp)"); });
  DeleteFileQuietly(fs, pump, LR"(C:\Dwg\Plan.bmp)");
  EXPECT_EQ(pump.yields, 1);
  EXPECT_TRUE(presentDuringYield);
  EXPECT_FALSE(fs.Has(LR"(C:\Dwg\Plan.bmp)"));
  EXPECT_TRUE(fs.forceRemoveCalls.empty());
}

TEST(DeleteFileQuietly, ForcesTheDeletionOfAReadOnlyFile) {
  MemoryFileSystem fs;
  ScriptedEventPump pump;
  fs.AddFile(LR"(C:\Dwg\Plan.bmp)", file_attribute::kReadOnly | file_attribute::kArchive);
  DeleteFileQuietly(fs, pump, LR"(C:\Dwg\Plan.bmp)");
  EXPECT_FALSE(fs.Has(LR"(C:\Dwg\Plan.bmp)"));
  EXPECT_EQ(fs.forceRemoveCalls, std::vector<std::wstring>{LR"(C:\Dwg\Plan.bmp)"});
}

TEST(DeleteFileQuietly, SwallowsEveryFailure) {
  MemoryFileSystem fs;
  ScriptedEventPump pump;
  EXPECT_NO_THROW(DeleteFileQuietly(fs, pump, LR"(C:\Dwg\Missing.bmp)"));
  fs.AddFile(LR"(C:\Dwg\Locked.bmp)");
  fs.removeFailure = StandardFailure(failure_number::kPermissionDenied);
  fs.forceRemoveFailure = StandardFailure(failure_number::kPermissionDenied);
  EXPECT_NO_THROW(DeleteFileQuietly(fs, pump, LR"(C:\Dwg\Locked.bmp)"));
  EXPECT_TRUE(fs.Has(LR"(C:\Dwg\Locked.bmp)"));
  EXPECT_EQ(pump.yields, 2);
}

}  // namespace
}  // namespace pellacore
