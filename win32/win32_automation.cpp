#include <windows.h>

#include <oleauto.h>

#include <string>
#include <vector>

#include "win32/com_failure.h"
#include "win32/com_resource.h"
#include "win32/win32_automation.h"

namespace pellacore::win32 {
namespace {

constexpr long kObjectRequired = 424;

class Win32AutomationObject : public AutomationObject {
 public:
  explicit Win32AutomationObject(ComPtr<IDispatch> dispatch) : dispatch_(std::move(dispatch)) {}

  void Put(std::wstring_view member, const AutomationArgument& value) override;
  std::unique_ptr<AutomationObject> GetProperty(std::wstring_view member) override;
  std::unique_ptr<AutomationObject> CallForObject(std::wstring_view member,
                                                  const AutomationArguments& arguments) override;
  void Call(std::wstring_view member, const AutomationArguments& arguments) override;
  std::int64_t GetInteger(std::wstring_view member) override;
  std::wstring GetText(std::wstring_view member) override;
  std::int64_t CallForInteger(std::wstring_view member, const AutomationArguments& arguments) override;
  std::vector<std::wstring> CallForTexts(std::wstring_view member, const AutomationArguments& arguments) override;
  std::vector<double> CallForNumbers(std::wstring_view member, const AutomationArguments& arguments) override;

  IDispatch* get() const { return dispatch_.get(); }
  // For a by-reference argument: the server may put another object here.
  IDispatch** slot() { return dispatch_.slot(); }

 private:
  ComPtr<IDispatch> dispatch_;
};

BSTR NewBstr(const std::wstring& text) {
  BSTR copy = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (!copy) throw StandardFailure(failure_number::kOutOfMemory);
  return copy;
}

// VARIANTs cleared when they go; zero-filled is VT_EMPTY, as VariantInit makes.
class VariantArray {
 public:
  explicit VariantArray(std::size_t count) : values_(count) {}
  VariantArray(const VariantArray&) = delete;
  VariantArray& operator=(const VariantArray&) = delete;
  ~VariantArray() {
    for (VARIANT& value : values_) ::VariantClear(&value);
  }

  VARIANT& operator[](std::size_t index) { return values_[index]; }
  VARIANT* data() { return values_.empty() ? nullptr : values_.data(); }
  UINT count() const { return static_cast<UINT>(values_.size()); }

 private:
  std::vector<VARIANT> values_;
};

// The arguments of one call as IDispatch takes them: the last one first.
// Every VARIANT is cleared and every by-reference string freed when the call
// is over, also when the server replaced the string.
class CallArguments {
 public:
  explicit CallArguments(const AutomationArguments& arguments)
      : variants_(arguments.size()), byRefStrings_(arguments.size()) {
    const std::size_t count = arguments.size();
    for (std::size_t i = 0; i < count; ++i) Fill(variants_[count - 1 - i], byRefStrings_[i], arguments[i]);
  }

  VARIANT* data() { return variants_.data(); }
  UINT count() const { return variants_.count(); }

 private:
  static void Fill(VARIANT& variant, UniqueBstr& byRefString, const AutomationArgument& argument) {
    switch (argument.type) {
      case AutomationArgument::Type::kShort:
        V_VT(&variant) = VT_I2;
        V_I2(&variant) = argument.shortValue;
        return;
      case AutomationArgument::Type::kBoolean:
        V_VT(&variant) = VT_BOOL;
        V_BOOL(&variant) = argument.boolean ? VARIANT_TRUE : VARIANT_FALSE;
        return;
      case AutomationArgument::Type::kString:
        V_BSTR(&variant) = NewBstr(argument.text);
        V_VT(&variant) = VT_BSTR;
        return;
      case AutomationArgument::Type::kStringByRef: {
        BSTR* text = byRefString.put();
        *text = NewBstr(argument.text);
        V_VT(&variant) = VT_BSTR | VT_BYREF;
        V_BSTRREF(&variant) = text;
        return;
      }
      case AutomationArgument::Type::kObjectByRef: {
        auto* object = dynamic_cast<Win32AutomationObject*>(argument.object);
        if (!object) throw StandardFailure(failure_number::kTypeMismatch);
        V_VT(&variant) = VT_DISPATCH | VT_BYREF;
        V_DISPATCHREF(&variant) = object->slot();
        return;
      }
      case AutomationArgument::Type::kObject: {
        auto* object = dynamic_cast<Win32AutomationObject*>(argument.object);
        if (!object) throw StandardFailure(failure_number::kTypeMismatch);
        // The VARIANT holds a reference of its own, released when it is cleared.
        object->get()->AddRef();
        V_VT(&variant) = VT_DISPATCH;
        V_DISPATCH(&variant) = object->get();
        return;
      }
    }
    throw StandardFailure(failure_number::kInvalidArgument);
  }

  VariantArray variants_;
  std::vector<UniqueBstr> byRefStrings_;  // never resized: the VARIANTs point into it
};

// One late-bound call: the member's DISPID by name, then Invoke. `result` may
// be null when the caller wants no answer.
void Invoke(IDispatch* dispatch, std::wstring_view member, WORD flags,
            const AutomationArguments& arguments, VARIANT* result) {
  std::wstring name(member);
  LPOLESTR names[] = {name.data()};
  DISPID id = DISPID_UNKNOWN;
  HRESULT status = dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(status)) throw ComFailure(status);

  CallArguments callArguments(arguments);
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS parameters{callArguments.data(), nullptr, callArguments.count(), 0};
  if (flags & DISPATCH_PROPERTYPUT) {
    // A property put names its value: IDispatch requires it.
    parameters.rgdispidNamedArgs = &putId;
    parameters.cNamedArgs = 1;
  }
  ExceptionInfo exception;
  UINT argumentError = 0;
  status = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, result,
                            exception.get(), &argumentError);
  if (status == DISP_E_EXCEPTION) throw ExceptionFailure(*exception.get());
  if (FAILED(status)) throw ComFailure(status);
}

std::unique_ptr<AutomationObject> ObjectOf(const VARIANT& value) {
  IUnknown* unknown = nullptr;
  if (V_VT(&value) == VT_DISPATCH) unknown = V_DISPATCH(&value);
  if (V_VT(&value) == VT_UNKNOWN) unknown = V_UNKNOWN(&value);
  if (!unknown) throw Failure(kObjectRequired, L"Object required");
  ComPtr<IDispatch> dispatch;
  const HRESULT status = unknown->QueryInterface(IID_IDispatch, dispatch.put_void());
  if (FAILED(status)) throw ComFailure(status);
  return std::make_unique<Win32AutomationObject>(std::move(dispatch));
}

void Win32AutomationObject::Put(std::wstring_view member, const AutomationArgument& value) {
  Invoke(dispatch_.get(), member, DISPATCH_PROPERTYPUT, {value}, nullptr);
}

std::unique_ptr<AutomationObject> Win32AutomationObject::GetProperty(std::wstring_view member) {
  UniqueVariant result;
  Invoke(dispatch_.get(), member, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {}, result.get());
  return ObjectOf(*result);
}

std::unique_ptr<AutomationObject> Win32AutomationObject::CallForObject(
    std::wstring_view member, const AutomationArguments& arguments) {
  UniqueVariant result;
  Invoke(dispatch_.get(), member, DISPATCH_METHOD, arguments, result.get());
  return ObjectOf(*result);
}

void Win32AutomationObject::Call(std::wstring_view member, const AutomationArguments& arguments) {
  UniqueVariant result;
  Invoke(dispatch_.get(), member, DISPATCH_METHOD, arguments, result.get());
}

std::int64_t Win32AutomationObject::GetInteger(std::wstring_view member) {
  UniqueVariant result;
  Invoke(dispatch_.get(), member, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {}, result.get());
  // A handle comes as VT_I4 from a 32-bit server and VT_I8 from a 64-bit one.
  UniqueVariant number;
  const HRESULT status = ::VariantChangeType(number.get(), result.get(), 0, VT_I8);
  if (FAILED(status)) throw ComFailure(status);
  return (*number).llVal;
}

std::int64_t IntegerOf(VARIANT* value) {
  // A handle comes as VT_I4 from a 32-bit server and VT_I8 from a 64-bit one.
  UniqueVariant number;
  const HRESULT status = ::VariantChangeType(number.get(), value, 0, VT_I8);
  if (FAILED(status)) throw ComFailure(status);
  return (*number).llVal;
}

std::wstring TextOf(VARIANT* value) {
  UniqueVariant text;
  const HRESULT status = ::VariantChangeType(text.get(), value, 0, VT_BSTR);
  if (FAILED(status)) throw ComFailure(status);
  const BSTR bstr = (*text).bstrVal;
  return bstr ? std::wstring(bstr, ::SysStringLen(bstr)) : std::wstring();
}

// The elements of a one-dimensional array answer, each changed to `type`
// and handed to `take`. Servers answer arrays of VARIANTs or of the type itself.
template <class Take>
void ForEachElement(VARIANT* value, VARTYPE type, Take&& take) {
  if (!(V_VT(value) & VT_ARRAY)) throw StandardFailure(failure_number::kTypeMismatch);
  SAFEARRAY* array = (V_VT(value) & VT_BYREF) ? *V_ARRAYREF(value) : V_ARRAY(value);
  if (!array || ::SafeArrayGetDim(array) != 1) throw StandardFailure(failure_number::kTypeMismatch);
  LONG lower = 0;
  LONG upper = -1;
  ::SafeArrayGetLBound(array, 1, &lower);
  ::SafeArrayGetUBound(array, 1, &upper);
  const VARTYPE element = static_cast<VARTYPE>(V_VT(value) & VT_TYPEMASK);
  for (LONG i = lower; i <= upper; ++i) {
    UniqueVariant item;
    HRESULT status = S_OK;
    if (element == VT_VARIANT) {
      status = ::SafeArrayGetElement(array, &i, item.get());
    } else {
      // VariantClear frees what the element copy holds (a BSTR's copy).
      V_I8(item.get()) = 0;  // a failed copy leaves nothing to free
      V_VT(item.get()) = element;
      status = ::SafeArrayGetElement(array, &i, &V_I8(item.get()));
    }
    if (FAILED(status)) throw ComFailure(status);
    UniqueVariant changed;
    status = ::VariantChangeType(changed.get(), item.get(), 0, type);
    if (FAILED(status)) throw ComFailure(status);
    take(*changed);
  }
}

std::wstring Win32AutomationObject::GetText(std::wstring_view member) {
  UniqueVariant result;
  Invoke(dispatch_.get(), member, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {}, result.get());
  return TextOf(result.get());
}

std::int64_t Win32AutomationObject::CallForInteger(std::wstring_view member, const AutomationArguments& arguments) {
  UniqueVariant result;
  Invoke(dispatch_.get(), member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, arguments, result.get());
  return IntegerOf(result.get());
}

std::vector<std::wstring> Win32AutomationObject::CallForTexts(std::wstring_view member,
                                                              const AutomationArguments& arguments) {
  UniqueVariant result;
  Invoke(dispatch_.get(), member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, arguments, result.get());
  std::vector<std::wstring> texts;
  ForEachElement(result.get(), VT_BSTR, [&](const VARIANT& item) {
    texts.emplace_back(item.bstrVal ? std::wstring(item.bstrVal, ::SysStringLen(item.bstrVal)) : std::wstring());
  });
  return texts;
}

std::vector<double> Win32AutomationObject::CallForNumbers(std::wstring_view member,
                                                          const AutomationArguments& arguments) {
  UniqueVariant result;
  Invoke(dispatch_.get(), member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, arguments, result.get());
  std::vector<double> numbers;
  ForEachElement(result.get(), VT_R8, [&](const VARIANT& item) { numbers.push_back(item.dblVal); });
  return numbers;
}

CLSID ClassOf(std::wstring_view progId) {
  const std::wstring name(progId);
  CLSID id{};
  const HRESULT status = ::CLSIDFromProgID(name.c_str(), &id);
  if (FAILED(status)) throw ComFailure(status);
  return id;
}

}  // namespace

std::unique_ptr<AutomationObject> Win32Automation::GetActiveObject(std::wstring_view progId) {
  const CLSID id = ClassOf(progId);
  ComPtr<IUnknown> running;
  HRESULT status = ::GetActiveObject(id, nullptr, running.put());
  if (FAILED(status)) throw ComFailure(status);
  // Wine answers success without an object for an entry whose object went
  // without being taken out of the table: nothing runs.
  if (!running) throw ComFailure(MK_E_UNAVAILABLE);
  ComPtr<IDispatch> dispatch;
  status = running->QueryInterface(IID_IDispatch, dispatch.put_void());
  if (FAILED(status)) throw ComFailure(status);
  return std::make_unique<Win32AutomationObject>(std::move(dispatch));
}

std::unique_ptr<AutomationObject> Win32Automation::CreateObject(std::wstring_view progId) {
  const CLSID id = ClassOf(progId);
  ComPtr<IDispatch> dispatch;
  const HRESULT status = ::CoCreateInstance(id, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER,
                                            IID_IDispatch, dispatch.put_void());
  if (FAILED(status)) throw ComFailure(status);
  return std::make_unique<Win32AutomationObject>(std::move(dispatch));
}

}  // namespace pellacore::win32
