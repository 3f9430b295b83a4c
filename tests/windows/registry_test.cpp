// The PDF printer's hand-off values in the real registry, written through the
// ANSI API as single-byte text.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <type_traits>

#include "win32/unique_resource.h"
#include "win32/win32_code_page.h"
#include "win32/win32_registry.h"

namespace pellacore {
namespace {

constexpr wchar_t kParentKey[] = L"Software\\Pellacore Tests";
constexpr wchar_t kKeyPath[] = L"Software\\Pellacore Tests\\PDF Writer";
constexpr std::uint32_t kAllAccess = 0x3F;  // KEY_ALL_ACCESS without the standard rights

// A value as RegQueryValueExA (char) or RegQueryValueExW (wchar_t) answers it.
template <class Char>
struct Value {
  DWORD type = REG_NONE;
  DWORD bytes = 0;
  std::basic_string<Char> data;
};

template <class Char>
Value<Char> Read(const std::wstring& keyPath, const Char* name) {
  Value<Char> value;
  win32::UniqueHkey key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
    return value;
  }
  Char data[256] = {};
  value.bytes = sizeof(data);
  auto* bytes = reinterpret_cast<BYTE*>(data);
  LSTATUS status;
  if constexpr (std::is_same_v<Char, char>) {
    status = ::RegQueryValueExA(key.get(), name, nullptr, &value.type, bytes, &value.bytes);
  } else {
    status = ::RegQueryValueExW(key.get(), name, nullptr, &value.type, bytes, &value.bytes);
  }
  if (status != ERROR_SUCCESS) return {};
  value.data.assign(data, value.bytes / sizeof(Char));
  return value;
}

class Win32RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kParentKey); }
  void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kParentKey); }

  static bool KeyExists(const std::wstring& path) {
    win32::UniqueHkey key;
    return ::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
  }

  win32::Win32Registry registry;
};

// The system, not the adapter, counts a terminator: RegSetValueExA adds one
// to a REG_SZ length when the byte after the data is NUL (NT does so, and
// Wine with it). Text passed with its own length is stored with one NUL.
TEST_F(Win32RegistryTest, CreatesTheMissingKeyAndWritesTheTextWithTheSystemsTerminator) {
  ASSERT_FALSE(KeyExists(kParentKey));
  const auto key = registry.CreateCurrentUserKey(kKeyPath, kAllAccess);
  ASSERT_NE(key, nullptr);
  EXPECT_TRUE(KeyExists(kKeyPath));

  const std::string path = "C:\\Users\\Drafter\\Output\\Plans\\A-1010.pdf";
  ASSERT_EQ(path.size(), 40u);
  EXPECT_TRUE(key->SetStringValue(L"OutputFile", path, 40));
  EXPECT_TRUE(key->SetStringValue(L"BypassSaveAs", "1", 1));

  const auto output = Read(kKeyPath, "OutputFile");
  EXPECT_EQ(output.type, DWORD{REG_SZ});
  EXPECT_EQ(output.bytes, 41u);
  EXPECT_EQ(output.data, path + '\0');
  const auto bypass = Read(kKeyPath, "BypassSaveAs");
  EXPECT_EQ(bypass.type, DWORD{REG_SZ});
  EXPECT_EQ(bypass.bytes, 2u);
  EXPECT_EQ(bypass.data, std::string("1\0", 2));
  const auto wide = Read(kKeyPath, L"OutputFile");
  EXPECT_EQ(wide.type, DWORD{REG_SZ});
  EXPECT_EQ(wide.bytes, 82u);
  EXPECT_EQ(wide.data, std::wstring(L"C:\\Users\\Drafter\\Output\\Plans\\A-1010.pdf") + L'\0');
}

TEST_F(Win32RegistryTest, TheLengthGivenIsTheLengthPassedAndASecondWriteReplacesTheFirst) {
  {
    const auto key = registry.CreateCurrentUserKey(kKeyPath, kAllAccess);
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(key->SetStringValue(L"OutputFile", "C:\\Output\\A much longer first name.pdf", 38));
  }
  const auto again = registry.CreateCurrentUserKey(kKeyPath, kAllAccess);
  ASSERT_NE(again, nullptr);
  // Shorter than the text: exactly that many bytes, and no terminator since
  // the next byte is not NUL.
  EXPECT_TRUE(again->SetStringValue(L"OutputFile", "C:\\B.pdf-and-more", 8));
  const auto value = Read(kKeyPath, "OutputFile");
  EXPECT_EQ(value.bytes, 8u);
  EXPECT_EQ(value.data, "C:\\B.pdf");
  // Longer than the text: zeros after it, never what lies beyond.
  EXPECT_TRUE(again->SetStringValue(L"BypassSaveAs", "1", 3));
  EXPECT_EQ(Read(kKeyPath, "BypassSaveAs").data, std::string("1\0\0", 3));
}

TEST_F(Win32RegistryTest, TextOfTheAnsiCodePageReadsBackAsTheSameCharacters) {
  win32::Win32CodePage codePage;
  if (!codePage.SingleByteCode(L'\u00fc')) {
    GTEST_SKIP() << "the ANSI code page " << ::GetACP() << " has no \u00fc";
  }
  const std::wstring subKey = L"Software\\Pellacore Tests\\Z\u00fcrich";
  const auto key = registry.CreateCurrentUserKey(subKey, kAllAccess);
  ASSERT_NE(key, nullptr);
  EXPECT_TRUE(KeyExists(subKey));

  const std::wstring path = L"C:\\Ausgabe\\Z\u00fcrich\\Stra\u00dfe.pdf";
  const std::string ansi = codePage.ToAnsi(path);
  ASSERT_EQ(ansi.size(), path.size());
  EXPECT_TRUE(key->SetStringValue(L"OutputFile", ansi, static_cast<std::uint32_t>(ansi.size())));

  EXPECT_EQ(Read(subKey, L"OutputFile").data, path + L'\0');
}

TEST_F(Win32RegistryTest, RefusalsAnswerNullOrFalse) {
  // A key name part longer than the registry allows.
  const std::wstring tooLong = L"Software\\Pellacore Tests\\" + std::wstring(300, L'k');
  EXPECT_EQ(registry.CreateCurrentUserKey(tooLong, kAllAccess), nullptr);
  // Opened for reading only: the system refuses the write.
  ASSERT_NE(registry.CreateCurrentUserKey(kKeyPath, kAllAccess), nullptr);
  const auto readOnly = registry.CreateCurrentUserKey(kKeyPath, KEY_QUERY_VALUE);
  ASSERT_NE(readOnly, nullptr);
  EXPECT_FALSE(readOnly->SetStringValue(L"OutputFile", "C:\\B.pdf", 8));
  EXPECT_EQ(Read(kKeyPath, "OutputFile").type, DWORD{REG_NONE});
}

}  // namespace
}  // namespace pellacore
