// The DXF writer's rules and the strict reader that the samples' tests lean
// on: if the reader let malformed files through, those tests would prove
// nothing.
#include <gtest/gtest.h>

#include <stdexcept>

#include "tools/samples/dxf.h"
#include "tools/samples/dxf_reader.h"

namespace pellacore::samples {
namespace {

TEST(FormatNumber, WritesTheShortestDecimal) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0, "0"},          {-0.0, "0"},       {100, "100"},      {1.5, "1.5"},
      {-2.25, "-2.25"},  {1e-7, "0"},       {-1e-7, "0"},      {0.1, "0.1"},
      {123456.1234567, "123456.123457"},    {1e9, "1000000000"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatNumber(c.value), c.text) << c.value;
}

Drawing OneLayer(Entity entity) { return {"t", {{"A", 7}}, {std::move(entity)}, {}}; }

TEST(WriteDxf, RefusesWhatTheFileCannotHold) {
  const Drawing bad[] = {
      OneLayer(Line{{0, 0}, {1, 1}, "UNDECLARED"}),
      OneLayer(Text{{0, 0}, 2, "two\nlines", "A"}),
      OneLayer(Text{{0, 0}, 2, "Gr\xc3\xb6\xc3\x9f" "e", "A"}),
      OneLayer(Text{{0, 0}, 0, "no height", "A"}),
      OneLayer(Circle{{0, 0}, 0, "A"}),
      OneLayer(Arc{{0, 0}, -1, 0, 90, "A"}),
      {"t", {{"A", 7, "DASHDOT"}}, {Line{{0, 0}, {1, 1}, "A"}}, {}},
  };
  for (const Drawing& drawing : bad) EXPECT_THROW(WriteDxf(drawing), std::invalid_argument);
}

TEST(WriteDxf, AlignsATextByItsSecondPointOnly) {
  ReadDxf plain = ReadDxfText(WriteDxf(OneLayer(Text{{1, 2}, 3, "left", "A"})));
  ASSERT_EQ(plain.entities.size(), 1u);
  EXPECT_FALSE(plain.entities[0].Has(72));
  EXPECT_FALSE(plain.entities[0].Has(11));
  EXPECT_FALSE(plain.entities[0].Has(73));

  ReadDxf centred =
      ReadDxfText(WriteDxf(OneLayer(Text{{1, 2}, 3, "middle", "A", Align::kCentre, Baseline::kMiddle})));
  const ReadEntity& text = centred.entities.at(0);
  EXPECT_EQ(text.Text(72), "1");
  EXPECT_EQ(text.Text(73), "2");
  EXPECT_EQ(text.Number(11), 1);
  EXPECT_EQ(text.Number(21), 2);
  EXPECT_EQ(text.Number(10), 1);  // for readers that ignore the alignment
}

TEST(ExtentsOf, AnArcCountsTheAxesItCrosses) {
  // From 350 to 10 degrees: through 0, the arc's rightmost point.
  Extents wrapped = ExtentsOf(OneLayer(Arc{{0, 0}, 10, 350, 10, "A"}));
  EXPECT_DOUBLE_EQ(wrapped.max.x, 10);
  EXPECT_NEAR(wrapped.min.x, 9.848, 1e-3);
  EXPECT_NEAR(wrapped.max.y, 1.736, 1e-3);
  // From 45 to 135: through 90 only.
  Extents top = ExtentsOf(OneLayer(Arc{{5, 5}, 10, 45, 135, "A"}));
  EXPECT_DOUBLE_EQ(top.max.y, 15);
  EXPECT_NEAR(top.min.y, 5 + 7.071, 1e-3);
  EXPECT_NEAR(top.max.x, 5 + 7.071, 1e-3);
}

TEST(ExtentsOf, ACentredTextSpreadsBothWays) {
  Extents e = ExtentsOf(OneLayer(Text{{100, 50}, 10, "ABCD", "A", Align::kCentre, Baseline::kMiddle}));
  EXPECT_DOUBLE_EQ(e.min.x, 100 - 14);
  EXPECT_DOUBLE_EQ(e.max.x, 100 + 14);
  EXPECT_DOUBLE_EQ(e.min.y, 45);
  EXPECT_DOUBLE_EQ(e.max.y, 55);
}

TEST(ReadGroups, RefusesMalformedPairs) {
  const char* bad[] = {
      "  0\r\nSECTION\r\n  2\r\n",        // a code without its value
      "  0\r\nSECTION\r\nHEADER\r\n9\r\n",  // a value where a code belongs
      "  x\r\nSECTION\r\n",
      "\r\nSECTION\r\n",
      " -1\r\nSECTION\r\n",
  };
  for (const char* text : bad) EXPECT_THROW(ReadGroups(text), std::runtime_error) << text;
  std::vector<Group> good = ReadGroups("  0\r\nSECTION\n 10\n1.5");
  ASSERT_EQ(good.size(), 2u);
  EXPECT_EQ(good[1].code, 10);
  EXPECT_EQ(good[1].value, "1.5");
}

TEST(ReadDxfText, RefusesAFileNotClosedProperly) {
  const char* bad[] = {
      "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n",                        // no ENDSEC, no EOF
      "  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n",                      // no EOF
      "  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n  0\nEOF\n  0\nLINE\n",  // after EOF
      "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n  0\nENDSEC\n  0\nEOF\n",
  };
  for (const char* text : bad) EXPECT_THROW(ReadDxfText(text), std::runtime_error) << text;
}

TEST(ReadEntity, NumbersMustBeNumbers) {
  ReadEntity e{"LINE", {{10, "1.5"}, {20, "1.5x"}, {30, ""}}};
  EXPECT_EQ(e.Number(10), 1.5);
  EXPECT_THROW(e.Number(20), std::runtime_error);
  EXPECT_THROW(e.Number(30), std::runtime_error);
  EXPECT_THROW(e.Number(40), std::runtime_error);
}

}  // namespace
}  // namespace pellacore::samples
