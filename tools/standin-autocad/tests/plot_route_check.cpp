// The plot route driven from another process, with the VARTYPEs a client
// sends and receives across the marshaller: the layouts as objects, the
// media names as an array of strings, PlotToFile's Boolean, a fault plan's
// FailPlot.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tools/standin-autocad/tests/call_watch.h"
#include "tools/standin-autocad/tests/cross_process_fixture.h"
#include "tools/standin-autocad/tests/pdf_inspection.h"
#include "tools/standin-autocad/tests/plot_drawing.h"

namespace pellacore::standin::testing {
namespace {

std::string FileBytes(const std::wstring& path) {
  std::ifstream file(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class CrossProcessPlot : public CrossProcess {
 protected:
  std::unique_ptr<Outcome> Call(IDispatch* target, const wchar_t* name, std::vector<VARIANT> arguments = {}) {
    return Invoke(target, name, DISPATCH_METHOD, std::move(arguments));
  }
  std::unique_ptr<Outcome> PutText(IDispatch* target, const wchar_t* name, const wchar_t* value) {
    UniqueBstr text(::SysAllocString(value));
    return Invoke(target, name, DISPATCH_PROPERTYPUT, {Str(text.get())});
  }
  std::unique_ptr<Outcome> Variable(IDispatch* document, const wchar_t* name, std::optional<short> value) {
    UniqueBstr text(::SysAllocString(name));
    if (!value) return Call(document, L"GetVariable", {Str(text.get())});
    return Call(document, L"SetVariable", {Str(text.get()), I2(*value)});
  }
  std::unique_ptr<Outcome> PlotToFile(IDispatch* document, const std::wstring& path) {
    ComPtr<IDispatch> plot = Get(document, L"Plot");
    UniqueBstr text(::SysAllocString(path.c_str()));
    return Call(plot.get(), L"PlotToFile", {Str(text.get())});
  }
  // The notes' recipe for one layout.
  void Prepare(IDispatch* document, IDispatch* layout, long plotType) {
    IDispatch* storage = layout;
    EXPECT_EQ(Invoke(document, L"ActiveLayout", DISPATCH_PROPERTYPUT, {DispRef(&storage)})->result, S_OK);
    EXPECT_EQ(Call(layout, L"RefreshPlotDeviceInfo")->result, S_OK);
    EXPECT_EQ(PutText(layout, L"ConfigName", L"DWG To PDF.pc3")->result, S_OK);
    const auto names = Call(layout, L"GetCanonicalMediaNames");
    EXPECT_EQ((*names->value).vt, VT_ARRAY | VT_BSTR);
    EXPECT_EQ(PutText(layout, L"CanonicalMediaName", kA3)->result, S_OK);
    EXPECT_EQ(Invoke(layout, L"PlotRotation", DISPATCH_PROPERTYPUT, {I4(1)})->result, S_OK);
    EXPECT_EQ(Invoke(layout, L"PlotType", DISPATCH_PROPERTYPUT, {I4(plotType)})->result, S_OK);
    EXPECT_EQ(Invoke(layout, L"StandardScale", DISPATCH_PROPERTYPUT, {I4(0)})->result, S_OK);
    EXPECT_EQ(Invoke(layout, L"CenterPlot", DISPATCH_PROPERTYPUT, {Bool(true)})->result, S_OK);
  }
};

TEST_F(CrossProcessPlot, EveryLayoutPlotsAndTheVariablesArePutBack) {
  const std::wstring drawing = MakeDrawing(L"plan.dwg", kPlanWithSheet);
  ComPtr<IDispatch> application = Create();
  ASSERT_TRUE(application);
  const auto open = Open(application.get(), drawing);
  ASSERT_EQ(open->result, S_OK) << open->Description();
  ComPtr<IDispatch> document = open->Object();
  ASSERT_EQ(Variable(document.get(), L"BACKGROUNDPLOT", 0)->result, S_OK);
  ASSERT_EQ(Variable(document.get(), L"PLQUIET", 1)->result, S_OK);

  ComPtr<IDispatch> layouts = Get(document.get(), L"Layouts");
  const auto count = Invoke(layouts.get(), L"Count", kGet);
  ASSERT_EQ((*count->value).lVal, 2);
  for (long i = 0; i < 2; ++i) {
    ComPtr<IDispatch> layout = Call(layouts.get(), L"Item", {I4(i)})->Object();
    ASSERT_TRUE(layout);
    Prepare(document.get(), layout.get(), i == 0 ? 1 : 5);
    const std::wstring pdf = folder_.path() + L"layout" + std::to_wstring(i) + L".pdf";
    const auto plotted = PlotToFile(document.get(), pdf);
    ASSERT_EQ(plotted->result, S_OK) << plotted->Description();
    EXPECT_EQ((*plotted->value).vt, VT_BOOL);
    EXPECT_EQ((*plotted->value).boolVal, VARIANT_TRUE);
    const std::string bytes = FileBytes(pdf);
    EXPECT_EQ(InspectPdf(bytes).problem, "");
    EXPECT_NE(bytes.find(i == 0 ? "(GROUND FLOOR) Tj" : "(SHEET TITLE) Tj"), std::string::npos);
    // A second plot to the same name is refused, as AutoCAD refuses it.
    const auto again = PlotToFile(document.get(), pdf);
    EXPECT_EQ(again->result, DISP_E_EXCEPTION);
    EXPECT_EQ(again->exception.scode, HRESULT_FROM_WIN32(ERROR_FILE_EXISTS));
  }
  // Put back; the instance answers what it holds.
  EXPECT_EQ(Variable(document.get(), L"BACKGROUNDPLOT", 2)->result, S_OK);
  EXPECT_EQ(Variable(document.get(), L"PLQUIET", 0)->result, S_OK);
  const auto background = Variable(document.get(), L"BACKGROUNDPLOT", std::nullopt);
  EXPECT_EQ((*background->value).vt, VT_I2);
  EXPECT_EQ((*background->value).iVal, 2);
  EXPECT_EQ(Call(document.get(), L"Close", {Bool(false)})->result, S_OK);
  QuitAndWait(application.get());
  EXPECT_TRUE(LogHas(L"Layout.PlotType put (VT_I4 5)"));
}

TEST_F(CrossProcessPlot, AFaultPlanMakesOneDrawingsPlotAnswerFalse) {
  const std::wstring failing = MakeDrawing(L"failing.dwg", kPlanWithSheet);
  const std::wstring plan = folder_.path() + L"plan.txt";
  std::string line;
  for (wchar_t c : failing) line += static_cast<char>(c);
  WriteTextFile(plan, "Z:\\nowhere\\other.dwg\tFailPlot=error\n" + line + "\tFailPlot=false\n");
  config_.Set(L"FaultPlan", plan);
  ComPtr<IDispatch> application = Create();
  ASSERT_TRUE(application);
  ComPtr<IDispatch> document = Open(application.get(), failing)->Object();
  ASSERT_TRUE(document);
  ASSERT_EQ(Variable(document.get(), L"BACKGROUNDPLOT", 0)->result, S_OK);
  ComPtr<IDispatch> plot = Get(document.get(), L"Plot");
  ASSERT_EQ(Invoke(plot.get(), L"QuietErrorMode", DISPATCH_PROPERTYPUT, {Bool(true)})->result, S_OK);
  ComPtr<IDispatch> model = Get(document.get(), L"ActiveLayout");
  Prepare(document.get(), model.get(), 1);
  const std::wstring pdf = folder_.path() + L"failing.pdf";
  const auto plotted = PlotToFile(document.get(), pdf);
  ASSERT_EQ(plotted->result, S_OK);
  EXPECT_EQ((*plotted->value).boolVal, VARIANT_FALSE);
  EXPECT_FALSE(FileExists(pdf));
  EXPECT_EQ(Call(document.get(), L"Close", {Bool(false)})->result, S_OK);
  QuitAndWait(application.get());
  EXPECT_TRUE(LogHas(L"plot failed: the stand-in was told to fail here (FailPlot)"));
}

TEST_F(CrossProcessPlot, WithoutQuietErrorModeAPlotErrorWaitsForAPerson) {
  const std::wstring drawing = MakeDrawing(L"loud.dwg", kPlanWithSheet);
  ComPtr<IDispatch> application = Create();
  ASSERT_TRUE(application);
  ComPtr<IDispatch> document = Open(application.get(), drawing)->Object();
  ASSERT_TRUE(document);
  ASSERT_EQ(Variable(document.get(), L"BACKGROUNDPLOT", 0)->result, S_OK);
  // No device chosen, QuietErrorMode and PLQUIET left at their defaults.
  CallWatch watch(WindowOf(application.get()), Answering({IDOK}));
  const auto plotted = PlotToFile(document.get(), folder_.path() + L"loud.pdf");
  const std::vector<SeenBox> boxes = watch.Returned();
  EXPECT_FALSE(watch.endedServer());
  ASSERT_EQ(plotted->result, S_OK) << Hex(plotted->result);
  EXPECT_EQ((*plotted->value).boolVal, VARIANT_FALSE);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0].callWaiting);
  EXPECT_NE(boxes[0].text.find(L"Plot error"), std::wstring::npos) << boxes[0].text;
  EXPECT_EQ(Call(document.get(), L"Close", {Bool(false)})->result, S_OK);
  QuitAndWait(application.get());
}

}  // namespace
}  // namespace pellacore::standin::testing
