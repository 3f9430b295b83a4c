#include "tools/standin-autocad/registration.h"

namespace pellacore::standin {

namespace {

constexpr std::wstring_view kHeader = L"Windows Registry Editor Version 5.00\r\n";
constexpr std::wstring_view kDescription = L"Pellacore stand-in for AutoCAD.Application";

std::wstring Key(std::wstring_view path) { return L"\r\n[HKEY_CLASSES_ROOT\\" + std::wstring(path) + L"]\r\n"; }

std::wstring Default(std::wstring_view value) { return L"@=" + RegString(value) + L"\r\n"; }

std::wstring ClassKey() { return L"CLSID\\" + std::wstring(kClsidText); }

}  // namespace

std::wstring RegString(std::wstring_view value) {
  std::wstring quoted = L"\"";
  for (wchar_t c : value) {
    if (c == L'\\' || c == L'"') quoted += L'\\';
    quoted += c;
  }
  return quoted + L"\"";
}

std::wstring RegistrationText(std::wstring_view exePath) {
  std::wstring text(kHeader);
  text += Key(kProgId) + Default(kDescription);
  text += Key(std::wstring(kProgId) + L"\\CLSID") + Default(kClsidText);
  text += Key(ClassKey()) + Default(kDescription);
  // Quoted, so a path with spaces is one argument.
  text += Key(ClassKey() + L"\\LocalServer32") + Default(L"\"" + std::wstring(exePath) + L"\"");
  text += Key(ClassKey() + L"\\ProgID") + Default(kProgId);
  return text;
}

std::wstring UnregistrationText() {
  std::wstring text(kHeader);
  text += L"\r\n[-HKEY_CLASSES_ROOT\\" + std::wstring(kProgId) + L"]\r\n";
  text += L"\r\n[-HKEY_CLASSES_ROOT\\" + ClassKey() + L"]\r\n";
  return text;
}

}  // namespace pellacore::standin
