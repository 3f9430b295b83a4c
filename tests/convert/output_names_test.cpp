#include "convert/output_names.h"

#include <gtest/gtest.h>

#include "tests/doubles/memory_file_system.h"

namespace pellacore {
namespace {

TEST(OutputNamesTest, OnlyTheLastExtensionOfTheFileNameIsReplaced) {
  struct Case {
    std::wstring source, baseName, stem;
  };
  const Case cases[] = {
      {LR"(D:\Dwg\plan.rev2.dwg)", L"plan.rev2.pdf", LR"(D:\Dwg\plan.rev2)"},
      {LR"(D:\Dwg\A.DWG)", L"A.pdf", LR"(D:\Dwg\A)"},
      {LR"(D:\My.Projects\Plan.rev.dwg)", L"Plan.rev.pdf", LR"(D:\My.Projects\Plan.rev)"},
      // No dot in the file name: the name stays whole, and a dot in a folder
      // name is not taken for the extension.
      {LR"(D:\Dwg\Plan)", L"Plan.pdf", LR"(D:\Dwg\Plan)"},
      {LR"(D:\My.Projects\Plan)", L"Plan.pdf", LR"(D:\My.Projects\Plan)"},
      {LR"(D:\Dwg\.dwg)", L".pdf", LR"(D:\Dwg\)"},
      {LR"(D:\Dwg\Plan.)", L"Plan.pdf", LR"(D:\Dwg\Plan)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    EXPECT_EQ(BaseNameOf(c.source), c.baseName);
    EXPECT_EQ(BitmapStemOf(c.source), c.stem);
  }
}

TEST(OutputNamesTest, SplitKeepsEmptyPiecesAndJoinDropsTheLast) {
  EXPECT_EQ(SplitAt(L"a..b", L'.'), (std::vector<std::wstring>{L"a", L"", L"b"}));
  EXPECT_EQ(SplitAt(L"", L'.'), (std::vector<std::wstring>{L""}));
  EXPECT_EQ(JoinAllButLast({L"a", L"", L"b"}), L"a.");
  EXPECT_EQ(JoinAllButLast({L"only"}), L"");
}

TEST(OutputNamesTest, AFreeStemPassesOverBitmapsAndFoldersThatAreThere) {
  testing::MemoryFileSystem fs;
  fs.AddFolder(LR"(D:\Dwg)");
  EXPECT_EQ(FreeBitmapStem(fs, LR"(D:\Dwg\Plan)"), LR"(D:\Dwg\Plan)");
  fs.AddFile(LR"(D:\Dwg\Plan.bmp)");
  fs.AddFolder(LR"(D:\Dwg\Plan~1.bmp)");
  EXPECT_EQ(FreeBitmapStem(fs, LR"(D:\Dwg\Plan)"), LR"(D:\Dwg\Plan~2)");
  // Letter case does not make a name free.
  fs.AddFile(LR"(D:\Dwg\A.BMP)");
  EXPECT_EQ(FreeBitmapStem(fs, LR"(D:\Dwg\A)"), LR"(D:\Dwg\A~1)");
}

}  // namespace
}  // namespace pellacore
