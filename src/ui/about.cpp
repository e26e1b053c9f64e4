#include "ui/about.h"

#include "platform/gdi_guards.h"
#include "platform/late_bound.h"
#include "platform/program_info.h"
#include "ui/mosaic_picture.h"
#include "ui/prompt_dialog.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int ClientWidth = 420, ClientHeight = 290;
constexpr int Column = 132, ColumnWidth = ClientWidth - Column - 12;

struct Placed {
    int index;
    const wchar_t* text;
    int x, y, width, height;
    DWORD style;
};

// Label `label(index)`: its design-time text, place and alignment.
constexpr Placed Labels[] = {
    {0, ProgramTitle.data(), Column, 12, ColumnWidth, 28, SS_LEFT},
    {1, L"", Column, 42, ColumnWidth, 16, SS_LEFT},
    {15, L"Your own pictures for every icon and pointer the shell shows.", Column, 62, ColumnWidth, 32,
     SS_LEFT},
    {4, L"Internet:", Column, 110, 60, 16, SS_LEFT},
    {6, ProgramWebSite.data(), Column + 64, 110, ColumnWidth - 64, 16, SS_LEFT | SS_NOTIFY},
    {5, ProgramEmail.data(), Column + 64, 128, ColumnWidth - 64, 16, SS_LEFT | SS_NOTIFY},
    {7, L"Make the desktop yours, one tile at a time.", Column, 150, ColumnWidth, 16, SS_LEFT},
    {8, L"Total Memory", Column + 12, 202, 120, 16, SS_LEFT},
    {9, L"", Column + 130, 202, ColumnWidth - 142, 16, SS_RIGHT},
    {10, L"Available Memory", Column + 12, 222, 120, 16, SS_LEFT},
    {11, frmAbout::AvailablePending, Column + 130, 222, ColumnWidth - 142, 16, SS_RIGHT},
};

} // namespace

std::optional<ProgramVersion> ReadProgramVersion(const std::wstring& path) {
    auto* infoSize = LateBound<decltype(GetFileVersionInfoSizeW)>(L"version.dll", "GetFileVersionInfoSizeW");
    auto* info = LateBound<decltype(GetFileVersionInfoW)>(L"version.dll", "GetFileVersionInfoW");
    auto* query = LateBound<decltype(VerQueryValueW)>(L"version.dll", "VerQueryValueW");
    if (!infoSize || !info || !query) return std::nullopt;
    DWORD ignored = 0;
    const DWORD size = infoSize(path.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<std::byte> data(size);
    if (!info(path.c_str(), 0, size, data.data())) return std::nullopt;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!query(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
        length < sizeof *fixed)
        return std::nullopt;
    return ProgramVersion{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                          HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)};
}

std::wstring VersionLine(const ProgramVersion& version) {
    return L"Version " + std::to_wstring(version.major) + L".0" + std::to_wstring(version.minor) + L".0" +
           std::to_wstring(version.revision) + L" a";
}

std::optional<MemoryFigures> ReadMemoryStatus() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) return std::nullopt;
    return MemoryFigures{status.ullTotalPhys, status.ullAvailPhys};
}

std::wstring FormatKilobytes(std::uint64_t bytes, std::wstring_view thousandsSeparator) {
    const std::wstring digits = std::to_wstring(bytes / 1024 + (bytes % 1024 >= 512 ? 1 : 0));
    std::wstring grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += thousandsSeparator;
        grouped += digits[i];
    }
    return grouped + L" Kb";
}

std::wstring UserThousandsSeparator() {
    wchar_t separator[8]{};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, separator, 8) == 0) return L",";
    return separator;
}

frmAbout::frmAbout(MemoryReader memory) : memory_(std::move(memory)) {
    On(WM_INITDIALOG, [this](WPARAM, LPARAM) {
        Form_Load();
        return TRUE;
    });
    On(WM_TIMER, [this](WPARAM id, LPARAM) {
        if (id == TimerId) Timer_Timer();
        return TRUE;
    });
    On(WM_MOUSEMOVE, [this](WPARAM, LPARAM) {
        Form_MouseMove();
        return TRUE;
    });
    On(WM_DRAWITEM, [](WPARAM id, LPARAM item) {
        if (id != IdPicture) return FALSE;
        const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(item);
        DrawMosaic(draw.hDC, draw.rcItem);
        return TRUE;
    });
    On(WM_CTLCOLORSTATIC, [this](WPARAM dcParam, LPARAM control) -> INT_PTR {
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(control));
        if (id != LabelId(EmailLabel) && id != LabelId(WebLabel)) return FALSE;
        const HDC dc = reinterpret_cast<HDC>(dcParam);
        SetTextColor(dc, LinkColour(id - LabelId(0)));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    });
    On(WM_DESTROY, [this](WPARAM, LPARAM) {
        KillTimer(hwnd(), TimerId);
        for (int label : {EmailLabel, WebLabel})
            RemoveWindowSubclass(GetDlgItem(hwnd(), LabelId(label)), &frmAbout::LinkProcedure, label);
        return FALSE;
    });
    OnCommand(IdClose, [this] { cmdClose_Click(); });
    OnCommand(IDCANCEL, [this] { cmdClose_Click(); }); // Esc
}

void frmAbout::Show(HWND owner, SystemPort& system) {
    system_ = &system;
    DialogTemplate layout(L"About Tessaly", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE);
    layout.AddControl(L"STATIC", L"", IdPicture, SS_OWNERDRAW | WS_VISIBLE);
    layout.AddControl(L"STATIC", L"", 102, SS_ETCHEDHORZ | WS_VISIBLE);
    layout.AddControl(L"STATIC", L"", 103, SS_ETCHEDHORZ | WS_VISIBLE);
    layout.AddControl(L"BUTTON", L"System Information", IdFrame, BS_GROUPBOX | WS_VISIBLE);
    for (const Placed& label : Labels)
        layout.AddControl(L"STATIC", label.text, LabelId(label.index),
                          label.style | SS_NOPREFIX | WS_VISIBLE);
    layout.AddControl(L"BUTTON", L"Close", IdClose, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE);
    RunModal(layout, owner);
    system_ = nullptr;
}

void frmAbout::Form_Load() {
    const HWND dialog = hwnd();
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(MessageFont()), FALSE);
    LOGFONTW font{};
    GetObjectW(MessageFont(), sizeof font, &font);
    font.lfUnderline = TRUE;
    underlinedFont_.reset(CreateFontIndirectW(&font));
    font.lfUnderline = FALSE;
    font.lfWeight = FW_BOLD;
    font.lfHeight = font.lfHeight * 3 / 2;
    titleFont_.reset(CreateFontIndirectW(&font));
    SendMessageW(GetDlgItem(dialog, LabelId(0)), WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.get()),
                 FALSE);

    // The template holds no positions; the window is laid out in pixels.
    auto place = [dialog](int id, int x, int y, int width, int height) {
        MoveWindow(GetDlgItem(dialog, id), x, y, width, height, FALSE);
    };
    place(IdPicture, 12, 12, PictureWidth, PictureHeight);
    place(102, Column, 100, ColumnWidth, 2);
    place(103, Column, 172, ColumnWidth, 2);
    place(IdFrame, Column, 182, ColumnWidth, 66);
    for (const Placed& label : Labels)
        place(LabelId(label.index), label.x, label.y, label.width, label.height);
    place(IdClose, ClientWidth - 12 - 88, ClientHeight - 12 - 26, 88, 26);

    SizeAndCentreOverOwner(dialog, ClientWidth, ClientHeight);

    wchar_t path[MAX_PATH]{};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const auto version = ReadProgramVersion(path);
    SetDlgItemTextW(dialog, LabelId(1), version ? VersionLine(*version).c_str() : L"");
    if (auto figures = memory_ ? memory_() : std::nullopt)
        SetDlgItemTextW(dialog, LabelId(9),
                        FormatKilobytes(figures->totalBytes, UserThousandsSeparator()).c_str());

    const COLORREF text = GetSysColor(COLOR_BTNTEXT);
    links_ = {LinkLook{text, false}, LinkLook{text, false}};
    for (int label : {EmailLabel, WebLabel})
        SetWindowSubclass(GetDlgItem(dialog, LabelId(label)), &frmAbout::LinkProcedure, label,
                          reinterpret_cast<DWORD_PTR>(this));
    SetTimer(dialog, TimerId, TimerInterval, nullptr);
    SetFocus(GetDlgItem(dialog, IdClose));
}

void frmAbout::Timer_Timer() {
    if (auto figures = memory_ ? memory_() : std::nullopt)
        SetDlgItemTextW(hwnd(), LabelId(11),
                        FormatKilobytes(figures->availableBytes, UserThousandsSeparator()).c_str());
}

void frmAbout::cmdClose_Click() {
    EndModal(IdClose);
}

void frmAbout::Form_MouseMove() {
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);
    SetLink(EmailLabel, text, false);
    SetLink(WebLabel, text, false);
}

void frmAbout::Link_MouseMove(int label) {
    SetLink(label == EmailLabel ? WebLabel : EmailLabel, GetSysColor(COLOR_BTNTEXT), false);
    SetLink(label, LinkHover, true);
}

void frmAbout::Link_MouseDown(int label) {
    SetLink(label, LinkPressed, LinkUnderlined(label));
}

void frmAbout::Link_MouseUp(int label, bool leftClick) {
    SetLink(label, LinkReleased, LinkUnderlined(label));
    if (!leftClick || !system_) return;
    if (label == WebLabel)
        system_->OpenDocument(std::wstring(ProgramWebSite));
    else
        system_->OpenDocument(std::wstring(MailtoPrefix) + std::wstring(ProgramEmail));
}

void frmAbout::SetLink(int label, COLORREF colour, bool underlined) {
    LinkLook& look = links_[Slot(label)];
    if (look.colour == colour && look.underlined == underlined) return;
    const bool fontChanged = look.underlined != underlined;
    look = {colour, underlined};
    const HWND control = GetDlgItem(hwnd(), LabelId(label));
    if (fontChanged)
        SendMessageW(
            control, WM_SETFONT,
            reinterpret_cast<WPARAM>(underlined && underlinedFont_ ? underlinedFont_.get() : MessageFont()),
            FALSE);
    InvalidateRect(control, nullptr, TRUE);
}

LRESULT CALLBACK frmAbout::LinkProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self) {
    try {
        auto& about = *reinterpret_cast<frmAbout*>(self);
        const int label = static_cast<int>(id);
        switch (message) {
        case WM_MOUSEMOVE:
            about.Link_MouseMove(label);
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            SetCapture(hwnd);
            about.Link_MouseDown(label);
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            if (GetCapture() == hwnd) ReleaseCapture();
            RECT client;
            GetClientRect(hwnd, &client);
            const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            about.Link_MouseUp(label, message == WM_LBUTTONUP && PtInRect(&client, at));
            return 0;
        }
        case WM_SETCURSOR:
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        default:
            break;
        }
    } catch (...) {
        return 0;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}
