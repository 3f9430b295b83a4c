#pragma once
// Port: the file system, addressed by full Windows paths.
// Every operation raises a pellacore::Failure when the platform refuses it.

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pellacore {

namespace file_attribute {
inline constexpr std::uint32_t kReadOnly = 0x1;
inline constexpr std::uint32_t kHidden = 0x2;
inline constexpr std::uint32_t kSystem = 0x4;
inline constexpr std::uint32_t kDirectory = 0x10;
inline constexpr std::uint32_t kArchive = 0x20;
}  // namespace file_attribute

// One name that a directory search found, with its attribute bits.
struct FoundEntry {
  std::wstring name;
  std::uint32_t attributes = 0;
};

// What a folder is, whichever path leads to it (through links and junctions
// too): its volume's serial number and its index on that volume.
struct FolderIdentity {
  std::uint32_t volume = 0;
  std::uint64_t index = 0;
  auto operator<=>(const FolderIdentity&) const = default;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Last-modified time of a file or folder, in the platform's own units.
  virtual std::int64_t LastWriteTime(const std::wstring& path) = 0;

  // The attribute bits as the platform reports them (see file_attribute).
  virtual std::uint32_t Attributes(const std::wstring& path) = 0;

  // The files and folders that a directory search for `pattern` (a folder,
  // "\" and a name that may hold wildcards) finds, in the platform's order
  // and by its wildcard rules, hidden and system entries included. A folder
  // that does not exist finds nothing; a pattern the platform rejects raises.
  virtual std::vector<FoundEntry> FindEntries(const std::wstring& pattern) = 0;

  // The names of the folder's sub-folders (no "." or ".."), in the
  // platform's order. Raises 70 "Permission denied" when the folder cannot be
  // listed for lack of rights, 76 "Path not found" when it is not there.
  virtual std::vector<std::wstring> SubFolderNames(const std::wstring& folder) = 0;

  // The identity of the folder the path leads to; nullopt when the platform
  // cannot tell (the folder is gone, cannot be opened, or the file system
  // keeps no such index). Never raises.
  virtual std::optional<FolderIdentity> FolderIdentityOf(const std::wstring& folder) = 0;

  // Whether the path names an existing file that opens with no access rights
  // and read and write sharing: false for folders, missing paths and files
  // that cannot be opened. Never raises.
  virtual bool CanOpenFile(const std::wstring& path) = 0;

  // Deletes exactly the file named (no wildcards); a read-only file is refused.
  virtual void RemoveFile(const std::wstring& path) = 0;

  // Deletes exactly the file named, read-only or not.
  virtual void ForceRemoveFile(const std::wstring& path) = 0;

  // Creates one folder; its parent must exist. A folder already there is
  // no failure; a file of that name raises 58 "File already exists".
  virtual void CreateFolder(const std::wstring& path) = 0;

  // Makes a new file holding exactly `bytes`. Never replaces anything: a
  // file or folder of that name raises 58 "File already exists". A write
  // that fails part way leaves no file behind.
  virtual void WriteNewFile(const std::wstring& path, const std::string& bytes) = 0;
};

}  // namespace pellacore
