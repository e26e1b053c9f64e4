// Drives a running Tessaly from outside for screenshots: waits for the main window, selects tabs with the
// keys a user would press, captures the window as a .bmp and closes it the way the close box does.
//   window_shot --wait --tab 3 --shot start.bmp --tab 1 --expand-tree --shot shell.bmp --close
// On the Shell tab, --find-node TEXT selects a node by typing its caption into the tree, --right-click
// presses the right button over the selected node, and --close-menu closes a menu left open.
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

HWND FindTree() {
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
    return tree;
}

// Opens every group of the settings tree, as a user clicking each plus sign would. Tree item handles are
// plain values to the caller, so the messages need no shared memory.
void ExpandTree() {
    HWND tree = FindTree();
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

// Types the caption's letters into the tree, whose incremental search selects the node.
void FindNode(const std::wstring& caption) {
    HWND tree = FindTree();
    if (!tree) return;
    SetForegroundWindow(mainWindow);
    for (wchar_t c : caption) PostMessageW(tree, WM_CHAR, c, 0);
    Sleep(700);
}

// The selected node's place is worked out from what the tree answers without pointers: the rows shown
// above it, the row height, the indent of its level.
void RightClickSelected() {
    HWND tree = FindTree();
    if (!tree) return;
    const LPARAM selected = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
    int row = 0;
    for (LPARAM item = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0); item && item != selected;
         item = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, item))
        ++row;
    int depth = 0;
    for (LPARAM item = selected; (item = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_PARENT, item));) ++depth;
    const int height = static_cast<int>(SendMessageW(tree, TVM_GETITEMHEIGHT, 0, 0));
    const int indent = static_cast<int>(SendMessageW(tree, TVM_GETINDENT, 0, 0));
    const int x = indent * (depth + 1) + 40, y = row * height + height / 2;
    PostMessageW(tree, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
    PostMessageW(tree, WM_RBUTTONUP, 0, MAKELPARAM(x, y));
    Sleep(1000);
}

void CloseMenu() {
    if (HWND menu = FindWindowW(L"#32768", nullptr)) PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    Sleep(300);
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
        } else if (a == L"--expand-tree") {
            ExpandTree();
        } else if (a == L"--find-node" && i + 1 < argc) {
            FindNode(argv[++i]);
        } else if (a == L"--right-click") {
            RightClickSelected();
        } else if (a == L"--close-menu") {
            CloseMenu();
        } else if (a == L"--tab" && i + 1 < argc) {
            SelectTab(_wtoi(argv[++i]));
        } else if (a == L"--shot" && i + 1 < argc) {
            if (!SaveWindowBitmap(mainWindow, argv[++i])) return 1;
        } else if (a == L"--shot-top" && i + 1 < argc) {
            if (!SaveWindowBitmap(TopWindowOfProcess(), argv[++i])) return 1;
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
