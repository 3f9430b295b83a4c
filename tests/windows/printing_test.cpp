// Printing a bitmap to a real (Wine PostScript) printer through the spooler.

#include <windows.h>

#include <winspool.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/windows/scratch_folder.h"
#include "tests/windows/test_printer.h"
#include "util/failure.h"
#include "win32/unique_resource.h"
#include "win32/win32_printing.h"

namespace pellacore {
namespace {

using testing::ScratchFolder;
using testing::TestPrinter;

constexpr long kInvalidPicture = 481;

// A 24-bit bottom-up BMP file of the size given, every pixel a colour of
// its own position.
void WriteBitmap(const std::wstring& path, int width, int height) {
  const int stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(stride * height);
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + info.biSizeImage;
  std::vector<char> pixels(info.biSizeImage);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      char* pixel = &pixels[static_cast<std::size_t>(y * stride + x * 3)];
      pixel[0] = static_cast<char>(x * 40);
      pixel[1] = static_cast<char>(y * 60);
      pixel[2] = static_cast<char>(200);
    }
  }
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&info), sizeof(info));
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
}

std::string ReadFile(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Exists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

long FailureNumber(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const Failure& failure) {
    return failure.number();
  }
  return 0;
}

std::size_t CountOf(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

std::wstring DefaultPrinter() {
  wchar_t name[256] = {};
  DWORD size = std::size(name);
  return ::GetDefaultPrinterW(name, &size) ? name : L"";
}

// The default printer as the system keeps it, put back when the test ends.
class SavedDefaultPrinter {
 public:
  SavedDefaultPrinter() {
    DWORD bytes = sizeof(device_);
    saved_ = ::RegGetValueW(HKEY_CURRENT_USER, kKey, L"Device", RRF_RT_REG_SZ, nullptr, device_, &bytes) ==
             ERROR_SUCCESS;
  }
  ~SavedDefaultPrinter() {
    win32::UniqueHkey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS) return;
    if (saved_) {
      ::RegSetValueExW(key.get(), L"Device", 0, REG_SZ, reinterpret_cast<const BYTE*>(device_),
                       static_cast<DWORD>((std::wcslen(device_) + 1) * sizeof(wchar_t)));
    } else {
      ::RegDeleteValueW(key.get(), L"Device");
    }
  }
  static void Clear() {
    win32::UniqueHkey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_SET_VALUE, key.put()) == ERROR_SUCCESS) {
      ::RegDeleteValueW(key.get(), L"Device");
    }
  }

 private:
  static constexpr const wchar_t* kKey = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
  wchar_t device_[512] = {};
  bool saved_ = false;
};

class ForeignPicture : public Picture {
 public:
  PixelSize Size() const override { return {1, 1}; }
};

class Win32PrintingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBitmap(bitmap, 5, 4);
    ASSERT_FALSE(TestPrinter::UnixPath(job).empty()) << "needs Wine's Unix paths";
  }

  void Paint(win32::Win32Printing& printing) {
    const auto picture = printing.LoadPicture(bitmap);
    printing.PaintPicture(*picture, {0, 0, 500, 400});
  }

  // Prints the bitmap as the conversion run does; answers the job's PostScript.
  std::string PrintOnce(win32::Win32Printing& printing) {
    Paint(printing);
    printing.EndDoc();
    return ReadFile(job);
  }

  ScratchFolder scratch;
  const std::wstring bitmap = scratch.path() + L"Plan.bmp";
  const std::wstring job = scratch.path() + L"job.ps";
  TestPrinter printer{TestPrinter::UnixPath(job)};
};

TEST_F(Win32PrintingTest, ListsAPrinterInstalledWhileTheProgramRunsByItsExactName) {
  win32::Win32Printing printing;
  const std::vector<std::wstring> names = printing.PrinterNames();
  EXPECT_EQ(std::count(names.begin(), names.end(), std::wstring(TestPrinter::kName)), 1);
}

TEST_F(Win32PrintingTest, PrintsTheBitmapIntoThePlaceGivenOnAPageTurnedAsAsked) {
  const std::wstring defaultBefore = DefaultPrinter();
  win32::Win32Printing printing;
  printing.SetCurrentPrinter(TestPrinter::kName);
  const PixelSize upright = printing.OpenPage(PageOrientation::kPortrait);
  printing.AbortDoc();
  EXPECT_LT(upright.width, upright.height);
  const PixelSize turned = printing.OpenPage(PageOrientation::kLandscape);
  EXPECT_EQ(turned, (PixelSize{upright.height, upright.width}));
  // A page once open keeps its orientation.
  EXPECT_EQ(printing.OpenPage(PageOrientation::kPortrait), turned);
  const auto picture = printing.LoadPicture(bitmap);
  EXPECT_EQ(picture->Size(), (PixelSize{5, 4}));
  printing.PaintPicture(*picture, {30, 20, 500, 400});
  printing.EndDoc();

  const std::string postScript = ReadFile(job);
  EXPECT_EQ(postScript.rfind("%!PS", 0), 0u) << postScript.substr(0, 200);
  EXPECT_NE(postScript.find("%%Title: Pellacore"), std::string::npos);
  EXPECT_NE(postScript.find("/Width 5\n /Height 4"), std::string::npos);
  EXPECT_EQ(CountOf(postScript, "\nimage\n"), 1u);
  EXPECT_EQ(CountOf(postScript, "showpage"), 1u);
  EXPECT_NE(postScript.find("%%Orientation: Landscape"), std::string::npos);
  EXPECT_NE(postScript.find("30 20 translate\n500 400 scale\n<<"), std::string::npos) << postScript;
  // The program's printer, not the system's default.
  EXPECT_EQ(DefaultPrinter(), defaultBefore);
}

TEST_F(Win32PrintingTest, PicturesPaintedBeforeEndDocShareOneDocumentAndPage) {
  win32::Win32Printing printing;
  printing.SetCurrentPrinter(TestPrinter::kName);
  Paint(printing);
  Paint(printing);
  EXPECT_FALSE(Exists(job));
  printing.EndDoc();
  const std::string postScript = ReadFile(job);
  EXPECT_EQ(CountOf(postScript, "%%Page: "), 1u);
  EXPECT_EQ(CountOf(postScript, "\nimage\n"), 2u);
}

TEST_F(Win32PrintingTest, WithoutACurrentPrinterTheDefaultPrinterIsUsed) {
  const SavedDefaultPrinter saved;
  SavedDefaultPrinter::Clear();
  win32::Win32Printing printing;
  try {
    Paint(printing);
    ADD_FAILURE() << "painted with no printer at all";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.number(), static_cast<long>(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)));
    EXPECT_EQ(failure.description(), L"There is no default printer");
  }
  ASSERT_TRUE(::SetDefaultPrinterW(TestPrinter::kName));
  EXPECT_EQ(PrintOnce(printing).rfind("%!PS", 0), 0u);
}

TEST_F(Win32PrintingTest, PicturesThatCannotBeLoadedOrDrawnAreInvalid) {
  win32::Win32Printing printing;
  printing.SetCurrentPrinter(TestPrinter::kName);
  EXPECT_EQ(FailureNumber([&] { printing.LoadPicture(scratch.path() + L"Missing.bmp"); }), kInvalidPicture);
  EXPECT_EQ(FailureNumber([&] { printing.LoadPicture(scratch.MakeFile(L"Text.bmp")); }), kInvalidPicture);
  EXPECT_EQ(FailureNumber([&] { printing.PaintPicture(ForeignPicture(), {0, 0, 1, 1}); }), kInvalidPicture);
}

TEST_F(Win32PrintingTest, APrinterThatDoesNotExistFailsThePaintAndOpensNoDocument) {
  win32::Win32Printing printing;
  printing.SetCurrentPrinter(L"Pellacore No Such Printer");
  try {
    Paint(printing);
    ADD_FAILURE() << "painted on a printer that does not exist";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.number(), static_cast<long>(HRESULT_FROM_WIN32(ERROR_INVALID_PRINTER_NAME)));
    EXPECT_FALSE(failure.description().empty());
  }
  EXPECT_EQ(FailureNumber([&] { printing.EndDoc(); }), failure_number::kInvalidArgument);
}

TEST_F(Win32PrintingTest, AFailingBackEndFailsEndDocAndTheNextPaintStartsAfresh) {
  printer.SetBackEnd(L"|exit 3");
  win32::Win32Printing printing;
  printing.SetCurrentPrinter(TestPrinter::kName);
  Paint(printing);
  EXPECT_NE(FailureNumber([&] { printing.EndDoc(); }), 0);
  printer.SetBackEnd(TestPrinter::UnixPath(job));
  EXPECT_EQ(CountOf(PrintOnce(printing), "showpage"), 1u);
}

TEST_F(Win32PrintingTest, EndDocWithNothingPaintedFailsAndAnAbandonedDocumentPrintsNothing) {
  {
    win32::Win32Printing printing;
    try {
      printing.EndDoc();
      ADD_FAILURE() << "ended a document that was never started";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.number(), failure_number::kInvalidArgument);
      EXPECT_NE(failure.description().find(L"No print document is open"), std::wstring::npos);
    }
    printing.SetCurrentPrinter(TestPrinter::kName);
    Paint(printing);
  }
  EXPECT_FALSE(Exists(job));
}

}  // namespace
}  // namespace pellacore
