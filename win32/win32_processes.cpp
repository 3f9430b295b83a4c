#include "win32/win32_processes.h"

#include <windows.h>

#include <optional>
#include <utility>
#include <vector>

#include "win32/process_tree.h"
#include "win32/unique_resource.h"
#include "win32/win32_failure.h"

namespace pellacore::win32 {
namespace {

bool HasEnded(HANDLE process) { return ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }

// Ends a process unless it has ended already; answers the system's refusal.
std::optional<DWORD> End(HANDLE process) {
  if (::TerminateProcess(process, 1)) return std::nullopt;
  const DWORD refusal = ::GetLastError();
  if (HasEnded(process)) return std::nullopt;
  return refusal;
}

class Win32Process final : public Process {
 public:
  Win32Process(DWORD id, UniqueHandle handle)
      : id_(id), handle_(std::move(handle)), startTime_(CreationTimeOf(handle_.get())) {}

  std::uint32_t Id() const override { return id_; }
  std::int64_t StartTime() const override { return startTime_; }
  bool HasEnded() override { return win32::HasEnded(handle_.get()); }

  void EndTree() override {
    // Deepest first, the process itself last. Each is ended even when one
    // before it refused or the others could not be listed; the first
    // refusal is raised afterwards.
    std::optional<Failure> failure;
    auto end = [&](HANDLE process) {
      const std::optional<DWORD> refused = End(process);
      if (refused && !failure) failure = SystemFailure(*refused);
    };
    try {
      const std::vector<OpenProcessEntry> descendants = OpenDescendants(id_, startTime_);
      for (auto entry = descendants.rbegin(); entry != descendants.rend(); ++entry) end(entry->handle.get());
    } catch (const Failure& listing) {
      failure = listing;
    }
    end(handle_.get());
    if (failure) throw *failure;
  }

 private:
  DWORD id_;
  UniqueHandle handle_;
  std::int64_t startTime_;
};

DWORD OwnerIdOf(HWND window) {
  DWORD id = 0;
  if (!::GetWindowThreadProcessId(window, &id) || !id) {
    const DWORD code = ::GetLastError();
    throw SystemFailure(code ? code : ERROR_INVALID_WINDOW_HANDLE);
  }
  return id;
}

}  // namespace

std::unique_ptr<Process> Win32Processes::OwnerOfWindow(std::int64_t windowHandle) {
  const HWND window = reinterpret_cast<HWND>(static_cast<INT_PTR>(windowHandle));
  const DWORD id = OwnerIdOf(window);
  UniqueHandle handle(::OpenProcess(kProcessAccess, FALSE, id));
  if (!handle) throw SystemFailure(::GetLastError());
  // The owner may have ended and its id passed to another process before it
  // was opened; a window that is still its owner's keeps that owner alive.
  if (OwnerIdOf(window) != id) throw SystemFailure(ERROR_INVALID_WINDOW_HANDLE);
  return std::make_unique<Win32Process>(id, std::move(handle));
}

}  // namespace pellacore::win32
