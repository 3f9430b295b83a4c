// The start-up checks of the real program for its two partners, read from
// the boxes it shows.

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/windows/program_folder_fixture.h"
#include "tests/windows/standins.h"
#include "win32/options_menu.h"

namespace pellacore::testing {
namespace {

using harness::TextOf;

const std::wstring kNoAutoCad =
    L"A valid version of AutoCAD with VBA was not found on this computer. You need to have AutoCAD "
    L"with VBA installed to use this software.\r\n\r\nPlease Google search:\r\nVBA and AutoCAD <your "
    L"version of AutoCAD here>\r\n\r\nIt is possible to install AutoCAD without VBA so you need to "
    L"check carefully.";
const std::wstring kNoPrinter =
    L"Kelvandor PDF Writer is not installed. Please follow these instructions:\r\n\r\n"
    L"1) Go to Control Panel -> Printers and Faxes to add a local printer.\r\n"
    L"2) Choose ''CPW2: (Kelvandor PDF Writer)'' on Select a Printer Port dialog box, click Next.\r\n"
    L"3) Choose a Postscript printer (e.g. HP Color LaserJet PS), click Next.\r\n"
    L"4) Enter Kelvandor PDF Writer as Printer name, click Next -> Finish.";

class StartupChecksTest : public RunningProgramTest {
 protected:
  // The next start-up box: its text, after which it is closed with OK.
  std::wstring NextBoxText() {
    HWND box = harness::WaitForTopWindow(program->id(), L"#32770", L"Pellacore");
    if (!box) return L"<no box>";
    const std::wstring text = TextOf(::GetDlgItem(box, 0xFFFF));
    harness::PressButtonOf(box, IDOK);
    harness::WaitUntil([&] { return !::IsWindow(box); });
    return text;
  }
  void StartProgram() {
    program.emplace(harness::Program::Start(installed.exe(), installed.folder.path()));
  }
};

TEST_F(StartupChecksTest, WithBothPartnersPresentNothingIsToldAtStart) {
  Start();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(harness::WaitForTopWindow(program->id(), L"#32770", L"", harness::milliseconds(500)), nullptr);
}

TEST_F(StartupChecksTest, WithBothMissingAutoCadIsToldFirstThenThePrinter) {
  UnregisteredAutoCad unregistered;
  HiddenPdfPrinter hidden;
  ASSERT_TRUE(hidden.hidden());
  StartProgram();
  const std::wstring first = NextBoxText();
  const std::wstring second = NextBoxText();
  EXPECT_EQ(first, kNoAutoCad);
  EXPECT_EQ(second, kNoPrinter);
  EXPECT_NE(harness::WaitForTopWindow(program->id(), L"PellacoreMainWindow", L"Pellacore"), nullptr);
}

TEST_F(StartupChecksTest, APrinterMissingAloneIsToldAlone) {
  HiddenPdfPrinter hidden;
  StartProgram();
  EXPECT_EQ(NextBoxText(), kNoPrinter);
  EXPECT_NE(harness::WaitForTopWindow(program->id(), L"PellacoreMainWindow", L"Pellacore"), nullptr);
}

TEST_F(StartupChecksTest, WithThePlotterChosenAMissingPrinterIsNotToldAndTheMenuStoresTheChoices) {
  ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, L"PdfRoute", REG_SZ, L"Plotter",
                              sizeof(L"Plotter")),
            ERROR_SUCCESS);
  HiddenPdfPrinter hidden;
  StartProgram();
  HWND main = harness::WaitForTopWindow(program->id(), L"PellacoreMainWindow", L"Pellacore");
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(harness::WaitForTopWindow(program->id(), L"#32770", L"", harness::milliseconds(500)), nullptr);

  // Chosen from the Options menu as a user does. (Another process's menu
  // cannot be read under Wine: GetMenuState answers -1 for every item.)
  namespace menu = win32::options_menu;
  ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(menu::kMediaFirst + 1, 0), 0);
  ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(menu::kBlackAndWhite, 0), 0);
  ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(menu::kRoutePrinter, 0), 0);
  EXPECT_TRUE(harness::WaitUntil([] { return StoredSetting(L"PdfRoute") == L"Printer"; }));
  EXPECT_EQ(StoredSetting(L"PlotMedia"), L"ISO_full_bleed_A3_(420.00_x_297.00_MM)");
  EXPECT_EQ(StoredSetting(L"PlotStyle"), L"monochrome.ctb");
}

}  // namespace
}  // namespace pellacore::testing
