#include "joblist/add_folder.h"

#include <cstdint>
#include <optional>
#include <set>
#include <utility>

#include "joblist/job_list.h"
#include "platform/code_page.h"
#include "platform/event_pump.h"
#include "platform/file_system.h"
#include "util/error_report.h"
#include "util/failure.h"
#include "util/files.h"
#include "util/guarded.h"
#include "util/paths.h"
#include "util/text.h"

namespace pellacore {
namespace {

constexpr wchar_t kGetSubDirectories[] =
    L"in Ondrelith2021/08/31.AddFolder.GetSubDirectories2016 ";
// The traversal's report of a folder whose files could not be searched: a
// step number of its own after the lister's.
constexpr int kUnreadableFilesStep = 128;

// Paths and names from this length up are not followed (MAX_PATH).
constexpr std::size_t kPathLimit = 260;

// Folders the system keeps to itself, like System Volume Information and the
// recycle bin: directory + hidden + system, and the same as a junction.
// Exactly these values: a folder that is only hidden, or has the archive bit
// on top, is followed.
constexpr std::uint32_t kSystemFolder = 22;
constexpr std::uint32_t kSystemJunction = 1046;

// Files of exactly hidden + archive are not added; hidden alone, or with
// read-only or system on top, they are.
constexpr std::uint32_t kHiddenArchiveFile = 34;

// A drive's root folder, like "C:\": its attributes say hidden + system on
// most systems, yet it is followed.
// A drive's root: a letter, a colon and its separator. A scan started on a
// root seeds it with the separator doubled ("C:\\"), which names the root
// all the same.
bool IsRootFolder(const std::wstring& path) {
  if (path.size() < 3 || path[1] != L':' || path.find_first_not_of(L'\\', 2) != std::wstring::npos) {
    return false;
  }
  const wchar_t letter = path[0];
  return (letter >= L'A' && letter <= L'Z') || (letter >= L'a' && letter <= L'z');
}

bool IsFollowedFolder(FileSystem& fs, const std::wstring& folder) {
  if (IsRootFolder(folder)) return true;
  const std::uint32_t attributes = fs.Attributes(folder);
  return attributes != kSystemFolder && attributes != kSystemJunction;
}

bool IsFollowedName(CodePage& codePage, const std::wstring& name) {
  return Utf16Length(name) < kPathLimit && !HasBadCharacters(codePage, name) &&
         name.find(L'?') == std::wstring::npos && name != L"." && name != L"..";
}

// What one traversal remembers from level to level.
struct TraversalRecord {
  // Every folder taken into the list so far, by what it is rather than by
  // its path: a link or junction back up the tree leads to one of these,
  // and following it would walk the same folders again without end.
  std::set<FolderIdentity> taken;
  // Folders already reported as unreadable: one report each.
  std::set<std::wstring> unreadable;
};

// Takes the folder unless a folder the traversal already holds is the same
// one by another path. A folder whose identity cannot be told is taken.
bool TakeFolderOnce(FileSystem& fs, TraversalRecord& record, const std::wstring& folder) {
  const std::optional<FolderIdentity> identity = fs.FolderIdentityOf(folder);
  return !identity || record.taken.insert(*identity).second;
}

// The failure of a search, told with the folder it could not read, so that
// its report says where the scan has a gap.
Failure UnreadableFolder(const Failure& cause, const std::wstring& folder) {
  const std::wstring shown = folder.ends_with(L'\\') ? folder : folder + L"\\";
  return Failure(cause.number(), NormalizeFolderPath(shown) + L": " + cause.description());
}

bool IsGoneOrDenied(const Failure& failure) {
  return failure.number() == failure_number::kPermissionDenied ||
         failure.number() == failure_number::kPathNotFound;
}

// The files of `folder` that match `pattern` and pass the open test, with the
// attributes the directory search reported for them.
std::vector<FoundEntry> PresentFilesInFolder(TraversalPorts ports, const std::wstring& folder,
                                             const std::wstring& pattern) {
  const std::wstring base = folder.ends_with(L'\\') ? folder : folder + L"\\";
  std::vector<FoundEntry> files;
  for (FoundEntry& entry : ports.fs.FindEntries(base + pattern)) {
    if (entry.attributes & file_attribute::kDirectory) continue;
    if (FileIsPresent(ports.fs, base + entry.name)) files.push_back(std::move(entry));
  }
  return files;
}

void ListSubFolders(TraversalPorts ports, FolderList& folders, bool recurse,
                    TraversalRecord& record);

}  // namespace

void GetSubDirectories2016(TraversalPorts ports, FolderList& folders, bool recurse) {
  TraversalRecord record;
  // The caller's own folders are held from the start: a link below them
  // that leads back to one of them is not followed.
  for (const std::wstring& folder : folders) TakeFolderOnce(ports.fs, record, folder);
  ListSubFolders(ports, folders, recurse, record);
}

namespace {

// Steps: 100 the entry is a folder, 102 its length, 104 the yield, 106 root or
// attributes, 108 listing its sub-folders, 110 the yield per sub-folder, 112
// the name test, 114 keeping the sub-folder, 116 taking the entry out when
// it cannot be listed for lack of rights or is gone, 118 the next level, 120
// a found folder still is one, 122 the yield, 124 root or attributes, 126
// handing it up; 128 is a folder whose files could not be searched
// (AddFolderTreeFiles).
void ListSubFolders(TraversalPorts ports, FolderList& folders, bool recurse,
                    TraversalRecord& record) {
  GuardedProcedure guard(ports.boxes, kGetSubDirectories);
  FolderList found;

  // By position: an entry taken out moves the next one into its place.
  for (std::size_t i = 0; i < folders.size();) {
    const std::wstring folder = folders[i];
    if (!guard.Test(100, [&] { return IsFolder(ports.fs, folder); }) ||
        !guard.Test(102, [&] { return Utf16Length(folder) < kPathLimit; })) {
      ++i;
      continue;
    }
    guard.Run(104, [&] { ports.pump.HandlePending(); });
    if (!guard.Test(106, [&] { return IsFollowedFolder(ports.fs, folder); })) {
      ++i;
      continue;
    }

    std::vector<std::wstring> names;
    bool unlistable = false;
    guard.Run(108, [&] {
      try {
        names = ports.fs.SubFolderNames(folder);
      } catch (const Failure& failure) {
        if (!IsGoneOrDenied(failure)) {
          record.unreadable.insert(folder);
          throw UnreadableFolder(failure, folder);
        }
        unlistable = true;
      }
    });
    for (const std::wstring& name : names) {
      guard.Run(110, [&] { ports.pump.HandlePending(); });
      if (guard.Test(112, [&] { return IsFollowedName(ports.codePage, name); })) {
        guard.Run(114, [&] {
          const std::wstring child = folder + name + L"\\";
          if (TakeFolderOnce(ports.fs, record, child)) found.push_back(child);
        });
      }
    }

    bool removed = false;
    if (unlistable) {
      guard.Run(116, [&] {
        for (auto entry = folders.begin(); entry != folders.end(); ++entry) {
          if (*entry == folder) {
            folders.erase(entry);
            removed = true;
            break;
          }
        }
      });
    }
    // The first equal entry is at or before this one, so the next entry now
    // stands where this one stood.
    if (!removed) ++i;
  }

  if (recurse && !found.empty()) {
    guard.Run(118, [&] { ListSubFolders(ports, found, recurse, record); });
  }

  for (const std::wstring& folder : found) {
    if (!guard.Test(120, [&] { return IsFolder(ports.fs, folder); })) continue;
    guard.Run(122, [&] { ports.pump.HandlePending(); });
    if (guard.Test(124, [&] { return IsFollowedFolder(ports.fs, folder); })) {
      guard.Run(126, [&] { folders.push_back(folder); });
    }
  }
}

}  // namespace

bool HasBadCharacters(CodePage& codePage, const std::wstring& name) {
  for (const wchar_t character : name) {
    // Control characters and "?" are bad in any code page.
    const auto value = static_cast<std::uint32_t>(character);
    if (value < 32 || (value >= 127 && value <= 159) || character == L'?') return true;
    // A character the code page has a code for is judged by that code too.
    // One it has no code for is followed: the file system is reached through
    // the wide functions, which take every name as it is.
    const std::optional<unsigned char> code = codePage.SingleByteCode(character);
    if (code && (*code < 32 || (*code >= 127 && *code <= 159) || *code == '?')) return true;
  }
  return false;
}

std::vector<std::wstring> GetFilesInFolder(TraversalPorts ports, const std::wstring& folder,
                                           const std::wstring& pattern) {
  std::vector<std::wstring> names;
  for (FoundEntry& entry : PresentFilesInFolder(ports, folder, pattern)) {
    names.push_back(std::move(entry.name));
  }
  return names;
}

bool FileIsPresent(FileSystem& fs, const std::wstring& path) { return fs.CanOpenFile(path); }

void AddFolderTreeFiles(TraversalPorts ports, JobList& list, const std::wstring& startFolder,
                        const std::wstring& pattern) {
  FolderList folders{startFolder + L"\\"};
  TraversalRecord record;
  TakeFolderOnce(ports.fs, record, folders.front());
  ListSubFolders(ports, folders, true, record);
  for (const std::wstring& entry : folders) {
    const std::wstring folder = entry.substr(0, entry.size() - 1);
    std::vector<FoundEntry> files;
    try {
      files = PresentFilesInFolder(ports, folder, pattern);
    } catch (const Failure& failure) {
      // A rejected pattern fails in every folder alike: that is the caller's
      // to report. Any other failure leaves a gap in this folder only: it is
      // told, naming the folder, and the other folders are still scanned.
      if (failure.number() == failure_number::kBadFileName) throw;
      if (record.unreadable.insert(entry).second) {
        ShowErrorReport(ports.boxes, kGetSubDirectories, kUnreadableFilesStep,
                        UnreadableFolder(failure, folder).description());
      }
      continue;
    }
    // The attributes are the ones the search of this same pass reported: a
    // second query per file would only repeat them.
    for (const FoundEntry& file : files) {
      if (file.name.starts_with(L'~') || file.attributes == kHiddenArchiveFile) continue;
      const std::wstring path = folder + L"\\" + file.name;
      list.Add(NormalizeFolderPath(path));
    }
  }
}

}  // namespace pellacore
