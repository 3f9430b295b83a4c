// Drives the stand-in printer from inside Wine the way Pellacore does, for
// ./check. One command per run:
//   printer_probe enum                      which printers EnumPrinters lists
//   printer_probe set [--ansi] KEY NAME VALUE   REG_SZ under HKCU\KEY
//   printer_probe delete KEY NAME
//   printer_probe print DOCUMENT            one page: a rectangle and a bitmap
// print writes "probe NAME X Y R G B" lines: where a colour was drawn, in
// inches from the paper's top left corner, for the check to look at the PDF.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const wchar_t kPrinter[] = L"Kelvandor PDF Writer";

std::string Utf8(const std::wstring& text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
    return out;
}

// Found at a level: 1, not found: 0, EnumPrinters failed: -1.
int ListLevel(DWORD level) {
    DWORD needed = 0, count = 0;
    EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, level, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed + 1);
    if (!EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, level, buffer.data(), needed, &needed, &count)) {
        std::printf("level %lu: EnumPrinters failed, error %lu\n", level, GetLastError());
        return -1;
    }
    int found = 0;
    std::printf("level %lu: %lu printer(s)\n", level, count);
    for (DWORD i = 0; i < count; ++i) {
        std::wstring name, detail;
        switch (level) {
        case 1: {
            auto* info = reinterpret_cast<PRINTER_INFO_1W*>(buffer.data()) + i;
            name = info->pName;
            detail = L"description=" + std::wstring(info->pDescription ? info->pDescription : L"");
            break;
        }
        case 2: {
            auto* info = reinterpret_cast<PRINTER_INFO_2W*>(buffer.data()) + i;
            name = info->pPrinterName;
            detail = L"port=" + std::wstring(info->pPortName) + L" driver=" + info->pDriverName
                     + L" attributes=" + std::to_wstring(info->Attributes)
                     + (info->pDevMode ? L" devmode=yes" : L" devmode=no");
            break;
        }
        case 4: {
            auto* info = reinterpret_cast<PRINTER_INFO_4W*>(buffer.data()) + i;
            name = info->pPrinterName;
            detail = L"attributes=" + std::to_wstring(info->Attributes);
            break;
        }
        case 5: {
            auto* info = reinterpret_cast<PRINTER_INFO_5W*>(buffer.data()) + i;
            name = info->pPrinterName;
            detail = L"port=" + std::wstring(info->pPortName);
            break;
        }
        }
        std::printf("  '%s' %s\n", Utf8(name).c_str(), Utf8(detail).c_str());
        // Level 1 may give the name as "name,driver,location".
        if (name == kPrinter || name.rfind(std::wstring(kPrinter) + L",", 0) == 0) found = 1;
    }
    return found;
}

// 0: listed at every level; 1: at none; 2: at some.
int Enumerate() {
    int listed = 0;
    const DWORD levels[] = {1, 2, 4, 5};
    for (DWORD level : levels) listed += ListLevel(level) == 1;
    if (listed == 4) return 0;
    return listed == 0 ? 1 : 2;
}

int SetValue(bool ansi, const wchar_t* key, const wchar_t* name, const wchar_t* value) {
    HKEY handle;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return 1;
    LSTATUS status;
    if (ansi) {
        // What Pellacore does: narrow strings in the ANSI code page.
        char narrow_name[256], narrow_value[1024];
        WideCharToMultiByte(CP_ACP, 0, name, -1, narrow_name, sizeof narrow_name, nullptr, nullptr);
        WideCharToMultiByte(CP_ACP, 0, value, -1, narrow_value, sizeof narrow_value, nullptr, nullptr);
        status = RegSetValueExA(handle, narrow_name, 0, REG_SZ, reinterpret_cast<const BYTE*>(narrow_value),
                                static_cast<DWORD>(std::strlen(narrow_value) + 1));
    } else {
        status = RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
    }
    RegCloseKey(handle);
    return status == ERROR_SUCCESS ? 0 : 1;
}

int DeleteValue(const wchar_t* key, const wchar_t* name) {
    HKEY handle;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_SET_VALUE, &handle) != ERROR_SUCCESS) return 0;
    LSTATUS status = RegDeleteValueW(handle, name);
    RegCloseKey(handle);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? 0 : 1;
}

struct Colour {
    BYTE r, g, b;
};

void Probe(HDC dc, const char* name, int x, int y, Colour colour) {
    double inch_x = double(GetDeviceCaps(dc, PHYSICALOFFSETX) + x) / GetDeviceCaps(dc, LOGPIXELSX);
    double inch_y = double(GetDeviceCaps(dc, PHYSICALOFFSETY) + y) / GetDeviceCaps(dc, LOGPIXELSY);
    std::printf("probe %s %.4f %.4f %u %u %u\n", name, inch_x, inch_y, colour.r, colour.g, colour.b);
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

int Print(const wchar_t* document) {
    HDC dc = CreateDCW(nullptr, kPrinter, nullptr, nullptr);
    if (!dc) {
        std::printf("CreateDC failed, error %lu\n", GetLastError());
        return 2;
    }
    const int width = GetDeviceCaps(dc, HORZRES), height = GetDeviceCaps(dc, VERTRES);
    std::printf("device %dx%d at %d dpi, paper %dx%d, offset %d,%d\n", width, height,
                GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, PHYSICALWIDTH), GetDeviceCaps(dc, PHYSICALHEIGHT),
                GetDeviceCaps(dc, PHYSICALOFFSETX), GetDeviceCaps(dc, PHYSICALOFFSETY));

    DOCINFOW info{};
    info.cbSize = sizeof info;
    info.lpszDocName = document;
    if (StartDocW(dc, &info) <= 0 || StartPage(dc) <= 0) {
        std::printf("StartDoc/StartPage failed, error %lu\n", GetLastError());
        DeleteDC(dc);
        return 2;
    }

    const Colour red{200, 0, 0};
    RECT box{width / 10, height / 10, width * 45 / 100, height * 3 / 10};
    HBRUSH brush = CreateSolidBrush(RGB(red.r, red.g, red.b));
    FillRect(dc, &box, brush);
    DeleteObject(brush);
    Probe(dc, "rectangle", (box.left + box.right) / 2, (box.top + box.bottom) / 2, red);
    Probe(dc, "paper", width / 2, height * 35 / 100, {255, 255, 255});

    // A bottom-up 24-bit DIB, as a BMP file holds it: four quadrants.
    const int side = 16, stride = side * 3;
    const Colour top_left{0, 160, 0}, top_right{0, 0, 255}, bottom_left{255, 220, 0}, bottom_right{0, 0, 0};
    std::vector<BYTE> pixels(stride * side);
    for (int row = 0; row < side; ++row) {
        for (int column = 0; column < side; ++column) {
            bool top = row >= side / 2, left = column < side / 2;
            Colour c = top ? (left ? top_left : top_right) : (left ? bottom_left : bottom_right);
            BYTE* p = &pixels[row * stride + column * 3];
            p[0] = c.b, p[1] = c.g, p[2] = c.r;
        }
    }
    BITMAPINFO bitmap{};
    bitmap.bmiHeader.biSize = sizeof bitmap.bmiHeader;
    bitmap.bmiHeader.biWidth = side;
    bitmap.bmiHeader.biHeight = side;
    bitmap.bmiHeader.biPlanes = 1;
    bitmap.bmiHeader.biBitCount = 24;
    bitmap.bmiHeader.biCompression = BI_RGB;
    const int x = width / 10, y = height * 4 / 10, w = width * 8 / 10, h = height / 2;
    int lines = StretchDIBits(dc, x, y, w, h, 0, 0, side, side, pixels.data(), &bitmap, DIB_RGB_COLORS, SRCCOPY);
    if (lines <= 0) std::printf("StretchDIBits failed, error %lu\n", GetLastError());
    Probe(dc, "bitmap-top-left", x + w / 4, y + h / 4, top_left);
    Probe(dc, "bitmap-top-right", x + w * 3 / 4, y + h / 4, top_right);
    Probe(dc, "bitmap-bottom-left", x + w / 4, y + h * 3 / 4, bottom_left);
    Probe(dc, "bitmap-bottom-right", x + w * 3 / 4, y + h * 3 / 4, bottom_right);

    // A photo-like picture, which Ghostscript left to itself stores as JPEG.
    const int photo_side = 128;
    std::vector<BYTE> photo(photo_side * 3 * photo_side);
    for (int row = 0; row < photo_side; ++row) {
        for (int column = 0; column < photo_side; ++column) {
            BYTE* p = &photo[(row * photo_side + column) * 3];
            p[0] = BYTE(127 + 127 * std::sin((column + row) / 13.0));
            p[1] = BYTE(127 + 127 * std::cos(row / 7.0));
            p[2] = BYTE(127 + 127 * std::sin(column / 9.0));
        }
    }
    bitmap.bmiHeader.biWidth = photo_side;
    bitmap.bmiHeader.biHeight = photo_side;
    lines = StretchDIBits(dc, width * 6 / 10, height / 10, width * 3 / 10, width * 3 / 10, 0, 0, photo_side,
                          photo_side, photo.data(), &bitmap, DIB_RGB_COLORS, SRCCOPY);
    if (lines <= 0) std::printf("StretchDIBits of the photo failed, error %lu\n", GetLastError());

    EndPage(dc);
    LARGE_INTEGER before, after;
    QueryPerformanceCounter(&before);
    SetLastError(0);
    int ended = EndDoc(dc);
    DWORD error = GetLastError();
    QueryPerformanceCounter(&after);
    std::printf("EndDoc returned %d after %.0f ms, error %lu\n", ended, Milliseconds(before, after), error);
    DeleteDC(dc);
    std::fflush(stdout);
    return ended > 0 ? 0 : 3;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring command = argc > 1 ? argv[1] : L"";
    int result = 2;
    if (command == L"enum" && argc == 2) {
        result = Enumerate();
    } else if (command == L"set" && argc == 6 && std::wstring(argv[2]) == L"--ansi") {
        result = SetValue(true, argv[3], argv[4], argv[5]);
    } else if (command == L"set" && argc == 5) {
        result = SetValue(false, argv[2], argv[3], argv[4]);
    } else if (command == L"delete" && argc == 4) {
        result = DeleteValue(argv[2], argv[3]);
    } else if (command == L"print" && argc == 3) {
        result = Print(argv[2]);
    } else {
        std::fprintf(stderr, "usage: printer_probe enum | set [--ansi] KEY NAME VALUE | delete KEY NAME | print DOCUMENT\n");
    }
    std::fflush(stdout);
    return result;
}
