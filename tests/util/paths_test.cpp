#include "util/paths.h"

#include <gtest/gtest.h>

#include "tests/util/character_outside_bmp.h"
#include "util/failure.h"

namespace pellacore {
namespace {

struct PathCase {
  std::wstring path;
  std::wstring expected;
};

void PrintTo(const PathCase& c, std::ostream* os) { *os << ::testing::PrintToString(c.path); }

class NormalizeFolderPathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(NormalizeFolderPathTest, CollapsesSeparatorRuns) {
  EXPECT_EQ(NormalizeFolderPath(GetParam().path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NormalizeFolderPathTest,
    ::testing::Values(
        PathCase{LR"(C:\Out\\Plan.pdf)", LR"(C:\Out\Plan.pdf)"},
        // One pass over non-overlapping pairs: three become two, four become two.
        PathCase{LR"(C:\Out\\\Plan.pdf)", LR"(C:\Out\\Plan.pdf)"},
        PathCase{LR"(C:\Out\\\\Plan.pdf)", LR"(C:\Out\\Plan.pdf)"},
        PathCase{LR"(C:\Out\\\\\Plan.pdf)", LR"(C:\Out\\\Plan.pdf)"},
        PathCase{LR"(C:\\)", LR"(C:\)"},
        PathCase{LR"(C:\)", LR"(C:\)"},
        PathCase{LR"(\\server\share\\Plan.pdf)", LR"(\\server\share\Plan.pdf)"},
        // Any run of leading separators becomes exactly two.
        PathCase{LR"(\\\server\Plan.pdf)", LR"(\\server\Plan.pdf)"},
        PathCase{LR"(\\\\\server\\\Plan.pdf)", LR"(\\server\\Plan.pdf)"},
        PathCase{LR"(\Dwg\Plan.pdf)", LR"(\\Dwg\Plan.pdf)"},
        PathCase{L"", L""},
        PathCase{LR"(\)", LR"(\\)"},
        PathCase{LR"(\\\\)", LR"(\\)"},
        PathCase{L"Plan.dwg", L"Plan.dwg"},
        // Forward slashes are not separators here.
        PathCase{L"C://Out//Plan.pdf", L"C://Out//Plan.pdf"}));

class FolderOfPathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(FolderOfPathTest, KeepsThePathUpToTheLastSeparator) {
  EXPECT_EQ(FolderOfPath(GetParam().path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FolderOfPathTest,
                         ::testing::Values(PathCase{LR"(C:\Dwg\Plan.dwg)", LR"(C:\Dwg\)"},
                                           PathCase{L"Plan.dwg", L""},
                                           PathCase{L"", L""},
                                           PathCase{LR"(C:\)", LR"(C:\)"},
                                           PathCase{LR"(C:\Dwg\)", LR"(C:\Dwg\)"},
                                           PathCase{LR"(\\server\share\a.dwg)", LR"(\\server\share\)"},
                                           PathCase{L"C:/Dwg/Plan.dwg", L""}));

class FileNameOfPathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(FileNameOfPathTest, KeepsWhatFollowsTheLastSeparator) {
  EXPECT_EQ(FileNameOfPath(GetParam().path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FileNameOfPathTest,
                         ::testing::Values(PathCase{LR"(C:\Dwg\Plan.dwg)", L"Plan.dwg"},
                                           PathCase{LR"(C:\Dwg\)", L""},
                                           PathCase{L"Plan.dwg", L"Plan.dwg"},
                                           PathCase{L"", L""},
                                           PathCase{LR"(\\server\share\a.b.dwg)", L"a.b.dwg"}));

long FailureNumberOf(const std::wstring& path) {
  try {
    FolderOfPath(path);
  } catch (const Failure& failure) {
    return failure.number();
  }
  return 0;
}

TEST(FolderOfPathOverflow, ASeparatorBeyondPosition32767Overflows) {
  const std::wstring at32767 = std::wstring(32766, L'a') + L"\\" + L"Plan.dwg";
  EXPECT_EQ(FolderOfPath(at32767).size(), 32767u);

  const std::wstring at32768 = std::wstring(32767, L'a') + L"\\" + L"Plan.dwg";
  EXPECT_EQ(FailureNumberOf(at32768), failure_number::kOverflow);

  // Only the last separator counts: an early one does not save the path.
  const std::wstring twoSeparators = L"C:\\" + std::wstring(40000, L'a') + L"\\x";
  EXPECT_EQ(FailureNumberOf(twoSeparators), failure_number::kOverflow);

  // No separator: nothing to overflow, whatever the length.
  EXPECT_EQ(FolderOfPath(std::wstring(40000, L'a')), L"");
}

std::wstring Repeat(const std::wstring& text, int times) {
  std::wstring out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

TEST(FolderOfPathOverflow, PositionsCountUtf16CodeUnits) {
  // Each character takes two UTF-16 code units on Windows.
  const std::wstring separatorAt32767 = Repeat(CharacterOutsideBmp(), 16383) + L"\\x";
  EXPECT_EQ(FailureNumberOf(separatorAt32767), 0);
  const std::wstring separatorAt32769 = Repeat(CharacterOutsideBmp(), 16384) + L"\\x";
  EXPECT_EQ(FailureNumberOf(separatorAt32769), failure_number::kOverflow);
}

}  // namespace
}  // namespace pellacore
