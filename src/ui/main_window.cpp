#include "ui/main_window.h"

#include "apply/apply.h"
#include "prompts/messages.h"
#include "registry/program_keys.h"
#include "registry/registry.h"
#include "resources/resource_ids.h"
#include "session/session.h"

#include <commctrl.h>

namespace {
constexpr int ClientWidth = 470, ClientHeight = 520, Margin = 8;
constexpr int ButtonWidth = 75, ButtonHeight = 25, ButtonGap = 6, InfoBarHeight = 22;

size_t Slot(IconCategory category) {
    return static_cast<size_t>(TabIndex(category) - 2);
}
} // namespace

MainWindow::MainWindow(Session& session, SystemPort& system, PromptPort& prompts)
    : session_(session), system_(system), prompts_(prompts) {
    On(WM_CREATE, [this](WPARAM, LPARAM) {
        Form_Load();
        return 0;
    });
    On(WM_SIZE, [this](WPARAM, LPARAM) {
        Form_Resize();
        return 0;
    });
    On(WM_CLOSE, [this](WPARAM, LPARAM) {
        if (Form_QueryUnload()) DestroyWindow(hwnd());
        return 0;
    });
    On(WM_DESTROY, [](WPARAM, LPARAM) {
        PostQuitMessage(0);
        return 0;
    });
    OnNotify(IdTabStrip, TCN_SELCHANGE, [this](NMHDR*) {
        TabStrip_Click();
        return 0;
    });
    OnCommand(IdApply, [this] { cmdApply_Click(); });
    OnCommand(IdOk, [this] { cmdOK_Click(); });
    OnCommand(IdCancel, [this] { cmdCancel_Click(); });
    WireThemeCommands();
}

MainWindow::~MainWindow() {
    session_.UnappliedChanged = nullptr;
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

HWND MainWindow::CreateButton(const wchar_t* caption, int id, DWORD style) {
    HWND button = CreateWindowExW(0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 0, 0, 0,
                                  0, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  GetModuleHandleW(nullptr), nullptr);
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(MessageFont()), FALSE);
    return button;
}

void MainWindow::Form_Load() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const auto font = reinterpret_cast<WPARAM>(MessageFont());
    TabStrip_ = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP,
                                0, 0, 0, 0, hwnd(), reinterpret_cast<HMENU>(IdTabStrip), instance, nullptr);
    SendMessageW(TabStrip_, WM_SETFONT, font, FALSE);
    int index = 0;
    for (std::wstring_view caption : TabCaptions) {
        std::wstring textCopy(caption);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = textCopy.data();
        SendMessageW(TabStrip_, TCM_INSERTITEMW, index++, reinterpret_cast<LPARAM>(&item));
    }

    // Children of the main window, above the tab strip in the z-order, so the strip draws behind them.
    SystemTree_ = std::make_unique<SettingsTree>(session_.Settings);
    SystemTree_->Create(hwnd(), IdSystemTree, RECT{0, 0, 10, 10});
    SendMessageW(SystemTree_->SystemTree(), WM_SETFONT, font, FALSE);
    for (IconCategory category : IconCategories) {
        auto& list = lists_[Slot(category)];
        list = std::make_unique<ListBoxIcons>(session_.Lists[category]);
        list->Create(hwnd(), IdFirstList + TabIndex(category) - 2, 0, 0, 10, 10);
        SendMessageW(list->hwnd(), WM_SETFONT, font, FALSE);
        list->events().Click = [this, category] { List_Click(category); };
        list->events().KeyDown = [this, category](std::int16_t key, std::int16_t) {
            List_KeyDown(category, key);
        };
    }

    InfoBar_ =
        CreateWindowExW(0, L"STATIC", L"",
                        WS_CHILD | WS_VISIBLE | SS_SUNKEN | SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_CENTERIMAGE,
                        0, 0, 0, 0, hwnd(), reinterpret_cast<HMENU>(IdInfoBar), instance, nullptr);
    SendMessageW(InfoBar_, WM_SETFONT, font, FALSE);
    cmdOK_ = CreateButton(L"OK", IdOk, BS_DEFPUSHBUTTON);
    cmdCancel_ = CreateButton(L"Cancel", IdCancel);
    cmdApply_ = CreateButton(L"&Apply", IdApply);
    EnableWindow(cmdApply_, session_.HasUnappliedChanges());
    session_.UnappliedChanged = [this](bool unapplied) {
        if (cmdApply_) EnableWindow(cmdApply_, unapplied);
    };

    Form_Resize();

    // The stored tab when it names one, otherwise "Desktop".
    const int stored = Registry::ReadDword(ProgramSettingsKey, L"Active Tab");
    SelectTab(stored >= 1 && stored <= static_cast<int>(TabCaptions.size()) ? stored : 2);
}

void MainWindow::Form_Resize() {
    if (!TabStrip_) return;
    RECT client;
    GetClientRect(hwnd(), &client);
    const int width = client.right - 2 * Margin;
    const int buttonsTop = client.bottom - Margin - ButtonHeight;
    const int infoTop = buttonsTop - Margin - InfoBarHeight;
    const int tabHeight = infoTop - 2 * Margin;
    MoveWindow(TabStrip_, Margin, Margin, width, tabHeight, TRUE);

    RECT page{Margin, Margin, Margin + width, Margin + tabHeight};
    SendMessageW(TabStrip_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    InflateRect(&page, -2, -2);
    const int pageWidth = page.right - page.left, pageHeight = page.bottom - page.top;
    MoveWindow(SystemTree_->hwnd(), page.left, page.top, pageWidth, pageHeight, TRUE);
    for (auto& list : lists_) MoveWindow(list->hwnd(), page.left, page.top, pageWidth, pageHeight, TRUE);

    MoveWindow(InfoBar_, Margin, infoTop, width, InfoBarHeight, TRUE);
    int x = client.right - Margin - ButtonWidth;
    for (HWND button : {cmdApply_, cmdCancel_, cmdOK_}) {
        MoveWindow(button, x, buttonsTop, ButtonWidth, ButtonHeight, TRUE);
        x -= ButtonWidth + ButtonGap;
    }
}

ListBoxIcons& MainWindow::List(IconCategory category) {
    return *lists_[Slot(category)];
}

void MainWindow::SelectTab(int tab) {
    SendMessageW(TabStrip_, TCM_SETCURSEL, tab - 1, 0);
    TabStrip_Click();
}

void MainWindow::TabStrip_Click() {
    const int tab = static_cast<int>(SendMessageW(TabStrip_, TCM_GETCURSEL, 0, 0)) + 1;
    session_.SelectedTab = tab;
    const auto shown = CategoryOfTab(tab);
    for (IconCategory category : IconCategories)
        if (category != shown) ShowWindow(List(category).hwnd(), SW_HIDE);
    if (!shown) {
        SetWindowTextW(InfoBar_, L"");
        ShowWindow(SystemTree_->hwnd(), SW_SHOW);
        SetFocus(SystemTree_->SystemTree());
        return;
    }
    ShowWindow(SystemTree_->hwnd(), SW_HIDE);
    ListBoxIcons& list = List(*shown);
    SetWindowPos(list.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    List_Click(*shown);
    SetFocus(list.lstMainHwnd());
}

void MainWindow::List_Click(IconCategory category) {
    const IconListModel& model = session_.Lists[category];
    std::wstring info = model.SeledFullIconPath();
    if (category == IconCategory::Pointers)
        info = model.SeledIconPath() == session_.Facts.OwnExePath ? L"Windows Default Cursor"
                                                                  : model.SeledIconPath();
    SetWindowTextW(InfoBar_, info.c_str());
}

void MainWindow::List_KeyDown(IconCategory category, int keyCode) {
    if (keyCode == VK_PRIOR || keyCode == VK_NEXT || keyCode == VK_UP || keyCode == VK_DOWN)
        List_Click(category);
}

void MainWindow::cmdApply_Click() {
    ApplyChanges(session_, system_, prompts_);
}

void MainWindow::cmdOK_Click() {
    if (IsWindowEnabled(cmdApply_)) cmdApply_Click();
    PostMessageW(hwnd(), WM_CLOSE, 0, 0);
}

void MainWindow::cmdCancel_Click() {
    PostMessageW(hwnd(), WM_CLOSE, 0, 0);
}

bool MainWindow::Form_QueryUnload() {
    if (!IsWindowEnabled(cmdApply_)) return true;
    switch (Messages::AskSaveChanges(prompts_)) {
    case 0:
        return false; // "&Cancel": the window stays, changes still staged
    case 2:
        cmdApply_Click();
        return true;
    default:
        return true; // "No", or closed without a button
    }
}

void MainWindow::OnDestroyed() {
    session_.UnappliedChanged = nullptr;
    TabStrip_ = InfoBar_ = cmdOK_ = cmdCancel_ = cmdApply_ = nullptr;
}
