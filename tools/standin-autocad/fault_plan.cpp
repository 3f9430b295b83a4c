#include "tools/standin-autocad/fault_plan.h"

namespace pellacore::standin {

namespace {

std::vector<std::wstring_view> SplitAt(std::wstring_view text, wchar_t separator) {
  std::vector<std::wstring_view> pieces;
  for (;;) {
    const std::size_t at = text.find(separator);
    pieces.push_back(text.substr(0, at));
    if (at == std::wstring_view::npos) return pieces;
    text.remove_prefix(at + 1);
  }
}

bool SamePath(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

std::vector<PlanLine> ParseFaultPlan(std::wstring_view text) {
  std::vector<PlanLine> plan;
  for (std::wstring_view line : SplitAt(text, L'\n')) {
    if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
    if (!line.empty() && line.front() == L'\xFEFF') line.remove_prefix(1);
    if (line.empty() || line.front() == L'#') continue;
    const std::vector<std::wstring_view> fields = SplitAt(line, L'\t');
    PlanLine entry{std::wstring(fields.front()), {}};
    for (std::size_t i = 1; i < fields.size(); ++i) {
      // The value may hold "=" itself (DelayMs entries): only the first one splits.
      const std::size_t equals = fields[i].find(L'=');
      if (equals == 0 || equals == std::wstring_view::npos) continue;
      entry.switches.push_back({std::wstring(fields[i].substr(0, equals)), std::wstring(fields[i].substr(equals + 1))});
    }
    plan.push_back(std::move(entry));
  }
  return plan;
}

std::wstring FaultPlanLine(const PlanLine& line) {
  std::wstring text = line.drawing;
  for (const PlanSwitch& one : line.switches) text += L"\t" + one.name + L"=" + one.value;
  return text;
}

const PlanLine* PlanLineFor(const std::vector<PlanLine>& plan, const std::vector<std::wstring>& asked) {
  for (auto drawing = asked.rbegin(); drawing != asked.rend(); ++drawing) {
    for (const PlanLine& line : plan) {
      if (SamePath(line.drawing, *drawing)) return &line;
    }
  }
  return nullptr;
}

}  // namespace pellacore::standin
