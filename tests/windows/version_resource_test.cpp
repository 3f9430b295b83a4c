// The version resource of the built pellacore.exe, read back as Explorer's
// Details tab reads it: the numbers are the project's version from CMake.

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "tests/windows/program_folder_fixture.h"
#include "util/text.h"

namespace pellacore {
namespace {

using testing::WindowsPathOf;

class VersionResource : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::wstring exe = WindowsPathOf(PELLACORE_EXE_DIR) + L"\\pellacore.exe";
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource in " << NarrowForTest(exe) << ", error "
                        << ::GetLastError();
    block_.resize(size);
    ASSERT_TRUE(::GetFileVersionInfoW(exe.c_str(), 0, size, block_.data()));
  }

  static std::string NarrowForTest(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text) narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return narrow;
  }

  // A value of the US English, Unicode string table; none when it is absent.
  std::optional<std::wstring> String(const wchar_t* name) {
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block_.data(), path.c_str(), &value, &length) || value == nullptr) {
      return std::nullopt;
    }
    const auto* text = static_cast<const wchar_t*>(value);
    // A reader that stops at the first null must see the whole value.
    std::wstring answer(text, length);
    while (!answer.empty() && answer.back() == L'\0') answer.pop_back();
    EXPECT_EQ(std::wcslen(text), answer.size()) << NarrowForTest(name) << " is not null-terminated";
    return answer;
  }

  const VS_FIXEDFILEINFO* Fixed() {
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block_.data(), L"\\", &value, &length)) return nullptr;
    if (length < sizeof(VS_FIXEDFILEINFO)) return nullptr;
    return static_cast<const VS_FIXEDFILEINFO*>(value);
  }

  std::vector<unsigned char> block_;
};

// "1.2.3.4" as the two DWORDs of a fixed version: 1.2 high, 3.4 low.
std::array<DWORD, 2> VersionWords(const char* text) {
  unsigned parts[4] = {};
  EXPECT_EQ(std::sscanf(text, "%u.%u.%u.%u", &parts[0], &parts[1], &parts[2], &parts[3]), 4) << text;
  return {parts[0] << 16 | parts[1], parts[2] << 16 | parts[3]};
}

TEST_F(VersionResource, NamesTheProgram) {
  EXPECT_EQ(String(L"ProductName"), std::wstring(L"Pellacore"));
  EXPECT_EQ(String(L"CompanyName"), std::wstring(L"Pellacore"));
  EXPECT_EQ(String(L"OriginalFilename"), std::wstring(L"pellacore.exe"));
  EXPECT_EQ(String(L"InternalName"), std::wstring(L"pellacore"));
  EXPECT_EQ(String(L"FileDescription"), WidenAscii(PELLACORE_PROJECT_DESCRIPTION));
  const std::optional<std::wstring> copyright = String(L"LegalCopyright");
  ASSERT_TRUE(copyright);
  EXPECT_NE(copyright->find(L"Pellacore developers"), std::wstring::npos);
}

TEST_F(VersionResource, StringVersionsAreTheProjectVersion) {
  EXPECT_EQ(String(L"FileVersion"), WidenAscii(PELLACORE_FILE_VERSION));
  EXPECT_EQ(String(L"ProductVersion"), WidenAscii(PELLACORE_PROJECT_VERSION));
  // The file version is the project's version with Windows' fourth part.
  EXPECT_EQ(WidenAscii(PELLACORE_FILE_VERSION).rfind(WidenAscii(PELLACORE_PROJECT_VERSION) + L".", 0),
            0u);
}

TEST_F(VersionResource, FixedNumbersAreTheProjectVersion) {
  const VS_FIXEDFILEINFO* fixed = Fixed();
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  const std::array<DWORD, 2> version = VersionWords(PELLACORE_FILE_VERSION);
  EXPECT_EQ(fixed->dwFileVersionMS, version[0]);
  EXPECT_EQ(fixed->dwFileVersionLS, version[1]);
  EXPECT_EQ(fixed->dwProductVersionMS, version[0]);
  EXPECT_EQ(fixed->dwProductVersionLS, version[1]);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u) << "a release is no debug or pre-release build";
}

TEST_F(VersionResource, TranslationNamesTheUsEnglishUnicodeTable) {
  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueW(block_.data(), L"\\VarFileInfo\\Translation", &value, &length));
  ASSERT_GE(length, 4u);
  const auto* pair = static_cast<const WORD*>(value);
  EXPECT_EQ(pair[0], 0x0409);  // US English
  EXPECT_EQ(pair[1], 1200);    // UTF-16
}

}  // namespace
}  // namespace pellacore
