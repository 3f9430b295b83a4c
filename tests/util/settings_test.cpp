#include "util/settings.h"

#include <gtest/gtest.h>

#include "tests/doubles/memory_settings_store.h"
#include "util/failure.h"

namespace pellacore {
namespace {

using testing::MemorySettingsStore;

TEST(ReadSetting, AnAbsentKeyGivesTheDefaultAndAnEmptyValueStaysEmpty) {
  MemorySettingsStore store;
  EXPECT_EQ(ReadSetting(store, setting_key::kLocation, L"C:\\Desktop\\"), L"C:\\Desktop\\");
  store.values[setting_key::kLocation] = L"";
  EXPECT_EQ(ReadSetting(store, setting_key::kLocation, L"C:\\Desktop\\"), L"");
  store.values[setting_key::kLocation] = L"D:\\Out\\";
  EXPECT_EQ(ReadSetting(store, setting_key::kLocation, L"C:\\Desktop\\"), L"D:\\Out\\");
}

TEST(ReadSetting, AStoreThatCannotBeReadFails) {
  MemorySettingsStore store;
  store.readFailure = Failure(-2147024891, L"Access is denied.");
  EXPECT_THROW(ReadSetting(store, setting_key::kOption1, L"1"), Failure);
}

struct BooleanCase {
  std::wstring text;
  bool expected;
};

void PrintTo(const BooleanCase& c, std::ostream* os) { *os << ::testing::PrintToString(c.text); }

class SettingToBooleanTest : public ::testing::TestWithParam<BooleanCase> {};

TEST_P(SettingToBooleanTest, ConvertsBooleanWordsAndNumbers) {
  EXPECT_EQ(SettingToBoolean(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingToBooleanTest,
                         ::testing::Values(BooleanCase{L"True", true}, BooleanCase{L"False", false},
                                           BooleanCase{L"TRUE", true}, BooleanCase{L"false", false},
                                           BooleanCase{L" True ", true}, BooleanCase{L"1", true},
                                           BooleanCase{L"0", false}, BooleanCase{L"-1", true},
                                           BooleanCase{L"0.0", false}, BooleanCase{L"0.5", true},
                                           BooleanCase{L"2e3", true}, BooleanCase{L"+0", false},
                                           BooleanCase{L".5", true}));

TEST(SettingToBoolean, OtherTextIsATypeMismatch) {
  for (const wchar_t* text : {L"", L"yes", L"Tru", L"1x", L"e5", L"1e", L"-", L".", L"True1"}) {
    try {
      SettingToBoolean(text);
      ADD_FAILURE() << "no failure for \"" << ::testing::PrintToString(std::wstring(text)) << "\"";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.number(), failure_number::kTypeMismatch);
    }
  }
}

TEST(PlotSettings, UnknownValuesReadAsTheDefaults) {
  EXPECT_EQ(PdfRouteOf(L"Plotter"), PdfRouteChoice::kPlotter);
  EXPECT_EQ(PdfRouteOf(L" plotter "), PdfRouteChoice::kPlotter);
  for (const wchar_t* text : {L"", L"Printer", L"Plot", L"Plotter2"}) {
    EXPECT_EQ(PdfRouteOf(text), PdfRouteChoice::kPrinter) << ::testing::PrintToString(std::wstring(text));
  }
  EXPECT_EQ(PdfRouteOf(PdfRouteText(PdfRouteChoice::kPlotter)), PdfRouteChoice::kPlotter);
  EXPECT_EQ(PdfRouteText(PdfRouteChoice::kPrinter), L"Printer");
  EXPECT_TRUE(IsMonochromePlotStyle(L"Monochrome.CTB"));
  EXPECT_FALSE(IsMonochromePlotStyle(L""));
  EXPECT_FALSE(IsMonochromePlotStyle(L"acad.ctb"));
}

}  // namespace
}  // namespace pellacore
