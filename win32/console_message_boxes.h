#pragma once
// The message boxes of a run from the command line, which shows no window:
// each box's words go to the console (when there is one) and it is answered
// as nobody being there would: OK, or No to a question (the end box's "Open
// it now?").

#include "platform/message_boxes.h"

namespace pellacore::win32 {

class ConsoleMessageBoxes : public MessageBoxes {
 public:
  MessageAnswer Show(const std::wstring& text, const std::wstring& title, MessageButtons buttons,
                     MessageIcon icon) override;
};

}  // namespace pellacore::win32
