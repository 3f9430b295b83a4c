// The file helpers over the real file system.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/windows/scratch_folder.h"
#include "util/failure.h"
#include "util/files.h"
#include "win32/long_paths.h"
#include "win32/unique_resource.h"
#include "win32/win32_event_pump.h"
#include "win32/win32_file_system.h"

namespace pellacore {
namespace {

using testing::ScratchFolder;

class RealFileSystemTest : public ::testing::Test {
 protected:
  ScratchFolder scratch;
  win32::Win32FileSystem fs;
  win32::Win32EventPump pump;
};

long FailureNumberOf(void (*operation)(win32::Win32FileSystem&, const std::wstring&),
                     win32::Win32FileSystem& fs, const std::wstring& path) {
  try {
    operation(fs, path);
  } catch (const Failure& failure) {
    return failure.number();
  }
  return 0;
}

void ReadAttributes(win32::Win32FileSystem& fs, const std::wstring& path) { fs.Attributes(path); }
void Remove(win32::Win32FileSystem& fs, const std::wstring& path) { fs.RemoveFile(path); }
void ForceRemove(win32::Win32FileSystem& fs, const std::wstring& path) { fs.ForceRemoveFile(path); }
void MakeFolder(win32::Win32FileSystem& fs, const std::wstring& path) { fs.CreateFolder(path); }
void WriteReport(win32::Win32FileSystem& fs, const std::wstring& path) { fs.WriteNewFile(path, "report"); }

std::string BytesOf(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST_F(RealFileSystemTest, FileExistsOnFilesFoldersAndMissingPaths) {
  const std::wstring file = scratch.MakeFile(L"Plan.dwg");
  EXPECT_TRUE(FileExists(fs, file));
  EXPECT_FALSE(FileExists(fs, scratch.path() + L"Missing.dwg"));
  EXPECT_FALSE(FileExists(fs, scratch.path() + L"NoFolder\\Plan.dwg"));
  EXPECT_FALSE(FileExists(fs, L""));
  // Hidden and system files still exist.
  EXPECT_TRUE(FileExists(fs, scratch.MakeFile(L"h.dwg", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)));
}

TEST_F(RealFileSystemTest, IsFolderWithAndWithoutTrailingSeparator) {
  const std::wstring folder = scratch.MakeFolder(L"Drawings");
  EXPECT_TRUE(IsFolder(fs, folder));
  EXPECT_TRUE(IsFolder(fs, folder + L"\\"));
  EXPECT_FALSE(IsFolder(fs, scratch.MakeFile(L"Plan.dwg")));
  EXPECT_FALSE(IsFolder(fs, scratch.path() + L"Missing"));
  EXPECT_FALSE(IsFolder(fs, L""));
}

TEST_F(RealFileSystemTest, PathsOutsideTheAnsiCodePageWork) {
  const std::wstring file = scratch.MakeFile(L"Plan-\u03a9-\u65e5\u672c.dwg");
  EXPECT_TRUE(FileExists(fs, file));
  DeleteFileQuietly(fs, pump, file);
  EXPECT_FALSE(FileExists(fs, file));
}

TEST_F(RealFileSystemTest, DeleteFileQuietlyOnMissingAndReadOnlyFiles) {
  EXPECT_NO_THROW(DeleteFileQuietly(fs, pump, scratch.path() + L"Missing.bmp"));
  EXPECT_NO_THROW(DeleteFileQuietly(fs, pump, scratch.path() + L"NoFolder\\Missing.bmp"));

  const std::wstring readOnly = scratch.MakeFile(L"Plan.bmp", FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(FailureNumberOf(Remove, fs, readOnly), failure_number::kPermissionDenied);
  DeleteFileQuietly(fs, pump, readOnly);
  EXPECT_EQ(::GetFileAttributesW(readOnly.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(RealFileSystemTest, DeleteFileQuietlyLeavesAFolderAlone) {
  const std::wstring folder = scratch.MakeFolder(L"Plan.bmp");
  DeleteFileQuietly(fs, pump, folder);
  EXPECT_TRUE(IsFolder(fs, folder));
}

TEST_F(RealFileSystemTest, FailuresCarryTheNumbersTheRulesTellApart) {
  EXPECT_EQ(FailureNumberOf(ReadAttributes, fs, scratch.path() + L"Missing.dwg"),
            failure_number::kFileNotFound);
  EXPECT_EQ(FailureNumberOf(ReadAttributes, fs, scratch.path() + L"NoFolder\\Plan.dwg"),
            failure_number::kPathNotFound);

  // A file held open without sharing cannot be deleted: 70, and a forced
  // deletion puts the read-only bit back when it fails.
  const std::wstring held = scratch.MakeFile(L"Held.bmp", FILE_ATTRIBUTE_READONLY);
  win32::UniqueFile handle(::CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(handle);
  EXPECT_EQ(FailureNumberOf(ForceRemove, fs, held), failure_number::kPermissionDenied);
  EXPECT_NE(::GetFileAttributesW(held.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  handle.reset();
  EXPECT_EQ(FailureNumberOf(ForceRemove, fs, held), 0);
}

TEST_F(RealFileSystemTest, CreateFolderMakesOneFolderAndTakesAnExistingOne) {
  const std::wstring folder = scratch.path() + L"Berichte-\u65e5";
  EXPECT_EQ(FailureNumberOf(MakeFolder, fs, folder), 0);
  EXPECT_TRUE(IsFolder(fs, folder));
  EXPECT_EQ(FailureNumberOf(MakeFolder, fs, folder), 0);
  EXPECT_EQ(FailureNumberOf(MakeFolder, fs, folder + L"\\"), 0);
  EXPECT_EQ(FailureNumberOf(MakeFolder, fs, scratch.MakeFile(L"Taken")), failure_number::kFileExists);
  EXPECT_EQ(FailureNumberOf(MakeFolder, fs, scratch.path() + L"NoFolder\\Reports"), failure_number::kPathNotFound);
}

TEST_F(RealFileSystemTest, WriteNewFileWritesExactlyItsBytesAndReplacesNothing) {
  // Bytes that text mode would change, and more than one write's worth.
  std::string bytes = "\xEF\xBB\xBF" "a,\"b\"\r\n\n\x1A\0end";
  bytes.append(3 << 20, 'x');
  const std::wstring file = scratch.path() + L"Run \u00e4-\u6771.csv";
  fs.WriteNewFile(file, bytes);
  EXPECT_EQ(BytesOf(file), bytes);
  fs.WriteNewFile(scratch.path() + L"empty.csv", "");
  EXPECT_TRUE(FileExists(fs, scratch.path() + L"empty.csv"));

  const std::wstring earlier = scratch.MakeFile(L"earlier.csv");
  EXPECT_EQ(FailureNumberOf(WriteReport, fs, earlier), failure_number::kFileExists);
  EXPECT_EQ(BytesOf(earlier), "pellacore");
  EXPECT_EQ(FailureNumberOf(WriteReport, fs, scratch.MakeFolder(L"folder.csv")), failure_number::kFileExists);
  EXPECT_EQ(FailureNumberOf(WriteReport, fs, scratch.path() + L"NoFolder\\run.csv"), failure_number::kPathNotFound);
}

TEST_F(RealFileSystemTest, EveryOperationTakesPathsOf260CharactersAndMore) {
  // A folder of 250 characters, below the traversal's limit, and a file in
  // it whose path is over 260.
  std::wstring folder = scratch.path();
  folder += std::wstring(250 - folder.size() - 1, L'f');
  fs.CreateFolder(folder);
  const std::wstring file = folder + L"\\" + std::wstring(30, L'n') + L".dwg";
  ASSERT_GE(file.size(), 260u);
  fs.WriteNewFile(file, "drawing");
  EXPECT_EQ(BytesOf(win32::PlatformPath(file)), "drawing");
  EXPECT_EQ(fs.Attributes(file) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_TRUE(FileExists(fs, file));
  EXPECT_TRUE(fs.CanOpenFile(file));
  const std::vector<FoundEntry> found = fs.FindEntries(file);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].name, std::wstring(30, L'n') + L".dwg");

  const std::wstring below = folder + L"\\" + std::wstring(20, L's');
  fs.CreateFolder(below);
  EXPECT_TRUE(IsFolder(fs, below + L"\\"));
  EXPECT_EQ(fs.SubFolderNames(folder), (std::vector<std::wstring>{std::wstring(20, L's')}));
  EXPECT_TRUE(fs.FolderIdentityOf(below).has_value());
  ::SetFileAttributesW(win32::PlatformPath(file).c_str(), FILE_ATTRIBUTE_READONLY);
  DeleteFileQuietly(fs, pump, file);
  EXPECT_FALSE(FileExists(fs, file));
}

TEST_F(RealFileSystemTest, LongPathsArePrefixedFullAndCleanShortOnesLeftAsTheyAre) {
  const std::wstring name(300, L'x');
  EXPECT_EQ(win32::PlatformPath(L"C:\\Dwg\\\\Old\\..\\" + name),
            L"\\\\?\\C:\\Dwg\\" + name);
  EXPECT_EQ(win32::PlatformPath(L"\\\\server\\share\\" + name),
            L"\\\\?\\UNC\\server\\share\\" + name);
  EXPECT_EQ(win32::PlatformPath(L"\\\\?\\C:\\" + name), L"\\\\?\\C:\\" + name);
  // Below the limit nothing changes, the doubled separator included.
  const std::wstring shorter = L"C:\\Dwg\\\\" + std::wstring(250, L'y');
  EXPECT_EQ(win32::PlatformPath(shorter), shorter);
  EXPECT_EQ(win32::PlatformPath(shorter, win32::kCreateFolderPathLimit).substr(0, 12),
            L"\\\\?\\C:\\Dwg\\y");
}

}  // namespace
}  // namespace pellacore
