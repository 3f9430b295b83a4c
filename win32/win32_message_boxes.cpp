#include "win32/win32_message_boxes.h"

namespace pellacore::win32 {
namespace {

UINT ButtonFlags(MessageButtons buttons) {
  return buttons == MessageButtons::kYesNo ? MB_YESNO : MB_OK;
}

UINT IconFlags(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kExclamation:
      return MB_ICONEXCLAMATION;
    case MessageIcon::kInformation:
      return MB_ICONINFORMATION;
    case MessageIcon::kQuestion:
      return MB_ICONQUESTION;
    case MessageIcon::kNone:
      break;
  }
  return 0;
}

}  // namespace

MessageAnswer Win32MessageBoxes::Show(const std::wstring& text, const std::wstring& title,
                                      MessageButtons buttons, MessageIcon icon) {
  const int answer = ::MessageBoxW(owner_, text.c_str(), title.c_str(),
                                   ButtonFlags(buttons) | IconFlags(icon) | MB_APPLMODAL);
  switch (answer) {
    case IDYES:
      return MessageAnswer::kYes;
    case IDNO:
      return MessageAnswer::kNo;
    default:
      return MessageAnswer::kOk;
  }
}

}  // namespace pellacore::win32
