#pragma once
// An in-memory file system: entries by path with attributes, and one switch
// per operation that makes it fail. Paths compare without regard to letter
// case, as on Windows; a folder may be named with or without a trailing "\".

#include <cwctype>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "util/failure.h"

namespace pellacore::testing {

class MemoryFileSystem : public FileSystem {
 public:
  void AddFile(const std::wstring& path, std::uint32_t attributes = file_attribute::kArchive) {
    entries_[Key(path)] = attributes;
  }
  void AddFolder(const std::wstring& path) { entries_[Key(path)] = file_attribute::kDirectory; }
  bool Has(const std::wstring& path) const { return entries_.count(Key(path)) != 0; }

  // When set, the operation raises this failure instead of doing its work.
  std::optional<Failure> lastWriteTimeFailure;
  std::optional<Failure> attributesFailure;
  std::optional<Failure> removeFailure;
  std::optional<Failure> forceRemoveFailure;

  std::vector<std::wstring> removeCalls;
  std::vector<std::wstring> forceRemoveCalls;

  std::int64_t LastWriteTime(const std::wstring& path) override {
    if (lastWriteTimeFailure) throw *lastWriteTimeFailure;
    Find(path);
    return 1;
  }

  std::uint32_t Attributes(const std::wstring& path) override {
    if (attributesFailure) throw *attributesFailure;
    return Find(path)->second;
  }

  void RemoveFile(const std::wstring& path) override {
    removeCalls.push_back(path);
    if (removeFailure) throw *removeFailure;
    auto entry = Find(path);
    if (entry->second & file_attribute::kDirectory) throw StandardFailure(failure_number::kFileNotFound);
    if (entry->second & file_attribute::kReadOnly) throw StandardFailure(failure_number::kPermissionDenied);
    entries_.erase(entry);
  }

  void ForceRemoveFile(const std::wstring& path) override {
    forceRemoveCalls.push_back(path);
    if (forceRemoveFailure) throw *forceRemoveFailure;
    auto entry = Find(path);
    if (entry->second & file_attribute::kDirectory) throw StandardFailure(failure_number::kFileNotFound);
    entries_.erase(entry);
  }

 private:
  using Entries = std::map<std::wstring, std::uint32_t>;

  static std::wstring Key(std::wstring path) {
    if (path.size() > 1 && path.back() == L'\\') path.pop_back();
    for (wchar_t& c : path) c = static_cast<wchar_t>(std::towlower(c));
    return path;
  }

  Entries::iterator Find(const std::wstring& path) {
    if (path.empty()) throw StandardFailure(failure_number::kBadFileName);
    auto entry = entries_.find(Key(path));
    if (entry == entries_.end()) throw StandardFailure(failure_number::kFileNotFound);
    return entry;
  }

  Entries entries_;
};

}  // namespace pellacore::testing
