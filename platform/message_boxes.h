#pragma once
// Port: modal message boxes, owned by the main window and application-modal.

#include <string>

namespace pellacore {

enum class MessageButtons { kOk, kYesNo };
enum class MessageIcon { kNone, kExclamation, kInformation, kQuestion };
enum class MessageAnswer { kOk, kYes, kNo };

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;

  // Shows the box and returns once the user has closed it.
  virtual MessageAnswer Show(const std::wstring& text, const std::wstring& title,
                             MessageButtons buttons, MessageIcon icon) = 0;
};

}  // namespace pellacore
