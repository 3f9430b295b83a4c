#include "tools/standin-autocad/dxf.h"

#include <gtest/gtest.h>

#include <string>

namespace pellacore::standin {
namespace {

// Builds DXF text from code/value pairs, one line each.
std::string Dxf(std::initializer_list<std::pair<int, std::string>> groups, const char* lineEnd = "\n") {
  std::string text;
  for (const auto& [code, value] : groups) text += std::to_string(code) + lineEnd + value + lineEnd;
  return text;
}

std::string EntitiesSection(const std::string& entities) {
  return Dxf({{0, "SECTION"}, {2, "ENTITIES"}}) + entities + Dxf({{0, "ENDSEC"}, {0, "EOF"}});
}

Drawing ReadOk(const std::string& text) {
  DxfResult result = ReadDxf(text);
  EXPECT_TRUE(result.drawing.has_value()) << "line " << result.error.line << ": " << result.error.message;
  return result.drawing.value_or(Drawing{});
}

TEST(LooksLikeDxf, DecidesByTheFirstGroup) {
  const struct {
    std::string content;
    bool expected;
  } cases[] = {
      {"0\nSECTION\n2\nHEADER\n", true},
      {"  0\r\nSECTION\r\n", true},                      // padded code, CR LF
      {"999\nmade by hand\n0\nSECTION\n", true},         // comments first
      {"\xEF\xBB\xBF" "0\nSECTION\n", true},             // byte-order mark
      {"0\nSECTION ", true},                             // trailing blank on the value
      {"AC1027\x00\x00\x00\x00\x00\x00", false},          // a real DWG starts with its version
      {"AutoCAD Binary DXF\r\n\x1a", false},
      {"0\nEOF\n", false},
      {"SECTION\n0\n", false},
      {"", false},
      {"plan", false},
  };
  for (const auto& c : cases) EXPECT_EQ(LooksLikeDxf(c.content), c.expected) << c.content;
}

TEST(ReadDxf, ReadsEachDrawnEntityKind) {
  const std::string text = EntitiesSection(
      Dxf({{0, "LINE"}, {8, "0"}, {10, "1.5"}, {20, "-2"}, {30, "0"}, {11, "10"}, {21, "20"}, {31, "0"},
           {0, "CIRCLE"}, {10, "5"}, {20, "6"}, {40, "2.5"},
           {0, "ARC"}, {10, "0"}, {20, "0"}, {40, "3"}, {50, "30"}, {51, "120"},
           {0, "TEXT"}, {10, "7"}, {20, "8"}, {40, "0.25"}, {1, "Room 1"}, {50, "90"},
           {0, "MTEXT"}, {10, "1"}, {20, "2"}, {40, "0.5"}, {3, "First \\Ppart "}, {1, "and the {\\fArial|b1;end}"}}));
  const Drawing drawing = ReadOk(text);
  ASSERT_EQ(drawing.entities.size(), 5u);

  const Line& line = std::get<Line>(drawing.entities[0]);
  EXPECT_DOUBLE_EQ(line.from.x, 1.5);
  EXPECT_DOUBLE_EQ(line.from.y, -2);
  EXPECT_DOUBLE_EQ(line.to.x, 10);
  EXPECT_DOUBLE_EQ(line.to.y, 20);

  const Circle& circle = std::get<Circle>(drawing.entities[1]);
  EXPECT_DOUBLE_EQ(circle.center.x, 5);
  EXPECT_DOUBLE_EQ(circle.center.y, 6);
  EXPECT_DOUBLE_EQ(circle.radius, 2.5);

  const Arc& arc = std::get<Arc>(drawing.entities[2]);
  EXPECT_DOUBLE_EQ(arc.radius, 3);
  EXPECT_DOUBLE_EQ(arc.startDegrees, 30);
  EXPECT_DOUBLE_EQ(arc.endDegrees, 120);

  const Text& text1 = std::get<Text>(drawing.entities[3]);
  EXPECT_EQ(text1.text, "Room 1");
  EXPECT_DOUBLE_EQ(text1.height, 0.25);
  EXPECT_DOUBLE_EQ(text1.rotationDegrees, 90);
  EXPECT_DOUBLE_EQ(text1.at.x, 7);
  EXPECT_FALSE(text1.topAligned);

  // MTEXT's 3 chunks come before its final 1; formatting is removed.
  const Text& text2 = std::get<Text>(drawing.entities[4]);
  EXPECT_EQ(text2.text, "First \npart and the end");
  EXPECT_TRUE(text2.topAligned);
}

TEST(ReadDxf, ReadsPolylinesOfBothForms) {
  const std::string text = EntitiesSection(
      Dxf({{0, "LWPOLYLINE"}, {90, "3"}, {70, "1"}, {10, "0"}, {20, "0"}, {10, "4"}, {20, "0"}, {42, "0.5"},
           {10, "4"}, {20, "3"},
           {0, "POLYLINE"}, {66, "1"}, {70, "0"},
           {0, "VERTEX"}, {10, "1"}, {20, "1"},
           {0, "VERTEX"}, {10, "2"}, {20, "5"},
           {0, "SEQEND"},
           {0, "LINE"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "1"}}));
  const Drawing drawing = ReadOk(text);
  ASSERT_EQ(drawing.entities.size(), 3u);

  const Polyline& light = std::get<Polyline>(drawing.entities[0]);
  ASSERT_EQ(light.points.size(), 3u);
  EXPECT_TRUE(light.closed);
  EXPECT_DOUBLE_EQ(light.points[1].x, 4);
  EXPECT_DOUBLE_EQ(light.points[2].y, 3);

  const Polyline& heavy = std::get<Polyline>(drawing.entities[1]);
  ASSERT_EQ(heavy.points.size(), 2u);
  EXPECT_FALSE(heavy.closed);
  EXPECT_DOUBLE_EQ(heavy.points[1].y, 5);

  EXPECT_TRUE(std::holds_alternative<Line>(drawing.entities[2]));
}

TEST(ReadDxf, APolylineWithoutSeqendEndsAtTheNextEntity) {
  const Drawing drawing = ReadOk(EntitiesSection(Dxf({{0, "POLYLINE"}, {70, "1"},
                                                      {0, "VERTEX"}, {10, "1"}, {20, "1"},
                                                      {0, "VERTEX"}, {10, "2"}, {20, "2"},
                                                      {0, "VERTEX"}, {10, "3"}, {20, "1"},
                                                      {0, "CIRCLE"}, {10, "0"}, {20, "0"}, {40, "1"}})));
  ASSERT_EQ(drawing.entities.size(), 2u);
  EXPECT_EQ(std::get<Polyline>(drawing.entities[0]).points.size(), 3u);
  EXPECT_TRUE(std::get<Polyline>(drawing.entities[0]).closed);
  EXPECT_TRUE(std::holds_alternative<Circle>(drawing.entities[1]));
}

TEST(ReadDxf, SkipsMeshesUnknownEntitiesAndOtherSections) {
  const std::string text =
      Dxf({{0, "SECTION"}, {2, "HEADER"}, {9, "$EXTMIN"}, {10, "0"}, {20, "0"}, {0, "ENDSEC"},
           {0, "SECTION"}, {2, "BLOCKS"}, {0, "BLOCK"}, {2, "DOOR"}, {0, "LINE"}, {10, "0"}, {20, "0"}, {11, "9"},
           {21, "9"}, {0, "ENDBLK"}, {0, "ENDSEC"},
           {0, "SECTION"}, {2, "ENTITIES"},
           {0, "HATCH"}, {10, "0"}, {20, "0"},
           {0, "POLYLINE"}, {70, "16"}, {0, "VERTEX"}, {10, "1"}, {20, "1"}, {0, "SEQEND"},
           {0, "INSERT"}, {2, "DOOR"}, {10, "3"}, {20, "3"},
           {0, "CIRCLE"}, {10, "0"}, {20, "0"}, {40, "1"},
           {0, "ENDSEC"},
           {0, "SECTION"}, {2, "OBJECTS"}, {0, "LINE"}, {10, "0"}, {20, "0"}, {0, "ENDSEC"}, {0, "EOF"}});
  const Drawing drawing = ReadOk(text);
  ASSERT_EQ(drawing.entities.size(), 1u);
  EXPECT_TRUE(std::holds_alternative<Circle>(drawing.entities[0]));
}

TEST(ReadDxf, ToleratesCrLfPaddingAndAMissingEof) {
  const std::string text =
      Dxf({{0, "SECTION"}, {2, "ENTITIES"}, {0, "LINE"}, {10, " 2.0"}, {20, "3"}, {11, "+4"}, {21, "5e1"}}, "\r\n");
  const std::string padded = "  " + text;
  const Drawing drawing = ReadOk(padded);
  ASSERT_EQ(drawing.entities.size(), 1u);
  const Line& line = std::get<Line>(drawing.entities[0]);
  EXPECT_DOUBLE_EQ(line.from.x, 2);
  EXPECT_DOUBLE_EQ(line.to.x, 4);
  EXPECT_DOUBLE_EQ(line.to.y, 50);
}

TEST(ReadDxf, ReportsTheLineOfAMalformedPair) {
  const struct {
    std::string text;
    int line;
  } cases[] = {
      {"0\nSECTION\n2\nENTITIES\nLINE\n10\n", 5},  // a value where a code belongs
      {"0\nSECTION\n2\nENTITIES\n0\nLINE\n10", 7},  // a code without its value
      {"0\nSECTION\n2x\nENTITIES\n", 3},
  };
  for (const auto& c : cases) {
    const DxfResult result = ReadDxf(c.text);
    EXPECT_FALSE(result.drawing.has_value()) << c.text;
    EXPECT_EQ(result.error.line, c.line) << c.text;
    EXPECT_FALSE(result.error.message.empty());
  }
}

TEST(PlainMtext, RemovesFormattingAndKeepsTheText) {
  const struct {
    const char* formatted;
    const char* plain;
  } cases[] = {
      {"plain", "plain"},
      {"one\\Ptwo", "one\ntwo"},
      {"{\\fArial|b0|i0|c0|p34;Bold} text", "Bold text"},
      {"\\H2.5x;Big\\W0.8;Narrow", "BigNarrow"},
      {"\\LUnder\\l and \\Oover\\o", "Under and over"},
      {"a\\~b", "a b"},
      {"back\\\\slash \\{braces\\}", "back\\slash {braces}"},
      {"\\S1/2; inch", "1/2 inch"},
      {"\\S3^4;", "3/4"},
      {"\\U+00E9t\\U+00E9", "\xC3\xA9t\xC3\xA9"},
      {"\\U+20AC", "\xE2\x82\xAC"},
      {"\\U+zz", "\\U+zz"},
      {"trailing\\", "trailing\\"},
  };
  for (const auto& c : cases) EXPECT_EQ(PlainMtext(c.formatted), c.plain) << c.formatted;
}

}  // namespace
}  // namespace pellacore::standin
