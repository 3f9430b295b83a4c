#pragma once
// What the main window asks of the sample drawings: recording which are
// installed, and adding them to the job list.

#include <string>

namespace pellacore {

class JobList;

class SampleList {
 public:
  virtual ~SampleList() = default;
  // Records which sample drawings are installed (the "Snapshot" setting).
  virtual void RecordSampleList() = 0;
  // Adds the recorded samples to `list`; `title` captions the question asked.
  virtual void LoadSampleFiles(JobList& list, const std::wstring& title) = 0;
};

}  // namespace pellacore
