#include "util/text.h"

#include <gtest/gtest.h>

#include "tests/util/character_outside_bmp.h"

namespace pellacore {
namespace {

TEST(Utf16Length, CountsCharactersOutsideTheBmpTwice) {
  EXPECT_EQ(Utf16Length(L""), 0u);
  EXPECT_EQ(Utf16Length(L"C:\\\u00e9"), 4u);
  EXPECT_EQ(Utf16Length(L"a" + CharacterOutsideBmp() + L"b"), 4u);
}

TEST(Utf16Position, IsOneBasedInCodeUnits) {
  const std::wstring text = CharacterOutsideBmp() + L"\\x";
  const std::size_t separator = text.find(L'\\');
  EXPECT_EQ(Utf16Position(text, 0), 1u);
  EXPECT_EQ(Utf16Position(text, separator), 3u);
}

TEST(Utf8, EncodesEveryLengthAndJoinsSurrogatePairs) {
  EXPECT_EQ(Utf8(L""), "");
  EXPECT_EQ(Utf8(L"a,\r\n"), "a,\r\n");
  EXPECT_EQ(Utf8(L"\u00e9\u07ff"), "\xC3\xA9\xDF\xBF");
  EXPECT_EQ(Utf8(L"\u0800\u65e5\uffff"), "\xE0\xA0\x80\xE6\x97\xA5\xEF\xBF\xBF");
  EXPECT_EQ(Utf8(CharacterOutsideBmp()), "\xF0\x9F\x98\x80");
}

TEST(Utf8, ALoneSurrogateBecomesTheReplacementCharacter) {
  const std::string replacement = "\xEF\xBF\xBD";
  EXPECT_EQ(Utf8(std::wstring(1, static_cast<wchar_t>(0xD83D)) + L"a"), replacement + "a");
  EXPECT_EQ(Utf8(std::wstring(1, static_cast<wchar_t>(0xDE00))), replacement);
}

}  // namespace
}  // namespace pellacore
