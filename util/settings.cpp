#include "util/settings.h"

#include <algorithm>
#include <cstdint>
#include <cwctype>
#include <optional>

#include "platform/settings_store.h"
#include "util/failure.h"

namespace pellacore {
namespace {

std::wstring_view TrimBlanks(std::wstring_view text) {
  const std::size_t first = text.find_first_not_of(L' ');
  if (first == std::wstring_view::npos) return {};
  const std::size_t last = text.find_last_not_of(L' ');
  return text.substr(first, last - first + 1);
}

bool EqualsIgnoringCase(std::wstring_view text, std::wstring_view word) {
  if (text.size() != word.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (std::towlower(text[i]) != std::towlower(word[i])) return false;
  }
  return true;
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Parses [sign] digits [. digits] [(e|E) [sign] digits]; answers whether any
// digit of the mantissa is non-zero, or nullopt when the text is no number.
std::optional<bool> ParseNonZeroNumber(std::wstring_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) ++i;
  bool anyDigit = false;
  bool nonZero = false;
  auto digits = [&] {
    while (i < text.size() && IsDigit(text[i])) {
      anyDigit = true;
      nonZero = nonZero || text[i] != L'0';
      ++i;
    }
  };
  digits();
  if (i < text.size() && text[i] == L'.') {
    ++i;
    digits();
  }
  if (!anyDigit) return std::nullopt;
  if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
    ++i;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) ++i;
    const std::size_t exponentStart = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    if (i == exponentStart) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  return nonZero;
}

}  // namespace

std::wstring ReadSetting(SettingsStore& store, const std::wstring& key,
                         const std::wstring& fallback) {
  std::optional<std::wstring> value = store.Read(key);
  return value ? std::move(*value) : fallback;
}

bool SettingToBoolean(std::wstring_view text) {
  const std::wstring_view word = TrimBlanks(text);
  if (EqualsIgnoringCase(word, L"true")) return true;
  if (EqualsIgnoringCase(word, L"false")) return false;
  if (const std::optional<bool> number = ParseNonZeroNumber(word)) return *number;
  throw StandardFailure(failure_number::kTypeMismatch);
}

std::wstring BooleanSettingText(bool value) { return value ? L"True" : L"False"; }

PdfRouteChoice PdfRouteOf(std::wstring_view text) {
  return EqualsIgnoringCase(TrimBlanks(text), L"Plotter") ? PdfRouteChoice::kPlotter : PdfRouteChoice::kPrinter;
}

std::wstring PdfRouteText(PdfRouteChoice route) {
  return route == PdfRouteChoice::kPlotter ? L"Plotter" : L"Printer";
}

bool IsMonochromePlotStyle(std::wstring_view text) { return EqualsIgnoringCase(TrimBlanks(text), L"monochrome.ctb"); }

std::optional<int> TimeLimitSeconds(std::wstring_view text) {
  const std::wstring_view digits = TrimBlanks(text);
  if (digits.empty() || digits.size() > 5) return std::nullopt;
  int seconds = 0;
  for (wchar_t c : digits) {
    if (!IsDigit(c)) return std::nullopt;
    seconds = seconds * 10 + (c - L'0');
  }
  if (seconds < 1 || seconds > kMaxDrawingTimeLimit) return std::nullopt;
  return seconds;
}

std::optional<int> RecycleAfterCount(std::wstring_view text) {
  const std::wstring_view digits = TrimBlanks(text);
  if (digits.empty()) return std::nullopt;
  std::int64_t count = 0;
  for (wchar_t c : digits) {
    if (!IsDigit(c)) return std::nullopt;
    count = std::min<std::int64_t>(count * 10 + (c - L'0'), kMaxRecycleAfter);
  }
  if (count < 1) return std::nullopt;
  return static_cast<int>(count);
}

std::optional<int> ParallelInstanceCount(std::wstring_view text, int most) {
  const std::optional<int> count = RecycleAfterCount(text);
  if (!count || *count > most) return std::nullopt;
  return count;
}

}  // namespace pellacore
