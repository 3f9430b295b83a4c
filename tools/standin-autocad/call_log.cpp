#include "tools/standin-autocad/call_log.h"

#include <windows.h>

#include <string>

#include "win32/unique_resource.h"

namespace pellacore::standin {

void Log(const Config& config, const std::wstring& line) {
  if (config.logFile.empty()) return;
  const std::wstring withBreak = line + L"\n";
  const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, withBreak.data(), static_cast<int>(withBreak.size()),
                                          nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, withBreak.data(), static_cast<int>(withBreak.size()), utf8.data(), bytes,
                        nullptr, nullptr);
  // Append-only access: each write lands at the end, whoever else appends.
  win32::UniqueFile file(::CreateFileW(config.logFile.c_str(), FILE_APPEND_DATA,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  DWORD written = 0;
  ::WriteFile(file.get(), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

void Log(const std::wstring& line) { Log(ReadConfig(), line); }

std::wstring ExitLine(const std::vector<std::wstring>& openDrawings) {
  if (openDrawings.empty()) return L"server exit";
  std::wstring line = L"server exit (open: ";
  for (std::size_t i = 0; i < openDrawings.size(); ++i) line += (i ? L"|" : L"") + openDrawings[i];
  return line + L")";
}

}  // namespace pellacore::standin
