// The soak's plan of a run: faults from a seed, the drawings' names and
// PDFs, and the stand-ins' instructions, read back with the stand-in's code.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "tools/soak/soak_plan.h"
#include "tools/standin-autocad/fault_plan.h"

namespace pellacore::soak {
namespace {

const std::wstring kRoot = L"Z:\\soak\\drawings";
const std::wstring kOut = L"Z:\\soak\\out";

TEST(SoakPlan, TheSeedDecidesTheFaultsAndEveryFaultComesInALongRun) {
  const std::vector<Fault> a = DrawFaults(42, 1000, DefaultMix());
  EXPECT_EQ(a, DrawFaults(42, 1000, DefaultMix()));
  EXPECT_NE(a, DrawFaults(43, 1000, DefaultMix()));
  std::map<Fault, int> counts;
  for (Fault fault : a) ++counts[fault];
  for (const FaultWeight& entry : DefaultMix()) EXPECT_GT(counts[entry.fault], 0) << FaultName(entry.fault);
  // Plain drawings are about half.
  EXPECT_GT(counts[Fault::kNone], 400);
  EXPECT_LT(counts[Fault::kNone], 650);
  // SplitMix64's first value from seed 0, as published.
  EXPECT_EQ(SeededNumbers(0).Next(), 0xE220A8397B1DCDAFull);
}

TEST(SoakPlan, NamesMetAgainInAnotherFolderGetNumberedPdfsInRunOrder) {
  const std::vector<SoakDrawing> drawings = PlanSoak(7, 30, kRoot, kOut, DefaultMix());
  ASSERT_EQ(drawings.size(), 30u);
  EXPECT_EQ(drawings[0].path, L"Z:\\soak\\drawings\\f0\\Plan-1.dwg");
  EXPECT_EQ(drawings[0].pdf, L"Z:\\soak\\out\\Plan-1.pdf");
  // The tenth takes the fifth's name from another folder, and the PDF after it.
  EXPECT_EQ(drawings[9].path, L"Z:\\soak\\drawings\\f1\\Plan-5.dwg");
  EXPECT_EQ(drawings[4].pdf, L"Z:\\soak\\out\\Plan-5.pdf");
  EXPECT_EQ(drawings[9].pdf, L"Z:\\soak\\out\\Plan-5 (2).pdf");
  std::set<std::wstring> paths;
  std::set<std::wstring> pdfs;
  for (const SoakDrawing& drawing : drawings) {
    paths.insert(drawing.path);
    pdfs.insert(drawing.pdf);
    EXPECT_EQ(drawing.result, ExpectedResult(drawing.fault));
  }
  EXPECT_EQ(paths.size(), 30u);
  EXPECT_EQ(pdfs.size(), 30u);
}

TEST(SoakPlan, ClaimedPathsAreNumberedWhateverTheCase) {
  EXPECT_EQ(ClaimedPaths({L"C:\\o\\a.pdf", L"C:\\O\\A.pdf", L"C:\\o\\b.pdf", L"c:\\o\\a.pdf"}),
            (std::vector<std::wstring>{L"C:\\o\\a.pdf", L"C:\\O\\A (2).pdf", L"C:\\o\\b.pdf", L"c:\\o\\a (3).pdf"}));
  // A name that looks numbered already is its own claim.
  EXPECT_EQ(ClaimedPaths({L"C:\\o\\a (2).pdf", L"C:\\o\\a.pdf", L"C:\\o\\a.pdf"}),
            (std::vector<std::wstring>{L"C:\\o\\a (2).pdf", L"C:\\o\\a.pdf", L"C:\\o\\a (3).pdf"}));
}

TEST(SoakPlan, TheStandInsReadTheirInstructionsForExactlyTheFaultedDrawings) {
  const std::vector<SoakDrawing> drawings = PlanSoak(11, 400, kRoot, kOut, DefaultMix());
  const std::vector<standin::PlanLine> plan = standin::ParseFaultPlan(AutoCadPlanText(drawings));
  const std::wstring delays = PrinterDelayText(drawings);
  std::size_t late = 0;
  for (const SoakDrawing& drawing : drawings) {
    const standin::PlanLine* line = standin::PlanLineFor(plan, {drawing.path});
    const std::vector<standin::PlanSwitch> wanted = AutoCadSwitches(drawing.fault, drawing.path);
    if (wanted.empty()) {
      EXPECT_EQ(line, nullptr) << drawing.path;
    } else {
      ASSERT_NE(line, nullptr) << drawing.path;
      ASSERT_EQ(line->switches.size(), wanted.size());
      EXPECT_EQ(line->switches[0].name, wanted[0].name);
      EXPECT_EQ(line->switches[0].value, wanted[0].value);
    }
    const bool listed = delays.find(drawing.pdf + L"\t") != std::wstring::npos;
    EXPECT_EQ(listed, drawing.fault == Fault::kLatePrinter) << drawing.pdf;
    late += listed;
  }
  EXPECT_GT(late, 0u);
}

TEST(SoakPlan, EachFaultHasTheOutcomeTheProgramPromises) {
  EXPECT_EQ(ExpectedResult(Fault::kNone), L"converted");
  EXPECT_EQ(ExpectedResult(Fault::kSlowMembers), L"converted");
  EXPECT_EQ(ExpectedResult(Fault::kModifiedOnOpen), L"converted");
  EXPECT_EQ(ExpectedResult(Fault::kLingeringQuit), L"converted");
  EXPECT_EQ(ExpectedResult(Fault::kLatePrinter), L"converted");
  EXPECT_EQ(ExpectedResult(Fault::kCrashInSelect), L"failed");
  EXPECT_EQ(ExpectedResult(Fault::kHangInExport), L"timed out");
  EXPECT_EQ(ExpectedResult(Fault::kDialogInOpen), L"timed out");
  // A late printer and a slow AutoCAD stay well inside the soak's time limit.
  EXPECT_LE(PrinterDelaySeconds(Fault::kLatePrinter), 3);
}

}  // namespace
}  // namespace pellacore::soak
