#include "ui/main_window.h"

#include "resources/resource_ids.h"

#include <commctrl.h>

namespace {
constexpr int IdTabStrip = 100;
constexpr int ClientWidth = 470, ClientHeight = 520, Margin = 8;
} // namespace

MainWindow::MainWindow(const StartupFacts& facts) : facts_(facts) {
    On(WM_CREATE, [this](WPARAM, LPARAM) {
        Form_Load();
        return 0;
    });
    On(WM_SIZE, [this](WPARAM, LPARAM) {
        Form_Resize();
        return 0;
    });
    On(WM_DESTROY, [](WPARAM, LPARAM) {
        PostQuitMessage(0);
        return 0;
    });
}

bool MainWindow::Create() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    auto icon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    RegisterWindowClass(MainWindowClass, CS_DBLCLKS, GetSysColorBrush(COLOR_BTNFACE), icon);
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT frame{0, 0, ClientWidth, ClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    return CreateWindowFor(MainWindowClass, L"Tessaly", style, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                           frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr) != nullptr;
}

void MainWindow::Form_Load() {
    TabStrip_ = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0, 0, 0,
                                0, hwnd(), reinterpret_cast<HMENU>(IdTabStrip), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(TabStrip_, WM_SETFONT, reinterpret_cast<WPARAM>(MessageFont()), FALSE);
    int index = 0;
    for (std::wstring_view caption : TabCaptions) {
        std::wstring textCopy(caption);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = textCopy.data();
        SendMessageW(TabStrip_, TCM_INSERTITEMW, index++, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(TabStrip_, TCM_SETCURSEL, 1, 0); // the Desktop tab
    Form_Resize();
}

void MainWindow::Form_Resize() {
    RECT client;
    GetClientRect(hwnd(), &client);
    if (TabStrip_)
        MoveWindow(TabStrip_, Margin, Margin, client.right - 2 * Margin, client.bottom - 2 * Margin - 40, TRUE);
}

void MainWindow::OnDestroyed() { TabStrip_ = nullptr; }
