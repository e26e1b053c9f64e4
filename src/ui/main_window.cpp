#include "ui/main_window.h"

#include "apply/apply.h"
#include "controls/tab_strip.h"
#include "prompts/messages.h"
#include "registry/program_keys.h"
#include "registry/registry.h"
#include "resources/resource_ids.h"
#include "session/session.h"
#include "themes/recent_themes.h"
#include "ui/command_ids.h"

#include <commctrl.h>

namespace {
constexpr int ClientWidth = 512, ClientHeight = 548, Margin = 8;
constexpr int ButtonWidth = 80, ButtonHeight = 25, ButtonGap = 6, InfoBarHeight = 22;
constexpr wchar_t PanelClass[] = L"TessalyPanel";

size_t Slot(IconCategory category) {
    return static_cast<size_t>(TabIndex(category) - 2);
}

// A panel only holds and clips its children, which report to their owners, not to it.
void RegisterPanelClass() {
    WNDCLASSEXW wc{};
    if (GetClassInfoExW(GetModuleHandleW(nullptr), PanelClass, &wc)) return;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = PanelClass;
    RegisterClassExW(&wc);
}
} // namespace

MainWindow::MainWindow(Session& session, SystemPort& system, PromptPort& prompts)
    : session_(session), system_(system), prompts_(prompts),
      SystemTree_(std::make_unique<SettingsTree>(session.Settings)) {
    On(WM_CREATE, [this](WPARAM, LPARAM) {
        CreateControls();
        return 0;
    });
    On(WM_SIZE, [this](WPARAM, LPARAM) {
        Form_Resize();
        return 0;
    });
    On(WM_PAINT, [this](WPARAM, LPARAM) {
        Form_Paint();
        return 0;
    });
    On(WM_MOUSEMOVE, [this](WPARAM, LPARAM) {
        Form_MouseMove();
        return 0;
    });
    On(WM_CLOSE, [this](WPARAM, LPARAM) {
        if (!Form_QueryUnload()) return 0;
        Form_Unload();
        DestroyWindow(hwnd());
        return 0;
    });
    // Windows shutting down closes the window too: the same question, the same preferences stored.
    On(WM_QUERYENDSESSION, [this](WPARAM, LPARAM) { return LRESULT{Form_QueryUnload() ? TRUE : FALSE}; });
    On(WM_ENDSESSION, [this](WPARAM ending, LPARAM) {
        if (ending) Form_Unload();
        return 0;
    });
    On(WM_DESTROY, [](WPARAM, LPARAM) {
        PostQuitMessage(0);
        return 0;
    });
    // Like a dialog, the window gives the keyboard focus back to the control that had it when it was left.
    On(WM_ACTIVATE, [this](WPARAM state, LPARAM) {
        HWND focus = GetFocus();
        if (LOWORD(state) == WA_INACTIVE) {
            if (focus && IsChild(hwnd(), focus)) focusedControl_ = focus;
            return 0;
        }
        if (!HIWORD(state) && (!focus || !IsChild(hwnd(), focus)))
            SetFocus(focusedControl_ && IsChild(hwnd(), focusedControl_) ? focusedControl_ : hwnd());
        return 0;
    });
    On(WM_INITMENUPOPUP, [this](WPARAM menu, LPARAM) {
        RefreshMenuStates(reinterpret_cast<HMENU>(menu));
        return 0;
    });
    WireRoutingCommands();
    WireHelpCommands();
    WireIconCommands();
    WireSettingsCommands();
    WireUndoCommands();
    WireThemeCommands();
}

MainWindow::~MainWindow() {
    session_.UnappliedChanged = nullptr;
    session_.ThemesChanged = nullptr;
}

bool MainWindow::Create(const std::function<void(HWND)>& beforeLoad) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    auto icon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    RegisterWindowClass(MainWindowClass, CS_DBLCLKS, GetSysColorBrush(COLOR_BTNFACE), icon);
    RegisterPanelClass();
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT frame{0, 0, ClientWidth, ClientHeight};
    AdjustWindowRectEx(&frame, style, TRUE, WS_EX_CONTROLPARENT);
    if (!CreateWindowFor(MainWindowClass, L"Tessaly", style, WS_EX_CONTROLPARENT, CW_USEDEFAULT,
                         CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr))
        return false;
    if (beforeLoad) beforeLoad(hwnd());
    Form_Load();
    return true;
}

HWND MainWindow::CreateButton(const wchar_t* caption, int id, DWORD style) {
    HWND button = CreateWindowExW(0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 0, 0, 0,
                                  0, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  GetModuleHandleW(nullptr), nullptr);
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(MessageFont()), FALSE);
    return button;
}

void MainWindow::CreateControls() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const auto font = reinterpret_cast<WPARAM>(MessageFont());
    CreateMenus();
    CreateToolbar();
    // Made as wide as the window: a strip too narrow for its tabs would make itself scroll arrows.
    RECT client{};
    GetClientRect(hwnd(), &client);
    TabStrip_ = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP,
                                0, 0, client.right, client.bottom, hwnd(),
                                reinterpret_cast<HMENU>(IdTabStrip), instance, nullptr);
    SendMessageW(TabStrip_, WM_SETFONT, font, FALSE);
    PaintAroundCoveringWindows(TabStrip_); // the panels hide all of its page but the edges
    int index = 0;
    for (std::wstring_view caption : TabCaptions) {
        std::wstring textCopy(caption);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = textCopy.data();
        SendMessageW(TabStrip_, TCM_INSERTITEMW, index++, reinterpret_cast<LPARAM>(&item));
    }
    // The two panels lie over the strip's page, above it in the z-order, so the strip draws behind them.
    for (auto [panel, id] :
         {std::pair{&SettingsPanel_, IdSettingsPanel}, std::pair{&IconPanel_, IdIconPanel}})
        *panel =
            CreateWindowExW(WS_EX_CONTROLPARENT, PanelClass, L"", WS_CHILD | WS_CLIPCHILDREN, 0, 0, 0, 0,
                            hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);

    InfoBar_ =
        CreateWindowExW(0, L"STATIC", L"",
                        WS_CHILD | WS_VISIBLE | SS_SUNKEN | SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_CENTERIMAGE,
                        0, 0, 0, 0, hwnd(), reinterpret_cast<HMENU>(IdInfoBar), instance, nullptr);
    SendMessageW(InfoBar_, WM_SETFONT, font, FALSE);
    CreateButton(L"&Change...", IdCmdChange);
    CreateButton(L"&Default Icon", IdCmdDefault);
    CreateButton(L"Re&name...", IdCmdRename);
    CreateButton(L"&Help", IdCmdHelp);
    cmdOK_ = CreateButton(L"OK", IdOk, BS_DEFPUSHBUTTON);
    cmdCancel_ = CreateButton(L"Cancel", IdCancel);
    cmdApply_ = CreateButton(L"&Apply", IdApply);
    EnableWindow(cmdApply_, session_.HasUnappliedChanges());
    session_.UnappliedChanged = [this](bool unapplied) {
        if (cmdApply_) EnableWindow(cmdApply_, unapplied);
    };
    session_.ThemesChanged = [this] { ShowThemes(); };
    Form_Resize();
}

void MainWindow::Form_Resize() {
    if (!TabStrip_) return;
    RECT client;
    GetClientRect(hwnd(), &client);
    // Showing the window the first time reports the size it was made with.
    if (client.right == laidOut_.cx && client.bottom == laidOut_.cy) return;
    laidOut_ = {client.right, client.bottom};
    const int width = client.right - 2 * Margin;
    const int buttonsTop = client.bottom - Margin - ButtonHeight;
    const int iconButtonsTop = buttonsTop - 2 * Margin - ButtonHeight;
    const int infoTop = iconButtonsTop - ButtonGap - InfoBarHeight;
    const int tabTop = ToolbarStripHeight + ButtonGap;
    const int tabHeight = infoTop - ButtonGap - tabTop;
    MoveWindow(TabStrip_, Margin, tabTop, width, tabHeight, TRUE);

    RECT page{Margin, tabTop, Margin + width, tabTop + tabHeight};
    SendMessageW(TabStrip_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    InflateRect(&page, -2, -2);
    const int pageWidth = page.right - page.left, pageHeight = page.bottom - page.top;
    for (HWND panel : {SettingsPanel_, IconPanel_})
        MoveWindow(panel, page.left, page.top, pageWidth, pageHeight, TRUE);
    if (SystemTree_->hwnd()) MoveWindow(SystemTree_->hwnd(), 0, 0, pageWidth, pageHeight, TRUE);
    for (auto& list : lists_)
        if (list) MoveWindow(list->hwnd(), 0, 0, pageWidth, pageHeight, TRUE);

    MoveWindow(InfoBar_, Margin, infoTop, width, InfoBarHeight, TRUE);
    int x = Margin;
    for (int id : {IdCmdChange, IdCmdDefault, IdCmdRename}) {
        MoveWindow(Button(id), x, iconButtonsTop, ButtonWidth, ButtonHeight, TRUE);
        x += ButtonWidth + ButtonGap;
    }
    MoveWindow(Button(IdCmdHelp), Margin + 2, buttonsTop, ButtonWidth, ButtonHeight, TRUE);
    x = client.right - Margin - 2 - ButtonWidth;
    for (HWND button : {cmdApply_, cmdCancel_, cmdOK_}) {
        MoveWindow(button, x, buttonsTop, ButtonWidth, ButtonHeight, TRUE);
        x -= ButtonWidth + ButtonGap;
    }
}

ListBoxIcons& MainWindow::List(IconCategory category) {
    auto& list = lists_[Slot(category)];
    if (list) return *list;
    list = std::make_unique<ListBoxIcons>(session_.Lists[category]);
    RECT page{};
    GetClientRect(IconPanel_, &page);
    list->Create(IconPanel_, IdFirstList + TabIndex(category) - 2, 0, 0, page.right, page.bottom);
    ShowWindow(list->hwnd(), SW_HIDE); // draws in the message font unless told otherwise
    list->events().Click = [this, category] { List_Click(category); };
    list->events().DblClick = [this] { List_DblClick(); };
    list->events().KeyDown = [this, category](std::int16_t key, std::int16_t) {
        List_KeyDown(category, key);
    };
    return *list;
}

bool MainWindow::RunCommandId(int id) {
    if (!HasCommand(id)) return false;
    SendMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    return true;
}

void MainWindow::cmdApply_Click() {
    ApplyChanges(session_, system_, prompts_);
}

void MainWindow::cmdOK_Click() {
    // The session, not the button, knows whether anything waits.
    if (session_.HasUnappliedChanges()) cmdApply_Click();
    PostMessageW(hwnd(), WM_CLOSE, 0, 0);
}

void MainWindow::cmdCancel_Click() {
    PostMessageW(hwnd(), WM_CLOSE, 0, 0);
}

void MainWindow::OnDestroyed() {
    session_.UnappliedChanged = nullptr;
    session_.ThemesChanged = nullptr;
    TabStrip_ = SettingsPanel_ = IconPanel_ = InfoBar_ = cmdOK_ = cmdCancel_ = cmdApply_ = nullptr;
    mnuFile_ = nullptr;
}
