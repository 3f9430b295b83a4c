#include "win32/win32_registry.h"

#include <windows.h>

#include "win32/unique_resource.h"
#include "win32/win32_code_page.h"

namespace pellacore::win32 {
namespace {

class Win32RegistryKey : public RegistryKey {
 public:
  explicit Win32RegistryKey(UniqueHkey key) : key_(std::move(key)) {}

  bool SetStringValue(const std::wstring& name, const std::string& data,
                      std::uint32_t length) override {
    // The system reads `length` bytes whatever the text holds; a length past
    // the text reads zeros, never memory beyond it.
    std::string bytes = data;
    if (bytes.size() < length) bytes.resize(length, '\0');
    const std::string ansiName = Win32CodePage().ToAnsi(name);
    return ::RegSetValueExA(key_.get(), ansiName.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(bytes.data()), length) == ERROR_SUCCESS;
  }

 private:
  UniqueHkey key_;
};

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::CreateCurrentUserKey(const std::wstring& subKey,
                                                                 std::uint32_t access) {
  const std::string ansiSubKey = Win32CodePage().ToAnsi(subKey);
  UniqueHkey key;
  DWORD disposition = 0;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, ansiSubKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        access, nullptr, key.put(), &disposition) != ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<Win32RegistryKey>(std::move(key));
}

}  // namespace pellacore::win32
