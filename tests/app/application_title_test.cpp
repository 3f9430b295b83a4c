#include "app/application_title.h"

#include <gtest/gtest.h>

namespace pellacore {
namespace {

TEST(ApplicationTitle, CutsTheLastWordThenWordsUntilFortyCharactersFit) {
  EXPECT_EQ(ApplicationTitleFor(L"Pellacore"), L"Pellacore");
  EXPECT_EQ(ApplicationTitleFor(L"Drawing PDF Batcher"), L"Drawing PDF");  // 3 words, 19 characters
  // Six nine-letter words: 59 characters give the first four, 39 characters.
  EXPECT_EQ(ApplicationTitleFor(L"Aaaaaaaaa Bbbbbbbbb Ccccccccc Ddddddddd Eeeeeeeee Fffffffff"),
            L"Aaaaaaaaa Bbbbbbbbb Ccccccccc Ddddddddd");
  EXPECT_EQ(ApplicationTitleFor(std::wstring(45, L'x')), std::wstring(40, L'x'));
  EXPECT_EQ(ApplicationTitleFor(L""), L"");
}

}  // namespace
}  // namespace pellacore
