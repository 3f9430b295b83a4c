#pragma once
// The shell's special folders.

#include "platform/special_folders.h"

namespace pellacore::win32 {

class Win32SpecialFolders : public SpecialFolders {
 public:
  std::optional<std::wstring> FolderPath(int csidl) override;
};

}  // namespace pellacore::win32
