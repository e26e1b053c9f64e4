#include "platform/window.h"

#include "platform/unique_handle.h"

namespace {
HINSTANCE Instance() { return GetModuleHandleW(nullptr); }
} // namespace

Window::~Window() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
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
    wc.hCursor = cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
}

HWND Window::CreateWindowFor(const wchar_t* className, const wchar_t* caption, DWORD style, DWORD exStyle, int x,
                             int y, int width, int height, HWND parent, HMENU menuOrId) {
    return CreateWindowExW(exStyle, className, caption, style, x, y, width, height, parent, menuOrId, Instance(),
                           this);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_NCCREATE) {
            auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            self->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            LRESULT result = self->Dispatch(message, wParam, lParam);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
            self->OnDestroyed();
            return result;
        }
        return self->Dispatch(message, wParam, lParam);
    } catch (...) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT Window::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        if (auto it = commands_.find(LOWORD(wParam)); it != commands_.end()) {
            auto handler = it->second; // the handler may re-register itself
            handler();
            return 0;
        }
    } else if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (auto it = notifies_.find({static_cast<int>(header->idFrom), header->code}); it != notifies_.end())
            return it->second(header);
    }
    if (auto it = messages_.find(message); it != messages_.end()) return it->second(wParam, lParam);
    return DefWindowProcW(hwnd_, message, wParam, lParam);
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
