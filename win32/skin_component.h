#pragma once
// The skin component: reads a skin file and restyles a window with it.
//
// A skin file is a small text file of "Name=#RRGGBB" lines (blank lines and
// lines starting with ";" are ignored; a "[Section]" line starts a section):
//   Face=#RRGGBB     background of the window, its frames and option buttons
//   Text=#RRGGBB     text of the frames and option buttons
//   Button=#RRGGBB   face of the push buttons
// A missing colour keeps the window's own. LoadSkin's section "" reads the
// lines outside any section; a named section reads the lines inside it.

#include <windows.h>

#include <optional>
#include <string>

#include "platform/skin_framework.h"

namespace pellacore::win32 {

struct SkinColours {
  std::optional<COLORREF> face, text, button;
  bool allControls = false;  // options bit 0: frames, options and buttons too
  bool frames = false;
  bool buttons = false;
};

// The message a window receives when a skin is applied to it: lParam points
// at the SkinColours, valid during the call.
UINT ApplySkinMessage();

// Reads the colours of `section` from skin file text; raises on a malformed line.
SkinColours ParseSkin(const std::wstring& text, const std::wstring& section);

// The text of a skin file, each byte one character, without the byte-order
// mark that UTF-8 editors may write first.
std::wstring ReadSkinFile(const std::wstring& path);

class Win32SkinFramework : public SkinFramework {
 public:
  void LoadSkin(const std::wstring& path, const std::wstring& section) override;
  std::int32_t Options() override { return options_; }
  void SetOptions(std::int32_t options) override { options_ = options; }
  void SetStyleFrames(bool enabled) override { colours_.frames = enabled; }
  void SetStyleButtons(bool enabled) override { colours_.buttons = enabled; }
  void ApplyWindow(std::int32_t windowHandle) override;

 private:
  SkinColours colours_;
  std::int32_t options_ = 0;
};

}  // namespace pellacore::win32
