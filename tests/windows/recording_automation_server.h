#pragma once
// An automation server inside the test program: objects that implement
// IDispatch by hand (no type library) and record every call they receive,
// with the types and values of its arguments in call order.

#include <windows.h>

#include <oleauto.h>

#include <memory>
#include <string>
#include <vector>

namespace pellacore::testing {

struct ReceivedArgument {
  VARTYPE type = VT_EMPTY;
  std::wstring text;             // VT_BSTR, and what a VT_BSTR|VT_BYREF points at
  long number = 0;               // VT_I2, VT_BOOL
  IDispatch* object = nullptr;   // what a VT_DISPATCH|VT_BYREF points at
};

struct ReceivedCall {
  const IDispatch* receiver = nullptr;
  std::wstring object;  // the receiving object's name
  std::wstring member;
  WORD flags = 0;
  std::vector<DISPID> namedArguments;
  std::vector<ReceivedArgument> arguments;  // left to right, as the caller wrote them
};

using CallLog = std::vector<ReceivedCall>;

// Members: "Visible" (a property to put), "Documents" (answers an object),
// "Open" (answers an object as VT_UNKNOWN), "Export" (replaces its first
// argument when that is a string by reference), "Count" (answers a number),
// "Close", "Fail" (raises an exception filled in when asked), "FailBare"
// (raises one with a code and no text), "Reject" (answers
// RPC_E_CALL_REJECTED).
class RecordingObject final : public IDispatch {
 public:
  static constexpr HRESULT kExceptionCode = static_cast<HRESULT>(0x80041234u);
  static constexpr const wchar_t* kExceptionText = L"The drawing is open in another session";

  RecordingObject(std::wstring name, std::shared_ptr<CallLog> log)
      : name_(std::move(name)), log_(std::move(log)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (id == IID_IUnknown || id == IID_IDispatch) {
      *object = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    return static_cast<ULONG>(::InterlockedIncrement(&references_));
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = ::InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }
  LONG references() const { return references_; }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (count != 1) return E_INVALIDARG;
    for (std::size_t i = 0; i < std::size(kMembers); ++i) {
      if (::lstrcmpiW(names[0], kMembers[i]) == 0) {
        ids[0] = static_cast<DISPID>(i + 1);
        return S_OK;
      }
    }
    ids[0] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                   VARIANT* result, EXCEPINFO* exception, UINT*) override {
    if (id < 1 || id > static_cast<DISPID>(std::size(kMembers))) return DISP_E_MEMBERNOTFOUND;
    const std::wstring member = kMembers[id - 1];
    ReceivedCall call{this, name_, member, flags, {}, {}};
    for (UINT i = 0; i < parameters->cNamedArgs; ++i) {
      call.namedArguments.push_back(parameters->rgdispidNamedArgs[i]);
    }
    for (UINT i = parameters->cArgs; i-- > 0;) call.arguments.push_back(Received(parameters->rgvarg[i]));
    log_->push_back(call);

    if (member == L"Documents") return AnswerObject(result, VT_DISPATCH, L"Documents");
    if (member == L"Open") return AnswerObject(result, VT_UNKNOWN, L"Drawing");
    if (member == L"Count" && result) {
      V_VT(result) = VT_I4;
      V_I4(result) = 5;
    }
    if (member == L"Export" && parameters->cArgs > 0) {
      VARIANT& first = parameters->rgvarg[parameters->cArgs - 1];
      if (V_VT(&first) == (VT_BSTR | VT_BYREF)) {
        // A server may put a string of its own in the caller's place.
        ::SysFreeString(*V_BSTRREF(&first));
        *V_BSTRREF(&first) = ::SysAllocString(L"C:\\Server\\Chosen.bmp");
      }
    }
    if (member == L"Fail") {
      exception->pfnDeferredFillIn = &FillInException;
      return DISP_E_EXCEPTION;
    }
    if (member == L"FailBare") {
      exception->scode = kExceptionCode;
      return DISP_E_EXCEPTION;
    }
    if (member == L"Reject") return RPC_E_CALL_REJECTED;
    return S_OK;
  }

 private:
  static constexpr const wchar_t* kMembers[] = {L"Visible", L"Documents", L"Open",     L"Export", L"Count",
                                                 L"Close",   L"Fail",      L"FailBare", L"Reject"};

  static HRESULT STDMETHODCALLTYPE FillInException(EXCEPINFO* exception) {
    exception->bstrSource = ::SysAllocString(L"Pellacore.TestServer");
    exception->bstrDescription = ::SysAllocString(kExceptionText);
    exception->scode = kExceptionCode;
    return S_OK;
  }

  static ReceivedArgument Received(const VARIANT& value) {
    ReceivedArgument argument;
    argument.type = V_VT(&value);
    switch (V_VT(&value)) {
      case VT_I2:
        argument.number = V_I2(&value);
        break;
      case VT_BOOL:
        argument.number = V_BOOL(&value);
        break;
      case VT_BSTR:
        argument.text = V_BSTR(&value);
        break;
      case VT_BSTR | VT_BYREF:
        argument.text = *V_BSTRREF(&value);
        break;
      case VT_DISPATCH | VT_BYREF:
        argument.object = *V_DISPATCHREF(&value);
        break;
      default:
        break;
    }
    return argument;
  }

  HRESULT AnswerObject(VARIANT* result, VARTYPE type, const wchar_t* name) {
    if (!result) return E_INVALIDARG;
    auto* object = new RecordingObject(name, log_);
    V_VT(result) = type;
    if (type == VT_DISPATCH) {
      V_DISPATCH(result) = object;
    } else {
      V_UNKNOWN(result) = object;
    }
    return S_OK;
  }

  LONG references_ = 1;
  std::wstring name_;
  std::shared_ptr<CallLog> log_;
};

// Makes a new "Application" object for each CoCreateInstance.
class RecordingClassFactory final : public IClassFactory {
 public:
  explicit RecordingClassFactory(std::shared_ptr<CallLog> log) : log_(std::move(log)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (id == IID_IUnknown || id == IID_IClassFactory) {
      *object = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    return static_cast<ULONG>(::InterlockedIncrement(&references_));
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = ::InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID id, void** object) override {
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    ++created;
    auto* application = new RecordingObject(L"Application", log_);
    const HRESULT result = application->QueryInterface(id, object);
    application->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

  int created = 0;

 private:
  LONG references_ = 1;
  std::shared_ptr<CallLog> log_;
};

}  // namespace pellacore::testing
