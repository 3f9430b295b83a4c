#pragma once
// Folder trees as job-list entries: the sub-folder lister, the file lister,
// the open test, the folder-name test, and the rule that turns every matching
// file of a tree into an entry.

#include <string>
#include <vector>

namespace pellacore {

class CodePage;
class EventPump;
class FileSystem;
class JobList;
class MessageBoxes;

struct TraversalPorts {
  FileSystem& fs;
  EventPump& pump;
  MessageBoxes& boxes;  // the lister's own error report
  CodePage& codePage;
};

// Folder list: folder paths, each ending in "\".
using FolderList = std::vector<std::wstring>;

// Appends to `folders` every reachable sub-folder of its entries, level by
// level (recursing when `recurse`), leaving out folders whose attributes are
// exactly 22 or 1046 and names the traversal does not follow; removes an
// entry whose sub-folders cannot be listed for lack of rights (70) or because
// it is gone (76), and reports, naming it, one that fails otherwise. Each
// folder comes once: a folder reached again by another path (a link or
// junction, maybe back up the tree) is not taken again, nor is one of the
// caller's entries. Guarded: "in Ondrelith2021/08/31.AddFolder.GetSubDirectories2016 ".
void GetSubDirectories2016(TraversalPorts ports, FolderList& folders, bool recurse);

// The names (without folder) of the files in `folder` that match `pattern`
// (normal, hidden and system files; no folders), each passing FileIsPresent,
// in the order of the directory search; empty when nothing matched. `folder`
// may end in "\" or not. Raises when the search rejects the pattern.
std::vector<std::wstring> GetFilesInFolder(TraversalPorts ports, const std::wstring& folder,
                                           const std::wstring& pattern);

// Whether the path names an existing file that can be opened.
bool FileIsPresent(FileSystem& fs, const std::wstring& path);

// Whether a folder name holds a character the traversal does not follow: a
// control character (below 32, or 127 to 159) or "?", or one whose code in
// the system code page is among those. A character without a code there is
// followed.
bool HasBadCharacters(CodePage& codePage, const std::wstring& name);

// Appends to `list` every file of the tree under `startFolder` that matches
// `pattern`, can be opened, has a name not starting with "~" and attributes
// other than exactly 34, each through NormalizeFolderPath. A folder whose
// files cannot be searched is reported once, naming it, under the lister's
// identifier, and the scan goes on; a pattern that the search rejects
// (52 "Bad file name or number") is raised.
void AddFolderTreeFiles(TraversalPorts ports, JobList& list, const std::wstring& startFolder,
                        const std::wstring& pattern);

}  // namespace pellacore
