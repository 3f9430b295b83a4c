#pragma once
// The settings store in the registry: one REG_SZ value per key under
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>,
// where earlier installations of the program kept the same choices.

#include <string>
#include <string_view>

#include "platform/settings_store.h"

namespace pellacore::win32 {

class RegistrySettingsStore : public SettingsStore {
 public:
  RegistrySettingsStore(std::wstring_view application, std::wstring_view section);

  std::optional<std::wstring> Read(const std::wstring& key) override;
  void Write(const std::wstring& key, const std::wstring& value) override;

  // The key's path below HKEY_CURRENT_USER.
  const std::wstring& keyPath() const { return keyPath_; }

 private:
  std::wstring keyPath_;
};

}  // namespace pellacore::win32
