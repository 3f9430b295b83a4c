#pragma once
// An in-memory file system: entries by full path with attributes, and one
// switch per operation that makes it fail. Paths compare without regard to
// letter case, as on Windows; a folder may be named with or without a
// trailing "\".
//
// Directory searches match the last component of the pattern with simple
// wildcards: "*" any run of characters, "?" exactly one, letter case ignored.
// That is Wine's rule without its short names; Windows differs for "*." and
// for "?" before a dot, so tests assert those only on the real platform.

#include <cwctype>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "util/failure.h"

namespace pellacore::testing {

class MemoryFileSystem : public FileSystem {
 public:
  void AddFile(const std::wstring& path, std::uint32_t attributes = file_attribute::kArchive) {
    entries_[Key(path)] = {Trimmed(path), attributes};
  }
  void AddFolder(const std::wstring& path,
                 std::uint32_t attributes = file_attribute::kDirectory) {
    entries_[Key(path)] = {Trimmed(path), attributes | file_attribute::kDirectory};
  }
  bool Has(const std::wstring& path) const { return entries_.count(Key(path)) != 0; }

  // When set, the operation raises this failure instead of doing its work.
  std::optional<Failure> lastWriteTimeFailure;
  std::optional<Failure> attributesFailure;
  std::optional<Failure> findFailure;
  std::optional<Failure> removeFailure;
  std::optional<Failure> forceRemoveFailure;

  std::vector<std::wstring> findCalls;
  std::vector<std::wstring> removeCalls;
  std::vector<std::wstring> forceRemoveCalls;

  std::int64_t LastWriteTime(const std::wstring& path) override {
    if (lastWriteTimeFailure) throw *lastWriteTimeFailure;
    Find(path);
    return 1;
  }

  std::uint32_t Attributes(const std::wstring& path) override {
    if (attributesFailure) throw *attributesFailure;
    return Find(path)->second.attributes;
  }

  std::vector<FoundEntry> FindEntries(const std::wstring& pattern) override {
    findCalls.push_back(pattern);
    if (findFailure) throw *findFailure;
    const std::size_t separator = pattern.rfind(L'\\');
    const std::wstring folder = Key(pattern.substr(0, separator + 1));
    const std::wstring namePattern = pattern.substr(separator + 1);
    std::vector<FoundEntry> found;
    for (const auto& [key, entry] : entries_) {
      const std::size_t cut = key.rfind(L'\\');
      if (cut == std::wstring::npos || key.substr(0, cut) != folder) continue;
      const std::wstring name = entry.path.substr(entry.path.rfind(L'\\') + 1);
      if (WildcardMatch(namePattern, name)) found.push_back({name, entry.attributes});
    }
    return found;
  }

  void RemoveFile(const std::wstring& path) override {
    removeCalls.push_back(path);
    if (removeFailure) throw *removeFailure;
    auto entry = Find(path);
    if (entry->second.attributes & file_attribute::kDirectory) {
      throw StandardFailure(failure_number::kPermissionDenied);
    }
    if (entry->second.attributes & file_attribute::kReadOnly) {
      throw StandardFailure(failure_number::kPermissionDenied);
    }
    entries_.erase(entry);
  }

  void ForceRemoveFile(const std::wstring& path) override {
    forceRemoveCalls.push_back(path);
    if (forceRemoveFailure) throw *forceRemoveFailure;
    auto entry = Find(path);
    if (entry->second.attributes & file_attribute::kDirectory) {
      throw StandardFailure(failure_number::kFileNotFound);
    }
    entries_.erase(entry);
  }

  static bool WildcardMatch(std::wstring_view pattern, std::wstring_view name) {
    if (pattern.empty()) return name.empty();
    if (pattern.front() == L'*') {
      for (std::size_t skip = 0; skip <= name.size(); ++skip) {
        if (WildcardMatch(pattern.substr(1), name.substr(skip))) return true;
      }
      return false;
    }
    if (name.empty()) return false;
    if (pattern.front() != L'?' && std::towlower(pattern.front()) != std::towlower(name.front())) {
      return false;
    }
    return WildcardMatch(pattern.substr(1), name.substr(1));
  }

 private:
  struct Entry {
    std::wstring path;
    std::uint32_t attributes;
  };
  using Entries = std::map<std::wstring, Entry>;

  static std::wstring Trimmed(std::wstring path) {
    if (path.size() > 1 && path.back() == L'\\') path.pop_back();
    return path;
  }

  static std::wstring Key(const std::wstring& path) {
    std::wstring key = Trimmed(path);
    for (wchar_t& c : key) c = static_cast<wchar_t>(std::towlower(c));
    return key;
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
