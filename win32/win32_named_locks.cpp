#include "win32/win32_named_locks.h"

#include <windows.h>

#include "win32/unique_resource.h"
#include "win32/win32_failure.h"

namespace pellacore::win32 {
namespace {

class HeldMutex : public NamedLock {
 public:
  explicit HeldMutex(UniqueHandle mutex) : mutex_(std::move(mutex)) {}
  ~HeldMutex() override { ::ReleaseMutex(mutex_.get()); }

 private:
  UniqueHandle mutex_;
};

}  // namespace

std::unique_ptr<NamedLock> Win32NamedLocks::TryTake(const std::wstring& name) {
  UniqueHandle mutex(::CreateMutexW(nullptr, FALSE, (L"Local\\" + name).c_str()));
  if (!mutex) throw SystemFailure(::GetLastError());
  // A holder that ended without letting go leaves the lock to the next.
  const DWORD taken = ::WaitForSingleObject(mutex.get(), 0);
  if (taken != WAIT_OBJECT_0 && taken != WAIT_ABANDONED) return nullptr;
  return std::make_unique<HeldMutex>(std::move(mutex));
}

}  // namespace pellacore::win32
