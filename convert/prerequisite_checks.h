#pragma once
// The start-up checks for the conversion's two partners: AutoCAD's
// automation server and the virtual PDF printer.

#include <string>

#include "app/startup_partners.h"

namespace pellacore {

class Automation;
class MessageBoxes;
class Printing;

inline constexpr wchar_t kAutoCadProgId[] = L"AutoCAD.Application";

struct PartnerCheckPorts {
  Automation& automation;
  Printing& printing;
  MessageBoxes& boxes;
};

class PartnerChecks : public PrerequisiteChecks {
 public:
  explicit PartnerChecks(PartnerCheckPorts ports) : ports_(ports) {}

  // Creates an AutoCAD instance and releases it at once; when none can be
  // had, tells the user what is missing and answers false.
  bool AutoCadAvailable(const std::wstring& title) override;
  // Tells the user how to install the PDF printer when no installed printer
  // has exactly its name. A failure of the printer list is raised.
  void PdfPrinterInstalled(const std::wstring& title) override;

 private:
  PartnerCheckPorts ports_;
};

// Whether an installed printer's device name is exactly the PDF printer's.
bool IsPdfPrinter(const std::wstring& deviceName);

}  // namespace pellacore
