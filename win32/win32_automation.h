#pragma once
// Late-bound automation through IDispatch alone (names looked up at each
// call, no type library). COM must be initialised on the calling thread.

#include "platform/automation.h"

namespace pellacore::win32 {

class Win32Automation : public Automation {
 public:
  std::unique_ptr<AutomationObject> GetActiveObject(std::wstring_view progId) override;
  std::unique_ptr<AutomationObject> CreateObject(std::wstring_view progId) override;
};

}  // namespace pellacore::win32
