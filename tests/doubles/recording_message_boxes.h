#pragma once
// Message boxes that record what they were asked to show and answer from a
// script (OK, or Yes when the box asks a question, unless told otherwise).

#include <deque>
#include <string>
#include <vector>

#include "platform/message_boxes.h"

namespace pellacore::testing {

struct ShownMessage {
  std::wstring text;
  std::wstring title;
  MessageButtons buttons;
  MessageIcon icon;
};

class RecordingMessageBoxes : public MessageBoxes {
 public:
  std::vector<ShownMessage> shown;
  std::deque<MessageAnswer> answers;

  MessageAnswer Show(const std::wstring& text, const std::wstring& title, MessageButtons buttons,
                     MessageIcon icon) override {
    shown.push_back({text, title, buttons, icon});
    if (!answers.empty()) {
      const MessageAnswer answer = answers.front();
      answers.pop_front();
      return answer;
    }
    return buttons == MessageButtons::kYesNo ? MessageAnswer::kYes : MessageAnswer::kOk;
  }
};

}  // namespace pellacore::testing
