#pragma once
// Port: the shell's special folders (desktop, documents, ...).

#include <optional>
#include <string>

namespace pellacore {

namespace csidl {
inline constexpr int kDesktop = 0;
// The user's own application data on this computer (not roaming).
inline constexpr int kLocalAppData = 0x1c;
}  // namespace csidl

class SpecialFolders {
 public:
  virtual ~SpecialFolders() = default;

  // The file-system path of special folder `csidl`, or nullopt when the
  // shell cannot locate it or it has no path in the file system.
  virtual std::optional<std::wstring> FolderPath(int csidl) = 0;
};

}  // namespace pellacore
