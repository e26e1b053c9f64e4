#include "ui/whats_this.h"

#include "help/help_book.h"
#include "platform/gdi_guards.h"

#include <algorithm>

namespace {

constexpr int TextWidth = 300, Padding = 6, Gap = 4;
constexpr UINT TextFlags = DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;

bool Contains(HWND w, POINT screen) {
    RECT r;
    return GetWindowRect(w, &r) && PtInRect(&r, screen);
}

// The smallest visible child under the point: a list lies over the tab strip that frames it.
HWND ControlAt(HWND window, POINT screen) {
    HWND best = window;
    long long bestArea = -1;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        if (!IsWindowVisible(child) || !GetWindowRect(child, &r) || !PtInRect(&r, screen)) continue;
        const long long area = static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
        if (bestArea < 0 || area < bestArea) {
            best = child;
            bestArea = area;
        }
    }
    return best;
}

class HelpPopup : public Window {
public:
    HelpPopup() {
        On(WM_PAINT, [this](WPARAM, LPARAM) {
            Paint();
            return 0;
        });
        for (UINT m : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_NCLBUTTONDOWN, WM_NCRBUTTONDOWN,
                       WM_KEYDOWN, WM_SYSKEYDOWN})
            On(m, [this](WPARAM, LPARAM) {
                Close();
                return 0;
            });
        On(WM_CAPTURECHANGED, [this](WPARAM, LPARAM newCapture) {
            if (reinterpret_cast<HWND>(newCapture) != hwnd()) Close();
            return 0;
        });
        On(WM_ACTIVATE, [this](WPARAM state, LPARAM) {
            if (LOWORD(state) == WA_INACTIVE) Close();
            return 0;
        });
        On(WM_MOUSEACTIVATE, [](WPARAM, LPARAM) { return MA_NOACTIVATE; });
    }

    void Show(HWND owner, const RECT& anchor, int topic) {
        Close();
        const HelpPage* found = topic ? HelpBook::Program().ByNumber(topic) : nullptr;
        title_ = found ? found->title : L"";
        body_ = found ? found->PlainText() : std::wstring(NoHelpText);
        LOGFONTW font{};
        GetObjectW(MessageFont(), sizeof font, &font);
        font.lfWeight = FW_BOLD;
        bold_.reset(CreateFontIndirectW(&font));

        RegisterWindowClass(HelpPopupClass, CS_DROPSHADOW, GetSysColorBrush(COLOR_INFOBK));
        previousFocus_ = GetFocus();
        if (!CreateWindowFor(HelpPopupClass, L"", WS_POPUP | WS_BORDER, WS_EX_TOOLWINDOW, 0, 0, 10, 10, owner,
                             nullptr))
            return;
        SIZE size = Measure();
        size.cx += 2 * Padding + 2;
        size.cy += 2 * Padding + 2;
        const POINT place = Place(anchor, size);
        SetWindowPos(hwnd(), HWND_TOP, place.x, place.y, size.cx, size.cy, SWP_SHOWWINDOW);
        SetWindowTextW(hwnd(), HelpPopupText(topic).c_str()); // what the pop-up reads, for those that ask
        SetFocus(hwnd());
        SetCapture(hwnd());
    }

    void Close() {
        if (!hwnd() || closing_) return;
        closing_ = true;
        HWND focus = previousFocus_;
        if (GetCapture() == hwnd()) ReleaseCapture();
        DestroyWindow(hwnd());
        if (focus && IsWindow(focus)) SetFocus(focus);
        closing_ = false;
    }

private:
    // The title's and the words' rectangles, from the top left of the text area.
    void Lay(HDC dc, RECT& title, RECT& body) const {
        title = {0, 0, TextWidth, 0};
        if (!title_.empty()) {
            SelectGuard font(dc, bold_.get());
            DrawTextW(dc, title_.c_str(), -1, &title, TextFlags | DT_CALCRECT);
            title.bottom += Padding;
        }
        body = {0, title.bottom, TextWidth, title.bottom};
        SelectGuard font(dc, MessageFont());
        DrawTextW(dc, body_.c_str(), -1, &body, TextFlags | DT_CALCRECT);
    }

    SIZE Measure() const {
        WindowDc dc(hwnd());
        RECT title, body;
        Lay(dc.get(), title, body);
        return {std::max<LONG>(title.right, body.right), body.bottom};
    }

    // Right of the anchor when there is room on its screen, else left of it, else below; always on screen.
    static POINT Place(const RECT& anchor, SIZE size) {
        MONITORINFO monitor{sizeof monitor, {}, {}, 0};
        GetMonitorInfoW(MonitorFromRect(&anchor, MONITOR_DEFAULTTONEAREST), &monitor);
        const RECT& area = monitor.rcWork;
        POINT p{anchor.right + Gap, anchor.top};
        if (p.x + size.cx > area.right) p.x = anchor.left - Gap - size.cx;
        if (p.x < area.left) p = {anchor.left, anchor.bottom + Gap};
        p.x = std::clamp<LONG>(p.x, area.left, std::max(area.left, area.right - size.cx));
        p.y = std::clamp<LONG>(p.y, area.top, std::max(area.top, area.bottom - size.cy));
        return p;
    }

    void Paint() {
        PaintGuard paint(hwnd());
        HDC dc = paint.dc();
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
        RECT title, body;
        Lay(dc, title, body);
        OffsetRect(&title, Padding, Padding);
        OffsetRect(&body, Padding, Padding);
        if (!title_.empty()) {
            SelectGuard font(dc, bold_.get());
            DrawTextW(dc, title_.c_str(), -1, &title, TextFlags);
        }
        SelectGuard font(dc, MessageFont());
        DrawTextW(dc, body_.c_str(), -1, &body, TextFlags);
    }

    void OnDestroyed() override {
        previousFocus_ = nullptr;
        bold_.reset();
    }

    std::wstring title_, body_;
    UniqueHFont bold_;
    HWND previousFocus_ = nullptr;
    bool closing_ = false;
};

HelpPopup& Popup() {
    static HelpPopup popup;
    return popup;
}

} // namespace

std::optional<WhatsThisClick> RunWhatsThisMode(HWND window) {
    HCURSOR helpCursor = LoadCursorW(nullptr, IDC_HELP);
    SetCapture(window);
    SetCursor(helpCursor);
    std::optional<WhatsThisClick> result;
    MSG msg;
    for (;;) {
        if (GetCapture() != window) break; // another window took the mouse: the mode is over
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        const UINT m = msg.message;
        if (m == WM_KEYDOWN || m == WM_SYSKEYDOWN) {
            if (msg.wParam == VK_ESCAPE) break;
            continue; // other keys wait for the click
        }
        if (m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_NCLBUTTONDOWN || m == WM_NCRBUTTONDOWN) {
            POINT p{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
            if (m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN) ClientToScreen(msg.hwnd, &p);
            const bool ours = msg.hwnd == window || IsChild(window, msg.hwnd);
            if (ours && Contains(window, p)) result = WhatsThisClick{ControlAt(window, p), p};
            break;
        }
        if (m == WM_MOUSEMOVE) {
            SetCursor(helpCursor);
            continue;
        }
        if (m == WM_LBUTTONUP || m == WM_RBUTTONUP || m == WM_LBUTTONDBLCLK || m == WM_RBUTTONDBLCLK)
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (GetCapture() == window) ReleaseCapture();
    return result;
}

void ShowHelpPopup(HWND owner, const RECT& anchor, int topic) {
    Popup().Show(owner, anchor, topic);
}

HWND HelpPopupWindow() {
    return Popup().hwnd();
}

std::wstring HelpPopupText(int topic) {
    const HelpPage* found = topic ? HelpBook::Program().ByNumber(topic) : nullptr;
    return found ? found->title + L"\n\n" + found->PlainText() : std::wstring(NoHelpText);
}
