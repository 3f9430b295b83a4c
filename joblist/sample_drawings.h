#pragma once
// The sample drawings installed in "Samples" beside the program: recorded
// once, at the first start that finds files there, and added to the job list
// on request.

#include <string>

#include "joblist/add_folder.h"
#include "joblist/sample_list.h"

namespace pellacore {

class JobList;
class MessageBoxes;
class SettingsStore;
class Shell;

struct SamplePorts {
  SettingsStore& settings;
  MessageBoxes& boxes;
  Shell& shell;
  TraversalPorts traversal;
};

class SampleDrawings : public SampleList {
 public:
  // `programFolder`: the program's folder, without a trailing "\".
  SampleDrawings(SamplePorts ports, std::wstring programFolder)
      : ports_(ports), programFolder_(std::move(programFolder)) {}

  // Stores the full paths of the sample folder's files, encoded, in "Snapshot".
  void RecordSampleList() override;

  // Adds every recorded sample that exists and is not listed yet, then offers
  // to open the sample folder.
  void LoadSampleFiles(JobList& list, const std::wstring& title) override;

 private:
  std::wstring SampleFolder() const { return programFolder_ + L"\\Samples"; }

  SamplePorts ports_;
  std::wstring programFolder_;
};

}  // namespace pellacore
