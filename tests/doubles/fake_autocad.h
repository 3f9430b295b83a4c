#pragma once
// AutoCAD's automation server as the program sees it: its instances, each
// with a main window and a process, listed as running (found by
// GetActiveObject) from start until their process ends, which after Quit
// takes `lingerMs` of the clock. Every call is logged as
// "<Object>.<Member> <get|put|call> (<TYPE value>, ...)", the form the
// stand-in server logs too; Export writes the bitmap into the memory file
// system. It fails as AutoCAD fails: no running instance, no creatable one,
// a drawing that does not open, any member failing, calls refused as busy,
// a member that never returns (the call thread sees it hang), a slow member,
// a process that dies inside a member.

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/automation.h"
#include "platform/processes.h"
#include "tests/doubles/fake_clock.h"
#include "tests/doubles/memory_file_system.h"
#include "util/failure.h"

namespace pellacore::testing {

// One AutoCAD process.
struct FakeInstance {
  int number = 0;  // 0 the user's, 1, 2, ... those created
  bool user = false;
  std::optional<std::int64_t> quitAt;  // clock time of Quit
  bool ended = false;                  // ended from outside, or died
  bool treeEnded = false;              // ended with EndTree
  std::vector<std::wstring> opened;    // the drawings opened in it, in order
  std::int64_t Window() const { return user ? 500 : 1000 + number; }
};

class FakeAutoCad : public Automation {
 public:
  explicit FakeAutoCad(MemoryFileSystem* fs = nullptr, FakeClock* clock = nullptr) : fs_(fs), clock_(clock) {
    user_->user = true;
  }

  std::vector<std::wstring> log;
  std::vector<std::wstring> released;  // object kinds, in the order they went
  int releasedAfterEnd = 0;             // of them, after their process had ended
  bool running = false;                 // an instance the user opened
  bool creatable = true;
  std::set<std::wstring> unopenable;
  bool exportWithoutFile = false;
  std::map<std::wstring, Failure> memberFailures;  // by member name
  int refuseNextCalls = 0;                         // answered "call rejected"
  std::set<std::wstring> hangIn;                   // members that never return
  std::set<std::wstring> hangOpening;              // drawings whose Open never returns
  std::set<std::wstring> crashIn;                  // members the process dies in
  std::map<std::wstring, int> delayMs;             // members that take this long
  int createDelayMs = 0;                           // a slow start
  bool createGivesRunning = false;                 // CreateObject answers with the last instance while it runs
  int lingerMs = 0;                                // from Quit to the process's end
  bool answersWindow = true;                       // whether HWND is a member
  bool* hangSignal = nullptr;                      // told when a call hangs
  // The drawing's layouts as Document.Layouts lists them ("Model" first);
  // what GetVariable answers, by name; PlotToFile's answer and whether it
  // writes the file; the media names the device offers; the extents.
  struct FakeLayout {
    std::wstring name;
    int tabOrder = 0;
    int blockCount = 0;
    std::wstring configName = L"None";
  };
  std::vector<FakeLayout> layouts{{L"Model", 0, 3, L"None"}, {L"Layout1", 1, 0, L"None"}};
  std::map<std::wstring, int> variables{
      {L"BACKGROUNDPLOT", 2}, {L"FILEDIA", 1}, {L"PLQUIET", 0}, {L"PROXYNOTICE", 1}, {L"RECOVERAUTO", 0}};
  bool plotAnswers = true;
  bool plotWritesFile = true;
  // As "DWG To PDF.pc3" lists them: each sheet both ways round.
  std::vector<std::wstring> mediaNames{
      L"ISO_full_bleed_A4_(210.00_x_297.00_MM)", L"ISO_full_bleed_A4_(297.00_x_210.00_MM)",
      L"ISO_full_bleed_A3_(297.00_x_420.00_MM)", L"ISO_full_bleed_A3_(420.00_x_297.00_MM)"};
  std::vector<double> extMin{0, 0, 0};
  std::vector<double> extMax{420, 297, 0};
  int created = 0;
  int attached = 0;
  int quits = 0;

  std::unique_ptr<AutomationObject> GetActiveObject(std::wstring_view progId) override {
    log.push_back(L"GetActiveObject " + std::wstring(progId));
    for (const auto& instance : Listed()) {
      ++attached;
      return Make(L"Application", instance);
    }
    throw Failure(static_cast<std::int32_t>(0x800401E3u), L"Operation unavailable");
  }
  std::unique_ptr<AutomationObject> CreateObject(std::wstring_view progId) override {
    log.push_back(L"CreateObject " + std::wstring(progId));
    if (!creatable) throw Failure(static_cast<std::int32_t>(0x800401F3u), L"Invalid class string");
    if (clock_) clock_->now += createDelayMs;
    // A server registered for many clients hands a running instance out again.
    if (createGivesRunning && !instances_.empty() && !HasEnded(*instances_.back())) {
      return Make(L"Application", instances_.back());
    }
    auto instance = std::make_shared<FakeInstance>();
    instance->number = ++created;
    instances_.push_back(instance);
    return Make(L"Application", instance);
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

  bool HasEnded(const FakeInstance& instance) const {
    if (instance.ended) return true;
    if (instance.user) return false;
    return instance.quitAt && Now() >= *instance.quitAt + lingerMs;
  }
  // The processes still there: the user's (when running) and those created.
  int LiveProcesses() const {
    int live = running && !HasEnded(*user_) ? 1 : 0;
    for (const auto& instance : instances_) live += HasEnded(*instance) ? 0 : 1;
    return live;
  }
  std::shared_ptr<FakeInstance> user() const { return user_; }
  std::shared_ptr<FakeInstance> Created(int number) const { return instances_.at(static_cast<std::size_t>(number - 1)); }
  std::shared_ptr<FakeInstance> ByWindow(std::int64_t window) const {
    if (running && window == user_->Window()) return user_;
    for (const auto& instance : instances_) {
      if (instance->Window() == window) return instance;
    }
    return nullptr;
  }
  std::int64_t Now() const { return clock_ ? clock_->now : 0; }

 private:
  // The running object table: every instance whose process is still there,
  // the user's first, a quit one until its process has gone.
  std::vector<std::shared_ptr<FakeInstance>> Listed() const {
    std::vector<std::shared_ptr<FakeInstance>> listed;
    if (running && !HasEnded(*user_)) listed.push_back(user_);
    for (const auto& instance : instances_) {
      if (!HasEnded(*instance)) listed.push_back(instance);
    }
    return listed;
  }

  class Object : public AutomationObject {
   public:
    Object(FakeAutoCad& server, std::wstring kind, std::shared_ptr<FakeInstance> instance)
        : server_(server), kind_(std::move(kind)), instance_(std::move(instance)) {}
    ~Object() override {
      server_.released.push_back(kind_);
      if (server_.HasEnded(*instance_)) ++server_.releasedAfterEnd;
    }
    const std::wstring& kind() const { return kind_; }

    void Put(std::wstring_view member, const AutomationArgument& value) override {
      server_.Enter(*instance_, kind_, member, L"put", {value});
    }
    std::unique_ptr<AutomationObject> GetProperty(std::wstring_view member) override {
      server_.Enter(*instance_, kind_, member, L"get", {});
      if (kind_ == L"Application" && member == L"Documents") return Make(L"Documents");
      if (kind_ == L"Application" && member == L"Application") return Make(L"Application");
      if (kind_ == L"Document" && member == L"SelectionSets") return Make(L"SelectionSets");
      if (kind_ == L"Document" && member == L"Layouts") return Make(L"Layouts");
      if (kind_ == L"Document" && member == L"Plot") return Make(L"Plot");
      if (kind_ == L"Layout" && member == L"Block") return MakeAt(L"Block", index_);
      throw Failure(static_cast<std::int32_t>(0x80020006u), L"Unknown name");
    }
    std::unique_ptr<AutomationObject> CallForObject(std::wstring_view member,
                                                    const AutomationArguments& arguments) override {
      server_.Enter(*instance_, kind_, member, L"call", arguments);
      if (kind_ == L"Documents" && member == L"Open") {
        if (server_.hangOpening.count(arguments.at(0).text)) {
          if (server_.hangSignal) *server_.hangSignal = true;
          throw Hung{};
        }
        if (server_.unopenable.count(arguments.at(0).text) ||
            (server_.fs_ && !server_.fs_->Has(arguments.at(0).text))) {
          throw Failure(static_cast<std::int32_t>(0x80020009u), L"Cannot open " + arguments.at(0).text);
        }
        instance_->opened.push_back(arguments.at(0).text);
        return Make(L"Document");
      }
      if (kind_ == L"SelectionSets" && member == L"add") return Make(L"SelectionSet");
      if (kind_ == L"Layouts" && member == L"Item") {
        const auto at = static_cast<std::size_t>(arguments.at(0).shortValue);
        if (at >= server_.layouts.size()) throw Failure(static_cast<std::int32_t>(0x80070057u), L"Invalid argument");
        return MakeAt(L"Layout", at);
      }
      throw Failure(static_cast<std::int32_t>(0x80020006u), L"Unknown name");
    }
    void Call(std::wstring_view member, const AutomationArguments& arguments) override {
      server_.Enter(*instance_, kind_, member, L"call", arguments);
      if (kind_ == L"Document" && member == L"Export" && server_.fs_ && !server_.exportWithoutFile) {
        server_.fs_->AddFile(arguments.at(0).text + L".bmp");
      }
      if (kind_ == L"Application" && member == L"Quit") {
        ++server_.quits;
        instance_->quitAt = server_.Now();
      }
      if (kind_ == L"Document" && member == L"SetVariable") {
        server_.variables[arguments.at(0).text] = arguments.at(1).shortValue;
      }
    }
    std::int64_t GetInteger(std::wstring_view member) override {
      server_.Enter(*instance_, kind_, member, L"get", {});
      if (kind_ == L"Application" && member == L"HWND" && server_.answersWindow) return instance_->Window();
      if (kind_ == L"Layouts" && member == L"Count") return static_cast<std::int64_t>(server_.layouts.size());
      if (kind_ == L"Layout" && member == L"TabOrder") return server_.layouts.at(index_).tabOrder;
      if (kind_ == L"Block" && member == L"Count") return server_.layouts.at(index_).blockCount;
      throw Failure(static_cast<std::int32_t>(0x80020006u), L"Unknown name");
    }
    std::wstring GetText(std::wstring_view member) override {
      server_.Enter(*instance_, kind_, member, L"get", {});
      if (kind_ == L"Layout" && member == L"Name") return server_.layouts.at(index_).name;
      if (kind_ == L"Layout" && member == L"ConfigName") return server_.layouts.at(index_).configName;
      throw Failure(static_cast<std::int32_t>(0x80020006u), L"Unknown name");
    }
    std::int64_t CallForInteger(std::wstring_view member, const AutomationArguments& arguments) override {
      server_.Enter(*instance_, kind_, member, L"call", arguments);
      if (kind_ == L"Document" && member == L"GetVariable") return server_.variables.at(arguments.at(0).text);
      if (kind_ == L"Plot" && member == L"PlotToFile") {
        if (server_.fs_ && server_.plotWritesFile) {
          if (server_.fs_->Has(arguments.at(0).text)) {
            throw Failure(static_cast<std::int32_t>(0x80020009u), L"File exists: " + arguments.at(0).text);
          }
          server_.fs_->AddFile(arguments.at(0).text);
        }
        return server_.plotAnswers ? -1 : 0;
      }
      throw Failure(static_cast<std::int32_t>(0x80020006u), L"Unknown name");
    }
    std::vector<std::wstring> CallForTexts(std::wstring_view member, const AutomationArguments& arguments) override {
      server_.Enter(*instance_, kind_, member, L"call", arguments);
      if (kind_ == L"Layout" && member == L"GetCanonicalMediaNames") return server_.mediaNames;
      throw Failure(static_cast<std::int32_t>(0x80020006u), L"Unknown name");
    }
    std::vector<double> CallForNumbers(std::wstring_view member, const AutomationArguments& arguments) override {
      server_.Enter(*instance_, kind_, member, L"call", arguments);
      if (kind_ == L"Document" && member == L"GetVariable" && arguments.at(0).text == L"EXTMIN") return server_.extMin;
      if (kind_ == L"Document" && member == L"GetVariable" && arguments.at(0).text == L"EXTMAX") return server_.extMax;
      throw Failure(static_cast<std::int32_t>(0x80020006u), L"Unknown name");
    }
    // Which layout a Layout or Block object is.
    std::size_t index_ = 0;

   private:
    std::unique_ptr<AutomationObject> Make(const std::wstring& kind) { return server_.Make(kind, instance_); }
    std::unique_ptr<AutomationObject> MakeAt(const std::wstring& kind, std::size_t index) {
      auto made = std::make_unique<Object>(server_, kind, instance_);
      made->index_ = index;
      return made;
    }

    FakeAutoCad& server_;
    std::wstring kind_;
    std::shared_ptr<FakeInstance> instance_;
  };

  // What a hung call throws to leave the fake; the call thread has been
  // told, so nothing reads this.
  struct Hung {};

  std::unique_ptr<AutomationObject> Make(const std::wstring& kind, std::shared_ptr<FakeInstance> instance) {
    return std::make_unique<Object>(*this, kind, std::move(instance));
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
      case AutomationArgument::Type::kObject: {
        auto* object = dynamic_cast<Object*>(argument.object);
        return L"VT_DISPATCH " + (object ? object->kind() : std::wstring(L"?"));
      }
      case AutomationArgument::Type::kObjectByRef: {
        auto* object = dynamic_cast<Object*>(argument.object);
        return L"VT_DISPATCH|VT_BYREF " + (object ? object->kind() : std::wstring(L"?"));
      }
    }
    return L"?";
  }

  void Enter(FakeInstance& instance, const std::wstring& kind, std::wstring_view member, const wchar_t* how,
             const AutomationArguments& arguments) {
    const std::wstring name = kind + L"." + std::wstring(member);
    if (HasEnded(instance)) {
      log.push_back(name + L" server gone");
      throw Failure(automation_code::kServerUnavailable, L"The RPC server is unavailable.");
    }
    if (instance.quitAt) {
      log.push_back(name + L" disconnected");
      throw Failure(automation_code::kDisconnected, L"The object invoked has disconnected from its clients.");
    }
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
    const std::wstring memberName(member);
    if (auto delay = delayMs.find(memberName); delay != delayMs.end() && clock_) clock_->now += delay->second;
    if (hangIn.count(memberName)) {
      if (hangSignal) *hangSignal = true;
      throw Hung{};
    }
    if (crashIn.count(memberName)) {
      instance.ended = true;
      throw Failure(automation_code::kCallFailed, L"The remote procedure call failed.");
    }
    if (auto failure = memberFailures.find(memberName); failure != memberFailures.end()) {
      throw failure->second;
    }
  }

  MemoryFileSystem* fs_;
  FakeClock* clock_;
  std::shared_ptr<FakeInstance> user_ = std::make_shared<FakeInstance>();
  std::vector<std::shared_ptr<FakeInstance>> instances_;
};

// The processes behind the fake's windows.
class FakeAutoCadProcesses : public Processes {
 public:
  explicit FakeAutoCadProcesses(FakeAutoCad& autocad) : autocad_(autocad) {}
  std::vector<std::int64_t> endedTrees;  // the windows of the instances ended

  std::unique_ptr<Process> OwnerOfWindow(std::int64_t window) override {
    std::shared_ptr<FakeInstance> instance = autocad_.ByWindow(window);
    if (!instance) throw Failure(1400, L"Invalid window handle.");
    return std::make_unique<OneProcess>(*this, std::move(instance));
  }

 private:
  class OneProcess : public Process {
   public:
    OneProcess(FakeAutoCadProcesses& owner, std::shared_ptr<FakeInstance> instance)
        : owner_(owner), instance_(std::move(instance)) {}
    std::uint32_t Id() const override { return static_cast<std::uint32_t>(100 + instance_->number); }
    std::int64_t StartTime() const override { return instance_->number; }
    bool HasEnded() override { return owner_.autocad_.HasEnded(*instance_); }
    void EndTree() override {
      owner_.endedTrees.push_back(instance_->Window());
      instance_->ended = true;
      instance_->treeEnded = true;
    }

   private:
    FakeAutoCadProcesses& owner_;
    std::shared_ptr<FakeInstance> instance_;
  };

  FakeAutoCad& autocad_;
};

}  // namespace pellacore::testing
