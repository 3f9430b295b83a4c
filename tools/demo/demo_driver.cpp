// Drives the real program through its window as a person would: loads the
// sample drawings, asks for the PDFs beside them, chooses the route in the
// Options menu, starts the conversion and waits for "Done.". Prints each
// step; exits non-zero at the first surprise.
//   pellacore-demo PROGRAM_EXE [printer|plotter]   (default printer)

#include <windows.h>

#include <cstdio>
#include <string>

#include "app/main_window_layout.h"
#include "tools/harness/harness.h"
#include "win32/options_menu.h"

namespace {

using namespace pellacore;
using namespace pellacore::harness;

constexpr milliseconds kRunTimeout{300000};

int Fail(const char* what, const std::wstring& detail = L"") {
  std::printf("demo: %s %ls\n", what, detail.c_str());
  return 1;
}

HWND ControlOf(HWND window, ControlId id) { return Children(window)[static_cast<std::size_t>(id)]; }

// The next box the program shows, or nullptr.
HWND NextBox(DWORD process, milliseconds timeout = kDefaultTimeout) {
  return WaitForTopWindow(process, L"#32770", L"", timeout);
}

std::wstring BoxText(HWND box) { return TextOf(::GetDlgItem(box, 0xFFFF)); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring route = argc > 2 ? argv[2] : L"printer";
  if (argc < 2 || argc > 3 || (route != L"printer" && route != L"plotter")) {
    return Fail("usage: pellacore-demo PROGRAM_EXE [printer|plotter]");
  }
  const std::wstring exe = argv[1];
  const std::wstring folder = exe.substr(0, exe.rfind(L'\\'));
  std::setvbuf(stdout, nullptr, _IONBF, 0);

  Program program = Program::Start(exe, folder);
  HWND window = WaitForTopWindow(program.id(), L"PellacoreMainWindow", L"Pellacore", milliseconds(30000));
  if (!window) {
    HWND box = NextBox(program.id(), milliseconds(100));
    return Fail("the main window did not appear;", box ? BoxText(box) : L"");
  }
  std::printf("demo: the program is up\n");

  PostClick(ControlOf(window, ControlId::kPushButton8));
  HWND question = NextBox(program.id());
  if (!question) return Fail("no question about the sample folder");
  PressButtonOf(question, IDNO);
  RemoteControls remote(program.id());
  HWND list = ControlOf(window, ControlId::kListView1);
  if (!WaitUntil([&] { return !::IsWindow(question) && remote.ItemCount(list) > 0; })) {
    return Fail("the samples did not reach the list");
  }
  for (const std::wstring& item : remote.Items(list)) std::printf("demo: in the list: %ls\n", item.c_str());

  // The PDFs beside the drawings, in the program's Samples folder.
  PostClick(ControlOf(window, ControlId::kOption2));
  if (!WaitUntil([&] {
        return ::SendMessageW(ControlOf(window, ControlId::kOption2), BM_GETCHECK, 0, 0) == BST_CHECKED;
      })) {
    return Fail("could not choose the folder of the originals");
  }

  // The menu command, as a click on it sends it; it is taken before the
  // click on Convert that follows it in the window's queue.
  namespace menu = win32::options_menu;
  ::PostMessageW(window, WM_COMMAND, route == L"plotter" ? menu::kRoutePlotter : menu::kRoutePrinter, 0);
  std::printf("demo: the route: %ls\n", route == L"plotter" ? L"vector PDFs through AutoCAD's plotter"
                                                              : L"the bitmap through the PDF printer");

  PostClick(ControlOf(window, ControlId::kPushButton2));
  std::printf("demo: converting ...\n");
  HWND done = NextBox(program.id(), kRunTimeout);
  if (!done) return Fail("the run did not end");
  const std::wstring text = BoxText(done);
  if (text != L"Done.") return Fail("the program said:", text);
  PressButtonOf(done, IDOK);
  std::printf("demo: Done.\n");

  ::PostMessageW(window, WM_CLOSE, 0, 0);
  if (!program.WaitForExit()) return Fail("the program did not end");
  return 0;
}
