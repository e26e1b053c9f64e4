// Drives a running Tessaly from outside for screenshots: waits for the main window, selects tabs with the
// keys a user would press, captures the window as a .bmp and closes it the way the close box does.
//   window_shot --wait --tab 3 --shot start.bmp --tab 1 --expand-tree --shot shell.bmp --close
//   window_shot --wait --command 200 --shot-top open.bmp --cancel-top --close
//   window_shot --answer-notice notice.bmp OK
#include "screen_capture.h"

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
        if (w && IsWindowVisible(w))
            mainWindow = w;
        else
            Sleep(100);
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

void SelectTab(int index) {
    HWND tabs = FindWindowExW(mainWindow, nullptr, WC_TABCONTROLW, nullptr);
    if (!tabs) return;
    SetForegroundWindow(mainWindow);
    // Arrow keys on the tab strip change the tab and notify the window as a click does.
    for (int i = 0; i < 10; ++i) SendMessageW(tabs, WM_KEYDOWN, VK_LEFT, 0);
    for (int i = 1; i < index; ++i) SendMessageW(tabs, WM_KEYDOWN, VK_RIGHT, 0);
    Sleep(700);
}

// Opens every group of the settings tree, as a user clicking each plus sign would. Tree item handles are
// plain values to the caller, so the messages need no shared memory.
void ExpandTree() {
    HWND tree = nullptr;
    EnumChildWindows(
        mainWindow,
        [](HWND child, LPARAM found) {
            wchar_t className[32] = {};
            GetClassNameW(child, className, 32);
            if (std::wstring(className) != WC_TREEVIEWW) return TRUE;
            *reinterpret_cast<HWND*>(found) = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&tree));
    if (!tree) return;
    std::vector<LPARAM> pending{SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)};
    while (!pending.empty()) {
        LPARAM item = pending.back();
        pending.pop_back();
        for (; item; item = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, item)) {
            SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, item);
            if (LPARAM child = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, item))
                pending.push_back(child);
        }
    }
    SendMessageW(tree, TVM_ENSUREVISIBLE, 0, SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    Sleep(500);
}

} // namespace

// Load-and-apply shows no main window; its only window is the notice Apply may show. Captures it and
// presses its button with this caption.
bool AnswerNotice(const wchar_t* out, const std::wstring& caption) {
    HWND notice = nullptr;
    for (int i = 0; i < 600 && !notice; ++i) {
        notice = FindWindowW(L"#32770", nullptr);
        if (!notice || !IsWindowVisible(notice)) notice = nullptr, Sleep(100);
    }
    if (!notice) return false;
    Sleep(1000);
    const bool saved = SaveWindowBitmap(notice, out);
    if (HWND button = FindWindowExW(notice, nullptr, L"Button", caption.c_str()))
        PostMessageW(button, BM_CLICK, 0, 0);
    return saved;
}

int wmain(int argc, wchar_t** argv) {
    for (int i = 1; i < argc; ++i) {
        std::wstring a = argv[i];
        if (a == L"--wait") {
            if (!WaitForMain()) {
                fwprintf(stderr, L"window_shot: no Tessaly window appeared\n");
                return 1;
            }
        } else if (a == L"--expand-tree") {
            ExpandTree();
        } else if (a == L"--tab" && i + 1 < argc) {
            SelectTab(_wtoi(argv[++i]));
        } else if (a == L"--shot" && i + 1 < argc) {
            if (!SaveWindowBitmap(mainWindow, argv[++i])) return 1;
        } else if (a == L"--shot-top" && i + 1 < argc) {
            if (!SaveWindowBitmap(TopWindowOfProcess(), argv[++i])) return 1;
        } else if (a == L"--sleep" && i + 1 < argc) {
            Sleep(_wtoi(argv[++i]));
        } else if (a == L"--command" && i + 1 < argc) {
            // As a menu click sends it; a modal dialog it opens is then the process's top window.
            PostMessageW(mainWindow, WM_COMMAND, MAKEWPARAM(_wtoi(argv[++i]), 0), 0);
            Sleep(2500);
        } else if (a == L"--cancel-top") {
            PostMessageW(TopWindowOfProcess(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            Sleep(700);
        } else if (a == L"--answer-notice" && i + 2 < argc) {
            if (!AnswerNotice(argv[i + 1], argv[i + 2])) return 1;
            i += 2;
        } else if (a == L"--close") {
            PostMessageW(mainWindow, WM_CLOSE, 0, 0);
        } else {
            fwprintf(stderr, L"window_shot: unknown argument %ls\n", a.c_str());
            return 2;
        }
    }
    return 0;
}
