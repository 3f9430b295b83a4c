// The program started with a command line, as Send To, a drop on its icon
// or the Task Scheduler start it: paths for a window that runs already, and
// a batch run without the window that ends with its exit code.

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>

#include "tests/windows/end_to_end_fixture.h"
#include "win32/ole_session.h"

namespace pellacore::testing {
namespace {

using namespace std::chrono_literals;

std::wstring Quoted(const Paths& paths) {
  std::wstring line;
  for (const std::wstring& path : paths) line += (line.empty() ? L"\"" : L" \"") + path + L"\"";
  return line;
}

class CommandLineEndToEndTest : public EndToEndTest {
 protected:
  // Starts the program with `arguments` and waits for its end: its exit
  // code, or nothing when it did not end in time.
  std::optional<DWORD> RunToEnd(const std::wstring& arguments) {
    harness::Program started = harness::Program::Start(installed.exe(), installed.folder.path(), arguments);
    if (!started.WaitForExit(120s)) return std::nullopt;
    return started.ExitCode();
  }
  // The same with the program's standard output a pipe, as a scheduled
  // task's log or a batch file's redirection gives it: its exit code and
  // what it wrote there.
  std::pair<std::optional<DWORD>, std::string> RunWithOutput(const std::wstring& arguments) {
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE reading = nullptr;
    HANDLE writing = nullptr;
    if (!::CreatePipe(&reading, &writing, &inherited, 0)) return {std::nullopt, ""};
    ::SetHandleInformation(reading, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writing;
    startup.hStdError = writing;
    PROCESS_INFORMATION info{};
    std::wstring line = L"\"" + installed.exe() + L"\" " + arguments;
    const bool started = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                          installed.folder.path().c_str(), &startup, &info);
    ::CloseHandle(writing);
    std::string output;
    std::optional<DWORD> code;
    if (started) {
      // Read until the program's end closes the pipe; bounded by that end.
      char buffer[4096];
      DWORD got = 0;
      if (::WaitForSingleObject(info.hProcess, 120'000) == WAIT_OBJECT_0) {
        while (::ReadFile(reading, buffer, sizeof(buffer), &got, nullptr) && got > 0) output.append(buffer, got);
        DWORD exit = 0;
        if (::GetExitCodeProcess(info.hProcess, &exit)) code = exit;
      } else {
        ::TerminateProcess(info.hProcess, 1);
      }
      ::CloseHandle(info.hThread);
      ::CloseHandle(info.hProcess);
    }
    ::CloseHandle(reading);
    return {code, output};
  }
  Paths SampleFiles() const {
    Paths files;
    for (const std::wstring& name : kSampleNames) files.push_back(samples + name);
    return files;
  }
};

TEST_F(CommandLineEndToEndTest, PathsGivenToALaterStartArriveInTheRunningWindowsList) {
  ASSERT_NE(Start(), nullptr);
  const Paths drawings{Drawing(scratch, L"one.dwg", 0), Drawing(scratch, L"two words.dwg", 1)};
  EXPECT_EQ(RunToEnd(Quoted(drawings)), 0u);
  ASSERT_TRUE(WaitForEntries(drawings.size()));
  // The later start ended of its own (it opened no window) and the list
  // holds each path once, in the order given.
  EXPECT_EQ(Entries(), drawings);
}

TEST_F(CommandLineEndToEndTest, ConvertWritesEachPdfAndTheReportWithoutAWindowAndEndsWithZero) {
  // No backslash before a closing quote: it would make the quote literal,
  // as in every Windows program.
  const std::wstring folder = scratch.MakeFolder(L"Out");
  const std::wstring out = folder + L"\\";
  const std::wstring report = scratch.path() + L"night.csv";
  const Paths drawings = SampleFiles();
  EXPECT_EQ(RunToEnd(L"/convert " + Quoted(drawings) + L" /out \"" + folder + L"\" /report \"" + report + L"\""), 0u);
  for (const std::wstring& drawing : drawings) {
    EXPECT_TRUE(IsOnePagePdf(PdfIn(out, drawing))) << ::testing::PrintToString(drawing);
  }
  std::ifstream in(std::filesystem::path(report), std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text.rfind("\xEF\xBB\xBF" "drawing,pdf,result,step,message,seconds", 0), 0u) << text;
  std::size_t converted = 0;
  for (std::size_t at = text.find(",converted,"); at != std::string::npos; at = text.find(",converted,", at + 1)) {
    ++converted;
  }
  EXPECT_EQ(converted, drawings.size()) << text;
  // The user's choices are as they were: none stored by the batch.
  EXPECT_EQ(StoredSetting(L"Unattended"), L"<absent>");
  EXPECT_NE(StoredSetting(L"Location"), out);
}

TEST_F(CommandLineEndToEndTest, ConvertEndsWithOneWhenADrawingCannotBeOpenedAndTwoWhenTheLineIsWrong) {
  const Paths drawings{Drawing(scratch, L"good.dwg", 0), Drawing(scratch, L"bad.dwg", 2)};
  StandInAutoCad::Set(L"FailOpen", drawings[1]);
  EXPECT_EQ(RunToEnd(L"/convert " + Quoted(drawings)), 1u);
  EXPECT_TRUE(IsOnePagePdf(PdfBeside(drawings[0])));
  EXPECT_FALSE(Exists(PdfBeside(drawings[1])));

  EXPECT_EQ(RunToEnd(L"/convert " + Quoted(drawings) + L" /route fax"), 2u);
  EXPECT_EQ(RunToEnd(L"/convert \"" + scratch.path() + L"nothing here.dwg\""), 2u);
}

// What the usage and a batch's end say goes to the standard output, as a
// scheduled task or a batch file with its output redirected keeps it.
TEST_F(CommandLineEndToEndTest, TheUsageAndTheBatchsWordsGoToTheStandardOutput) {
  const auto [usageCode, usage] = RunWithOutput(L"/?");
  EXPECT_EQ(usageCode, 0u);
  EXPECT_NE(usage.find("pellacore.exe /convert PATH... [/out FOLDER] [/route printer|plotter] [/report FILE]"),
            std::string::npos)
      << usage;
  const auto [wrongCode, wrong] = RunWithOutput(L"/convert a.dwg /bogus");
  EXPECT_EQ(wrongCode, 2u);
  EXPECT_EQ(wrong.rfind("Unknown switch: /bogus\r\n\r\nUsage:", 0), 0u) << wrong;

  const Paths drawings{Drawing(scratch, L"plan.dwg", 0)};
  const auto [doneCode, done] = RunWithOutput(L"/convert " + Quoted(drawings));
  EXPECT_EQ(doneCode, 0u);
  EXPECT_NE(done.find("Pellacore: Done.\r\n"), std::string::npos) << done;
}

// A batch started while the window converts through the PDF printer would
// hand the printer its own PDF names in between: it is refused at once.
TEST_F(CommandLineEndToEndTest, ABatchThroughThePrinterIsRefusedWhileAWindowConvertsThroughIt) {
  ASSERT_NE(Start(), nullptr);
  const Paths drawings{Drawing(scratch, L"slow.dwg", 0)};
  {
    win32::OleSession ole;
    ASSERT_NE(harness::DropOnto(Control(ControlId::kListView1), drawings), static_cast<DWORD>(DROPEFFECT_NONE));
  }
  ASSERT_TRUE(WaitForEntries(1));
  ASSERT_TRUE(ChooseBesideTheDrawings());
  // Far longer than the batch takes to start and be refused.
  StandInAutoCad::Set(L"DelayMs", L"Open=60000");
  StandInAutoCad::Set(L"OnlyFor", drawings[0]);
  Click(ControlId::kPushButton2);
  const std::wstring opening = L"Documents.Open call (VT_BSTR|VT_BYREF " + drawings[0] + L")";
  ASSERT_TRUE(WaitUntil([&] {
    const Lines log = StandInAutoCad::Log(autoCadLog, false);
    return std::find(log.begin(), log.end(), opening) != log.end();
  }));

  const std::wstring other = Drawing(scratch, L"other.dwg", 1);
  EXPECT_EQ(RunToEnd(L"/convert \"" + other + L"\""), 1u);
  EXPECT_FALSE(Exists(PdfBeside(other)));
  // Closing the window ends its run and the AutoCAD it started.
  EXPECT_TRUE(Close());
}

}  // namespace
}  // namespace pellacore::testing
