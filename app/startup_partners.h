#pragma once
// What start-up asks of the other parts of the program: the recording of the
// installed sample drawings and the checks for AutoCAD and the PDF printer.

namespace pellacore {

class SampleRecorder {
 public:
  virtual ~SampleRecorder() = default;
  // Records which sample drawings are installed (the "Snapshot" setting).
  virtual void RecordSampleList() = 0;
};

class PrerequisiteChecks {
 public:
  virtual ~PrerequisiteChecks() = default;
  // Whether AutoCAD's automation server can be started; tells the user when not.
  virtual bool AutoCadAvailable() = 0;
  // Tells the user when the virtual PDF printer is not installed.
  virtual void PdfPrinterInstalled() = 0;
};

}  // namespace pellacore
