#include "joblist/sample_drawings.h"

#include "joblist/job_list.h"
#include "joblist/snapshot_codec.h"
#include "platform/message_boxes.h"
#include "platform/settings_store.h"
#include "platform/shell.h"
#include "util/files.h"
#include "util/settings.h"

namespace pellacore {
namespace {

constexpr wchar_t kOpenFolderQuestion[] =
    L"Would you like this software to open the folder where these sample files are stored (so "
    L"that you can view them before working with them)?";

}  // namespace

void SampleDrawings::RecordSampleList() {
  std::wstring plain;
  for (const std::wstring& name : GetFilesInFolder(ports_.traversal, SampleFolder(), L"*.*")) {
    plain += SampleFolder() + L"\\" + name + L"|";
  }
  if (!plain.empty()) plain.pop_back();
  ports_.settings.Write(setting_key::kSnapshot, EncodeSnapshot(plain, ports_.traversal.pump));
}

void SampleDrawings::LoadSampleFiles(JobList& list, const std::wstring& title) {
  const std::wstring stored =
      ReadSetting(ports_.settings, setting_key::kSnapshot, BooleanSettingText(false));
  const std::wstring plain = DecodeSnapshot(stored, ports_.traversal.pump);
  // Every piece between the separators; an empty text has none.
  std::size_t start = 0;
  while (!plain.empty() && start <= plain.size()) {
    std::size_t end = plain.find(L'|', start);
    if (end == std::wstring::npos) end = plain.size();
    const std::wstring piece = plain.substr(start, end - start);
    if (FileExists(ports_.traversal.fs, piece) && !IsInJobList(list, piece)) list.Add(piece);
    start = end + 1;
  }
  const MessageAnswer answer =
      ports_.boxes.Show(kOpenFolderQuestion, title, MessageButtons::kYesNo, MessageIcon::kNone);
  if (answer == MessageAnswer::kYes) {
    ports_.shell.Open(L"\"" + programFolder_ + L"\\Samples\\\"", L"C:\\");
  }
}

}  // namespace pellacore
