#include "win32/win32_input_box.h"

#include <vector>

#include "win32/win32_failure.h"

namespace pellacore::win32 {
namespace {

struct Question {
  const std::wstring& prompt;
  const std::wstring& title;
  const std::wstring& defaultText;
  std::wstring answer;
};

// A dialog template in memory: the box needs no resources, so the tests that
// link the adapters without the program's resources show it too.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short width, short height, const wchar_t* font, WORD points) {
    Align(4);
    Add(LOWORD(style));
    Add(HIWORD(style));
    Add(0);
    Add(0);  // extended style
    countAt_ = words_.size();
    Add(0);  // item count, filled in as items come
    Add(0);
    Add(0);  // x, y
    Add(static_cast<WORD>(width));
    Add(static_cast<WORD>(height));
    Add(0);  // no menu
    Add(0);  // the standard dialog class
    Add(0);  // no title yet
    Add(points);
    AddText(font);
  }

  void AddItem(DWORD style, short x, short y, short width, short height, WORD id, WORD classAtom,
               const wchar_t* text) {
    Align(4);
    style |= WS_CHILD | WS_VISIBLE;
    Add(LOWORD(style));
    Add(HIWORD(style));
    Add(0);
    Add(0);
    for (short value : {x, y, width, height}) Add(static_cast<WORD>(value));
    Add(id);
    Add(0xFFFF);
    Add(classAtom);
    AddText(text);
    Add(0);  // no creation data
    ++words_[countAt_];
  }

  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Add(WORD word) { words_.push_back(word); }
  void AddText(const wchar_t* text) {
    for (; *text; ++text) Add(static_cast<WORD>(*text));
    Add(0);
  }
  void Align(std::size_t bytes) {
    while ((words_.size() * sizeof(WORD)) % bytes) Add(0);
  }

  std::vector<WORD> words_;
  std::size_t countAt_ = 0;
};

constexpr WORD kButton = 0x0080;
constexpr WORD kEdit = 0x0081;
constexpr WORD kStatic = 0x0082;

// The prompt's lone carriage returns as line breaks the static control shows.
std::wstring WithLineBreaks(const std::wstring& text) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    out.push_back(text[i]);
    if (text[i] == L'\r' && (i + 1 == text.size() || text[i + 1] != L'\n')) out.push_back(L'\n');
  }
  return out;
}

INT_PTR CALLBACK QuestionProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  auto* question = reinterpret_cast<Question*>(::GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      question = reinterpret_cast<Question*>(lParam);
      ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      ::SetWindowTextW(dialog, question->title.c_str());
      ::SetDlgItemTextW(dialog, Win32InputBox::kPromptId, WithLineBreaks(question->prompt).c_str());
      HWND answer = ::GetDlgItem(dialog, Win32InputBox::kAnswerId);
      ::SetWindowTextW(answer, question->defaultText.c_str());
      ::SendMessageW(answer, EM_SETSEL, 0, -1);
      ::SetFocus(answer);
      return FALSE;  // the focus is set
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK && question) {
        HWND answer = ::GetDlgItem(dialog, Win32InputBox::kAnswerId);
        std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(answer)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(::GetWindowTextW(answer, text.data(), static_cast<int>(text.size()))));
        question->answer = text;
        ::EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        ::EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

std::wstring Win32InputBox::Ask(const std::wstring& prompt, const std::wstring& title,
                                const std::wstring& defaultText) {
  DialogTemplate layout(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                        262, 92, L"MS Shell Dlg", 8);
  layout.AddItem(SS_LEFT | SS_NOPREFIX, 7, 7, 190, 56, kPromptId, kStatic, L"");
  layout.AddItem(BS_DEFPUSHBUTTON | WS_TABSTOP, 205, 7, 50, 14, IDOK, kButton, L"OK");
  layout.AddItem(BS_PUSHBUTTON | WS_TABSTOP, 205, 25, 50, 14, IDCANCEL, kButton, L"Cancel");
  layout.AddItem(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 70, 248, 13, kAnswerId, kEdit, L"");

  Question question{prompt, title, defaultText, {}};
  const INT_PTR result = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), layout.get(), owner_,
                                                   QuestionProc, reinterpret_cast<LPARAM>(&question));
  if (result == -1) throw SystemFailure(::GetLastError());
  return result == IDOK ? question.answer : std::wstring();
}

}  // namespace pellacore::win32
