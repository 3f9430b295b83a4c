#pragma once
// Move-only owners for the handles of the Windows API: each closes its handle
// exactly once, on every path. Copying is deleted, so no copy can close a
// handle a second time.

#include <windows.h>

#include <shlobj.h>

#include <utility>

namespace pellacore::win32 {

template <class Traits>
class UniqueResource {
 public:
  using Type = typename Traits::Type;

  UniqueResource() = default;
  explicit UniqueResource(Type value) : value_(value) {}
  UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  ~UniqueResource() { reset(); }

  Type get() const { return value_; }
  explicit operator bool() const { return value_ != Traits::Invalid(); }

  // Closes what is held and answers the address for an API to fill in.
  Type* put() {
    reset();
    return &value_;
  }

  Type release() { return std::exchange(value_, Traits::Invalid()); }

  void reset(Type value = Traits::Invalid()) {
    Type old = std::exchange(value_, value);
    if (old != Traits::Invalid()) Traits::Close(old);
  }

 private:
  Type value_ = Traits::Invalid();
};

struct RegistryKeyTraits {
  using Type = HKEY;
  static Type Invalid() { return nullptr; }
  static void Close(Type key) { ::RegCloseKey(key); }
};

// Handles whose "none" is INVALID_HANDLE_VALUE (CreateFile).
struct FileHandleTraits {
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Type handle) { ::CloseHandle(handle); }
};

// Handles whose "none" is null (processes, threads, events).
struct HandleTraits {
  using Type = HANDLE;
  static Type Invalid() { return nullptr; }
  static void Close(Type handle) { ::CloseHandle(handle); }
};

struct FindHandleTraits {
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Type handle) { ::FindClose(handle); }
};

struct ItemIdListTraits {
  using Type = LPITEMIDLIST;
  static Type Invalid() { return nullptr; }
  static void Close(Type list) { ::CoTaskMemFree(list); }
};

using UniqueHkey = UniqueResource<RegistryKeyTraits>;
using UniqueFile = UniqueResource<FileHandleTraits>;
using UniqueHandle = UniqueResource<HandleTraits>;
using UniqueFindHandle = UniqueResource<FindHandleTraits>;
using UniqueItemIdList = UniqueResource<ItemIdListTraits>;

}  // namespace pellacore::win32
