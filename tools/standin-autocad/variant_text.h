#pragma once
// How the call log writes an argument: its VARTYPE name, a space, its value
// ("VT_I2 3", "VT_BSTR|VT_BYREF C:\d\plan", "VT_DISPATCH|VT_BYREF
// SelectionSet"); and a call's arguments in the order the client wrote them.

#include <windows.h>

#include <oaidl.h>

#include <string>
#include <vector>

namespace pellacore::standin {

// "VT_I2", "VT_BSTR|VT_BYREF", "VT_VARIANT|VT_BYREF", "VT_I4|VT_ARRAY".
std::wstring VarTypeName(VARTYPE type);

// The type name, then the value: the number, true/false, the string, the
// kind of a stand-in object ("IDispatch" for any other, "Nothing" for null).
// Empty and null variants are the type name alone.
std::wstring VariantText(const VARIANT& value);

// The rgvarg indexes of a call's arguments, left to right as the client
// wrote them: IDispatch passes positional arguments last-first, and the
// named ones (a put's value) come after them.
std::vector<UINT> NaturalOrder(const DISPPARAMS& params);

// "(" + the arguments in that order, ", " between + ")".
std::wstring ArgumentsText(const DISPPARAMS& params);

}  // namespace pellacore::standin
