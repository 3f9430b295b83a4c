#include "convert/drawing_outcome.h"

#include <gtest/gtest.h>

namespace pellacore {
namespace {

using Paths = std::vector<std::wstring>;

DrawingOutcome Outcome(const std::wstring& drawing, DrawingResult result, Paths files = {}, int step = 0,
                       const std::wstring& message = L"", double seconds = 0) {
  return {drawing, std::move(files), result, step, message, seconds};
}

TEST(RunReport, OneRowPerDrawingWithFieldsQuotedWhereTheyMustBe) {
  const std::vector<DrawingOutcome> outcomes{
      Outcome(LR"(D:\Dwg\a.dwg)", DrawingResult::kConverted, {LR"(D:\Dwg\a.pdf)"}, 0, L"", 2.04),
      Outcome(LR"(D:\Dwg\b, rev "2".dwg)", DrawingResult::kFailed, {}, 116, L"Cannot open\r\nthe file", 0.5),
      Outcome(LR"(D:\Dwg\c.dwg)", DrawingResult::kTimedOut, {}, 124, L"did not finish", 300),
      Outcome(LR"(D:\Dwg\d.dwg)", DrawingResult::kSkipped),
      Outcome(LR"(D:\Dwg\e.dwg)", DrawingResult::kConverted, {LR"(D:\e - A.pdf)", LR"(D:\e - B.pdf)"})};
  EXPECT_EQ(RunReportCsv(outcomes),
            L"drawing,pdf,result,step,message,seconds\r\n"
            LR"(D:\Dwg\a.dwg,D:\Dwg\a.pdf,converted,,,2.0)" L"\r\n"
            LR"("D:\Dwg\b, rev ""2"".dwg",,failed,116,"Cannot open)" L"\r\n" LR"(the file",0.5)" L"\r\n"
            LR"(D:\Dwg\c.dwg,,timed out,124,did not finish,300.0)" L"\r\n"
            LR"(D:\Dwg\d.dwg,,skipped,,,0.0)" L"\r\n"
            LR"(D:\Dwg\e.dwg,D:\e - A.pdf|D:\e - B.pdf,converted,,,0.0)" L"\r\n");
  EXPECT_EQ(RunReportCsv({}), L"drawing,pdf,result,step,message,seconds\r\n");
}

TEST(ResultColumn, SaysWhatBecameOfTheDrawingOnOneLine) {
  EXPECT_EQ(ResultText(Outcome(L"a", DrawingResult::kWaiting)), L"waiting");
  EXPECT_EQ(ResultText(Outcome(L"a", DrawingResult::kConverted, {LR"(C:\Out\a.pdf)"})), LR"(converted: C:\Out\a.pdf)");
  EXPECT_EQ(ResultText(Outcome(L"a", DrawingResult::kConverted, {LR"(C:\Out\a (2).pdf)"}, 0,
                               L"Written as \"a (2).pdf\".")),
            LR"(converted: C:\Out\a (2).pdf - Written as "a (2).pdf".)");
  EXPECT_EQ(ResultText(Outcome(L"e", DrawingResult::kConverted, {LR"(D:\e - A.pdf)", LR"(D:\e - B.pdf)"})),
            LR"(converted: D:\e - A.pdf; D:\e - B.pdf)");
  // The step only where there was an error report; a system message's line
  // breaks within and at its end.
  EXPECT_EQ(ResultText(Outcome(L"b", DrawingResult::kFailed, {}, 116, L"Cannot open\r\n\r\nthe file\r\n")),
            L"failed at step 116: Cannot open the file");
  EXPECT_EQ(ResultText(Outcome(L"b", DrawingResult::kFailed, {}, 0, L"AutoCAD wrote no bitmap of the drawing.")),
            L"failed: AutoCAD wrote no bitmap of the drawing.");
  EXPECT_EQ(ResultText(Outcome(L"b", DrawingResult::kFailed)), L"failed");
  EXPECT_EQ(ResultText(Outcome(L"c", DrawingResult::kTimedOut, {}, 124, L"did not finish\nin time")),
            L"timed out at step 124: did not finish in time");
  EXPECT_EQ(ResultText(Outcome(L"d", DrawingResult::kSkipped, {}, 0, L"The run was stopped first.")),
            L"skipped: The run was stopped first.");
}

TEST(EndOfRun, DoneAloneOnlyWhenEveryDrawingWasConverted) {
  const std::wstring report = LR"(C:\Users\u\AppData\Local\Pellacore\Reports\run.csv)";
  const DrawingOutcome converted = Outcome(L"a", DrawingResult::kConverted);
  const DrawingOutcome failed = Outcome(L"b", DrawingResult::kFailed);
  const DrawingOutcome skipped = Outcome(L"c", DrawingResult::kSkipped);
  EXPECT_EQ(EndOfRunText({converted, converted}, report), L"Done.");
  EXPECT_EQ(EndOfRunText({converted}, L""), L"Done.\r\n\r\nThe run report could not be written.");
  EXPECT_EQ(EndOfRunText({converted, failed, skipped}, report),
            L"Done.\r\n\r\n1 of 3 drawings were converted.\r\n\r\nThe run report is in:\r\n" + report);
  EXPECT_EQ(EndOfRunText({failed, skipped}, report),
            L"No drawing was converted (0 of 2).\r\n\r\nThe run report is in:\r\n" + report);
  EXPECT_EQ(EndOfRunText({failed}, L""), L"No drawing was converted (0 of 1).\r\n\r\nThe run report could not be written.");
}

// Each path claimed in turn by one run.
Paths Claimed(const Paths& paths) {
  RunOutputPaths run;
  Paths claimed;
  for (const std::wstring& path : paths) claimed.push_back(run.Claim(path));
  return claimed;
}

TEST(OutputPaths, TheSecondAndLaterOfOnePathAreNumbered) {
  EXPECT_EQ(Claimed({LR"(C:\Out\plan.pdf)", LR"(C:\Out\flange.pdf)", LR"(C:\Out\PLAN.pdf)",
                                 LR"(C:\Out\plan.pdf)", LR"(C:\Out\plan (2).pdf)"}),
            (Paths{LR"(C:\Out\plan.pdf)", LR"(C:\Out\flange.pdf)", LR"(C:\Out\PLAN (2).pdf)",
                   LR"(C:\Out\plan (3).pdf)", LR"(C:\Out\plan (2) (2).pdf)"}));
  // A dot in a folder's name is no extension.
  EXPECT_EQ(Claimed({LR"(C:\v1.2\plan)", LR"(C:\v1.2\plan)"}),
            (Paths{LR"(C:\v1.2\plan)", LR"(C:\v1.2\plan (2))"}));
}

}  // namespace
}  // namespace pellacore
