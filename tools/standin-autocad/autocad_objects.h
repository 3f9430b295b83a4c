#pragma once
// The five objects the converter drives: Application, Documents, Document,
// SelectionSets and SelectionSet, with the members it calls on them.

#include <optional>
#include <string>

#include "tools/standin-autocad/dispatch_object.h"
#include "tools/standin-autocad/dxf.h"
#include "win32/com_resource.h"

namespace pellacore::standin {

using win32::ComPtr;

class Documents;
class SelectionSets;

class Application final : public DispatchObject {
 public:
  Application();
  std::wstring_view Kind() const override { return L"Application"; }

 protected:
  std::span<const Member> Members() const override;
  void Get(const Member& member, VARIANT& result) override;
  void Put(const Member& member, const Arguments& value) override;
  void Call(const Member& member, const Arguments& arguments, VARIANT& result) override;

 private:
  ~Application() override = default;
  ComPtr<Documents> documents_;
  long windowState_ = 1;  // acNorm
  bool visible_ = false;
};

class Documents final : public DispatchObject {
 public:
  Documents() = default;
  std::wstring_view Kind() const override { return L"Documents"; }

 protected:
  std::span<const Member> Members() const override;
  void Call(const Member& member, const Arguments& arguments, VARIANT& result) override;

 private:
  ~Documents() override = default;
};

class Document final : public DispatchObject {
 public:
  // `drawing` is the DXF content, none for any other file.
  Document(std::wstring path, std::optional<Drawing> drawing);
  std::wstring_view Kind() const override { return L"Document"; }

 protected:
  std::span<const Member> Members() const override;
  void Get(const Member& member, VARIANT& result) override;
  void Call(const Member& member, const Arguments& arguments, VARIANT& result) override;

 private:
  ~Document() override = default;
  void Export(const Arguments& arguments);
  void RequireOpen() const;

  std::wstring path_;
  std::optional<Drawing> drawing_;
  ComPtr<SelectionSets> selectionSets_;
  bool closed_ = false;
};

class SelectionSets final : public DispatchObject {
 public:
  SelectionSets() = default;
  std::wstring_view Kind() const override { return L"SelectionSets"; }

 protected:
  std::span<const Member> Members() const override;
  void Call(const Member& member, const Arguments& arguments, VARIANT& result) override;

 private:
  ~SelectionSets() override = default;
};

class SelectionSet final : public DispatchObject {
 public:
  explicit SelectionSet(std::wstring name) : name_(std::move(name)) {}
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
