// The READ-ME that ships tells users how to write a skin file; its example
// must be a skin the program reads, and its rules the ones the reader keeps.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/windows/program_folder_fixture.h"
#include "tests/windows/scratch_folder.h"
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

// The example skin of both the READ-ME users get and the repository's
// README, exactly as each shows it, read by the program's own reader.
TEST(ReadMeSkinTest, TheExampleSkinIsOneTheProgramReads) {
  for (const char* readMe : {PELLACORE_READ_ME, PELLACORE_SOURCE_README}) {
    SCOPED_TRACE(readMe);
    std::ifstream in(std::filesystem::path(testing::WindowsPathOf(readMe)), std::ios::binary);
    ASSERT_TRUE(in) << readMe;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::wstring example = ExampleIn(std::wstring(bytes.begin(), bytes.end()), L"; a calm grey skin");
    ASSERT_NE(example.find(L"Face="), std::wstring::npos) << "no skin example";

    win32::SkinColours colours;
    ASSERT_NO_THROW(colours = win32::ParseSkin(example, L"")) << std::string(example.begin(), example.end());
    EXPECT_EQ(colours.face, RGB(0xE4, 0xE7, 0xEB));
    EXPECT_EQ(colours.text, RGB(0x1F, 0x29, 0x33));
    EXPECT_EQ(colours.button, RGB(0xD2, 0xD8, 0xDF));
  }
  // A comment stands on a line of its own: after a colour it spoils the line.
  EXPECT_ANY_THROW(win32::ParseSkin(L"Face=#E4E7EB   ; background\r\n", L""));
}

// A skin saved by an editor that writes UTF-8 with its byte-order mark.
TEST(ReadMeSkinTest, ASkinFileThatStartsWithAByteOrderMarkIsRead) {
  testing::ScratchFolder folder;
  const std::wstring path = folder.path() + L"o.cjs";
  {
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out << "\xEF\xBB\xBF" "Face=#102030\r\nText=#FFFFFF\r\n";
  }
  win32::SkinColours colours;
  ASSERT_NO_THROW(colours = win32::ParseSkin(win32::ReadSkinFile(path), L""));
  EXPECT_EQ(colours.face, RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(colours.text, RGB(0xFF, 0xFF, 0xFF));
}

}  // namespace
}  // namespace pellacore
