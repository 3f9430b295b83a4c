#pragma once
// A registry of the current user that keeps the values written and logs
// every call: "create <key> <access>", "set <name> <data> <length>", "close".

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace pellacore::testing {

class RecordingRegistry : public Registry {
 public:
  struct Value {
    std::string data;
    std::uint32_t length = 0;
  };
  std::vector<std::wstring> calls;
  // By key, then by value name.
  std::map<std::wstring, std::map<std::wstring, Value>> keys;
  bool refuseCreate = false;
  bool refuseSet = false;

  std::unique_ptr<RegistryKey> CreateCurrentUserKey(const std::wstring& subKey,
                                                    std::uint32_t access) override {
    calls.push_back(L"create " + subKey + L" " + std::to_wstring(access));
    if (refuseCreate) return nullptr;
    keys[subKey];
    return std::make_unique<Key>(*this, subKey);
  }

  // The value's data as the system would keep it: the bytes of its length.
  std::string Stored(const std::wstring& subKey, const std::wstring& name) const {
    const auto key = keys.find(subKey);
    if (key == keys.end()) return "<no key>";
    const auto value = key->second.find(name);
    if (value == key->second.end()) return "<no value>";
    return value->second.data.substr(0, value->second.length);
  }

 private:
  class Key : public RegistryKey {
   public:
    Key(RecordingRegistry& registry, std::wstring name) : registry_(registry), name_(std::move(name)) {}
    ~Key() override { registry_.calls.push_back(L"close"); }
    bool SetStringValue(const std::wstring& name, const std::string& data,
                        std::uint32_t length) override {
      registry_.calls.push_back(L"set " + name + L" " + std::wstring(data.begin(), data.end()) + L" " +
                                std::to_wstring(length));
      if (registry_.refuseSet) return false;
      registry_.keys[name_][name] = {data, length};
      return true;
    }

   private:
    RecordingRegistry& registry_;
    std::wstring name_;
  };
};

}  // namespace pellacore::testing
