#include "controls/buffered_paint.h"

#include "controls/surface_image.h"
#include "platform/unique_handle.h"
#include "platform/window.h"

#include <algorithm>
#include <map>
#include <vector>

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
    // Built-in controls paint into a device context handed with WM_PAINT; not all of them print.
    if (message == WM_PRINTCLIENT && wParam) return CallOwnProcedure(control, WM_PAINT, wParam, 0);
    if (message != WM_PAINT || wParam) return CallOwnProcedure(control, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(control, &ps);
    DrawThroughMemory(dc, ps.rcPaint, [control](HDC memory) {
        CallOwnProcedure(control, WM_PAINT, reinterpret_cast<WPARAM>(memory), 0);
    });
    EndPaint(control, &ps);
    return 0;
}
} // namespace

void PaintThroughMemory(HWND control) {
    ReplaceProcedure(control, &MemoryPaintProcedure);
}

namespace {
// A window of a class the program registered with a procedure of its own: not a system control, even one
// the program subclasses or one registered for the program's version of the common controls.
bool OfOwnClass(HWND window) {
    static const HMODULE program = GetModuleHandleW(nullptr);
    HMODULE module = nullptr;
    return GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCWSTR>(GetClassLongPtrW(window, GCLP_WNDPROC)), &module) &&
           module == program;
}

// Each window's children from the bottom of the z-order up. One listing of every descendant at once: under
// Wine each step of a walk from window to window is a round trip to the window server.
using ChildLists = std::map<HWND, std::vector<HWND>>;

ChildLists ChildrenBottomUp(HWND window) {
    ChildLists lists;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM into) {
            (*reinterpret_cast<ChildLists*>(into))[GetParent(child)].push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&lists));
    for (auto& [parent, children] : lists) std::reverse(children.begin(), children.end());
    return lists;
}

// Draws window's shown children into dc, whose logical origin stands for window's client area, and adds each
// of them with a frame of its own to framed.
bool DrawChildren(HWND window, HDC dc, const ChildLists& lists, std::vector<HWND>& framed) {
    const auto found = lists.find(window);
    if (found == lists.end()) return true;
    // From the bottom of the z-order up, so that what lies in front is drawn last.
    for (HWND child : found->second) {
        if (!IsWindowVisible(child)) continue;
        if (!IsFramelessChild(child)) framed.push_back(child);
        RECT inside;
        GetClientRect(child, &inside);
        if (IsRectEmpty(&inside)) continue;
        POINT at{0, 0};
        MapWindowPoints(child, window, &at, 1);
        // The system's controls clip to their client area taken in device units, so each draws into memory
        // of its own; the program's own windows draw in place.
        SurfaceImage image;
        const bool own = OfOwnClass(child);
        if (!own && !image.Resize(inside.right, inside.bottom, GetSysColor(COLOR_BTNFACE), false))
            return false;
        HDC into = own ? dc : image.dc();
        const int saved = SaveDC(into);
        if (own) {
            OffsetViewportOrgEx(into, at.x, at.y, nullptr);
            IntersectClipRect(into, 0, 0, inside.right, inside.bottom);
        }
        SendMessageW(child, WM_ERASEBKGND, reinterpret_cast<WPARAM>(into), 0);
        SendMessageW(child, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(into), PRF_CLIENT);
        const bool drawn = DrawChildren(child, into, lists, framed);
        RestoreDC(into, saved);
        if (!drawn) return false;
        if (!own) BitBlt(dc, at.x, at.y, inside.right, inside.bottom, image.dc(), 0, 0, SRCCOPY);
    }
    return true;
}
} // namespace

bool PaintWithChildren(HWND window, const std::function<void(HDC)>& paintOwn) {
    RECT client;
    GetClientRect(window, &client);
    SurfaceImage image;
    if (!image.Resize(client.right, client.bottom, GetSysColor(COLOR_BTNFACE), false)) return false;
    SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(image.dc()), 0);
    paintOwn(image.dc());
    std::vector<HWND> framed;
    if (!DrawChildren(window, image.dc(), ChildrenBottomUp(window), framed)) return false;
    // The window's own device context would leave out its children.
    HDC dc = GetDCEx(window, nullptr, DCX_CACHE);
    if (!dc) return false;
    BitBlt(dc, 0, 0, client.right, client.bottom, image.dc(), 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    // Frames are drawn where they stand, as each control draws its own, themed or not. The region handed
    // over is the frame alone: some themed controls fill all of it, client area and all.
    for (HWND child : framed) {
        RECT frame, inside;
        GetWindowRect(child, &frame);
        GetClientRect(child, &inside);
        MapWindowPoints(child, HWND_DESKTOP, reinterpret_cast<POINT*>(&inside), 2);
        UniqueGdiObj band(CreateRectRgnIndirect(&frame)), hole(CreateRectRgnIndirect(&inside));
        if (!band || !hole) continue;
        auto region = static_cast<HRGN>(band.get());
        CombineRgn(region, region, static_cast<HRGN>(hole.get()), RGN_DIFF);
        SendMessageW(child, WM_NCPAINT, reinterpret_cast<WPARAM>(region), 0);
    }
    RedrawWindow(window, nullptr, nullptr, RDW_VALIDATE | RDW_NOERASE | RDW_NOFRAME | RDW_ALLCHILDREN);
    return true;
}
