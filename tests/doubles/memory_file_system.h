#pragma once
// An in-memory file system: entries by full path with attributes, and one
// switch per operation that makes it fail. Paths compare without regard to
// letter case, as on Windows; a folder may be named with or without a
// trailing "\", and a doubled "\" inside a path counts once, as Windows
// reads it. Sub-folders are listed in the order they were added.
//
// Directory searches match the last component of the pattern with simple
// wildcards: "*" any run of characters, "?" exactly one, letter case ignored.
// That is Wine's rule without its short names; Windows differs for "*." and
// for "?" before a dot, so tests assert those only on the real platform.
// Files written through the port keep their bytes (`Contents`).
//
// A link (`AddLink`) is a folder entry that leads to another folder, as a
// junction or a symbolic link does: paths through it reach the target's
// entries, so a link to a folder above it makes a loop. Its own attributes
// are its entry's. A folder's identity is the same by every path to it.
// Searches never find a root: neither "D:\" nor "\\server\share".

#include <algorithm>
#include <cwctype>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "util/failure.h"

namespace pellacore::testing {

class MemoryFileSystem : public FileSystem {
 public:
  void AddFile(const std::wstring& path, std::uint32_t attributes = file_attribute::kArchive) {
    Put(path, attributes);
  }
  void AddFolder(const std::wstring& path,
                 std::uint32_t attributes = file_attribute::kDirectory) {
    Put(path, attributes | file_attribute::kDirectory);
  }
  // A folder entry at `path` that leads to the folder `target`.
  void AddLink(const std::wstring& path, const std::wstring& target,
               std::uint32_t attributes = file_attribute::kDirectory) {
    AddFolder(path, attributes);
    links_[Key(path)] = Key(target);
  }
  bool Has(const std::wstring& path) const { return entries_.count(Key(path)) != 0; }

  // Takes away the entry and everything below it, as if deleted behind the
  // program's back.
  void Erase(const std::wstring& path) {
    const std::wstring key = Key(path);
    for (auto entry = entries_.begin(); entry != entries_.end();) {
      const bool below = entry->first.size() > key.size() &&
                         entry->first.compare(0, key.size(), key) == 0 &&
                         entry->first[key.size()] == L'\\';
      entry = entry->first == key || below ? entries_.erase(entry) : std::next(entry);
    }
  }

  // The file is there, and listed, but does not open.
  void LockFile(const std::wstring& path) { locked_.insert(Key(path)); }

  // When set, the operation raises this failure instead of doing its work.
  std::optional<Failure> lastWriteTimeFailure;
  std::optional<Failure> attributesFailure;
  std::optional<Failure> findFailure;
  std::optional<Failure> removeFailure;
  std::optional<Failure> forceRemoveFailure;
  std::optional<Failure> createFolderFailure;
  std::optional<Failure> writeFailure;
  // Per path, exactly as passed: the failure that listing that folder's
  // sub-folders, or reading that path's attributes, raises.
  std::map<std::wstring, Failure> subFolderFailures;
  std::map<std::wstring, Failure> attributeFailures;
  // Per folder (any letter case): the failure that every search in it raises.
  std::map<std::wstring, Failure> findFailures;

  std::vector<std::wstring> findCalls;
  std::vector<std::wstring> removeCalls;
  std::vector<std::wstring> forceRemoveCalls;
  std::vector<std::wstring> subFolderCalls;
  std::vector<std::wstring> identityCalls;
  std::vector<std::wstring> writeCalls;

  // The bytes last written to the file through WriteNewFile; nullopt for a
  // path that is no such file.
  std::optional<std::string> Contents(const std::wstring& path) const {
    const auto content = contents_.find(Key(path));
    if (content == contents_.end() || !Has(path)) return std::nullopt;
    return content->second;
  }

  std::int64_t LastWriteTime(const std::wstring& path) override {
    if (lastWriteTimeFailure) throw *lastWriteTimeFailure;
    // Adding a path again writes it anew.
    return Find(path, false)->second.written;
  }

  std::uint32_t Attributes(const std::wstring& path) override {
    if (attributesFailure) throw *attributesFailure;
    if (auto failure = attributeFailures.find(path); failure != attributeFailures.end()) {
      throw failure->second;
    }
    return Find(path, false)->second.attributes;
  }

  std::vector<FoundEntry> FindEntries(const std::wstring& pattern) override {
    findCalls.push_back(pattern);
    if (findFailure) throw *findFailure;
    const std::size_t separator = pattern.rfind(L'\\');
    const std::wstring asPassed = pattern.substr(0, separator + 1);
    for (const auto& [failing, failure] : findFailures) {
      if (Key(failing) == Key(asPassed)) throw failure;
    }
    const std::wstring folder = Real(asPassed);
    const std::wstring namePattern = pattern.substr(separator + 1);
    std::vector<FoundEntry> found;
    for (const auto& [key, entry] : entries_) {
      const std::size_t cut = key.rfind(L'\\');
      if (cut == std::wstring::npos || key.substr(0, cut) != folder || IsShareRoot(key)) continue;
      const std::wstring name = entry.path.substr(entry.path.rfind(L'\\') + 1);
      if (WildcardMatch(namePattern, name)) found.push_back({name, entry.attributes});
    }
    return found;
  }

  std::vector<std::wstring> SubFolderNames(const std::wstring& folder) override {
    subFolderCalls.push_back(folder);
    if (auto failure = subFolderFailures.find(folder); failure != subFolderFailures.end()) {
      throw failure->second;
    }
    const auto self = entries_.find(Real(folder));
    if (self == entries_.end() || !(self->second.attributes & file_attribute::kDirectory)) {
      throw StandardFailure(failure_number::kPathNotFound);
    }
    std::vector<const Entry*> children;
    for (const auto& [key, entry] : entries_) {
      const std::size_t cut = key.rfind(L'\\');
      if (cut == std::wstring::npos || key.substr(0, cut) != self->first) continue;
      if (entry.attributes & file_attribute::kDirectory) children.push_back(&entry);
    }
    std::sort(children.begin(), children.end(),
              [](const Entry* a, const Entry* b) { return a->added < b->added; });
    std::vector<std::wstring> names;
    for (const Entry* child : children) {
      names.push_back(child->path.substr(child->path.rfind(L'\\') + 1));
    }
    return names;
  }

  std::optional<FolderIdentity> FolderIdentityOf(const std::wstring& folder) override {
    identityCalls.push_back(folder);
    const auto entry = entries_.find(Real(folder));
    if (entry == entries_.end() || !(entry->second.attributes & file_attribute::kDirectory)) {
      return std::nullopt;
    }
    return FolderIdentity{0x5e1a1u, entry->second.added};
  }

  bool CanOpenFile(const std::wstring& path) override {
    const auto entry = entries_.find(Real(path));
    return entry != entries_.end() && !(entry->second.attributes & file_attribute::kDirectory) &&
           locked_.count(entry->first) == 0;
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

  void CreateFolder(const std::wstring& path) override {
    if (createFolderFailure) throw *createFolderFailure;
    if (const auto entry = entries_.find(Key(path)); entry != entries_.end()) {
      if (entry->second.attributes & file_attribute::kDirectory) return;
      throw StandardFailure(failure_number::kFileExists);
    }
    RequireParentFolder(path);
    AddFolder(path);
  }

  void WriteNewFile(const std::wstring& path, const std::string& bytes) override {
    writeCalls.push_back(path);
    if (Has(path)) throw StandardFailure(failure_number::kFileExists);
    RequireParentFolder(path);
    if (writeFailure) throw *writeFailure;  // as a full disk does: nothing is left
    AddFile(path);
    contents_[Key(path)] = bytes;
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
    std::size_t added;  // when it was first added: the order of listings
    std::int64_t written = 0;  // its last write, counted across the file system
  };
  using Entries = std::map<std::wstring, Entry>;

  void Put(const std::wstring& path, std::uint32_t attributes) {
    auto [entry, isNew] = entries_.try_emplace(Key(path), Entry{Trimmed(path), attributes, added_});
    entry->second.written = ++writes_;
    if (isNew) {
      ++added_;
    } else {
      entry->second.path = Trimmed(path);
      entry->second.attributes = attributes;
    }
  }

  // Runs of "\" count once, except the two that open a network path.
  static std::wstring Trimmed(const std::wstring& path) {
    std::wstring out;
    for (std::size_t i = 0; i < path.size(); ++i) {
      if (path[i] == L'\\' && i > 1 && out.back() == L'\\') continue;
      out.push_back(path[i]);
    }
    if (out.size() > 1 && out.back() == L'\\') out.pop_back();
    return out;
  }

  static std::wstring Key(const std::wstring& path) {
    std::wstring key = Trimmed(path);
    for (wchar_t& c : key) c = static_cast<wchar_t>(std::towlower(c));
    return key;
  }

  void RequireParentFolder(const std::wstring& path) const {
    const std::wstring trimmed = Trimmed(path);
    const std::size_t cut = trimmed.rfind(L'\\');
    const auto parent = cut == std::wstring::npos ? entries_.end() : entries_.find(Key(trimmed.substr(0, cut)));
    if (parent == entries_.end() || !(parent->second.attributes & file_attribute::kDirectory)) {
      throw StandardFailure(failure_number::kPathNotFound);
    }
  }

  // The key of the entry the path reaches: every link on the way is
  // followed, the last component only when `followLast`.
  std::wstring Real(const std::wstring& path, bool followLast = true) const {
    std::wstring key = Key(path);
    for (bool followed = true; followed;) {
      followed = false;
      // Shorter links sort first: the one nearest the root is followed first.
      for (const auto& [link, target] : links_) {
        const bool through = key.size() > link.size() && key.compare(0, link.size(), link) == 0 &&
                             key[link.size()] == L'\\';
        if (through || (followLast && key == link)) {
          key = target + key.substr(link.size());
          followed = true;
          break;
        }
      }
    }
    return key;
  }

  // "\\server\share": a root that no search finds.
  static bool IsShareRoot(const std::wstring& key) {
    return key.starts_with(L"\\\\") && key.find(L'\\', 2) != std::wstring::npos &&
           key.find(L'\\', key.find(L'\\', 2) + 1) == std::wstring::npos;
  }

  Entries::iterator Find(const std::wstring& path, bool followLast = true) {
    if (path.empty()) throw StandardFailure(failure_number::kBadFileName);
    auto entry = entries_.find(Real(path, followLast));
    if (entry == entries_.end()) throw StandardFailure(failure_number::kFileNotFound);
    return entry;
  }

  Entries entries_;
  std::map<std::wstring, std::wstring> links_;  // link's key -> target's key
  std::set<std::wstring> locked_;
  std::map<std::wstring, std::string> contents_;
  std::size_t added_ = 0;
  std::int64_t writes_ = 0;
};

}  // namespace pellacore::testing
