#include "convert/run_reports.h"

#include <utility>

namespace pellacore {

MessageAnswer RunReports::Show(const std::wstring& text, const std::wstring& title, MessageButtons buttons,
                               MessageIcon icon) {
  if (!unattended_) return boxes_.Show(text, title, buttons, icon);
  // Only OK boxes come during a run: nobody is there to read them, so the
  // drawing keeps their words and the run goes on as after OK.
  if (current_) {
    if (current_->message.empty()) current_->message = text;
  } else {
    loose_.push_back(text);
  }
  return MessageAnswer::kOk;
}

void RunReports::Reported(std::wstring_view identifier, int step, std::wstring_view description) {
  if (current_ && current_->step == 0) {
    current_->step = step;
    current_->message = std::wstring(description);
  }
  if (!unattended_) {
    ShowErrorReport(boxes_, identifier, step, description);
  } else if (!current_) {
    loose_.push_back(ErrorReportText(description, identifier, step));
  }
}

std::vector<std::wstring> RunReports::TakeLooseReports() { return std::exchange(loose_, {}); }

}  // namespace pellacore
