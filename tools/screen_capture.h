#pragma once
// Writes what the screen shows of a window, or of any rectangle, to a 24-bit .bmp file, for the screenshot
// tools.
#include <windows.h>

#include <cstdio>
#include <string>

inline bool SaveScreenBitmap(const RECT& r, const std::wstring& path) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    GdiFlush();

    const DWORD stride = ((w * 3 + 3) / 4) * 4;
    BITMAPFILEHEADER file{0x4d42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    file.bfSize = file.bfOffBits + stride * h;
    bool ok = false;
    if (FILE* out = _wfopen(path.c_str(), L"wb")) {
        fwrite(&file, sizeof file, 1, out);
        fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
        fwrite(bits, stride, h, out);
        ok = fclose(out) == 0;
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

inline bool SaveWindowBitmap(HWND window, const std::wstring& path) {
    RECT r;
    GetWindowRect(window, &r);
    return SaveScreenBitmap(r, path);
}
