#include <gtest/gtest.h>

#include "tests/app/form1_fixture.h"

namespace pellacore {
namespace {

using testing::FakeJobListView;

class JobListEditingTest : public testing::Form1Test {
 protected:
  void Fill(std::initializer_list<const wchar_t*> paths) {
    for (const wchar_t* path : paths) form.jobList().Add(path);
    list.rows = form.jobList().Count();
  }

  std::vector<std::wstring> Entries() const {
    std::vector<std::wstring> entries;
    for (std::size_t i = 1; i <= form.jobList().Count(); ++i) entries.push_back(form.jobList().Text(i));
    return entries;
  }

  // A press on entry `index`, as the window reports it: the entry becomes
  // selected, then the button goes down and the entry is clicked.
  void PressOn(std::size_t index) {
    form.ListView1_SelectionChanged(index);
    form.ListView1_MouseDown(mouse_button::kLeft, 0, 10, list.RowY(index));
    form.ListView1_ItemClick();
  }
  void MoveOver(std::size_t index) { form.ListView1_MouseMove(mouse_button::kLeft, 0, 10, list.RowY(index)); }
  void Release() { form.ListView1_MouseUp(mouse_button::kLeft, 0, 10, 0); }
};

using Paths = std::vector<std::wstring>;

TEST_F(JobListEditingTest, DraggingEntry2OverEntries3To5CarriesItToPlace5) {
  Fill({L"A", L"B", L"C", L"D", L"E"});
  PressOn(2);
  MoveOver(3);
  MoveOver(4);
  MoveOver(5);
  Release();
  EXPECT_EQ(Entries(), (Paths{L"A", L"C", L"D", L"E", L"B"}));
  EXPECT_EQ(form.jobList().Selected(), 5u);
  EXPECT_EQ(form.DragItem(), 5u);
  EXPECT_FALSE(form.DragActive());
}

TEST_F(JobListEditingTest, AQuickMoveOnlySwapsTheTwoEntries) {
  Fill({L"A", L"B", L"C", L"D"});
  PressOn(1);
  MoveOver(4);
  EXPECT_EQ(Entries(), (Paths{L"D", L"B", L"C", L"A"}));
}

TEST_F(JobListEditingTest, AnEntryWithTheSameTextIsPassedOver) {
  Fill({L"A", L"B", L"B", L"C"});
  PressOn(2);
  MoveOver(3);
  EXPECT_EQ(Entries(), (Paths{L"A", L"B", L"B", L"C"}));
  EXPECT_EQ(form.DragItem(), 2u);
  MoveOver(4);
  EXPECT_EQ(Entries(), (Paths{L"A", L"C", L"B", L"B"}));
}

TEST_F(JobListEditingTest, MovingWithoutAPressedButtonOrOverNoEntryChangesNothing) {
  Fill({L"A", L"B", L"C"});
  PressOn(1);
  Release();
  MoveOver(3);
  EXPECT_EQ(Entries(), (Paths{L"A", L"B", L"C"}));
  form.ListView1_MouseDown(mouse_button::kLeft, 0, 10, list.RowY(1));
  form.ListView1_MouseMove(mouse_button::kLeft, 0, 10, list.RowY(9));
  EXPECT_EQ(Entries(), (Paths{L"A", L"B", L"C"}));
}

TEST_F(JobListEditingTest, ANewPressCarriesTheEntryClickedLastAtItsCurrentPlace) {
  Fill({L"A", L"B", L"C"});
  PressOn(1);
  MoveOver(2);  // B A C, carrying A at 2
  Release();
  // A press on the empty area below the entries clicks no entry.
  form.ListView1_MouseDown(mouse_button::kLeft, 0, 10, list.RowY(9));
  MoveOver(3);
  EXPECT_EQ(Entries(), (Paths{L"B", L"C", L"A"}));
}

struct ScrollCase {
  int screenY;
  std::size_t from, to;
  std::vector<std::size_t> scrolled;
};

class ReorderScrollTest : public JobListEditingTest, public ::testing::WithParamInterface<ScrollCase> {};

TEST_P(ReorderScrollTest, TheScreenPositionDecidesWhichNeighbourComesIntoView) {
  Fill({L"A", L"B", L"C", L"D", L"E"});
  list.screenY = GetParam().screenY;
  PressOn(GetParam().from);
  MoveOver(GetParam().to);
  EXPECT_EQ(list.ensureVisibleCalls, GetParam().scrolled);
}

INSTANTIATE_TEST_SUITE_P(Thresholds, ReorderScrollTest,
                         ::testing::Values(ScrollCase{304, 2, 3, {2}}, ScrollCase{305, 2, 3, {}},
                                           ScrollCase{364, 2, 3, {}}, ScrollCase{365, 2, 3, {4}},
                                           ScrollCase{0, 3, 1, {}},     // into place 1: nothing above
                                           ScrollCase{900, 3, 5, {}},   // into the last place
                                           ScrollCase{900, 3, 4, {5}}));

TEST_F(JobListEditingTest, NoScrollWithoutASwap) {
  Fill({L"A", L"A", L"C"});
  list.screenY = 10;
  PressOn(1);
  MoveOver(2);
  EXPECT_TRUE(list.ensureVisibleCalls.empty());
}

TEST_F(JobListEditingTest, TheListShowsTheDragPictureFromAnEntryClickToTheRelease) {
  Fill({L"A", L"B"});
  PressOn(1);
  EXPECT_EQ(list.pointer, FakeJobListView::ListPointer::kPicture);
  EXPECT_EQ(list.pictureFile, testing::kProgramFolder + L"\\drag.ico");
  Release();
  EXPECT_EQ(list.pointer, FakeJobListView::ListPointer::kArrow);
}

TEST_F(JobListEditingTest, WithoutTheDragPictureTheArrowStaysAndTheEntryIsStillCarried) {
  Fill({L"A", L"B"});
  list.pictureLoads = false;
  PressOn(1);
  EXPECT_EQ(list.pointer, FakeJobListView::ListPointer::kArrow);
  MoveOver(2);
  EXPECT_EQ(Entries(), (Paths{L"B", L"A"}));
}

TEST_F(JobListEditingTest, MovingOverTheListShowsTheDefaultPointerUnlessBusy) {
  form.SetMousePointer(pointer_code::kCustom);
  form.ListView1_MouseMove(0, 0, 1, 1);
  EXPECT_EQ(window.pointer, pointer_code::kDefault);
  form.SetMousePointer(pointer_code::kHourglass);
  form.ListView1_MouseMove(0, 0, 1, 1);
  EXPECT_EQ(window.pointer, pointer_code::kHourglass);
}

TEST_F(JobListEditingTest, DeleteAndDoubleClickRemoveTheSelectedEntry) {
  Fill({L"A", L"B", L"C", L"D"});
  form.ListView1_SelectionChanged(2);
  form.ListView1_KeyDown(kDeleteKey, 0);
  EXPECT_EQ(Entries(), (Paths{L"A", L"C", L"D"}));
  EXPECT_EQ(form.jobList().Selected(), std::nullopt);

  form.ListView1_SelectionChanged(3);
  form.ListView1_KeyDown(kDeleteKey, 1);  // Shift+Delete
  EXPECT_EQ(Entries(), (Paths{L"A", L"C"}));

  form.ListView1_SelectionChanged(1);
  form.ListView1_KeyDown(65, 0);  // another key
  EXPECT_EQ(Entries(), (Paths{L"A", L"C"}));
  form.ListView1_DblClick();
  EXPECT_EQ(Entries(), (Paths{L"C"}));
}

TEST_F(JobListEditingTest, NothingIsRemovedWithoutSelectionOnAnEmptyListOrWhileBusy) {
  form.ListView1_KeyDown(kDeleteKey, 0);
  form.ListView1_DblClick();
  Fill({L"A", L"B"});
  form.ListView1_DblClick();
  EXPECT_EQ(Entries(), (Paths{L"A", L"B"}));
  form.ListView1_SelectionChanged(1);
  form.SetMousePointer(pointer_code::kHourglass);
  form.ListView1_KeyDown(kDeleteKey, 0);
  form.ListView1_DblClick();
  EXPECT_EQ(Entries(), (Paths{L"A", L"B"}));
}

TEST_F(JobListEditingTest, RemovingAnEntryKeepsTheCarriedEntryOnItsPath) {
  Fill({L"A", L"B", L"C", L"D"});
  PressOn(4);
  Release();
  form.ListView1_SelectionChanged(1);
  form.ListView1_KeyDown(kDeleteKey, 0);  // B C D, D carried at 3
  list.rows = 3;
  form.ListView1_MouseDown(mouse_button::kLeft, 0, 10, list.RowY(1));
  MoveOver(1);
  EXPECT_EQ(Entries(), (Paths{L"D", L"C", L"B"}));

  // Once the carried entry itself is gone, a drag carries nothing.
  Release();
  form.ListView1_SelectionChanged(1);
  form.ListView1_DblClick();  // C B
  list.rows = 2;
  form.ListView1_MouseDown(mouse_button::kLeft, 0, 10, list.RowY(1));
  MoveOver(2);
  EXPECT_EQ(Entries(), (Paths{L"C", L"B"}));
}

TEST_F(JobListEditingTest, ClearListEmptiesTheListUnlessBusy) {
  form.PushButton4_Click();
  EXPECT_EQ(form.jobList().Count(), 0u);
  Fill({L"A", L"B"});
  form.SetMousePointer(pointer_code::kHourglass);
  form.PushButton4_Click();
  EXPECT_EQ(form.jobList().Count(), 2u);
  form.SetMousePointer(pointer_code::kDefault);
  form.PushButton4_Click();
  EXPECT_EQ(form.jobList().Count(), 0u);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(JobListEditingTest, PointerFeedbackShowsTheHandOverButtonsUnlessBusy) {
  form.PushButton1_MouseMove();
  EXPECT_EQ(window.pointer, pointer_code::kCustom);
  form.Text1_MouseMove();
  EXPECT_EQ(window.pointer, pointer_code::kDefault);
  form.PushButton8_MouseMove();
  form.Frame1_MouseMove();
  EXPECT_EQ(window.pointer, pointer_code::kDefault);
  form.SetMousePointer(pointer_code::kHourglass);
  for (auto move : {&Form1::PushButton2_MouseMove, &Form1::Form_MouseMove, &Form1::Option2_MouseMove,
                    &Form1::Frame3_MouseMove}) {
    (form.*move)();
    EXPECT_EQ(window.pointer, pointer_code::kHourglass);
  }
}

}  // namespace
}  // namespace pellacore
