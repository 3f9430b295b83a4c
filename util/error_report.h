#pragma once
// The error report: the one message box that tells the user about an
// unexpected failure inside a guarded procedure.

#include <string>
#include <string_view>

namespace pellacore {

class MessageBoxes;

inline constexpr std::wstring_view kErrorReportTitle = L"Application Error";

// The report's text: the description, CR LF, the procedure identifier (which
// ends in a blank), "at line " and the step, CR CR, the support request.
std::wstring ErrorReportText(std::wstring_view description, std::wstring_view identifier,
                             int step);

// Message boxes that also take error reports as what they are (procedure,
// step, description): ShowErrorReport hands a report to such boxes instead
// of formatting it, so a run can keep it as a drawing's reason.
class ErrorReportSink {
 public:
  virtual void Reported(std::wstring_view identifier, int step, std::wstring_view description) = 0;

 protected:
  ~ErrorReportSink() = default;
};

// Shows the report (OK only, exclamation icon) and returns once it is
// closed; boxes that are also an ErrorReportSink are handed it instead.
void ShowErrorReport(MessageBoxes& boxes, std::wstring_view identifier, int step,
                     std::wstring_view description);

}  // namespace pellacore
