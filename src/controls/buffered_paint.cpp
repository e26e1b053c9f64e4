#include "controls/buffered_paint.h"

#include "controls/surface_image.h"
#include "platform/window.h"

void DrawThroughMemory(HDC target, const RECT& area, const std::function<void(HDC)>& draw) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    SurfaceImage image;
    if (width <= 0 || height <= 0 || !image.Resize(width, height, GetSysColor(COLOR_BTNFACE), false)) {
        const int saved = SaveDC(target);
        IntersectClipRect(target, area.left, area.top, area.right, area.bottom);
        draw(target);
        RestoreDC(target, saved);
        return;
    }
    SetViewportOrgEx(image.dc(), -area.left, -area.top, nullptr);
    draw(image.dc());
    SetViewportOrgEx(image.dc(), 0, 0, nullptr);
    BitBlt(target, area.left, area.top, width, height, image.dc(), 0, 0, SRCCOPY);
}

namespace {
LRESULT CALLBACK MemoryPaintProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCPAINT && IsFramelessChild(control)) return 0;
    if (message != WM_PAINT || wParam)
        return CallWindowProcW(OwnProcedure(control), control, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(control, &ps);
    DrawThroughMemory(dc, ps.rcPaint, [control](HDC memory) {
        CallWindowProcW(OwnProcedure(control), control, WM_PAINT, reinterpret_cast<WPARAM>(memory), 0);
    });
    EndPaint(control, &ps);
    return 0;
}
} // namespace

void PaintThroughMemory(HWND control) {
    ReplaceProcedure(control, &MemoryPaintProcedure);
}
