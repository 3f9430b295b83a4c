#pragma once
// The processes behind windows: opened and held for as long as the program
// keeps them, told apart by their id and start, ended with all they started.

#include "platform/processes.h"

namespace pellacore::win32 {

class Win32Processes : public Processes {
 public:
  std::unique_ptr<Process> OwnerOfWindow(std::int64_t windowHandle) override;
};

}  // namespace pellacore::win32
