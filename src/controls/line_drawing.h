#pragma once
// Straight lines as the window parts draw them: one pixel wide, solid, in one colour.
#include "platform/gdi_guards.h"
#include "platform/unique_handle.h"

#include <windows.h>

// From (x1, y1) to (x2, y2), the end point not drawn.
inline void DrawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour) {
    UniqueGdiObj pen(CreatePen(PS_SOLID, 1, colour));
    SelectGuard use(dc, pen.get());
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

// The outline of the box with corners (x1, y1) and (x2, y2), both corners included.
inline void DrawBox(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour) {
    UniqueGdiObj pen(CreatePen(PS_SOLID, 1, colour));
    SelectGuard use(dc, pen.get());
    const POINT corners[] = {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}, {x1, y1}};
    Polyline(dc, corners, 5);
    SetPixelV(dc, x1, y1, colour);
}
