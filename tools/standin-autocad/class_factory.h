#pragma once
// The class object COM asks for an Application when a client creates
// "AutoCAD.Application". It serves one creation (the server registers it
// for single use) and puts the Application it made into the running object
// table. Lives as long as the process; not counted as an object of the
// server, so it does not keep the server running.

#include <windows.h>

#include <unknwn.h>

#include <memory>
#include <string>
#include <vector>

#include "tools/standin-autocad/running_object.h"
#include "win32/com_resource.h"

namespace pellacore::standin {

class Application;

class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(REFCLSID clsid);
  ClassFactory(const ClassFactory&) = delete;
  ClassFactory& operator=(const ClassFactory&) = delete;
  ~ClassFactory();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override;
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return 2; }
  ULONG STDMETHODCALLTYPE Release() noexcept override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) noexcept override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) noexcept override;

  // Takes the Application out of the running object table and answers the
  // drawings it still had open.
  std::vector<std::wstring> Withdraw();

 private:
  CLSID clsid_;
  win32::ComPtr<Application> application_;
  std::unique_ptr<RunningObject> running_;
};

}  // namespace pellacore::standin
