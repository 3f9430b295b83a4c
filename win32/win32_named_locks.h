#pragma once
// Named locks as the session's mutexes ("Local\" names): a mutex owned by a
// thread of this process, let go of on the thread that took it.

#include "platform/named_locks.h"

namespace pellacore::win32 {

class Win32NamedLocks : public NamedLocks {
 public:
  std::unique_ptr<NamedLock> TryTake(const std::wstring& name) override;
};

}  // namespace pellacore::win32
