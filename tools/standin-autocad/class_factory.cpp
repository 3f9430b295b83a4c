#include "tools/standin-autocad/class_factory.h"

#include "tools/standin-autocad/autocad_objects.h"
#include "tools/standin-autocad/call_log.h"
#include "tools/standin-autocad/server_lifetime.h"

namespace pellacore::standin {

ClassFactory::ClassFactory(REFCLSID clsid) : clsid_(clsid) {}

ClassFactory::~ClassFactory() = default;

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
    // Single use: COM sends this server no second creation.
    if (application_) return CO_E_SERVER_EXEC_FAILURE;
    application_.reset(new Application());
    // Found by GetActiveObject from now on, as a real AutoCAD started
    // through automation is.
    running_ = std::make_unique<RunningObject>(static_cast<IDispatch*>(application_.get()), clsid_);
    if (SUCCEEDED(running_->result())) {
      Log(config, L"ready");
    } else {
      Log(config, L"not in the running object table");
    }
    return application_->QueryInterface(iid, object);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

HRESULT ClassFactory::LockServer(BOOL lock) noexcept {
  lifetime::Lock(lock != FALSE);
  return S_OK;
}

std::vector<std::wstring> ClassFactory::Withdraw() {
  if (!application_) return {};
  std::vector<std::wstring> open = application_->OpenDrawingPaths();
  running_.reset();
  return open;
}

}  // namespace pellacore::standin
