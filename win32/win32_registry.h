#pragma once
// The current user's registry through the ANSI API: the PDF printer reads its
// hand-off values as single-byte text of the ANSI code page.

#include "platform/registry.h"

namespace pellacore::win32 {

class Win32Registry : public Registry {
 public:
  std::unique_ptr<RegistryKey> CreateCurrentUserKey(const std::wstring& subKey,
                                                    std::uint32_t access) override;
};

}  // namespace pellacore::win32
