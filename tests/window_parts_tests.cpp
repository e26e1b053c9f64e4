// The toolbar, driven with the mouse messages a user's pointer sends, the 3-D border painter's lines on a
// memory bitmap, the tab strip painting around its panel, a control painting through memory, frames skipped
// only where there are none, and the splash and About windows: texts, placement, the version line, the
// memory figures and the links.
#include "controls/border_3d.h"
#include "controls/buffered_paint.h"
#include "controls/surface_image.h"
#include "controls/tab_strip.h"
#include "controls/tool_bar_icons.h"
#include "platform/gdi_guards.h"
#include "platform/window.h"
#include "support/dialog_script.h"
#include "support/pixels.h"
#include "support/scripted_ports.h"
#include "support/wide_text.h"
#include "ui/about.h"
#include "ui/splash.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

namespace {

enum class Frame { None, Raised, Sunken, Other };

struct ToolbarFixture {
    ToolbarFixture() {
        REQUIRE(bar.Create(host.get(), 10, 0, 0));
        bar.events().Click = [this](int index) { clicks.push_back(index); };
        for (int i = 0; i < ToolBarIcons::ButtonCount; ++i) {
            pictures[i][0] = PictureAt(i, 0);
            bar.SetButtonEnabled(i, false);
            pictures[i][1] = PictureAt(i, 0);
            bar.SetButtonEnabled(i, true);
        }
    }

    // x, y in the button's own pixels, wherever it stands.
    void Send(int index, UINT message, WPARAM keys = 0, int x = 5, int y = 5) {
        const RECT r = bar.ButtonRect(index);
        SendMessageW(bar.ContainerHwnd(), message, keys, MAKELPARAM(r.left + x, r.top + y));
    }
    // The edges of button i's frame in the container's image.
    Frame FrameAt(int index) const {
        const int x = ToolBarIcons::ButtonLefts[static_cast<size_t>(index)] - 2,
                  y = ToolBarIcons::ButtonTop - 2;
        const COLORREF top = bar.ContainerPixel(x + 5, y), left = bar.ContainerPixel(x, y + 5),
                       right = bar.ContainerPixel(x + 22, y + 5), bottom = bar.ContainerPixel(x + 5, y + 22);
        const COLORREF light = GetSysColor(COLOR_3DHILIGHT), shadow = GetSysColor(COLOR_BTNSHADOW),
                       face = GetSysColor(COLOR_BTNFACE);
        // Neighbouring frames may share a column, so no frame is judged by its rows alone.
        if (top == face && bottom == face) return Frame::None;
        if (top == light && left == light && right == shadow && bottom == shadow) return Frame::Raised;
        if (top == shadow && left == shadow && right == light && bottom == light) return Frame::Sunken;
        return Frame::Other;
    }
    std::vector<Frame> Frames() const {
        std::vector<Frame> all;
        for (int i = 0; i < ToolBarIcons::ButtonCount; ++i) all.push_back(FrameAt(i));
        return all;
    }
    // The container's pixels where button i's picture rests, moved `by` pixels right and down.
    std::vector<COLORREF> PictureAt(int index, int by) const {
        std::vector<COLORREF> pixels;
        const int left = ToolBarIcons::ButtonLefts[static_cast<size_t>(index)] + by,
                  top = ToolBarIcons::ButtonTop + by;
        for (int y = top; y < top + ToolBarIcons::ButtonSize; ++y)
            for (int x = left; x < left + ToolBarIcons::ButtonSize; ++x)
                pixels.push_back(bar.ContainerPixel(x, y));
        return pixels;
    }
    // How far the picture is drawn from its resting place: 0, 1 when sunk, -1 when it is found nowhere.
    int Offset(int index) const {
        const RECT r = bar.ButtonRect(index);
        const int by = r.left - ToolBarIcons::ButtonLefts[static_cast<size_t>(index)];
        const auto shown = PictureAt(index, by);
        return shown == pictures[index][0] || shown == pictures[index][1] ? by : -1;
    }

    OwnerWindow host{WS_CLIPCHILDREN};
    ToolBarIcons bar;
    std::vector<int> clicks;
    std::vector<COLORREF> pictures[ToolBarIcons::ButtonCount][2]; // enabled and greyed, at rest
};

// All buttons frameless but `index`, which shows `frame`.
std::vector<Frame> Only(int index, Frame frame) {
    std::vector<Frame> all(ToolBarIcons::ButtonCount, Frame::None);
    if (index >= 0) all[static_cast<size_t>(index)] = frame;
    return all;
}

struct Canvas {
    Canvas() { REQUIRE(image.Resize(160, 120, White, false)); }
    // Every pixel that differs from `expected` (white where it names nothing).
    int Mismatches(const std::function<COLORREF(int x, int y)>& expected) const {
        int wrong = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) wrong += image.Pixel(x, y) != expected(x, y);
        return wrong;
    }
    // A painter on this canvas for the rectangle (10, 20), 100 x 60 pixels.
    CBorder3D Border(std::int16_t style) const {
        CBorder3D border(15, 15);
        border.SetCanvas(image.dc());
        border.SetStyle3D(style);
        border.SetLeft(150);
        border.SetTop(300);
        border.SetWidth(1500);
        border.SetHeight(900);
        return border;
    }
    static constexpr COLORREF White = RGB(255, 255, 255), Light = RGB(255, 255, 0), Dark = RGB(0, 0, 128);
    SurfaceImage image;
};

// One bevel ring `inset` pixels inside the box: the top row and left column in one colour, the bottom row
// and right column (with its bottom corner) in the other; the lit corners go to the ends the lines reach.
std::optional<COLORREF> Ring(int x, int y, RECT box, int inset, COLORREF topLeft, COLORREF bottomRight) {
    const int x1 = box.left + inset, y1 = box.top + inset, x2 = box.right - 1 - inset,
              y2 = box.bottom - 1 - inset;
    if ((y == y2 && x >= x1 && x < x2) || (x == x2 && y >= y1 && y <= y2)) return bottomRight;
    if ((y == y1 && x >= x1 && x < x2) || (x == x1 && y >= y1 && y < y2)) return topLeft;
    return std::nullopt;
}

// What a label looks like as drawn: the colour the dialog gives its text, and whether its font is underlined.
std::pair<COLORREF, bool> Look(HWND dialog, int label) {
    HWND control = GetDlgItem(dialog, frmAbout::LabelId(label));
    UniqueMemDc dc(CreateCompatibleDC(nullptr));
    SendMessageW(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                 reinterpret_cast<LPARAM>(control));
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return {GetTextColor(dc.get()), font.lfUnderline != 0};
}

// Pixels of area, as the window shows it, that differ from the pixels `apart` to their right.
int SideBySideDifferences(HWND window, const RECT& area, int apart) {
    SurfaceImage shown;
    REQUIRE(shown.Resize(area.right + apart, area.bottom, RGB(1, 2, 3), false));
    WindowDc screen(window);
    BitBlt(shown.dc(), 0, 0, area.right + apart, area.bottom, screen.get(), 0, 0, SRCCOPY);
    int differences = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            differences += !Near(shown.Pixel(x, y), shown.Pixel(x + apart, y));
    return differences;
}

// A tab strip with a panel over its page, as the main window has them; shown side by side, one
// strip painting around the panel and one painting all of itself.
struct CoveredStrips {
    explicit CoveredStrips(bool themed) {
        for (int i = 0; i < 2; ++i) {
            strips[i] = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                                        10 + 300 * i, 10, 280, 200, host.get(), nullptr, nullptr, nullptr);
            if (!themed) {
                SetWindowTheme(strips[i], L" ", L" ");
                REQUIRE(GetWindowTheme(strips[i]) == nullptr);
            }
            SendMessageW(strips[i], WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                         0);
            for (const wchar_t* caption : {L"Shell", L"Desktop", L"Start Menu", L"Folders"}) {
                std::wstring text = caption;
                TCITEMW item{TCIF_TEXT, 0, 0, text.data(), 0, 0, 0};
                SendMessageW(strips[i], TCM_INSERTITEMW, 9, reinterpret_cast<LPARAM>(&item));
            }
            RECT page{0, 0, 280, 200};
            SendMessageW(strips[i], TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
            InflateRect(&page, -2, -2);
            OffsetRect(&page, 10 + 300 * i, 10);
            panels[i] = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_GRAYRECT, page.left,
                                        page.top, page.right - page.left, page.bottom - page.top, host.get(),
                                        nullptr, nullptr, nullptr);
            SetWindowPos(panels[i], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        }
        PaintAroundCoveringWindows(strips[0]);
    }
    void Select(int tab) {
        for (HWND strip : strips) SendMessageW(strip, TCM_SETCURSEL, tab, 0);
    }
    void ShowPanels(bool shown) {
        for (HWND panel : panels) ShowWindow(panel, shown ? SW_SHOW : SW_HIDE);
    }
    // Pixels of the two strips as the window shows them that differ.
    int Differences() {
        RedrawWindow(host.get(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        return SideBySideDifferences(host.get(), {10, 10, 290, 210}, 300);
    }

    OwnerWindow host{WS_CLIPCHILDREN};
    HWND strips[2]{}, panels[2]{};
};

} // namespace

TEST_CASE("a tab strip under a panel looks the same painting only around it") {
    for (bool themed : {true, false}) {
        CAPTURE(themed);
        CoveredStrips both(themed);
        CHECK(both.Differences() == 0);
        both.Select(3);
        CHECK(both.Differences() == 0);
        // With the panel gone, the page shows whole.
        both.ShowPanels(false);
        CHECK(both.Differences() == 0);
    }
}

TEST_CASE("a scroll bar painting through memory looks the same as one painting itself") {
    OwnerWindow host;
    HWND bars[2]{};
    for (int i = 0; i < 2; ++i) {
        bars[i] = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_VERT, 10 + 100 * i, 10,
                                  17, 200, host.get(), nullptr, nullptr, nullptr);
        SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 20, 40, 0};
        SetScrollInfo(bars[i], SB_CTL, &info, FALSE);
    }
    PaintThroughMemory(bars[0]);
    PaintThroughMemory(bars[0]); // a second time changes nothing
    const auto differences = [&] { return SideBySideDifferences(host.get(), {10, 10, 27, 210}, 100); };
    RedrawWindow(host.get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    CHECK(differences() == 0);
    // Painted over by the owner, then a band across the thumb painted again: each bar redraws only that band,
    // and the band must land where it belongs.
    WindowDc over(host.get());
    RECT all{0, 0, 220, 220};
    UniqueHBrush red(CreateSolidBrush(RGB(255, 0, 0)));
    FillRect(over.get(), &all, red.get());
    const RECT band{0, 70, 17, 130};
    for (HWND bar : bars) RedrawWindow(bar, &band, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    CHECK(GetPixel(over.get(), 18, 50) == RGB(255, 0, 0));
    CHECK(GetPixel(over.get(), 18, 100) != RGB(255, 0, 0));
    CHECK(differences() == 0);
}

TEST_CASE("only a child with nothing outside its client area counts as frameless") {
    OwnerWindow host;
    const std::tuple<const char*, DWORD, DWORD, bool> rows[] = {
        {"a plain child", 0, 0, true},
        {"a bordered child", WS_BORDER, 0, false},
        {"a child with a sunken edge", 0, WS_EX_CLIENTEDGE, false},
        {"a child with a scroll bar", WS_VSCROLL, 0, false},
        {"a child with a scroll bar along its foot", WS_HSCROLL, 0, false},
    };
    for (const auto& [what, style, exStyle, frameless] : rows) {
        const std::string child_is = what;
        CAPTURE(child_is);
        UniqueTopWindow child(CreateWindowExW(exStyle, L"STATIC", L"", WS_CHILD | WS_VISIBLE | style, 5, 5,
                                              60, 40, host.get(), nullptr, nullptr, nullptr));
        CHECK(IsFramelessChild(child.get()) == frameless);
    }
    UniqueTopWindow popup(
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 5, 5, 60, 40, nullptr, nullptr, nullptr, nullptr));
    CHECK_FALSE(IsFramelessChild(popup.get()));
}

TEST_CASE("a control that skips frame painting still paints a frame it has") {
    OwnerWindow host;
    HWND bordered = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | SS_WHITERECT, 10,
                                    10, 60, 40, host.get(), nullptr, nullptr, nullptr);
    const LONG_PTR own = GetWindowLongPtrW(bordered, GWLP_WNDPROC);
    SkipFramePainting(bordered);
    SkipFramePainting(bordered); // a second time changes nothing
    CHECK(reinterpret_cast<LONG_PTR>(OwnProcedure(bordered)) == own);
    UpdateWindow(host.get());
    WindowDc shown(host.get()); // the owner draws over its children: red where the frame was
    RECT all{0, 0, 200, 200};
    UniqueHBrush red(CreateSolidBrush(RGB(255, 0, 0)));
    FillRect(shown.get(), &all, red.get());
    REQUIRE(GetPixel(shown.get(), 10, 30) == RGB(255, 0, 0));
    RedrawWindow(bordered, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
    CHECK(GetPixel(shown.get(), 10, 30) == GetSysColor(COLOR_WINDOWFRAME));
    CHECK(GetPixel(shown.get(), 30, 30) == GetSysColor(COLOR_WINDOW));
    DestroyWindow(bordered); // forgotten with its window
    CHECK(reinterpret_cast<LONG_PTR>(OwnProcedure(bordered)) == 0);
}

TEST_CASE("the toolbar's buttons, grooves and tooltips") {
    ToolbarFixture t;
    // clang-format off
    const wchar_t* captions[] = {L"Open Theme", L"Save Theme", L"Back", L"Forward", L"Rebuild Icons",
        L"Restore all Icons", L"Tessaly Home Page", L"Email Author", L"What's This?", L"Contents and Index",
        L"About Tessaly", L"Exit"};
    // clang-format on
    const int lefts[] = {2, 24, 53, 74, 103, 126, 155, 178, 207, 230, 253, 282};
    // The caption the tooltip shows for the pointer at (x, y) in the container; "" where no button is.
    auto tipAt = [&](int x, int y) {
        wchar_t text[80]{};
        TTHITTESTINFOW hit{};
        hit.hwnd = t.bar.ContainerHwnd();
        hit.pt = {x, y};
        hit.ti.cbSize = TTTOOLINFOW_V2_SIZE;
        hit.ti.lpszText = text;
        return SendMessageW(t.bar.Tooltip(), TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit))
                   ? std::wstring(text)
                   : std::wstring();
    };
    CHECK(tipAt(50, 12).empty());
    for (int i = 0; i < ToolBarIcons::ButtonCount; ++i) {
        CAPTURE(i);
        CHECK(tipAt(lefts[i] + 1, 5) == captions[i]);
        CHECK(tipAt(lefts[i] + 17, 21) == captions[i]);
        const RECT r = t.bar.ButtonRect(i);
        CHECK(std::tuple(r.left, r.top, r.right, r.bottom) == std::tuple(lefts[i], 4, lefts[i] + 18, 22));
    }
    for (int x : {47, 97, 149, 201, 276}) {
        CHECK(t.bar.ContainerPixel(x, 12) == GetSysColor(COLOR_BTNSHADOW));
        CHECK(t.bar.ContainerPixel(x + 1, 12) == GetSysColor(COLOR_3DHILIGHT));
    }
    CHECK(t.Frames() == Only(-1, Frame::None));
    CHECK(t.bar.Item() == 0);
}

TEST_CASE("the hover frame follows the pointer from button to button and leaves with it") {
    ToolbarFixture t;
    const std::pair<std::function<void()>, int> moves[] = {
        {[&] { t.Send(0, WM_MOUSEMOVE); }, 0},
        {[&] { t.Send(1, WM_MOUSEMOVE); }, 1}, // straight to the next: the first frame goes
        {[&] { SendMessageW(t.bar.ContainerHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(50, 10)); }, -1},
        {[&] { t.Send(11, WM_MOUSEMOVE); }, 11},
        {[&] { t.bar.DropHover(); }, -1}, // the host's own mouse move
        {[&] { t.Send(6, WM_MOUSEMOVE); }, 6},
        {[&] { t.bar.ToolBar_LostFocus(); }, -1},
    };
    int step = 0;
    for (const auto& [move, hovered] : moves) {
        CAPTURE(step++);
        move();
        CHECK(t.Frames() == Only(hovered, Frame::Raised));
        CHECK(t.bar.Hovered() == (hovered < 0 ? ToolBarIcons::NoButton : hovered));
    }
    CHECK(t.clicks.empty());
}

TEST_CASE("presses sink a button, releases raise it, and a click is reported once") {
    struct Step {
        int button;
        UINT message;
        int x;       // where the pointer is, in the button's pixels
        Frame frame; // what the pressed button shows afterwards
        int offset;  // 1 while sunk
        std::vector<int> clicks;
    };
    ToolbarFixture t;
    auto run = [&](const std::vector<Step>& steps) {
        int n = 0;
        for (const Step& s : steps) {
            CAPTURE(n++);
            t.Send(s.button, s.message, 0, s.x, 5);
            CHECK(t.FrameAt(s.button) == s.frame);
            CHECK(t.Offset(s.button) == s.offset);
            CHECK(t.bar.ButtonRect(s.button).top == ToolBarIcons::ButtonTop + s.offset);
            CHECK(t.clicks == s.clicks);
        }
    };
    SUBCASE("a left click") {
        run({{4, WM_LBUTTONDOWN, 5, Frame::Sunken, 1, {}}, {4, WM_LBUTTONUP, 5, Frame::Raised, 0, {4}}});
        CHECK(t.bar.Item() == 4);
    }
    SUBCASE("the right button neither sinks nor clicks; a left click after it works") {
        run({{6, WM_RBUTTONDOWN, 5, Frame::None, 0, {}},
             {6, WM_RBUTTONUP, 5, Frame::None, 0, {}},
             {6, WM_LBUTTONDOWN, 5, Frame::Sunken, 1, {}},
             {6, WM_LBUTTONUP, 5, Frame::Raised, 0, {6}}});
    }
    SUBCASE("a double click sinks the button again and counts as one click") {
        run({{2, WM_LBUTTONDOWN, 5, Frame::Sunken, 1, {}},
             {2, WM_LBUTTONUP, 5, Frame::Raised, 0, {2}},
             {2, WM_LBUTTONDBLCLK, 5, Frame::Sunken, 1, {2}},
             {2, WM_LBUTTONUP, 5, Frame::Raised, 0, {2}},
             {2, WM_LBUTTONDOWN, 5, Frame::Sunken, 1, {2}}, // and the next click counts again
             {2, WM_LBUTTONUP, 5, Frame::Raised, 0, {2, 2}}});
    }
    SUBCASE("released off the button: it rises without a click") {
        run({{3, WM_LBUTTONDOWN, 5, Frame::Sunken, 1, {}}, {3, WM_LBUTTONUP, -30, Frame::Raised, 0, {}}});
        CHECK(t.bar.Item() == 0);
    }
    SUBCASE("the middle button clicks too") {
        run({{7, WM_MBUTTONDOWN, 5, Frame::Sunken, 1, {}}, {7, WM_MBUTTONUP, 5, Frame::Raised, 0, {7}}});
    }
    SUBCASE("a disabled button shows no frame and raises nothing until enabled again") {
        // A green pixel of the arrow, as the screen shows it.
        auto shown = [&] {
            RedrawWindow(t.bar.ContainerHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            WindowDc dc(t.bar.ContainerHwnd());
            const RECT r = t.bar.ButtonRect(5);
            return GetPixel(dc.get(), r.left + 5, r.top + 5);
        };
        CHECK(shown() == RGB(0, 255, 0));
        t.bar.SetButtonEnabled(5, false);
        CHECK(shown() != RGB(0, 255, 0));
        run({{5, WM_MOUSEMOVE, 5, Frame::None, 0, {}},
             {5, WM_LBUTTONDOWN, 5, Frame::None, 0, {}},
             {5, WM_LBUTTONUP, 5, Frame::None, 0, {}}});
        t.bar.SetButtonEnabled(5, true);
        CHECK(shown() == RGB(0, 255, 0));
        run({{5, WM_MOUSEMOVE, 5, Frame::Raised, 0, {}},
             {5, WM_LBUTTONDOWN, 5, Frame::Sunken, 1, {}},
             {5, WM_LBUTTONUP, 5, Frame::Raised, 0, {5}}});
    }
}

TEST_CASE("the border painter's bevels land on the pixels they name") {
    struct Row {
        const char* what;
        std::int16_t style, outer, inner, bevelWidth, borderWidth;
        std::vector<std::pair<int, bool>> rings; // inset from the drawn box, lowered
        int grow;                                // pixels the drawn box lies outside the rectangle
    };
    // clang-format off
    const Row rows[] = {
        {"the main window's frame", 8, 0, 1, 1, 0, {{0, true}}, 0},
        {"raised, two pixels wide", 8, 0, 2, 2, 0, {{0, false}, {1, false}}, 0},
        {"raised outer, a gap, lowered inner", 8, 2, 1, 2, 1, {{0, false}, {1, false}, {3, true}, {4, true}}, 0},
        {"style 7 frames from outside", 7, 2, 1, 1, 2, {{0, false}, {3, true}}, 4},
        {"style 7 with one bevel", 7, 0, 2, 2, 5, {{0, false}, {1, false}}, 2},
    };
    // clang-format on
    for (const Row& row : rows) {
        CAPTURE(row.what);
        Canvas canvas;
        CBorder3D border = canvas.Border(row.style);
        border.SetHighLight(Canvas::Light);
        border.SetShadow(Canvas::Dark);
        border.SetBevelOuter(row.outer);
        border.SetBevelInner(row.inner);
        border.SetBevelWidth(row.bevelWidth);
        border.SetBorderWidth(row.borderWidth);
        SetMapMode(canvas.image.dc(), MM_LOMETRIC); // the canvas's own mode is no concern of the painter
        CHECK_FALSE(border.Refresh());
        CHECK(GetMapMode(canvas.image.dc()) == MM_LOMETRIC);
        const RECT box{10 - row.grow, 20 - row.grow, 110 + row.grow, 80 + row.grow};
        CHECK(canvas.Mismatches([&](int x, int y) {
            for (auto [inset, lowered] : row.rings)
                if (auto c = Ring(x, y, box, inset, lowered ? Canvas::Dark : Canvas::Light,
                                  lowered ? Canvas::Light : Canvas::Dark))
                    return *c;
            return Canvas::White;
        }) == 0);
    }
}

TEST_CASE("the etched groove of style 6, in the default colours") {
    Canvas canvas;
    CBorder3D border = canvas.Border(6);
    REQUIRE_FALSE(border.Refresh());
    // A shadow box from (8, 18) to (110, 80), the light one a pixel right and down over it.
    auto on = [](int x, int y, int x1, int y1, int x2, int y2) {
        return ((x == x1 || x == x2) && y >= y1 && y <= y2) || ((y == y1 || y == y2) && x >= x1 && x <= x2);
    };
    CHECK(canvas.Mismatches([&](int x, int y) {
        return on(x, y, 9, 19, 111, 81)   ? GetSysColor(COLOR_3DHILIGHT)
               : on(x, y, 8, 18, 110, 80) ? GetSysColor(COLOR_BTNSHADOW)
                                          : Canvas::White;
    }) == 0);
}

TEST_CASE("the border painter's properties, errors and canvas") {
    CBorder3D border;
    SUBCASE("defaults, and values out of range leave the old one") {
        auto numbers = [&] {
            return std::tuple(border.Style3D(), border.BevelOuter(), border.BevelInner(), border.BevelWidth(),
                              border.BorderWidth());
        };
        CHECK(numbers() == std::tuple(0, 2, 0, 3, 2));
        CHECK(std::tuple(border.HighLight(), border.Shadow(), border.Background()) ==
              std::tuple(CBorder3D::SystemColour(COLOR_3DHILIGHT), CBorder3D::SystemColour(COLOR_BTNSHADOW),
                         CBorder3D::SystemColour(COLOR_BTNFACE)));
        CHECK(border.TwipsPerPixelX() == 15);
        border.SetStyle3D(8);
        border.SetBevelWidth(4);
        border.SetBevelInner(2);
        for (std::int16_t bad : {9, -1}) border.SetStyle3D(bad);
        border.SetBevelWidth(0);
        border.SetBevelInner(3);
        border.SetBevelOuter(-1);
        border.SetBorderWidth(0);
        CHECK(numbers() == std::tuple(8, 2, 2, 4, 0));
    }
    SUBCASE(
        "the errors: no canvas and no client; a client but an ambiguous style; coordinates past 16 bits") {
        const BorderError notSet{static_cast<std::int32_t>(0x80040400u), L"CBorder3D",
                                 L"Canvas and/or Client Properties not set."};
        const BorderError ambiguous{static_cast<std::int32_t>(0x80040401u), L"CBorder3D",
                                    L"Canvas Property ambiguous."};
        CHECK(border.Refresh() == notSet);
        OwnerWindow parent;
        HWND client = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 40, 30, 100, 50, parent.get(), nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
        border.SetClient(client);
        for (std::int16_t style : {4, 6, 7, 8}) {
            border.SetStyle3D(style);
            CHECK(border.Refresh() == ambiguous);
            CHECK(std::holds_alternative<std::monostate>(border.Canvas()));
        }
        border.SetStyle3D(5);
        CHECK_FALSE(border.Refresh());
        CHECK(std::get<HWND>(border.Canvas()) == client); // found once, kept
        CBorder3D around;
        around.SetClient(client);
        around.SetStyle3D(3);
        CHECK_FALSE(around.Refresh());
        CHECK(std::get<HWND>(around.Canvas()) == parent.get());

        Canvas canvas;
        CBorder3D distant = canvas.Border(8);
        distant.SetLeft(32000);
        CHECK(distant.Refresh() == BorderError{6, L"CBorder3D", L"Overflow"});
        CHECK(canvas.Mismatches([](int, int) { return Canvas::White; }) == 0);
    }
}

TEST_CASE("the version line and the memory figures") {
    // This program's own version, read from its resource, is the About window's.
    const std::pair<ProgramVersion, const wchar_t*> versions[] = {{{1, 0, 7, 0}, L"Version 1.00.00 a"},
                                                                  {{3, 12, 0, 5}, L"Version 3.012.05 a"}};
    for (const auto& [version, line] : versions) CHECK(VersionLine(version) == line);
    CHECK_FALSE(ReadProgramVersion(L"C:\\no such folder\\none.exe"));

    const std::uint64_t KB = 1024, GB = KB * KB * KB;
    // clang-format off
    const std::tuple<std::uint64_t, const wchar_t*, const wchar_t*> figures[] = {
        {16 * KB * KB, L",", L"16,384 Kb"}, {0, L",", L"0 Kb"}, {511, L",", L"0 Kb"}, {512, L",", L"1 Kb"},
        {999 * KB, L",", L"999 Kb"}, {1000 * KB, L"", L"1000 Kb"}, {8 * GB, L".", L"8.388.608 Kb"},
        {64 * GB + 700, L"\u00a0", L"67\u00a0108\u00a0865 Kb"}};
    // clang-format on
    for (const auto& [bytes, separator, text] : figures) {
        CAPTURE(bytes);
        CHECK(FormatKilobytes(bytes, separator) == text);
    }
    CHECK(ReadMemoryStatus().has_value());
}

TEST_CASE("the splash window shows its texts centred over its owner") {
    OwnerWindow owner; // 640 x 480 at (120, 90)
    frmSplash splash;
    REQUIRE(splash.Show(owner.get()));
    CHECK(TextOf(splash.hwnd()) == L"Tessaly");
    CHECK(IsWindowVisible(splash.hwnd()));
    CHECK(GetWindow(splash.hwnd(), GW_OWNER) == owner.get());
    const std::pair<int, const wchar_t*> labels[] = {{frmSplash::IdName, L"Tessaly"},
                                                     {frmSplash::IdVersion, L"Version 2.02"},
                                                     {frmSplash::IdPlatforms, L"for Windows 95/NT"}};
    for (const auto& [id, text] : labels) CHECK(TextOf(GetDlgItem(splash.hwnd(), id)) == text);
    RECT r;
    GetWindowRect(splash.hwnd(), &r);
    CHECK(r.left == 120 + (640 - frmSplash::Width) / 2);
    CHECK(r.top == 90 + (480 - frmSplash::Height) / 2);
    splash.Close();
    CHECK_FALSE(splash.hwnd());
}

TEST_CASE("About: labels, memory, links and Esc") {
    const std::uint64_t MB = 1024 * 1024;
    frmAbout about([MB] { return MemoryFigures{16 * MB, 8 * MB}; });
    RecordingSystemPort system;
    OwnerWindow owner;
    const std::wstring sep = UserThousandsSeparator();
    const COLORREF text = GetSysColor(COLOR_BTNTEXT), blue = RGB(0, 0, 255), red = RGB(255, 0, 0), black = 0;

    std::vector<DialogScript::Step> steps;
    steps.push_back([&](HWND dialog) {
        CHECK(TextOf(dialog) == L"About Tessaly");
        // clang-format off
        const std::pair<int, std::wstring> labels[] = {
            {0, L"Tessaly 2.02"}, {1, L"Version 2.02.0236 a"}, {4, L"Internet:"},
            {5, L"tessaly@korvath.example"}, {6, L"https://www.korvath.example/tessaly"}, {8, L"Total Memory"},
            {9, L"16" + sep + L"384 Kb"}, {10, L"Available Memory"}, {11, frmAbout::AvailablePending}};
        // clang-format on
        for (const auto& [index, expected] : labels) {
            CAPTURE(index);
            CHECK(TextOf(GetDlgItem(dialog, frmAbout::LabelId(index))) == expected);
        }
        RECT picture = ClientRectOf(dialog, frmAbout::IdPicture), r, o;
        CHECK(picture.right - picture.left == 104);
        CHECK(picture.bottom - picture.top == 217);
        GetWindowRect(dialog, &r);
        GetWindowRect(owner.get(), &o);
        CHECK(std::abs((r.left + r.right) - (o.left + o.right)) <= 1);
        CHECK(std::abs((r.top + r.bottom) - (o.top + o.bottom)) <= 1);
    });
    // Pointer moves and presses on the links, and how each link looks after each.
    struct Move {
        int label; // -1: the window itself
        UINT message;
        std::pair<COLORREF, bool> email, web;
    };
    const Move moves[] = {
        {5, WM_MOUSEMOVE, {blue, true}, {text, false}},   {6, WM_MOUSEMOVE, {text, false}, {blue, true}},
        {-1, WM_MOUSEMOVE, {text, false}, {text, false}}, {6, WM_MOUSEMOVE, {text, false}, {blue, true}},
        {6, WM_LBUTTONDOWN, {text, false}, {red, true}},  {6, WM_LBUTTONUP, {text, false}, {black, true}},
        {5, WM_MOUSEMOVE, {blue, true}, {text, false}},   {5, WM_LBUTTONDOWN, {red, true}, {text, false}},
        {5, WM_LBUTTONUP, {black, true}, {text, false}},  {5, WM_RBUTTONDOWN, {red, true}, {text, false}},
        {5, WM_RBUTTONUP, {black, true}, {text, false}}};
    steps.push_back([&](HWND dialog) {
        int n = 0;
        for (const Move& move : moves) {
            CAPTURE(n++);
            HWND target = move.label < 0 ? dialog : GetDlgItem(dialog, frmAbout::LabelId(move.label));
            SendMessageW(target, move.message, 0, MAKELPARAM(3, 3));
            CHECK(Look(dialog, 5) == move.email);
            CHECK(Look(dialog, 6) == move.web);
        }
        // Left clicks open the page and a new message; the right button opens nothing.
        CHECK(system.calls ==
              Strings{L"OPEN https://www.korvath.example/tessaly", L"OPEN mailto:tessaly@korvath.example"});
    });
    for (int i = 0; i < 50; ++i) steps.push_back([](HWND) {}); // two seconds: the timer ticks
    steps.push_back([&](HWND dialog) {
        CHECK(TextOf(GetDlgItem(dialog, frmAbout::LabelId(11))) == L"8" + sep + L"192 Kb");
    });
    steps.push_back(Key(VK_ESCAPE));
    DialogScript script(steps);
    about.Show(owner.get(), system);
    CHECK(script.Completed());
}
