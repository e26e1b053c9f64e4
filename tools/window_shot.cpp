// Drives a running Tessaly from outside for screenshots: waits for the main window, selects tabs with the
// keys a user would press, captures the window as a .bmp and closes it the way the close box does.
//   window_shot --wait --tab 3 --shot start.bmp --close
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

HWND mainWindow = nullptr;

bool WaitForMain() {
    for (int i = 0; i < 600 && !mainWindow; ++i) {
        HWND w = FindWindowW(L"TessalyMain", nullptr);
        if (w && IsWindowVisible(w)) mainWindow = w;
        else Sleep(100);
    }
    if (mainWindow) Sleep(1500); // let it finish painting
    return mainWindow != nullptr;
}

HWND TopWindowOfProcess() {
    // The foremost visible window of Tessaly's process: the main window or a dialog over it.
    DWORD pid = 0;
    GetWindowThreadProcessId(mainWindow, &pid);
    for (HWND w = GetTopWindow(nullptr); w; w = GetNextWindow(w, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && IsWindowVisible(w)) return w;
    }
    return mainWindow;
}

bool Shot(HWND window, const wchar_t* path) {
    RECT r;
    GetWindowRect(window, &r);
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
    if (FILE* out = _wfopen(path, L"wb")) {
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

void SelectTab(int index) {
    HWND tabs = FindWindowExW(mainWindow, nullptr, WC_TABCONTROLW, nullptr);
    if (!tabs) return;
    SetForegroundWindow(mainWindow);
    // Arrow keys on the tab strip change the tab and notify the window as a click does.
    for (int i = 0; i < 10; ++i) SendMessageW(tabs, WM_KEYDOWN, VK_LEFT, 0);
    for (int i = 1; i < index; ++i) SendMessageW(tabs, WM_KEYDOWN, VK_RIGHT, 0);
    Sleep(700);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    for (int i = 1; i < argc; ++i) {
        std::wstring a = argv[i];
        if (a == L"--wait") {
            if (!WaitForMain()) {
                fwprintf(stderr, L"window_shot: no Tessaly window appeared\n");
                return 1;
            }
        } else if (a == L"--tab" && i + 1 < argc) {
            SelectTab(_wtoi(argv[++i]));
        } else if (a == L"--shot" && i + 1 < argc) {
            if (!Shot(mainWindow, argv[++i])) return 1;
        } else if (a == L"--shot-top" && i + 1 < argc) {
            if (!Shot(TopWindowOfProcess(), argv[++i])) return 1;
        } else if (a == L"--sleep" && i + 1 < argc) {
            Sleep(_wtoi(argv[++i]));
        } else if (a == L"--close") {
            PostMessageW(mainWindow, WM_CLOSE, 0, 0);
        } else {
            fwprintf(stderr, L"window_shot: unknown argument %ls\n", a.c_str());
            return 2;
        }
    }
    return 0;
}
