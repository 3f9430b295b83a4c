// The conversion run benchmark's figures: the costs the stand-in reads back,
// and lines that never time a run that did not convert every drawing.

#include <gtest/gtest.h>

#include "bench/run_figures.h"
#include "tools/standin-autocad/member_delays.h"

namespace pellacore::bench {
namespace {

constexpr StandinCosts kCosts{2000, 300, 400, 500};

RunTiming Timed(const std::wstring& name, double seconds, std::size_t converted = 40) {
  return RunTiming{name, 40, converted, seconds, true};
}

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

TEST(RunFigures, TheStandinReadsTheCostsOfEveryMemberBothRoutesCall) {
  const std::wstring delays = DelayMsValue(kCosts);
  EXPECT_EQ(standin::MemberDelay(delays, L"Open"), 300u);
  EXPECT_EQ(standin::MemberDelay(delays, L"Export"), 400u);
  EXPECT_EQ(standin::MemberDelay(delays, L"PlotToFile"), 400u);
  // Nothing else waits: a kept AutoCAD costs only its open and output.
  EXPECT_EQ(standin::MemberDelay(delays, L"Close"), 0u);
  EXPECT_EQ(standin::MemberDelay(delays, L"Select"), 0u);
  EXPECT_DOUBLE_EQ(KeptSecondsPerDrawing(kCosts), 0.7);
  EXPECT_EQ(CostsLine(kCosts), L"start 2.0 s, open 0.3 s, export or plot 0.4 s, quit 0.5 s");
}

TEST(RunFigures, ARunThatMissedADrawingOrNeverEndedIsNotTimed) {
  EXPECT_EQ(TimingLine(Timed(L"kept", 24.0)), L"kept: 24.0 s for 40 drawings, 0.60 s per drawing");
  EXPECT_EQ(TimingLine(Timed(L"kept", 24.0, 39)), L"kept: not measured: kept converted 39 of 40");
  RunTiming hung = Timed(L"each", 500.0);
  hung.ended = false;
  EXPECT_EQ(TimingLine(hung), L"each: not measured: each did not end");

  const std::wstring missed = SpeedupLine(L"printer", Timed(L"each", 120.0), Timed(L"kept", 24.0, 12), 3.0);
  EXPECT_TRUE(Contains(missed, L"not measured: kept converted 12 of 40")) << missed;
  EXPECT_FALSE(Contains(missed, L"met")) << missed;
  const std::wstring freeMissed = OwnShareLine(Timed(L"free", 1.0, 0), 0.6, 0.05);
  EXPECT_TRUE(Contains(freeMissed, L"not measured")) << freeMissed;
  EXPECT_FALSE(Contains(freeMissed, L"met")) << freeMissed;
}

TEST(RunFigures, TargetsAreMetAtTheirBoundAndNotBeyond) {
  EXPECT_EQ(SpeedupLine(L"printer", Timed(L"each", 120.0), Timed(L"kept", 40.0), 3.0),
            L"printer: 3.00 times faster (target: at least 3 times): met");
  EXPECT_EQ(SpeedupLine(L"printer", Timed(L"each", 119.0), Timed(L"kept", 40.0), 3.0),
            L"printer: 2.98 times faster (target: at least 3 times): NOT met");
  EXPECT_EQ(SpeedupLine(L"2 against 1", Timed(L"one", 90.0), Timed(L"two", 50.0), std::nullopt),
            L"2 against 1: 1.80 times faster (no target)");
  // 40 drawings in 2 s on a free AutoCAD: 0.05 s each, 5% of 1 s.
  EXPECT_EQ(OwnShareLine(Timed(L"free", 2.0), 1.0, 0.05),
            L"the program's own time per drawing: 0.05 s, 5% of AutoCAD's 1.00 s (target: at most 5%): met");
  EXPECT_TRUE(Contains(OwnShareLine(Timed(L"free", 2.1), 1.0, 0.05), L"(target: at most 5%): NOT met"));
  EXPECT_TRUE(Contains(OwnShareLine(Timed(L"free", 12.0), 0.6, 0.05), L"50% of AutoCAD's 0.60 s"));
}

TEST(RunFigures, AConfigurationNotInTheProgramSaysSo) {
  EXPECT_EQ(SpeedupLine(L"4 against 1", std::nullopt, std::nullopt, 3.0),
            L"4 against 1: not built yet (target: at least 3 times)");
  EXPECT_TRUE(Contains(SpeedupLine(L"4 against 1", Timed(L"one", 90.0), std::nullopt, 3.0), L"not built yet"));
}

}  // namespace
}  // namespace pellacore::bench
