#include "ui/main_window.h"

#include "apply/apply.h"
#include "controls/tab_strip.h"
#include "platform/file_icon.h"
#include "platform/late_bound.h"
#include "prompts/messages.h"
#include "registry/program_keys.h"
#include "registry/registry.h"
#include "resources/resource_ids.h"
#include "session/session.h"
#include "themes/recent_themes.h"
#include "ui/command_ids.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <array>

namespace {
constexpr int ClientWidth = 512, ClientHeight = 548, Margin = 8;
constexpr int ButtonWidth = 80, ButtonHeight = 25, ButtonGap = 6, InfoBarHeight = 22;
constexpr wchar_t PanelClass[] = L"TessalyPanel";

size_t Slot(IconCategory category) {
    return static_cast<size_t>(TabIndex(category) - 2);
}

// Whether a shown child fills the panel, as a list or the tree does once shown.
bool CoveredByChild(HWND panel) {
    RECT client;
    GetClientRect(panel, &client);
    for (HWND child = GetWindow(panel, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        RECT area;
        GetWindowRect(child, &area);
        MapWindowPoints(HWND_DESKTOP, panel, reinterpret_cast<POINT*>(&area), 2);
        if (area.left <= 0 && area.top <= 0 && area.right >= client.right && area.bottom >= client.bottom)
            return true;
    }
    return false;
}

// A panel only holds and clips its children, which report to their owners, not to it.
void RegisterPanelClass() {
    WNDCLASSEXW wc{};
    if (GetClassInfoExW(GetModuleHandleW(nullptr), PanelClass, &wc)) return;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = [](HWND panel, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_NCPAINT && IsFramelessChild(panel)) return 0;
        // Its background would be painted only to be painted over.
        if (message == WM_PAINT && CoveredByChild(panel)) {
            ValidateRect(panel, nullptr);
            return 0;
        }
        return DefWindowProcW(panel, message, wParam, lParam);
    };
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = ArrowCursor();
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
    const Registry::ReadCache keys; // the preferences are values of one key, read until start-up ends
    const IconFileBatch iconFiles;  // the first list's icons come from a few libraries
    HINSTANCE instance = GetModuleHandleW(nullptr);
    auto icon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    RegisterWindowClass(MainWindowClass, CS_DBLCLKS, GetSysColorBrush(COLOR_BTNFACE), icon);
    RegisterPanelClass();
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT frame{0, 0, ClientWidth, ClientHeight};
    AdjustWindowRectEx(&frame, style, TRUE, WS_EX_CONTROLPARENT);
    // Made with its menu bar: a bar set afterwards lays the window out once more.
    HMENU bar = CreateMenus();
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    // Start-up step 5 as the window is made: moved afterwards, it would be laid out once more.
    POINT at{CW_USEDEFAULT, CW_USEDEFAULT};
    if (session_.CommandLine.empty())
        if (const auto placed = StartPosition(width, height)) at = *placed;
    if (!CreateWindowFor(MainWindowClass, L"Tessaly", style, WS_EX_CONTROLPARENT, at.x, at.y, width, height,
                         nullptr, bar)) {
        if (IsMenu(bar)) DestroyMenu(bar); // a window that failed once made has taken it with it
        mnuFile_ = nullptr;
        return false;
    }
    if (beforeLoad) beforeLoad(hwnd());
    Form_Load();
    return true;
}

namespace {

// Where the controls stand in a client area: each is made there, and moved there when the area changes.
struct Placement {
    RECT tabStrip, infoBar, help;
    std::array<RECT, 3> iconButtons;   // "&Change...", "&Default Icon", "Re&name..."
    std::array<RECT, 3> dialogButtons; // "OK", "Cancel", "&Apply"
};

RECT At(int x, int y, int width, int height) {
    return {x, y, x + width, y + height};
}

Placement PlaceControls(const RECT& client) {
    Placement at{};
    const int width = client.right - 2 * Margin;
    const int buttonsTop = client.bottom - Margin - ButtonHeight;
    const int iconButtonsTop = buttonsTop - 2 * Margin - ButtonHeight;
    const int infoTop = iconButtonsTop - ButtonGap - InfoBarHeight;
    const int tabTop = ToolbarStripHeight + ButtonGap;
    at.tabStrip = At(Margin, tabTop, width, infoTop - ButtonGap - tabTop);
    at.infoBar = At(Margin, infoTop, width, InfoBarHeight);
    for (int i = 0; i < 3; ++i)
        at.iconButtons[static_cast<size_t>(i)] =
            At(Margin + i * (ButtonWidth + ButtonGap), iconButtonsTop, ButtonWidth, ButtonHeight);
    at.help = At(Margin + 2, buttonsTop, ButtonWidth, ButtonHeight);
    const int right = client.right - Margin - 2;
    for (int i = 0; i < 3; ++i)
        at.dialogButtons[static_cast<size_t>(i)] =
            At(right - (3 - i) * ButtonWidth - (2 - i) * ButtonGap, buttonsTop, ButtonWidth, ButtonHeight);
    return at;
}

// The strip's display area less two pixels, in the window's coordinates; the strip must have its tabs.
RECT PageOf(HWND tabStrip, const RECT& strip) {
    RECT page = strip;
    SendMessageW(tabStrip, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    InflateRect(&page, -2, -2);
    return page;
}

void Move(HWND window, const RECT& to) {
    MoveWindow(window, to.left, to.top, to.right - to.left, to.bottom - to.top, TRUE);
}

HWND CreateChild(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle, const RECT& at,
                 HWND parent, int id) {
    return CreateWindowExW(exStyle, className, text, WS_CHILD | style, at.left, at.top, at.right - at.left,
                           at.bottom - at.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

} // namespace

HWND MainWindow::CreateButton(const wchar_t* caption, int id, const RECT& at, DWORD style) {
    HWND button = CreateChild(L"BUTTON", caption, WS_VISIBLE | WS_TABSTOP | style, 0, at, hwnd(), id);
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(MessageFont()), FALSE);
    SkipFramePainting(button);
    return button;
}

void MainWindow::CreateControls() {
    const auto font = reinterpret_cast<WPARAM>(MessageFont());
    CreateToolbar();
    RECT client{};
    GetClientRect(hwnd(), &client);
    const Placement at = PlaceControls(client);
    TabStrip_ = CreateChild(WC_TABCONTROLW, L"", WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0, at.tabStrip,
                            hwnd(), IdTabStrip);
    PaintAroundCoveringWindows(TabStrip_); // the panels hide all of its page but the edges
    // A themed strip asks where the pointer is for every tab put in and for its font, each time a round trip
    // to the display under Wine; without its theme until it has them all, it asks once.
    static const auto setTheme = LateBound<decltype(SetWindowTheme)>(L"uxtheme.dll", "SetWindowTheme");
    if (setTheme) setTheme(TabStrip_, L" ", L" ");
    SendMessageW(TabStrip_, WM_SETFONT, font, FALSE);
    int index = 0;
    for (std::wstring_view caption : TabCaptions) {
        std::wstring textCopy(caption);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = textCopy.data();
        SendMessageW(TabStrip_, TCM_INSERTITEMW, index++, reinterpret_cast<LPARAM>(&item));
    }
    if (setTheme) setTheme(TabStrip_, nullptr, nullptr);
    // The two panels lie over the strip's page, above it in the z-order, so the strip draws behind them. The
    // settings panel stays hidden and disabled until the Shell tab shows it.
    const RECT page = PageOf(TabStrip_, at.tabStrip);
    SettingsPanel_ = CreateChild(PanelClass, L"", WS_CLIPCHILDREN | WS_DISABLED, WS_EX_CONTROLPARENT, page,
                                 hwnd(), IdSettingsPanel);
    IconPanel_ =
        CreateChild(PanelClass, L"", WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, page, hwnd(), IdIconPanel);

    InfoBar_ =
        CreateChild(L"STATIC", L"", WS_VISIBLE | SS_SUNKEN | SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_CENTERIMAGE,
                    0, at.infoBar, hwnd(), IdInfoBar);
    SendMessageW(InfoBar_, WM_SETFONT, font, FALSE);
    CreateButton(L"&Change...", IdCmdChange, at.iconButtons[0]);
    CreateButton(L"&Default Icon", IdCmdDefault, at.iconButtons[1]);
    CreateButton(L"Re&name...", IdCmdRename, at.iconButtons[2]);
    CreateButton(L"&Help", IdCmdHelp, at.help);
    cmdOK_ = CreateButton(L"OK", IdOk, at.dialogButtons[0], BS_DEFPUSHBUTTON);
    cmdCancel_ = CreateButton(L"Cancel", IdCancel, at.dialogButtons[1]);
    cmdApply_ = CreateButton(L"&Apply", IdApply, at.dialogButtons[2],
                             session_.HasUnappliedChanges() ? 0 : WS_DISABLED);
    laidOut_ = {client.right, client.bottom};
    session_.UnappliedChanged = [this](bool unapplied) {
        if (cmdApply_) EnableWindow(cmdApply_, unapplied);
    };
    session_.ThemesChanged = [this] { ShowThemes(); };
}

void MainWindow::Form_Resize() {
    if (!TabStrip_) return;
    RECT client;
    GetClientRect(hwnd(), &client);
    // Showing the window the first time reports the size it was made with.
    if (client.right == laidOut_.cx && client.bottom == laidOut_.cy) return;
    laidOut_ = {client.right, client.bottom};
    const Placement at = PlaceControls(client);
    Move(TabStrip_, at.tabStrip);
    const RECT page = PageOf(TabStrip_, at.tabStrip);
    const int pageWidth = page.right - page.left, pageHeight = page.bottom - page.top;
    for (HWND panel : {SettingsPanel_, IconPanel_}) Move(panel, page);
    if (SystemTree_->hwnd()) MoveWindow(SystemTree_->hwnd(), 0, 0, pageWidth, pageHeight, TRUE);
    for (auto& list : lists_)
        if (list) MoveWindow(list->hwnd(), 0, 0, pageWidth, pageHeight, TRUE);
    Move(InfoBar_, at.infoBar);
    int i = 0;
    for (int id : {IdCmdChange, IdCmdDefault, IdCmdRename})
        Move(Button(id), at.iconButtons[static_cast<size_t>(i++)]);
    Move(Button(IdCmdHelp), at.help);
    i = 0;
    for (HWND button : {cmdOK_, cmdCancel_, cmdApply_})
        Move(button, at.dialogButtons[static_cast<size_t>(i++)]);
}

ListBoxIcons& MainWindow::List(IconCategory category) {
    auto& list = lists_[Slot(category)];
    if (list) return *list;
    list = std::make_unique<ListBoxIcons>(session_.Lists[category]);
    RECT page{};
    GetClientRect(IconPanel_, &page);
    // Hidden until the tab switch brings it to the front.
    list->Create(IconPanel_, IdFirstList + TabIndex(category) - 2, 0, 0, page.right, page.bottom, false);
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
