#pragma once
// An object in the running object table, held strongly (the table keeps a
// reference), as AutoCAD registers its Application whoever started it, so
// GetActiveObject finds it from any process. Withdrawn when this goes.

#include <windows.h>

#include <unknwn.h>

namespace pellacore::standin {

class RunningObject {
 public:
  RunningObject(IUnknown* object, REFCLSID clsid);
  RunningObject(const RunningObject&) = delete;
  RunningObject& operator=(const RunningObject&) = delete;
  ~RunningObject();

  // RegisterActiveObject's answer; MK_S_MONIKERALREADYREGISTERED, a success,
  // when another instance is registered already.
  HRESULT result() const { return result_; }

 private:
  DWORD cookie_ = 0;
  HRESULT result_ = E_FAIL;
};

}  // namespace pellacore::standin
