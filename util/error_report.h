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

// Shows the report (OK only, exclamation icon) and returns once it is closed.
void ShowErrorReport(MessageBoxes& boxes, std::wstring_view identifier, int step,
                     std::wstring_view description);

}  // namespace pellacore
