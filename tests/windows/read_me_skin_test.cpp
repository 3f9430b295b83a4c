// The READ-ME that ships tells users how to write a skin file; its example
// must be a skin the program reads, and its rules the ones the reader keeps.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/windows/program_folder_fixture.h"
#include "win32/skin_component.h"

namespace pellacore {
namespace {

// The indented example that starts with `first`, up to the next blank line, unindented.
std::wstring ExampleIn(const std::wstring& readMe, const std::wstring& first) {
  std::wistringstream lines(readMe);
  std::wstring line;
  std::wstring example;
  bool inside = false;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    const std::size_t text = line.find_first_not_of(L' ');
    if (!inside && text != std::wstring::npos && line.substr(text) == first) inside = true;
    if (!inside) continue;
    if (text == std::wstring::npos) break;
    example += line.substr(text) + L"\r\n";
  }
  return example;
}

TEST(ReadMeSkinTest, TheExampleSkinIsOneTheProgramReads) {
  std::ifstream in(std::filesystem::path(testing::WindowsPathOf(PELLACORE_READ_ME)), std::ios::binary);
  ASSERT_TRUE(in) << PELLACORE_READ_ME;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::wstring example = ExampleIn(std::wstring(bytes.begin(), bytes.end()), L"; a calm grey skin");
  ASSERT_NE(example.find(L"Face="), std::wstring::npos) << "no skin example in the READ-ME";

  const win32::SkinColours colours = win32::ParseSkin(example, L"");
  EXPECT_EQ(colours.face, RGB(0xE4, 0xE7, 0xEB));
  EXPECT_EQ(colours.text, RGB(0x1F, 0x29, 0x33));
  EXPECT_EQ(colours.button, RGB(0xD2, 0xD8, 0xDF));
  // A comment stands on a line of its own: after a colour it spoils the line.
  EXPECT_ANY_THROW(win32::ParseSkin(L"Face=#E4E7EB   ; background\r\n", L""));
}

}  // namespace
}  // namespace pellacore
