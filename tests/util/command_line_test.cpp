// The command line: split as Windows programs split it (quotes, blanks,
// backslashes), then read into paths, a batch run, the usage or a wrong
// line that says what is wrong.

#include <gtest/gtest.h>

#include "util/command_line.h"

namespace pellacore {
namespace {

using Args = std::vector<std::wstring>;
using Mode = CommandLine::Mode;

TEST(CommandLine, IsSplitAtBlanksOutsideQuotesWithBackslashesLiteralUnlessBeforeAQuote) {
  struct Case {
    const wchar_t* line;
    Args arguments;
  };
  for (const Case& c : {
           Case{LR"(pellacore.exe a.dwg  b.dwg)", {L"pellacore.exe", L"a.dwg", L"b.dwg"}},
           Case{LR"("C:\Program Files\Pellacore\pellacore.exe" "D:\My Drawings\a plan.dwg")",
                {LR"(C:\Program Files\Pellacore\pellacore.exe)", LR"(D:\My Drawings\a plan.dwg)"}},
           Case{L"p\t \"\"  x ", {L"p", L"", L"x"}},              // tabs; an empty argument
           Case{LR"(p D:\Dwg\ "D:\Out\\")", {L"p", LR"(D:\Dwg\)", LR"(D:\Out\)"}},  // a folder's last backslash
           Case{LR"(p a\\b a\"b "a""b" a"b c"d)", {L"p", LR"(a\\b)", LR"(a"b)", LR"(a"b)", L"ab cd"}},
           Case{LR"(p a\\\"b)", {L"p", LR"(a\"b)"}},
           Case{L"", {}},
       }) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(SplitCommandLine(c.line), c.arguments);
  }
}

TEST(CommandLine, PathsOpenTheWindowAndConvertTakesItsSwitchesInAnyCaseAndOrder) {
  const CommandLine none = ParseCommandLine({});
  EXPECT_EQ(none.mode, Mode::kWindow);
  EXPECT_TRUE(none.paths.empty());

  const CommandLine window = ParseCommandLine({LR"(D:\Dwg\a.dwg)", L"", LR"(D:\Dwg)"});
  EXPECT_EQ(window.mode, Mode::kWindow);
  EXPECT_EQ(window.paths, (Args{LR"(D:\Dwg\a.dwg)", LR"(D:\Dwg)"}));

  const CommandLine batch = ParseCommandLine(
      {L"/OUT", LR"(C:\Out)", LR"(D:\Dwg\a.dwg)", L"/Convert", L"/route", L"Plotter", L"/report", L"r.csv", L"b.dwg"});
  EXPECT_EQ(batch.mode, Mode::kConvert);
  EXPECT_EQ(batch.paths, (Args{LR"(D:\Dwg\a.dwg)", L"b.dwg"}));
  EXPECT_EQ(batch.outFolder, LR"(C:\Out)");
  EXPECT_EQ(batch.route, PdfRouteChoice::kPlotter);
  EXPECT_EQ(batch.reportFile, L"r.csv");
  EXPECT_EQ(ParseCommandLine({L"/convert", L"a.dwg", L"/route", L"PRINTER"}).route, PdfRouteChoice::kPrinter);
  EXPECT_FALSE(ParseCommandLine({L"/convert", L"a.dwg"}).outFolder);

  // "/?" anywhere is the usage, whatever else is there.
  EXPECT_EQ(ParseCommandLine({L"/convert", L"/x", L"/?"}).mode, Mode::kUsage);
  EXPECT_EQ(ParseCommandLine({L"a.dwg", L"/?", L"/x"}).mode, Mode::kUsage);
}

TEST(CommandLine, AWrongLineSaysWhatIsWrong) {
  struct Case {
    Args arguments;
    const wchar_t* problem;
  };
  for (const Case& c : {
           Case{{L"/convert", L"a.dwg", L"/silent"}, L"Unknown switch: /silent"},
           Case{{L"/convert", L"a.dwg", L"/out"}, L"/out needs a value."},
           Case{{L"/convert", L"/out", L"/route", L"plotter", L"a.dwg"}, L"/out needs a value."},
           Case{{L"/convert", L"a.dwg", L"/route", L"fax"}, L"/route takes printer or plotter, not fax."},
           Case{{L"/convert", L"a.dwg", L"/report", L"a.csv", L"/report", L"b.csv"}, L"/report is given twice."},
           Case{{L"a.dwg", L"/out", LR"(C:\Out)"}, L"/out, /route and /report go with /convert."},
           Case{{L"/convert"}, L"/convert needs at least one drawing or folder."},
           Case{{L"/convert", L"", L"/out", L"C:\\Out"}, L"/convert needs at least one drawing or folder."},
       }) {
    const CommandLine command = ParseCommandLine(c.arguments);
    EXPECT_EQ(command.mode, Mode::kWrong) << c.problem;
    EXPECT_EQ(command.problem, c.problem);
    EXPECT_TRUE(command.paths.empty());
  }
  EXPECT_NE(CommandLineUsage().find(L"/convert PATH... [/out FOLDER] [/route printer|plotter] [/report FILE]"),
            std::wstring::npos);
}

}  // namespace
}  // namespace pellacore
