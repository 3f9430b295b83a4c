#pragma once
// The five objects the converter drives: Application, Documents, Document,
// SelectionSets and SelectionSet, with the members it calls on them.

#include <optional>
#include <string>
#include <vector>

#include "tools/standin-autocad/dispatch_object.h"
#include "tools/standin-autocad/dxf.h"
#include "tools/standin-autocad/main_window.h"
#include "tools/standin-autocad/plot_objects.h"
#include "win32/com_resource.h"

namespace pellacore::standin {

using win32::ComPtr;

class Documents;
class SelectionSets;

class Application final : public DispatchObject {
 public:
  // A new instance, its main window hidden.
  Application();
  std::wstring_view Kind() const override { return L"Application"; }

  // Opens a drawing the way the instance's user does, not through a call
  // (/run PATH). Throws AutomationError as Documents.Open fails.
  void OpenAtStart(const std::wstring& path, const Config& config);
  // The paths of the drawings open now, in the order they were opened.
  std::vector<std::wstring> OpenDrawingPaths() const;

 protected:
  std::span<const Member> Members() const override;
  void Get(const Member& member, VARIANT& result) override;
  void Put(const Member& member, const Arguments& value) override;
  void Call(const Member& member, const Arguments& arguments, VARIANT& result) override;

 private:
  ~Application() override;
  void Quit();

  MainWindow window_;
  ComPtr<Documents> documents_;
  long windowState_ = 1;  // acNorm
  bool visible_ = false;
};

class Documents final : public DispatchObject {
 public:
  explicit Documents(std::shared_ptr<InstanceState> instance) : DispatchObject(std::move(instance)) {}
  std::wstring_view Kind() const override { return L"Documents"; }

  // Reads the drawing and adds it to the open ones; throws AutomationError.
  Document& Add(const std::wstring& path, const Config& config);

 protected:
  std::span<const Member> Members() const override;
  void Get(const Member& member, VARIANT& result) override;
  void Call(const Member& member, const Arguments& arguments, VARIANT& result) override;

 private:
  ~Documents() override = default;
};

class Document final : public DispatchObject {
 public:
  // `drawing` is the DXF content, none for any other file. `modified`: it
  // has changes that were never saved.
  Document(std::shared_ptr<InstanceState> instance, std::wstring path, std::optional<Drawing> drawing,
           bool modified);
  std::wstring_view Kind() const override { return L"Document"; }
  const std::wstring& path() const { return path_; }
  bool modified() const { return modified_; }
  // What Plot shares; its address tells the active drawing.
  const DocumentPlotState* plotState() const { return plotState_.get(); }

  // Asks whether to save the changes, as `member` does before the drawing
  // goes; answers false when the person cancelled. Either other answer
  // leaves the drawing without changes to save (the stand-in writes no file).
  bool AskToSave(std::wstring_view member);

 protected:
  std::span<const Member> Members() const override;
  void Get(const Member& member, VARIANT& result) override;
  void Put(const Member& member, const Arguments& value) override;
  void Call(const Member& member, const Arguments& arguments, VARIANT& result) override;

 private:
  ~Document() override = default;
  void Export(const Arguments& arguments);
  void SetVariable(const Arguments& arguments);
  void ReturnExtentsCorner(bool upper, VARIANT& result) const;
  void GetVariable(const Arguments& arguments, VARIANT& result) const;
  void Close(const Arguments& arguments);
  void RequireOpen() const;

  std::wstring path_;
  std::optional<Drawing> drawing_;
  ComPtr<SelectionSets> selectionSets_;
  std::vector<ComPtr<Layout>> layoutList_;
  ComPtr<Layouts> layouts_;
  std::shared_ptr<DocumentPlotState> plotState_;
  ComPtr<Plot> plot_;
  bool modified_ = false;
  bool closed_ = false;
};

class SelectionSets final : public DispatchObject {
 public:
  explicit SelectionSets(std::shared_ptr<InstanceState> instance) : DispatchObject(std::move(instance)) {}
  std::wstring_view Kind() const override { return L"SelectionSets"; }

 protected:
  std::span<const Member> Members() const override;
  void Call(const Member& member, const Arguments& arguments, VARIANT& result) override;

 private:
  ~SelectionSets() override = default;
};

class SelectionSet final : public DispatchObject {
 public:
  SelectionSet(std::shared_ptr<InstanceState> instance, std::wstring name)
      : DispatchObject(std::move(instance)), name_(std::move(name)) {}
  std::wstring_view Kind() const override { return L"SelectionSet"; }
  const std::wstring& name() const { return name_; }
  bool selected() const { return selected_; }

 protected:
  std::span<const Member> Members() const override;
  void Call(const Member& member, const Arguments& arguments, VARIANT& result) override;

 private:
  ~SelectionSet() override = default;
  std::wstring name_;
  bool selected_ = false;
};

}  // namespace pellacore::standin
