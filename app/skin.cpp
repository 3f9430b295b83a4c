#include "app/skin.h"

#include "platform/file_system.h"
#include "platform/main_window.h"
#include "platform/skin_framework.h"
#include "util/files.h"

namespace pellacore {

std::wstring SkinFilePath(const std::wstring& programFolder) {
  return programFolder + L"\\x\\o.cjs";
}

void ApplySkin(MainWindow& window, SkinFramework& skin, FileSystem& fs,
               const std::wstring& programFolder) {
  const std::wstring skinFile = SkinFilePath(programFolder);
  // A hidden or system skin file does not count.
  if (!NormalFileExists(fs, skinFile)) return;

  for (Surface surface : {Surface::kWindow, Surface::kFrame1, Surface::kFrame3, Surface::kOption1,
                          Surface::kOption2}) {
    window.SetBackdrop(surface, Backdrop::kButtonFace);
  }
  skin.LoadSkin(skinFile, L"");
  skin.SetOptions(skin.Options() | skin_option::kAllControls);
  skin.SetStyleFrames(true);
  skin.SetStyleButtons(true);
  skin.ApplyWindow(window.Handle32());
}

}  // namespace pellacore
