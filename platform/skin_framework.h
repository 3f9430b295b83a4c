#pragma once
// Port: the skin component that restyles a window from a skin file.

#include <cstdint>
#include <string>

namespace pellacore {

namespace skin_option {
// Bit 0 of the options: the skin reaches every control of the window.
inline constexpr std::int32_t kAllControls = 0x1;
}  // namespace skin_option

class SkinFramework {
 public:
  virtual ~SkinFramework() = default;

  // Reads a skin file; `section` names a part of it ("" for the whole file).
  virtual void LoadSkin(const std::wstring& path, const std::wstring& section) = 0;
  virtual std::int32_t Options() = 0;
  virtual void SetOptions(std::int32_t options) = 0;
  // Whether the skin also styles the window's frames and option buttons.
  virtual void SetStyleFrames(bool enabled) = 0;
  // Whether the skin also styles the window's push buttons.
  virtual void SetStyleButtons(bool enabled) = 0;
  // Applies the loaded skin to the window with this handle.
  virtual void ApplyWindow(std::int32_t windowHandle) = 0;
};

}  // namespace pellacore
