#pragma once
// The system variables the stand-in keeps, each instance its own table
// starting from AutoCAD's defaults: what SetVariable may change and
// GetVariable reads back, so a test sees whether a client put back what it
// changed in a user's instance. Portable.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace pellacore::standin {

struct SystemVariableValue {
  bool isText = false;
  long number = 0;    // integers, answered as VT_I2
  std::wstring text;  // texts, answered as VT_BSTR
  bool operator==(const SystemVariableValue&) const = default;
};

struct SystemVariableSpec {
  std::wstring_view name;  // canonical, upper case
  bool isText = false;
  long minimum = 0;
  long maximum = 0;
  long defaultNumber = 0;
  std::wstring_view defaultText;
};

// The variable of that name (any case), or nullptr for one the stand-in
// does not know.
const SystemVariableSpec* FindSystemVariable(std::wstring_view name);

// A fresh instance's values, keyed by canonical name.
std::map<std::wstring, SystemVariableValue> DefaultSystemVariables();

// Why `number` cannot be the value of `spec`; none when it can.
std::optional<std::wstring> RefuseNumber(const SystemVariableSpec& spec, long number);

}  // namespace pellacore::standin
