#pragma once
// A fresh folder under the temporary folder, removed with all it holds
// (read-only files included) when the test ends.

#include <windows.h>

#include <string>

namespace pellacore::testing {

class ScratchFolder {
 public:
  ScratchFolder() {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    static int counter = 0;
    path_ = std::wstring(temp) + L"pellacore-test-" + std::to_wstring(::GetCurrentProcessId()) +
            L"-" + std::to_wstring(++counter) + L"\\";
    ::CreateDirectoryW(path_.c_str(), nullptr);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() { RemoveTree(L"\\\\?\\" + path_); }

  // The folder's path, ending in "\".
  const std::wstring& path() const { return path_; }

  // Creates a file with a little content and answers its path.
  std::wstring MakeFile(const std::wstring& name, DWORD attributes = FILE_ATTRIBUTE_NORMAL) const {
    const std::wstring file = path_ + name;
    HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(handle, "pellacore", 9, &written, nullptr);
    ::CloseHandle(handle);
    if (attributes != FILE_ATTRIBUTE_NORMAL) ::SetFileAttributesW(file.c_str(), attributes);
    return file;
  }

  std::wstring MakeFolder(const std::wstring& name) const {
    const std::wstring folder = path_ + name;
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
  }

 private:
  // `folder` ends in "\" and may carry the "\\?\" prefix, which reaches
  // paths of any length.
  static void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring child = folder + name;
        ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveTree(child + L"\\");
        } else {
          ::DeleteFileW(child.c_str());
        }
      } while (::FindNextFileW(search, &found));
      ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
  }

  std::wstring path_;
};

}  // namespace pellacore::testing
