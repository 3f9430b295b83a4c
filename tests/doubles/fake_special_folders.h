#pragma once
// Special folders from a table; a folder missing from it cannot be located.

#include <map>
#include <optional>
#include <string>

#include "platform/special_folders.h"

namespace pellacore::testing {

class FakeSpecialFolders : public SpecialFolders {
 public:
  std::map<int, std::wstring> paths;

  std::optional<std::wstring> FolderPath(int csidl) override {
    auto path = paths.find(csidl);
    if (path == paths.end()) return std::nullopt;
    return path->second;
  }
};

}  // namespace pellacore::testing
