#pragma once
// The main window as designed: every control with its kind, container,
// caption and place, in twips (1/1440 inch), in tab order. The window turns
// these into pixels with its DPI; nothing moves or resizes at run time.

#include <array>
#include <optional>
#include <string_view>

namespace pellacore {

enum class ControlId {
  kListView1,
  kCreator,
  kProgressBar1,
  kPushButton1,
  kPushButton3,
  kPushButton2,
  kPushButton4,
  kPushButton8,
  kFrame1,
  kFrame3,
  kText1,
  kPushButton7,
  kOption1,
  kOption2,
};

enum class ControlKind { kListView, kPictureBox, kProgressBar, kPushButton, kFrame, kTextBox, kOptionButton };

struct TwipsRect {
  int left, top, width, height;
};

struct ControlDesign {
  ControlId id;
  std::wstring_view name;
  ControlKind kind;
  std::optional<ControlId> container;  // none: the window itself
  std::wstring_view caption;
  TwipsRect place;  // relative to the container
};

inline constexpr int kClientWidthTwips = 8040;
inline constexpr int kClientHeightTwips = 6690;
inline constexpr int kTwipsPerInch = 1440;

inline constexpr std::array<ControlDesign, 14> kMainWindowDesign{{
    {ControlId::kListView1, L"ListView1", ControlKind::kListView, std::nullopt, L"", {120, 120, 7800, 2535}},
    {ControlId::kCreator, L"Creator", ControlKind::kPictureBox, std::nullopt, L"", {6705, 135, 375, 375}},
    {ControlId::kProgressBar1, L"ProgressBar1", ControlKind::kProgressBar, std::nullopt, L"Progress Bar",
     {120, 6160, 7800, 405}},
    {ControlId::kPushButton1, L"PushButton1", ControlKind::kPushButton, std::nullopt, L"Add DWG File(s)",
     {120, 2750, 3840, 405}},
    {ControlId::kPushButton3, L"PushButton3", ControlKind::kPushButton, std::nullopt,
     L"Add All DWG File(s) In Folder", {4080, 2750, 3840, 405}},
    {ControlId::kPushButton2, L"PushButton2", ControlKind::kPushButton, std::nullopt,
     L"Start Converting To PDF", {120, 5640, 7800, 405}},
    {ControlId::kPushButton4, L"PushButton4", ControlKind::kPushButton, std::nullopt, L"Clear List",
     {120, 3260, 3840, 405}},
    {ControlId::kPushButton8, L"PushButton8", ControlKind::kPushButton, std::nullopt,
     L"Load Sample/Example Files", {4080, 3260, 3840, 405}},
    {ControlId::kFrame1, L"Frame1", ControlKind::kFrame, std::nullopt, L"Save Option", {120, 3700, 7800, 1815}},
    {ControlId::kFrame3, L"Frame3", ControlKind::kFrame, ControlId::kFrame1, L"", {480, 510, 6840, 810}},
    {ControlId::kText1, L"Text1", ControlKind::kTextBox, ControlId::kFrame3, L"", {240, 330, 5670, 345}},
    {ControlId::kPushButton7, L"PushButton7", ControlKind::kPushButton, ControlId::kFrame3, L"...",
     {6000, 300, 600, 345}},
    {ControlId::kOption1, L"Option1", ControlKind::kOptionButton, ControlId::kFrame1,
     L"Save results to this folder:", {240, 300, 3615, 255}},
    {ControlId::kOption2, L"Option2", ControlKind::kOptionButton, ControlId::kFrame1,
     L"Save results in folder of original file", {240, 1410, 3615, 255}},
}};

const ControlDesign& DesignOf(ControlId id);

// The control's place relative to the window's client area, in twips.
TwipsRect PlaceInWindow(ControlId id);

// Twips to pixels at `dpi` dots per inch, rounded to the nearest pixel.
int TwipsToPixels(int twips, int dpi);

}  // namespace pellacore
