#pragma once
// Where a picture goes on the printed page: the page turned the picture's
// way, the picture as large as the printable area allows with its
// proportions kept, in the middle of the area.

#include "platform/printing.h"

namespace pellacore {

// Landscape for a picture wider than it is tall, portrait otherwise.
PageOrientation OrientationFor(PixelSize picture);

// The largest rectangle of the picture's proportions inside `area`,
// centred. A picture without pixels fills the area.
PageRect FitInArea(PixelSize picture, PixelSize area);

// Opens the page turned the picture's way and paints the picture on it in
// proportion.
void PaintInProportion(Printing& printing, const Picture& picture);

}  // namespace pellacore
