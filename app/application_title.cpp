#include "app/application_title.h"

#include "util/text.h"

namespace pellacore {

std::wstring ApplicationTitleFor(std::wstring_view productName) {
  std::wstring_view title = productName;
  do {
    const std::size_t blank = title.rfind(L' ');
    if (blank == std::wstring_view::npos) break;
    title = title.substr(0, blank);
  } while (Utf16Length(title) > kApplicationTitleLimit);
  // A long name without blanks: keep what fits.
  while (Utf16Length(title) > kApplicationTitleLimit) title.remove_suffix(1);
  return std::wstring(title);
}

}  // namespace pellacore
