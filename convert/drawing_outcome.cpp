#include "convert/drawing_outcome.h"

#include <algorithm>
#include <cstdio>
#include <cwctype>

namespace pellacore {
namespace {

// One CSV field: quoted when it holds a comma, a quote or a line break,
// with quotes doubled.
std::wstring Field(const std::wstring& text) {
  if (text.find_first_of(L",\"\r\n") == std::wstring::npos) return text;
  std::wstring quoted = L"\"";
  for (wchar_t c : text) {
    if (c == L'"') quoted += L'"';
    quoted += c;
  }
  return quoted + L"\"";
}

std::wstring Seconds(double seconds) {
  wchar_t text[32];
  std::swprintf(text, 32, L"%.1f", seconds);
  return text;
}

std::wstring Folded(const std::wstring& path) {
  std::wstring folded = path;
  std::transform(folded.begin(), folded.end(), folded.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))); });
  return folded;
}

// "C:\Out\plan.pdf" with n 2 gives "C:\Out\plan (2).pdf".
std::wstring Numbered(const std::wstring& path, int n) {
  const std::size_t slash = path.rfind(L'\\');
  const std::size_t dot = path.rfind(L'.');
  const std::size_t cut = dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash) ? dot : path.size();
  return path.substr(0, cut) + L" (" + std::to_wstring(n) + L")" + path.substr(cut);
}

// A list row holds one line: each run of line breaks becomes one space, and
// a break at the end (system messages end in one) goes.
std::wstring OneLine(const std::wstring& text) {
  std::wstring line;
  bool inBreak = false;
  for (wchar_t c : text) {
    const bool isBreak = c == L'\r' || c == L'\n';
    if (isBreak && !inBreak) line += L' ';
    if (!isBreak) line += c;
    inBreak = isBreak;
  }
  if (inBreak) line.pop_back();
  return line;
}

}  // namespace

std::wstring ResultWord(DrawingResult result) {
  switch (result) {
    case DrawingResult::kConverted: return L"converted";
    case DrawingResult::kFailed: return L"failed";
    case DrawingResult::kTimedOut: return L"timed out";
    case DrawingResult::kSkipped: return L"skipped";
    case DrawingResult::kWaiting: break;
  }
  return L"";
}

std::wstring ResultText(const DrawingOutcome& outcome) {
  if (outcome.result == DrawingResult::kWaiting) return L"waiting";
  std::wstring text = ResultWord(outcome.result);
  if (outcome.result == DrawingResult::kConverted) {
    for (std::size_t i = 0; i < outcome.files.size(); ++i) text += (i ? L"; " : L": ") + outcome.files[i];
    if (!outcome.message.empty()) text += L" - " + outcome.message;
    return OneLine(text);
  }
  if (outcome.step) text += L" at step " + std::to_wstring(outcome.step);
  if (!outcome.message.empty()) text += L": " + outcome.message;
  return OneLine(text);
}

std::wstring RunReportCsv(const std::vector<DrawingOutcome>& outcomes) {
  std::wstring csv = L"drawing,pdf,result,step,message,seconds\r\n";
  for (const DrawingOutcome& outcome : outcomes) {
    std::wstring files;
    for (const std::wstring& file : outcome.files) files += (files.empty() ? L"" : L"|") + file;
    csv += Field(outcome.drawing) + L"," + Field(files) + L"," + ResultWord(outcome.result) + L"," +
           (outcome.step ? std::to_wstring(outcome.step) : L"") + L"," + Field(outcome.message) + L"," +
           Seconds(outcome.seconds) + L"\r\n";
  }
  return csv;
}

std::wstring EndOfRunText(const std::vector<DrawingOutcome>& outcomes, const std::wstring& reportPath) {
  const auto converted = static_cast<std::size_t>(std::count_if(
      outcomes.begin(), outcomes.end(), [](const DrawingOutcome& o) { return o.result == DrawingResult::kConverted; }));
  const std::wstring where =
      reportPath.empty() ? L"The run report could not be written." : L"The run report is in:\r\n" + reportPath;
  if (converted == outcomes.size()) return reportPath.empty() ? L"Done.\r\n\r\n" + where : L"Done.";
  if (converted == 0) {
    return L"No drawing was converted (0 of " + std::to_wstring(outcomes.size()) + L").\r\n\r\n" + where;
  }
  return L"Done.\r\n\r\n" + std::to_wstring(converted) + L" of " + std::to_wstring(outcomes.size()) +
         L" drawings were converted.\r\n\r\n" + where;
}

std::wstring RunOutputPaths::Claim(const std::wstring& path) {
  const std::lock_guard lock(mutex_);
  std::wstring chosen = path;
  for (int n = 2; taken_.count(Folded(chosen)); ++n) chosen = Numbered(path, n);
  taken_.insert(Folded(chosen));
  return chosen;
}

}  // namespace pellacore
