#include "util/files.h"

#include <exception>

#include "platform/event_pump.h"
#include "platform/file_system.h"
#include "platform/special_folders.h"
#include "util/failure.h"

namespace pellacore {

std::wstring SpecialFolderPath(SpecialFolders& folders, int csidl) {
  const std::optional<std::wstring> path = folders.FolderPath(csidl);
  if (!path || path->empty() || path->size() >= kSpecialFolderBufferLength) return {};
  std::wstring buffer = *path;
  buffer.push_back(L'\0');
  buffer.resize(kSpecialFolderBufferLength, L' ');
  return buffer;
}

std::wstring DesktopFolderPath(SpecialFolders& folders) {
  const std::wstring buffer = SpecialFolderPath(folders, csidl::kDesktop);
  const std::size_t nul = buffer.rfind(L'\0');
  if (nul == std::wstring::npos) throw StandardFailure(failure_number::kInvalidArgument);
  return buffer.substr(0, nul) + L"\\";
}

bool FileExists(FileSystem& fs, const std::wstring& path) {
  try {
    fs.LastWriteTime(path);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool NormalFileExists(FileSystem& fs, const std::wstring& path) {
  constexpr std::uint32_t kNotNormal =
      file_attribute::kDirectory | file_attribute::kHidden | file_attribute::kSystem;
  for (const FoundEntry& entry : fs.FindEntries(path)) {
    if ((entry.attributes & kNotNormal) == 0) return true;
  }
  return false;
}

bool IsFolder(FileSystem& fs, const std::wstring& path) {
  try {
    return (fs.Attributes(path) & file_attribute::kDirectory) != 0;
  } catch (const std::exception&) {
    return false;
  }
}

void DeleteFileQuietly(FileSystem& fs, EventPump& pump, const std::wstring& path) {
  pump.HandlePending();
  try {
    fs.RemoveFile(path);
    return;
  } catch (const std::exception&) {
  }
  try {
    fs.ForceRemoveFile(path);
  } catch (const std::exception&) {
  }
}

}  // namespace pellacore
