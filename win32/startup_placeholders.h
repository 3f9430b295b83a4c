#pragma once
// Start-up's partners that the program does not have yet: the prerequisite
// checks find nothing, so the conversion run stays unavailable. Replaced
// when the checks arrive.

#include "app/startup_partners.h"

namespace pellacore::win32 {

class NoPrerequisiteChecks : public PrerequisiteChecks {
 public:
  bool AutoCadAvailable() override { return false; }
  void PdfPrinterInstalled() override {}
};

}  // namespace pellacore::win32
