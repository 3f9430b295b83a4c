#include "tools/standin-autocad/registration.h"

#include <gtest/gtest.h>

#include <string>

namespace pellacore::standin {
namespace {

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

TEST(RegString, EscapesBackslashesAndQuotes) {
  const struct {
    const wchar_t* value;
    const wchar_t* written;
  } cases[] = {
      {L"", L"\"\""},
      {L"plain", L"\"plain\""},
      {L"C:\\Tools\\a.exe", L"\"C:\\\\Tools\\\\a.exe\""},
      {L"\"C:\\x\"", L"\"\\\"C:\\\\x\\\"\""},
  };
  for (const auto& c : cases) EXPECT_EQ(RegString(c.value), c.written) << c.value;
}

TEST(RegistrationText, RegistersTheProgIdAndTheQuotedServerPath) {
  const std::wstring text = RegistrationText(L"C:\\Program Files\\Pellacore\\standin-autocad.exe");
  EXPECT_EQ(text.rfind(L"Windows Registry Editor Version 5.00\r\n", 0), 0u);
  EXPECT_TRUE(Contains(text, L"\r\n[HKEY_CLASSES_ROOT\\AutoCAD.Application\\CLSID]\r\n"
                             L"@=\"{5930968D-5F19-415D-8DC4-4439AB19D80F}\"\r\n"));
  EXPECT_TRUE(Contains(text,
                       L"\r\n[HKEY_CLASSES_ROOT\\CLSID\\{5930968D-5F19-415D-8DC4-4439AB19D80F}\\LocalServer32]\r\n"
                       L"@=\"\\\"C:\\\\Program Files\\\\Pellacore\\\\standin-autocad.exe\\\"\"\r\n"));
  EXPECT_TRUE(Contains(text, L"\r\n[HKEY_CLASSES_ROOT\\CLSID\\{5930968D-5F19-415D-8DC4-4439AB19D80F}\\ProgID]\r\n"
                             L"@=\"AutoCAD.Application\"\r\n"));
  // Every line ends in CR LF.
  for (std::size_t at = text.find(L'\n'); at != std::wstring::npos; at = text.find(L'\n', at + 1)) {
    ASSERT_GT(at, 0u);
    EXPECT_EQ(text[at - 1], L'\r') << at;
  }
}

TEST(UnregistrationText, RemovesBothKeysAndAddsNothing) {
  const std::wstring text = UnregistrationText();
  EXPECT_EQ(text.rfind(L"Windows Registry Editor Version 5.00\r\n", 0), 0u);
  EXPECT_TRUE(Contains(text, L"\r\n[-HKEY_CLASSES_ROOT\\AutoCAD.Application]\r\n"));
  EXPECT_TRUE(Contains(text, L"\r\n[-HKEY_CLASSES_ROOT\\CLSID\\{5930968D-5F19-415D-8DC4-4439AB19D80F}]\r\n"));
  EXPECT_FALSE(Contains(text, L"[HKEY_"));
  EXPECT_FALSE(Contains(text, L"@="));
}

}  // namespace
}  // namespace pellacore::standin
