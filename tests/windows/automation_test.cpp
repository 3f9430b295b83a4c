// Late-bound automation against a server inside the test program: what
// arrives at the server, and the failures the program sees.

#include <windows.h>

#include <oleauto.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/windows/recording_automation_server.h"
#include "util/failure.h"
#include "win32/com_failure.h"
#include "win32/com_resource.h"
#include "win32/ole_session.h"
#include "win32/unique_resource.h"
#include "win32/win32_automation.h"
#include "win32/win32_failure.h"

namespace pellacore {
namespace {

using testing::CallLog;
using testing::RecordingClassFactory;
using testing::RecordingObject;

constexpr wchar_t kProgId[] = L"Pellacore.TestServer";
// Wine's COM reads classes from HKLM only: a per-user registration under
// HKCU\Software\Classes is not found there.
constexpr wchar_t kProgIdKey[] = L"Software\\Classes\\Pellacore.TestServer";
constexpr wchar_t kClassIdText[] = L"{6C1A3F52-8E4B-4D7A-9B21-3F5E0C7D9A41}";
constexpr CLSID kClassId = {0x6C1A3F52, 0x8E4B, 0x4D7A, {0x9B, 0x21, 0x3F, 0x5E, 0x0C, 0x7D, 0x9A, 0x41}};

std::wstring Hex(HRESULT code) {
  wchar_t text[16];
  std::swprintf(text, std::size(text), L"0x%08lX", static_cast<unsigned long>(code));
  return text;
}

class NotAComObject : public AutomationObject {
 public:
  void Put(std::wstring_view, const AutomationArgument&) override {}
  std::unique_ptr<AutomationObject> GetProperty(std::wstring_view) override { return nullptr; }
  std::unique_ptr<AutomationObject> CallForObject(std::wstring_view, const AutomationArguments&) override {
    return nullptr;
  }
  void Call(std::wstring_view, const AutomationArguments&) override {}
  std::int64_t GetInteger(std::wstring_view) override { return 0; }
  std::wstring GetText(std::wstring_view) override { return {}; }
  std::int64_t CallForInteger(std::wstring_view, const AutomationArguments&) override { return 0; }
  std::vector<std::wstring> CallForTexts(std::wstring_view, const AutomationArguments&) override { return {}; }
  std::vector<double> CallForNumbers(std::wstring_view, const AutomationArguments&) override { return {}; }
};

class Win32AutomationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kProgIdKey);
    win32::UniqueHkey key;
    const std::wstring classIdKey = std::wstring(kProgIdKey) + L"\\CLSID";
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, classIdKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                key.put(), nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExW(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kClassIdText),
                     sizeof(kClassIdText));
  }
  void TearDown() override {
    if (activeCookie_) ::RevokeActiveObject(activeCookie_, nullptr);
    if (classCookie_) ::CoRevokeClassObject(classCookie_);
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kProgIdKey);
  }

  // The application object, running where GetActiveObject finds it.
  std::unique_ptr<AutomationObject> RunningApplication() {
    const HRESULT registered =
        ::RegisterActiveObject(application_.get(), kClassId, ACTIVEOBJECT_STRONG, &activeCookie_);
    if (FAILED(registered)) {
      ADD_FAILURE() << "RegisterActiveObject: " << Hex(registered);
      return nullptr;
    }
    return automation.GetActiveObject(kProgId);
  }

  RecordingClassFactory* RegisterClassObject() {
    auto* factory = new RecordingClassFactory(log);
    factory_.reset(factory);
    EXPECT_EQ(
        ::CoRegisterClassObject(kClassId, factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &classCookie_),
        S_OK);
    return factory;
  }

  // The failure an operation raises; a failure with number 0 when none.
  static Failure FailureOf(const std::function<void()>& operation) {
    try {
      operation();
    } catch (const Failure& failure) {
      return failure;
    }
    return Failure(0, L"no failure");
  }

  win32::OleSession ole_;  // first: COM outlives everything below
  std::shared_ptr<CallLog> log = std::make_shared<CallLog>();
  win32::ComPtr<RecordingObject> application_{new RecordingObject(L"Application", log)};
  win32::ComPtr<RecordingClassFactory> factory_;
  DWORD activeCookie_ = 0;
  DWORD classCookie_ = 0;
  win32::Win32Automation automation;
};

TEST_F(Win32AutomationTest, PutIsAPropertyPutOfItsNamedValue) {
  const auto application = RunningApplication();
  ASSERT_NE(application, nullptr);
  application->Put(L"Visible", AutomationArgument::Short(3));
  application->Put(L"visible", AutomationArgument::Boolean(true));
  ASSERT_EQ(log->size(), 2u);
  const auto& put = (*log)[0];
  EXPECT_EQ(put.object, L"Application");
  EXPECT_EQ(put.member, L"Visible");
  EXPECT_EQ(put.flags, DISPATCH_PROPERTYPUT);
  EXPECT_EQ(put.namedArguments, std::vector<DISPID>{DISPID_PROPERTYPUT});
  ASSERT_EQ(put.arguments.size(), 1u);
  EXPECT_EQ(put.arguments[0].type, VT_I2);
  EXPECT_EQ(put.arguments[0].number, 3);
  ASSERT_EQ((*log)[1].arguments.size(), 1u);
  EXPECT_EQ((*log)[1].arguments[0].type, VT_BOOL);
  EXPECT_EQ((*log)[1].arguments[0].number, VARIANT_TRUE);
}

TEST_F(Win32AutomationTest, CallSendsTheArgumentsLeftToRightWithTheirTypes) {
  const auto application = RunningApplication();
  ASSERT_NE(application, nullptr);
  const auto documents = application->GetProperty(L"Documents");
  log->clear();
  application->Call(L"Export", {AutomationArgument::StringByRef(L"C:\\Out\\Plan.bmp"),
                                AutomationArgument::String(L"all"),
                                AutomationArgument::ObjectByRef(*documents),
                                AutomationArgument::Boolean(false),
                                AutomationArgument::Short(-2)});
  ASSERT_EQ(log->size(), 1u);
  const auto& call = (*log)[0];
  EXPECT_EQ(call.flags, DISPATCH_METHOD);
  EXPECT_TRUE(call.namedArguments.empty());
  ASSERT_EQ(call.arguments.size(), 5u);
  EXPECT_EQ(call.arguments[0].type, VT_BSTR | VT_BYREF);
  EXPECT_EQ(call.arguments[0].text, L"C:\\Out\\Plan.bmp");
  EXPECT_EQ(call.arguments[1].type, VT_BSTR);
  EXPECT_EQ(call.arguments[1].text, L"all");
  EXPECT_EQ(call.arguments[2].type, VT_DISPATCH | VT_BYREF);
  const IDispatch* passed = call.arguments[2].object;
  EXPECT_EQ(call.arguments[3].type, VT_BOOL);
  EXPECT_EQ(call.arguments[3].number, VARIANT_FALSE);
  EXPECT_EQ(call.arguments[4].type, VT_I2);
  EXPECT_EQ(call.arguments[4].number, -2);

  // The object passed by reference is the one the program holds.
  documents->Call(L"Close", {});
  EXPECT_EQ(log->back().object, L"Documents");
  EXPECT_EQ(log->back().receiver, passed);
}

TEST_F(Win32AutomationTest, ObjectsAnsweredAsDispatchOrUnknownAreUsable) {
  const auto application = RunningApplication();
  ASSERT_NE(application, nullptr);
  const auto documents = application->GetProperty(L"Documents");
  ASSERT_NE(documents, nullptr);
  EXPECT_EQ(log->back().flags, DISPATCH_PROPERTYGET | DISPATCH_METHOD);
  const auto drawing = documents->CallForObject(L"Open", {AutomationArgument::String(L"C:\\Plan.dwg")});
  ASSERT_NE(drawing, nullptr);
  EXPECT_EQ(log->back().object, L"Documents");
  EXPECT_EQ(log->back().flags, DISPATCH_METHOD);
  drawing->Call(L"Close", {AutomationArgument::Boolean(false)});
  EXPECT_EQ(log->back().object, L"Drawing");
  EXPECT_EQ(log->back().member, L"Close");

  const Failure notAnObject = FailureOf([&] { application->GetProperty(L"Count"); });
  EXPECT_EQ(notAnObject.number(), 424);
  EXPECT_EQ(notAnObject.description(), L"Object required");
}

TEST_F(Win32AutomationTest, AnObjectByReferenceMustBeAnAutomationObject) {
  const auto application = RunningApplication();
  ASSERT_NE(application, nullptr);
  NotAComObject other;
  const Failure failure =
      FailureOf([&] { application->Call(L"Export", {AutomationArgument::ObjectByRef(other)}); });
  EXPECT_EQ(failure.number(), failure_number::kTypeMismatch);
  EXPECT_TRUE(log->empty());
}

TEST_F(Win32AutomationTest, ServerFailuresCarryTheirCodesAndTexts) {
  const auto application = RunningApplication();
  ASSERT_NE(application, nullptr);

  const Failure unknown = FailureOf([&] { application->Call(L"Frobnicate", {}); });
  EXPECT_EQ(unknown.number(), DISP_E_UNKNOWNNAME);
  EXPECT_NE(unknown.description().find(L"0x80020006"), std::wstring::npos) << unknown.description().c_str();

  // The details that the server fills in only when asked.
  const Failure deferred = FailureOf([&] { application->Call(L"Fail", {}); });
  EXPECT_EQ(deferred.number(), RecordingObject::kExceptionCode);
  EXPECT_EQ(deferred.description(), RecordingObject::kExceptionText);

  const Failure bare = FailureOf([&] { application->Call(L"FailBare", {}); });
  EXPECT_EQ(bare.number(), RecordingObject::kExceptionCode);
  EXPECT_NE(bare.description().find(L"0x80041234"), std::wstring::npos) << bare.description().c_str();

  const Failure rejected = FailureOf([&] { application->Call(L"Reject", {}); });
  EXPECT_EQ(rejected.number(), automation_code::kCallRejected);
}

TEST_F(Win32AutomationTest, FindingAClassThatIsUnknownOrNotRunningFails) {
  const Failure unknown = FailureOf([&] { automation.GetActiveObject(L"Pellacore.NoSuchServer"); });
  EXPECT_EQ(unknown.number(), CO_E_CLASSSTRING);
  EXPECT_EQ(unknown.description(), L"Automation error 0x800401F3: the class name is not registered");

  const Failure notRunning = FailureOf([&] { automation.GetActiveObject(kProgId); });
  EXPECT_EQ(notRunning.number(), MK_E_UNAVAILABLE);
  EXPECT_EQ(notRunning.description(), L"Automation error 0x800401E3: no object of the class is running");
}

TEST_F(Win32AutomationTest, CreateObjectMakesANewObjectThroughTheClassObject) {
  RecordingClassFactory* factory = RegisterClassObject();
  const auto application = automation.CreateObject(kProgId);
  ASSERT_NE(application, nullptr);
  EXPECT_EQ(factory->created, 1);
  application->Put(L"Visible", AutomationArgument::Boolean(false));
  ASSERT_EQ(log->size(), 1u);
  EXPECT_EQ(log->back().object, L"Application");

  const Failure unknown = FailureOf([&] { automation.CreateObject(L"Pellacore.NoSuchServer"); });
  EXPECT_EQ(unknown.number(), CO_E_CLASSSTRING);
}

TEST(ComFailureTest, CodesWithoutASystemTextAreNamedInHex) {
  // Wine has no text for these; on Windows the system's own text comes first.
  for (const HRESULT code : {CO_E_CLASSSTRING, REGDB_E_CLASSNOTREG, MK_E_UNAVAILABLE, DISP_E_EXCEPTION,
                             RPC_E_CALL_REJECTED, RPC_E_SERVERCALL_RETRYLATER, RPC_E_DISCONNECTED,
                             DISP_E_UNKNOWNNAME, DISP_E_BADPARAMCOUNT, DISP_E_MEMBERNOTFOUND,
                             CO_E_SERVER_EXEC_FAILURE, static_cast<HRESULT>(0x8004FFFFu)}) {
    const Failure failure = win32::ComFailure(code);
    EXPECT_EQ(failure.number(), code);
    EXPECT_EQ(failure.description().rfind(L"Automation error " + Hex(code), 0), 0u)
        << failure.description().c_str();
  }
  // A Win32 error inside an HRESULT reads as that error.
  EXPECT_EQ(win32::ComFailure(E_ACCESSDENIED).description(), win32::SystemMessage(ERROR_ACCESS_DENIED));
  EXPECT_EQ(win32::ComFailure(E_ACCESSDENIED).number(), E_ACCESSDENIED);
}

}  // namespace
}  // namespace pellacore
