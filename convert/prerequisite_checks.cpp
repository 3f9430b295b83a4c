#include "convert/prerequisite_checks.h"

#include <exception>
#include <memory>

#include "convert/autocad_instances.h"
#include "convert/printer_handoff.h"
#include "platform/message_boxes.h"
#include "platform/printing.h"

namespace pellacore {
namespace {

const std::wstring kNoAutoCadWithVba =
    L"A valid version of AutoCAD with VBA was not found on this computer. You need to have "
    L"AutoCAD with VBA installed to use this software.\r\n"
    L"\r\n"
    L"Please Google search:\r\n"
    L"VBA and AutoCAD <your version of AutoCAD here>\r\n"
    L"\r\n"
    L"It is possible to install AutoCAD without VBA so you need to check carefully.";

}  // namespace

std::wstring PdfPrinterMissingText() {
  const std::wstring name = kPdfPrinterName;
  return name + L" is not installed. Please follow these instructions:\r\n"
         L"\r\n"
         L"1) Go to Control Panel -> Printers and Faxes to add a local printer.\r\n"
         L"2) Choose ''CPW2: (" + name + L")'' on Select a Printer Port dialog box, click Next.\r\n"
         L"3) Choose a Postscript printer (e.g. HP Color LaserJet PS), click Next.\r\n"
         L"4) Enter " + name + L" as Printer name, click Next -> Finish.";
}

bool IsPdfPrinter(const std::wstring& deviceName) { return deviceName == kPdfPrinterName; }

bool PartnerChecks::AutoCadAvailable(const std::wstring& title) {
  AutoCadInstances& instances = ports_.instances;
  instances.BeginWork(kAutoCadCheckSeconds);
  bool created = false;
  try {
    instances.Start();
    created = true;
  } catch (const Failure& failure) {
    if (IsLostInstance(failure)) instances.GiveUp();
  } catch (const std::exception&) {
  }
  if (created) {
    // The check leaves no AutoCAD of its own behind, hidden and holding a
    // licence: it is quit, and ended if it will not go.
    try {
      instances.Finish();
    } catch (const Failure& failure) {
      if (IsLostInstance(failure)) instances.GiveUp();
    }
    instances.Release();
    instances.WaitUntilQuitGone();
    return true;
  }
  ports_.boxes.Show(kNoAutoCadWithVba, title, MessageButtons::kOk, MessageIcon::kNone);
  return false;
}

void PartnerChecks::PdfPrinterInstalled(const std::wstring& title) {
  for (const std::wstring& name : ports_.printing.PrinterNames()) {
    if (IsPdfPrinter(name)) return;
  }
  ports_.boxes.Show(PdfPrinterMissingText(), title, MessageButtons::kOk, MessageIcon::kNone);
}

}  // namespace pellacore
