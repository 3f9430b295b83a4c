#include "tools/standin-autocad/variant_text.h"

#include <cwchar>

#include "tools/standin-autocad/dispatch_object.h"
#include "win32/com_resource.h"

namespace pellacore::standin {

using win32::UniqueVariant;

namespace {

const wchar_t* BaseTypeName(VARTYPE base) {
  switch (base) {
    case VT_EMPTY: return L"VT_EMPTY";
    case VT_NULL: return L"VT_NULL";
    case VT_I2: return L"VT_I2";
    case VT_I4: return L"VT_I4";
    case VT_R4: return L"VT_R4";
    case VT_R8: return L"VT_R8";
    case VT_CY: return L"VT_CY";
    case VT_DATE: return L"VT_DATE";
    case VT_BSTR: return L"VT_BSTR";
    case VT_DISPATCH: return L"VT_DISPATCH";
    case VT_ERROR: return L"VT_ERROR";
    case VT_BOOL: return L"VT_BOOL";
    case VT_VARIANT: return L"VT_VARIANT";
    case VT_UNKNOWN: return L"VT_UNKNOWN";
    case VT_DECIMAL: return L"VT_DECIMAL";
    case VT_I1: return L"VT_I1";
    case VT_UI1: return L"VT_UI1";
    case VT_UI2: return L"VT_UI2";
    case VT_UI4: return L"VT_UI4";
    case VT_I8: return L"VT_I8";
    case VT_UI8: return L"VT_UI8";
    case VT_INT: return L"VT_INT";
    case VT_UINT: return L"VT_UINT";
    default: return nullptr;
  }
}

std::wstring ObjectText(IUnknown* object) {
  if (!object) return L"Nothing";
  DispatchObject* own = DispatchObject::FromUnknown(object);
  return own ? std::wstring(own->Kind()) : L"IDispatch";
}

std::wstring Number(double value) {
  wchar_t text[64];
  std::swprintf(text, 64, L"%.15g", value);
  return text;
}

// Any other type, as the system converts it to text.
std::wstring Converted(const VARIANT& value) {
  UniqueVariant text;
  if (FAILED(::VariantChangeType(text.get(), const_cast<VARIANT*>(&value), VARIANT_ALPHABOOL, VT_BSTR))) return L"?";
  return (*text).bstrVal ? (*text).bstrVal : L"";
}

// The value alone; `value` is not by reference.
std::wstring ValueText(const VARIANT& value) {
  switch (value.vt) {
    case VT_EMPTY:
    case VT_NULL: return {};
    case VT_I1: return std::to_wstring(value.cVal);
    case VT_I2: return std::to_wstring(value.iVal);
    case VT_I4: return std::to_wstring(value.lVal);
    case VT_INT: return std::to_wstring(value.intVal);
    case VT_I8: return std::to_wstring(value.llVal);
    case VT_UI1: return std::to_wstring(value.bVal);
    case VT_UI2: return std::to_wstring(value.uiVal);
    case VT_UI4: return std::to_wstring(value.ulVal);
    case VT_UINT: return std::to_wstring(value.uintVal);
    case VT_UI8: return std::to_wstring(value.ullVal);
    case VT_R4: return Number(value.fltVal);
    case VT_R8: return Number(value.dblVal);
    case VT_BOOL: return value.boolVal ? L"true" : L"false";
    case VT_BSTR: return value.bstrVal ? value.bstrVal : L"";
    case VT_DISPATCH: return ObjectText(value.pdispVal);
    case VT_UNKNOWN: return ObjectText(value.punkVal);
    case VT_ERROR: {
      wchar_t text[16];
      std::swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(value.scode));
      return text;
    }
    default: return Converted(value);
  }
}

}  // namespace

std::wstring VarTypeName(VARTYPE type) {
  const VARTYPE base = type & VT_TYPEMASK;
  const wchar_t* name = BaseTypeName(base);
  std::wstring text = name ? name : L"VT_" + std::to_wstring(base);
  if (type & VT_ARRAY) text += L"|VT_ARRAY";
  if (type & VT_BYREF) text += L"|VT_BYREF";
  return text;
}

std::wstring VariantText(const VARIANT& value) {
  const std::wstring type = VarTypeName(value.vt);
  std::wstring shown;
  if (value.vt & VT_ARRAY) {
    shown = L"[array]";
  } else if (value.vt == (VT_VARIANT | VT_BYREF)) {
    shown = value.pvarVal ? VariantText(*value.pvarVal) : L"null";
  } else if (value.vt & VT_BYREF) {
    if (!value.byref) {
      shown = L"null";
    } else {
      // The same value by value: VariantCopyInd reads through the reference.
      UniqueVariant direct;
      shown = SUCCEEDED(::VariantCopyInd(direct.get(), const_cast<VARIANT*>(&value))) ? ValueText(*direct) : L"?";
    }
  } else {
    shown = ValueText(value);
  }
  return shown.empty() && (value.vt == VT_EMPTY || value.vt == VT_NULL) ? type : type + L" " + shown;
}

std::vector<UINT> NaturalOrder(const DISPPARAMS& params) {
  std::vector<UINT> order;
  for (UINT i = params.cArgs; i > params.cNamedArgs; --i) order.push_back(i - 1);
  for (UINT i = 0; i < params.cNamedArgs && i < params.cArgs; ++i) order.push_back(i);
  return order;
}

std::wstring ArgumentsText(const DISPPARAMS& params) {
  std::wstring text = L"(";
  for (UINT index : NaturalOrder(params)) {
    if (text.size() > 1) text += L", ";
    text += VariantText(params.rgvarg[index]);
  }
  return text + L")";
}

}  // namespace pellacore::standin
