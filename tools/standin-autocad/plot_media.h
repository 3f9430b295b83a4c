#pragma once
// The plotter configurations the stand-in knows and their canonical media
// names, with the sizes the names state. Portable.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellacore::standin {

// The PDF plotter's configuration file name, and "None", a layout's device
// until one is chosen.
inline constexpr std::string_view kPdfPlotterConfig = "DWG To PDF.pc3";
inline constexpr std::string_view kNoPlotterConfig = "None";

struct Media {
  std::string name;  // canonical, e.g. "ISO_full_bleed_A3_(420.00_x_297.00_MM)"
  double firstMm = 0;   // the sizes in the order the name states them
  double secondMm = 0;
};

// Whether the stand-in knows the configuration (compared without regard to
// ASCII case, as Windows file names are).
bool IsKnownPlotterConfig(std::string_view config);

// The media of a configuration; none for "None" and unknown ones.
const std::vector<Media>& MediaOf(std::string_view config);

// The media of that exact canonical name (names are case-sensitive).
std::optional<Media> FindMedia(std::string_view config, std::string_view name);

struct PageSize {
  double width = 0;  // PDF points
  double height = 0;
};

// The sheet as plotted: every media is fed portrait (short edge across) at
// PlotRotation 0 and 2, whatever order its name gives the sizes in; 1 and 3
// (90 and 270 degrees) make it landscape.
PageSize PageOf(const Media& media, int rotation);

}  // namespace pellacore::standin
