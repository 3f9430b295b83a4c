#pragma once
// The message boxes of a conversion run: an error report is kept as the
// reason of the drawing in hand (its first report only) and shown as before,
// unless the run is unattended: then no box waits during the run, and what
// it would have said is kept instead.

#include <string>
#include <vector>

#include "convert/drawing_outcome.h"
#include "platform/message_boxes.h"
#include "util/error_report.h"

namespace pellacore {

class RunReports : public MessageBoxes, public ErrorReportSink {
 public:
  explicit RunReports(MessageBoxes& boxes) : boxes_(boxes) {}

  // The drawing whose reports are kept from now on; null for none.
  void KeepFor(DrawingOutcome* outcome) { current_ = outcome; }

  // From now on, whether boxes are kept rather than shown.
  void SetUnattended(bool unattended) { unattended_ = unattended; }

  MessageAnswer Show(const std::wstring& text, const std::wstring& title, MessageButtons buttons,
                     MessageIcon icon) override;
  void Reported(std::wstring_view identifier, int step, std::wstring_view description) override;

  // The reports of an unattended run that came while no drawing was in
  // hand, as their boxes would have said them; taken once.
  std::vector<std::wstring> TakeLooseReports();

 private:
  MessageBoxes& boxes_;
  DrawingOutcome* current_ = nullptr;
  bool unattended_ = false;
  std::vector<std::wstring> loose_;
};

}  // namespace pellacore
