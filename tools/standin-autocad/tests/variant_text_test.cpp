#include "tools/standin-autocad/variant_text.h"

#include <gtest/gtest.h>

#include "tools/standin-autocad/autocad_objects.h"
#include "tools/standin-autocad/tests/standin_test_support.h"

namespace pellacore::standin {
namespace {

using testing::Bool;
using testing::DispRef;
using testing::I2;
using testing::Str;
using testing::StrRef;

TEST(VarTypeName, NamesTheBaseTypeAndItsFlags) {
  const struct {
    VARTYPE type;
    const wchar_t* name;
  } cases[] = {
      {VT_I2, L"VT_I2"},
      {VT_BOOL, L"VT_BOOL"},
      {VT_BSTR | VT_BYREF, L"VT_BSTR|VT_BYREF"},
      {VT_DISPATCH | VT_BYREF, L"VT_DISPATCH|VT_BYREF"},
      {VT_VARIANT | VT_BYREF, L"VT_VARIANT|VT_BYREF"},
      {VT_I4 | VT_ARRAY, L"VT_I4|VT_ARRAY"},
      {VT_EMPTY, L"VT_EMPTY"},
      {VT_UI8, L"VT_UI8"},
      {VT_RECORD, L"VT_36"},
  };
  for (const auto& c : cases) EXPECT_EQ(VarTypeName(c.type), c.name);
}

TEST(VariantText, WritesTheTypeThenTheValue) {
  UniqueBstr text(::SysAllocString(L"C:\\d\\plan.dwg"));
  BSTR byReference = text.get();
  VARIANT real;
  ::VariantInit(&real);
  real.vt = VT_R8;
  real.dblVal = 2.5;
  VARIANT missing;
  ::VariantInit(&missing);
  missing.vt = VT_ERROR;
  missing.scode = DISP_E_PARAMNOTFOUND;
  VARIANT empty;
  ::VariantInit(&empty);
  VARIANT inner = I2(-7);
  VARIANT wrapped;
  ::VariantInit(&wrapped);
  wrapped.vt = VT_VARIANT | VT_BYREF;
  wrapped.pvarVal = &inner;

  EXPECT_EQ(VariantText(I2(3)), L"VT_I2 3");
  EXPECT_EQ(VariantText(Bool(true)), L"VT_BOOL true");
  EXPECT_EQ(VariantText(Bool(false)), L"VT_BOOL false");
  EXPECT_EQ(VariantText(Str(text.get())), L"VT_BSTR C:\\d\\plan.dwg");
  EXPECT_EQ(VariantText(StrRef(&byReference)), L"VT_BSTR|VT_BYREF C:\\d\\plan.dwg");
  EXPECT_EQ(VariantText(real), L"VT_R8 2.5");
  EXPECT_EQ(VariantText(missing), L"VT_ERROR 0x80020004");
  EXPECT_EQ(VariantText(empty), L"VT_EMPTY");
  EXPECT_EQ(VariantText(wrapped), L"VT_VARIANT|VT_BYREF VT_I2 -7");
}

TEST(VariantText, NamesOurOwnObjectsByKind) {
  ComPtr<SelectionSet> set(new SelectionSet(std::make_shared<InstanceState>(), L"NEWSS"));
  IDispatch* asDispatch = set.get();
  IDispatch* nothing = nullptr;
  EXPECT_EQ(VariantText(DispRef(&asDispatch)), L"VT_DISPATCH|VT_BYREF SelectionSet");
  EXPECT_EQ(VariantText(DispRef(&nothing)), L"VT_DISPATCH|VT_BYREF Nothing");
  VARIANT direct;
  ::VariantInit(&direct);
  direct.vt = VT_DISPATCH;
  direct.pdispVal = asDispatch;
  EXPECT_EQ(VariantText(direct), L"VT_DISPATCH SelectionSet");
}

TEST(ArgumentsText, ListsArgumentsLeftToRight) {
  UniqueBstr stem(::SysAllocString(L"C:\\d\\plan"));
  UniqueBstr format(::SysAllocString(L"BMP"));
  BSTR stemStorage = stem.get();
  // rgvarg holds them last-first, as IDispatch wants.
  VARIANT reversed[] = {I2(5), Str(format.get()), StrRef(&stemStorage)};
  DISPPARAMS call{reversed, nullptr, 3, 0};
  EXPECT_EQ(ArgumentsText(call), L"(VT_BSTR|VT_BYREF C:\\d\\plan, VT_BSTR BMP, VT_I2 5)");

  DISPPARAMS none{nullptr, nullptr, 0, 0};
  EXPECT_EQ(ArgumentsText(none), L"()");

  DISPID putId = DISPID_PROPERTYPUT;
  VARIANT value[] = {I2(3)};
  DISPPARAMS put{value, &putId, 1, 1};
  EXPECT_EQ(ArgumentsText(put), L"(VT_I2 3)");
}

}  // namespace
}  // namespace pellacore::standin
