#include "tools/standin-autocad/plot_media.h"

#include <algorithm>

namespace pellacore::standin {

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kPointsPerMm = 72 / kMmPerInch;

std::vector<Media> PdfPlotterMedia() {
  const auto inches = [](const char* name, double first, double second) {
    return Media{name, first * kMmPerInch, second * kMmPerInch};
  };
  return {
      {"ISO_full_bleed_A4_(210.00_x_297.00_MM)", 210, 297},
      {"ISO_full_bleed_A4_(297.00_x_210.00_MM)", 297, 210},
      {"ISO_full_bleed_A3_(297.00_x_420.00_MM)", 297, 420},
      {"ISO_full_bleed_A3_(420.00_x_297.00_MM)", 420, 297},
      {"ISO_full_bleed_A2_(420.00_x_594.00_MM)", 420, 594},
      {"ISO_full_bleed_A2_(594.00_x_420.00_MM)", 594, 420},
      {"ISO_full_bleed_A1_(594.00_x_841.00_MM)", 594, 841},
      {"ISO_full_bleed_A1_(841.00_x_594.00_MM)", 841, 594},
      {"ISO_full_bleed_A0_(841.00_x_1189.00_MM)", 841, 1189},
      inches("ANSI_A_(8.50_x_11.00_Inches)", 8.5, 11),
      inches("ANSI_A_(11.00_x_8.50_Inches)", 11, 8.5),
      inches("ANSI_B_(11.00_x_17.00_Inches)", 11, 17),
      inches("ANSI_B_(17.00_x_11.00_Inches)", 17, 11),
      inches("ANSI_C_(17.00_x_22.00_Inches)", 17, 22),
      inches("ANSI_D_(22.00_x_34.00_Inches)", 22, 34),
      inches("ANSI_E_(34.00_x_44.00_Inches)", 34, 44),
  };
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

}  // namespace

bool IsKnownPlotterConfig(std::string_view config) {
  return SameIgnoringAsciiCase(config, kPdfPlotterConfig) || SameIgnoringAsciiCase(config, kNoPlotterConfig);
}

const std::vector<Media>& MediaOf(std::string_view config) {
  static const std::vector<Media> pdf = PdfPlotterMedia();
  static const std::vector<Media> none;
  return SameIgnoringAsciiCase(config, kPdfPlotterConfig) ? pdf : none;
}

std::optional<Media> FindMedia(std::string_view config, std::string_view name) {
  for (const Media& media : MediaOf(config)) {
    if (media.name == name) return media;
  }
  return std::nullopt;
}

PageSize PageOf(const Media& media, int rotation) {
  const double shortSide = std::min(media.firstMm, media.secondMm) * kPointsPerMm;
  const double longSide = std::max(media.firstMm, media.secondMm) * kPointsPerMm;
  if (rotation % 2 == 1) return {longSide, shortSide};
  return {shortSide, longSide};
}

}  // namespace pellacore::standin
