#include "win32/registry_settings_store.h"

#include <windows.h>

#include "win32/unique_resource.h"
#include "win32/win32_failure.h"

namespace pellacore::win32 {

RegistrySettingsStore::RegistrySettingsStore(std::wstring_view application,
                                             std::wstring_view section)
    : keyPath_(L"Software\\VB and VBA Program Settings\\") {
  keyPath_ += application;
  keyPath_ += L'\\';
  keyPath_ += section;
}

std::optional<std::wstring> RegistrySettingsStore::Read(const std::wstring& key) {
  // The value may change size between the two calls; ask again until it fits.
  for (;;) {
    DWORD bytes = 0;
    LSTATUS status = ::RegGetValueW(HKEY_CURRENT_USER, keyPath_.c_str(), key.c_str(),
                                    RRF_RT_REG_SZ, nullptr, nullptr, &bytes);
    if (status == ERROR_FILE_NOT_FOUND) return std::nullopt;
    if (status != ERROR_SUCCESS) throw SystemFailure(static_cast<DWORD>(status));

    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    status = ::RegGetValueW(HKEY_CURRENT_USER, keyPath_.c_str(), key.c_str(), RRF_RT_REG_SZ,
                            nullptr, value.data(), &bytes);
    if (status == ERROR_MORE_DATA) continue;
    if (status == ERROR_FILE_NOT_FOUND) return std::nullopt;
    if (status != ERROR_SUCCESS) throw SystemFailure(static_cast<DWORD>(status));
    // The answer counts the terminating NUL, which RegGetValue always adds.
    value.resize(bytes / sizeof(wchar_t));
    if (!value.empty() && value.back() == L'\0') value.pop_back();
    return value;
  }
}

void RegistrySettingsStore::Write(const std::wstring& key, const std::wstring& value) {
  UniqueHkey handle;
  LSTATUS status = ::RegCreateKeyExW(HKEY_CURRENT_USER, keyPath_.c_str(), 0, nullptr,
                                     REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                                     handle.put(), nullptr);
  if (status != ERROR_SUCCESS) throw SystemFailure(static_cast<DWORD>(status));
  const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  status = ::RegSetValueExW(handle.get(), key.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(value.c_str()), bytes);
  if (status != ERROR_SUCCESS) throw SystemFailure(static_cast<DWORD>(status));
}

}  // namespace pellacore::win32
