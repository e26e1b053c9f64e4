#include "platform/window.h"

#include "platform/gdi_guards.h"
#include "platform/unique_handle.h"

#include <mutex>

namespace {
HINSTANCE Instance() {
    return GetModuleHandleW(nullptr);
}

// What the program keeps for its windows, held in the process rather than in the windows' user data:
// under Wine every change to a window's data is a round trip to the window server.
template <typename Value> class WindowTable {
public:
    Value Find(HWND hwnd) {
        std::lock_guard lock(mutex_);
        const auto found = values_.find(hwnd);
        return found == values_.end() ? Value{} : found->second;
    }
    void Set(HWND hwnd, Value value) {
        std::lock_guard lock(mutex_);
        values_[hwnd] = value;
    }
    void Erase(HWND hwnd) {
        std::lock_guard lock(mutex_);
        values_.erase(hwnd);
    }

private:
    std::mutex mutex_;
    std::unordered_map<HWND, Value> values_;
};

WindowTable<Window*>& Objects() {
    static WindowTable<Window*> table;
    return table;
}

WindowTable<WNDPROC>& OwnProcedures() {
    static WindowTable<WNDPROC> table;
    return table;
}
} // namespace

Window::~Window() {
    if (hwnd_) {
        Objects().Erase(hwnd_);
        DestroyWindow(hwnd_);
    }
}

void Window::RegisterWindowClass(const wchar_t* className, UINT style, HBRUSH background, HICON icon,
                                 HCURSOR cursor) {
    WNDCLASSEXW wc{};
    if (GetClassInfoExW(Instance(), className, &wc)) return;
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = &Window::Procedure;
    wc.hInstance = Instance();
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = cursor ? cursor : ArrowCursor();
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
}

HWND Window::CreateWindowFor(const wchar_t* className, const wchar_t* caption, DWORD style, DWORD exStyle,
                             int x, int y, int width, int height, HWND parent, HMENU menuOrId) {
    return CreateWindowExW(exStyle, className, caption, style, x, y, width, height, parent, menuOrId,
                           Instance(), this);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_NCCREATE) {
            auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            self->hwnd_ = hwnd;
            Objects().Set(hwnd, self);
        }
        Window* self = Objects().Find(hwnd);
        if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
        if (message == WM_NCDESTROY) return self->LastMessage(wParam, lParam);
        return self->Dispatch(message, wParam, lParam);
    } catch (...) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

// The object lets go of its window whatever the handler does, so nothing reaches it through a dead HWND.
LRESULT Window::LastMessage(WPARAM wParam, LPARAM lParam) {
    const HWND hwnd = hwnd_;
    LRESULT result = 0;
    bool handled = false;
    try {
        result = Dispatch(WM_NCDESTROY, wParam, lParam);
        handled = true;
    } catch (...) {}
    Objects().Erase(hwnd);
    hwnd_ = nullptr;
    try {
        OnDestroyed();
    } catch (...) {}
    return handled ? result : DefWindowProcW(hwnd, WM_NCDESTROY, wParam, lParam);
}

LRESULT Window::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCPAINT && IsFramelessChild(hwnd_)) return 0;
    if (message == WM_COMMAND && handlers_.RunCommand(wParam)) return 0;
    if (message == WM_NOTIFY)
        if (auto result = handlers_.RunNotify(lParam)) return *result;
    if (auto result = handlers_.RunMessage(message, wParam, lParam)) return *result;
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void Window::OnPaint(std::function<void(HDC, const RECT&)> paint) {
    On(WM_PAINT, [this, paint](WPARAM, LPARAM) {
        PaintGuard guard(hwnd_);
        paint(guard.dc(), guard.ps().rcPaint);
        return LRESULT{0};
    });
    On(WM_PRINTCLIENT, [this, paint](WPARAM dc, LPARAM) {
        RECT client;
        GetClientRect(hwnd_, &client);
        paint(reinterpret_cast<HDC>(dc), client);
        return LRESULT{0};
    });
}

bool IsFramelessChild(HWND hwnd) {
    if (!(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD)) return false;
    RECT window, client;
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    return window.right - window.left == client.right && window.bottom - window.top == client.bottom;
}

void ReplaceProcedure(HWND control, WNDPROC procedure) {
    const LONG_PTR own = GetWindowLongPtrW(control, GWLP_WNDPROC);
    if (own == reinterpret_cast<LONG_PTR>(procedure)) return;
    OwnProcedures().Set(control, reinterpret_cast<WNDPROC>(own));
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
}

WNDPROC OwnProcedure(HWND control) {
    return OwnProcedures().Find(control);
}

LRESULT CallOwnProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC own = OwnProcedure(control);
    const LRESULT result = own ? CallWindowProcW(own, control, message, wParam, lParam)
                               : DefWindowProcW(control, message, wParam, lParam);
    if (message == WM_NCDESTROY) OwnProcedures().Erase(control);
    return result;
}

namespace {
LRESULT CALLBACK FramelessProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCPAINT && IsFramelessChild(control)) return 0;
    return CallOwnProcedure(control, message, wParam, lParam);
}
} // namespace

void SkipFramePainting(HWND control) {
    ReplaceProcedure(control, &FramelessProcedure);
}

HFONT MessageFont() {
    static UniqueHFont font = [] {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        return UniqueHFont(CreateFontIndirectW(&metrics.lfMessageFont));
    }();
    return font.get();
}

HCURSOR ArrowCursor() {
    static const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    return arrow;
}

SIZE ScreenPixelsPerInch() {
    static const SIZE perInch = [] {
        SIZE found{96, 96};
        if (HDC screen = GetDC(nullptr)) {
            found = {GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY)};
            ReleaseDC(nullptr, screen);
        }
        return found;
    }();
    return perInch;
}

DialogTemplate::DialogTemplate(std::wstring_view caption, DWORD style, DWORD exStyle) {
    Append(style);
    Append(exStyle);
    words_.insert(words_.end(), {0, 0, 0, 0, 0}); // control count, x, y, cx, cy
    words_.insert(words_.end(), {0, 0});          // no menu, the standard dialog class
    Append(caption);
}

void DialogTemplate::Append(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
}

void DialogTemplate::Append(std::wstring_view textWithoutNul) {
    words_.insert(words_.end(), textWithoutNul.begin(), textWithoutNul.end());
    words_.push_back(0);
}

void DialogTemplate::AlignToDword() {
    if (words_.size() % 2) words_.push_back(0);
}

void DialogTemplate::AddControl(std::wstring_view className, std::wstring_view text, int id, DWORD style,
                                DWORD exStyle, short x, short y, short cx, short cy) {
    AlignToDword();
    Append(style | WS_CHILD);
    Append(exStyle);
    for (short v : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(v));
    words_.push_back(static_cast<WORD>(id));
    Append(className);
    Append(text);
    words_.push_back(0); // no creation data
    ++words_[4];         // DLGTEMPLATE::cdit
}

INT_PTR Dialog::RunModal(const DialogTemplate& layout, HWND owner) {
    return DialogBoxIndirectParamW(Instance(), layout.get(), owner, &Dialog::Procedure,
                                   reinterpret_cast<LPARAM>(this));
}

void Dialog::EndModal(INT_PTR result) {
    if (hwnd_) EndDialog(hwnd_, result);
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_INITDIALOG) {
            auto* self = reinterpret_cast<Dialog*>(lParam);
            self->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        }
        auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
        if (!self) return FALSE;
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, DWLP_USER, 0);
            self->hwnd_ = nullptr;
            return FALSE;
        }
        return self->Dispatch(message, wParam, lParam);
    } catch (...) {
        // A dialog that cannot start is closed rather than shown half made.
        if (message == WM_INITDIALOG) EndDialog(hwnd, -1);
        return FALSE;
    }
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && handlers_.RunCommand(wParam)) return TRUE;
    if (message == WM_NOTIFY) {
        if (auto result = handlers_.RunNotify(lParam)) {
            SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, *result);
            return TRUE;
        }
    }
    return handlers_.RunMessage(message, wParam, lParam).value_or(FALSE);
}
