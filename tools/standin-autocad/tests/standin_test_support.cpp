#include "tools/standin-autocad/tests/standin_test_support.h"

#include "tools/standin-autocad/server_config.h"
#include "win32/unique_resource.h"

namespace pellacore::standin::testing {

ScopedConfig::ScopedConfig() { ::RegDeleteTreeW(HKEY_CURRENT_USER, kConfigKey); }

ScopedConfig::~ScopedConfig() { ::RegDeleteTreeW(HKEY_CURRENT_USER, kConfigKey); }

void ScopedConfig::Set(const wchar_t* name, const std::wstring& value) const {
  win32::UniqueHkey key;
  ::RegCreateKeyExW(HKEY_CURRENT_USER, kConfigKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr);
  ::RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

std::vector<std::wstring> ReadLogLines(const std::wstring& path) {
  win32::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {};
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (::ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.append(buffer, read);
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  for (std::size_t end = bytes.find('\n'); end != std::string::npos; end = bytes.find('\n', start)) {
    const std::string line = bytes.substr(start, end - start);
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), wide.data(), length);
    lines.push_back(wide);
    start = end + 1;
  }
  return lines;
}

bool FileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void WriteTextFile(const std::wstring& path, const std::string& content) {
  win32::UniqueFile file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  ::WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
}

VARIANT I2(short value) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_I2;
  v.iVal = value;
  return v;
}

VARIANT I4(long value) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = value;
  return v;
}

VARIANT Bool(bool value) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_BOOL;
  v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

VARIANT Str(BSTR value) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = value;
  return v;
}

VARIANT StrRef(BSTR* value) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_BSTR | VT_BYREF;
  v.pbstrVal = value;
  return v;
}

VARIANT DispRef(IDispatch** value) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_DISPATCH | VT_BYREF;
  v.ppdispVal = value;
  return v;
}

Outcome::~Outcome() {
  ::SysFreeString(exception.bstrSource);
  ::SysFreeString(exception.bstrDescription);
  ::SysFreeString(exception.bstrHelpFile);
}

std::wstring Outcome::Description() const {
  return exception.bstrDescription ? exception.bstrDescription : L"";
}

std::wstring Outcome::Source() const { return exception.bstrSource ? exception.bstrSource : L""; }

ComPtr<IDispatch> Outcome::Object() const {
  if ((*value).vt != VT_DISPATCH || !(*value).pdispVal) return {};
  (*value).pdispVal->AddRef();
  return ComPtr<IDispatch>((*value).pdispVal);
}

std::unique_ptr<Outcome> Invoke(IDispatch* target, const wchar_t* name, WORD flags, std::vector<VARIANT> arguments) {
  auto outcome = std::make_unique<Outcome>();
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  outcome->names = target->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(outcome->names)) {
    outcome->result = outcome->names;
    return outcome;
  }
  std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    params.rgdispidNamedArgs = &put;
    params.cNamedArgs = 1;
  }
  outcome->result = target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, outcome->value.get(),
                                   &outcome->exception, &outcome->argumentError);
  return outcome;
}

std::optional<LoadedBitmap> LoadedBitmap::Load(const std::wstring& path) {
  HBITMAP handle = static_cast<HBITMAP>(
      ::LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  if (!handle) return std::nullopt;
  LoadedBitmap bitmap;
  DIBSECTION section{};
  ::GetObjectW(handle, sizeof(section), &section);
  bitmap.width_ = section.dsBm.bmWidth;
  bitmap.height_ = section.dsBm.bmHeight;
  bitmap.bitsPerPixel_ = section.dsBm.bmBitsPixel;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = bitmap.width_;
  info.bmiHeader.biHeight = -bitmap.height_;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  bitmap.pixels_.resize(static_cast<std::size_t>(bitmap.width_) * static_cast<std::size_t>(bitmap.height_));
  HDC screen = ::GetDC(nullptr);
  const int rows = ::GetDIBits(screen, handle, 0, static_cast<UINT>(bitmap.height_), bitmap.pixels_.data(), &info,
                               DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, screen);
  ::DeleteObject(handle);
  if (rows != bitmap.height_) return std::nullopt;
  return bitmap;
}

bool LoadedBitmap::Dark(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
  const std::uint32_t pixel = pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                                      static_cast<std::size_t>(x)];
  return (pixel & 0xFF) < 128 && ((pixel >> 8) & 0xFF) < 128 && ((pixel >> 16) & 0xFF) < 128;
}

bool LoadedBitmap::DarkNear(int x, int y, int radius) const {
  for (int dy = -radius; dy <= radius; ++dy) {
    for (int dx = -radius; dx <= radius; ++dx) {
      if (Dark(x + dx, y + dy)) return true;
    }
  }
  return false;
}

int LoadedBitmap::DarkPixelsIn(int left, int top, int right, int bottom) const {
  int count = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) count += Dark(x, y) ? 1 : 0;
  }
  return count;
}

BmpHeader ReadBmpHeader(const std::wstring& path) {
  BmpHeader header;
  win32::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return header;
  unsigned char bytes[54] = {};
  DWORD read = 0;
  ::ReadFile(file.get(), bytes, sizeof(bytes), &read, nullptr);
  LARGE_INTEGER size{};
  ::GetFileSizeEx(file.get(), &size);
  header.actualSize = static_cast<std::uint64_t>(size.QuadPart);
  if (read != sizeof(bytes)) return header;
  const auto u32 = [&](int at) {
    return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24);
  };
  header.magic = bytes[0] == 'B' && bytes[1] == 'M';
  header.fileSize = u32(2);
  header.width = static_cast<std::int32_t>(u32(18));
  header.height = static_cast<std::int32_t>(u32(22));
  header.bitsPerPixel = static_cast<std::uint16_t>(bytes[28] | bytes[29] << 8);
  return header;
}

}  // namespace pellacore::standin::testing
