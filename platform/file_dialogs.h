#pragma once
// Port: the system's file-open dialog, set up as the main window's
// common-dialog control is.

#include <cstddef>
#include <cstdint>
#include <string>

namespace pellacore {

// Dialog flags, with the values the system's open dialog gives them.
namespace open_flag {
inline constexpr std::uint32_t kReadOnly = 0x1;          // the read-only box starts ticked
inline constexpr std::uint32_t kAllowMultiSelect = 0x200;
inline constexpr std::uint32_t kExplorer = 0x80000;
inline constexpr std::uint32_t kLongNames = 0x200000;
}  // namespace open_flag

struct OpenDialogSettings {
  std::wstring fileName;     // the preset name; "" for none
  std::uint32_t flags = 0;
  std::wstring title;
  std::wstring filter;       // "Description|pattern|Description|pattern..."
  std::size_t bufferChars = 0;  // room for the chosen names
};

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;

  // Shows the dialog; answers "" when the user cancelled, the full path when
  // one file was chosen, or the folder and each name separated by NUL
  // characters when several were. Raises 20476 when the chosen names do not
  // fit the buffer, and other failures of the dialog as they come.
  virtual std::wstring ShowOpen(const OpenDialogSettings& settings) = 0;
};

}  // namespace pellacore
