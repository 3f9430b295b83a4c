// The sample drawings that "Load Sample/Example Files" puts in the job list:
// a floor plan, a flange and a title block, drawn here so that they can be
// made anew (make_samples) and nothing in Samples/ comes from elsewhere.
#pragma once

#include <vector>

#include "tools/samples/dxf.h"

namespace pellacore::samples {

// A flat of three rooms, 10 m by 7 m: walls as pairs of lines, three doors
// with their swing arcs, room names and areas. Millimetres. Its "A3 Sheet"
// shows the plan at 1:100 in a viewport above the title block.
Drawing FloorPlan();

// A flange of 200 mm: six lobes and the body between them as arcs, six bolt
// holes on their pitch circle, a keyed bore, centre lines. Two sheets: the
// flange in a viewport on an upright A4 "Detail", and an A3 "Parts List".
Drawing Flange();

// An A3 frame with a title block: its table and the title, drawing number,
// date, scale, drawn by and sheet.
Drawing TitleBlock();

std::vector<Drawing> AllSamples();

}  // namespace pellacore::samples
