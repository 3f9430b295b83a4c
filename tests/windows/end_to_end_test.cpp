// Whole conversion runs of the real program, driven through its window from
// outside, against the stand-in AutoCAD and the stand-in PDF printer: the
// list filled as a user fills it, the output chosen, Start clicked, and the
// PDFs, the bitmaps, the printer's key and the AutoCAD calls read back.

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window_layout.h"
#include "tests/windows/program_folder_fixture.h"
#include "tests/windows/scratch_folder.h"
#include "tests/windows/standins.h"
#include "tests/windows/test_printer.h"
#include "tools/harness/harness.h"
#include "win32/ole_session.h"

namespace pellacore::testing {
namespace {

using harness::milliseconds;
using harness::PostClick;
using harness::PressButtonOf;
using harness::TextOf;
using harness::WaitUntil;
using Paths = std::vector<std::wstring>;
using Lines = std::vector<std::wstring>;

constexpr wchar_t kTitle[] = L"Pellacore";
constexpr wchar_t kErrorTitle[] = L"Application Error";
constexpr wchar_t kPdfWriterKey[] = L"Software\\Kelvandor PDF Writer";
constexpr wchar_t kPrinterSwitchesKey[] = L"Software\\Pellacore\\Stand-ins\\Printer";
constexpr wchar_t kConvert[] = L"in Corvanta2021/08/31.Form1.convertDWGtoBMP ";
constexpr wchar_t kSampleQuestion[] =
    L"Would you like this software to open the folder where these sample files are stored (so "
    L"that you can view them before working with them)?";
constexpr wchar_t kNoFolder[] = L"Folder does not exist. Please select another folder.";
constexpr int kMessageText = 0xFFFF;
constexpr int kInputAnswer = 101;
// A whole run of a few drawings takes seconds; a run that hangs must still end the test.
constexpr milliseconds kRunBound{120000};
const Paths kSampleNames{L"floor-plan.dxf", L"flange.dxf", L"title-block.dxf"};

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The names in `folder` (ending in "\") that match `pattern`, sorted.
Paths NamesIn(const std::wstring& folder, const std::wstring& pattern) {
  Paths names;
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW((folder + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.rfind(L'\\') + 1); }
std::wstring StemOf(const std::wstring& path) { return path.substr(0, path.rfind(L'.')); }
std::wstring PdfBeside(const std::wstring& drawing) { return StemOf(drawing) + L".pdf"; }
std::wstring PdfIn(const std::wstring& folder, const std::wstring& drawing) {
  const std::wstring name = drawing.substr(drawing.rfind(L'\\') + 1);
  return folder + StemOf(name) + L".pdf";
}

// A PDF of exactly one page, judged from its bytes (rendering is checked elsewhere).
::testing::AssertionResult IsOnePagePdf(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  if (!in) return ::testing::AssertionFailure() << "no file";
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.rfind("%PDF-", 0) != 0) return ::testing::AssertionFailure() << "does not start with %PDF-";
  if (bytes.size() <= 1024) return ::testing::AssertionFailure() << "only " << bytes.size() << " bytes";
  int pages = 0;
  for (std::size_t at = bytes.find("/Type"); at != std::string::npos; at = bytes.find("/Type", at + 1)) {
    std::size_t name = bytes.find_first_not_of(" \r\n\t", at + 5);
    if (name == std::string::npos || bytes.compare(name, 5, "/Page") != 0) continue;
    const char next = name + 5 < bytes.size() ? bytes[name + 5] : ' ';
    if (!std::isalnum(static_cast<unsigned char>(next))) ++pages;  // "/Pages" is the page tree
  }
  if (pages != 1) return ::testing::AssertionFailure() << pages << " page objects";
  return ::testing::AssertionSuccess();
}

void SetString(const wchar_t* key, const wchar_t* name, const std::wstring& value) {
  ::RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// The path the program last handed the PDF writer, as the writer reads it (ANSI).
std::wstring HandedOutputFile() {
  char value[2048] = {};
  DWORD bytes = sizeof(value);
  if (::RegGetValueA(HKEY_CURRENT_USER, "Software\\Kelvandor PDF Writer", "OutputFile", RRF_RT_REG_SZ, nullptr,
                     value, &bytes) != ERROR_SUCCESS) {
    return L"<absent>";
  }
  std::wstring wide(static_cast<std::size_t>(bytes), L'\0');
  wide.resize(static_cast<std::size_t>(::MultiByteToWideChar(CP_ACP, 0, value, -1, wide.data(),
                                                             static_cast<int>(wide.size()))));
  if (!wide.empty() && wide.back() == L'\0') wide.pop_back();
  return wide;
}

// Every registry value a run reads or leaves, cleared before and after a
// test: the program's settings, the hand-off key, both stand-ins' switches.
class CleanRegistry {
 public:
  CleanRegistry() { Clear(); }
  ~CleanRegistry() { Clear(); }
  CleanRegistry(const CleanRegistry&) = delete;
  CleanRegistry& operator=(const CleanRegistry&) = delete;

 private:
  static void Clear() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kPdfWriterKey);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kPrinterSwitchesKey);
    StandInAutoCad::ClearSwitches();
  }
};

// What a run showed: the last box in the application's title, and every
// error report on the way, each answered with OK.
struct RunOutcome {
  std::wstring last;
  Lines reports;
};

class EndToEndTest : public ::testing::Test {
 protected:
  EndToEndTest() {
    ::CreateDirectoryW(samples.c_str(), nullptr);
    for (const std::wstring& name : kSampleNames) {
      ::CopyFileW((WindowsPathOf(PELLACORE_SAMPLES_DIR) + L"\\" + name).c_str(), (samples + name).c_str(), FALSE);
    }
    StandInAutoCad::Set(L"LogFile", autoCadLog);
    // A Unix path: a Windows one costs the back end a winepath per job.
    SetString(kPrinterSwitchesKey, L"LogFile", TestPrinter::UnixPath(printerLog));
  }
  ~EndToEndTest() override {
    if (program && window && ::IsWindow(window)) Close();
  }

  HWND Start() {
    program.emplace(harness::Program::Start(installed.exe(), installed.folder.path()));
    window = harness::WaitForTopWindow(program->id(), L"PellacoreMainWindow", kTitle);
    EXPECT_NE(window, nullptr) << "no main window appeared";
    return window;
  }

  // WM_CLOSE, as the window's close box sends it; the program must end.
  bool Close() {
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    const bool ended = program->WaitForExit();
    program.reset();
    window = nullptr;
    return ended;
  }

  HWND Control(ControlId id) const { return harness::Children(window)[static_cast<std::size_t>(id)]; }
  void Click(ControlId id) const { PostClick(Control(id)); }
  bool Checked(ControlId id) const { return ::SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

  // Selects an option button as a click does; waits until it shows selected.
  bool Select(ControlId option) const {
    Click(option);
    return WaitUntil([&] { return Checked(option); });
  }

  // Typed into Text1: WM_SETTEXT fires the edit's EN_CHANGE.
  void Type(const std::wstring& folder) const { harness::SetText(Control(ControlId::kText1), folder); }

  // "Beside the original", with a scratch folder in Text1: a fault that used
  // the folder anyway shows there, not on the prefix's desktop (the user's home).
  bool ChooseBesideTheDrawings() const {
    Type(elsewhere);
    return Select(ControlId::kOption2) && !Checked(ControlId::kOption1);
  }

  // The next box with `caption`: its text, then answered with `button`.
  std::wstring Answer(const std::wstring& caption, int button, milliseconds bound = harness::kDefaultTimeout) {
    HWND box = harness::WaitForTopWindow(program->id(), L"#32770", caption, bound);
    if (!box) return L"<no box>";
    const std::wstring text = TextOf(::GetDlgItem(box, kMessageText));
    PressButtonOf(box, button);
    WaitUntil([&] { return !::IsWindow(box); });
    return text;
  }

  Paths Entries() const { return harness::RemoteControls(program->id()).Items(Control(ControlId::kListView1)); }
  bool WaitForEntries(std::size_t count) const {
    return WaitUntil([&] { return Entries().size() == count; });
  }

  // The sample button, its question answered No; answers the entries it added.
  Paths LoadSamples() {
    Click(ControlId::kPushButton8);
    EXPECT_EQ(Answer(kTitle, IDNO), kSampleQuestion);
    EXPECT_TRUE(WaitForEntries(kSampleNames.size()));
    return Entries();
  }

  // Start, then every box until the first that is not an error report.
  RunOutcome Run() {
    Click(ControlId::kPushButton2);
    RunOutcome outcome;
    const auto deadline = std::chrono::steady_clock::now() + kRunBound;
    for (;;) {
      const auto left = std::chrono::duration_cast<milliseconds>(deadline - std::chrono::steady_clock::now());
      HWND box = left.count() > 0 ? harness::WaitForTopWindow(program->id(), L"#32770", L"", left) : nullptr;
      if (!box) {
        outcome.last = L"<no box>";
        return outcome;
      }
      const std::wstring caption = TextOf(box);
      const std::wstring text = TextOf(::GetDlgItem(box, kMessageText));
      PressButtonOf(box, IDOK);
      WaitUntil([&] { return !::IsWindow(box); });
      if (caption != kErrorTitle) {
        outcome.last = text;
        return outcome;
      }
      outcome.reports.push_back(text);
    }
  }

  // The stand-in's calls for a run that exported each of `drawings` in turn.
  static Lines ExportCallsFor(const Paths& drawings) {
    Lines calls;
    for (const std::wstring& drawing : drawings) {
      const Lines one = ExportCallTable(drawing, StemOf(drawing));
      calls.insert(calls.end(), one.begin(), one.end());
    }
    return calls;
  }
  Lines AutoCadCalls() const { return StandInAutoCad::Log(autoCadLog); }

  // A run into "beside the original" that went through: "Done." with no
  // report, nothing in Text1's folder, and a one-page PDF beside each drawing.
  void ExpectPdfsBeside(const RunOutcome& run, const Paths& drawings) const {
    EXPECT_EQ(run.last, L"Done.");
    EXPECT_EQ(NamesIn(elsewhere, L"*"), Paths{});
    EXPECT_EQ(run.reports, Lines{});
    for (const std::wstring& drawing : drawings) {
      EXPECT_TRUE(IsOnePagePdf(PdfBeside(drawing))) << PdfBeside(drawing);
    }
  }

  // The printer back end's log lines that contain `what`.
  Lines PrinterLogLines(const std::string& what) const {
    Lines lines;
    std::ifstream in(std::filesystem::path(printerLog), std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
      if (line.find(what) != std::string::npos) lines.emplace_back(line.begin(), line.end());
    }
    return lines;
  }

  // Copies a sample's content under another name (the stand-in reads DXF whatever the extension).
  std::wstring Drawing(const ScratchFolder& under, const std::wstring& name, int sample = 0) const {
    const std::wstring path = under.path() + name;
    ::CopyFileW((samples + kSampleNames[static_cast<std::size_t>(sample) % kSampleNames.size()]).c_str(),
                path.c_str(), FALSE);
    return path;
  }

  CleanRegistry registry;  // first: cleared again only after the program has gone
  InstalledProgram installed;
  ScratchFolder scratch;
  const std::wstring samples = installed.folder.path() + L"Samples\\";
  const std::wstring autoCadLog = scratch.path() + L"autocad-calls.log";
  const std::wstring printerLog = scratch.path() + L"printer.log";
  const std::wstring elsewhere = scratch.MakeFolder(L"Elsewhere") + L"\\";
  std::optional<harness::Program> program;
  HWND window = nullptr;
};

TEST_F(EndToEndTest, AFirstStartOffersTheDesktopAsTheOneFolderForResults) {
  wchar_t desktop[MAX_PATH] = {};
  ASSERT_EQ(::SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, desktop), S_OK);
  ASSERT_NE(Start(), nullptr);
  EXPECT_EQ(harness::WaitForTopWindow(program->id(), L"#32770", L"", milliseconds(500)), nullptr)
      << "a message at start with both partners present";
  EXPECT_EQ(TextOf(Control(ControlId::kText1)), std::wstring(desktop) + L"\\");
  EXPECT_EQ(StoredSetting(L"Location"), std::wstring(desktop) + L"\\");
  EXPECT_TRUE(Checked(ControlId::kOption1));
  EXPECT_FALSE(Checked(ControlId::kOption2));
  EXPECT_TRUE(::IsWindowEnabled(Control(ControlId::kText1)));
}

TEST_F(EndToEndTest, TheSamplesBecomePdfsBesideTheirDrawings) {
  ASSERT_NE(Start(), nullptr);
  const Paths drawings = LoadSamples();
  ASSERT_EQ(drawings.size(), kSampleNames.size());
  ASSERT_TRUE(ChooseBesideTheDrawings());

  ExpectPdfsBeside(Run(), drawings);
  for (const std::wstring& drawing : drawings) EXPECT_EQ(FolderOf(drawing), samples);
  EXPECT_EQ(NamesIn(samples, L"*.bmp"), Paths{});
  EXPECT_EQ(NamesIn(samples, L"*.pdf"), (Paths{L"flange.pdf", L"floor-plan.pdf", L"title-block.pdf"}));
  EXPECT_EQ(AutoCadCalls(), ExportCallsFor(drawings));
  EXPECT_EQ(HandedOutputFile(), PdfBeside(drawings.back()));
}

TEST_F(EndToEndTest, TheTypedFolderTakesThePdfsWithOrWithoutItsBackslash) {
  ScratchFolder withBackslash;
  ScratchFolder without;
  std::wstring bare = without.path();
  bare.pop_back();
  ASSERT_NE(Start(), nullptr);
  const Paths drawings = LoadSamples();
  ASSERT_TRUE(Checked(ControlId::kOption1));

  for (const std::wstring& typed : {withBackslash.path(), bare}) {
    SCOPED_TRACE(typed);
    const std::wstring folder = typed.ends_with(L'\\') ? typed : typed + L"\\";
    Type(typed);
    ASSERT_TRUE(WaitUntil([&] { return StoredSetting(L"Location") == typed; }));
    const RunOutcome run = Run();
    EXPECT_EQ(run.last, L"Done.");
    EXPECT_EQ(run.reports, Lines{});
    for (const std::wstring& drawing : drawings) {
      EXPECT_TRUE(IsOnePagePdf(PdfIn(folder, drawing))) << PdfIn(folder, drawing);
    }
    EXPECT_EQ(NamesIn(folder, L"*").size(), drawings.size()) << "nothing but the PDFs";
    EXPECT_EQ(HandedOutputFile(), PdfIn(folder, drawings.back()));
  }
  EXPECT_EQ(NamesIn(samples, L"*.pdf"), Paths{});
  EXPECT_EQ(NamesIn(samples, L"*.bmp"), Paths{});
}

TEST_F(EndToEndTest, AFolderThatDoesNotExistIsRefusedBeforeAnyExport) {
  const std::wstring missing = scratch.path() + L"No Such Folder\\";
  ASSERT_NE(Start(), nullptr);
  LoadSamples();
  Type(missing);
  ASSERT_TRUE(WaitUntil([&] { return StoredSetting(L"Location") == missing; }));
  const RunOutcome run = Run();
  EXPECT_EQ(run.last, kNoFolder);
  EXPECT_EQ(run.reports, Lines{});
  EXPECT_FALSE(Exists(missing));
  EXPECT_EQ(NamesIn(samples, L"*.pdf"), Paths{});
  EXPECT_EQ(AutoCadCalls(), Lines{});
  EXPECT_EQ(HandedOutputFile(), L"<absent>");
}

TEST_F(EndToEndTest, ScannedAndDroppedTreesBecomePdfsBesideEachDrawing) {
  ScratchFolder scanned;
  scanned.MakeFolder(L"Sub");
  scanned.MakeFolder(L"Sub\\Deeper");
  const Paths fromScan{Drawing(scanned, L"a.dwg", 0), Drawing(scanned, L"Sub\\b.dwg", 1),
                       Drawing(scanned, L"Sub\\Deeper\\c.dwg", 2)};
  scanned.MakeFile(L"Sub\\notes.txt");
  ScratchFolder dropped;
  dropped.MakeFolder(L"More");
  const Paths fromDrop{Drawing(dropped, L"d.dwg", 1), Drawing(dropped, L"More\\e.dwg", 2)};
  std::wstring scannedFolder = scanned.path();
  scannedFolder.pop_back();
  std::wstring droppedFolder = dropped.path();
  droppedFolder.pop_back();
  ASSERT_NE(Start(), nullptr);

  // The scan: the extension asked first, then the folder.
  Click(ControlId::kPushButton3);
  HWND question = harness::WaitForTopWindow(program->id(), L"#32770", kTitle);
  ASSERT_NE(question, nullptr) << "no input box";
  harness::SetText(::GetDlgItem(question, kInputAnswer), L"dwg");
  PressButtonOf(question, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(question); }));
  HWND picker = harness::WaitForTopWindow(program->id(), L"#32770", L"");
  ASSERT_NE(picker, nullptr) << "no folder picker";
  ASSERT_TRUE(harness::RemoteControls(program->id()).ChooseInFolderPicker(picker, scannedFolder))
      << "the picker did not take the folder";
  PressButtonOf(picker, IDOK);
  ASSERT_TRUE(WaitForEntries(fromScan.size()));

  win32::OleSession ole;
  EXPECT_NE(harness::DropOnto(Control(ControlId::kListView1), {droppedFolder}), static_cast<DWORD>(DROPEFFECT_NONE));
  ASSERT_TRUE(WaitForEntries(fromScan.size() + fromDrop.size()));
  // The scan's drawings first, then the drop's, each group in the traversal's order.
  const Paths drawings = Entries();
  auto sorted = [](Paths paths) {
    std::sort(paths.begin(), paths.end());
    return paths;
  };
  const auto split = drawings.begin() + static_cast<std::ptrdiff_t>(fromScan.size());
  ASSERT_EQ(sorted(Paths(drawings.begin(), split)), sorted(fromScan));
  ASSERT_EQ(sorted(Paths(split, drawings.end())), sorted(fromDrop));

  ASSERT_TRUE(ChooseBesideTheDrawings());
  ExpectPdfsBeside(Run(), drawings);
  for (const std::wstring& drawing : drawings) EXPECT_FALSE(Exists(StemOf(drawing) + L".bmp")) << drawing;
  EXPECT_FALSE(Exists(scanned.path() + L"Sub\\notes.pdf"));
  EXPECT_EQ(AutoCadCalls(), ExportCallsFor(drawings));
}

TEST_F(EndToEndTest, ADrawingThatCannotBeOpenedIsReportedAndTheRunGoesOn) {
  const std::wstring broken = Drawing(scratch, L"broken.dwg", 0);
  const std::wstring fine = Drawing(scratch, L"fine.dwg", 1);
  StandInAutoCad::Set(L"FailOpen", broken);
  ASSERT_NE(Start(), nullptr);
  {
    win32::OleSession ole;
    EXPECT_NE(harness::DropOnto(Control(ControlId::kListView1), {broken, fine}),
              static_cast<DWORD>(DROPEFFECT_NONE));
  }
  ASSERT_TRUE(WaitForEntries(2));
  ASSERT_EQ(Entries(), (Paths{broken, fine}));
  ASSERT_TRUE(ChooseBesideTheDrawings());

  const RunOutcome run = Run();
  EXPECT_EQ(run.last, L"Done.");
  EXPECT_EQ(NamesIn(elsewhere, L"*"), Paths{});
  // Open fails; every later step that needs the document fails with it.
  const std::vector<int> steps{116, 120, 122, 124, 126};
  ASSERT_EQ(run.reports.size(), steps.size());
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const std::wstring where = std::wstring(L"\r\n") + kConvert + L"at line " + std::to_wstring(steps[i]) + L"\r\r";
    EXPECT_NE(run.reports[i].find(where), std::wstring::npos) << run.reports[i];
    EXPECT_TRUE(run.reports[i].ends_with(L"Please email screenshot of this message to support@pellacore.com"));
  }
  EXPECT_NE(run.reports[0].find(broken), std::wstring::npos) << "the description names the drawing";
  EXPECT_NE(run.reports[0].find(L"FailOpen"), std::wstring::npos) << "the server's own description";

  EXPECT_FALSE(Exists(PdfBeside(broken)));
  EXPECT_FALSE(Exists(StemOf(broken) + L".bmp"));
  EXPECT_TRUE(IsOnePagePdf(PdfBeside(fine)));
  EXPECT_FALSE(Exists(StemOf(fine) + L".bmp"));
  // The failed drawing's instance is still shown and quit, then the next one exports.
  Lines calls = ExportCallTable(broken, StemOf(broken));
  calls.erase(calls.begin() + 5, calls.end() - 1);
  const Lines next = ExportCallTable(fine, StemOf(fine));
  calls.insert(calls.end(), next.begin(), next.end());
  EXPECT_EQ(AutoCadCalls(), calls);
  EXPECT_EQ(HandedOutputFile(), PdfBeside(fine));
}

TEST_F(EndToEndTest, ALatePrinterStillSavesEachDrawingUnderItsOwnName) {
  SetString(kPrinterSwitchesKey, L"DelaySeconds", L"3");
  ASSERT_NE(Start(), nullptr);
  const Paths drawings = LoadSamples();
  ASSERT_TRUE(ChooseBesideTheDrawings());

  ExpectPdfsBeside(Run(), drawings);
  EXPECT_EQ(NamesIn(samples, L"*.bmp"), Paths{});
  // Each job was late and wrote once, at its own drawing's path, in list order.
  EXPECT_EQ(PrinterLogLines("taken late").size(), drawings.size());
  const Lines wrote = PrinterLogLines("wrote '");
  ASSERT_EQ(wrote.size(), drawings.size());
  for (std::size_t i = 0; i < drawings.size(); ++i) {
    EXPECT_NE(wrote[i].find(L"wrote '" + PdfBeside(drawings[i]) + L"'"), std::wstring::npos) << wrote[i];
  }
}

TEST_F(EndToEndTest, TheChosenOptionAndFolderSurviveARestart) {
  const std::wstring folder = scratch.MakeFolder(L"Results") + L"\\";
  ASSERT_NE(Start(), nullptr);
  Type(folder);
  ASSERT_TRUE(Select(ControlId::kOption2));
  EXPECT_FALSE(Checked(ControlId::kOption1));
  ASSERT_TRUE(Close()) << "the program did not end on WM_CLOSE";

  ASSERT_NE(Start(), nullptr);
  EXPECT_EQ(TextOf(Control(ControlId::kText1)), folder);
  EXPECT_TRUE(Checked(ControlId::kOption2));
  EXPECT_FALSE(Checked(ControlId::kOption1));
  EXPECT_FALSE(::IsWindowEnabled(Control(ControlId::kText1)));

  // And back: the first option and another folder are kept as well.
  const std::wstring other = scratch.MakeFolder(L"Other");
  ASSERT_TRUE(Select(ControlId::kOption1));
  Type(other);
  ASSERT_TRUE(Close());
  ASSERT_NE(Start(), nullptr);
  EXPECT_EQ(TextOf(Control(ControlId::kText1)), other);
  EXPECT_TRUE(Checked(ControlId::kOption1));
  EXPECT_FALSE(Checked(ControlId::kOption2));
  EXPECT_TRUE(::IsWindowEnabled(Control(ControlId::kText1)));
}

}  // namespace
}  // namespace pellacore::testing
