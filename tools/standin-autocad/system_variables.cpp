#include "tools/standin-autocad/system_variables.h"

#include <algorithm>
#include <array>

namespace pellacore::standin {

namespace {

// AutoCAD's defaults. BACKGROUNDPLOT 2: plots in the background unless it
// is 0, as the stand-in takes it (docs/standin-autocad.md).
constexpr std::array kSystemVariables = {
    SystemVariableSpec{L"BACKGROUNDPLOT", false, 0, 3, 2, {}},
    SystemVariableSpec{L"CMDDIA", false, 0, 1, 1, {}},
    SystemVariableSpec{L"FILEDIA", false, 0, 1, 1, {}},
    SystemVariableSpec{L"FONTALT", true, 0, 0, 0, L"simplex.shx"},
    SystemVariableSpec{L"PLQUIET", false, 0, 1, 0, {}},
    SystemVariableSpec{L"PROXYNOTICE", false, 0, 1, 1, {}},
    SystemVariableSpec{L"PUBLISHCOLLATE", false, 0, 1, 1, {}},
    SystemVariableSpec{L"RECOVERAUTO", false, 0, 3, 0, {}},
};

bool SameNameIgnoringCase(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
           const auto upper = [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c; };
           return upper(x) == upper(y);
         });
}

}  // namespace

const SystemVariableSpec* FindSystemVariable(std::wstring_view name) {
  for (const SystemVariableSpec& spec : kSystemVariables) {
    if (SameNameIgnoringCase(spec.name, name)) return &spec;
  }
  return nullptr;
}

std::map<std::wstring, SystemVariableValue> DefaultSystemVariables() {
  std::map<std::wstring, SystemVariableValue> values;
  for (const SystemVariableSpec& spec : kSystemVariables) {
    values[std::wstring(spec.name)] = {spec.isText, spec.defaultNumber, std::wstring(spec.defaultText)};
  }
  return values;
}

std::optional<std::wstring> RefuseNumber(const SystemVariableSpec& spec, long number) {
  if (number >= spec.minimum && number <= spec.maximum) return std::nullopt;
  return L"Invalid value " + std::to_wstring(number) + L" for " + std::wstring(spec.name) + L": it takes " +
         std::to_wstring(spec.minimum) + L" to " + std::to_wstring(spec.maximum) + L".";
}

}  // namespace pellacore::standin
