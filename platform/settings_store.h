#pragma once
// Port: the per-user store of the program's remembered choices, text values
// by key under one fixed application name and section.

#include <optional>
#include <string>

namespace pellacore {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // The stored text, or nullopt when the key is absent (an empty value is
  // not absent). Raises a Failure when the store cannot be read.
  virtual std::optional<std::wstring> Read(const std::wstring& key) = 0;

  // Stores the text, replacing any earlier value, before returning.
  // Raises a Failure when the store cannot be written.
  virtual void Write(const std::wstring& key, const std::wstring& value) = 0;
};

}  // namespace pellacore
