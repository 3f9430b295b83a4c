// The desktop folder as the real shell gives it.

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/special_folders.h"
#include "util/files.h"
#include "win32/win32_file_system.h"
#include "win32/win32_special_folders.h"

namespace pellacore {
namespace {

TEST(RealSpecialFolders, DesktopFolderPathEndsWithASeparatorAndNamesAFolder) {
  win32::Win32SpecialFolders folders;
  win32::Win32FileSystem fs;
  const std::wstring desktop = DesktopFolderPath(folders);
  ASSERT_GE(desktop.size(), 4u);
  EXPECT_EQ(desktop.back(), L'\\');
  EXPECT_NE(desktop[desktop.size() - 2], L'\\');
  EXPECT_TRUE(IsFolder(fs, desktop));
  EXPECT_EQ(SpecialFolderPath(folders, csidl::kDesktop).size(), kSpecialFolderBufferLength);
}

TEST(RealSpecialFolders, LocalApplicationDataIsTheUsersLocalFolder) {
  win32::Win32SpecialFolders folders;
  win32::Win32FileSystem fs;
  wchar_t expected[MAX_PATH] = {};
  ASSERT_GT(::GetEnvironmentVariableW(L"LOCALAPPDATA", expected, MAX_PATH), 0u);
  const std::optional<std::wstring> local = folders.FolderPath(csidl::kLocalAppData);
  ASSERT_TRUE(local);
  EXPECT_EQ(::lstrcmpiW(local->c_str(), expected), 0) << *local << " " << expected;
  EXPECT_TRUE(IsFolder(fs, *local));
}

TEST(RealSpecialFolders, AnUnknownFolderHasNoPath) {
  win32::Win32SpecialFolders folders;
  EXPECT_EQ(folders.FolderPath(0x7FFF), std::nullopt);
  EXPECT_EQ(SpecialFolderPath(folders, 0x7FFF), L"");
}

}  // namespace
}  // namespace pellacore
