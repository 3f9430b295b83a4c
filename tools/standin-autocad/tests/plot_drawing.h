#pragma once
// The drawing the plot route's tests plot, in and across processes.

namespace pellacore::standin::testing {

inline constexpr wchar_t kA3[] = L"ISO_full_bleed_A3_(420.00_x_297.00_MM)";

// A plan in model space (a line on a red layer, a circle, "GROUND FLOOR")
// and a sheet in paper space, "Sheet 1" ("SHEET TITLE").
inline constexpr char kPlanWithSheet[] =
    "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n0\nLAYER\n2\nRED\n70\n0\n62\n1\n0\nENDTAB\n0\nENDSEC\n"
    "0\nSECTION\n2\nENTITIES\n"
    "0\nLINE\n8\nRED\n10\n0\n20\n0\n11\n200\n21\n100\n"
    "0\nCIRCLE\n8\n0\n10\n100\n20\n50\n40\n30\n"
    "0\nTEXT\n8\n0\n10\n10\n20\n10\n40\n5\n1\nGROUND FLOOR\n"
    "0\nLINE\n8\n0\n67\n1\n410\nSheet 1\n10\n0\n20\n0\n11\n420\n21\n297\n"
    "0\nTEXT\n8\n0\n67\n1\n410\nSheet 1\n10\n20\n20\n20\n40\n5\n1\nSHEET TITLE\n"
    "0\nENDSEC\n0\nEOF\n";

}  // namespace pellacore::standin::testing
