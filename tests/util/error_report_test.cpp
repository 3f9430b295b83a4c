#include "util/error_report.h"

#include <gtest/gtest.h>

#include "tests/doubles/recording_message_boxes.h"

namespace pellacore {
namespace {

TEST(ErrorReportText, JoinsItsPartsWithTheFixedSeparators) {
  EXPECT_EQ(ErrorReportText(L"Path not found", L"in Corvanta2021/08/31.Form1.Form_Load ", 136),
            L"Path not found\r\nin Corvanta2021/08/31.Form1.Form_Load at line 136\r\r"
            L"Please email screenshot of this message to support@pellacore.com");
}

TEST(ErrorReportText, AnEmptyDescriptionLeavesTheFirstLineEmpty) {
  const std::wstring text = ErrorReportText(L"", L"in X.Y.Z ", 100);
  EXPECT_EQ(text.substr(0, 2), L"\r\n");
  EXPECT_EQ(text.substr(2, 17), L"in X.Y.Z at line ");
}

TEST(ShowErrorReport, ShowsAnOkBoxWithTheExclamationIconAndItsTitle) {
  testing::RecordingMessageBoxes boxes;
  ShowErrorReport(boxes, L"in Ondrelith2021/08/31.AddFolder.GetSubDirectories2016 ", 104,
                  L"Permission denied");
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].title, L"Application Error");
  EXPECT_EQ(boxes.shown[0].buttons, MessageButtons::kOk);
  EXPECT_EQ(boxes.shown[0].icon, MessageIcon::kExclamation);
  EXPECT_EQ(boxes.shown[0].text,
            L"Permission denied\r\nin Ondrelith2021/08/31.AddFolder.GetSubDirectories2016 at line "
            L"104\r\rPlease email screenshot of this message to support@pellacore.com");
}

}  // namespace
}  // namespace pellacore
