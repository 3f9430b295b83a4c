#include "tools/standin-autocad/member_delays.h"

#include <optional>

namespace pellacore::standin {

namespace {

std::wstring_view Trimmed(std::wstring_view text) {
  while (!text.empty() && (text.front() == L' ' || text.front() == L'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == L' ' || text.back() == L'\t')) text.remove_suffix(1);
  return text;
}

// Member names are ASCII.
bool SameName(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Digits only, and no more than a day: anything else is not a delay.
std::optional<unsigned long> Milliseconds(std::wstring_view text) {
  constexpr unsigned long kMost = 24ul * 60 * 60 * 1000;
  text = Trimmed(text);
  if (text.empty()) return std::nullopt;
  unsigned long value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + static_cast<unsigned long>(c - L'0');
    if (value > kMost) return std::nullopt;
  }
  return value;
}

}  // namespace

unsigned long MemberDelay(std::wstring_view setting, std::wstring_view member) {
  unsigned long others = 0;
  while (!setting.empty()) {
    const std::size_t comma = setting.find(L',');
    const std::wstring_view entry = setting.substr(0, comma);
    setting = comma == std::wstring_view::npos ? std::wstring_view{} : setting.substr(comma + 1);
    const std::size_t equals = entry.find(L'=');
    if (equals == std::wstring_view::npos) {
      if (const auto value = Milliseconds(entry)) others = *value;
      continue;
    }
    if (!SameName(Trimmed(entry.substr(0, equals)), member)) continue;
    if (const auto value = Milliseconds(entry.substr(equals + 1))) return *value;
  }
  return others;
}

}  // namespace pellacore::standin
