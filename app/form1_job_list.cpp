// Form1's handling of the job list: removing, clearing and reordering.

#include "app/form1.h"
#include "platform/job_list_view.h"
#include "platform/main_window.h"
#include "util/guarded.h"

namespace pellacore {
namespace {

constexpr wchar_t kPushButton4Click[] = L"in Corvanta2021/08/31.Form1.PushButton4_Click ";

// Screen rows between which a swap scrolls no neighbour into view.
constexpr int kScrollUpBelowY = 305;
constexpr int kScrollDownAboveY = 364;

}  // namespace

bool Form1::Busy() const { return mousePointer_ == pointer_code::kHourglass; }

void Form1::ListView1_SelectionChanged(std::optional<std::size_t> selected) {
  if (selected) {
    jobList_.Select(*selected);
  } else {
    jobList_.ClearSelection();
  }
}

void Form1::ListView1_ItemClick() {
  ports_.list.ShowPicturePointer(programFolder_ + L"\\drag.ico");
  // Entries never start an outgoing drag and drop: reordering is ours.
  dragItem_ = jobList_.Selected();
}

void Form1::ListView1_MouseDown(int, int, int, int) { dragActive_ = true; }

void Form1::ListView1_MouseUp(int, int, int, int) {
  dragActive_ = false;
  ports_.list.ShowArrowPointer();
}

void Form1::ListView1_MouseMove(int, int, int x, int y) {
  if (!Busy()) SetMousePointer(pointer_code::kDefault);
  if (!dragActive_) return;
  hoverItem_ = ports_.list.HitTest(x, y);
  if (hoverItem_ && dragItem_ && *dragItem_ <= jobList_.Count()) {
    CarryDraggedEntryTo(*hoverItem_);
  }
  hoverItem_.reset();
}

// One step of a reorder: the carried entry and the one under the pointer
// trade texts, unless they hold the same path.
void Form1::CarryDraggedEntryTo(std::size_t hover) {
  const std::size_t carried = *dragItem_;
  if (jobList_.Text(hover) == jobList_.Text(carried)) return;
  std::wstring carriedText = jobList_.Text(carried);
  jobList_.SetText(carried, jobList_.Text(hover));
  jobList_.SetText(hover, std::move(carriedText));
  jobList_.Select(hover);
  dragItem_ = hover;

  const int screenY = ports_.list.PointerScreenY();
  if (screenY < kScrollUpBelowY) {
    if (hover > 1) ports_.list.EnsureVisible(hover - 1);
  } else if (screenY > kScrollDownAboveY) {
    if (hover + 1 <= jobList_.Count()) ports_.list.EnsureVisible(hover + 1);
  }
}

void Form1::ListView1_KeyDown(int keyCode, int) {
  if (keyCode == kDeleteKey) RemoveSelectedEntry();
}

void Form1::ListView1_DblClick() { RemoveSelectedEntry(); }

void Form1::RemoveSelectedEntry() {
  if (Busy() || jobList_.Empty()) return;
  const std::optional<std::size_t> selected = jobList_.Selected();
  if (!selected) return;
  jobList_.Remove(*selected);
  // The carried entry keeps pointing at its own path, or at none once gone.
  if (dragItem_ == selected) {
    dragItem_.reset();
  } else if (dragItem_ && *dragItem_ > *selected) {
    --*dragItem_;
  }
}

void Form1::PushButton4_Click() {
  GuardedProcedure guard(ports_.boxes, kPushButton4Click);
  guard.Run(100, [&] {
    if (Busy()) return;
    jobList_.Clear();
    dragItem_.reset();
  });
}

}  // namespace pellacore
