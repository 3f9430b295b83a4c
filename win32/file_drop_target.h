#pragma once
// Accepts files and folders dropped onto a window: a COM drop target that
// takes the system's file-list format and hands the paths on.

#include <windows.h>

#include <ole2.h>

#include <functional>
#include <string>
#include <vector>

namespace pellacore::win32 {

class FileDropTarget final : public IDropTarget {
 public:
  // `dragOver`: told whether the data offers files and the effects the
  // source allows, chooses the effect; asked again at the drop, where an
  // effect of none refuses it. `drop`: the dropped paths, in the order the
  // source lists them. The source waits in its drag loop until `drop`
  // returns, so it must only take them; a failure refuses the drop.
  using DragOverHandler = std::function<void(bool offersFiles, DWORD& effect)>;
  using DropHandler = std::function<void(std::vector<std::wstring> paths)>;
  FileDropTarget(DragOverHandler dragOver, DropHandler drop)
      : dragOver_(std::move(dragOver)), drop_(std::move(drop)) {}

  // The paths of a file-list data object; empty when it offers none.
  static std::vector<std::wstring> PathsOf(IDataObject* data);
  static bool OffersFiles(IDataObject* data);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

 private:
  ~FileDropTarget() = default;
  void AskDragOver(DWORD* effect) noexcept;

  LONG references_ = 1;
  bool offersFiles_ = false;
  DragOverHandler dragOver_;
  DropHandler drop_;
};

}  // namespace pellacore::win32
