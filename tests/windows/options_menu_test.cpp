// The Options menu's paper list, in this process's own window: the papers
// offered are listed after "As Each Layout Is Set Up" and its separator,
// replaced as a new list comes, and each command names its paper.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win32/options_menu.h"

namespace pellacore::testing {
namespace {

namespace menu = win32::options_menu;
using Names = std::vector<std::wstring>;

class OptionsMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = ::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    menu::Attach(window);
  }
  void TearDown() override { ::DestroyWindow(window); }

  // The captions of the paper commands, in their order.
  Names PaperCaptions() const {
    Names captions;
    for (UINT command = menu::kMediaFirst; command <= menu::kMediaLast; ++command) {
      wchar_t text[128] = {};
      if (::GetMenuStringW(::GetMenu(window), command, text, 128, MF_BYCOMMAND) <= 0) break;
      captions.push_back(text);
    }
    return captions;
  }
  bool Checked(UINT command) const {
    return (::GetMenuState(::GetMenu(window), command, MF_BYCOMMAND) & MF_CHECKED) != 0;
  }

  HWND window = nullptr;
};

TEST_F(OptionsMenuTest, ThePapersOfferedAreListedAndReplacedAndEachCommandNamesItsPaper) {
  const Names builtIn{L"ISO_full_bleed_A4_(297.00_x_210.00_MM)", L"ISO_full_bleed_A3_(420.00_x_297.00_MM)"};
  menu::CheckPlotChoices(window, builtIn, L"", false);
  EXPECT_EQ(PaperCaptions(), (Names{L"ISO full bleed A4 (297.00 x 210.00 MM)", L"ISO full bleed A3 (420.00 x 297.00 MM)"}));
  EXPECT_TRUE(Checked(menu::kMediaAsSetUp));

  const Names offered{L"ARCH_full_bleed_D_(36.00_x_24.00_Inches)", L"ISO_full_bleed_A3_(420.00_x_297.00_MM)",
                      L"ISO_full_bleed_B1_(1000.00_x_707.00_MM)"};
  menu::CheckPlotChoices(window, offered, offered[2], true);
  EXPECT_EQ(PaperCaptions(), (Names{L"ARCH full bleed D (36.00 x 24.00 Inches)",
                                    L"ISO full bleed A3 (420.00 x 297.00 MM)",
                                    L"ISO full bleed B1 (1000.00 x 707.00 MM)"}));
  EXPECT_FALSE(Checked(menu::kMediaAsSetUp));
  EXPECT_TRUE(Checked(menu::kMediaFirst + 2));
  EXPECT_FALSE(Checked(menu::kMediaFirst + 1));
  EXPECT_TRUE(Checked(menu::kBlackAndWhite));

  EXPECT_EQ(menu::MediaOfCommand(menu::kMediaFirst + 2, offered), offered[2]);
  EXPECT_EQ(menu::MediaOfCommand(menu::kMediaAsSetUp, offered), std::wstring());
  EXPECT_EQ(menu::MediaOfCommand(menu::kMediaFirst + 3, offered), std::nullopt);
  EXPECT_EQ(menu::MediaOfCommand(menu::kBlackAndWhite, offered), std::nullopt);
}

}  // namespace
}  // namespace pellacore::testing
