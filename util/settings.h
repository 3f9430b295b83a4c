#pragma once
// The remembered choices: their keys, their place in the store, and the
// conversions their readers make. Each value is read and written at its point
// of use; nothing is cached.

#include <optional>
#include <string>
#include <string_view>

namespace pellacore {

class SettingsStore;

// Every value lives under this application name and section.
inline constexpr std::wstring_view kSettingsApplication = L"Kelvandor";
inline constexpr std::wstring_view kSettingsSection = L"Pellacore";

namespace setting_key {
inline const std::wstring kLocation = L"Location";
inline const std::wstring kOption1 = L"Option1";
inline const std::wstring kOption2 = L"Option2";
inline const std::wstring kExtension = L"Extension";
inline const std::wstring kLastFolder = L"LastFolder";
inline const std::wstring kLastFolderDot = L"LastFolderDot";
inline const std::wstring kSnapshot = L"Snapshot";
// Seconds AutoCAD may take over one drawing before it is given up.
inline const std::wstring kDrawingTimeLimit = L"DrawingTimeLimit";
// "True": a run shows no box until its end; reports go to the run's record.
inline const std::wstring kUnattended = L"Unattended";
// The full path of the last run's report; "" when it could not be written.
inline const std::wstring kLastReport = L"LastReport";
// How PDFs are made: "Printer" (a bitmap printed to the PDF printer) or
// "Plotter" (vector PDFs from AutoCAD's own plotter).
inline const std::wstring kPdfRoute = L"PdfRoute";
// The plotter's paper: "" each layout's own (A3 where it has none for PDF),
// or one media name for every page.
inline const std::wstring kPlotMedia = L"PlotMedia";
// The plotter's colours: "" as drawn, or "monochrome.ctb".
inline const std::wstring kPlotStyle = L"PlotStyle";
// "True": one AutoCAD of the program's own serves a whole run.
inline const std::wstring kKeepAutoCadOpen = L"KeepAutoCadOpen";
// How many drawings a kept AutoCAD serves before a fresh one replaces it.
inline const std::wstring kRecycleAfter = L"RecycleAfter";
// How many AutoCADs plot a run's drawings at once.
inline const std::wstring kParallelInstances = L"ParallelInstances";
}  // namespace setting_key

enum class PdfRouteChoice { kPrinter, kPlotter };

// A stored route: "Plotter" in any letter case, blanks around it allowed,
// is the plotter; anything else the printer.
PdfRouteChoice PdfRouteOf(std::wstring_view text);
std::wstring PdfRouteText(PdfRouteChoice route);

// A stored plot style: "monochrome.ctb" in any letter case is black and
// white; anything else colours as drawn.
bool IsMonochromePlotStyle(std::wstring_view text);

// The time limit per drawing: its default, and the range a stored value
// must lie in.
inline constexpr int kDefaultDrawingTimeLimit = 300;
inline constexpr int kMaxDrawingTimeLimit = 86'400;

// A time limit's text as seconds: a whole number from 1 to a day, blanks
// around it allowed; nullopt for any other text.
std::optional<int> TimeLimitSeconds(std::wstring_view text);

// The drawings a kept AutoCAD serves: its default, and the count a larger
// number stands for.
inline constexpr int kDefaultRecycleAfter = 50;
inline constexpr int kMaxRecycleAfter = 1'000'000'000;

// A recycle count's text: a whole number of at least 1, blanks around it
// allowed (beyond the largest count, the largest); nullopt for any other.
std::optional<int> RecycleAfterCount(std::wstring_view text);

// A count of AutoCADs at once: a whole number from 1 to `most`, blanks
// around it allowed; nullopt for any other text.
std::optional<int> ParallelInstanceCount(std::wstring_view text, int most);

// The stored value, or `fallback` when the key is absent (an empty stored
// value is returned as it is). Raises when the store cannot be read.
std::wstring ReadSetting(SettingsStore& store, const std::wstring& key,
                         const std::wstring& fallback);

// A setting's text as a Boolean: "True" or "False" in any letter case, or a
// number (0 is false, any other number true), blanks around it allowed.
// Raises the type-mismatch failure for any other text.
bool SettingToBoolean(std::wstring_view text);

// The text a Boolean is stored as: "True" or "False".
std::wstring BooleanSettingText(bool value);

}  // namespace pellacore
