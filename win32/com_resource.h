#pragma once
// Owners for COM's resources: interface pointers, BSTRs and VARIANTs. Each is
// move-only (or fixed in place) and releases what it holds exactly once.

#include <windows.h>

#include <oleauto.h>
#include <unknwn.h>

#include <utility>

#include "win32/unique_resource.h"

namespace pellacore::win32 {

template <class Interface>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller holds.
  explicit ComPtr(Interface* pointer) : pointer_(pointer) {}
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

  // Releases what is held and answers the address for an API to fill in.
  Interface** put() {
    reset();
    return &pointer_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }

  // The address of the pointer held, for a by-reference argument: the callee
  // may replace the pointer, and this owner then releases the new one.
  Interface** slot() { return &pointer_; }

  void reset(Interface* pointer = nullptr) {
    Interface* old = std::exchange(pointer_, pointer);
    if (old) old->Release();
  }

 private:
  Interface* pointer_ = nullptr;
};

struct BstrTraits {
  using Type = BSTR;
  static Type Invalid() { return nullptr; }
  static void Close(Type text) { ::SysFreeString(text); }
};
using UniqueBstr = UniqueResource<BstrTraits>;

// A VARIANT that is cleared when it goes; it stays where it was made, since
// a server may hold its address during a call.
class UniqueVariant {
 public:
  UniqueVariant() { ::VariantInit(&value_); }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;
  ~UniqueVariant() { ::VariantClear(&value_); }

  VARIANT* get() { return &value_; }
  const VARIANT& operator*() const { return value_; }

 private:
  VARIANT value_;
};

// An EXCEPINFO whose strings are freed when it goes, whoever filled them in.
class ExceptionInfo {
 public:
  ExceptionInfo() = default;
  ExceptionInfo(const ExceptionInfo&) = delete;
  ExceptionInfo& operator=(const ExceptionInfo&) = delete;
  ~ExceptionInfo() {
    ::SysFreeString(info_.bstrSource);
    ::SysFreeString(info_.bstrDescription);
    ::SysFreeString(info_.bstrHelpFile);
  }

  EXCEPINFO* get() { return &info_; }

 private:
  EXCEPINFO info_{};
};

}  // namespace pellacore::win32
