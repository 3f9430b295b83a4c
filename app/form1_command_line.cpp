// Form1 from the command line: paths added to the list (given at start or
// handed over by a later start), and a batch run without the window whose
// outcome is the program's exit code.

#include <exception>

#include "app/form1.h"
#include "joblist/add_folder.h"
#include "platform/message_boxes.h"
#include "platform/settings_store.h"
#include "util/command_line.h"
#include "util/files.h"
#include "util/paths.h"
#include "util/settings.h"
#include "util/text.h"

namespace pellacore {

namespace {

// Whether the list holds the path already, as Windows compares paths.
bool IsListed(const JobList& list, const std::wstring& path) {
  const std::wstring folded = LowerAscii(path);
  for (std::size_t i = 1; i <= list.Count(); ++i) {
    if (LowerAscii(list.Text(i)) == folded) return true;
  }
  return false;
}

}  // namespace

int BatchExitCode(const std::vector<DrawingOutcome>& outcomes) {
  if (outcomes.empty()) return kExitNotAllConverted;  // the run was refused
  for (const DrawingOutcome& outcome : outcomes) {
    if (outcome.result != DrawingResult::kConverted) return kExitNotAllConverted;
  }
  return kExitAllConverted;
}

void Form1::AddCommandLinePaths(const std::vector<std::wstring>& paths) {
  std::wstring pattern = L"*.dwg";
  try {
    pattern = L"*." + ReadSetting(ports_.settings, setting_key::kExtension, L"dwg");
  } catch (const Failure&) {
    // A store that cannot be read leaves drawings.
  }
  for (const std::wstring& path : paths) {
    // A path that is gone or cannot be read is passed over, as in a drop.
    try {
      const std::optional<bool> folder = IsDroppedFolder(path);
      if (!folder) continue;
      if (*folder) {
        AddFolderTreeFiles(Traversal(), jobList_, path, pattern);
      } else if (!IsListed(jobList_, path)) {
        // Send To the same selection twice lists it once.
        jobList_.Add(path);
      }
    } catch (const std::exception&) {
    }
  }
}

int Form1::ConvertFromCommandLine(const CommandLine& command) {
  AddCommandLinePaths(command.paths);
  if (jobList_.Empty()) {
    ports_.boxes.Show(L"Nothing to convert: no drawing was found at the paths given.", applicationTitle_,
                      MessageButtons::kOk, MessageIcon::kExclamation);
    return kExitWrongCommandLine;
  }
  if (command.outFolder && !IsFolder(ports_.fs, *command.outFolder)) {
    ports_.boxes.Show(L"The folder \"" + *command.outFolder + L"\" given with /out does not exist.", applicationTitle_,
                      MessageButtons::kOk, MessageIcon::kExclamation);
    return kExitWrongCommandLine;
  }
  // For this run only: the stored choices stay as the user left them.
  const std::wstring text1 = text1_;
  const bool option1 = option1_;
  const bool option2 = option2_;
  text1_ = command.outFolder.value_or(L"");
  option1_ = command.outFolder.has_value();
  option2_ = !option1_;
  batch_ = BatchChoices{command.route, command.reportFile};
  lastRun_.clear();
  PushButton2_Click();
  batch_.reset();
  text1_ = text1;
  option1_ = option1;
  option2_ = option2;
  return BatchExitCode(lastRun_);
}

}  // namespace pellacore
