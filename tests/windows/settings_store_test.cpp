// The settings store in the real registry.

#include <windows.h>

#include <gtest/gtest.h>

#include "util/failure.h"
#include "util/settings.h"
#include "win32/registry_settings_store.h"
#include "win32/unique_resource.h"

namespace pellacore {
namespace {

constexpr wchar_t kSettingsKeyPath[] = L"Software\\VB and VBA Program Settings\\Kelvandor\\Pellacore";

class RegistrySettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKeyPath); }
  void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKeyPath); }

  // The value as the registry holds it: its type and its bytes.
  static std::pair<DWORD, std::wstring> RawValue(const wchar_t* name) {
    win32::UniqueHkey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKeyPath, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
      return {REG_NONE, L"<no key>"};
    }
    DWORD type = REG_NONE;
    wchar_t data[512] = {};
    DWORD bytes = sizeof(data);
    if (::RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data), &bytes) !=
        ERROR_SUCCESS) {
      return {REG_NONE, L"<no value>"};
    }
    return {type, std::wstring(data, bytes / sizeof(wchar_t))};
  }

  win32::RegistrySettingsStore store{kSettingsApplication, kSettingsSection};
};

TEST_F(RegistrySettingsStoreTest, UsesTheProgramSettingsKeyOfEarlierInstallations) {
  EXPECT_EQ(store.keyPath(), kSettingsKeyPath);
}

TEST_F(RegistrySettingsStoreTest, WritesOneNulTerminatedRegSzValuePerKey) {
  store.Write(setting_key::kLocation, L"C:\\Out\\");
  store.Write(setting_key::kOption1, L"True");
  EXPECT_EQ(RawValue(L"Location"), std::make_pair(DWORD{REG_SZ}, std::wstring(L"C:\\Out\\\0", 8)));
  EXPECT_EQ(RawValue(L"Option1"), std::make_pair(DWORD{REG_SZ}, std::wstring(L"True\0", 5)));
}

TEST_F(RegistrySettingsStoreTest, AbsentKeysGiveTheDefaultAndEmptyValuesStayEmpty) {
  EXPECT_EQ(store.Read(setting_key::kExtension), std::nullopt);
  EXPECT_EQ(ReadSetting(store, setting_key::kExtension, L"dwg"), L"dwg");
  store.Write(setting_key::kLocation, L"");
  EXPECT_EQ(store.Read(setting_key::kLocation), std::wstring());
  EXPECT_EQ(ReadSetting(store, setting_key::kLocation, L"C:\\Desktop\\"), L"");
  EXPECT_EQ(ReadSetting(store, setting_key::kExtension, L"dwg"), L"dwg");
}

TEST_F(RegistrySettingsStoreTest, ValuesRoundTripAndReplaceEarlierOnes) {
  store.Write(setting_key::kLastFolder, L"D:\\Proj\u00e9ct \u65e5\u672c\\");
  EXPECT_EQ(store.Read(setting_key::kLastFolder), L"D:\\Proj\u00e9ct \u65e5\u672c\\");
  const std::wstring longValue(5000, L'x');
  store.Write(setting_key::kLastFolder, longValue);
  EXPECT_EQ(store.Read(setting_key::kLastFolder), longValue);
}

TEST_F(RegistrySettingsStoreTest, AValueOfAnotherTypeIsAFailure) {
  win32::UniqueHkey key;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              key.put(), nullptr),
            ERROR_SUCCESS);
  const DWORD one = 1;
  ::RegSetValueExW(key.get(), L"Option1", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4);
  EXPECT_THROW(store.Read(setting_key::kOption1), Failure);
}

}  // namespace
}  // namespace pellacore
