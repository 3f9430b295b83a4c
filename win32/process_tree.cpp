#include "win32/process_tree.h"

#include <tlhelp32.h>

#include <map>
#include <set>

#include "win32/win32_failure.h"

namespace pellacore::win32 {
namespace {

// Children's ids by their parent's id, as the system lists them now.
std::multimap<DWORD, DWORD> ChildrenByParent() {
  const UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) throw SystemFailure(::GetLastError());
  std::multimap<DWORD, DWORD> children;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry)) {
    if (entry.th32ProcessID != entry.th32ParentProcessID) {
      children.emplace(entry.th32ParentProcessID, entry.th32ProcessID);
    }
  }
  return children;
}

}  // namespace

std::int64_t CreationTimeOf(HANDLE process) {
  FILETIME creation{}, exit{}, kernel{}, user{};
  if (!::GetProcessTimes(process, &creation, &exit, &kernel, &user)) throw SystemFailure(::GetLastError());
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(creation.dwHighDateTime) << 32) |
                                   creation.dwLowDateTime);
}

std::vector<OpenProcessEntry> OpenDescendants(DWORD id, std::int64_t creationTime) {
  const std::multimap<DWORD, DWORD> children = ChildrenByParent();
  std::vector<OpenProcessEntry> found;
  std::vector<std::int64_t> startTimes;  // of found[i]
  std::set<DWORD> seen{id};
  // Breadth first: found grows while it is walked.
  auto visit = [&](DWORD parent, std::int64_t parentStart) {
    const auto [first, last] = children.equal_range(parent);
    for (auto child = first; child != last; ++child) {
      if (!seen.insert(child->second).second) continue;
      UniqueHandle handle(::OpenProcess(kProcessAccess, FALSE, child->second));
      if (!handle) continue;  // gone already
      std::int64_t start = 0;
      try {
        start = CreationTimeOf(handle.get());
      } catch (const Failure&) {
        continue;  // whose it is cannot be told
      }
      if (start < parentStart) continue;  // a later process that got a freed id
      found.push_back({child->second, std::move(handle)});
      startTimes.push_back(start);
    }
  };
  visit(id, creationTime);
  for (std::size_t i = 0; i < found.size(); ++i) visit(found[i].id, startTimes[i]);
  return found;
}

}  // namespace pellacore::win32
