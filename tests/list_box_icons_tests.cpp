// The icon list window, driven with the messages a user's clicks and keys send.
#include "controls/list_box_icons.h"
#include "support/icon_fixtures.h"

#include <doctest/doctest.h>

#include <string>
#include <vector>

namespace {

constexpr int Width = 300, Height = 304; // a frame 300 pixels high inside: six rows show

struct ListFixture {
    explicit ListFixture(int width = Width, int height = Height) {
        host = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 460,
                               420, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        REQUIRE(view.Create(host, 10, 0, 0, width, height));
        auto& on = view.events();
        on.Click = [this] { events.push_back(L"Click"); };
        on.DblClick = [this] { events.push_back(L"DblClick"); };
        on.KeyDown = [this](std::int16_t key, std::int16_t) {
            events.push_back(L"KeyDown " + std::to_wstring(key));
        };
        on.KeyPress = [this](std::int16_t ascii) { events.push_back(L"KeyPress " + std::to_wstring(ascii)); };
        on.KeyUp = [this](std::int16_t key, std::int16_t) {
            events.push_back(L"KeyUp " + std::to_wstring(key));
        };
        on.MouseMove = [this](std::int16_t button, std::int16_t, float x, float y) {
            events.push_back(L"MouseMove " + std::to_wstring(button) + L" " + std::to_wstring(int(x)) + L"," +
                             std::to_wstring(int(y)));
        };
        on.MouseUp = [this](std::int16_t button, std::int16_t, float, float) {
            events.push_back(L"MouseUp " + std::to_wstring(button));
        };
    }
    ~ListFixture() { DestroyWindow(host); }

    void Fill(int count) {
        for (int i = 0; i < count; ++i)
            model.AddItem(L"Item " + std::to_wstring(i), L"", 0, L"k" + std::to_wstring(i));
    }
    HWND surface() const { return view.lstMainHwnd(); }
    void Send(UINT message, WPARAM wParam, int x, int y) {
        SendMessageW(surface(), message, wParam, MAKELPARAM(x, y));
    }
    void Press(int y) {
        Send(WM_LBUTTONDOWN, MK_LBUTTON, 100, y);
        Send(WM_LBUTTONUP, 0, 100, y);
    }
    void Key(WPARAM key) { SendMessageW(surface(), WM_KEYDOWN, key, 1); }
    void ScrollBar(WORD request) {
        SendMessageW(view.ContainerHwnd(), WM_VSCROLL, request, reinterpret_cast<LPARAM>(view.ScrollHwnd()));
    }
    int ScrollPos() const { return GetScrollPos(view.ScrollHwnd(), SB_CTL); }
    // The surface's top edge inside the frame.
    int SurfaceTop() const {
        POINT p{0, 0};
        MapWindowPoints(surface(), view.ContainerHwnd(), &p, 1);
        return p.y;
    }
    bool Highlighted(int row) const {
        return view.SurfacePixel(5, row * 50 + 25) == GetSysColor(COLOR_HIGHLIGHT);
    }
    COLORREF IconPixel(int row) const { return view.SurfacePixel(31, row * 50 + 25); }

    IconListModel model;
    HWND host = nullptr;
    ListBoxIcons view{model};
    std::vector<std::wstring> events;
};

RECT WindowRectIn(HWND window, HWND parent) {
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

int BarWidth() {
    return GetSystemMetrics(SM_CXVSCROLL);
}

const COLORREF Red = RGB(255, 0, 0), Green = RGB(0, 255, 0), Blue = RGB(0, 0, 255), Cyan = RGB(0, 255, 255),
               Magenta = RGB(255, 0, 255), Yellow = RGB(255, 255, 0);

// Rewrites a file as an editor would; should the clock not have moved since the last write, the time is
// moved on, since a change the file system cannot date is no change a list could see.
void Rewrite(fixtures::TempFolder& folder, const std::wstring& name, const fixtures::Bytes& bytes) {
    const std::wstring path = folder.path() + L"\\" + name;
    WIN32_FILE_ATTRIBUTE_DATA before{}, after{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &before);
    folder.Write(name, bytes);
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &after);
    if (CompareFileTime(&before.ftLastWriteTime, &after.ftLastWriteTime) == 0) {
        ULARGE_INTEGER t{{after.ftLastWriteTime.dwLowDateTime, after.ftLastWriteTime.dwHighDateTime}};
        t.QuadPart += 10'000'000;
        FILETIME later{t.LowPart, t.HighPart};
        HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        SetFileTime(file, nullptr, nullptr, &later);
        CloseHandle(file);
    }
}

} // namespace

TEST_CASE("the clip frame, the surface and the scroll bar are laid out in the control") {
    ListFixture list;
    const HWND frame = list.view.ContainerHwnd();
    RECT outer = WindowRectIn(frame, list.view.hwnd());
    CHECK(outer.left == 0);
    CHECK(outer.top == 0);
    CHECK(outer.right == Width);
    CHECK(outer.bottom == Height);
    RECT inner;
    GetClientRect(frame, &inner);
    CHECK(inner.right == Width - 4);
    CHECK(inner.bottom == Height - 4);
    RECT bar = WindowRectIn(list.view.ScrollHwnd(), frame);
    CHECK(bar.left == Width - BarWidth() - 4);
    CHECK(bar.bottom - bar.top == Height - 4);
    RECT surface = WindowRectIn(list.surface(), frame);
    CHECK(surface.right - surface.left == Width - BarWidth() - 3);
    CHECK(surface.bottom - surface.top == 250);
    CHECK(list.view.SurfaceWidth() == Width - BarWidth() - 3);

    SUBCASE("a resize follows the control but keeps the surface height") {
        MoveWindow(list.view.hwnd(), 0, 0, 400, 404, TRUE);
        bar = WindowRectIn(list.view.ScrollHwnd(), frame);
        CHECK(bar.left == 400 - BarWidth() - 4);
        CHECK(bar.bottom - bar.top == 400);
        surface = WindowRectIn(list.surface(), frame);
        CHECK(surface.right - surface.left == 400 - BarWidth() - 3);
        CHECK(surface.bottom - surface.top == 250);
    }
    SUBCASE("focus given to the frame or the control goes to the surface") {
        SetFocus(frame);
        CHECK(GetFocus() == list.surface());
        SetFocus(list.host);
        SetFocus(list.view.hwnd());
        CHECK(GetFocus() == list.surface());
    }
}

TEST_CASE("the surface grows with the items and the scroll range follows") {
    ListFixture list;
    auto surfaceHeight = [&] {
        RECT r;
        GetWindowRect(list.surface(), &r);
        return r.bottom - r.top;
    };
    auto bottomValue = [&] {
        list.ScrollBar(SB_BOTTOM);
        const int value = list.ScrollPos();
        CHECK(list.SurfaceTop() == -value);
        list.ScrollBar(SB_TOP);
        return value;
    };
    list.Fill(5);
    CHECK(surfaceHeight() == 250);
    CHECK(bottomValue() == 50); // a short list may still move by the frame's spare height
    list.Fill(1);
    CHECK(surfaceHeight() == 300);
    CHECK(bottomValue() == 0);
    list.Fill(2);
    CHECK(surfaceHeight() == 400);
    CHECK(bottomValue() == 100);
    list.Fill(11);
    CHECK(list.model.ListCount() == 19);
    CHECK(surfaceHeight() == 950);
    CHECK(bottomValue() == 650);

    SUBCASE("arrows move one row, the trough three rows, within 0 and the maximum") {
        list.ScrollBar(SB_PAGEDOWN);
        CHECK(list.ScrollPos() == 150);
        list.ScrollBar(SB_LINEDOWN);
        CHECK(list.ScrollPos() == 200);
        CHECK(list.SurfaceTop() == -200);
        list.ScrollBar(SB_LINEUP);
        list.ScrollBar(SB_PAGEUP);
        list.ScrollBar(SB_LINEUP);
        CHECK(list.ScrollPos() == 0);
        CHECK(list.SurfaceTop() == 0);
    }
    SUBCASE("scrolling leaves the selection alone") {
        list.model.SelItemKey(L"k2");
        list.ScrollBar(SB_BOTTOM);
        CHECK(list.model.Key() == L"k2");
        CHECK(list.Highlighted(2));
    }
}

TEST_CASE("pressing and dragging select the row under the pointer") {
    ListFixture list;
    SUBCASE("the first and last pixels of each row") {
        list.Fill(8);
        list.Press(0);
        CHECK(list.model.Key() == L"k0");
        list.Press(99);
        CHECK(list.model.Key() == L"k1");
        list.Press(100);
        CHECK(list.model.Key() == L"k2");
        list.Press(399);
        CHECK(list.model.Key() == L"k7");
        CHECK(list.Highlighted(7));
        CHECK_FALSE(list.Highlighted(2));
        list.Press(400); // below the surface: nothing
        CHECK(list.model.Key() == L"k7");
    }
    SUBCASE("any button selects") {
        list.Fill(8);
        list.Send(WM_RBUTTONDOWN, MK_RBUTTON, 10, 160);
        list.Send(WM_RBUTTONUP, 0, 10, 160);
        CHECK(list.model.Key() == L"k3");
        CHECK(list.events == std::vector<std::wstring>{L"MouseUp 2", L"Click"});
    }
    SUBCASE("dragging with the left button alone moves the selection") {
        list.Fill(8);
        list.Send(WM_LBUTTONDOWN, MK_LBUTTON, 100, 60);
        list.Send(WM_MOUSEMOVE, MK_LBUTTON, 100, 175);
        CHECK(list.model.Key() == L"k3");
        list.Send(WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON, 100, 275);
        CHECK(list.model.Key() == L"k3");
        list.Send(WM_MOUSEMOVE, MK_LBUTTON, 100, 275);
        CHECK(list.model.Key() == L"k5");
        list.Send(WM_MOUSEMOVE, 0, 100, 25);
        CHECK(list.model.Key() == L"k5");
        list.Send(WM_LBUTTONUP, 0, 100, 275);
        CHECK(list.Highlighted(5));
        CHECK_FALSE(list.Highlighted(3));
        CHECK(list.events == std::vector<std::wstring>{L"MouseMove 1 100,175", L"MouseMove 3 100,275",
                                                       L"MouseMove 1 100,275", L"MouseMove 0 100,25",
                                                       L"MouseUp 1", L"Click"});
    }
    SUBCASE("a short list highlights an empty row below its items") {
        list.Fill(3);
        list.Press(220);
        CHECK(list.model.SelectedRow() == 4);
        CHECK(list.model.Key() == L"");
        CHECK(list.Highlighted(4));
        list.Press(260);
        CHECK(list.model.SelectedRow() == 4);
    }
}

TEST_CASE("clicks and double-clicks reach the host") {
    ListFixture list;
    list.Fill(8);
    SUBCASE("a double-click gives one Click and one DblClick") {
        list.Send(WM_LBUTTONDOWN, MK_LBUTTON, 100, 120);
        list.Send(WM_LBUTTONUP, 0, 100, 120);
        list.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, 100, 120);
        list.Send(WM_LBUTTONUP, 0, 100, 120);
        CHECK(list.events == std::vector<std::wstring>{L"MouseUp 1", L"Click", L"DblClick", L"MouseUp 1"});
        CHECK(list.model.Key() == L"k2");
    }
    SUBCASE("a release outside the frame is no click") {
        list.Send(WM_LBUTTONDOWN, MK_LBUTTON, 100, 120);
        list.Send(WM_LBUTTONUP, 0, 100, -20);
        list.Send(WM_LBUTTONDOWN, MK_LBUTTON, 100, 120);
        list.Send(WM_LBUTTONUP, 0, 100, 350); // on the surface, but below the frame
        CHECK(list.events == std::vector<std::wstring>{L"MouseUp 1", L"MouseUp 1"});
    }
    SUBCASE("keys and selections by the program raise no Click") {
        list.Key(VK_DOWN);
        list.model.SelItemKey(L"k4");
        list.model.ItemRefresh();
        CHECK(list.events == std::vector<std::wstring>{L"KeyDown 40"});
    }
}

TEST_CASE("keys move the selection and scroll it into view") {
    ListFixture list; // outer frame height 304
    auto at = [&](const wchar_t* key, int value) {
        CHECK(list.model.Key() == key);
        CHECK(list.ScrollPos() == value);
        CHECK(list.SurfaceTop() == -value);
        CHECK(list.Highlighted(list.model.SelectedRow()));
    };
    SUBCASE("Down and Up, one row at a time") {
        list.Fill(8); // scroll maximum 100
        list.model.SelItemKey(L"k0");
        for (int i = 0; i < 5; ++i) list.Key(VK_DOWN);
        at(L"k5", 0);
        list.Key(VK_DOWN);
        at(L"k6", 50);
        list.Key(VK_DOWN);
        at(L"k7", 100);
        list.Key(VK_DOWN); // the last row stays
        at(L"k7", 100);
        for (int i = 0; i < 5; ++i) list.Key(VK_UP);
        at(L"k2", 100);
        list.Key(VK_UP);
        at(L"k1", 50);
        list.Key(VK_UP);
        at(L"k0", 0);
        list.Key(VK_UP); // the first row stays
        at(L"k0", 0);
    }
    SUBCASE("at the ends the scroll test still runs") {
        list.Fill(8);
        list.model.SelItemKey(L"k0");
        list.ScrollBar(SB_BOTTOM);
        list.Key(VK_UP);
        at(L"k0", 50);
        list.model.SelItemKey(L"k7");
        list.ScrollBar(SB_TOP);
        list.Key(VK_DOWN);
        at(L"k7", 50);
    }
    SUBCASE("Page Down and Page Up move four rows and scroll by four") {
        list.Fill(19); // scroll maximum 650
        list.model.SelItemKey(L"k0");
        const std::pair<const wchar_t*, int> down[] = {{L"k4", 200},  {L"k8", 400},  {L"k12", 600},
                                                       {L"k16", 650}, {L"k18", 650}, {L"k18", 650}};
        for (auto [key, value] : down) {
            list.Key(VK_NEXT);
            at(key, value);
        }
        const std::pair<const wchar_t*, int> up[] = {{L"k14", 650}, {L"k10", 450}, {L"k6", 250},
                                                     {L"k2", 50},   {L"k0", 0},    {L"k0", 0}};
        for (auto [key, value] : up) {
            list.Key(VK_PRIOR);
            at(key, value);
        }
    }
    SUBCASE("page keys in a list shorter than the frame") {
        list.Fill(8);
        list.model.SelItemKey(L"k0");
        list.Key(VK_NEXT);
        at(L"k4", 100);
        list.Key(VK_NEXT);
        at(L"k7", 100);
        list.Key(VK_PRIOR);
        at(L"k3", 100);
        list.Key(VK_PRIOR);
        at(L"k0", 0);
    }
    SUBCASE("no other key moves the selection; every key reaches the host") {
        list.Fill(8);
        list.model.SelItemKey(L"k3");
        for (WPARAM key : {WPARAM{VK_HOME}, WPARAM{VK_END}, WPARAM{'K'}, WPARAM{VK_RIGHT}}) list.Key(key);
        at(L"k3", 0);
        SendMessageW(list.surface(), WM_CHAR, 'k', 1);
        SendMessageW(list.surface(), WM_KEYUP, 'K', 1);
        CHECK(list.events == std::vector<std::wstring>{L"KeyDown 36", L"KeyDown 35", L"KeyDown 75",
                                                       L"KeyDown 39", L"KeyPress 107", L"KeyUp 75"});
        CHECK((SendMessageW(list.surface(), WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS) != 0);
    }
}

TEST_CASE("captions are shortened when wider than W - 60") {
    const std::wstring caption = L"Network Neighborhood Workgroup Computers";
    const std::wstring first20 = caption.substr(0, 20) + L" ...", first25 = caption.substr(0, 25) + L" ...";
    ListFixture list;
    const int wide = list.view.CaptionWidth(caption);
    REQUIRE(wide > 60);
    auto setW = [&](int w) {
        MoveWindow(list.view.hwnd(), 0, 0, w + BarWidth() + 3, Height, TRUE);
        REQUIRE(list.view.SurfaceWidth() == w);
    };
    SUBCASE("exactly W - 60 wide is drawn whole") {
        setW(wide + 60);
        list.model.AddItem(caption, L"", 0, L"k0");
        CHECK(list.view.DrawnCaption(0) == caption);
        list.model.ListRefresh();
        CHECK(list.view.DrawnCaption(0) == caption);
    }
    SUBCASE("one pixel wider: 20 characters when added, 25 when drawn again") {
        setW(wide + 59);
        for (const wchar_t* key : {L"k0", L"k1", L"k2"}) list.model.AddItem(caption, L"", 0, key);
        CHECK(list.view.DrawnCaption(0) == first20);
        list.model.SelItemKey(L"k2"); // redraws the first row (left) and the third (taken)
        CHECK(list.view.DrawnCaption(0) == first25);
        CHECK(list.view.DrawnCaption(1) == first20);
        CHECK(list.view.DrawnCaption(2) == first25);
        list.model.ListRefresh();
        CHECK(list.view.DrawnCaption(1) == first25);
        CHECK(list.model.ItemCaption(L"k1") == caption);
        CHECK(list.model.SeledCaption() == caption);
    }
    SUBCASE("a control widened after filling draws its captions whole") {
        setW(wide + 59);
        list.model.AddItem(caption, L"", 0, L"k0");
        REQUIRE(list.view.DrawnCaption(0) == first20);
        setW(wide + 60);
        CHECK(list.view.DrawnCaption(0) == caption);
    }
    SUBCASE("short captions and empty rows") {
        list.model.AddItem(L"Help", L"", 0, L"Help");
        CHECK(list.view.DrawnCaption(0) == L"Help");
        CHECK(list.view.DrawnCaption(1) == L"");
    }
}

TEST_CASE("each row shows the picture its file gives") {
    fixtures::TempFolder folder;
    ListFixture list;
    SUBCASE("icon files, and a missing file draws its caption without an icon") {
        list.model.AddItem(L"Red", folder.Write(L"red.ico", fixtures::IconFileBytes(Red)), 0, L"red");
        list.model.AddItem(L"Gone", folder.path() + L"\\gone.ico", 0, L"gone");
        CHECK(list.IconPixel(0) == Red);
        CHECK(list.IconPixel(1) == GetSysColor(COLOR_WINDOW));
        CHECK(list.view.DrawnCaption(1) == L"Gone");
    }
    SUBCASE("pointer files show their own picture when added and when redrawn") {
        list.model.AddItem(L"Arrow", folder.Write(L"arrow.cur", fixtures::IconFileBytes(Green, 32, true)), 0,
                           L"a");
        list.model.AddItem(L"Busy", folder.Write(L"busy.ani", fixtures::AniFileBytes(Blue)), 0, L"b");
        list.model.AddItem(L"Wait", folder.Write(L"wait.Ani", fixtures::AniFileBytes(Yellow)), 0, L"w");
        for (int pass = 0; pass < 2; ++pass) {
            CAPTURE(pass);
            CHECK(list.IconPixel(0) == Green);
            CHECK(list.IconPixel(1) == Blue);
            CHECK(list.IconPixel(2) == Yellow);
            list.model.ListRefresh();
        }
    }
    SUBCASE("a redraw takes a lower-case .ani file as a cursor; adding extracts its icon") {
        // Extraction picks the 32-pixel image, loading as a cursor the first one.
        const fixtures::Bytes two = fixtures::IconFileBytes({{Cyan, 16}, {Magenta, 32}});
        const std::wstring names[] = {L"two.ani", L"two.ANI", L"my.folder\\two.ani", L"two.ico"};
        for (const auto& name : names) list.model.AddItem(name, folder.Write(name, two), 0, name);
        for (int row = 0; row < 4; ++row) CHECK(list.IconPixel(row) == Magenta);
        list.model.ListRefresh();
        CHECK(list.IconPixel(0) == Cyan);
        for (int row = 1; row < 4; ++row) CHECK(list.IconPixel(row) == Magenta);
        CHECK(FileExtension(folder.path() + L"\\my.folder\\two.ani") == L"folder\\two.ani");
        CHECK(FileExtension(L"C:\\Cursors\\busy") == L"");
    }
}

TEST_CASE("a redraw reads an icon file again only after it changed") {
    fixtures::TempFolder folder;
    ListFixture list;
    const std::wstring red = folder.Write(L"row0.ico", fixtures::IconFileBytes(Red));
    list.model.AddItem(L"Icon", red, 0, L"icon");
    list.model.AddItem(L"Pointer", folder.Write(L"row1.cur", fixtures::IconFileBytes(Green, 32, true)), 0,
                       L"ptr");
    list.model.SelItemKey(L"icon");
    REQUIRE(list.IconPixel(0) == Red);
    REQUIRE(list.IconPixel(1) == Green);
    const auto loadsAfterFirstDraw = list.view.pictures().loads();

    SUBCASE("unchanged files are drawn without opening them") {
        HANDLE locked = CreateFileW(red.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        REQUIRE(locked != INVALID_HANDLE_VALUE);
        list.model.ListRefresh();
        list.model.ListRefresh();
        CloseHandle(locked);
        CHECK(list.IconPixel(0) == Red);
        CHECK(list.IconPixel(1) == Green);
        CHECK(list.view.pictures().loads() == loadsAfterFirstDraw);
    }
    SUBCASE("a rewritten file shows its new picture") {
        Rewrite(folder, L"row0.ico", fixtures::IconFileBytes(Blue));
        list.model.ListRefresh();
        CHECK(list.IconPixel(0) == Blue);
        CHECK(list.IconPixel(1) == Green);
        CHECK(list.view.pictures().loads() == loadsAfterFirstDraw + 1);
        Rewrite(folder, L"row0.ico", fixtures::IconFileBytes(Yellow, 16));
        list.model.ItemRefresh();
        CHECK(list.IconPixel(0) == Yellow);
        Rewrite(folder, L"row1.cur", fixtures::IconFileBytes(Red, 32, true));
        list.model.ListRefresh();
        CHECK(list.IconPixel(1) == Red);
    }
    SUBCASE("a changed item shows its new file at the next refresh") {
        const std::wstring cyan = folder.Write(L"other.ico", fixtures::IconFileBytes(Cyan));
        list.model.Change(L"icon", L"", cyan);
        CHECK(list.IconPixel(0) == Red); // Change draws nothing
        list.model.ItemRefresh();
        CHECK(list.IconPixel(0) == Cyan);
    }
}

TEST_CASE("the highlight follows the selection") {
    SUBCASE("one row at a time, kept by a full refresh") {
        ListFixture list;
        list.Fill(3);
        CHECK_FALSE(list.Highlighted(0)); // added items select the first row without highlighting it
        list.model.SelItemKey(L"k1");
        CHECK(list.Highlighted(1));
        CHECK_FALSE(list.Highlighted(0));
        list.model.ListRefresh();
        CHECK(list.Highlighted(1));
        CHECK_FALSE(list.Highlighted(2));
    }
    SUBCASE("an item added after a selection leaves no stale highlight") {
        ListFixture list;
        list.Fill(3);
        list.model.SelItemKey(L"k2");
        list.Fill(1);
        CHECK(list.model.Key() == L"k0");
        for (int row = 0; row < 5; ++row) CHECK_FALSE(list.Highlighted(row));
        list.model.SelItemKey(L"k1");
        CHECK(list.Highlighted(1));
        CHECK_FALSE(list.Highlighted(2));
    }
    SUBCASE("a model filled before its window shows its rows and selection") {
        fixtures::TempFolder folder;
        IconListModel model;
        model.AddItem(L"Red", folder.Write(L"red.ico", fixtures::IconFileBytes(Red)), 0, L"red");
        model.AddItem(L"Other", L"", 0, L"other");
        model.SelItemKey(L"other");
        HWND host = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 400, 400, nullptr,
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
        {
            ListBoxIcons view(model);
            REQUIRE(view.Create(host, 1, 0, 0, Width, Height));
            CHECK(view.SurfacePixel(31, 25) == Red);
            CHECK(view.SurfacePixel(5, 75) == GetSysColor(COLOR_HIGHLIGHT));
            CHECK(view.DrawnCaption(0) == L"Red");
        }
        // The control is gone; its model goes on without it.
        model.AddItem(L"Late", L"", 0, L"late");
        model.SelItemKey(L"late");
        CHECK(model.Key() == L"late");
        DestroyWindow(host);
    }
}

TEST_CASE("a control destroyed with its parent lets go of the model") {
    IconListModel model;
    HWND host = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 400, 400, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ListBoxIcons view(model);
    REQUIRE(view.Create(host, 1, 0, 0, Width, Height));
    model.AddItem(L"One", L"", 0, L"one");
    DestroyWindow(host);
    CHECK(view.hwnd() == nullptr);
    model.AddItem(L"Two", L"", 0, L"two");
    model.SelItemKey(L"two");
    model.ListRefresh();
    CHECK(model.Key() == L"two");
    CHECK(view.pictures().size() == 0);
}
