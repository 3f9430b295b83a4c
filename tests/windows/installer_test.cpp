// The release's setup program, run silently as a user would run it, in the
// test's prefix: what it puts where, the program it installs converting the
// samples, and its uninstaller taking away what it put there and nothing
// else. check_installer.sh makes the release and names, in the environment,
// the setup program (PELLACORE_SETUP_EXE), the program folder unpacked from
// the ZIP (PELLACORE_RELEASE_FOLDER) that the installation must equal, and
// the setup of an earlier release that also shipped Samples\retired.dxf
// (PELLACORE_EARLIER_SETUP_EXE).

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window_layout.h"
#include "tools/harness/harness.h"
#include "tools/harness/windows_files.h"

namespace pellacore::testing {
namespace {

using harness::milliseconds;
using Names = std::vector<std::wstring>;

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pellacore";
constexpr wchar_t kSettingsKey[] = L"Software\\VB and VBA Program Settings\\Kelvandor\\Pellacore";
// Installing or uninstalling a few megabytes; a run of three drawings.
constexpr milliseconds kSetupBound{60000};
constexpr milliseconds kRunBound{120000};

std::wstring Environment(const wchar_t* name) {
  wchar_t value[MAX_PATH * 2] = {};
  const DWORD length = ::GetEnvironmentVariableW(name, value, MAX_PATH * 2);
  return length > 0 && length < MAX_PATH * 2 ? value : L"";
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// Every file and folder under `folder` (ending in "\"), relative to it,
// folders with a trailing "\", sorted.
void ListTreeInto(const std::wstring& folder, const std::wstring& relative, Names& names) {
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW((folder + relative + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      names.push_back(relative + name + L"\\");
      ListTreeInto(folder, relative + name + L"\\", names);
    } else {
      names.push_back(relative + name);
    }
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
}

Names TreeOf(const std::wstring& folder) {
  Names names;
  ListTreeInto(folder, L"", names);
  std::sort(names.begin(), names.end());
  return names;
}

void RemoveTreeOfInstallation(const std::wstring& folder) {
  Names names = TreeOf(folder);
  std::reverse(names.begin(), names.end());  // contents before their folders
  for (const std::wstring& name : names) {
    if (name.back() == L'\\') {
      ::RemoveDirectoryW((folder + name).c_str());
    } else {
      ::SetFileAttributesW((folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileW((folder + name).c_str());
    }
  }
  ::RemoveDirectoryW(folder.c_str());
}

// A started command line, ended (killed) if the test leaves it running.
class Started {
 public:
  explicit Started(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &info)) {
      ::CloseHandle(info.hThread);
      process_ = info.hProcess;
      id_ = info.dwProcessId;
    }
  }
  Started(const Started&) = delete;
  Started& operator=(const Started&) = delete;
  ~Started() {
    if (!process_) return;
    if (::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) ::TerminateProcess(process_, 1);
    ::CloseHandle(process_);
  }

  bool started() const { return process_ != nullptr; }
  DWORD id() const { return id_; }
  // The exit code once it has ended within `bound`, or nothing.
  std::optional<DWORD> ExitCode(milliseconds bound) const {
    if (!process_ || ::WaitForSingleObject(process_, static_cast<DWORD>(bound.count())) != WAIT_OBJECT_0) {
      return std::nullopt;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process_, &code);
    return code;
  }

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

std::vector<DWORD> ChildrenOf(DWORD parent) {
  std::vector<DWORD> children;
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return children;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry)) {
    if (entry.th32ParentProcessID == parent && entry.th32ProcessID != parent) children.push_back(entry.th32ProcessID);
  }
  ::CloseHandle(snapshot);
  return children;
}

// Whether each process ended within `bound`; one already gone has.
bool ProcessesEnd(const std::vector<DWORD>& ids, milliseconds bound) {
  for (DWORD id : ids) {
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, id);
    if (!process) continue;
    const DWORD waited = ::WaitForSingleObject(process, static_cast<DWORD>(bound.count()));
    ::CloseHandle(process);
    if (waited != WAIT_OBJECT_0) return false;
  }
  return true;
}

std::optional<DWORD> ReadUserDword(const wchar_t* key, const wchar_t* name) {
  DWORD value = 0;
  DWORD bytes = sizeof(value);
  if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &value, &bytes) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return value;
}

bool KeyExists(const wchar_t* key) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  ::RegCloseKey(opened);
  return true;
}

struct ShortcutTarget {
  std::wstring path;
  std::wstring workingFolder;
};

// What a .lnk file points at, read through the shell's own IShellLink.
std::optional<ShortcutTarget> ReadShortcut(const std::wstring& file) {
  IShellLinkW* link = nullptr;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link)))) {
    return std::nullopt;
  }
  std::optional<ShortcutTarget> target;
  IPersistFile* persisted = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persisted)))) {
    wchar_t path[MAX_PATH] = {};
    wchar_t folder[MAX_PATH] = {};
    if (SUCCEEDED(persisted->Load(file.c_str(), STGM_READ)) &&
        SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
        SUCCEEDED(link->GetWorkingDirectory(folder, MAX_PATH))) {
      target = ShortcutTarget{path, folder};
    }
    persisted->Release();
  }
  link->Release();
  return target;
}

class InstallerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    setup_ = Environment(L"PELLACORE_SETUP_EXE");
    release_ = Environment(L"PELLACORE_RELEASE_FOLDER");
    earlierSetup_ = Environment(L"PELLACORE_EARLIER_SETUP_EXE");
    ASSERT_TRUE(Exists(setup_)) << "PELLACORE_SETUP_EXE names no setup program: '" << setup_ << "'";
    ASSERT_TRUE(Exists(earlierSetup_)) << "PELLACORE_EARLIER_SETUP_EXE names no setup program: '" << earlierSetup_
                                       << "'";
    ASSERT_TRUE(Exists(release_ + L"pellacore.exe"))
        << "PELLACORE_RELEASE_FOLDER names no program folder: '" << release_ << "'";
    const std::wstring localAppData = Environment(L"LOCALAPPDATA");
    const std::wstring appData = Environment(L"APPDATA");
    ASSERT_FALSE(localAppData.empty() || appData.empty());
    folder_ = localAppData + L"\\Programs\\Pellacore\\";
    startMenuLink_ = appData + L"\\Microsoft\\Windows\\Start Menu\\Programs\\Pellacore.lnk";
    sendToLink_ = appData + L"\\Microsoft\\Windows\\SendTo\\Pellacore.lnk";
    RemoveInstallation();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
  }

  void TearDown() override {
    RemoveInstallation();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    ::CoUninitialize();
  }

  // What an earlier failed run may have left.
  void RemoveInstallation() {
    RemoveTreeOfInstallation(folder_);
    ::DeleteFileW(startMenuLink_.c_str());
    ::DeleteFileW(sendToLink_.c_str());
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
  }

  void InstallSilently() { InstallSilentlyWith(setup_); }
  void InstallSilentlyWith(const std::wstring& program) {
    const Started setup(L"\"" + program + L"\" /S");
    ASSERT_TRUE(setup.started());
    EXPECT_EQ(setup.ExitCode(kSetupBound), std::optional<DWORD>(0)) << "the silent setup failed or did not end";
  }

  // Runs the quiet uninstall command that Settings would run. The
  // uninstaller starts a copy of itself from the temporary folder and ends
  // at once; the copy does the work, so its end is waited for too.
  void UninstallSilently() {
    const std::optional<std::wstring> command = harness::ReadUserString(kUninstallKey, L"QuietUninstallString");
    ASSERT_TRUE(command) << "no QuietUninstallString";
    const Started uninstaller(*command);
    ASSERT_TRUE(uninstaller.started()) << *command;
    ASSERT_EQ(uninstaller.ExitCode(kSetupBound), std::optional<DWORD>(0)) << *command;
    ASSERT_TRUE(ProcessesEnd(ChildrenOf(uninstaller.id()), kSetupBound)) << "the uninstaller's copy did not end";
  }

  std::wstring exe() const { return folder_ + L"pellacore.exe"; }

  std::wstring setup_;
  std::wstring earlierSetup_;
  std::wstring release_;
  std::wstring folder_;
  std::wstring startMenuLink_;
  std::wstring sendToLink_;
};

TEST_F(InstallerTest, SilentSetupInstallsTheReleaseFolderShortcutsAndEntryAndItsUninstallerRemovesThemAll) {
  InstallSilently();

  // The ZIP's program folder, file for file, and the uninstaller.
  Names expected = TreeOf(release_);
  expected.push_back(L"Uninstall.exe");
  std::sort(expected.begin(), expected.end());
  ASSERT_EQ(TreeOf(folder_), expected);
  unsigned long long bytes = 0;
  for (const std::wstring& name : expected) {
    if (name.back() == L'\\') continue;
    const std::optional<std::string> installed = harness::ReadFileBytes(folder_ + name);
    ASSERT_TRUE(installed) << name;
    bytes += installed->size();
    if (name == L"Uninstall.exe") continue;
    EXPECT_TRUE(installed == harness::ReadFileBytes(release_ + name)) << name << " differs from the ZIP's";
  }

  for (const std::wstring& link : {startMenuLink_, sendToLink_}) {
    const std::optional<ShortcutTarget> target = ReadShortcut(link);
    ASSERT_TRUE(target) << "no shortcut " << link;
    EXPECT_TRUE(SamePath(target->path, exe())) << link << " points at " << target->path;
    EXPECT_TRUE(SamePath(target->workingFolder + L"\\", folder_)) << link << " starts in " << target->workingFolder;
  }

  const std::wstring folder = folder_.substr(0, folder_.size() - 1);
  const auto text = [](const wchar_t* name) {
    return harness::ReadUserString(kUninstallKey, name).value_or(L"<absent>");
  };
  EXPECT_EQ(text(L"DisplayName"), L"Pellacore");
  EXPECT_EQ(text(L"DisplayVersion"), L"" PELLACORE_PROJECT_VERSION);
  EXPECT_EQ(text(L"Publisher"), L"Pellacore");
  EXPECT_TRUE(SamePath(text(L"InstallLocation"), folder)) << text(L"InstallLocation");
  EXPECT_TRUE(SamePath(text(L"DisplayIcon"), exe() + L",0")) << text(L"DisplayIcon");
  const std::wstring uninstaller = L"\"" + folder_ + L"Uninstall.exe\"";
  EXPECT_TRUE(SamePath(text(L"UninstallString"), uninstaller)) << text(L"UninstallString");
  EXPECT_TRUE(SamePath(text(L"QuietUninstallString"), uninstaller + L" /S")) << text(L"QuietUninstallString");
  EXPECT_EQ(ReadUserDword(kUninstallKey, L"NoModify"), std::optional<DWORD>(1));
  EXPECT_EQ(ReadUserDword(kUninstallKey, L"NoRepair"), std::optional<DWORD>(1));
  // Kilobytes: each file's size rounded up at most.
  const std::optional<DWORD> size = ReadUserDword(kUninstallKey, L"EstimatedSize");
  ASSERT_TRUE(size);
  EXPECT_GE(*size, bytes / 1024);
  EXPECT_LE(*size, bytes / 1024 + expected.size());

  // A choice the user made, which outlives the program.
  harness::WriteUserString(kSettingsKey, L"Location", L"C:\\Drawings\\PDF");
  UninstallSilently();

  EXPECT_FALSE(Exists(folder_)) << "left behind: " << ::testing::PrintToString(TreeOf(folder_));
  EXPECT_FALSE(Exists(startMenuLink_));
  EXPECT_FALSE(Exists(sendToLink_));
  EXPECT_FALSE(KeyExists(kUninstallKey));
  EXPECT_EQ(harness::ReadUserString(kSettingsKey, L"Location"), std::optional<std::wstring>(L"C:\\Drawings\\PDF"));
}

// The program as installed, started from its folder on the stand-ins,
// converts its samples beside them; the PDFs are the user's, so the
// uninstaller leaves them, and the folders they are in, and the settings
// the program wrote.
TEST_F(InstallerTest, InstalledProgramConvertsTheSamplesAndUninstallKeepsThePdfsAndSettings) {
  using namespace pellacore::harness;
  InstallSilently();
  ASSERT_TRUE(Exists(exe()));

  Program program = Program::Start(exe(), folder_.substr(0, folder_.size() - 1));
  HWND window = WaitForTopWindow(program.id(), L"PellacoreMainWindow", L"Pellacore", milliseconds(30000));
  ASSERT_TRUE(window) << "the main window did not appear";
  const auto control = [&](ControlId id) { return Children(window)[static_cast<std::size_t>(id)]; };

  PostClick(control(ControlId::kPushButton8));
  HWND question = WaitForTopWindow(program.id(), L"#32770", L"");
  ASSERT_TRUE(question) << "no question about the sample folder";
  PressButtonOf(question, IDNO);
  RemoteControls remote(program.id());
  HWND list = control(ControlId::kListView1);
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(question) && remote.ItemCount(list) == 3; }))
      << "the samples did not reach the list";
  for (const std::wstring& item : remote.Items(list)) {
    EXPECT_EQ(item.rfind(folder_ + L"Samples\\", 0), 0u) << item << " is not an installed sample";
  }

  PostClick(control(ControlId::kOption2));  // the PDFs beside the drawings
  ASSERT_TRUE(WaitUntil(
      [&] { return ::SendMessageW(control(ControlId::kOption2), BM_GETCHECK, 0, 0) == BST_CHECKED; }));
  PostClick(control(ControlId::kPushButton2));
  HWND done = WaitForTopWindow(program.id(), L"#32770", L"", kRunBound);
  ASSERT_TRUE(done) << "the run did not end";
  EXPECT_EQ(TextOf(::GetDlgItem(done, 0xFFFF)), L"Done.");
  PressButtonOf(done, IDOK);

  // While the program runs, no setup replaces its files and the uninstaller
  // removes nothing.
  {
    const Started setup(L"\"" + setup_ + L"\" /S");
    EXPECT_EQ(setup.ExitCode(kSetupBound), std::optional<DWORD>(2)) << "a setup went on while the program ran";
  }
  UninstallSilently();
  EXPECT_TRUE(Exists(exe())) << "the uninstaller removed the running program's file";
  EXPECT_TRUE(KeyExists(kUninstallKey));

  ::PostMessageW(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program.WaitForExit());

  const Names pdfs{L"Samples\\", L"Samples\\flange.pdf", L"Samples\\floor-plan.pdf", L"Samples\\title-block.pdf"};
  for (std::size_t i = 1; i < pdfs.size(); ++i) {
    const std::optional<std::string> pdf = ReadFileBytes(folder_ + pdfs[i]);
    ASSERT_TRUE(pdf) << "no " << pdfs[i];
    EXPECT_EQ(pdf->rfind("%PDF-", 0), 0u) << pdfs[i] << " is no PDF";
  }
  const std::optional<std::wstring> snapshot = ReadUserString(kSettingsKey, L"Snapshot");
  ASSERT_TRUE(snapshot && !snapshot->empty()) << "the program stored no sample list";

  UninstallSilently();

  EXPECT_EQ(TreeOf(folder_), pdfs) << "the uninstaller should leave the PDFs alone, and only them";
  EXPECT_FALSE(Exists(startMenuLink_));
  EXPECT_FALSE(Exists(sendToLink_));
  EXPECT_FALSE(KeyExists(kUninstallKey));
  EXPECT_EQ(ReadUserString(kSettingsKey, L"Snapshot"), snapshot);
}

// Installed over an earlier release, the setup leaves the release's files
// and what the user added, not a file that only the earlier release had.
TEST_F(InstallerTest, SetupOverAnEarlierReleaseLeavesNoFileThatReleaseDropped) {
  InstallSilentlyWith(earlierSetup_);
  ASSERT_TRUE(Exists(folder_ + L"Samples\\retired.dxf"));
  ASSERT_TRUE(harness::WriteUtf8File(folder_ + L"notes.txt", L"the user's own"));

  InstallSilently();

  Names expected = TreeOf(release_);
  expected.push_back(L"Uninstall.exe");
  expected.push_back(L"notes.txt");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(TreeOf(folder_), expected);
  EXPECT_TRUE(ReadShortcut(startMenuLink_));
  EXPECT_TRUE(ReadShortcut(sendToLink_));
  // The earlier uninstaller took its entry away; this one is the new setup's.
  EXPECT_TRUE(SamePath(harness::ReadUserString(kUninstallKey, L"InstallLocation").value_or(L""),
                       folder_.substr(0, folder_.size() - 1)));

  UninstallSilently();
  EXPECT_EQ(TreeOf(folder_), Names{L"notes.txt"});
}

}  // namespace
}  // namespace pellacore::testing
