#pragma once
// Port: the shell's folder picker.

#include <string>

namespace pellacore {

class FolderPicker {
 public:
  virtual ~FolderPicker() = default;

  // Shows the picker (file-system folders only), opening on `initialFolder`
  // when it is not empty; answers the chosen folder (a drive root with its
  // "\", any other folder without one) or "" when nothing was chosen.
  virtual std::wstring Browse(const std::wstring& prompt, const std::wstring& initialFolder) = 0;
};

}  // namespace pellacore
