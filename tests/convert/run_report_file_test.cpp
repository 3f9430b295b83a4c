#include "convert/run_report_file.h"

#include <gtest/gtest.h>

#include "tests/doubles/fake_special_folders.h"
#include "tests/doubles/memory_file_system.h"
#include "util/failure.h"

namespace pellacore {
namespace {

using testing::FakeSpecialFolders;
using testing::MemoryFileSystem;

const std::wstring kLocal = LR"(C:\Users\Zoë\AppData\Local)";
const std::wstring kReports = kLocal + LR"(\Pellacore\Reports\)";
const LocalTime kStarted{2026, 12, 8, 20, 15, 30};

TEST(RunReportFileName, SortsByStartTimeAndNumbersTheLaterRunsOfOneSecond) {
  EXPECT_EQ(RunReportFileName(kStarted), L"Run 2026-12-08 20-15-30.csv");
  EXPECT_EQ(RunReportFileName({2027, 1, 2, 3, 4, 5}), L"Run 2027-01-02 03-04-05.csv");
  EXPECT_EQ(RunReportFileName({2026, 12, 31, 23, 59, 59}), L"Run 2026-12-31 23-59-59.csv");
  EXPECT_EQ(RunReportFileName(kStarted, 2), L"Run 2026-12-08 20-15-30 (2).csv");
  EXPECT_EQ(RunReportFileName(kStarted, 12), L"Run 2026-12-08 20-15-30 (12).csv");
}

TEST(RunReportBytes, AreUtf8AfterAByteOrderMark) {
  const std::vector<DrawingOutcome> outcomes{
      {L"D:\\Pl\u00e4ne\\\u6a13.dwg", {}, DrawingResult::kFailed, 116, L"\u00c9chec", 1.5}};
  const std::string expected =
      "\xEF\xBB\xBF"
      "drawing,pdf,result,step,message,seconds\r\n"
      "D:\\Pl\xC3\xA4ne\\\xE6\xA8\x93.dwg,,failed,116,\xC3\x89" "chec,1.5\r\n";
  EXPECT_EQ(RunReportBytes(outcomes), expected);
}

class WriteRunReportTest : public ::testing::Test {
 protected:
  WriteRunReportTest() {
    folders.paths[csidl::kLocalAppData] = kLocal;
    fs.AddFolder(kLocal);
  }
  std::wstring Write(const LocalTime& started = kStarted) { return WriteRunReport({fs, folders}, outcomes, started); }

  MemoryFileSystem fs;
  FakeSpecialFolders folders;
  std::vector<DrawingOutcome> outcomes{{LR"(D:\a.dwg)", {LR"(D:\a.pdf)"}, DrawingResult::kConverted, 0, L"", 2}};
};

TEST_F(WriteRunReportTest, GoesIntoItsFolderMadeAsNeededAndNeverReplacesAnEarlierReport) {
  const std::wstring first = Write();
  EXPECT_EQ(first, kReports + L"Run 2026-12-08 20-15-30.csv");
  EXPECT_EQ(fs.Contents(first), RunReportBytes(outcomes));

  // A second run in the same second, with other rows: a name of its own.
  const std::vector<DrawingOutcome> earlier = outcomes;
  outcomes[0].result = DrawingResult::kFailed;
  const std::wstring second = Write();
  EXPECT_EQ(second, kReports + L"Run 2026-12-08 20-15-30 (2).csv");
  EXPECT_EQ(fs.Contents(second), RunReportBytes(outcomes));
  EXPECT_EQ(fs.Contents(first), RunReportBytes(earlier));
  EXPECT_EQ(Write(), kReports + L"Run 2026-12-08 20-15-30 (3).csv");
  EXPECT_EQ(Write({2026, 12, 8, 20, 15, 31}), kReports + L"Run 2026-12-08 20-15-31.csv");

  // A local folder given with its trailing separator.
  MemoryFileSystem other;
  other.AddFolder(LR"(E:\)");
  folders.paths[csidl::kLocalAppData] = LR"(E:\)";
  EXPECT_EQ(WriteRunReport({other, folders}, outcomes, kStarted), LR"(E:\Pellacore\Reports\Run 2026-12-08 20-15-30.csv)");
}

TEST_F(WriteRunReportTest, AReportThatCannotBeWrittenAnswersNoPathAndRaisesNothing) {
  // The shell knows no local folder.
  folders.paths.erase(csidl::kLocalAppData);
  EXPECT_EQ(Write(), L"");
  folders.paths[csidl::kLocalAppData] = kLocal;

  // A file where the folder should be.
  fs.AddFile(kLocal + L"\\Pellacore");
  EXPECT_EQ(Write(), L"");
  fs.Erase(kLocal + L"\\Pellacore");

  fs.createFolderFailure = StandardFailure(failure_number::kPermissionDenied);
  EXPECT_EQ(Write(), L"");
  fs.createFolderFailure.reset();

  // A full disk: tried once, not again under the next names.
  fs.writeFailure = StandardFailure(failure_number::kDiskFull);
  fs.writeCalls.clear();
  EXPECT_EQ(Write(), L"");
  EXPECT_EQ(fs.writeCalls.size(), 1u);
  fs.writeFailure.reset();

  // Every name of the second taken.
  for (int n = 1; n <= 100; ++n) fs.AddFile(kReports + RunReportFileName(kStarted, n));
  EXPECT_EQ(Write(), L"");
  EXPECT_EQ(Write({2026, 12, 8, 20, 15, 31}), kReports + L"Run 2026-12-08 20-15-31.csv");
}

}  // namespace
}  // namespace pellacore
