#include "util/error_report.h"

#include "platform/message_boxes.h"
#include "util/product.h"

namespace pellacore {

std::wstring ErrorReportText(std::wstring_view description, std::wstring_view identifier,
                             int step) {
  std::wstring text(description);
  text += L"\r\n";
  text += identifier;
  text += L"at line ";
  text += std::to_wstring(step);
  text += L"\r\r";
  text += L"Please email screenshot of this message to ";
  text += kSupportAddress;
  return text;
}

void ShowErrorReport(MessageBoxes& boxes, std::wstring_view identifier, int step,
                     std::wstring_view description) {
  if (auto* sink = dynamic_cast<ErrorReportSink*>(&boxes)) {
    sink->Reported(identifier, step, description);
    return;
  }
  boxes.Show(ErrorReportText(description, identifier, step), std::wstring(kErrorReportTitle),
             MessageButtons::kOk, MessageIcon::kExclamation);
}

}  // namespace pellacore
