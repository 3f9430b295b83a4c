#pragma once
// Owners for COM pointers, BSTRs and VARIANTs: each is released exactly once.

#include <windows.h>

#include <oleauto.h>

#include <utility>

#include "win32/unique_resource.h"

namespace pellacore::standin {

struct BstrTraits {
  using Type = BSTR;
  static Type Invalid() { return nullptr; }
  static void Close(Type text) { ::SysFreeString(text); }
};
using UniqueBstr = win32::UniqueResource<BstrTraits>;

template <class Interface>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller already holds.
  explicit ComPtr(Interface* owned) : pointer_(owned) {}
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) reset(std::exchange(other.pointer_, nullptr));
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { reset(); }

  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  Interface** put() {
    reset();
    return &pointer_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }
  void reset(Interface* owned = nullptr) {
    Interface* old = std::exchange(pointer_, owned);
    if (old) old->Release();
  }

 private:
  Interface* pointer_ = nullptr;
};

class UniqueVariant {
 public:
  UniqueVariant() { ::VariantInit(&value_); }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;
  ~UniqueVariant() { ::VariantClear(&value_); }
  VARIANT& get() { return value_; }
  const VARIANT& get() const { return value_; }

 private:
  VARIANT value_;
};

}  // namespace pellacore::standin
