#include "tools/standin-autocad/class_factory.h"

#include "tools/standin-autocad/autocad_objects.h"
#include "tools/standin-autocad/call_log.h"
#include "tools/standin-autocad/server_lifetime.h"

namespace pellacore::standin {

HRESULT ClassFactory::QueryInterface(REFIID iid, void** object) noexcept {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IClassFactory) {
    *object = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) noexcept {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  try {
    const Config config = ReadConfig();
    if (config.failCreate) {
      Log(config, L"Application not created (FailCreate)");
      lifetime::CreationRefused();
      return CO_E_SERVER_EXEC_FAILURE;
    }
    auto* application = new Application();
    const HRESULT result = application->QueryInterface(iid, object);
    application->Release();
    return result;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

HRESULT ClassFactory::LockServer(BOOL lock) noexcept {
  lifetime::Lock(lock != FALSE);
  return S_OK;
}

}  // namespace pellacore::standin
