#pragma once
// The plot route's objects: a document's Layouts, each Layout with its plot
// settings, and the document's Plot, which writes a vector PDF of the
// active layout (PlotToFile). What AutoCAD refuses they refuse too.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tools/standin-autocad/dispatch_object.h"
#include "tools/standin-autocad/dxf.h"
#include "tools/standin-autocad/sheet.h"
#include "win32/com_resource.h"

namespace pellacore::standin {

using win32::ComPtr;

// Model space or one paper-space layout, as plotted.
struct LayoutContent {
  std::wstring name;  // "Model", or the layout's name
  long tabOrder = 0;  // Model 0, then the paper layouts in order
  // As plotted: a paper layout's own entities, then what its viewports show.
  std::vector<Entity> entities;
  std::vector<int> colours;
  long objects = 0;  // its block's count: its own entities and viewports
  bool model() const { return tabOrder == 0; }
};

// The layouts of a drawing: Model first. A drawing that is not DXF shows a
// framed sheet with its file name in Model, as its bitmap does.
std::vector<LayoutContent> LayoutsOf(const std::optional<Drawing>& drawing, const std::wstring& path);

// A layout's block: Count is how many objects the layout holds.
class LayoutBlock final : public DispatchObject {
 public:
  LayoutBlock(std::shared_ptr<InstanceState> instance, long count)
      : DispatchObject(std::move(instance)), count_(count) {}
  std::wstring_view Kind() const override { return L"Block"; }

 protected:
  std::span<const Member> Members() const override;
  void Get(const Member& member, VARIANT& result) override;

 private:
  ~LayoutBlock() override = default;
  long count_;
};

class Layout final : public DispatchObject {
 public:
  Layout(std::shared_ptr<InstanceState> instance, LayoutContent content);
  std::wstring_view Kind() const override { return L"Layout"; }
  const std::wstring& name() const { return content_.name; }

  // The page the settings give, or why there is none (PlotToFile answers
  // false then). `config` overrides ConfigName when not empty.
  struct Plotted {
    std::optional<std::string> pdf;
    std::wstring failure;
  };
  Plotted PlotNow(const std::wstring& config) const;

  // What EXTMIN and EXTMAX say while this layout is active: the extents of
  // what it holds; none when it holds nothing.
  std::optional<Box> Extents() const;

 protected:
  std::span<const Member> Members() const override;
  void Get(const Member& member, VARIANT& result) override;
  void Put(const Member& member, const Arguments& value) override;
  void Call(const Member& member, const Arguments& arguments, VARIANT& result) override;

 private:
  ~Layout() override = default;
  std::vector<std::wstring> MediaNames() const;

  LayoutContent content_;
  ComPtr<LayoutBlock> block_;
  std::wstring configName_ = L"None";
  bool refreshed_ = false;  // RefreshPlotDeviceInfo was called
  std::wstring mediaName_;
  long rotation_ = 0;
  long plotType_;
  bool useStandardScale_ = true;
  long standardScale_ = 16;  // ac1_1
  bool centerPlot_ = false;
  std::wstring styleSheet_;
  bool plotWithPlotStyles_ = true;
};

class Layouts final : public DispatchObject {
 public:
  Layouts(std::shared_ptr<InstanceState> instance, std::vector<ComPtr<Layout>> layouts)
      : DispatchObject(std::move(instance)), layouts_(std::move(layouts)) {}
  std::wstring_view Kind() const override { return L"Layouts"; }

 protected:
  std::span<const Member> Members() const override;
  void Get(const Member& member, VARIANT& result) override;
  void Call(const Member& member, const Arguments& arguments, VARIANT& result) override;

 private:
  ~Layouts() override = default;
  std::vector<ComPtr<Layout>> layouts_;
};

// Another reference to a layout.
inline ComPtr<Layout> AnotherReference(Layout* layout) {
  layout->AddRef();
  return ComPtr<Layout>(layout);
}

// What a document shares with its Plot: which layout is active, and
// whether the drawing is still open.
struct DocumentPlotState {
  std::wstring path;
  ComPtr<Layout> active;
  bool closed = false;
};

class Plot final : public DispatchObject {
 public:
  Plot(std::shared_ptr<InstanceState> instance, std::shared_ptr<DocumentPlotState> document)
      : DispatchObject(std::move(instance)), document_(std::move(document)) {}
  std::wstring_view Kind() const override { return L"Plot"; }

 protected:
  std::span<const Member> Members() const override;
  void Get(const Member& member, VARIANT& result) override;
  void Put(const Member& member, const Arguments& value) override;
  void Call(const Member& member, const Arguments& arguments, VARIANT& result) override;

 private:
  ~Plot() override = default;
  bool PlotToFile(const Arguments& arguments);

  std::shared_ptr<DocumentPlotState> document_;
  bool quietErrorMode_ = false;
};

// How long a background plot takes to reach its file after PlotToFile
// has returned.
inline constexpr unsigned long kBackgroundPlotMs = 1500;

}  // namespace pellacore::standin
