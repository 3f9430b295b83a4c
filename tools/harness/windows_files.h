#pragma once
// A driver's dealings with files, the registry and processes under Windows:
// small helpers, each owning what it opens.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace pellacore::harness {

bool MakeFolders(const std::wstring& folder);
// Writes UTF-8 text; answers whether all of it was written.
bool WriteUtf8File(const std::wstring& path, const std::wstring& text);
std::optional<std::string> ReadFileBytes(const std::wstring& path);

// A REG_SZ value under HKCU, or nothing.
std::optional<std::wstring> ReadUserString(const wchar_t* key, const wchar_t* name);
void WriteUserString(const wchar_t* key, const wchar_t* name, const std::wstring& value);

// The ids of running processes whose executable has this name (any case).
std::vector<DWORD> ProcessesNamed(const std::wstring& exeName);
// Ends each process by id; answers how many could be opened and ended.
int EndProcesses(const std::vector<DWORD>& ids);

}  // namespace pellacore::harness
