#pragma once
// Port: the current user's registry, as far as the PDF printer's hand-off
// needs it. The hand-off examines no result, so nothing here raises.

#include <cstdint>
#include <memory>
#include <string>

namespace pellacore {

// An open key; closing it is destroying it.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // Writes a REG_SZ value from single-byte text; `length` is the data length
  // passed to the system, in bytes. Answers whether the system took it.
  virtual bool SetStringValue(const std::wstring& name, const std::string& data,
                              std::uint32_t length) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Creates or opens the key under HKEY_CURRENT_USER with the access mask
  // given; nullptr when the system refuses.
  virtual std::unique_ptr<RegistryKey> CreateCurrentUserKey(const std::wstring& subKey,
                                                            std::uint32_t access) = 0;
};

}  // namespace pellacore
