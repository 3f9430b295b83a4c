#pragma once
// The message boxes of a conversion run: every box goes to the window's
// boxes as before, and an error report is also kept as the reason of the
// drawing in hand (its first report only).

#include "convert/drawing_outcome.h"
#include "platform/message_boxes.h"
#include "util/error_report.h"

namespace pellacore {

class RunReports : public MessageBoxes, public ErrorReportSink {
 public:
  explicit RunReports(MessageBoxes& boxes) : boxes_(boxes) {}

  // The drawing whose reports are kept from now on; null for none.
  void KeepFor(DrawingOutcome* outcome) { current_ = outcome; }

  MessageAnswer Show(const std::wstring& text, const std::wstring& title, MessageButtons buttons,
                     MessageIcon icon) override {
    return boxes_.Show(text, title, buttons, icon);
  }

  void Reported(std::wstring_view identifier, int step, std::wstring_view description) override {
    if (current_ && current_->step == 0) {
      current_->step = step;
      current_->message = std::wstring(description);
    }
    ShowErrorReport(boxes_, identifier, step, description);
  }

 private:
  MessageBoxes& boxes_;
  DrawingOutcome* current_ = nullptr;
};

}  // namespace pellacore
