#include "ui/splash.h"

#include "platform/gdi_guards.h"
#include "platform/program_info.h"
#include "ui/mosaic_picture.h"
#include "ui/prompt_dialog.h"

frmSplash::frmSplash() {
    On(WM_PAINT, [this](WPARAM, LPARAM) {
        PaintGuard paint(hwnd());
        RECT client;
        GetClientRect(hwnd(), &client);
        DrawMosaic(paint.dc(), RECT{0, 0, PictureWidth, client.bottom});
        return LRESULT{0};
    });
    On(WM_CTLCOLORSTATIC, [](WPARAM dc, LPARAM) {
        SetTextColor(reinterpret_cast<HDC>(dc), GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(reinterpret_cast<HDC>(dc), GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    });
}

frmSplash::~frmSplash() {
    Close();
}

bool frmSplash::Show(HWND owner) {
    if (hwnd()) return true;
    RegisterWindowClass(SplashClass, 0, GetSysColorBrush(COLOR_WINDOW));
    // Centred over the owner in whole twips, as the owner's own placement is reckoned.
    const ScreenTwips scale = ScreenTwips::Current();
    RECT ownerRect{};
    if (!owner || !GetWindowRect(owner, &ownerRect) || IsIconic(owner))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &ownerRect, 0);
    const RECT ownerTwips{ownerRect.left * scale.x, ownerRect.top * scale.y, ownerRect.right * scale.x,
                          ownerRect.bottom * scale.y};
    const POINT at = CentreOver(ownerTwips, Width * scale.x, Height * scale.y);
    if (!CreateWindowFor(SplashClass, ProgramName.data(), WS_POPUP | WS_BORDER, WS_EX_TOOLWINDOW,
                         at.x / scale.x, at.y / scale.y, Width, Height, owner, nullptr))
        return false;

    LOGFONTW face{};
    face.lfHeight = -44;
    face.lfWeight = FW_BOLD;
    face.lfQuality = ANTIALIASED_QUALITY;
    wcscpy_s(face.lfFaceName, L"Arial");
    nameFont_.reset(CreateFontIndirectW(&face));
    const struct {
        int id;
        const wchar_t* text;
        int top, height;
        HFONT font;
    } labels[] = {{IdName, ProgramName.data(), 48, 56, nameFont_.get()},
                  {IdVersion, L"Version 2.02", 116, 18, MessageFont()},
                  {IdPlatforms, L"for Windows 95/NT", 136, 18, MessageFont()}};
    for (const auto& label : labels) {
        HWND control = CreateWindowExW(
            0, L"STATIC", label.text, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, PictureWidth + 24,
            label.top, Width - PictureWidth - 36, label.height, hwnd(),
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(label.id)), GetModuleHandleW(nullptr), nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(label.font), FALSE);
    }
    ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd());
    return true;
}

void frmSplash::Close() {
    if (hwnd()) DestroyWindow(hwnd());
}
