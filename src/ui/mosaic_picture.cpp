#include "ui/mosaic_picture.h"

#include "platform/gdi_guards.h"

namespace {
constexpr int Tile = 13;

COLORREF Blend(COLORREF a, COLORREF b, int part, int whole) {
    auto mix = [&](int x, int y) { return x + (y - x) * part / (whole > 0 ? whole : 1); };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
               mix(GetBValue(a), GetBValue(b)));
}

// A little light or shade per tile, the same on every draw, so neighbours stand apart.
COLORREF Vary(COLORREF c, int column, int row, int half) {
    const int step = ((column * 7 + row * 13 + half * 5) % 5 - 2) * 9;
    auto clamp = [](int v) { return v < 0 ? 0 : v > 255 ? 255 : v; };
    return RGB(clamp(GetRValue(c) + step), clamp(GetGValue(c) + step), clamp(GetBValue(c) + step));
}
} // namespace

void DrawMosaic(HDC dc, const RECT& area) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    SelectObject(dc, GetStockObject(DC_BRUSH));
    SelectObject(dc, GetStockObject(DC_PEN));
    const COLORREF top = RGB(32, 150, 160), bottom = RGB(96, 48, 150);
    for (int row = 0; row * Tile < height; ++row) {
        for (int column = -1; column * Tile < width + Tile; ++column) {
            const int x = area.left + column * Tile - (row % 2) * Tile / 2, y = area.top + row * Tile;
            const COLORREF base = Blend(top, bottom, row * Tile + column * 2, height + width / 4);
            const POINT up[] = {{x, y + Tile}, {x + Tile / 2, y}, {x + Tile, y + Tile}};
            const POINT down[] = {{x + Tile / 2, y}, {x + Tile + Tile / 2, y}, {x + Tile, y + Tile}};
            for (int half = 0; half < 2; ++half) {
                const COLORREF c = Vary(base, column, row, half);
                SetDCBrushColor(dc, c);
                SetDCPenColor(dc, Blend(c, RGB(255, 255, 255), 1, 4));
                Polygon(dc, half ? down : up, 3);
            }
        }
    }
    RestoreDC(dc, saved);
}
