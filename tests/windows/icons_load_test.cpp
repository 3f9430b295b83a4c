// The shipped icon and cursor files (win32/res) load through Windows' own
// reader and draw the pixels the files hold.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "util/text.h"
#include "win32/unique_resource.h"

namespace pellacore {
namespace {

// DestroyIcon frees the cursors that LoadImage makes as well.
struct IconTraits {
  using Type = HICON;
  static Type Invalid() { return nullptr; }
  static void Close(Type icon) { ::DestroyIcon(icon); }
};
using UniqueIcon = win32::UniqueResource<IconTraits>;

struct BitmapTraits {
  using Type = HBITMAP;
  static Type Invalid() { return nullptr; }
  static void Close(Type bitmap) { ::DeleteObject(bitmap); }
};
using UniqueBitmap = win32::UniqueResource<BitmapTraits>;

// The source tree's win32/res as Wine shows it: drive Z: is the root "/".
std::wstring ResFile(const wchar_t* name) {
  std::wstring path = L"Z:" + WidenAscii(PELLACORE_RES_DIR) + L"/" + name;
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

std::vector<std::uint8_t> ReadBytes(const std::wstring& path) {
  win32::UniqueResource<win32::FileHandleTraits> file(
      ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {};
  std::vector<std::uint8_t> bytes(::GetFileSize(file.get(), nullptr));
  DWORD read = 0;
  ::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  bytes.resize(read);
  return bytes;
}

std::uint32_t Little(const std::vector<std::uint8_t>& bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) {
    value = value << 8 | bytes.at(at + static_cast<std::size_t>(i));
  }
  return value;
}

// The colour (0xAARRGGBB) of the pixel at x, y of the file's image whose
// directory entry is the index-th.
std::uint32_t FilePixel(const std::vector<std::uint8_t>& file, int index, int x, int y) {
  const std::size_t entry = 6 + 16 * static_cast<std::size_t>(index);
  const int width = static_cast<int>(file.at(entry));
  const int height = static_cast<int>(file.at(entry + 1));
  const std::size_t bits = Little(file, entry + 12, 4) + 40;
  return Little(file, bits + 4 * static_cast<std::size_t>((height - 1 - y) * width + x), 4);
}

UniqueIcon Load(const std::wstring& path, UINT type, int size) {
  return UniqueIcon(
      static_cast<HICON>(::LoadImageW(nullptr, path.c_str(), type, size, size, LR_LOADFROMFILE)));
}

struct Loaded {
  ICONINFO info{};
  BITMAP colour{};
};

Loaded InfoOf(HICON icon) {
  Loaded loaded;
  EXPECT_TRUE(::GetIconInfo(icon, &loaded.info));
  UniqueBitmap mask(loaded.info.hbmMask);
  UniqueBitmap colour(loaded.info.hbmColor);
  EXPECT_TRUE(colour) << "no colour bitmap: the 32-bit image was not used";
  if (colour) ::GetObjectW(colour.get(), sizeof(loaded.colour), &loaded.colour);
  return loaded;
}

// Draws the icon at its size on white and answers the pixels, top row first,
// as 0x00RRGGBB.
std::vector<std::uint32_t> DrawnOnWhite(HICON icon, int size) {
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  format.bmiHeader.biWidth = size;
  format.bmiHeader.biHeight = -size;  // top row first
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  HDC dc = ::CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  UniqueBitmap target(::CreateDIBSection(dc, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
  std::vector<std::uint32_t> pixels;
  if (target && bits != nullptr) {
    auto* first = static_cast<std::uint32_t*>(bits);
    std::fill(first, first + size * size, 0x00FFFFFFu);
    HGDIOBJ old = ::SelectObject(dc, target.get());
    EXPECT_TRUE(::DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL));
    ::GdiFlush();
    pixels.assign(first, first + size * size);
    ::SelectObject(dc, old);
  }
  ::DeleteDC(dc);
  return pixels;
}

// Every opaque pixel of the file's image is drawn in its colour and every
// clear one leaves the white; the soft shadow's blend is Windows' own.
void ExpectDrawnAsInFile(HICON icon, const std::vector<std::uint8_t>& file, int index, int size) {
  const std::vector<std::uint32_t> drawn = DrawnOnWhite(icon, size);
  ASSERT_EQ(drawn.size(), static_cast<std::size_t>(size * size));
  int compared = 0;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const std::uint32_t want = FilePixel(file, index, x, y);
      const std::uint32_t got = drawn[static_cast<std::size_t>(y * size + x)] & 0xFFFFFF;
      if (want >> 24 == 0xFF) {
        ASSERT_EQ(got, want & 0xFFFFFF) << "size " << size << " at " << x << "," << y;
      } else if (want >> 24 == 0) {
        ASSERT_EQ(got, 0xFFFFFFu) << "size " << size << " at " << x << "," << y;
      } else {
        continue;
      }
      ++compared;
    }
  }
  EXPECT_GT(compared, size * size * 3 / 4);
}

TEST(ShippedIcons, HandCursorLoadsWithItsHotspot) {
  const std::wstring path = ResFile(L"HAND-M.CUR");
  const std::vector<std::uint8_t> file = ReadBytes(path);
  ASSERT_GT(file.size(), 22u);
  const UniqueIcon cursor = Load(path, IMAGE_CURSOR, 0);
  ASSERT_TRUE(cursor) << "error " << ::GetLastError();
  const Loaded loaded = InfoOf(cursor.get());
  EXPECT_FALSE(loaded.info.fIcon);
  EXPECT_EQ(loaded.info.xHotspot, Little(file, 10, 2));
  EXPECT_EQ(loaded.info.yHotspot, Little(file, 12, 2));
  EXPECT_EQ(loaded.colour.bmWidth, 32);
  EXPECT_EQ(loaded.colour.bmHeight, 32);
  ExpectDrawnAsInFile(cursor.get(), file, 0, 32);
}

TEST(ShippedIcons, AppIconLoadsInEachOfItsSizes) {
  const std::wstring path = ResFile(L"pellacore.ico");
  const std::vector<std::uint8_t> file = ReadBytes(path);
  ASSERT_GT(file.size(), 22u);
  const int sizes[] = {16, 32, 48};
  for (int index = 0; index < 3; ++index) {
    const int size = sizes[index];
    const UniqueIcon icon = Load(path, IMAGE_ICON, size);
    ASSERT_TRUE(icon) << "size " << size << ", error " << ::GetLastError();
    const Loaded loaded = InfoOf(icon.get());
    EXPECT_TRUE(loaded.info.fIcon);
    EXPECT_EQ(loaded.colour.bmWidth, size);
    EXPECT_EQ(loaded.colour.bmHeight, size);
    ExpectDrawnAsInFile(icon.get(), file, index, size);
  }
  EXPECT_TRUE(Load(path, IMAGE_ICON, 0)) << "error " << ::GetLastError();
}

// The list shows it as its pointer while an entry is dragged. Loaded as an
// icon it points with its centre; loaded with IMAGE_CURSOR, Wine would take
// the entry's planes and bit count (1, 32) for the hotspot.
TEST(ShippedIcons, DragIconLoadsAndPointsWithItsCentre) {
  const std::wstring path = ResFile(L"drag.ico");
  const std::vector<std::uint8_t> file = ReadBytes(path);
  ASSERT_GT(file.size(), 22u);
  const UniqueIcon icon = Load(path, IMAGE_ICON, 0);
  ASSERT_TRUE(icon) << "error " << ::GetLastError();
  const Loaded loaded = InfoOf(icon.get());
  EXPECT_TRUE(loaded.info.fIcon);
  EXPECT_EQ(loaded.info.xHotspot, 16u);
  EXPECT_EQ(loaded.info.yHotspot, 16u);
  EXPECT_EQ(loaded.colour.bmWidth, 32);
  EXPECT_EQ(loaded.colour.bmHeight, 32);
  ExpectDrawnAsInFile(icon.get(), file, 0, 32);
}

}  // namespace
}  // namespace pellacore
