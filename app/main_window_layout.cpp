#include "app/main_window_layout.h"

#include <cmath>
#include <stdexcept>

namespace pellacore {

const ControlDesign& DesignOf(ControlId id) {
  for (const ControlDesign& design : kMainWindowDesign) {
    if (design.id == id) return design;
  }
  throw std::out_of_range("no such control");
}

TwipsRect PlaceInWindow(ControlId id) {
  const ControlDesign& design = DesignOf(id);
  TwipsRect place = design.place;
  for (std::optional<ControlId> container = design.container; container;
       container = DesignOf(*container).container) {
    place.left += DesignOf(*container).place.left;
    place.top += DesignOf(*container).place.top;
  }
  return place;
}

int TwipsToPixels(int twips, int dpi) {
  return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / kTwipsPerInch));
}

}  // namespace pellacore
