#pragma once
// Port: the shell's default action on a file or folder.

#include <string>

namespace pellacore {

class Shell {
 public:
  virtual ~Shell() = default;

  // Asks the shell to open `file` (its default action, shown normally), with
  // `workingFolder` as the working folder. Whether it worked is not told.
  virtual void Open(const std::wstring& file, const std::wstring& workingFolder) = 0;
};

}  // namespace pellacore
