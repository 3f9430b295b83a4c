// Form1's handling of the job list: removing, clearing and reordering, and
// the results a run shows on its entries.

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
  jobList_.Swap(carried, hover);
  jobList_.Select(hover);
  dragItem_ = hover;
  for (auto& [slot, entry] : runEntries_) {
    if (entry == carried) {
      entry = hover;
    } else if (entry == hover) {
      entry = carried;
    }
  }

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
  // The carried entry and the run's keep pointing at their own paths, or at
  // none once gone.
  if (dragItem_ == selected) {
    dragItem_.reset();
  } else if (dragItem_ && *dragItem_ > *selected) {
    --*dragItem_;
  }
  std::erase_if(runEntries_, [&](const auto& inHand) { return inHand.second == *selected; });
  for (auto& [slot, entry] : runEntries_) {
    if (entry > *selected) --entry;
  }
}

void Form1::PushButton4_Click() {
  GuardedProcedure guard(ports_.boxes, kPushButton4Click);
  guard.Run(100, [&] {
    if (Busy()) return;
    jobList_.Clear();
    dragItem_.reset();
    runEntries_.clear();
  });
}

void Form1::ShowResultOfRunEntry(std::size_t slot, const DrawingOutcome& outcome) {
  const auto inHand = runEntries_.find(slot);
  if (inHand == runEntries_.end()) return;
  if (inHand->second <= jobList_.Count()) jobList_.SetResult(inHand->second, ResultText(outcome));
  runEntries_.erase(inHand);
}

void Form1::ShowSkipped(std::size_t index, const DrawingOutcome& outcome) {
  if (jobList_.Result(index) == ResultText(DrawingOutcome{})) jobList_.SetResult(index, ResultText(outcome));
}

void Form1::ForgetWaitingResults() {
  const std::wstring waiting = ResultText(DrawingOutcome{});
  for (std::size_t i = 1; i <= jobList_.Count(); ++i) {
    if (jobList_.Result(i) == waiting) jobList_.SetResult(i, L"");
  }
}

}  // namespace pellacore
