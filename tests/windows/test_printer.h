#pragma once
// A PostScript printer made for one test in the prefix's registry alone, on
// Wine's own PostScript driver with a small PPD of ours. Wine's spooler hands
// each job to the back end named under Software\Wine\Printing\Spooler: a
// Unix file ("/...") or a command that reads it ("|..."). Wine only.

#include <windows.h>

#include <winspool.h>

#include <string>

#include "win32/unique_resource.h"

namespace pellacore::testing {

class TestPrinter {
 public:
  static constexpr const wchar_t* kName = L"Pellacore Test Printer";

  explicit TestPrinter(const std::wstring& backEnd) {
    Remove();
    WritePpd();
    const std::wstring printerKey = std::wstring(kPrintersKey) + L"\\" + kName;
    SetString(HKEY_LOCAL_MACHINE, printerKey, L"Name", kName);
    SetString(HKEY_LOCAL_MACHINE, printerKey, L"Port", kPort);
    SetString(HKEY_LOCAL_MACHINE, printerKey, L"Printer Driver", kDriver);
    SetString(HKEY_LOCAL_MACHINE, printerKey, L"Print Processor", L"WinPrint");
    SetString(HKEY_LOCAL_MACHINE, printerKey, L"Datatype", L"RAW");
    SetDword(HKEY_LOCAL_MACHINE, printerKey, L"Attributes", PRINTER_ATTRIBUTE_LOCAL);
    const std::wstring driverKey = std::wstring(kDriversKey) + L"\\" + kDriver;
    SetString(HKEY_LOCAL_MACHINE, driverKey, L"Driver", L"wineps.drv");
    SetString(HKEY_LOCAL_MACHINE, driverKey, L"Configuration File", L"wineps.drv");
    SetString(HKEY_LOCAL_MACHINE, driverKey, L"Data File", kPpdName);
    SetDword(HKEY_LOCAL_MACHINE, driverKey, L"Version", 3);
    SetString(HKEY_LOCAL_MACHINE, kPortsKey, kPort, L"");
    // Wine's CreateDC loads the DLL this names ("winspool" is no DLL there).
    SetString(HKEY_CURRENT_USER, kDevicesKey, kName, std::wstring(L"wineps.drv,") + kPort);
    SetString(HKEY_CURRENT_USER, kPrinterPortsKey, kName, std::wstring(L"wineps.drv,") + kPort + L",15,45");
    SetBackEnd(backEnd);
  }
  TestPrinter(const TestPrinter&) = delete;
  TestPrinter& operator=(const TestPrinter&) = delete;
  ~TestPrinter() { Remove(); }

  void SetBackEnd(const std::wstring& backEnd) { SetString(HKEY_CURRENT_USER, kSpoolerKey, kPort, backEnd); }

  // The Unix path of a Windows path, for a back end.
  static std::wstring UnixPath(const std::wstring& windowsPath) {
    using ToUnix = char* (*)(const wchar_t*);
    const FARPROC address = ::GetProcAddress(::GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name");
    const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(address));
    if (!toUnix) return {};
    char* unix = toUnix(windowsPath.c_str());
    if (!unix) return {};
    std::wstring path;
    for (const char* c = unix; *c; ++c) path += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return path;
  }

 private:
  static constexpr const wchar_t* kDriver = L"Pellacore Test PostScript";
  static constexpr const wchar_t* kPort = L"PELLACORETEST:";
  static constexpr const wchar_t* kPpdName = L"pellacore-test.ppd";
  static constexpr const wchar_t* kPrintersKey = L"System\\CurrentControlSet\\Control\\Print\\Printers";
  static constexpr const wchar_t* kDriversKey =
      L"System\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3";
  static constexpr const wchar_t* kPortsKey = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports";
  static constexpr const wchar_t* kDevicesKey = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Devices";
  static constexpr const wchar_t* kPrinterPortsKey =
      L"Software\\Microsoft\\Windows NT\\CurrentVersion\\PrinterPorts";
  static constexpr const wchar_t* kSpoolerKey = L"Software\\Wine\\Printing\\Spooler";

  static void SetString(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& value) {
    win32::UniqueHkey key;
    if (::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) ==
        ERROR_SUCCESS) {
      ::RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
  }

  static void SetDword(HKEY root, const std::wstring& path, const wchar_t* name, DWORD value) {
    win32::UniqueHkey key;
    if (::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) ==
        ERROR_SUCCESS) {
      ::RegSetValueExW(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    }
  }

  static void DeleteValue(HKEY root, const wchar_t* path, const wchar_t* name) {
    win32::UniqueHkey key;
    if (::RegOpenKeyExW(root, path, 0, KEY_SET_VALUE, key.put()) == ERROR_SUCCESS) {
      ::RegDeleteValueW(key.get(), name);
    }
  }

  static std::wstring PpdPath() {
    wchar_t folder[MAX_PATH] = {};
    DWORD needed = 0;
    if (!::GetPrinterDriverDirectoryW(nullptr, const_cast<wchar_t*>(L"Windows x64"), 1,
                                      reinterpret_cast<BYTE*>(folder), sizeof(folder), &needed)) {
      return {};
    }
    // Version-3 drivers keep their files in the folder "3" under it.
    const std::wstring versionFolder = std::wstring(folder) + L"\\3";
    ::CreateDirectoryW(versionFolder.c_str(), nullptr);
    return versionFolder + L"\\" + kPpdName;
  }

  // Letter, colour, 300 dpi: the least that Wine's driver needs.
  static void WritePpd() {
    static constexpr char kPpd[] =
        "*PPD-Adobe: \"4.3\"\n"
        "*FormatVersion: \"4.3\"\n"
        "*FileVersion: \"1.0\"\n"
        "*LanguageVersion: English\n"
        "*LanguageEncoding: ISOLatin1\n"
        "*PCFileName: \"PELLTEST.PPD\"\n"
        "*Manufacturer: \"Pellacore\"\n"
        "*Product: \"(Pellacore Test Printer)\"\n"
        "*ModelName: \"Pellacore Test Printer\"\n"
        "*ShortNickName: \"Pellacore Test Printer\"\n"
        "*NickName: \"Pellacore Test Printer\"\n"
        "*PSVersion: \"(3010.000) 0\"\n"
        "*LanguageLevel: \"3\"\n"
        "*ColorDevice: True\n"
        "*DefaultColorSpace: RGB\n"
        "*TTRasterizer: Type42\n"
        "*OpenUI *Resolution/Resolution: PickOne\n"
        "*DefaultResolution: 300dpi\n"
        "*Resolution 300dpi/300 dpi: \"<</HWResolution[300 300]>>setpagedevice\"\n"
        "*CloseUI: *Resolution\n"
        "*OpenUI *PageSize/Page Size: PickOne\n"
        "*DefaultPageSize: Letter\n"
        "*PageSize Letter/Letter: \"<</PageSize[612 792]/ImagingBBox null>>setpagedevice\"\n"
        "*CloseUI: *PageSize\n"
        "*OpenUI *PageRegion: PickOne\n"
        "*DefaultPageRegion: Letter\n"
        "*PageRegion Letter/Letter: \"<</PageSize[612 792]/ImagingBBox null>>setpagedevice\"\n"
        "*CloseUI: *PageRegion\n"
        "*DefaultImageableArea: Letter\n"
        "*ImageableArea Letter/Letter: \"18 36 594 756\"\n"
        "*DefaultPaperDimension: Letter\n"
        "*PaperDimension Letter/Letter: \"612 792\"\n"
        "*DefaultFont: Courier\n"
        "*Font Courier: Standard \"(002.004S)\" Standard ROM\n";
    const std::wstring path = PpdPath();
    win32::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (file) ::WriteFile(file.get(), kPpd, sizeof(kPpd) - 1, &written, nullptr);
  }

  static void Remove() {
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(kPrintersKey) + L"\\" + kName).c_str());
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(kDriversKey) + L"\\" + kDriver).c_str());
    DeleteValue(HKEY_LOCAL_MACHINE, kPortsKey, kPort);
    DeleteValue(HKEY_CURRENT_USER, kDevicesKey, kName);
    DeleteValue(HKEY_CURRENT_USER, kPrinterPortsKey, kName);
    DeleteValue(HKEY_CURRENT_USER, kSpoolerKey, kPort);
    ::DeleteFileW(PpdPath().c_str());
  }
};

}  // namespace pellacore::testing
