#include "ui/change_icon_dialog.h"

#include "controls/common_dialog.h"
#include "icons/icon_location.h"
#include "platform/gdi_guards.h"
#include "ui/prompt_dialog.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace {

constexpr wchar_t GridClass[] = L"TessalyIconGrid";
constexpr int Margin = 10, EditHeight = 22, ButtonWidth = 80, ButtonHeight = 25, ScrollHeight = 17;
constexpr int Border = 2; // the grid's sunken edge
constexpr int GridOuterWidth = IconGrid::VisibleWidth + 2 * Border;
constexpr int ClientWidth = 2 * Margin + GridOuterWidth;
constexpr int GridTop = Margin + EditHeight + 10;
constexpr int ScrollTop = GridTop + IconGrid::Height + 2 * Border + 6;
constexpr int ButtonsTop = ScrollTop + ScrollHeight + 10;
constexpr int ClientHeight = ButtonsTop + ButtonHeight + Margin;

constexpr wchar_t IconFilter[] = L"Icon Files\0*.exe;*.dll;*.icl;*.ico\0Programs\0*.exe\0Libraries\0*.dll\0"
                                 L"Icons\0*.ico\0All Files\0*.*\0";

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

// Enter in the file box shows that file rather than confirming the dialog: the box asks for the key
// itself and hands it to the dialog as a message of its own.
constexpr UINT FilenameEntered = WM_APP + 1;

LRESULT CALLBACK FilenameProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_GETDLGCODE && lParam) {
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        if (key->message == WM_KEYDOWN && key->wParam == VK_RETURN)
            return DefSubclassProc(box, message, wParam, lParam) | DLGC_WANTMESSAGE;
    }
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        PostMessageW(GetParent(box), FilenameEntered, 0, 0);
        return 0;
    }
    if (message == WM_CHAR && wParam == L'\r') return 0; // no beep
    // The whole path is selected whenever the box takes the focus, so typing replaces it.
    if (message == WM_SETFOCUS) PostMessageW(box, EM_SETSEL, 0, -1);
    if (message == WM_NCDESTROY) RemoveWindowSubclass(box, &FilenameProc, 1);
    return DefSubclassProc(box, message, wParam, lParam);
}

} // namespace

std::wstring IconBrowseFilter() {
    return std::wstring(IconFilter, std::size(IconFilter) - 1);
}

// `Container` and `lstMain` in one: the visible part of the grid, painted from the icons held.
class frmChangeIcon::GridView : public Window {
public:
    explicit GridView(frmChangeIcon& owner) : owner_(owner) {
        On(WM_ERASEBKGND, [](WPARAM, LPARAM) { return 1; });
        On(WM_PAINT, [this](WPARAM, LPARAM) {
            PaintGuard paint(hwnd());
            RECT client;
            GetClientRect(hwnd(), &client);
            owner_.PaintGrid(paint.dc(), client);
            return 0;
        });
        On(WM_GETDLGCODE, [](WPARAM, LPARAM) { return DLGC_WANTARROWS; });
        for (UINT down : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN}) {
            On(down, [this](WPARAM, LPARAM point) {
                SetFocus(hwnd());
                owner_.lstMain_MouseDown(GET_X_LPARAM(point), GET_Y_LPARAM(point));
                return 0;
            });
        }
        On(WM_MOUSEMOVE, [this](WPARAM keys, LPARAM point) {
            if (keys & (MK_LBUTTON | MK_RBUTTON))
                owner_.lstMain_MouseDown(GET_X_LPARAM(point), GET_Y_LPARAM(point));
            return 0;
        });
        On(WM_LBUTTONDBLCLK, [this](WPARAM, LPARAM) {
            owner_.lstMain_DblClick();
            return 0;
        });
        On(WM_KEYDOWN, [this](WPARAM key, LPARAM) {
            owner_.lstMain_KeyDown(key);
            return 0;
        });
        On(WM_SETFOCUS, [this](WPARAM, LPARAM) {
            InvalidateRect(hwnd(), nullptr, FALSE);
            return 0;
        });
    }
    bool Create(HWND parent) {
        RegisterWindowClass(GridClass, CS_DBLCLKS);
        return CreateWindowFor(GridClass, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE, Margin,
                               GridTop, GridOuterWidth, IconGrid::Height + 2 * Border, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdGrid))) != nullptr;
    }

private:
    frmChangeIcon& owner_;
};

frmChangeIcon::frmChangeIcon(FileDialogPort& browse) : browse_(browse) {
    ShowMessage = [this](const std::wstring& text, const std::wstring& title, UINT style) {
        MessageBoxW(hwnd(), text.c_str(), title.c_str(), style);
    };
    On(WM_INITDIALOG, [this](WPARAM, LPARAM) {
        Form_Load();
        return FALSE; // the focus is set already
    });
    On(WM_CLOSE, [this](WPARAM, LPARAM) {
        cmdCancel_Click();
        return TRUE;
    });
    On(WM_HSCROLL, [this](WPARAM request, LPARAM) {
        Scroll_Change(LOWORD(request));
        return TRUE;
    });
    On(WM_APP, [this](WPARAM, LPARAM) {
        if (OnShown) OnShown(*this);
        return TRUE;
    });
    On(FilenameEntered, [this](WPARAM, LPARAM) {
        txtFilename_Enter();
        return TRUE;
    });
    OnCommand(IdOK, [this] {
        if (IsWindowEnabled(GetDlgItem(hwnd(), IdOK))) cmdOK_Click();
    });
    OnCommand(IdCancel, [this] { cmdCancel_Click(); });
    OnCommand(IdBrowse, [this] { cmdBrowse_Click(); });
}

frmChangeIcon::~frmChangeIcon() = default;

HWND frmChangeIcon::lstMain() const {
    return view_ ? view_->hwnd() : nullptr;
}

bool frmChangeIcon::ChooseIcon(HWND owner, const std::wstring& file, std::int16_t index) {
    startFile_ = file;
    startIndex_ = index;
    cancelled_ = true;
    DialogTemplate layout(ChangeIconCaption, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
    layout.AddControl(L"EDIT", L"", IdFilename, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_VISIBLE);
    layout.AddControl(L"BUTTON", L"&Browse...", IdBrowse, BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE);
    layout.AddControl(L"SCROLLBAR", L"", IdScroll, SBS_HORZ | WS_VISIBLE);
    layout.AddControl(L"BUTTON", L"OK", IdOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE);
    layout.AddControl(L"BUTTON", L"Cancel", IdCancel, BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE);
    RunModal(layout, owner);
    view_.reset();
    icons_.Clear();
    return !cancelled_;
}

void frmChangeIcon::Form_Load() {
    HWND dialog = hwnd();
    view_ = std::make_unique<GridView>(*this);
    view_->Create(dialog);
    // After the file box and Browse in the tab order.
    SetWindowPos(view_->hwnd(), GetDlgItem(dialog, IdBrowse), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(MessageFont()), FALSE);
    SetWindowSubclass(GetDlgItem(dialog, IdFilename), &FilenameProc, 1, 0);

    const int editWidth = GridOuterWidth - ButtonWidth - 8;
    MoveWindow(GetDlgItem(dialog, IdFilename), Margin, Margin + 1, editWidth, EditHeight, FALSE);
    MoveWindow(GetDlgItem(dialog, IdBrowse), Margin + editWidth + 8, Margin, ButtonWidth, ButtonHeight,
               FALSE);
    MoveWindow(GetDlgItem(dialog, IdScroll), Margin, ScrollTop, GridOuterWidth, ScrollHeight, FALSE);
    MoveWindow(GetDlgItem(dialog, IdCancel), ClientWidth - Margin - ButtonWidth, ButtonsTop, ButtonWidth,
               ButtonHeight, FALSE);
    MoveWindow(GetDlgItem(dialog, IdOK), ClientWidth - Margin - 2 * ButtonWidth - 6, ButtonsTop, ButtonWidth,
               ButtonHeight, FALSE);

    SizeAndCentreOverOwner(dialog, ClientWidth, ClientHeight);

    EnableOK(false);
    SetDlgItemTextW(dialog, IdFilename, startFile_.c_str());
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
    DisplayIcons();
    grid_.SelectIcon(startIndex_);
    SelectionMoved();
    ShowScroll();
    // The keys work on the grid at once; a single icon is confirmed with Enter.
    if (grid_.Count() == 1)
        FocusOn(GetDlgItem(dialog, IdOK));
    else
        FocusOn(grid_.Count() > 0 ? lstMain() : GetDlgItem(dialog, IdFilename));
    PostMessageW(dialog, WM_APP, 0, 0);
}

void frmChangeIcon::DisplayIcons() {
    HWND dialog = hwnd();
    HWND grid = lstMain();
    EnableWindow(grid, FALSE);
    icons_.Clear();
    grid_.Clear();
    InvalidateRect(grid, nullptr, FALSE);

    wchar_t buffer[MAX_PATH * 4]{};
    GetDlgItemTextW(dialog, IdFilename, buffer, static_cast<int>(std::size(buffer)));
    const std::wstring file = buffer;
    if (!FileExists(file)) {
        ShowMessage(L"File not found " + Quoted(file), L"Tessaly", MB_OK);
        ShowScroll();
        EnableOK(false);
        return;
    }
    icons_.Load(file);
    ++fileReads_;
    if (icons_.Count() == 0) {
        ShowMessage(L"No Icons found in " + Quoted(file), ChangeIconCaption, MB_OK | MB_ICONEXCLAMATION);
        ShowScroll();
        EnableOK(false);
        return;
    }
    grid_.Load(icons_.Count());
    ShowScroll();
    if (grid_.Count() == 1) {
        grid_.Press(1, 1);
        SelectionMoved();
        FocusOn(GetDlgItem(dialog, IdOK));
    }
    EnableWindow(grid, TRUE);
    InvalidateRect(grid, nullptr, FALSE);
    UpdateWindow(grid);
}

void frmChangeIcon::ShowScroll() {
    HWND scroll = GetDlgItem(hwnd(), IdScroll);
    SCROLLINFO info{sizeof info, SIF_ALL | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
    if (grid_.Scrollable()) {
        info.nPage = IconGrid::VisibleWidth;
        info.nMax = grid_.ScrollMax() + IconGrid::VisibleWidth - 1;
        info.nPos = grid_.ScrollValue();
    }
    SetScrollInfo(scroll, SB_CTL, &info, TRUE);
    EnableWindow(scroll, grid_.Scrollable());
    InvalidateRect(lstMain(), nullptr, FALSE);
}

void frmChangeIcon::Scroll_Change(int request) {
    HWND scroll = GetDlgItem(hwnd(), IdScroll);
    SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
    GetScrollInfo(scroll, SB_CTL, &info);
    int value = grid_.ScrollValue();
    switch (request) {
    case SB_LINELEFT:
        value -= IconGrid::Cell;
        break;
    case SB_LINERIGHT:
        value += IconGrid::Cell;
        break;
    case SB_PAGELEFT:
        value -= IconGrid::VisibleWidth;
        break;
    case SB_PAGERIGHT:
        value += IconGrid::VisibleWidth;
        break;
    case SB_LEFT:
        value = 0;
        break;
    case SB_RIGHT:
        value = grid_.ScrollMax();
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        value = info.nTrackPos;
        break;
    default:
        return;
    }
    grid_.SetScroll(value);
    ShowScroll();
}

void frmChangeIcon::FocusOn(HWND control) {
    // Through the dialog manager, which then keeps it when the dialog is activated.
    SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

void frmChangeIcon::EnableOK(bool enable) {
    EnableWindow(GetDlgItem(hwnd(), IdOK), enable);
}

void frmChangeIcon::SelectionMoved() {
    if (grid_.Highlighted()) EnableOK(true);
    InvalidateRect(lstMain(), nullptr, FALSE);
}

void frmChangeIcon::lstMain_MouseDown(int x, int y) {
    if (!IsWindowEnabled(lstMain())) return;
    if (!grid_.Press(x + grid_.ScrollValue(), y)) return;
    SelectionMoved();
    UpdateWindow(lstMain());
}

void frmChangeIcon::lstMain_DblClick() {
    if (IsWindowEnabled(GetDlgItem(hwnd(), IdOK))) cmdOK_Click();
}

void frmChangeIcon::lstMain_KeyDown(WPARAM key) {
    IconGrid::Arrow arrow;
    switch (key) {
    case VK_DOWN:
        arrow = IconGrid::Arrow::Down;
        break;
    case VK_UP:
        arrow = IconGrid::Arrow::Up;
        break;
    case VK_RIGHT:
        arrow = IconGrid::Arrow::Right;
        break;
    case VK_LEFT:
        arrow = IconGrid::Arrow::Left;
        break;
    default:
        return;
    }
    if (!IsWindowEnabled(lstMain())) return;
    EnableOK(true);
    grid_.Key(arrow);
    SelectionMoved();
    ShowScroll();
}

void frmChangeIcon::PaintGrid(HDC dc, const RECT& client) {
    const int width = client.right - client.left, height = client.bottom - client.top;
    UniqueMemDc memory(CreateCompatibleDC(dc));
    UniqueHBitmap bitmap(CreateCompatibleBitmap(dc, width, height));
    if (!memory || !bitmap) return;
    SelectGuard selected(memory.get(), bitmap.get());
    FillRect(memory.get(), &client, GetSysColorBrush(COLOR_WINDOW));
    const int shift = grid_.ScrollValue();
    if (grid_.Highlighted()) {
        RECT cell{grid_.SelectionLeft() - shift, grid_.SelectionTop(),
                  grid_.SelectionLeft() - shift + IconGrid::Cell, grid_.SelectionTop() + IconGrid::Cell};
        FillRect(memory.get(), &cell, GetSysColorBrush(COLOR_HIGHLIGHT));
        if (GetFocus() == lstMain()) DrawFocusRect(memory.get(), &cell);
    }
    // Only the columns in view are drawn.
    const int first = shift / IconGrid::Cell, last = (shift + width) / IconGrid::Cell;
    for (int column = first; column <= last; ++column) {
        for (int row = 0; row < IconGrid::Rows; ++row) {
            icons_.Draw(memory.get(), column * IconGrid::Rows + row,
                        column * IconGrid::Cell + IconGrid::IconInset - shift,
                        row * IconGrid::Cell + IconGrid::IconInset);
        }
    }
    BitBlt(dc, 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
}

void frmChangeIcon::cmdOK_Click() {
    wchar_t buffer[MAX_PATH * 4]{};
    GetDlgItemTextW(hwnd(), IdFilename, buffer, static_cast<int>(std::size(buffer)));
    ChosenFile = buffer;
    ChosenIndex = static_cast<std::int16_t>(grid_.ChosenIndex());
    cancelled_ = false;
    EndModal(IDOK);
}

void frmChangeIcon::cmdCancel_Click() {
    cancelled_ = true;
    EndModal(IDCANCEL);
}

void frmChangeIcon::cmdBrowse_Click() {
    // The open dialog belongs to the picker, not to the main window behind it.
    if (auto* common = dynamic_cast<CommonDialog*>(&browse_)) common->SetOwner(hwnd());
    browse_.Title(ChangeIconCaption);
    browse_.Filter(IconBrowseFilter());
    std::wstring path;
    if (!browse_.ShowOpen(path)) return;
    SetDlgItemTextW(hwnd(), IdFilename, path.c_str());
    EnableOK(false);
    DisplayIcons();
}

void frmChangeIcon::txtFilename_Enter() {
    EnableOK(false);
    DisplayIcons();
}

RealIconChooser::RealIconChooser(HWND owner) : owner_(owner), dialog_(std::make_unique<CommonDialog>()) {}
RealIconChooser::~RealIconChooser() = default;

std::optional<ChosenIcon> RealIconChooser::ChooseIcon(const std::wstring& file, std::int16_t index) {
    frmChangeIcon picker(*dialog_);
    if (!picker.ChooseIcon(owner_, file, index)) return std::nullopt;
    return ChosenIcon{picker.ChosenFile, picker.ChosenIndex};
}
