#pragma once
// COM on the current thread as a single-threaded apartment, for as long as
// this object lives.

#include <windows.h>

#include <objbase.h>

namespace pellacore::win32 {

class SingleThreadedApartment {
 public:
  // Raises when COM refuses, as on a thread already in the multithreaded
  // apartment.
  SingleThreadedApartment();
  SingleThreadedApartment(const SingleThreadedApartment&) = delete;
  SingleThreadedApartment& operator=(const SingleThreadedApartment&) = delete;
  ~SingleThreadedApartment();
};

}  // namespace pellacore::win32
