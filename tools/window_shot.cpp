// Drives a running Tessaly from outside for screenshots: waits for the main window, selects tabs with the
// keys a user would press, captures the window as a .bmp and closes it the way the close box does.
//   window_shot --wait --tab 3 --shot start.bmp --tab 1 --expand-tree --shot shell.bmp --close
// Help: --command 240 opens the help window (any command id is posted as a menu click would), --help-search
// TEXT types into its search box and presses Enter, --shot-help FILE captures it, --help-close closes it;
// --whats-this ID clicks the control with that id in help-select mode, --shot-popup FILE captures the main
// window together with the pop-up.
// --menu f opens the menu whose caption has that letter underlined, as Alt and the letter do; --escape
// leaves it again.
// On the Shell tab, --find-node TEXT selects the first node whose caption begins with TEXT, --right-click
// presses the right button over the selected node, and --close-menu closes a menu left open.
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

HWND HelpWindow() {
    return FindWindowW(L"TessalyHelp", nullptr);
}

HWND Popup() {
    return FindWindowW(L"TessalyHelpPopup", nullptr);
}

void HelpSearch(const std::wstring& text) {
    HWND search = GetDlgItem(HelpWindow(), 103); // the help window's search box
    if (!search) return;
    SendMessageW(search, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    PostMessageW(search, WM_KEYDOWN, VK_RETURN, 0);
    Sleep(800);
}

void WhatsThisClick(int controlId) {
    HWND control = GetDlgItem(mainWindow, controlId);
    if (!control) return;
    PostMessageW(mainWindow, WM_COMMAND, 241, 0); // Help, What's This?
    Sleep(300);
    RECT r;
    GetClientRect(control, &r);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right / 2, r.bottom / 2));
    Sleep(800);
}

bool SaveWithPopup(const std::wstring& path) {
    RECT r, popup;
    GetWindowRect(mainWindow, &r);
    if (HWND p = Popup(); p && GetWindowRect(p, &popup)) UnionRect(&r, &r, &popup);
    InflateRect(&r, 4, 4);
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&r, &r, &screen); // a copy reaching past the screen comes back black
    return SaveScreenBitmap(r, path);
}

// Memory in Tessaly's process, for tree messages that pass pointers.
class RemoteBlock {
public:
    RemoteBlock(HWND window, SIZE_T size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_) at_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteBlock() {
        if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;
    bool ok() const { return at_ != nullptr; }
    char* at() const { return static_cast<char*>(at_); }
    void Write(SIZE_T offset, const void* data, SIZE_T size) const {
        WriteProcessMemory(process_, at() + offset, data, size, nullptr);
    }
    void Read(SIZE_T offset, void* data, SIZE_T size) const {
        ReadProcessMemory(process_, at() + offset, data, size, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* at_ = nullptr;
};

std::wstring ItemText(HWND tree, const RemoteBlock& block, LPARAM item) {
    constexpr SIZE_T textAt = 256, textLength = 128;
    TVITEMW read{};
    read.mask = TVIF_TEXT;
    read.hItem = reinterpret_cast<HTREEITEM>(item);
    read.pszText = reinterpret_cast<wchar_t*>(block.at() + textAt);
    read.cchTextMax = textLength;
    block.Write(0, &read, sizeof read);
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(block.at()));
    wchar_t text[textLength] = {};
    block.Read(textAt, text, sizeof text);
    text[textLength - 1] = 0;
    return text;
}

// Selects the first node whose caption begins with this text, as a click on it would.
void FindNode(const std::wstring& caption) {
    HWND tree = FindTree();
    if (!tree) return;
    RemoteBlock block(tree, 1024);
    if (!block.ok()) return;
    for (LPARAM item = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0); item;
         item = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, item)) {
        if (!ItemText(tree, block, item).starts_with(caption)) continue;
        SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, item);
        SendMessageW(tree, TVM_ENSUREVISIBLE, 0, item);
        break;
    }
    Sleep(700);
}

// Presses the right button over the middle of the selected node's caption.
void RightClickSelected() {
    HWND tree = FindTree();
    if (!tree) return;
    RemoteBlock block(tree, sizeof(RECT));
    if (!block.ok()) return;
    const LPARAM selected = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
    block.Write(0, &selected, sizeof selected);
    SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(block.at()));
    RECT r{};
    block.Read(0, &r, sizeof r);
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageW(tree, WM_RBUTTONDOWN, MK_RBUTTON, at);
    PostMessageW(tree, WM_RBUTTONUP, 0, at);
    Sleep(1000);
}

void CloseMenu() {
    if (HWND menu = FindWindowW(L"#32768", nullptr)) PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    Sleep(300);
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
        } else if (a == L"--help-search" && i + 1 < argc) {
            HelpSearch(argv[++i]);
        } else if (a == L"--shot-help" && i + 1 < argc) {
            if (!HelpWindow() || !SaveWindowBitmap(HelpWindow(), argv[++i])) return 1;
        } else if (a == L"--help-close") {
            PostMessageW(HelpWindow(), WM_CLOSE, 0, 0);
            Sleep(500);
        } else if (a == L"--whats-this" && i + 1 < argc) {
            WhatsThisClick(_wtoi(argv[++i]));
        } else if (a == L"--shot-popup" && i + 1 < argc) {
            if (!Popup() || !SaveWithPopup(argv[++i])) return 1;
        } else if (a == L"--sleep" && i + 1 < argc) {
            Sleep(_wtoi(argv[++i]));
        } else if (a == L"--menu" && i + 1 < argc) {
            PostMessageW(mainWindow, WM_SYSCOMMAND, SC_KEYMENU, argv[++i][0]);
            Sleep(700);
        } else if (a == L"--escape") {
            for (int n = 0; n < 2; ++n) PostMessageW(mainWindow, WM_KEYDOWN, VK_ESCAPE, 0);
            Sleep(300);
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
