// The PDF writer read back: structure by our strict reading, and poppler's
// pdfinfo and pdftotext where they are installed.

#include "tools/standin-autocad/pdf_writer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tools/standin-autocad/tests/pdf_inspection.h"

namespace pellacore::standin {
namespace {

using testing::InspectPdf;
using testing::RunPdfTool;

std::vector<PdfPage> TwoPages() {
  PdfPage first(595.276, 841.89);
  first.SetLineWidth(0.5);
  first.MoveTo(10, 10);
  first.LineTo(100, 200);
  first.CurveTo(110, 210, 120, 220, 130, 200);
  first.Stroke();
  first.Text(50, 400, 12, 0, "Room (north) \\ 12.5 m2");
  PdfPage second(1190.551, 841.89);
  second.SetStrokeColour({1, 0, 0});
  second.Text(300, 300, 20, 0, "Caf\xC3\xA9 \xE2\x82\xAC 5");
  return {first, second};
}

TEST(PdfWriter, TheStructureReadsBackPageByPage) {
  const std::string pdf = WritePdf(TwoPages());
  const auto facts = InspectPdf(pdf);
  ASSERT_EQ(facts.problem, "");
  EXPECT_EQ(facts.pageCount, 2);
  ASSERT_EQ(facts.mediaBoxes.size(), 2u);
  EXPECT_NEAR(facts.mediaBoxes[0].width, 595.276, 1e-3);
  EXPECT_NEAR(facts.mediaBoxes[1].width, 1190.551, 1e-3);
  EXPECT_NEAR(facts.mediaBoxes[1].height, 841.89, 1e-3);
  // Paths are PDF path operators, not pictures.
  EXPECT_NE(pdf.find("10 10 m\n100 200 l\n110 210 120 220 130 200 c\nS\n"), std::string::npos);
  EXPECT_EQ(pdf.find("/Image"), std::string::npos);
  EXPECT_EQ(InspectPdf(WritePdf({})).problem, "");
  EXPECT_EQ(InspectPdf(WritePdf({})).pageCount, 0);
}

TEST(PdfWriter, PopplerReadsItWithoutComplaintAndFindsTheText) {
  const std::string pdf = WritePdf(TwoPages());
  const auto info = RunPdfTool("pdfinfo -f 1 -l 2", pdf);
  if (!info) GTEST_SKIP() << "poppler-utils are not here";
  EXPECT_EQ(info->status, 0);
  EXPECT_EQ(info->errors, "");
  // Its columns' widths vary between versions: one space between words.
  std::string words;
  for (char c : info->output) {
    if (c != ' ' || words.empty() || words.back() != ' ') words += c;
  }
  EXPECT_NE(words.find("Pages: 2\n"), std::string::npos) << words;
  EXPECT_NE(words.find("Page 1 size: 595.276 x 841.89 pts (A4)"), std::string::npos) << words;
  EXPECT_NE(words.find("Page 2 size: 1190.55 x 841.89 pts (A3)"), std::string::npos) << words;

  const auto text = RunPdfTool("pdftotext -raw", pdf);
  ASSERT_TRUE(text);
  EXPECT_EQ(text->errors, "");
  // Escaped parentheses and backslash, and WinAnsi's é and euro sign.
  EXPECT_NE(text->output.find("Room (north) \\ 12.5 m2"), std::string::npos) << text->output;
  EXPECT_NE(text->output.find("Caf\xC3\xA9 \xE2\x82\xAC 5"), std::string::npos) << text->output;

  const auto images = RunPdfTool("pdfimages -list", pdf);
  ASSERT_TRUE(images);
  // The header and its rule only: no picture anywhere.
  EXPECT_EQ(std::count(images->output.begin(), images->output.end(), '\n'), 2) << images->output;
}

TEST(PdfWriter, TextGoesOutAsWinAnsi) {
  EXPECT_EQ(WinAnsiOf("A\xC3\xA9\xE2\x82\xAC\xE2\x80\x93"), "A\xE9\x80\x96");
  // What the code page lacks, and bytes that are not UTF-8 (an R12 file's
  // ANSI text), pass as "?" and unchanged.
  EXPECT_EQ(WinAnsiOf("\xE2\x88\x85 D50"), "? D50");
  EXPECT_EQ(WinAnsiOf("\xD8" "50"), "\xD8" "50");
}

}  // namespace
}  // namespace pellacore::standin
