// Shows one of the program's small windows on its own, captures it from the screen into a .bmp once it has
// painted, and closes it.
//   parts_shot splash|about|toolbar out.bmp
#include "controls/tool_bar_icons.h"
#include "platform/ports.h"
#include "ui/about.h"
#include "ui/splash.h"

#include "screen_capture.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

namespace {

std::wstring outPath;
bool saved = false;

// Lets pending messages through for a while, so windows paint.
void Pump(DWORD milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    while (GetTickCount() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(20);
    }
}

// About: past the first memory refresh, with the pointer resting on the web address.
void CALLBACK AboutTick(HWND, UINT, UINT_PTR, DWORD) {
    static int ticks = 0;
    HWND about = VisibleDialogOfThread();
    if (!about || ++ticks < 16) return;
    if (!saved) {
        SendMessageW(GetDlgItem(about, frmAbout::LabelId(frmAbout::WebLabel)), WM_MOUSEMOVE, 0,
                     MAKELPARAM(4, 4));
        RedrawWindow(about, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        saved = SaveWindowBitmap(about, outPath);
    }
    PostMessageW(about, WM_COMMAND, IDCANCEL, 0);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        fwprintf(stderr, L"usage: parts_shot splash|about|toolbar out.bmp\n");
        return 2;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const std::wstring shape = argv[1];
    outPath = argv[2];
    // An owner in the middle of the screen, as the main window would be.
    HWND owner = CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 120, 620, 520,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (shape == L"splash") {
        frmSplash splash;
        splash.Show(owner);
        Pump(800);
        saved = SaveWindowBitmap(splash.hwnd(), outPath);
        splash.Close();
    } else if (shape == L"about") {
        RealSystemPort system;
        SetTimer(nullptr, 0, 100, &AboutTick);
        frmAbout about;
        about.Show(owner, system);
    } else if (shape == L"toolbar") {
        HWND host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100, 530,
                                    40, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ToolBarIcons toolbar;
        toolbar.Create(host, 10, 0, 4);
        // As the main window shows it before every command is wired: some buttons greyed, one under the
        // pointer.
        for (int index : {0, 1, 5, 8, 9}) toolbar.SetButtonEnabled(index, false);
        toolbar.mnuicon_MouseMove(4, 0, 0, 0, 0);
        Pump(800);
        saved = SaveWindowBitmap(host, outPath);
        DestroyWindow(host);
    } else {
        fwprintf(stderr, L"parts_shot: unknown window %ls\n", shape.c_str());
    }
    DestroyWindow(owner);
    if (!saved) fwprintf(stderr, L"parts_shot: nothing was captured\n");
    return saved ? 0 : 1;
}
