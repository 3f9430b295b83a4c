#include "convert/printer_handoff.h"

#include <gtest/gtest.h>

#include "tests/doubles/fake_code_page.h"
#include "tests/doubles/recording_registry.h"

namespace pellacore {
namespace {

const std::wstring kKey = L"Software\\Kelvandor PDF Writer";

class PrinterHandOffTest : public ::testing::Test {
 protected:
  testing::RecordingRegistry registry;
  testing::FakeCodePage codePage;
};

TEST_F(PrinterHandOffTest, WritesBothValuesInOneOpeningOfTheKey) {
  const std::wstring path = LR"(C:\Output\Drawings\Sheet-0001-Plan-A.pdf)";
  ASSERT_EQ(path.size(), 40u);
  SetPrinterOutputFile(registry, codePage, path);
  EXPECT_EQ(registry.calls,
            (std::vector<std::wstring>{L"create " + kKey + L" 63",
                                       L"set OutputFile " + path + L" 40",
                                       L"set BypassSaveAs 1 1", L"close"}));
  EXPECT_EQ(registry.Stored(kKey, L"BypassSaveAs"), "1");
}

TEST_F(PrinterHandOffTest, ASecondCallLeavesOnlyTheSecondPath) {
  SetPrinterOutputFile(registry, codePage, LR"(C:\Out\A.pdf)");
  SetPrinterOutputFile(registry, codePage, LR"(C:\Out\B.pdf)");
  EXPECT_EQ(registry.Stored(kKey, L"OutputFile"), R"(C:\Out\B.pdf)");
}

TEST_F(PrinterHandOffTest, TheLengthCountsTheBytesOfADoubleByteCodePage) {
  codePage.doubleByteCodes[L'\x56f3'] = "\x90\x7d";
  const std::wstring path = LR"(C:\Out\)" + std::wstring(1, L'\x56f3') + L".pdf";
  SetPrinterOutputFile(registry, codePage, path);
  const std::string expected = std::string(R"(C:\Out\)") + "\x90\x7d" + ".pdf";
  EXPECT_EQ(registry.keys[kKey][L"OutputFile"].length, expected.size());
  EXPECT_EQ(registry.Stored(kKey, L"OutputFile"), expected);
}

TEST_F(PrinterHandOffTest, ARefusedKeyOrValueIsPassedOverSilently) {
  registry.refuseCreate = true;
  EXPECT_NO_THROW(SetPrinterOutputFile(registry, codePage, LR"(C:\Out\A.pdf)"));
  EXPECT_EQ(registry.calls, (std::vector<std::wstring>{L"create " + kKey + L" 63"}));
  registry.refuseCreate = false;
  registry.refuseSet = true;
  EXPECT_NO_THROW(SetPrinterOutputFile(registry, codePage, LR"(C:\Out\A.pdf)"));
  EXPECT_EQ(registry.calls.back(), L"close");
}

}  // namespace
}  // namespace pellacore
