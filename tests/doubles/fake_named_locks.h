#pragma once
// Named locks of one pretend session: a name another program holds
// (`heldElsewhere`) is refused; the program's own are held until let go of.

#include <memory>
#include <set>
#include <string>

#include "platform/named_locks.h"

namespace pellacore::testing {

class FakeNamedLocks : public NamedLocks {
 public:
  std::set<std::wstring> heldElsewhere;
  std::set<std::wstring> held;  // by the program, now

  std::unique_ptr<NamedLock> TryTake(const std::wstring& name) override {
    if (heldElsewhere.count(name) || held.count(name)) return nullptr;
    held.insert(name);
    return std::make_unique<Held>(*this, name);
  }

 private:
  class Held : public NamedLock {
   public:
    Held(FakeNamedLocks& owner, std::wstring name) : owner_(owner), name_(std::move(name)) {}
    ~Held() override { owner_.held.erase(name_); }

   private:
    FakeNamedLocks& owner_;
    std::wstring name_;
  };
};

}  // namespace pellacore::testing
