#pragma once
// Start-up's partners that the program does not have yet: the sample list is
// not recorded and the prerequisite checks find nothing, so the conversion
// run stays unavailable. Replaced one by one as those parts arrive.

#include "app/startup_partners.h"

namespace pellacore::win32 {

class NoSampleRecorder : public SampleRecorder {
 public:
  void RecordSampleList() override {}
};

class NoPrerequisiteChecks : public PrerequisiteChecks {
 public:
  bool AutoCadAvailable() override { return false; }
  void PdfPrinterInstalled() override {}
};

}  // namespace pellacore::win32
