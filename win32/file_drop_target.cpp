#include "win32/file_drop_target.h"

#include <shellapi.h>

#include <utility>

namespace pellacore::win32 {
namespace {

FORMATETC FileListFormat() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

}  // namespace

bool FileDropTarget::OffersFiles(IDataObject* data) {
  FORMATETC format = FileListFormat();
  return data && data->QueryGetData(&format) == S_OK;
}

std::vector<std::wstring> FileDropTarget::PathsOf(IDataObject* data) {
  std::vector<std::wstring> paths;
  FORMATETC format = FileListFormat();
  STGMEDIUM medium{};
  if (!data || FAILED(data->GetData(&format, &medium))) return paths;
  if (auto* drop = static_cast<HDROP>(::GlobalLock(medium.hGlobal))) {
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
      std::wstring path(::DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
      path.resize(::DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
      paths.push_back(std::move(path));
    }
    ::GlobalUnlock(medium.hGlobal);
  }
  ::ReleaseStgMedium(&medium);
  return paths;
}

HRESULT FileDropTarget::QueryInterface(REFIID id, void** object) {
  if (!object) return E_POINTER;
  if (id == IID_IUnknown || id == IID_IDropTarget) {
    *object = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG FileDropTarget::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }

ULONG FileDropTarget::Release() {
  const LONG left = ::InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

void FileDropTarget::AskDragOver(DWORD* effect) noexcept {
  if (!effect) return;
  try {
    dragOver_(offersFiles_, *effect);
  } catch (...) {
    *effect = DROPEFFECT_NONE;
  }
}

HRESULT FileDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  offersFiles_ = OffersFiles(data);
  AskDragOver(effect);
  return S_OK;
}

HRESULT FileDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
  AskDragOver(effect);
  return S_OK;
}

HRESULT FileDropTarget::DragLeave() {
  offersFiles_ = false;
  return S_OK;
}

HRESULT FileDropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  offersFiles_ = OffersFiles(data);
  AskDragOver(effect);
  offersFiles_ = false;
  if (*effect == DROPEFFECT_NONE) return S_OK;
  // Nothing is thrown back into COM.
  try {
    std::vector<std::wstring> paths = PathsOf(data);
    if (!paths.empty()) drop_(std::move(paths));
  } catch (...) {
    *effect = DROPEFFECT_NONE;
  }
  return S_OK;
}

}  // namespace pellacore::win32
