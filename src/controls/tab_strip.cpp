#include "controls/tab_strip.h"

#include "controls/buffered_paint.h"
#include "platform/late_bound.h"
#include "platform/window.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <array>

namespace {

long Area(const RECT& r) {
    return long{r.right - r.left} * (r.bottom - r.top);
}

// In the strip's client coordinates; empty when no shown sibling lies over it.
RECT LargestCover(HWND strip, const RECT& client) {
    RECT largest{};
    for (HWND above = GetWindow(strip, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
        if (!IsWindowVisible(above)) continue;
        RECT cover;
        GetWindowRect(above, &cover);
        MapWindowPoints(HWND_DESKTOP, strip, reinterpret_cast<POINT*>(&cover), 2);
        if (IntersectRect(&cover, &cover, &client) && Area(cover) > Area(largest)) largest = cover;
    }
    return largest;
}

// Where the strip draws its page's raised edge: two pixels above the page's display area, as far from it as
// the strip's sides are.
RECT PageEdge(HWND strip, const RECT& client) {
    RECT display = client;
    SendMessageW(strip, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    return {client.left, display.top - (display.left - client.left) / 2, client.right, client.bottom};
}

// The raised edge of the page, drawn as the strip draws it but only inside band. The strip's own paint
// costs as much for a thin band as for all of it, since it draws every tab each time.
void PaintPageEdge(HWND strip, HDC dc, const RECT& page, const RECT& band) {
    static const auto getTheme = LateBound<decltype(GetWindowTheme)>(L"uxtheme.dll", "GetWindowTheme");
    static const auto parentBackground =
        LateBound<decltype(DrawThemeParentBackground)>(L"uxtheme.dll", "DrawThemeParentBackground");
    static const auto background =
        LateBound<decltype(DrawThemeBackground)>(L"uxtheme.dll", "DrawThemeBackground");
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, band.left, band.top, band.right, band.bottom);
    if (HTHEME theme = getTheme && parentBackground && background ? getTheme(strip) : nullptr) {
        RECT behind = page;
        parentBackground(strip, dc, &behind);
        background(theme, dc, TABP_PANE, 0, &page, &band);
    } else {
        RECT edge = page;
        DrawEdge(dc, &edge, EDGE_RAISED, BF_SOFT | BF_RECT);
    }
    RestoreDC(dc, saved);
}

// The tabs and the page's edge round the largest shown sibling over the page, within area of dc.
void PaintAroundCover(HWND strip, HDC dc, const RECT& area, const RECT& client, const RECT& hidden) {
    // The tabs and the page's top edge are the strip's own drawing; the rest of the edge runs round the
    // covered area on its left, right and bottom.
    RECT part;
    const RECT tabs{client.left, client.top, client.right, hidden.top};
    if (IntersectRect(&part, &tabs, &area)) {
        DrawThroughMemory(dc, part, [strip](HDC memory) {
            CallOwnProcedure(strip, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0);
            CallOwnProcedure(strip, WM_PAINT, reinterpret_cast<WPARAM>(memory), 0);
        });
    }
    const std::array<RECT, 3> edges{{{client.left, hidden.top, hidden.left, hidden.bottom},
                                     {hidden.right, hidden.top, client.right, hidden.bottom},
                                     {client.left, hidden.bottom, client.right, client.bottom}}};
    const RECT page = PageEdge(strip, client);
    for (const RECT& edge : edges)
        if (IntersectRect(&part, &edge, &area)) PaintPageEdge(strip, dc, page, part);
}

// A print (WM_PRINTCLIENT) leaves the covered part to the window over it too: whoever prints the strip with
// its siblings draws that window over it afterwards.
LRESULT CALLBACK StripProcedure(HWND strip, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCPAINT && IsFramelessChild(strip)) return 0;
    const bool paint = message == WM_PAINT && !wParam, print = message == WM_PRINTCLIENT && wParam;
    if (!paint && !print) return CallOwnProcedure(strip, message, wParam, lParam);
    RECT client;
    GetClientRect(strip, &client);
    const RECT hidden = LargestCover(strip, client);
    if (IsRectEmpty(&hidden)) return CallOwnProcedure(strip, message, wParam, lParam);
    if (print) {
        PaintAroundCover(strip, reinterpret_cast<HDC>(wParam), client, client, hidden);
        return 0;
    }
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(strip, &ps);
    PaintAroundCover(strip, dc, ps.rcPaint, client, hidden);
    EndPaint(strip, &ps);
    return 0;
}

} // namespace

void PaintAroundCoveringWindows(HWND strip) {
    ReplaceProcedure(strip, &StripProcedure);
}
