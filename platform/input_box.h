#pragma once
// Port: a box that asks the user for one line of text.

#include <string>

namespace pellacore {

class InputBox {
 public:
  virtual ~InputBox() = default;

  // Shows the prompt (CR CR starts a new paragraph) with OK and Cancel and an
  // edit box holding `defaultText`; answers the text, or "" on Cancel.
  virtual std::wstring Ask(const std::wstring& prompt, const std::wstring& title,
                           const std::wstring& defaultText) = 0;
};

}  // namespace pellacore
