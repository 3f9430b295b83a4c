#pragma once
// AutoCAD's automation server as the program sees it: its objects, each call
// logged as "<Object>.<Member> <get|put|call> (<TYPE value>, ...)", the form
// the stand-in server logs too. Export writes the bitmap into the memory
// file system. Failures: no running instance, no creatable one, a drawing
// that does not open, an export without a file, any member failing, and the
// next N calls refused as busy.

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/automation.h"
#include "tests/doubles/memory_file_system.h"
#include "util/failure.h"

namespace pellacore::testing {

class FakeAutoCad : public Automation {
 public:
  explicit FakeAutoCad(MemoryFileSystem* fs = nullptr) : fs_(fs) {}

  std::vector<std::wstring> log;
  std::vector<std::wstring> released;  // object kinds, in the order they went
  bool running = false;                 // an instance the user opened
  bool creatable = true;
  std::set<std::wstring> unopenable;
  bool exportWithoutFile = false;
  std::map<std::wstring, Failure> memberFailures;  // by member name
  int refuseNextCalls = 0;                         // answered "call rejected"
  int created = 0;
  int attached = 0;
  int quits = 0;

  std::unique_ptr<AutomationObject> GetActiveObject(std::wstring_view progId) override {
    log.push_back(L"GetActiveObject " + std::wstring(progId));
    if (!running) throw Failure(static_cast<std::int32_t>(0x800401E3u), L"Operation unavailable");
    ++attached;
    return Make(L"Application");
  }
  std::unique_ptr<AutomationObject> CreateObject(std::wstring_view progId) override {
    log.push_back(L"CreateObject " + std::wstring(progId));
    if (!creatable) throw Failure(static_cast<std::int32_t>(0x800401F3u), L"Invalid class string");
    ++created;
    return Make(L"Application");
  }

  // The member calls only, without the instance's getting.
  std::vector<std::wstring> MemberCalls() const {
    std::vector<std::wstring> calls;
    for (const std::wstring& line : log) {
      if (line.find(L'.') != std::wstring::npos && !line.starts_with(L"GetActiveObject") &&
          !line.starts_with(L"CreateObject")) {
        calls.push_back(line);
      }
    }
    return calls;
  }

 private:
  class Object : public AutomationObject {
   public:
    Object(FakeAutoCad& server, std::wstring kind) : server_(server), kind_(std::move(kind)) {}
    ~Object() override { server_.released.push_back(kind_); }
    const std::wstring& kind() const { return kind_; }

    void Put(std::wstring_view member, const AutomationArgument& value) override {
      server_.Enter(kind_, member, L"put", {value});
    }
    std::unique_ptr<AutomationObject> GetProperty(std::wstring_view member) override {
      server_.Enter(kind_, member, L"get", {});
      if (kind_ == L"Application" && member == L"Documents") return server_.Make(L"Documents");
      if (kind_ == L"Application" && member == L"Application") return server_.Make(L"Application");
      if (kind_ == L"Document" && member == L"SelectionSets") return server_.Make(L"SelectionSets");
      throw Failure(static_cast<std::int32_t>(0x80020006u), L"Unknown name");
    }
    std::unique_ptr<AutomationObject> CallForObject(std::wstring_view member,
                                                    const AutomationArguments& arguments) override {
      server_.Enter(kind_, member, L"call", arguments);
      if (kind_ == L"Documents" && member == L"Open") {
        if (server_.unopenable.count(arguments.at(0).text) ||
            (server_.fs_ && !server_.fs_->Has(arguments.at(0).text))) {
          throw Failure(static_cast<std::int32_t>(0x80020009u), L"Cannot open " + arguments.at(0).text);
        }
        return server_.Make(L"Document");
      }
      if (kind_ == L"SelectionSets" && member == L"add") return server_.Make(L"SelectionSet");
      throw Failure(static_cast<std::int32_t>(0x80020006u), L"Unknown name");
    }
    void Call(std::wstring_view member, const AutomationArguments& arguments) override {
      server_.Enter(kind_, member, L"call", arguments);
      if (kind_ == L"Document" && member == L"Export" && server_.fs_ && !server_.exportWithoutFile) {
        server_.fs_->AddFile(arguments.at(0).text + L".bmp");
      }
      if (kind_ == L"Application" && member == L"Quit") ++server_.quits;
    }
    std::int64_t GetInteger(std::wstring_view member) override {
      server_.Enter(kind_, member, L"get", {});
      throw Failure(static_cast<std::int32_t>(0x80020006u), L"Unknown name");
    }

   private:
    FakeAutoCad& server_;
    std::wstring kind_;
  };

  std::unique_ptr<AutomationObject> Make(const std::wstring& kind) {
    return std::make_unique<Object>(*this, kind);
  }

  static std::wstring Describe(const AutomationArgument& argument) {
    switch (argument.type) {
      case AutomationArgument::Type::kShort:
        return L"VT_I2 " + std::to_wstring(argument.shortValue);
      case AutomationArgument::Type::kBoolean:
        return argument.boolean ? L"VT_BOOL true" : L"VT_BOOL false";
      case AutomationArgument::Type::kString:
        return L"VT_BSTR " + argument.text;
      case AutomationArgument::Type::kStringByRef:
        return L"VT_BSTR|VT_BYREF " + argument.text;
      case AutomationArgument::Type::kObjectByRef: {
        auto* object = dynamic_cast<Object*>(argument.object);
        return L"VT_DISPATCH|VT_BYREF " + (object ? object->kind() : std::wstring(L"?"));
      }
    }
    return L"?";
  }

  void Enter(const std::wstring& kind, std::wstring_view member, const wchar_t* how,
             const AutomationArguments& arguments) {
    const std::wstring name = kind + L"." + std::wstring(member);
    if (refuseNextCalls > 0) {
      --refuseNextCalls;
      log.push_back(name + L" rejected");
      throw Failure(automation_code::kCallRejected, L"Call was rejected by callee.");
    }
    std::wstring line = name + L" " + how + L" (";
    for (std::size_t i = 0; i < arguments.size(); ++i) {
      line += (i ? L", " : L"") + Describe(arguments[i]);
    }
    log.push_back(line + L")");
    if (auto failure = memberFailures.find(std::wstring(member)); failure != memberFailures.end()) {
      throw failure->second;
    }
  }

  MemoryFileSystem* fs_;
};

}  // namespace pellacore::testing
