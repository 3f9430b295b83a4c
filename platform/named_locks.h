#pragma once
// Port: locks that the user's programs take by name, each held by one
// process at a time. A process that ends lets go of its locks.

#include <memory>
#include <string>

namespace pellacore {

// A lock taken; let go of when this goes.
class NamedLock {
 public:
  virtual ~NamedLock() = default;
};

class NamedLocks {
 public:
  virtual ~NamedLocks() = default;
  // The lock, when no other process holds it; null when one does.
  virtual std::unique_ptr<NamedLock> TryTake(const std::wstring& name) = 0;
};

}  // namespace pellacore
