#pragma once
// The number of the failure a call raises, or 0 when it raises none.

#include <functional>

#include "util/failure.h"

namespace pellacore::testing {

inline long FailureNumberOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const Failure& failure) {
    return failure.number();
  }
  return 0;
}

}  // namespace pellacore::testing
