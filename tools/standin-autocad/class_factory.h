#pragma once
// The class object COM asks for an Application when a client creates
// "AutoCAD.Application". Lives as long as the process; not counted as an
// object of the server, so it does not keep the server running.

#include <windows.h>

#include <unknwn.h>

namespace pellacore::standin {

class ClassFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override;
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return 2; }
  ULONG STDMETHODCALLTYPE Release() noexcept override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) noexcept override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) noexcept override;
};

}  // namespace pellacore::standin
