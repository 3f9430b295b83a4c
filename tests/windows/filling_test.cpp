// Filling the job list of the real program from outside: the file dialog,
// a drop of files and folders, a folder scan, the sample drawings; and the
// list's editing with the entries they brought.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "app/main_window_layout.h"
#include "tests/windows/program_folder_fixture.h"
#include "tools/harness/harness.h"
#include "win32/unique_resource.h"

namespace pellacore {
namespace {

using namespace harness;
using Paths = std::vector<std::wstring>;

constexpr wchar_t kAddFilesTitle[] = L"Add File(s) - Hold Ctrl or Shift to select multiple files";
constexpr int kFileNameBox = 1148;

int Index(ControlId id) { return static_cast<int>(id); }

class FillingFromOutsideTest : public testing::RunningProgramTest {
 protected:
  HWND List() const { return Control(Index(ControlId::kListView1)); }

  Paths Entries() {
    RemoteControls remote(program->id());
    return remote.Items(List());
  }

  bool WaitForCount(int count) {
    RemoteControls remote(program->id());
    return WaitUntil([&] { return remote.ItemCount(List()) == count; });
  }

  // Opens the file dialog, types `names` into its name box and confirms
  // (or cancels).
  void ChooseInFileDialog(const std::wstring& names, int button = IDOK) {
    PostClick(Control(Index(ControlId::kPushButton1)));
    HWND dialog = WaitForTopWindow(program->id(), L"#32770", kAddFilesTitle);
    ASSERT_NE(dialog, nullptr) << "no file dialog";
    SetText(::GetDlgItem(dialog, kFileNameBox), names);
    PressButtonOf(dialog, button);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); })) << "the dialog stayed open";
  }

  void PostToList(UINT message, WPARAM keys, int row) {
    RemoteControls remote(program->id());
    const RECT rect = remote.ItemRect(List(), row - 1);
    ::PostMessageW(List(), message, keys, MAKELPARAM(20, (rect.top + rect.bottom) / 2));
  }
};

TEST_F(FillingFromOutsideTest, TheFileDialogAddsOneFileSeveralFilesOrNothing) {
  const std::wstring folder = installed.folder.path();
  for (const wchar_t* name : {L"Site A.dwg", L"c.dwg", L"a.dwg", L"b.dwg"}) installed.folder.MakeFile(name);
  Start();
  ASSERT_NE(window, nullptr);

  ChooseInFileDialog(L"Site A.dwg");
  ASSERT_TRUE(WaitForCount(1));
  ChooseInFileDialog(L"\"c.dwg\" \"a.dwg\" \"b.dwg\"");
  ASSERT_TRUE(WaitForCount(4));
  ChooseInFileDialog(L"a.dwg", IDCANCEL);
  ChooseInFileDialog(L"a.dwg");  // a file already listed is listed again
  ASSERT_TRUE(WaitForCount(5));
  ChooseInFileDialog(L"no such drawing.dwg");  // a typed name need not exist
  ASSERT_TRUE(WaitForCount(6));
  EXPECT_EQ(Entries(), (Paths{folder + L"Site A.dwg", folder + L"c.dwg", folder + L"a.dwg",
                              folder + L"b.dwg", folder + L"a.dwg", folder + L"no such drawing.dwg"}));
}

TEST_F(FillingFromOutsideTest, FilesChosenInADriveRootHaveOneSeparator) {
  const std::wstring one = L"pellacore-one-" + std::to_wstring(::GetCurrentProcessId()) + L".dwg";
  const std::wstring two = L"pellacore-two-" + std::to_wstring(::GetCurrentProcessId()) + L".dwg";
  for (const std::wstring& name : {one, two}) {
    ::CloseHandle(::CreateFileW((L"C:\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  }
  Start(L"C:\\");
  ASSERT_NE(window, nullptr);
  ChooseInFileDialog(L"\"" + one + L"\" \"" + two + L"\"");
  const bool added = WaitForCount(2);
  const Paths entries = Entries();
  for (const std::wstring& name : {one, two}) ::DeleteFileW((L"C:\\" + name).c_str());
  ASSERT_TRUE(added);
  EXPECT_EQ(entries, (Paths{L"C:\\" + one, L"C:\\" + two}));
}

// `count` quoted names of about 210 characters each.
std::wstring LongNames(int count) {
  std::wstring names;
  for (int i = 0; i < count; ++i) names += L"\"" + std::wstring(200, L'n') + std::to_wstring(i) + L".dwg\" ";
  return names;
}

// The dialog writes what was chosen into the program's buffer: a selection
// far larger than the buffer once was must neither overrun it (the program
// stays alive and tells the user) nor keep a large one that fits from
// being added whole.
TEST_F(FillingFromOutsideTest, ASelectionTooLargeForTheDialogIsToldAndAddsNothing) {
  Start();
  ASSERT_NE(window, nullptr);
  for (int count : {150, 1000}) {  // about 31,000 and 210,000 characters
    SCOPED_TRACE(count);
    PostClick(Control(Index(ControlId::kPushButton1)));
    HWND dialog = WaitForTopWindow(program->id(), L"#32770", kAddFilesTitle);
    ASSERT_NE(dialog, nullptr);
    SetText(::GetDlgItem(dialog, kFileNameBox), LongNames(count));
    PressButtonOf(dialog, IDOK);
    HWND box = WaitForTopWindow(program->id(), L"#32770", L"Pellacore");
    ASSERT_NE(box, nullptr) << "no message";
    EXPECT_EQ(TextOf(::GetDlgItem(box, 0xFFFF)),
              L"You've selected too many files to add.\r\rPlease try adding via the \"Add All\" button.");
    PressButtonOf(box, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(box); }));
    EXPECT_FALSE(program->WaitForExit(harness::milliseconds(0))) << "the program ended";
    EXPECT_TRUE(Entries().empty());
  }

  // 140 names, about 29,000 characters with the folder: they fit.
  ChooseInFileDialog(LongNames(140));
  ASSERT_TRUE(WaitForCount(140));
  const Paths entries = Entries();
  EXPECT_EQ(entries.front(), installed.folder.path() + std::wstring(200, L'n') + L"0.dwg");
  EXPECT_EQ(entries.back(), installed.folder.path() + std::wstring(200, L'n') + L"139.dwg");
}

TEST_F(FillingFromOutsideTest, TheListIsEditedWithTheMouseAndTheKeyboard) {
  for (const wchar_t* name : {L"1.dwg", L"2.dwg", L"3.dwg", L"4.dwg", L"5.dwg"}) installed.folder.MakeFile(name);
  Start();
  ASSERT_NE(window, nullptr);
  ChooseInFileDialog(L"\"1.dwg\" \"2.dwg\" \"3.dwg\" \"4.dwg\" \"5.dwg\"");
  ASSERT_TRUE(WaitForCount(5));
  const std::wstring f = installed.folder.path();

  // Entry 2 carried down over 3, 4 and 5.
  PostToList(WM_LBUTTONDOWN, MK_LBUTTON, 2);
  for (int row : {3, 4, 5}) PostToList(WM_MOUSEMOVE, MK_LBUTTON, row);
  PostToList(WM_LBUTTONUP, 0, 5);
  const Paths reordered{f + L"1.dwg", f + L"3.dwg", f + L"4.dwg", f + L"5.dwg", f + L"2.dwg"};
  ASSERT_TRUE(WaitUntil([&] { return Entries() == reordered; }));
  EXPECT_EQ(RemoteControls(program->id()).SelectedItem(List()), 4);

  // Delete removes the selected entry; a double-click removes the next one selected.
  ::PostMessageW(List(), WM_KEYDOWN, VK_DELETE, 0);
  ASSERT_TRUE(WaitForCount(4));
  PostToList(WM_LBUTTONDOWN, MK_LBUTTON, 1);
  PostToList(WM_LBUTTONUP, 0, 1);
  PostToList(WM_LBUTTONDBLCLK, MK_LBUTTON, 1);
  PostToList(WM_LBUTTONUP, 0, 1);
  ASSERT_TRUE(WaitForCount(3));
  EXPECT_EQ(Entries(), (Paths{f + L"3.dwg", f + L"4.dwg", f + L"5.dwg"}));

  PostClick(Control(Index(ControlId::kPushButton4)));
  EXPECT_TRUE(WaitForCount(0));
}

TEST_F(FillingFromOutsideTest, DroppedFilesAndFoldersBecomeEntriesAndTextIsRefused) {
  const std::wstring loose = installed.folder.MakeFile(L"loose.txt");
  const std::wstring tree = installed.folder.MakeFolder(L"Tree");
  installed.folder.MakeFile(L"Tree\\a.dwg");
  installed.folder.MakeFile(L"Tree\\~lock.dwg");
  installed.folder.MakeFolder(L"Tree\\Sub");
  installed.folder.MakeFile(L"Tree\\Sub\\b.dwg");
  Start();
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(::OleInitialize(nullptr), S_OK);

  EXPECT_EQ(DropOnto(List(), {L"just some text"}, /*asFiles=*/false), static_cast<DWORD>(DROPEFFECT_NONE));
  DragOptions moveOnly;
  moveOnly.allowedEffects = DROPEFFECT_MOVE;
  EXPECT_EQ(DropOnto(List(), {loose}, moveOnly), static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(DropOnto(List(), {tree, loose}), static_cast<DWORD>(DROPEFFECT_COPY));
  ASSERT_TRUE(WaitForCount(3));
  EXPECT_EQ(Entries(), (Paths{tree + L"\\a.dwg", tree + L"\\Sub\\b.dwg", loose}));
  ::OleUninitialize();
}

// The source of a drop (a file manager) waits in its drag loop until the list
// answers. The list answers "copy" at once and adds the tree afterwards from
// its own message loop, so the source never waits for the walk of a large
// tree, nor for a box the window shows meanwhile.
TEST_F(FillingFromOutsideTest, ADropAnswersTheSourceAtOnceAsACopyAndItsTreeArrivesAfterwards) {
  const std::wstring tree = installed.folder.MakeFolder(L"Big");
  Paths files;
  for (int i = 0; i < 20; ++i) {
    const std::wstring folder = L"Big\\D" + std::to_wstring(i);
    installed.folder.MakeFolder(folder);
    for (int j = 0; j < 10; ++j) {
      const std::wstring sub = folder + L"\\S" + std::to_wstring(j);
      installed.folder.MakeFolder(sub);
      for (int k = 0; k < 3; ++k) {
        files.push_back(installed.folder.MakeFile(sub + L"\\f" + std::to_wstring(k) + L".dwg"));
      }
    }
  }
  Start();
  ASSERT_NE(window, nullptr);

  // While the list takes the data, a click is posted that opens a box ("Start"
  // on an empty list). The window can handle it only once Drop has returned:
  // had Drop walked the tree itself, the click would open its box inside
  // Drop, and the source would wait for that box to be closed.
  const HWND start = Control(Index(ControlId::kPushButton2));
  std::atomic<bool> returned{false};
  std::atomic<DWORD> effect{DROPEFFECT_NONE};
  std::thread source([&] {
    ::OleInitialize(nullptr);
    DragOptions options;
    options.allowedEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    options.whenTaken = [&] { PostClick(start); };
    effect = DropOnto(List(), {tree}, options);
    returned = true;
    ::OleUninitialize();
  });
  const HWND box = WaitForMessageBox(window);
  const bool returnedWithTheBoxOpen = box && WaitUntil([&] { return returned.load(); });
  if (box) PressButtonOf(box, IDOK);
  source.join();
  ASSERT_NE(box, nullptr) << "the click did not open a box";
  EXPECT_TRUE(returnedWithTheBoxOpen) << "the source waited for the box the window showed";
  EXPECT_EQ(effect.load(), static_cast<DWORD>(DROPEFFECT_COPY));

  RemoteControls remote(program->id());
  ASSERT_TRUE(WaitUntil([&] { return remote.ItemCount(List()) == static_cast<int>(files.size()); },
                        milliseconds(60000)))
      << remote.ItemCount(List()) << " of " << files.size() << " entries";
  Paths entries = Entries();
  std::sort(entries.begin(), entries.end());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(entries, files);
}

TEST_F(FillingFromOutsideTest, TheFolderScanAsksTheExtensionThenAFolderAndAddsItsTree) {
  const std::wstring jobs = installed.folder.MakeFolder(L"Jobs");
  installed.folder.MakeFile(L"Jobs\\plan.dwg");
  installed.folder.MakeFile(L"Jobs\\notes.txt");
  installed.folder.MakeFolder(L"Jobs\\Old");
  installed.folder.MakeFile(L"Jobs\\Old\\part.dwg");
  // The folder chosen last time.
  win32::UniqueHkey key;
  ::RegCreateKeyExW(HKEY_CURRENT_USER, testing::kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                    key.put(), nullptr);
  Start();
  ::RegSetValueExW(key.get(), L"LastFolder", 0, REG_SZ, reinterpret_cast<const BYTE*>(jobs.c_str()),
                   static_cast<DWORD>((jobs.size() + 1) * sizeof(wchar_t)));
  ASSERT_NE(window, nullptr);

  PostClick(Control(Index(ControlId::kPushButton3)));
  HWND question = WaitForTopWindow(program->id(), L"#32770", L"Pellacore");
  ASSERT_NE(question, nullptr) << "no input box";
  EXPECT_EQ(TextOf(::GetDlgItem(question, 100)),
            L"Enter file extension to load:\r\n\r\n(* for all files, txt for all txt files, doc for all "
            L"doc files, etc.)");
  EXPECT_EQ(TextOf(::GetDlgItem(question, 101)), L"dwg");
  PressButtonOf(question, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(question); }));

  HWND picker = WaitForTopWindow(program->id(), L"#32770", L"");
  ASSERT_NE(picker, nullptr) << "no folder picker";
  // The picker opens on the folder chosen last time, by itself: also when
  // its tree fills after it said it was ready (a new Wine prefix).
  constexpr int kFolderTree = 14145;
  HWND tree = ::GetDlgItem(picker, kFolderTree);
  RemoteControls remote(program->id());
  ASSERT_TRUE(WaitUntil([&] { return remote.TreeSelectionText(tree) == L"Jobs"; }))
      << "the picker does not show the folder chosen last time";
  PressButtonOf(picker, IDOK);
  ASSERT_TRUE(WaitForCount(2));
  EXPECT_EQ(Entries(), (Paths{jobs + L"\\plan.dwg", jobs + L"\\Old\\part.dwg"}));

  // Cancelling the picker adds nothing; the extension given stays stored.
  PostClick(Control(Index(ControlId::kPushButton3)));
  question = WaitForTopWindow(program->id(), L"#32770", L"Pellacore");
  ASSERT_NE(question, nullptr);
  SetText(::GetDlgItem(question, 101), L"txt");
  PressButtonOf(question, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(question); }));
  picker = WaitForTopWindow(program->id(), L"#32770", L"");
  ASSERT_NE(picker, nullptr);
  tree = ::GetDlgItem(picker, kFolderTree);
  EXPECT_TRUE(WaitUntil([&] { return remote.TreeSelectionText(tree) == L"Jobs"; }));
  PressButtonOf(picker, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(picker); }));
  EXPECT_EQ(testing::StoredSetting(L"Extension"), L"txt");
  EXPECT_EQ(Entries().size(), 2u);
}

TEST_F(FillingFromOutsideTest, TheSamplesBesideTheProgramAreRecordedAndLoadedOnce) {
  installed.folder.MakeFolder(L"Samples");
  const std::wstring plan = installed.folder.MakeFile(L"Samples\\Plan.dwg");
  const std::wstring part = installed.folder.MakeFile(L"Samples\\Part.dwg");
  Start();
  ASSERT_NE(window, nullptr);
  for (int click = 0; click < 2; ++click) {
    PostClick(Control(Index(ControlId::kPushButton8)));
    HWND box = WaitForTopWindow(program->id(), L"#32770", L"Pellacore");
    ASSERT_NE(box, nullptr) << "no question";
    EXPECT_EQ(TextOf(::GetDlgItem(box, 0xFFFF)),
              L"Would you like this software to open the folder where these sample files are stored (so "
              L"that you can view them before working with them)?");
    PressButtonOf(box, IDNO);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box); }));
  }
  const Paths entries = Entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_TRUE((entries == Paths{plan, part}) || (entries == Paths{part, plan}));
}

}  // namespace
}  // namespace pellacore
