#include "win32/ole_session.h"

#include <objidl.h>

#include "win32/win32_failure.h"

namespace pellacore::win32 {

OleSession::OleSession() {
  const HRESULT result = ::OleInitialize(nullptr);
  if (FAILED(result)) throw Failure(static_cast<long>(result), SystemMessage(static_cast<DWORD>(result)));
  initialized_ = true;
  // Without this, COM runs IDropTarget::Drop inside a handler that eats
  // crashes, and a fault there would go unseen.
  IGlobalOptions* options = nullptr;
  if (SUCCEEDED(::CoCreateInstance(CLSID_GlobalOptions, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IGlobalOptions, reinterpret_cast<void**>(&options)))) {
    options->Set(COMGLB_EXCEPTION_HANDLING, COMGLB_EXCEPTION_DONOT_HANDLE_ANY);
    options->Release();
  }
}

OleSession::~OleSession() {
  if (initialized_) ::OleUninitialize();
}

}  // namespace pellacore::win32
