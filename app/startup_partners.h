#pragma once
// What the main window asks of the other parts of the program: the sample
// drawings, and the checks for AutoCAD and the PDF printer at start-up.

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

class PrerequisiteChecks {
 public:
  virtual ~PrerequisiteChecks() = default;
  // Whether AutoCAD's automation server can be started; tells the user when
  // not, in a box captioned `title`.
  virtual bool AutoCadAvailable(const std::wstring& title) = 0;
  // Tells the user when the virtual PDF printer is not installed.
  virtual void PdfPrinterInstalled(const std::wstring& title) = 0;
};

}  // namespace pellacore
