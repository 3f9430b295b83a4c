#pragma once
// Whole conversion runs of the real program, driven through its window from
// outside, against the stand-in AutoCAD and the stand-in PDF printer: the
// program started from a program folder, the list filled as a user fills it,
// Start clicked, every box answered, and what the run left read back.

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
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

namespace pellacore::testing::end_to_end {

using harness::milliseconds;
using harness::PostClick;
using harness::PressButtonOf;
using harness::TextOf;
using harness::WaitUntil;
using Paths = std::vector<std::wstring>;
using Lines = std::vector<std::wstring>;

inline constexpr wchar_t kTitle[] = L"Pellacore";
inline constexpr wchar_t kErrorTitle[] = L"Application Error";
inline constexpr wchar_t kPdfWriterKey[] = L"Software\\Kelvandor PDF Writer";
inline constexpr wchar_t kPrinterSwitchesKey[] = L"Software\\Pellacore\\Stand-ins\\Printer";
inline constexpr wchar_t kConvert[] = L"in Corvanta2021/08/31.Form1.convertDWGtoBMP ";
inline constexpr wchar_t kSampleQuestion[] =
    L"Would you like this software to open the folder where these sample files are stored (so "
    L"that you can view them before working with them)?";
inline constexpr wchar_t kNoFolder[] = L"Folder does not exist. Please select another folder.";
inline constexpr int kMessageText = 0xFFFF;
inline constexpr int kInputAnswer = 101;
// A whole run of a few drawings takes seconds; a run that hangs must still end the test.
inline constexpr milliseconds kRunBound{120000};
inline const Paths kSampleNames{L"floor-plan.dxf", L"flange.dxf", L"title-block.dxf"};

inline bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The names in `folder` (ending in "\") that match `pattern`, sorted.
inline Paths NamesIn(const std::wstring& folder, const std::wstring& pattern) {
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

inline std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.rfind(L'\\') + 1); }
inline std::wstring StemOf(const std::wstring& path) { return path.substr(0, path.rfind(L'.')); }
inline std::wstring PdfBeside(const std::wstring& drawing) { return StemOf(drawing) + L".pdf"; }
inline std::wstring PdfIn(const std::wstring& folder, const std::wstring& drawing) {
  const std::wstring name = drawing.substr(drawing.rfind(L'\\') + 1);
  return folder + StemOf(name) + L".pdf";
}

// A PDF of exactly one page, judged from its bytes (rendering is checked elsewhere).
inline ::testing::AssertionResult IsOnePagePdf(const std::wstring& path) {
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

// A PDF whose page is seen wider than tall: its first MediaBox turned by its
// /Rotate (the stand-in printer's landscape page is Letter turned 90).
inline ::testing::AssertionResult IsLandscapePdf(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::size_t box = bytes.find("/MediaBox");
  double left = 0, bottom = 0, right = 0, top = 0;
  if (box == std::string::npos ||
      std::sscanf(bytes.c_str() + box, "/MediaBox [%lf %lf %lf %lf]", &left, &bottom, &right, &top) != 4) {
    return ::testing::AssertionFailure() << "no MediaBox";
  }
  int rotate = 0;
  if (const std::size_t at = bytes.find("/Rotate"); at != std::string::npos) {
    std::sscanf(bytes.c_str() + at, "/Rotate %d", &rotate);
  }
  const bool turned = ((rotate % 180) + 180) % 180 == 90;
  const double width = turned ? top - bottom : right - left;
  const double height = turned ? right - left : top - bottom;
  if (width <= height) {
    return ::testing::AssertionFailure() << "the page is " << width << " x " << height << " (rotated " << rotate << ")";
  }
  return ::testing::AssertionSuccess();
}

inline void SetString(const wchar_t* key, const wchar_t* name, const std::wstring& value) {
  ::RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// The path the program last handed the PDF writer, as the writer reads it (ANSI).
inline std::wstring HandedOutputFile() {
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
// error report on the way, each answered with OK. A last box that asks Yes
// or No (the end of a run that did not convert everything) is answered No.
struct RunOutcome {
  std::wstring last;
  Lines reports;
  bool asked = false;  // the last box asked Yes or No
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

  // Starts the program and waits for its window. The start-up check's
  // AutoCAD calls are kept apart: the check has quit its AutoCAD before the
  // window shows, so the log holds the run's calls alone from here.
  HWND Start() {
    program.emplace(harness::Program::Start(installed.exe(), installed.folder.path()));
    window = harness::WaitForTopWindow(program->id(), L"PellacoreMainWindow", kTitle);
    EXPECT_NE(window, nullptr) << "no main window appeared";
    startupCalls = StandInAutoCad::Log(autoCadLog, false);
    ::DeleteFileW(autoCadLog.c_str());
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
  // The Result column, row by row.
  Lines Results() const {
    return harness::RemoteControls(program->id()).Items(Control(ControlId::kListView1), 1);
  }
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
    return AnswerBoxes();
  }

  // Every box of a run under way until the first that is not an error report.
  RunOutcome AnswerBoxes() {
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
      const bool asked = ::GetDlgItem(box, IDNO) != nullptr;
      PressButtonOf(box, asked ? IDNO : IDOK);
      WaitUntil([&] { return !::IsWindow(box); });
      if (caption != kErrorTitle) {
        outcome.last = text;
        outcome.asked = asked;
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

  // The end box of a run that did not convert everything: `head`, where
  // "LastReport" says the report is, and the offer to open it.
  static std::wstring EndBoxAsking(const std::wstring& head) {
    return head + L"\r\n\r\nThe run report is in:\r\n" + StoredSetting(L"LastReport") + L"\r\n\r\nOpen it now?";
  }

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
  Lines startupCalls;  // the whole log of the start-up check
};

}  // namespace pellacore::testing::end_to_end
