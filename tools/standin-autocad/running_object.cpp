#include "tools/standin-autocad/running_object.h"

#include <oleauto.h>

namespace pellacore::standin {

RunningObject::RunningObject(IUnknown* object, REFCLSID clsid)
    : result_(::RegisterActiveObject(object, clsid, ACTIVEOBJECT_STRONG, &cookie_)) {}

RunningObject::~RunningObject() {
  if (SUCCEEDED(result_)) ::RevokeActiveObject(cookie_, nullptr);
}

}  // namespace pellacore::standin
