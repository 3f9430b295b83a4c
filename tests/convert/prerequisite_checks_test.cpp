#include "convert/prerequisite_checks.h"

#include <gtest/gtest.h>

#include "tests/doubles/autocad_doubles.h"
#include "tests/doubles/fake_printing.h"
#include "tests/doubles/recording_message_boxes.h"

namespace pellacore {
namespace {

class PrerequisiteChecksTest : public ::testing::Test {
 protected:
  testing::FakeClock clock;
  testing::ScriptedEventPump pump;
  testing::AutoCadDoubles doubles{nullptr, clock, pump};
  testing::FakeAutoCad& autocad = doubles.autocad;
  testing::FakePrinting printing;
  testing::RecordingMessageBoxes boxes;
  PartnerChecks checks{{doubles.instances, printing, boxes}};
};

TEST_F(PrerequisiteChecksTest, TheCheckLeavesNoAutoCadOfItsOwnRunning) {
  autocad.lingerMs = 2000;
  EXPECT_TRUE(checks.AutoCadAvailable(L"Pellacore"));
  EXPECT_EQ(autocad.log, (std::vector<std::wstring>{L"CreateObject AutoCAD.Application",
                                                    L"Application.HWND get ()", L"Application.Quit call ()"}));
  // Quit returns before the process has gone: the check waits it out,
  // handling events, rather than leave it to the first drawing.
  EXPECT_EQ(autocad.LiveProcesses(), 0);
  EXPECT_GE(clock.now - 1'000'000, 2000);
  EXPECT_GT(pump.yields, 0);
  EXPECT_TRUE(doubles.processes.endedTrees.empty());
  EXPECT_EQ(autocad.released, std::vector<std::wstring>{L"Application"});
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(PrerequisiteChecksTest, AnAutoCadThatWillNotQuitIsEndedAndAHungStartIsNoAutoCad) {
  autocad.memberFailures.emplace(L"Quit", Failure(-2147467259, L"Unspecified error"));
  EXPECT_TRUE(checks.AutoCadAvailable(L"Pellacore"));
  EXPECT_EQ(doubles.processes.endedTrees, std::vector<std::int64_t>{1001});
  EXPECT_EQ(autocad.LiveProcesses(), 0);

  // A start that does not answer within the check's time is no AutoCAD.
  autocad.memberFailures.clear();
  autocad.hangIn.insert(L"HWND");
  EXPECT_FALSE(checks.AutoCadAvailable(L"Pellacore"));
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_NE(boxes.shown[0].text.find(L"A valid version of AutoCAD with VBA was not found"), std::wstring::npos);
}

TEST_F(PrerequisiteChecksTest, NoAutoCadIsToldLineByLine) {
  autocad.creatable = false;
  EXPECT_FALSE(checks.AutoCadAvailable(L"Pellacore"));
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text,
            L"A valid version of AutoCAD with VBA was not found on this computer. You need to have "
            L"AutoCAD with VBA installed to use this software.\r\n\r\nPlease Google search:\r\n"
            L"VBA and AutoCAD <your version of AutoCAD here>\r\n\r\n"
            L"It is possible to install AutoCAD without VBA so you need to check carefully.");
  EXPECT_EQ(boxes.shown[0].title, L"Pellacore");
  EXPECT_EQ(boxes.shown[0].buttons, MessageButtons::kOk);
}

TEST_F(PrerequisiteChecksTest, ThePrinterMustBeThereUnderItsExactName) {
  checks.PdfPrinterInstalled(L"Pellacore");
  EXPECT_TRUE(boxes.shown.empty());

  printing.printers = {L"Office Laser", L"kelvandor pdf writer", L"Kelvandor PDF Writer "};
  checks.PdfPrinterInstalled(L"Pellacore");
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text,
            L"Kelvandor PDF Writer is not installed. Please follow these instructions:\r\n\r\n"
            L"1) Go to Control Panel -> Printers and Faxes to add a local printer.\r\n"
            L"2) Choose ''CPW2: (Kelvandor PDF Writer)'' on Select a Printer Port dialog box, click Next.\r\n"
            L"3) Choose a Postscript printer (e.g. HP Color LaserJet PS), click Next.\r\n"
            L"4) Enter Kelvandor PDF Writer as Printer name, click Next -> Finish.");
  EXPECT_EQ(boxes.shown[0].title, L"Pellacore");
  // Only informs: the current printer stays.
  EXPECT_EQ(printing.current, L"Office Laser");
}

TEST_F(PrerequisiteChecksTest, AFailingPrinterListIsRaisedToTheCaller) {
  printing.failures.emplace(L"names", Failure(-2147023174, L"The RPC server is unavailable."));
  EXPECT_THROW(checks.PdfPrinterInstalled(L"Pellacore"), Failure);
  EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
}  // namespace pellacore
