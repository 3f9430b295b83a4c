#pragma once
// Port: the list control that shows the job list. It shows the entries of the
// model it is given; these are the operations the presenter asks of it.

#include <cstddef>
#include <optional>
#include <string>

namespace pellacore {

class JobListView {
 public:
  virtual ~JobListView() = default;

  // Appends a column; the first shows each entry's path, the second its result.
  virtual void AddColumn(const std::wstring& header) = 0;
  // The first column's width.
  virtual void SetColumnWidthTwips(int twips) = 0;
  // The last column takes what the others leave of the list's width, less
  // room for a vertical scroll bar, so that a long list scrolls sideways
  // only when the user widens a column.
  virtual void FitLastColumn() = 0;

  // The entry (1-based) under a point of the list's own client area, in pixels.
  virtual std::optional<std::size_t> HitTest(int x, int y) = 0;
  virtual void EnsureVisible(std::size_t index) = 0;

  // The list's own pointer: the picture of an icon file, or the arrow.
  // Answers false and keeps the arrow when the file cannot be loaded.
  virtual bool ShowPicturePointer(const std::wstring& iconFile) = 0;
  virtual void ShowArrowPointer() = 0;

  // The pointer's vertical position on the screen, in pixels from the top.
  virtual int PointerScreenY() = 0;
};

}  // namespace pellacore
