// The stand-in's objects called in-process: the same IDispatch rules and log
// lines a client sees across processes, without a server launch per test.

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/export_call_table.h"
#include "tests/windows/scratch_folder.h"
#include "tools/standin-autocad/autocad_objects.h"
#include "tools/standin-autocad/tests/standin_test_support.h"

namespace pellacore::standin {
namespace {

using testing::Bool;
using testing::DispRef;
using testing::I2;
using testing::I4;
using testing::Invoke;
using testing::kGet;
using testing::Outcome;
using testing::ReadLogLines;
using testing::Str;
using testing::StrRef;

class InProcess : public ::testing::Test {
 protected:
  InProcess() : log_(folder_.path() + L"calls.log") {
    config_.Set(L"LogFile", log_);
    application_.reset(static_cast<IDispatch*>(new Application()));
  }

  std::wstring MakeDrawing(const std::wstring& name, const std::string& content = "not a DXF") {
    const std::wstring path = folder_.path() + name;
    testing::WriteTextFile(path, content);
    return path;
  }

  ComPtr<IDispatch> Get(IDispatch* target, const wchar_t* name) {
    const auto outcome = Invoke(target, name, kGet);
    EXPECT_EQ(outcome->result, S_OK) << name;
    return outcome->Object();
  }

  ComPtr<IDispatch> Open(const std::wstring& path) {
    ComPtr<IDispatch> documents = Get(application_.get(), L"Documents");
    UniqueBstr text(::SysAllocString(path.c_str()));
    BSTR storage = text.get();
    const auto outcome = Invoke(documents.get(), L"Open", DISPATCH_METHOD, {StrRef(&storage)});
    EXPECT_EQ(outcome->result, S_OK) << outcome->Description();
    return outcome->Object();
  }

  // A selection set of the document, with everything selected.
  ComPtr<IDispatch> SelectAll(IDispatch* document, bool select = true) {
    ComPtr<IDispatch> sets = Get(document, L"SelectionSets");
    if (!sets) return {};
    UniqueBstr name(::SysAllocString(L"NEWSS"));
    ComPtr<IDispatch> set = Invoke(sets.get(), L"Add", DISPATCH_METHOD, {Str(name.get())})->Object();
    if (select && set) {
      EXPECT_EQ(Invoke(set.get(), L"Select", DISPATCH_METHOD, {I2(5)})->result, S_OK);
    }
    return set;
  }

  std::unique_ptr<Outcome> Export(IDispatch* document, const std::wstring& stem, IDispatch* set,
                                  const wchar_t* format = L"BMP") {
    UniqueBstr stemText(::SysAllocString(stem.c_str()));
    UniqueBstr formatText(::SysAllocString(format));
    BSTR stemStorage = stemText.get();
    IDispatch* setStorage = set;
    return Invoke(document, L"Export", DISPATCH_METHOD,
                  {StrRef(&stemStorage), Str(formatText.get()), DispRef(&setStorage)});
  }

  std::vector<std::wstring> Log() const { return ReadLogLines(log_); }

  pellacore::testing::ScratchFolder folder_;
  testing::ScopedConfig config_;
  std::wstring log_;
  ComPtr<IDispatch> application_;
};

TEST_F(InProcess, TheConvertersSequenceIsLoggedCallByCall) {
  const std::wstring drawing = MakeDrawing(L"PLAN.DWG");
  const std::wstring stem = folder_.path() + L"PLAN";

  EXPECT_EQ(Invoke(application_.get(), L"HWND", DISPATCH_PROPERTYGET)->result, S_OK);
  EXPECT_EQ(Invoke(application_.get(), L"WindowState", DISPATCH_PROPERTYPUT, {I2(3)})->result, S_OK);
  ComPtr<IDispatch> document = Open(drawing);
  ComPtr<IDispatch> same = Get(application_.get(), L"Application");
  EXPECT_EQ(same.get(), application_.get());
  EXPECT_EQ(Invoke(same.get(), L"Visible", DISPATCH_PROPERTYPUT, {Bool(true)})->result, S_OK);
  ComPtr<IDispatch> set = SelectAll(document.get());
  EXPECT_EQ(Export(document.get(), stem, set.get())->result, S_OK);
  EXPECT_EQ(Invoke(document.get(), L"Close", DISPATCH_METHOD, {Bool(false)})->result, S_OK);
  EXPECT_EQ(Invoke(application_.get(), L"Quit", DISPATCH_METHOD)->result, S_OK);

  std::vector<std::wstring> expected = pellacore::testing::ExportCallTable(drawing, stem);
  expected.insert(expected.begin(), L"Application created");
  EXPECT_EQ(Log(), expected);
  // The extension is appended in lower case whatever the drawing's was.
  EXPECT_TRUE(testing::FileExists(stem + L".bmp"));
}

TEST_F(InProcess, NamesMatchWhateverTheirCase) {
  DISPID ids[4] = {};
  const wchar_t* spellings[] = {L"WINDOWSTATE", L"windowstate", L"Documents", L"quit"};
  for (int i = 0; i < 4; ++i) {
    LPOLESTR name = const_cast<LPOLESTR>(spellings[i]);
    EXPECT_EQ(application_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &ids[i]), S_OK) << spellings[i];
  }
  EXPECT_EQ(ids[0], ids[1]);
  EXPECT_NE(ids[0], ids[2]);

  ComPtr<IDispatch> document = Open(MakeDrawing(L"a.dwg"));
  ComPtr<IDispatch> sets = Get(document.get(), L"selectionsets");
  UniqueBstr name(::SysAllocString(L"NEWSS"));
  for (const wchar_t* add : {L"add", L"Add", L"ADD"}) {
    EXPECT_EQ(Invoke(sets.get(), add, DISPATCH_METHOD, {Str(name.get())})->result, S_OK) << add;
  }
  // The log writes the canonical name, not the client's spelling.
  const std::vector<std::wstring> log = Log();
  EXPECT_EQ(std::count(log.begin(), log.end(), L"SelectionSets.add call (VT_BSTR NEWSS)"), 3);
  EXPECT_EQ(std::count(log.begin(), log.end(), L"Document.SelectionSets get ()"), 1);
}

TEST_F(InProcess, UnknownNamesAreRefusedAndLogged) {
  const auto unknown = Invoke(application_.get(), L"Preferences", kGet);
  EXPECT_EQ(unknown->names, DISP_E_UNKNOWNNAME);
  EXPECT_EQ(Log().back(), L"Application.Preferences unknown name");

  // Named arguments are names too, and no member has any.
  DISPID ids[2] = {};
  LPOLESTR names[] = {const_cast<LPOLESTR>(L"Open"), const_cast<LPOLESTR>(L"ReadOnly")};
  ComPtr<IDispatch> documents = Get(application_.get(), L"Documents");
  EXPECT_EQ(documents->GetIDsOfNames(IID_NULL, names, 2, LOCALE_USER_DEFAULT, ids), DISP_E_UNKNOWNNAME);
  EXPECT_NE(ids[0], DISPID_UNKNOWN);
  EXPECT_EQ(ids[1], DISPID_UNKNOWN);

  // A DISPID the object never handed out.
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  EXPECT_EQ(application_->Invoke(999, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);
}

TEST_F(InProcess, InvokeKindsMustFitTheMember) {
  const struct {
    const wchar_t* name;
    WORD flags;
    HRESULT expected;
    const wchar_t* logged;
  } cases[] = {
      {L"Documents", kGet, S_OK, L"Application.Documents get ()"},
      {L"Documents", DISPATCH_PROPERTYGET, S_OK, L"Application.Documents get ()"},
      {L"Documents", DISPATCH_METHOD, DISP_E_MEMBERNOTFOUND, L"Application.Documents call ()"},
      {L"Quit", DISPATCH_PROPERTYGET, DISP_E_MEMBERNOTFOUND, L"Application.Quit get ()"},
      {L"WindowState", kGet, S_OK, L"Application.WindowState get ()"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Invoke(application_.get(), c.name, c.flags)->result, c.expected) << c.name << " " << c.flags;
    EXPECT_EQ(Log().back(), c.logged);
  }
  // A read-only property cannot be put.
  EXPECT_EQ(Invoke(application_.get(), L"Documents", DISPATCH_PROPERTYPUT, {I2(1)})->result, DISP_E_MEMBERNOTFOUND);
  // A method called as VB calls a property is still a call.
  EXPECT_EQ(Invoke(application_.get(), L"Quit", kGet)->result, S_OK);
  EXPECT_EQ(Log().back(), L"Application.Quit call ()");
}

TEST_F(InProcess, ArgumentCountsAndNamedArgumentsAreChecked) {
  ComPtr<IDispatch> documents = Get(application_.get(), L"Documents");
  ComPtr<IDispatch> document = Open(MakeDrawing(L"b.dwg"));
  UniqueBstr text(::SysAllocString(L"x"));
  EXPECT_EQ(Invoke(documents.get(), L"Open", DISPATCH_METHOD)->result, DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(Invoke(documents.get(), L"Open", DISPATCH_METHOD, {Str(text.get()), Bool(false), Str(text.get()),
                                                                I2(1)})->result,
            DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(Invoke(document.get(), L"Export", DISPATCH_METHOD, {Str(text.get()), Str(text.get())})->result,
            DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(Invoke(application_.get(), L"Quit", DISPATCH_METHOD, {I2(1)})->result, DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(Invoke(application_.get(), L"Documents", kGet, {I2(1)})->result, DISP_E_BADPARAMCOUNT);
  // The wrong count is still logged, with what was sent.
  EXPECT_EQ(Log().back(), L"Application.Documents get (VT_I2 1)");

  // A put without DISPID_PROPERTYPUT, and a method with a named argument.
  DISPID putId = DISPID_PROPERTYPUT;
  VARIANT value = I2(3);
  DISPPARAMS unnamed{&value, nullptr, 1, 0};
  DISPID windowState = DISPID_UNKNOWN;
  LPOLESTR name = const_cast<LPOLESTR>(L"WindowState");
  application_->GetIDsOfNames(IID_NULL, &name, 1, 0, &windowState);
  EXPECT_EQ(application_->Invoke(windowState, IID_NULL, 0, DISPATCH_PROPERTYPUT, &unnamed, nullptr, nullptr,
                                 nullptr),
            DISP_E_PARAMNOTFOUND);
  DISPPARAMS named{&value, &putId, 1, 1};
  DISPID quit = DISPID_UNKNOWN;
  name = const_cast<LPOLESTR>(L"Quit");
  application_->GetIDsOfNames(IID_NULL, &name, 1, 0, &quit);
  EXPECT_EQ(application_->Invoke(quit, IID_NULL, 0, DISPATCH_METHOD, &named, nullptr, nullptr, nullptr),
            DISP_E_NONAMEDARGS);
}

TEST_F(InProcess, ArgumentsConvertAsAutomationDoes) {
  UniqueBstr three(::SysAllocString(L"3"));
  UniqueBstr word(::SysAllocString(L"maximised"));
  EXPECT_EQ(Invoke(application_.get(), L"WindowState", DISPATCH_PROPERTYPUT, {I4(2)})->result, S_OK);
  EXPECT_EQ(Invoke(application_.get(), L"WindowState", DISPATCH_PROPERTYPUT, {Str(three.get())})->result, S_OK);
  const auto state = Invoke(application_.get(), L"WindowState", kGet);
  EXPECT_EQ(state->value.get()->vt, VT_I4);
  EXPECT_EQ(state->value.get()->lVal, 3);

  const auto mismatch = Invoke(application_.get(), L"WindowState", DISPATCH_PROPERTYPUT, {Str(word.get())});
  EXPECT_EQ(mismatch->result, DISP_E_TYPEMISMATCH);
  EXPECT_EQ(mismatch->argumentError, 0u);

  // The selection set sent as a string: the last argument, rgvarg[0].
  ComPtr<IDispatch> document = Open(MakeDrawing(L"c.dwg"));
  UniqueBstr stem(::SysAllocString((folder_.path() + L"c").c_str()));
  UniqueBstr format(::SysAllocString(L"BMP"));
  const auto wrongSet =
      Invoke(document.get(), L"Export", DISPATCH_METHOD, {Str(stem.get()), Str(format.get()), Str(format.get())});
  EXPECT_EQ(wrongSet->result, DISP_E_TYPEMISMATCH);
  EXPECT_EQ(wrongSet->argumentError, 0u);
}

TEST_F(InProcess, FailuresComeWithAnExceptionThatSaysWhy) {
  const std::wstring missing = folder_.path() + L"missing.dwg";
  {
    ComPtr<IDispatch> documents = Get(application_.get(), L"Documents");
    UniqueBstr path(::SysAllocString(missing.c_str()));
    const auto open = Invoke(documents.get(), L"Open", DISPATCH_METHOD, {Str(path.get())});
    EXPECT_EQ(open->result, DISP_E_EXCEPTION);
    EXPECT_EQ(open->Source(), L"AutoCAD.Application");
    EXPECT_NE(open->Description().find(missing), std::wstring::npos) << open->Description();
    EXPECT_EQ(open->exception.scode, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(open->exception.pfnDeferredFillIn, nullptr);
  }

  ComPtr<IDispatch> document = Open(MakeDrawing(L"d.dwg"));
  ComPtr<IDispatch> unselected = SelectAll(document.get(), false);
  const std::wstring stem = folder_.path() + L"d";
  const struct {
    const char* what;
    std::unique_ptr<Outcome> outcome;
    const wchar_t* says;
  } cases[] = {
      {"nothing selected", Export(document.get(), stem, unselected.get()), L"NEWSS"},
      {"another format", Export(document.get(), stem, unselected.get(), L"WMF"), L"WMF"},
      {"not a selection set", Export(document.get(), stem, document.get()), L"selection set"},
      {"no such folder", Export(document.get(), folder_.path() + L"none\\d", SelectAll(document.get()).get()),
       L"none\\d.bmp"},
      {"selection mode", Invoke(unselected.get(), L"Select", DISPATCH_METHOD, {I2(2)}), L"mode 2"},
      {"window state", Invoke(application_.get(), L"WindowState", DISPATCH_PROPERTYPUT, {I2(7)}), L"7"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.outcome->result, DISP_E_EXCEPTION) << c.what;
    EXPECT_EQ(c.outcome->Source(), L"AutoCAD.Application") << c.what;
    EXPECT_NE(c.outcome->Description().find(c.says), std::wstring::npos) << c.what << ": " << c.outcome->Description();
    EXPECT_TRUE(FAILED(c.outcome->exception.scode)) << c.what;
  }
  EXPECT_FALSE(testing::FileExists(stem + L".bmp"));

  ComPtr<IDispatch> selected = SelectAll(document.get());
  EXPECT_EQ(Invoke(document.get(), L"Close", DISPATCH_METHOD)->result, S_OK);
  const auto afterClose = Export(document.get(), stem, selected.get());
  EXPECT_EQ(afterClose->result, DISP_E_EXCEPTION);
  EXPECT_NE(afterClose->Description().find(L"closed"), std::wstring::npos) << afterClose->Description();
  EXPECT_EQ(Invoke(document.get(), L"SelectionSets", kGet)->result, DISP_E_EXCEPTION);
  EXPECT_EQ(Invoke(document.get(), L"Close", DISPATCH_METHOD)->result, DISP_E_EXCEPTION);
}

TEST_F(InProcess, FailOpenMatchesThePathWhateverItsCase) {
  const std::wstring drawing = MakeDrawing(L"Plan.dwg");
  const std::wstring other = MakeDrawing(L"Other.dwg");
  config_.Set(L"FailOpen", folder_.path() + L"PLAN.DWG");
  ComPtr<IDispatch> documents = Get(application_.get(), L"Documents");
  UniqueBstr path(::SysAllocString(drawing.c_str()));
  const auto failed = Invoke(documents.get(), L"Open", DISPATCH_METHOD, {Str(path.get())});
  EXPECT_EQ(failed->result, DISP_E_EXCEPTION);
  EXPECT_NE(failed->Description().find(drawing), std::wstring::npos) << failed->Description();
  EXPECT_NE(Open(other).get(), nullptr);
}

TEST_F(InProcess, ABrokenDxfFailsToOpenNamingTheLine) {
  const std::wstring drawing = MakeDrawing(L"broken.dwg", "0\nSECTION\n2\nENTITIES\nLINE\n");
  ComPtr<IDispatch> documents = Get(application_.get(), L"Documents");
  UniqueBstr path(::SysAllocString(drawing.c_str()));
  const auto failed = Invoke(documents.get(), L"Open", DISPATCH_METHOD, {Str(path.get())});
  EXPECT_EQ(failed->result, DISP_E_EXCEPTION);
  EXPECT_NE(failed->Description().find(L"line 5"), std::wstring::npos) << failed->Description();
}

TEST_F(InProcess, DeferredExceptionInfoIsFilledWhenAsked) {
  config_.Set(L"DeferExceptionInfo", L"1");
  ComPtr<IDispatch> documents = Get(application_.get(), L"Documents");
  const std::wstring missing = folder_.path() + L"gone.dwg";
  UniqueBstr path(::SysAllocString(missing.c_str()));
  const auto failed = Invoke(documents.get(), L"Open", DISPATCH_METHOD, {Str(path.get())});
  ASSERT_EQ(failed->result, DISP_E_EXCEPTION);
  EXPECT_EQ(failed->exception.bstrDescription, nullptr);
  EXPECT_EQ(failed->exception.scode, S_OK);
  ASSERT_NE(failed->exception.pfnDeferredFillIn, nullptr);
  EXPECT_EQ(failed->exception.pfnDeferredFillIn(&failed->exception), S_OK);
  EXPECT_EQ(failed->Source(), L"AutoCAD.Application");
  EXPECT_NE(failed->Description().find(missing), std::wstring::npos) << failed->Description();
  EXPECT_EQ(failed->exception.scode, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
}

TEST_F(InProcess, ExportWithoutFileSucceedsAndWritesNothing) {
  config_.Set(L"ExportWithoutFile", L"1");
  ComPtr<IDispatch> document = Open(MakeDrawing(L"e.dwg"));
  const std::wstring stem = folder_.path() + L"e";
  EXPECT_EQ(Export(document.get(), stem, SelectAll(document.get()).get())->result, S_OK);
  EXPECT_FALSE(testing::FileExists(stem + L".bmp"));
}

TEST_F(InProcess, OptionalArgumentsAreAcceptedAndLogged) {
  ComPtr<IDispatch> documents = Get(application_.get(), L"Documents");
  const std::wstring drawing = MakeDrawing(L"f.dwg");
  UniqueBstr path(::SysAllocString(drawing.c_str()));
  EXPECT_EQ(Invoke(documents.get(), L"Open", DISPATCH_METHOD, {Str(path.get()), Bool(true)})->result, S_OK);
  EXPECT_EQ(Log().back(), L"Documents.Open call (VT_BSTR " + drawing + L", VT_BOOL true)");
}

TEST_F(InProcess, AfterQuitEveryObjectOfTheInstanceAnswersDisconnected) {
  ComPtr<IDispatch> documents = Get(application_.get(), L"Documents");
  ComPtr<IDispatch> document = Open(MakeDrawing(L"g.dwg"));
  ComPtr<IDispatch> sets = Get(document.get(), L"SelectionSets");
  DISPID add = DISPID_UNKNOWN;
  LPOLESTR addName = const_cast<LPOLESTR>(L"add");
  ASSERT_EQ(sets->GetIDsOfNames(IID_NULL, &addName, 1, 0, &add), S_OK);
  EXPECT_EQ(Invoke(application_.get(), L"Quit", DISPATCH_METHOD)->result, S_OK);

  EXPECT_EQ(Invoke(application_.get(), L"WindowState", DISPATCH_PROPERTYPUT, {I2(3)})->result, RPC_E_DISCONNECTED);
  EXPECT_EQ(Invoke(documents.get(), L"Count", kGet)->result, RPC_E_DISCONNECTED);
  EXPECT_EQ(Invoke(document.get(), L"Close", DISPATCH_METHOD)->result, RPC_E_DISCONNECTED);
  EXPECT_EQ(Invoke(application_.get(), L"Quit", DISPATCH_METHOD)->result, RPC_E_DISCONNECTED);
  // A client that kept a DISPID gets the same from Invoke itself.
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  EXPECT_EQ(sets->Invoke(add, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr), RPC_E_DISCONNECTED);
  const std::vector<std::wstring> log = Log();
  const std::vector<std::wstring> tail(log.end() - 5, log.end());
  const std::vector<std::wstring> expected = {
      L"Application.WindowState disconnected", L"Documents.Count disconnected", L"Document.Close disconnected",
      L"Application.Quit disconnected", L"SelectionSets.add disconnected",
  };
  EXPECT_EQ(tail, expected);

  // Another instance is not affected.
  ComPtr<IDispatch> other(static_cast<IDispatch*>(new Application()));
  EXPECT_EQ(Invoke(other.get(), L"WindowState", kGet)->result, S_OK);
}

TEST_F(InProcess, DrawingsStayOpenUntilClosedWhoeverHoldsThem) {
  ComPtr<IDispatch> documents = Get(application_.get(), L"Documents");
  const auto count = [&] {
    const auto outcome = Invoke(documents.get(), L"Count", kGet);
    EXPECT_EQ(outcome->result, S_OK);
    EXPECT_EQ((*outcome->value).vt, VT_I4);
    return (*outcome->value).lVal;
  };
  EXPECT_EQ(count(), 0);
  ComPtr<IDispatch> first = Open(MakeDrawing(L"h1.dwg"));
  Open(MakeDrawing(L"h2.dwg"));  // let go of at once: still open
  EXPECT_EQ(count(), 2);
  EXPECT_EQ(Invoke(first.get(), L"Close", DISPATCH_METHOD, {Bool(false)})->result, S_OK);
  EXPECT_EQ(count(), 1);
  EXPECT_EQ(Invoke(documents.get(), L"Count", DISPATCH_PROPERTYPUT, {I4(0)})->result, DISP_E_MEMBERNOTFOUND);
}

}  // namespace
}  // namespace pellacore::standin
