#include "controls/border_3d.h"

#include "controls/line_drawing.h"
#include "platform/gdi_guards.h"
#include "platform/window.h"

#include <algorithm>
#include <limits>

namespace {

BorderError Error(std::int32_t number, const wchar_t* text) {
    return {number, CBorder3D::ErrorSource, text};
}

bool Fits16(int value) {
    return value >= std::numeric_limits<std::int16_t>::min() &&
           value <= std::numeric_limits<std::int16_t>::max();
}

// The pixel a coordinate in twips falls in.
int ToPixels(int twips, int perPixel) {
    return twips >= 0 ? twips / perPixel : -((-twips + perPixel - 1) / perPixel);
}

COLORREF Resolve(std::uint32_t colour) {
    return colour & 0x80000000u ? GetSysColor(static_cast<int>(colour & 0xFF))
                                : static_cast<COLORREF>(colour);
}

} // namespace

CBorder3D::CBorder3D() {
    const SIZE perInch = ScreenPixelsPerInch();
    tx_ = std::max(1, 1440 / std::max(1, static_cast<int>(perInch.cx)));
    ty_ = std::max(1, 1440 / std::max(1, static_cast<int>(perInch.cy)));
}

CBorder3D::CBorder3D(int twipsPerPixelX, int twipsPerPixelY)
    : tx_(std::max(1, twipsPerPixelX)), ty_(std::max(1, twipsPerPixelY)) {}

void CBorder3D::SetStyle3D(std::int16_t style) {
    if (style >= 0 && style <= 8) style_ = style;
}

void CBorder3D::SetBevelInner(std::int16_t bevel) {
    if (bevel >= BevelNone && bevel <= BevelRaised) bevelInner_ = bevel;
}

void CBorder3D::SetBevelOuter(std::int16_t bevel) {
    if (bevel >= BevelNone && bevel <= BevelRaised) bevelOuter_ = bevel;
}

void CBorder3D::SetBevelWidth(std::int16_t pixels) {
    if (pixels > 0) bevelWidth_ = pixels;
}

void CBorder3D::SetBorderWidth(std::int16_t pixels) {
    if (pixels >= 0) borderWidth_ = pixels;
}

std::optional<BorderError> CBorder3D::Refresh() {
    if (std::holds_alternative<std::monostate>(canvas_)) {
        const HWND parent = client_ ? GetParent(client_) : nullptr;
        if (!client_ || (style_ < 4 && !parent)) return Error(ErrCanvasNotSet, CanvasNotSetText);
        if (style_ < 4)
            canvas_ = parent;
        else if (style_ == 5)
            canvas_ = client_;
        else
            return Error(ErrCanvasAmbiguous, CanvasAmbiguousText);
    }
    std::vector<Line> lines;
    if (auto failed = Plan(lines)) return failed;
    if (lines.empty()) return std::nullopt;

    std::optional<WindowDc> windowDc;
    HDC dc = nullptr;
    if (auto* window = std::get_if<HWND>(&canvas_)) {
        windowDc.emplace(*window);
        dc = windowDc->get();
    } else {
        dc = std::get<HDC>(canvas_);
    }
    if (!dc) return std::nullopt;
    // Drawn in plain pixels from the canvas's own origin; the caller's mapping comes back afterwards.
    const int saved = SaveDC(dc);
    SetMapMode(dc, MM_TEXT);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    for (const Line& line : lines) {
        const int x1 = ToPixels(line.x1, tx_), y1 = ToPixels(line.y1, ty_);
        const int x2 = ToPixels(line.x2, tx_), y2 = ToPixels(line.y2, ty_);
        if (line.box)
            DrawBox(dc, x1, y1, x2, y2, Resolve(line.colour));
        else
            DrawLine(dc, x1, y1, x2, y2, Resolve(line.colour));
    }
    RestoreDC(dc, saved);
    return std::nullopt;
}

std::optional<BorderError> CBorder3D::Plan(std::vector<Line>& lines) const {
    const int px = tx_, py = ty_;
    // The client's place in its parent, in twips.
    int cl = 0, ct = 0, cw = 0, ch = 0;
    const bool needsClient = style_ <= 5 && (style_ != 0 || actOnNone_);
    if (needsClient) {
        if (!client_) return Error(ErrCanvasNotSet, CanvasNotSetText);
        RECT r{};
        if (style_ == 5) {
            GetClientRect(client_, &r);
        } else {
            GetWindowRect(client_, &r);
            MapWindowPoints(nullptr, GetParent(client_), reinterpret_cast<POINT*>(&r), 2);
        }
        cl = r.left * px;
        ct = r.top * py;
        cw = (r.right - r.left) * px;
        ch = (r.bottom - r.top) * py;
    }
    const bool explicitRect = style_ >= 6;
    const int left = explicitRect ? left_ : cl, top = explicitRect ? top_ : ct;
    const int width = explicitRect ? width_ : cw, height = explicitRect ? height_ : ch;

    switch (style_) {
    case 0:
        if (actOnNone_) lines.push_back({cl - px, ct - py, cl + cw, ct + ch, background_, true});
        break;
    case 1:
    case 2: {
        const Box b{cl - px, ct - py, cl + cw, ct + ch};
        lines.push_back({b.x1, b.y1, b.x2, b.y2, shadow_, true});
        lines.push_back({b.x2, b.y1, b.x2, b.y2 + py, highLight_});
        lines.push_back({b.x1, b.y2, b.x2, b.y2, highLight_});
        break;
    }
    case 3:
    case 6:
        lines.push_back({left - 2 * px, top - 2 * py, left + width, top + height, shadow_, true});
        lines.push_back({left - px, top - py, left + width + px, top + height + py, highLight_, true});
        break;
    case 4:
    case 7: {
        const int t = bevelInner_ == BevelNone || bevelOuter_ == BevelNone ? bevelWidth_
                                                                           : 2 * bevelWidth_ + borderWidth_;
        Box b{left - t * px, top - t * py, 0, 0};
        b.x2 = b.x1 + width + 2 * t * px - px;
        b.y2 = b.y1 + height + 2 * t * py - py;
        PlanBevels(lines, b);
        break;
    }
    case 5:
        PlanBevels(lines, {0, 0, cw - px, ch - py});
        break;
    case 8:
        PlanBevels(lines, {left_, top_, left_ + width_ - px, top_ + height_ - py});
        break;
    default:
        break;
    }
    // Coordinates are 16-bit twips, as the properties are.
    for (const Line& line : lines)
        if (!Fits16(line.x1) || !Fits16(line.y1) || !Fits16(line.x2) || !Fits16(line.y2)) {
            lines.clear();
            return Error(ErrOverflow, OverflowText);
        }
    return std::nullopt;
}

void CBorder3D::PlanBevels(std::vector<Line>& lines, Box r) const {
    if (bevelOuter_ == BevelNone) {
        PlanBevel(lines, r, bevelInner_);
        return;
    }
    PlanBevel(lines, r, bevelOuter_);
    const int step = bevelWidth_ + borderWidth_;
    r.x1 += step * tx_;
    r.x2 -= step * tx_;
    r.y1 += step * ty_;
    r.y2 -= step * ty_;
    PlanBevel(lines, r, bevelInner_);
}

void CBorder3D::PlanBevel(std::vector<Line>& lines, Box r, int kind) const {
    if (kind == BevelNone) return;
    const bool lowered = kind == BevelLowered;
    const std::uint32_t topLeft = lowered ? shadow_ : highLight_,
                        bottomRight = lowered ? highLight_ : shadow_;
    for (int i = 0; i < bevelWidth_; ++i) {
        const Box b{r.x1 + i * tx_, r.y1 + i * ty_, r.x2 - i * tx_, r.y2 - i * ty_};
        const Line top{b.x1, b.y1, b.x2, b.y1, topLeft}, left{b.x1, b.y1, b.x1, b.y2, topLeft};
        const Line bottom{b.x1, b.y2, b.x2, b.y2, bottomRight},
            right{b.x2, b.y1, b.x2, b.y2 + ty_, bottomRight};
        // The four lines leave out their end points and so never cross; the right edge reaches the corner.
        if (lowered)
            lines.insert(lines.end(), {bottom, right, top, left});
        else
            lines.insert(lines.end(), {top, left, bottom, right});
    }
}
