#pragma once
// A settings store in memory, with a switch per operation that makes it fail.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/settings_store.h"
#include "util/failure.h"

namespace pellacore::testing {

class MemorySettingsStore : public SettingsStore {
 public:
  std::map<std::wstring, std::wstring> values;
  std::optional<Failure> readFailure;
  std::optional<Failure> writeFailure;
  std::vector<std::pair<std::wstring, std::wstring>> writes;

  std::optional<std::wstring> Read(const std::wstring& key) override {
    if (readFailure) throw *readFailure;
    auto value = values.find(key);
    if (value == values.end()) return std::nullopt;
    return value->second;
  }

  void Write(const std::wstring& key, const std::wstring& value) override {
    if (writeFailure) throw *writeFailure;
    writes.emplace_back(key, value);
    values[key] = value;
  }
};

}  // namespace pellacore::testing
