#pragma once
// The main window and its job list control as the presenter drives them:
// what they were told is kept for the test to read, and each operation that
// can fail on the real platform has a switch.

#include <map>
#include <utility>
#include <optional>
#include <string>
#include <vector>

#include "platform/job_list_view.h"
#include "platform/main_window.h"
#include "util/failure.h"

namespace pellacore::testing {

class FakeMainWindow : public MainWindow {
 public:
  std::wstring caption;
  bool iconSet = false;
  std::map<Surface, Backdrop> backdrops;
  int pointer = pointer_code::kDefault;
  std::wstring customPointerFile;
  std::wstring text1;
  std::map<int, bool> options{{1, true}, {2, false}};
  bool frame3Enabled = true;
  bool ended = false;
  std::vector<double> progressValues;
  std::vector<std::wstring> progressTexts;
  struct TaskbarShown {
    std::optional<double> percentDone;
    bool failures = false;
    bool operator==(const TaskbarShown&) const = default;
  };
  std::vector<TaskbarShown> taskbar;
  std::vector<std::wstring> calls;
  std::vector<bool> stopEnabled;
  std::optional<bool> unattendedShown;
  std::optional<bool> keepAutoCadShown;
  std::optional<bool> plotterShown;
  std::optional<std::pair<std::wstring, bool>> plotChoicesShown;
  std::vector<std::wstring> plotMediaOffered;

  std::optional<Failure> captionFailure;
  std::optional<Failure> customPointerFailure;

  void SetCaption(const std::wstring& text) override {
    calls.push_back(L"SetCaption");
    if (captionFailure) throw *captionFailure;
    caption = text;
  }
  void SetApplicationIcon() override {
    calls.push_back(L"SetApplicationIcon");
    iconSet = true;
  }
  void SetBackdrop(Surface surface, Backdrop backdrop) override { backdrops[surface] = backdrop; }
  std::int32_t Handle32() override { return 0x10203; }
  void ShowPointer(int code) override { pointer = code; }
  void LoadCustomPointer(const std::wstring& file) override {
    if (customPointerFailure) throw *customPointerFailure;
    customPointerFile = file;
  }
  void ShowText1(const std::wstring& text) override { text1 = text; }
  void ShowOption(int option, bool selected) override { options[option] = selected; }
  void EnableFrame3(bool enabled) override { frame3Enabled = enabled; }
  void ShowProgress(double percent) override { progressValues.push_back(percent); }
  void ShowProgressText(const std::wstring& text) override { progressTexts.push_back(text); }
  void ShowRunOnTaskbar(std::optional<double> percentDone, bool failures) override {
    taskbar.push_back({percentDone, failures});
  }
  void FlashUnlessActive() override { calls.push_back(L"FlashUnlessActive"); }
  void EnableStop(bool enabled) override { stopEnabled.push_back(enabled); }
  void ShowUnattended(bool chosen) override { unattendedShown = chosen; }
  void ShowKeepAutoCadOpen(bool chosen) override { keepAutoCadShown = chosen; }
  void ShowPdfRoute(bool plotter) override { plotterShown = plotter; }
  void ShowPlotChoices(const std::vector<std::wstring>& offered, const std::wstring& media,
                       bool monochrome) override {
    plotMediaOffered = offered;
    plotChoicesShown = std::make_pair(media, monochrome);
  }
  void EndProgram() override { ended = true; }
};

class FakeJobListView : public JobListView {
 public:
  std::vector<std::wstring> columns;
  int columnWidthTwips = 0;
  std::vector<std::size_t> fittedAt;
  // Entry rows of a fixed height from the top of the list: row i (1-based)
  // spans y in [(i-1)*rowHeight, i*rowHeight). Rows beyond `rows` are empty.
  int rowHeight = 16;
  std::size_t rows = 0;
  std::vector<std::size_t> ensureVisibleCalls;
  bool pictureLoads = true;
  enum class ListPointer { kArrow, kPicture } pointer = ListPointer::kArrow;
  std::wstring pictureFile;
  int screenY = 330;

  void AddColumn(const std::wstring& header) override { columns.push_back(header); }
  void SetColumnWidthTwips(int twips) override { columnWidthTwips = twips; }
  // The column count each time the last column was fitted.
  void FitLastColumn() override { fittedAt.push_back(columns.size()); }
  std::optional<std::size_t> HitTest(int, int y) override {
    if (y < 0) return std::nullopt;
    const std::size_t row = static_cast<std::size_t>(y / rowHeight) + 1;
    if (row > rows) return std::nullopt;
    return row;
  }
  void EnsureVisible(std::size_t index) override { ensureVisibleCalls.push_back(index); }
  bool ShowPicturePointer(const std::wstring& file) override {
    pictureFile = file;
    if (!pictureLoads) return false;
    pointer = ListPointer::kPicture;
    return true;
  }
  void ShowArrowPointer() override { pointer = ListPointer::kArrow; }
  int PointerScreenY() override { return screenY; }

  // The y coordinate of the middle of row `index`.
  int RowY(std::size_t index) const { return static_cast<int>(index - 1) * rowHeight + rowHeight / 2; }
};

}  // namespace pellacore::testing
