// The plot route called in-process: system variables, layouts and their
// settings, and PlotToFile writing a real PDF or failing as AutoCAD fails.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/windows/scratch_folder.h"
#include "tools/standin-autocad/autocad_objects.h"
#include "tools/standin-autocad/plot_objects.h"
#include "tools/standin-autocad/tests/pdf_inspection.h"
#include "tools/standin-autocad/tests/plot_drawing.h"
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
using testing::kA3;
using testing::kPlanWithSheet;
using testing::Str;

std::string ReadBytes(const std::wstring& path) {
  std::ifstream file(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class PlotRoute : public ::testing::Test {
 protected:
  PlotRoute() : log_(folder_.path() + L"calls.log") {
    config_.Set(L"LogFile", log_);
    application_.reset(static_cast<IDispatch*>(new Application()));
  }

  ComPtr<IDispatch> Get(IDispatch* target, const wchar_t* name) {
    const auto outcome = Invoke(target, name, kGet);
    EXPECT_EQ(outcome->result, S_OK) << name << ": " << outcome->Description();
    return outcome->Object();
  }

  ComPtr<IDispatch> Open(const std::string& content, const wchar_t* name = L"plan.dwg") {
    const std::wstring path = folder_.path() + name;
    testing::WriteTextFile(path, content);
    ComPtr<IDispatch> documents = Get(application_.get(), L"Documents");
    UniqueBstr text(::SysAllocString(path.c_str()));
    const auto outcome = Invoke(documents.get(), L"Open", DISPATCH_METHOD, {Str(text.get())});
    EXPECT_EQ(outcome->result, S_OK) << outcome->Description();
    return outcome->Object();
  }

  std::unique_ptr<Outcome> PutText(IDispatch* target, const wchar_t* name, const std::wstring& value) {
    UniqueBstr text(::SysAllocString(value.c_str()));
    return Invoke(target, name, DISPATCH_PROPERTYPUT, {Str(text.get())});
  }

  std::unique_ptr<Outcome> SetVariable(IDispatch* document, const wchar_t* name, VARIANT value) {
    UniqueBstr text(::SysAllocString(name));
    return Invoke(document, L"SetVariable", DISPATCH_METHOD, {Str(text.get()), value});
  }

  std::unique_ptr<Outcome> GetVariable(IDispatch* document, const wchar_t* name) {
    UniqueBstr text(::SysAllocString(name));
    return Invoke(document, L"GetVariable", DISPATCH_METHOD, {Str(text.get())});
  }

  std::vector<std::wstring> MediaNames(IDispatch* layout) {
    const auto outcome = Invoke(layout, L"GetCanonicalMediaNames", DISPATCH_METHOD);
    EXPECT_EQ(outcome->result, S_OK);
    std::vector<std::wstring> names;
    if ((*outcome->value).vt != (VT_ARRAY | VT_BSTR)) {
      ADD_FAILURE() << "VARTYPE " << (*outcome->value).vt;
      return names;
    }
    SAFEARRAY* array = (*outcome->value).parray;
    LONG low = 0, high = -1;
    ::SafeArrayGetLBound(array, 1, &low);
    ::SafeArrayGetUBound(array, 1, &high);
    for (LONG i = low; i <= high; ++i) {
      BSTR name = nullptr;
      ::SafeArrayGetElement(array, &i, &name);
      names.emplace_back(name ? name : L"");
      ::SysFreeString(name);
    }
    return names;
  }

  // The notes' settings for one layout: the PDF plotter, A3 turned to
  // landscape, extents (or the layout) fitted and centred, monochrome.
  void Prepare(IDispatch* document, IDispatch* layout, bool model) {
    IDispatch* storage = layout;
    EXPECT_EQ(Invoke(document, L"ActiveLayout", DISPATCH_PROPERTYPUT, {DispRef(&storage)})->result, S_OK);
    EXPECT_EQ(Invoke(layout, L"RefreshPlotDeviceInfo", DISPATCH_METHOD)->result, S_OK);
    EXPECT_EQ(PutText(layout, L"ConfigName", L"DWG To PDF.pc3")->result, S_OK);
    const std::vector<std::wstring> names = MediaNames(layout);
    EXPECT_NE(std::find(names.begin(), names.end(), kA3), names.end());
    EXPECT_EQ(PutText(layout, L"CanonicalMediaName", kA3)->result, S_OK);
    EXPECT_EQ(Invoke(layout, L"PlotRotation", DISPATCH_PROPERTYPUT, {I4(1)})->result, S_OK);
    EXPECT_EQ(Invoke(layout, L"PlotType", DISPATCH_PROPERTYPUT, {I4(model ? 1 : 5)})->result, S_OK);
    EXPECT_EQ(Invoke(layout, L"UseStandardScale", DISPATCH_PROPERTYPUT, {Bool(true)})->result, S_OK);
    EXPECT_EQ(Invoke(layout, L"StandardScale", DISPATCH_PROPERTYPUT, {I4(0)})->result, S_OK);
    EXPECT_EQ(Invoke(layout, L"CenterPlot", DISPATCH_PROPERTYPUT, {Bool(true)})->result, S_OK);
    EXPECT_EQ(PutText(layout, L"StyleSheet", L"monochrome.ctb")->result, S_OK);
    EXPECT_EQ(Invoke(layout, L"PlotWithPlotStyles", DISPATCH_PROPERTYPUT, {Bool(true)})->result, S_OK);
  }

  std::unique_ptr<Outcome> PlotToFile(IDispatch* document, const std::wstring& path) {
    ComPtr<IDispatch> plot = Get(document, L"Plot");
    UniqueBstr text(::SysAllocString(path.c_str()));
    return Invoke(plot.get(), L"PlotToFile", DISPATCH_METHOD, {Str(text.get())});
  }

  void Foreground(IDispatch* document) {
    EXPECT_EQ(SetVariable(document, L"BACKGROUNDPLOT", I2(0))->result, S_OK);
    ComPtr<IDispatch> plot = Get(document, L"Plot");
    EXPECT_EQ(Invoke(plot.get(), L"QuietErrorMode", DISPATCH_PROPERTYPUT, {Bool(true)})->result, S_OK);
  }

  std::vector<std::wstring> Log() const { return testing::ReadLogLines(log_); }

  pellacore::testing::ScratchFolder folder_;
  testing::ScopedConfig config_;
  std::wstring log_;
  ComPtr<IDispatch> application_;
};

TEST_F(PlotRoute, EachLayoutPlotsToAVectorPdfOnTheChosenSheet) {
  ComPtr<IDispatch> document = Open(kPlanWithSheet);
  Foreground(document.get());
  ComPtr<IDispatch> layouts = Get(document.get(), L"Layouts");
  const auto count = Invoke(layouts.get(), L"Count", kGet);
  ASSERT_EQ((*count->value).lVal, 2);
  const struct {
    VARIANT index;
    const wchar_t* name;
    bool model;
    const char* shown;
    const char* hidden;
  } cases[] = {{I4(0), L"Model", true, "GROUND FLOOR", "SHEET TITLE"},
               {I4(1), L"Sheet 1", false, "SHEET TITLE", "GROUND FLOOR"}};
  for (const auto& one : cases) {
    SCOPED_TRACE(::testing::PrintToString(std::wstring(one.name)));
    ComPtr<IDispatch> layout = Invoke(layouts.get(), L"Item", DISPATCH_METHOD, {one.index})->Object();
    ASSERT_TRUE(layout);
    EXPECT_EQ(std::wstring((*Invoke(layout.get(), L"Name", kGet)->value).bstrVal), one.name);
    Prepare(document.get(), layout.get(), one.model);
    const std::wstring pdf = folder_.path() + one.name + L".pdf";
    const auto plotted = PlotToFile(document.get(), pdf);
    ASSERT_EQ(plotted->result, S_OK) << plotted->Description();
    EXPECT_EQ((*plotted->value).vt, VT_BOOL);
    EXPECT_EQ((*plotted->value).boolVal, VARIANT_TRUE);
    // In the foreground the file is there when the call returns.
    const std::string bytes = ReadBytes(pdf);
    const auto facts = testing::InspectPdf(bytes);
    EXPECT_EQ(facts.problem, "");
    EXPECT_EQ(facts.pageCount, 1);
    ASSERT_EQ(facts.mediaBoxes.size(), 1u);
    EXPECT_NEAR(facts.mediaBoxes[0].width, 420 * 72 / 25.4, 0.01);  // landscape
    EXPECT_NEAR(facts.mediaBoxes[0].height, 297 * 72 / 25.4, 0.01);
    EXPECT_NE(bytes.find(std::string("(") + one.shown + ") Tj"), std::string::npos);
    EXPECT_EQ(bytes.find(std::string("(") + one.hidden + ") Tj"), std::string::npos);
    EXPECT_EQ(bytes.find("1 0 0 RG"), std::string::npos);  // monochrome: the red line is black
  }
  // By name, any case.
  UniqueBstr name(::SysAllocString(L"sheet 1"));
  EXPECT_EQ(Invoke(layouts.get(), L"Item", DISPATCH_METHOD, {Str(name.get())})->result, S_OK);
  const std::vector<std::wstring> log = Log();
  EXPECT_NE(std::find(log.begin(), log.end(), L"Layout.ConfigName put (VT_BSTR DWG To PDF.pc3)"), log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), L"Document.SetVariable call (VT_BSTR BACKGROUNDPLOT, VT_I2 0)"),
            log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), L"Plot.PlotToFile call (VT_BSTR " + folder_.path() + L"Model.pdf)"),
            log.end());
}

TEST_F(PlotRoute, SystemVariablesStartAtAutoCADsDefaultsAndKeepWhatIsSet) {
  ComPtr<IDispatch> document = Open(kPlanWithSheet);
  const struct {
    const wchar_t* name;
    short value;
  } defaults[] = {{L"BACKGROUNDPLOT", 2}, {L"FILEDIA", 1}, {L"PLQUIET", 0}, {L"PROXYNOTICE", 1}, {L"RECOVERAUTO", 0}};
  for (const auto& one : defaults) {
    const auto got = GetVariable(document.get(), one.name);
    ASSERT_EQ(got->result, S_OK) << one.name;
    EXPECT_EQ((*got->value).vt, VT_I2);
    EXPECT_EQ((*got->value).iVal, one.value) << one.name;
  }
  // Any integer VARTYPE is taken; names in any case; the instance keeps it,
  // so another drawing of it reads the same.
  EXPECT_EQ(SetVariable(document.get(), L"recoverauto", I4(3))->result, S_OK);
  ComPtr<IDispatch> other = Open(kPlanWithSheet, L"other.dwg");
  EXPECT_EQ((*GetVariable(other.get(), L"RECOVERAUTO")->value).iVal, 3);
  // Unknown names and values out of range are refused and change nothing.
  EXPECT_EQ(SetVariable(document.get(), L"NOSUCHVAR", I2(0))->result, DISP_E_EXCEPTION);
  EXPECT_EQ(GetVariable(document.get(), L"NOSUCHVAR")->result, DISP_E_EXCEPTION);
  const auto refused = SetVariable(document.get(), L"FILEDIA", I2(7));
  EXPECT_EQ(refused->result, DISP_E_EXCEPTION);
  EXPECT_NE(refused->Description().find(L"FILEDIA"), std::wstring::npos);
  EXPECT_EQ((*GetVariable(document.get(), L"FILEDIA")->value).iVal, 1);
}

TEST_F(PlotRoute, TheSettingsRefuseWhatAutoCADRefuses) {
  ComPtr<IDispatch> document = Open(kPlanWithSheet);
  ComPtr<IDispatch> model = Get(document.get(), L"ActiveLayout");
  // Before RefreshPlotDeviceInfo the layout knows no media.
  EXPECT_EQ(PutText(model.get(), L"ConfigName", L"DWG To PDF.pc3")->result, S_OK);
  EXPECT_TRUE(MediaNames(model.get()).empty());
  EXPECT_EQ(PutText(model.get(), L"CanonicalMediaName", kA3)->result, DISP_E_EXCEPTION);
  EXPECT_EQ(Invoke(model.get(), L"RefreshPlotDeviceInfo", DISPATCH_METHOD)->result, S_OK);
  EXPECT_FALSE(MediaNames(model.get()).empty());
  const auto unknownMedia = PutText(model.get(), L"CanonicalMediaName", L"A3");
  EXPECT_EQ(unknownMedia->result, DISP_E_EXCEPTION);
  EXPECT_NE(unknownMedia->Description().find(L"\"A3\""), std::wstring::npos);
  // A configuration by path, or one AutoCAD does not have.
  EXPECT_EQ(PutText(model.get(), L"ConfigName", L"C:\\plotters\\DWG To PDF.pc3")->result, DISP_E_EXCEPTION);
  EXPECT_EQ(PutText(model.get(), L"ConfigName", L"Other.pc3")->result, DISP_E_EXCEPTION);
  EXPECT_EQ(Invoke(model.get(), L"PlotRotation", DISPATCH_PROPERTYPUT, {I4(4)})->result, DISP_E_EXCEPTION);
  EXPECT_EQ(Invoke(model.get(), L"PlotType", DISPATCH_PROPERTYPUT, {I4(5)})->result, DISP_E_EXCEPTION);
  EXPECT_EQ(PutText(model.get(), L"StyleSheet", L"nosuch.ctb")->result, DISP_E_EXCEPTION);
}

TEST_F(PlotRoute, PlotToFileFailsAsAutoCADDoes) {
  ComPtr<IDispatch> document = Open(kPlanWithSheet);
  Foreground(document.get());
  ComPtr<IDispatch> model = Get(document.get(), L"ActiveLayout");
  const std::wstring pdf = folder_.path() + L"plan.pdf";

  // No device chosen yet: false, nothing written, a line in the log.
  auto outcome = PlotToFile(document.get(), pdf);
  ASSERT_EQ(outcome->result, S_OK);
  EXPECT_EQ((*outcome->value).boolVal, VARIANT_FALSE);
  EXPECT_FALSE(testing::FileExists(pdf));

  Prepare(document.get(), model.get(), true);
  // An existing file is an error, and stays as it was.
  testing::WriteTextFile(pdf, "old");
  outcome = PlotToFile(document.get(), pdf);
  EXPECT_EQ(outcome->result, DISP_E_EXCEPTION);
  EXPECT_EQ(outcome->exception.scode, HRESULT_FROM_WIN32(ERROR_FILE_EXISTS));
  EXPECT_EQ(ReadBytes(pdf), "old");
  ::DeleteFileW(pdf.c_str());

  // Only the active drawing plots.
  ComPtr<IDispatch> other = Open(kPlanWithSheet, L"other.dwg");
  EXPECT_EQ((*PlotToFile(document.get(), pdf)->value).boolVal, VARIANT_FALSE);
  EXPECT_EQ(Invoke(document.get(), L"Activate", DISPATCH_METHOD)->result, S_OK);

  // The fault switches: false and nothing written, or an error.
  config_.Set(L"FailPlot", L"false");
  outcome = PlotToFile(document.get(), pdf);
  EXPECT_EQ((*outcome->value).boolVal, VARIANT_FALSE);
  EXPECT_FALSE(testing::FileExists(pdf));
  config_.Set(L"FailPlot", L"error");
  EXPECT_EQ(PlotToFile(document.get(), pdf)->result, DISP_E_EXCEPTION);
  config_.Set(L"FailPlot", L"");
  EXPECT_EQ((*PlotToFile(document.get(), pdf)->value).boolVal, VARIANT_TRUE);
  EXPECT_TRUE(testing::FileExists(pdf));

  const std::vector<std::wstring> log = Log();
  EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::wstring& line) { return line.rfind(L"plot failed: ", 0) == 0; }),
            3);
}

TEST_F(PlotRoute, InTheBackgroundTheFileArrivesAfterTheCallReturns) {
  ComPtr<IDispatch> document = Open(kPlanWithSheet);
  ComPtr<IDispatch> model = Get(document.get(), L"ActiveLayout");
  Prepare(document.get(), model.get(), true);
  ComPtr<IDispatch> plot = Get(document.get(), L"Plot");
  EXPECT_EQ(Invoke(plot.get(), L"QuietErrorMode", DISPATCH_PROPERTYPUT, {Bool(true)})->result, S_OK);
  // BACKGROUNDPLOT left at its default.
  const std::wstring pdf = folder_.path() + L"later.pdf";
  const DWORD start = ::GetTickCount();
  const auto outcome = PlotToFile(document.get(), pdf);
  EXPECT_EQ((*outcome->value).boolVal, VARIANT_TRUE);
  EXPECT_FALSE(testing::FileExists(pdf));
  // Bounded: the background plot takes kBackgroundPlotMs.
  while (!testing::FileExists(pdf) && ::GetTickCount() - start < kBackgroundPlotMs + 10000) ::Sleep(50);
  ASSERT_TRUE(testing::FileExists(pdf));
  EXPECT_GE(::GetTickCount() - start, kBackgroundPlotMs - 100);
  // Written whole once it is there: poll until the log says so.
  while (::GetTickCount() - start < kBackgroundPlotMs + 10000) {
    const auto log = Log();
    if (std::find(log.begin(), log.end(), L"background plot written " + pdf) != log.end()) break;
    ::Sleep(50);
  }
  EXPECT_EQ(testing::InspectPdf(ReadBytes(pdf)).problem, "");
}

}  // namespace
}  // namespace pellacore::standin
