// What the soak checks after a run: the report's rows against the plan (the
// report written by the program's own writer), page images, file snapshots.

#include <gtest/gtest.h>

#include "convert/drawing_outcome.h"
#include "tools/soak/file_snapshot.h"
#include "tools/soak/ppm_image.h"
#include "tools/soak/run_report.h"

namespace pellacore::soak {
namespace {

// The program's own report of a run that went as planned.
std::wstring ReportAsPlanned(const std::vector<SoakDrawing>& drawings) {
  std::vector<DrawingOutcome> outcomes;
  for (const SoakDrawing& drawing : drawings) {
    DrawingOutcome outcome{drawing.path, {}, DrawingResult::kConverted, 0, L"", 2.25};
    if (drawing.result == L"converted") outcome.files.push_back(drawing.pdf);
    if (drawing.result == L"failed") outcome = {drawing.path, {}, DrawingResult::kFailed, 176, L"AutoCAD ended, \"x\"", 1};
    if (drawing.result == L"timed out") outcome.result = DrawingResult::kTimedOut;
    outcomes.push_back(outcome);
  }
  return RunReportCsv(outcomes);
}

TEST(SoakReport, AReportAsPlannedShowsNoDifferenceAfterTheUtf8RoundTrip) {
  std::vector<SoakDrawing> drawings = PlanSoak(5, 60, L"Z:\\s,oak\\Größe", L"Z:\\out", DefaultMix());
  const std::string file = "\xEF\xBB\xBF" + Utf8FromWide(ReportAsPlanned(drawings));
  EXPECT_EQ(CompareReport(ParseCsv(WideFromUtf8(file)), drawings), std::vector<std::wstring>{});
}

TEST(SoakReport, EveryKindOfDifferenceIsNamed) {
  std::vector<SoakDrawing> drawings = PlanSoak(5, 12, L"Z:\\s", L"Z:\\out", DefaultMix());
  drawings[0].result = L"converted";
  drawings[1].result = L"converted";
  const std::vector<std::vector<std::wstring>> good = ParseCsv(ReportAsPlanned(drawings));

  std::vector<SoakDrawing> planned = drawings;
  planned[0].result = L"failed";
  planned[1].pdf = L"Z:\\out\\elsewhere.pdf";
  std::vector<std::wstring> differences = CompareReport(good, planned);
  ASSERT_EQ(differences.size(), 3u);  // drawing 1's result and PDF, drawing 2's PDF
  EXPECT_NE(differences[0].find(L"says converted, not failed"), std::wstring::npos);

  std::vector<std::vector<std::wstring>> shorter = good;
  shorter.pop_back();
  EXPECT_EQ(CompareReport(shorter, drawings), std::vector<std::wstring>{L"the report has 11 rows for 12 drawings"});
  std::vector<std::vector<std::wstring>> swapped = good;
  std::swap(swapped[3], swapped[4]);
  EXPECT_FALSE(CompareReport(swapped, drawings).empty());
  std::vector<std::vector<std::wstring>> badHeader = good;
  badHeader[0][5] = L"secs";
  EXPECT_EQ(CompareReport(badHeader, drawings).size(), 1u);
  EXPECT_FALSE(CompareReport({}, drawings).empty());
}

TEST(SoakReport, CsvFieldsMayHoldQuotesCommasAndLineBreaks) {
  const auto records = ParseCsv(L"a,\"b,\"\"c\"\"\r\nd\",\r\n\"\",x\ny");
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0], (std::vector<std::wstring>{L"a", L"b,\"c\"\r\nd", L""}));
  EXPECT_EQ(records[1], (std::vector<std::wstring>{L"", L"x"}));
  EXPECT_EQ(records[2], (std::vector<std::wstring>{L"y"}));
  EXPECT_EQ(WideFromUtf8("Gr\xC3\xB6\xC3\x9F" "e \xF0\x9F\x98\x80 \xFF!"), L"Größe \U0001F600 \xFFFD!");
  EXPECT_EQ(WideFromUtf8("\xE2\x82"), L"\xFFFD\xFFFD");
}

TEST(SoakImages, NetpbmImagesOfEveryKindReadAsGrey) {
  const auto colour = ReadNetpbm(std::string("P6\n# pdfimages\n2 1\n255\n") + std::string("\xFF\xFF\xFF\x00\x00\x00", 6));
  ASSERT_TRUE(colour);
  EXPECT_EQ(colour->width, 2);
  EXPECT_EQ(colour->pixels, (std::vector<std::uint8_t>{255, 0}));
  const auto grey = ReadNetpbm(std::string("P5 3 1 15\n") + std::string("\x0F\x00\x07", 3));
  ASSERT_TRUE(grey);
  EXPECT_EQ(grey->pixels, (std::vector<std::uint8_t>{255, 0, 119}));
  // One bit per pixel, 1 black, rows padded to whole bytes.
  const auto bits = ReadNetpbm(std::string("P4\n9 2\n") + std::string("\x80\x80\x7F\x00", 4));
  ASSERT_TRUE(bits);
  EXPECT_EQ(bits->At(0, 0), 0);
  EXPECT_EQ(bits->At(8, 0), 0);
  EXPECT_EQ(bits->At(1, 0), 255);
  EXPECT_EQ(bits->At(0, 1), 255);
  EXPECT_EQ(bits->At(1, 1), 0);
  EXPECT_FALSE(ReadNetpbm("P6\n2 1\n255\n\xFF"));  // cut short
  EXPECT_FALSE(ReadNetpbm("P3\n1 1\n255\n0 0 0\n"));
  EXPECT_FALSE(ReadNetpbm(""));
}

TEST(SoakFiles, OnlyTheAllowedFilesMayAppearChangeOrGo) {
  const FileSnapshot before{{L"Z:\\d\\a.dwg", {10, 1}}, {L"Z:\\d\\b.dwg", {10, 1}}, {L"Z:\\d\\c.dwg", {5, 1}}};
  FileSnapshot after = before;
  after[L"Z:\\out\\a.pdf"] = {900, 7};
  after[L"Z:\\d\\a.bmp"] = {3000, 7};
  after[L"Z:\\d\\b.dwg"] = {10, 2};
  after.erase(L"Z:\\d\\c.dwg");
  EXPECT_EQ(ChangedFiles(before, after, {L"z:\\OUT\\a.pdf"}),
            (std::vector<std::wstring>{L"new: Z:\\d\\a.bmp", L"changed: Z:\\d\\b.dwg", L"gone: Z:\\d\\c.dwg"}));
  EXPECT_EQ(ChangedFiles(before, before, {}), std::vector<std::wstring>{});
}

}  // namespace
}  // namespace pellacore::soak
