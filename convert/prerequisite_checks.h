#pragma once
// The start-up checks for the conversion's two partners: AutoCAD's
// automation server and the virtual PDF printer.

#include <string>

namespace pellacore {

class AutoCadInstances;
class MessageBoxes;
class Printing;

// How long the start-up check waits for AutoCAD to start and quit.
inline constexpr int kAutoCadCheckSeconds = 120;

// What the main window asks at start-up: whether AutoCAD and the PDF printer
// are there.
class PrerequisiteChecks {
 public:
  virtual ~PrerequisiteChecks() = default;
  // Whether AutoCAD's automation server can be started; tells the user when
  // not, in a box captioned `title`.
  virtual bool AutoCadAvailable(const std::wstring& title) = 0;
  // Tells the user when the virtual PDF printer is not installed.
  virtual void PdfPrinterInstalled(const std::wstring& title) = 0;
};

struct PartnerCheckPorts {
  AutoCadInstances& instances;
  Printing& printing;
  MessageBoxes& boxes;
};

class PartnerChecks : public PrerequisiteChecks {
 public:
  explicit PartnerChecks(PartnerCheckPorts ports) : ports_(ports) {}

  // Starts an AutoCAD of the program's own and quits it again, so that none
  // is left running; when none can be started, tells the user what is
  // missing and answers false.
  bool AutoCadAvailable(const std::wstring& title) override;
  // Tells the user how to install the PDF printer when no installed printer
  // has exactly its name. A failure of the printer list is raised.
  void PdfPrinterInstalled(const std::wstring& title) override;

 private:
  PartnerCheckPorts ports_;
};

// What the user is told when the PDF printer is not installed: how to
// install it.
std::wstring PdfPrinterMissingText();

// Whether an installed printer's device name is exactly the PDF printer's.
bool IsPdfPrinter(const std::wstring& deviceName);

}  // namespace pellacore
