#pragma once
// A settings store in memory, with a switch per operation that makes it fail.

#include <algorithm>
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
  std::vector<std::wstring> reads;  // the keys asked for, in order

  std::optional<std::wstring> Read(const std::wstring& key) override {
    reads.push_back(key);
    if (readFailure) throw *readFailure;
    auto value = values.find(key);
    if (value == values.end()) return std::nullopt;
    return value->second;
  }

  std::size_t ReadsOf(const std::wstring& key) const {
    return static_cast<std::size_t>(std::count(reads.begin(), reads.end(), key));
  }

  void Write(const std::wstring& key, const std::wstring& value) override {
    if (writeFailure) throw *writeFailure;
    writes.emplace_back(key, value);
    values[key] = value;
  }
};

}  // namespace pellacore::testing
