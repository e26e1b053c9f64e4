#pragma once
// For the screenshot tools: writes what the screen shows of a window, or of any rectangle, to a 24-bit .bmp
// file, and finds the dialog a tool has opened.
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

// The visible dialog box (class "#32770") of the calling thread, or null: what a modal dialog a tool has
// opened looks like from a timer of its own.
inline HWND VisibleDialogOfThread() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM out) {
            wchar_t className[32]{};
            GetClassNameW(w, className, 32);
            if (std::wstring(className) != L"#32770" || !IsWindowVisible(w)) return TRUE;
            *reinterpret_cast<HWND*>(out) = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}
