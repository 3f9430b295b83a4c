#include "tools/standin-autocad/fault_plan.h"

#include <gtest/gtest.h>

namespace pellacore::standin {
namespace {

TEST(FaultPlan, ReadsOneDrawingPerLineWithItsSwitches) {
  const std::vector<PlanLine> plan = ParseFaultPlan(
      L"\xFEFF# soak, seed 7\r\n"
      L"Z:\\s\\a.dwg\tCrashIn=Export\r\n"
      L"\r\n"
      L"Z:\\s\\b c.dwg\tDelayMs=Open=800,Export=300\tModifiedOnOpen=1\n"
      L"Z:\\s\\plain.dwg\n"
      L"Z:\\s\\odd.dwg\tnoequals\t=nameless\tHangIn=\n");
  ASSERT_EQ(plan.size(), 4u);
  EXPECT_EQ(plan[0].drawing, L"Z:\\s\\a.dwg");
  ASSERT_EQ(plan[0].switches.size(), 1u);
  EXPECT_EQ(plan[0].switches[0].name, L"CrashIn");
  EXPECT_EQ(plan[0].switches[0].value, L"Export");
  // Only the first "=" separates name and value.
  ASSERT_EQ(plan[1].switches.size(), 2u);
  EXPECT_EQ(plan[1].switches[0].name, L"DelayMs");
  EXPECT_EQ(plan[1].switches[0].value, L"Open=800,Export=300");
  EXPECT_EQ(plan[2].switches.size(), 0u);
  // Fields without a name are ignored; an empty value is kept (it switches off).
  ASSERT_EQ(plan[3].switches.size(), 1u);
  EXPECT_EQ(plan[3].switches[0].value, L"");
}

TEST(FaultPlan, LinesWrittenAreReadBackAlike) {
  const PlanLine line{L"Z:\\s\\Größe.dwg", {{L"DialogIn", L"Export"}, {L"LingerAfterQuitMs", L"2500"}}};
  const std::vector<PlanLine> plan = ParseFaultPlan(FaultPlanLine(line) + L"\n");
  ASSERT_EQ(plan.size(), 1u);
  EXPECT_EQ(plan[0].drawing, line.drawing);
  ASSERT_EQ(plan[0].switches.size(), 2u);
  EXPECT_EQ(plan[0].switches[1].name, L"LingerAfterQuitMs");
  EXPECT_EQ(plan[0].switches[1].value, L"2500");
}

TEST(FaultPlan, AnInstanceTakesTheLineOfTheLatestDrawingThePlanNames) {
  const std::vector<PlanLine> plan = ParseFaultPlan(L"Z:\\s\\a.dwg\tCrashIn=Open\nZ:\\s\\b.dwg\tHangIn=Export\n");
  EXPECT_EQ(PlanLineFor(plan, {}), nullptr);
  EXPECT_EQ(PlanLineFor(plan, {L"Z:\\s\\other.dwg"}), nullptr);
  ASSERT_NE(PlanLineFor(plan, {L"z:\\S\\B.DWG"}), nullptr);
  EXPECT_EQ(PlanLineFor(plan, {L"z:\\S\\B.DWG"})->drawing, L"Z:\\s\\b.dwg");
  // The user's own drawing first, then the run's: the run's line acts.
  EXPECT_EQ(PlanLineFor(plan, {L"Z:\\s\\a.dwg", L"Z:\\s\\b.dwg"})->drawing, L"Z:\\s\\b.dwg");
  EXPECT_EQ(PlanLineFor(plan, {L"Z:\\s\\b.dwg", L"Z:\\s\\unplanned.dwg"})->drawing, L"Z:\\s\\b.dwg");
}

}  // namespace
}  // namespace pellacore::standin
