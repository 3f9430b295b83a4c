#include "win32/console_message_boxes.h"

#include "win32/console_output.h"

namespace pellacore::win32 {

MessageAnswer ConsoleMessageBoxes::Show(const std::wstring& text, const std::wstring& title, MessageButtons buttons,
                                        MessageIcon) {
  // Boxes break lines with CR alone at times; a console wants CR LF.
  std::wstring lines;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' && (i + 1 >= text.size() || text[i + 1] != L'\n')) {
      lines += L"\r\n";
    } else {
      lines += text[i];
    }
  }
  WriteConsoleText(title + L": " + lines + L"\r\n");
  return buttons == MessageButtons::kYesNo ? MessageAnswer::kNo : MessageAnswer::kOk;
}

}  // namespace pellacore::win32
