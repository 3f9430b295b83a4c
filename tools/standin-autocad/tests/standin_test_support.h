#pragma once
// What the stand-in's Windows tests share: its switches in the registry for
// one test, the call log read back, late-bound calls made the way the
// converter makes them, and exported bitmaps read through the system's own
// loader.

#include <windows.h>

#include <oleauto.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "win32/com_resource.h"

namespace pellacore::standin {
using win32::ComPtr;
using win32::UniqueBstr;
using win32::UniqueVariant;
}  // namespace pellacore::standin

namespace pellacore::standin::testing {

// Sets the stand-in's switches for one test; removes the key afterwards.
class ScopedConfig {
 public:
  ScopedConfig();
  ScopedConfig(const ScopedConfig&) = delete;
  ScopedConfig& operator=(const ScopedConfig&) = delete;
  ~ScopedConfig();
  void Set(const wchar_t* name, const std::wstring& value) const;
};

// The log's lines, line feeds removed; none when there is no log yet.
std::vector<std::wstring> ReadLogLines(const std::wstring& path);

bool FileExists(const std::wstring& path);
void WriteTextFile(const std::wstring& path, const std::string& content);

// VARIANTs that borrow what they point at: the caller keeps the storage.
VARIANT I2(short value);
VARIANT I4(long value);
VARIANT Bool(bool value);
VARIANT Str(BSTR value);
VARIANT StrRef(BSTR* value);
VARIANT DispRef(IDispatch** value);

struct Outcome {
  Outcome() = default;
  Outcome(const Outcome&) = delete;
  Outcome& operator=(const Outcome&) = delete;
  ~Outcome();

  HRESULT names = E_FAIL;  // GetIDsOfNames
  HRESULT result = E_FAIL;  // Invoke
  UniqueVariant value;
  EXCEPINFO exception{};
  UINT argumentError = 0xFFFFFFFF;

  std::wstring Description() const;
  std::wstring Source() const;
  // The returned object, with a reference of its own.
  ComPtr<IDispatch> Object() const;
};

// GetIDsOfNames, then Invoke with `arguments` given left to right (they go
// into rgvarg last-first). A put passes its one value as DISPID_PROPERTYPUT.
std::unique_ptr<Outcome> Invoke(IDispatch* target, const wchar_t* name, WORD flags,
                                std::vector<VARIANT> arguments = {});

inline constexpr WORD kGet = DISPATCH_METHOD | DISPATCH_PROPERTYGET;

// A bitmap file as LoadImage reads it, pixels top-down.
class LoadedBitmap {
 public:
  static std::optional<LoadedBitmap> Load(const std::wstring& path);
  int width() const { return width_; }
  int height() const { return height_; }
  int bitsPerPixel() const { return bitsPerPixel_; }
  // Whether any pixel within `radius` of (x, y) is dark (all channels < 128).
  bool DarkNear(int x, int y, int radius) const;
  // Dark pixels in the rectangle [left, right) x [top, bottom).
  int DarkPixelsIn(int left, int top, int right, int bottom) const;

 private:
  bool Dark(int x, int y) const;
  int width_ = 0;
  int height_ = 0;
  int bitsPerPixel_ = 0;
  std::vector<std::uint32_t> pixels_;  // 0x00RRGGBB
};

// The BMP's header as bytes: "BM", the file size, 24 bpp.
struct BmpHeader {
  bool magic = false;
  std::uint32_t fileSize = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint16_t bitsPerPixel = 0;
  std::uint64_t actualSize = 0;
};
BmpHeader ReadBmpHeader(const std::wstring& path);

}  // namespace pellacore::standin::testing
