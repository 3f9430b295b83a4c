#include "win32/com_apartment.h"

#include "win32/com_failure.h"

namespace pellacore::win32 {

SingleThreadedApartment::SingleThreadedApartment() {
  // S_FALSE (already initialised the same way) also needs its CoUninitialize.
  const HRESULT result = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (FAILED(result)) throw ComFailure(result);
}

SingleThreadedApartment::~SingleThreadedApartment() { ::CoUninitialize(); }

}  // namespace pellacore::win32
