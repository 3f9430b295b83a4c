#pragma once
// What a layout's viewport shows: model space scaled into the viewport's
// window on the sheet, as AutoCAD plots a layout. Portable.

#include <vector>

#include "tools/standin-autocad/dxf.h"

namespace pellacore::standin {

struct SeenEntities {
  std::vector<Entity> entities;
  std::vector<int> colours;
};

// The model entities whose extents lie (at least in part) inside the
// viewport's window, in sheet units. Entities reaching beyond the window are
// not clipped; a viewport with no view height shows nothing.
SeenEntities SeenThrough(const Viewport& viewport, const std::vector<Entity>& model,
                         const std::vector<int>& colours);

}  // namespace pellacore::standin
