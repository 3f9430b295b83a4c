#pragma once
// Port: late-bound automation (COM's IDispatch): objects found or created by
// their programmatic identifier, their members called by name. Every
// operation raises a pellacore::Failure with the server's code and
// description when it fails; releasing an object is destroying it.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pellacore {

class AutomationObject;

// One argument of a member call, with the type the server receives.
struct AutomationArgument {
  enum class Type { kShort, kBoolean, kString, kStringByRef, kObjectByRef, kObject };
  Type type = Type::kShort;
  std::int16_t shortValue = 0;
  bool boolean = false;
  std::wstring text;
  AutomationObject* object = nullptr;

  static AutomationArgument Short(std::int16_t value) {
    AutomationArgument argument;
    argument.shortValue = value;
    return argument;
  }
  static AutomationArgument Boolean(bool value) {
    AutomationArgument argument;
    argument.type = Type::kBoolean;
    argument.boolean = value;
    return argument;
  }
  static AutomationArgument String(std::wstring value) {
    AutomationArgument argument;
    argument.type = Type::kString;
    argument.text = std::move(value);
    return argument;
  }
  // By reference: the server may write into it; the caller does not read it.
  static AutomationArgument StringByRef(std::wstring value) {
    AutomationArgument argument = String(std::move(value));
    argument.type = Type::kStringByRef;
    return argument;
  }
  static AutomationArgument ObjectByRef(AutomationObject& value) {
    AutomationArgument argument;
    argument.type = Type::kObjectByRef;
    argument.object = &value;
    return argument;
  }
  // By value: the server keeps its own reference (a property set to an object).
  static AutomationArgument Object(AutomationObject& value) {
    AutomationArgument argument = ObjectByRef(value);
    argument.type = Type::kObject;
    return argument;
  }
};

using AutomationArguments = std::vector<AutomationArgument>;

class AutomationObject {
 public:
  virtual ~AutomationObject() = default;
  // Sets a property.
  virtual void Put(std::wstring_view member, const AutomationArgument& value) = 0;
  // Reads a property that holds an object. (Not "GetObject": windows.h
  // makes that name a macro.)
  virtual std::unique_ptr<AutomationObject> GetProperty(std::wstring_view member) = 0;
  // Calls a method that answers an object.
  virtual std::unique_ptr<AutomationObject> CallForObject(std::wstring_view member,
                                                          const AutomationArguments& arguments) = 0;
  // Calls a method, ignoring what it answers.
  virtual void Call(std::wstring_view member, const AutomationArguments& arguments) = 0;
  // Reads a property that holds a whole number (a window handle, a count).
  virtual std::int64_t GetInteger(std::wstring_view member) = 0;
  // Reads a property that holds text.
  virtual std::wstring GetText(std::wstring_view member) = 0;
  // Calls a method that answers a whole number or a Boolean (true is -1).
  virtual std::int64_t CallForInteger(std::wstring_view member, const AutomationArguments& arguments) = 0;
  // Calls a method that answers an array of texts.
  virtual std::vector<std::wstring> CallForTexts(std::wstring_view member, const AutomationArguments& arguments) = 0;
  // Calls a method that answers an array of numbers (a point).
  virtual std::vector<double> CallForNumbers(std::wstring_view member, const AutomationArguments& arguments) = 0;
};

class Automation {
 public:
  virtual ~Automation() = default;
  // The running object registered for the class, if any; raises otherwise.
  virtual std::unique_ptr<AutomationObject> GetActiveObject(std::wstring_view progId) = 0;
  // A new object of the class, on the local machine.
  virtual std::unique_ptr<AutomationObject> CreateObject(std::wstring_view progId) = 0;
};

}  // namespace pellacore

namespace pellacore::automation_code {
// Codes a busy server answers with: the call may succeed when made again.
inline constexpr long kCallRejected = static_cast<std::int32_t>(0x80010001u);
inline constexpr long kRetryLater = static_cast<std::int32_t>(0x8001010Au);
// Codes of a server that has gone: every later call on its objects fails too.
inline constexpr long kServerUnavailable = static_cast<std::int32_t>(0x800706BAu);  // RPC_S_SERVER_UNAVAILABLE
inline constexpr long kDisconnected = static_cast<std::int32_t>(0x80010108u);       // RPC_E_DISCONNECTED
inline constexpr long kCallFailed = static_cast<std::int32_t>(0x800706BEu);         // RPC_S_CALL_FAILED
// A call that did not return within the time the program gives it
// (HRESULT_FROM_WIN32(ERROR_TIMEOUT)).
inline constexpr long kTimedOut = static_cast<std::int32_t>(0x800705B4u);
}  // namespace pellacore::automation_code
