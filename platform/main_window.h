#pragma once
// Port: the main window as its presenter sees it. The window shows what it is
// told and reports the user's actions to the presenter; it decides nothing.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pellacore {

// The window's pointer shapes, by the codes the program uses.
namespace pointer_code {
inline constexpr int kDefault = 0;
inline constexpr int kHourglass = 11;
inline constexpr int kCustom = 99;
}  // namespace pointer_code

// The parts of the window whose background the skin changes.
enum class Surface { kWindow, kFrame1, kFrame3, kOption1, kOption2 };
enum class Backdrop { kWhite, kButtonFace };

class MainWindow {
 public:
  virtual ~MainWindow() = default;

  virtual void SetCaption(const std::wstring& caption) = 0;
  virtual void SetApplicationIcon() = 0;
  virtual void SetBackdrop(Surface surface, Backdrop backdrop) = 0;
  // The window's handle as a 32-bit integer, the form components take it in.
  virtual std::int32_t Handle32() = 0;

  // The pointer shown over the window; kCustom shows the custom image.
  virtual void ShowPointer(int code) = 0;
  // Loads the custom pointer's image from a cursor file; raises when the file
  // cannot be loaded as a cursor.
  virtual void LoadCustomPointer(const std::wstring& cursorFile) = 0;

  virtual void ShowText1(const std::wstring& text) = 0;
  virtual void ShowOption(int option, bool selected) = 0;
  // Frame3 and what it holds (Text1 and its browse button).
  virtual void EnableFrame3(bool enabled) = 0;
  // The progress bar: the filled part in percent (0 to 100), and its text.
  virtual void ShowProgress(double percent) = 0;
  virtual void ShowProgressText(const std::wstring& text) = 0;
  // A run's progress on the taskbar button: the part of its drawings done
  // (0 to 100) and whether one of them failed; nullopt when no run goes on.
  virtual void ShowRunOnTaskbar(std::optional<double> percentDone, bool failures) = 0;
  // Draws the user's eye to the window, unless it is the one in front.
  virtual void FlashUnlessActive() = 0;

  // Whether the command that stops a run can be given.
  virtual void EnableStop(bool enabled) = 0;
  // Whether the unattended-run choice shows as chosen.
  virtual void ShowUnattended(bool chosen) = 0;
  // Whether keeping one AutoCAD open between drawings shows as chosen.
  virtual void ShowKeepAutoCadOpen(bool chosen) = 0;
  // Which way PDFs are made shows as chosen: the plotter or the printer.
  virtual void ShowPdfRoute(bool plotter) = 0;
  // The papers the plotter offers, and which of them ("" as each layout is
  // set up) and which colours show as chosen.
  virtual void ShowPlotChoices(const std::vector<std::wstring>& offered, const std::wstring& media,
                               bool monochrome) = 0;

  // Ends the program at once, whatever it is doing.
  virtual void EndProgram() = 0;
};

}  // namespace pellacore
