// The folder scan over a large tree: AddFolderTreeFiles into the real job
// list, beside the least work the rules allow on the same warm tree (every
// folder listed once with FindFirstFileExW, each matching file opened once),
// in one run, with where the scan's time goes.
//   folder_scan_bench TREE     (a Windows path; scripts/run-bench makes it)

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "joblist/add_folder.h"
#include "tests/doubles/memory_settings_store.h"
#include "win32/application.h"
#include "win32/unique_resource.h"

namespace {

using namespace pellacore;
using SteadyClock = std::chrono::steady_clock;

double SecondsSince(SteadyClock::time_point start) {
  return std::chrono::duration<double>(SteadyClock::now() - start).count();
}

// The least work: list every folder once, open each matching file once.
std::size_t MinimalScan(const std::wstring& folder, const std::wstring& extension) {
  std::size_t matched = 0;
  WIN32_FIND_DATAW data;
  win32::UniqueFindHandle search(::FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &data,
                                                    FindExSearchNameMatch, nullptr,
                                                    FIND_FIRST_EX_LARGE_FETCH));
  if (!search) return 0;
  std::vector<std::wstring> folders;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      folders.push_back(folder + L"\\" + name);
    } else if (name.size() > extension.size() &&
               _wcsicmp(name.c_str() + name.size() - extension.size(), extension.c_str()) == 0) {
      win32::UniqueFile file(::CreateFileW((folder + L"\\" + name).c_str(), 0,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                           0x28000000, nullptr));
      if (file) ++matched;
    }
  } while (::FindNextFileW(search.get(), &data));
  for (const std::wstring& child : folders) matched += MinimalScan(child, extension);
  return matched;
}

// A file system that counts and times what the scan asks of the real one.
class TimedFileSystem : public FileSystem {
 public:
  explicit TimedFileSystem(FileSystem& real) : real_(real) {}
  double enumeration = 0, openTest = 0, attributes = 0, identities = 0;
  std::size_t opens = 0;

  std::int64_t LastWriteTime(const std::wstring& path) override { return real_.LastWriteTime(path); }
  std::uint32_t Attributes(const std::wstring& path) override {
    const auto start = SteadyClock::now();
    const std::uint32_t value = real_.Attributes(path);
    attributes += SecondsSince(start);
    return value;
  }
  std::vector<FoundEntry> FindEntries(const std::wstring& pattern) override {
    const auto start = SteadyClock::now();
    auto found = real_.FindEntries(pattern);
    enumeration += SecondsSince(start);
    return found;
  }
  std::vector<std::wstring> SubFolderNames(const std::wstring& folder) override {
    const auto start = SteadyClock::now();
    auto names = real_.SubFolderNames(folder);
    enumeration += SecondsSince(start);
    return names;
  }
  std::optional<FolderIdentity> FolderIdentityOf(const std::wstring& folder) override {
    const auto start = SteadyClock::now();
    auto identity = real_.FolderIdentityOf(folder);
    identities += SecondsSince(start);
    return identity;
  }
  bool CanOpenFile(const std::wstring& path) override {
    const auto start = SteadyClock::now();
    const bool opened = real_.CanOpenFile(path);
    openTest += SecondsSince(start);
    ++opens;
    return opened;
  }
  void RemoveFile(const std::wstring& path) override { real_.RemoveFile(path); }
  void ForceRemoveFile(const std::wstring& path) override { real_.ForceRemoveFile(path); }
  void CreateFolder(const std::wstring& path) override { real_.CreateFolder(path); }
  void WriteNewFile(const std::wstring& path, const std::string& bytes) override { real_.WriteNewFile(path, bytes); }

 private:
  FileSystem& real_;
};

class CountingPump : public EventPump {
 public:
  explicit CountingPump(EventPump& real) : real_(real) {}
  std::size_t yields = 0;
  double seconds = 0;
  void HandlePending() override {
    const auto start = SteadyClock::now();
    real_.HandlePending();
    seconds += SecondsSince(start);
    ++yields;
  }

 private:
  EventPump& real_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::printf("usage: folder_scan_bench TREE\n");
    return 2;
  }
  const std::wstring tree = argv[1];
  std::printf("Folder scan of %ls for *.dwg\n", tree.c_str());

  std::size_t warm = MinimalScan(tree, L".dwg");  // the tree is warm for both
  auto start = SteadyClock::now();
  const std::size_t minimalMatches = MinimalScan(tree, L".dwg");
  const double minimal = SecondsSince(start);

  testing::MemorySettingsStore settings;
  win32::Application application(::GetModuleHandleW(nullptr), settings, L"C:");
  application.Start(SW_SHOWNORMAL);
  win32::Win32FileSystem realFs;
  win32::Win32MessageBoxes boxes;
  win32::Win32CodePage codePage;
  TimedFileSystem fs(realFs);
  CountingPump pump(application.pump());
  JobList& list = application.form().jobList();

  start = SteadyClock::now();
  AddFolderTreeFiles({fs, pump, boxes, codePage}, list, tree, L"*.dwg");
  application.pump().HandlePending();
  const double ours = SecondsSince(start);

  std::printf("minimal program (FindFirstFileExW, one open per match): %8.3f s, %zu matches (warm-up %zu)\n",
              minimal, minimalMatches, warm);
  std::printf("AddFolderTreeFiles into the real job list:             %8.3f s, %zu entries, %.2fx the minimal\n",
              ours, list.Count(), ours / minimal);
  std::printf("  enumeration %.3f s, open test %.3f s (%zu opens), attributes %.3f s, folder identities %.3f s,\n"
              "  yields %.3f s (%zu), the rest (list appends, paths, rules) %.3f s\n",
              fs.enumeration, fs.openTest, fs.opens, fs.attributes, fs.identities, pump.seconds,
              pump.yields,
              ours - fs.enumeration - fs.openTest - fs.attributes - fs.identities - pump.seconds);
  std::printf("Target: at most 1.5 times the minimal program.\n");
  return 0;
}
