#include "tools/harness/handle_census.h"

#include <algorithm>
#include <vector>

namespace pellacore::harness {
namespace {

struct SystemHandle {
  ULONG ownerId;
  BYTE objectType;
  BYTE flags;
  USHORT value;
  PVOID object;
  ULONG access;
};
struct SystemHandles {
  ULONG count;
  SystemHandle handles[1];
};
struct CountedString {
  USHORT length;
  USHORT maximumLength;
  PWSTR buffer;
};
using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
using QueryObject = LONG(WINAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);

constexpr ULONG kSystemHandleInformation = 16;
constexpr ULONG kObjectTypeInformation = 2;

template <class Function>
Function Ntdll(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), name)));
}

std::vector<SystemHandle> HandlesOf(DWORD processId) {
  const auto query = Ntdll<QuerySystemInformation>("NtQuerySystemInformation");
  if (!query) return {};
  std::vector<unsigned char> buffer(1 << 20);
  for (int tries = 0; tries < 6; ++tries) {
    ULONG needed = 0;
    if (query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed) == 0) {
      const auto* list = reinterpret_cast<const SystemHandles*>(buffer.data());
      std::vector<SystemHandle> owned;
      for (ULONG i = 0; i < list->count; ++i) {
        if (list->handles[i].ownerId == processId) owned.push_back(list->handles[i]);
      }
      return owned;
    }
    buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 4096));
  }
  return {};
}

// The type's name, from a copy of the handle in this process.
std::wstring TypeName(HANDLE process, const SystemHandle& handle) {
  std::wstring name = L"#" + std::to_wstring(handle.objectType);
  const auto query = Ntdll<QueryObject>("NtQueryObject");
  HANDLE copy = nullptr;
  if (!query || !::DuplicateHandle(process, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(handle.value)),
                                   ::GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
    return name;
  }
  alignas(8) unsigned char buffer[1024];
  ULONG needed = 0;
  if (query(copy, kObjectTypeInformation, buffer, sizeof buffer, &needed) == 0) {
    const auto* text = reinterpret_cast<const CountedString*>(buffer);
    if (text->buffer && text->length) name.assign(text->buffer, text->length / sizeof(wchar_t));
  }
  ::CloseHandle(copy);
  return name;
}

}  // namespace

std::map<std::wstring, DWORD> HandleCensus(HANDLE process, DWORD processId) {
  std::map<BYTE, std::wstring> names;
  std::map<std::wstring, DWORD> census;
  for (const SystemHandle& handle : HandlesOf(processId)) {
    auto known = names.find(handle.objectType);
    if (known == names.end()) known = names.emplace(handle.objectType, TypeName(process, handle)).first;
    ++census[known->second];
  }
  return census;
}

DWORD HandleTotal(const std::map<std::wstring, DWORD>& census) {
  DWORD total = 0;
  for (const auto& [type, count] : census) total += count;
  return total;
}

std::wstring HandleGrowth(const std::map<std::wstring, DWORD>& before, const std::map<std::wstring, DWORD>& after) {
  std::wstring growth;
  for (const auto& [type, count] : after) {
    const auto earlier = before.find(type);
    const DWORD was = earlier == before.end() ? 0 : earlier->second;
    if (count <= was) continue;
    if (!growth.empty()) growth += L", ";
    growth += type + L" +" + std::to_wstring(count - was);
  }
  return growth;
}

}  // namespace pellacore::harness
