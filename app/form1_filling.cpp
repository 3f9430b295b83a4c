// Form1's ways of filling the job list: the file dialog, a drop of files and
// folders, a folder scan, the sample drawings.

#include <exception>

#include "app/form1.h"
#include "joblist/add_folder.h"
#include "joblist/sample_list.h"
#include "platform/drop_effect.h"
#include "platform/file_dialogs.h"
#include "platform/file_system.h"
#include "platform/folder_picker.h"
#include "platform/input_box.h"
#include "platform/main_window.h"
#include "platform/message_boxes.h"
#include "platform/settings_store.h"
#include "util/files.h"
#include "util/guarded.h"
#include "util/paths.h"
#include "util/settings.h"

namespace pellacore {
namespace {

constexpr wchar_t kPushButton1Click[] = L"in Corvanta2021/08/31.Form1.PushButton1_Click ";
constexpr wchar_t kPushButton3Click[] = L"in Corvanta2021/08/31.Form1.PushButton3_Click ";
constexpr wchar_t kPushButton8Click[] = L"in Corvanta2021/08/31.Form1.PushButton8_Click ";

constexpr std::size_t kDialogBufferChars = 30000;
constexpr std::uint32_t kAddFilesFlags = open_flag::kReadOnly | open_flag::kAllowMultiSelect |
                                         open_flag::kExplorer | open_flag::kLongNames;
constexpr wchar_t kTooManyFiles[] =
    L"You've selected too many files to add.\r\rPlease try adding via the \"Add All\" button.";
constexpr wchar_t kExtensionPrompt[] =
    L"Enter file extension to load:\r\r(* for all files, txt for all txt files, doc for all doc "
    L"files, etc.)";

std::vector<std::wstring> SplitAtNul(const std::wstring& text) {
  std::vector<std::wstring> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(L'\0', start);
    parts.push_back(text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
    if (end == std::wstring::npos) return parts;
    start = end + 1;
  }
}

}  // namespace

TraversalPorts Form1::Traversal() { return {ports_.fs, ports_.pump, ports_.boxes, ports_.codePage}; }

void Form1::PushButton1_Click() {
  GuardedProcedure guard(ports_.boxes, kPushButton1Click);
  std::wstring chosen;
  bool tooMany = false;
  guard.Run(100, [&] {
    OpenDialogSettings settings;
    settings.fileName = L"";
    settings.flags = kAddFilesFlags;
    settings.title = L"Add File(s) - Hold Ctrl or Shift to select multiple files";
    settings.filter = L"All DWG (*.dwg)|*.dwg";
    settings.bufferChars = kDialogBufferChars;
    try {
      chosen = ports_.fileDialogs.ShowOpen(settings);
    } catch (const Failure& failure) {
      // A selection that does not fit is told to the user, not reported.
      if (failure.number() != failure_number::kBufferTooSmall) throw;
      tooMany = true;
    }
  });
  if (tooMany) {
    ports_.boxes.Show(kTooManyFiles, applicationTitle_, MessageButtons::kOk, MessageIcon::kNone);
    return;
  }
  if (guard.Test(102, [&] { return chosen.empty(); })) return;

  std::vector<std::wstring> parts;
  guard.Run(104, [&] { parts = SplitAtNul(chosen); });
  if (parts.size() == 1) {
    guard.Run(106, [&] { jobList_.Add(parts[0]); });
    return;
  }
  // The folder, then the names chosen in it; a drive root's "\" doubles up.
  for (std::size_t i = 1; i < parts.size(); ++i) {
    guard.Run(108, [&] { jobList_.Add(NormalizeFolderPath(parts[0] + L"\\" + parts[i])); });
  }
}

void Form1::ListView1_OLEDragOver(bool offersFileList, std::uint32_t& effect) {
  // Only ever a copy: a source that carries out a move itself would delete
  // the files that were dropped.
  const bool copyAllowed = (effect & drop_effect::kCopy) != 0;
  effect = offersFileList && copyAllowed ? drop_effect::kCopy : drop_effect::kNone;
}

// A dropped item is a folder when a search for exactly its path finds a
// folder; nullopt when the search does not find it any more. A drive's or a
// share's root is no entry of any folder, so no search finds it: its
// attributes tell.
std::optional<bool> Form1::IsDroppedFolder(const std::wstring& item) {
  if (IsRootPath(item)) {
    if (!IsFolder(ports_.fs, item)) return std::nullopt;
    return true;
  }
  const std::vector<FoundEntry> found = ports_.fs.FindEntries(item);
  if (found.empty()) return std::nullopt;
  return (found.front().attributes & file_attribute::kDirectory) != 0;
}

void Form1::ListView1_OLEDragDrop(const std::vector<std::wstring>& files) {
  for (const std::wstring& item : files) {
    // An item that is gone or cannot be read is passed over; the drop goes on.
    try {
      const std::optional<bool> folder = IsDroppedFolder(item);
      if (!folder) continue;
      if (*folder) {
        AddFolderTreeFiles(Traversal(), jobList_, item, L"*.*");
      } else {
        jobList_.Add(item);
      }
    } catch (const std::exception&) {
    }
  }
}

void Form1::PushButton3_Click() {
  GuardedProcedure guard(ports_.boxes, kPushButton3Click);
  SettingsStore& settings = ports_.settings;
  std::wstring answer;
  guard.Run(100, [&] {
    answer = ports_.inputBox.Ask(kExtensionPrompt, applicationTitle_,
                                 ReadSetting(settings, setting_key::kExtension, L"dwg"));
  });
  if (guard.Test(102, [&] { return answer.empty(); })) return;
  guard.Run(104, [&] { settings.Write(setting_key::kExtension, answer); });

  std::wstring chosen;
  guard.Run(106, [&] {
    lastFolder_ = ReadSetting(settings, setting_key::kLastFolder, L"");
    chosen = ports_.folderPicker.Browse(kFolderPrompt, lastFolder_);
  });
  if (guard.Test(108, [&] { return chosen.empty(); })) return;
  guard.Run(110, [&] {
    lastFolder_ = chosen;
    settings.Write(setting_key::kLastFolder, lastFolder_);
  });

  guard.Run(112, [&] { SetMousePointer(pointer_code::kHourglass); });
  guard.Run(114, [&] { AddFolderTreeFiles(Traversal(), jobList_, chosen, L"*." + answer); });
  guard.Run(116, [&] { SetMousePointer(pointer_code::kDefault); });
}

void Form1::PushButton8_Click() {
  GuardedProcedure guard(ports_.boxes, kPushButton8Click);
  guard.Run(100, [&] { ports_.samples.LoadSampleFiles(jobList_, applicationTitle_); });
}

}  // namespace pellacore
