// The icon list model on its own, as commands and Apply use it, with the icon references and theme paths its
// items hold; then the list window, driven with the messages a user's clicks and keys send.
#include "controls/list_box_icons.h"
#include "icons/icon_list.h"
#include "icons/icon_location.h"
#include "platform/file_icon.h"
#include "platform/unique_handle.h"
#include "support/dialog_script.h"
#include "support/icon_files.h"
#include "support/leak_check.h"
#include "support/wide_text.h"
#include "themes/path_macros.h"

#include <array>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

const std::wstring OwnExe = L"C:\\Program Files\\Tessaly\\Tessaly.exe";
const ThemeFolders Folders{L"C:\\WINDOWS\\SYSTEM", L"C:\\WINDOWS", L"C:\\Program Files\\Tessaly",
                           L"D:\\Themes"};

// Adds items "Item n" keyed "kn", numbered on from those already there.
void Fill(IconListModel& list, int count) {
    for (int i = list.ListCount(), end = i + count; i < end; ++i)
        list.AddItem(L"Item " + std::to_wstring(i), L"", 0, L"k" + std::to_wstring(i));
}

struct ListFixture {
    ListFixture() {
        REQUIRE(view.Create(host.get(), 10, 0, 0, 300, 304)); // a frame 300 pixels high inside: six rows show
        view.events().Click = [this] { events.push_back(L"Click"); };
        view.events().MouseUp = [this](std::int16_t button, std::int16_t, float, float) {
            events.push_back(L"MouseUp " + std::to_wstring(button));
        };
    }

    HWND surface() const { return view.lstMainHwnd(); }
    void Send(UINT message, WPARAM wParam, int y) {
        SendMessageW(surface(), message, wParam, MAKELPARAM(100, y));
    }
    void Press(int y) {
        Send(WM_LBUTTONDOWN, MK_LBUTTON, y);
        Send(WM_LBUTTONUP, 0, y);
    }
    void Key(WPARAM key) { SendMessageW(surface(), WM_KEYDOWN, key, 1); }
    void ScrollBar(WORD request) {
        SendMessageW(view.ContainerHwnd(), WM_VSCROLL, request, reinterpret_cast<LPARAM>(view.ScrollHwnd()));
    }
    int ScrollPos() const { return GetScrollPos(view.ScrollHwnd(), SB_CTL); }
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
    OwnerWindow host{WS_CLIPCHILDREN};
    ListBoxIcons view{model};
    Strings events;
};

const COLORREF Red = RGB(255, 0, 0), Green = RGB(0, 255, 0), Blue = RGB(0, 0, 255), Cyan = RGB(0, 255, 255),
               Magenta = RGB(255, 0, 255), Yellow = RGB(255, 255, 0);

// Rewrites a file and dates it later than any earlier version: a list sees a change only through the file's
// date and size, and the clock may not have moved since the last write.
void Rewrite(const TempMachine& machine, const std::wstring& name, const std::string& bytes) {
    static DWORD later = 0;
    FILETIME time;
    GetSystemTimeAsFileTime(&time);
    time.dwHighDateTime += ++later; // about seven minutes a step
    UniqueFile file(CreateFileW(machine.Write(machine.root, name, bytes).c_str(), FILE_WRITE_ATTRIBUTES, 0,
                                nullptr, OPEN_EXISTING, 0, nullptr));
    REQUIRE(SetFileTime(file.get(), nullptr, nullptr, &time));
}

} // namespace

TEST_CASE("a list holds 19 items; a 20th is refused and changes nothing") {
    IconListModel list;
    Fill(list, IconListModel::Capacity);
    CHECK(list.ListCount() == 19);
    list.SelItemIndex(4);
    CHECK_FALSE(list.AddItem(L"Extra", L"x.ico", 0, L"extra"));
    CHECK(list.ListCount() == 19);
    CHECK(list.ItemCaption(L"extra") == L"");
    CHECK(list.Key() == L"k4");
    list.SelItemIndex(18);
    CHECK(list.SeledListIndex() == L"18");
}

TEST_CASE("selection by surface pixel, key and index") {
    IconListModel list;
    SUBCASE("a short list keeps five rows; its empty rows select with empty answers") {
        Fill(list, 3);
        list.SelectAt(249);
        CHECK(list.SelectedRow() == 4);
        CHECK(list.Key() + list.SeledCaption() + list.SeledFullIconPath() + list.SeledListIndex() == L"");
        list.SelectAt(250);
        CHECK(list.SelectedRow() == 4);
        Fill(list, 3); // a sixth row: the surface grows; adding selects the first row again
        CHECK(list.Key() == L"k0");
        list.SelectAt(299);
        CHECK(list.SelectedRow() == 5);
    }
    SUBCASE("a key no item has, or has in another letter case, selects the first row") {
        Fill(list, 7);
        list.SelItemKey(L"k5");
        CHECK(list.Key() == L"k5");
        list.SelItemKey(L"K3");
        CHECK(list.Key() == L"k0");
        list.SelItemKey(L"k5");
        list.SelItemKey(L"nothing");
        CHECK(list.Key() == L"k0");
    }
    SUBCASE("by index, inside the surface only") {
        Fill(list, 7);
        list.SelItemIndex(6);
        list.SelItemIndex(7);
        list.SelItemIndex(-1);
        CHECK(list.Key() == L"k6");
    }
}

TEST_CASE("items read by key") {
    IconListModel list(OwnExe, &Folders);
    list.AddItem(L"Normal Select", OwnExe, 1, L"Normal Select");
    list.AddItem(L"Busy", L"C:\\WINDOWS\\Cursors\\hourglas.ani", 0, L"Busy");
    CHECK(list.ItemFullPathmouse(L"Busy") == L"C:\\WINDOWS\\Cursors\\hourglas.ani");
    // The program's own file stands for the Windows default pointer.
    CHECK(list.ItemFullPathmouse(L"Normal Select") == L"");
    CHECK(list.ItemFullPath(L"Normal Select") == OwnExe + L",1");
    for (const wchar_t* unknown : {L"Recycle Bin", L"busy"}) // every answer empty
        CHECK(list.ItemFullPath(unknown) + list.ItemFullPathmouse(unknown) + list.ItemCaption(unknown) ==
              L"");
}

TEST_CASE("Change replaces only the fields it is given") {
    IconListModel list(OwnExe, &Folders);
    list.AddItem(L"My Computer", L"C:\\WINDOWS\\explorer.exe", 0, L"My Computer");
    list.AddItem(L"Recycle Bin (empty)", L"C:\\WINDOWS\\SYSTEM\\shell32.dll", 31, L"Recycle Bin (empty)");
    const std::wstring key = L"Recycle Bin (empty)", before = L"C:\\WINDOWS\\SYSTEM\\shell32.dll,31";

    SUBCASE("the path is a reference: a leading theme macro expands, the last comma separates") {
        const std::pair<const wchar_t*, std::wstring> rows[] = {
            {L"%WinDir%bin.ico,3", L"C:\\WINDOWS\\bin.ico,3"},
            {L"C:\\Icons\\bin.ico", L"C:\\Icons\\bin.ico,0"},
            {L"C:\\My,Icons\\set.dll, 12 ", L"C:\\My,Icons\\set.dll,12"},
        };
        for (const auto& [reference, shown] : rows) {
            CAPTURE(std::wstring(reference));
            CHECK(list.Change(key, L"", reference));
            CHECK(list.ItemFullPath(key) == shown);
            CHECK(list.ItemCaption(key) == L"Recycle Bin (empty)");
        }
    }
    SUBCASE("empty texts and -1 leave their fields") {
        CHECK_FALSE(list.Change(key, L"", L"", -1));
        CHECK(list.ItemFullPath(key) == before);
        CHECK(list.Change(key, L"Wastebasket (empty)", L""));
        CHECK(list.ItemCaption(key) == L"Wastebasket (empty)");
        CHECK(list.ItemFullPath(key) == before);
        CHECK(list.Change(key, L"", L"", 7));
        CHECK(list.ItemFullPath(key) == L"C:\\WINDOWS\\SYSTEM\\shell32.dll,7");
        CHECK(list.Change(key, L"", L"%WinDir%a,b.dll", 5)); // an explicit index takes the path as it stands
        CHECK(list.ItemFullPath(key) == L"%WinDir%a,b.dll,5");
    }
    SUBCASE("an index part that is no 16-bit number leaves the whole item unchanged") {
        for (const wchar_t* reference : {L"C:\\Icons\\bin.ico,abc", L"C:\\Icons\\bin.ico,40000"}) {
            CAPTURE(std::wstring(reference));
            CHECK_FALSE(list.Change(key, L"New caption", reference));
            CHECK(list.ItemFullPath(key) == before);
            CHECK(list.ItemCaption(key) == L"Recycle Bin (empty)");
        }
    }
    SUBCASE("only the item with that exact key changes") {
        CHECK_FALSE(list.Change(L"recycle bin (empty)", L"X", L"C:\\x.ico,1"));
        CHECK(list.Change(L"My Computer", L"This PC", L"C:\\pc.ico,0"));
        CHECK(list.ItemFullPath(key) == before);
        CHECK(list.ItemCaption(L"My Computer") == L"This PC");
    }
}

TEST_CASE("an icon reference splits at its last comma; an index part that is no 16-bit number is unusable") {
    const std::tuple<const wchar_t*, const wchar_t*, int, bool> rows[] = {
        {L"C:\\Sun, Moon\\sky.dll,12", L"C:\\Sun, Moon\\sky.dll", 12, true},
        {L"C:\\Icons\\sun.ico", L"C:\\Icons\\sun.ico", 0, false}, // no comma: index 0
        {L"x.dll, -5 ", L"x.dll", -5, true},
        {L"x.dll,32767", L"x.dll", 32767, true},
        {L"x.dll,-32768", L"x.dll", -32768, true},
    };
    for (auto [reference, file, index, comma] : rows) {
        CAPTURE(std::wstring(reference));
        const SplitLocation s = SplitIconLocation(reference);
        CHECK(s.file == file);
        CHECK(s.index == index);
        CHECK(s.hadComma == comma);
    }
    for (const wchar_t* unusable : {L"x.dll,32768", L"x.dll,-32769", L"x.dll,99999999999999999999", L"x.dll,",
                                    L"x.dll,3a", L"x.dll,1.5", L"x.dll,-", L"x.dll,0x10"}) {
        CAPTURE(std::wstring(unusable));
        CHECK_FALSE(SplitIconLocation(unusable).usable());
        CHECK(SplitIconLocation(unusable).file == L"x.dll");
    }
}

TEST_CASE("expanding a stored path replaces a leading macro, letter case counting") {
    const std::pair<const wchar_t*, const wchar_t*> rows[] = {
        {L"%ThemeDir%sun.ico", L"D:\\Themes\\sun.ico"},
        {L"%Folder%sun.ico", L"D:\\Themes\\sun.ico"},
        {L"%WinSysDir%shell32.dll", L"C:\\WINDOWS\\SYSTEM\\shell32.dll"},
        {L"%WinDir%x.ico", L"C:\\WINDOWS\\x.ico"},
        {L"%AppDir%Tessaly.exe", L"C:\\Program Files\\Tessaly\\Tessaly.exe"},
        {L"%windir%x.ico", L"%windir%x.ico"},
        {L"x.ico", L"x.ico"},
        // Hand-written files may put a backslash after the macro; the doubled one is harmless.
        {L"%WinDir%\\x.ico", L"C:\\WINDOWS\\\\x.ico"},
    };
    for (auto [stored, expanded] : rows) CHECK(ExpandThemePath(stored, Folders) == expanded);
}

TEST_CASE_FIXTURE(ListFixture, "the surface grows with the items and the scroll range follows") {
    // added, height, max: a list that fits its frame does not scroll
    const int steps[][3] = {{5, 250, 0}, {1, 300, 0}, {2, 400, 100}, {11, 950, 650}};
    for (auto [added, height, bottom] : steps) {
        CAPTURE(added);
        Fill(model, added);
        RECT r;
        GetWindowRect(surface(), &r);
        CHECK(r.bottom - r.top == height);
        ScrollBar(SB_BOTTOM);
        CHECK(ScrollPos() == bottom);
        CHECK(SurfaceTop() == -bottom);
        ScrollBar(SB_TOP);
    }
    model.SelItemKey(L"k2");
    const std::pair<WORD, int> moves[] = {
        {SB_PAGEDOWN, 150}, {SB_LINEDOWN, 200}, {SB_LINEUP, 150}, {SB_PAGEUP, 0}, {SB_LINEUP, 0}};
    for (auto [request, value] : moves) {
        ScrollBar(request);
        CHECK(ScrollPos() == value);
        CHECK(SurfaceTop() == -value);
    }
    CHECK(model.Key() == L"k2"); // scrolling leaves the selection alone
    CHECK(Highlighted(2));
}

TEST_CASE_FIXTURE(ListFixture, "pressing and dragging select the row under the pointer") {
    Fill(model, 8);
    SUBCASE("the first and last pixels of each row; below the surface nothing") {
        const std::pair<int, const wchar_t*> presses[] = {
            {0, L"k0"}, {99, L"k1"}, {100, L"k2"}, {399, L"k7"}, {400, L"k7"}};
        for (auto [y, key] : presses) {
            Press(y);
            CHECK(model.Key() == key);
        }
    }
    SUBCASE("dragging with the left button alone moves the selection") {
        Send(WM_LBUTTONDOWN, MK_LBUTTON, 60);
        const std::tuple<WPARAM, int, const wchar_t*> moves[] = {{MK_LBUTTON, 175, L"k3"},
                                                                 {MK_LBUTTON | MK_RBUTTON, 275, L"k3"},
                                                                 {MK_LBUTTON, 275, L"k5"},
                                                                 {0, 25, L"k5"}};
        for (auto [buttons, y, key] : moves) {
            Send(WM_MOUSEMOVE, buttons, y);
            CHECK(model.Key() == key);
        }
        Send(WM_LBUTTONUP, 0, 275);
        CHECK(events == Strings{L"MouseUp 1", L"Click"});
    }
    SUBCASE("the right button selects too; a release outside the frame is no click") {
        Send(WM_RBUTTONDOWN, MK_RBUTTON, 160);
        Send(WM_RBUTTONUP, 0, 160);
        CHECK(model.Key() == L"k3");
        Send(WM_LBUTTONDOWN, MK_LBUTTON, 120);
        Send(WM_LBUTTONUP, 0, 350); // on the surface, but below the frame
        CHECK(events == Strings{L"MouseUp 2", L"Click", L"MouseUp 1"});
    }
}

TEST_CASE("keys move the selection and scroll it into view") {
    struct Step {
        WPARAM key;
        int times;
        const wchar_t* selected;
        int scroll;
    };
    ListFixture list;
    auto run = [&list](const auto& steps) {
        for (const Step& step : steps) {
            for (int i = 0; i < step.times; ++i) list.Key(step.key);
            CHECK(list.model.Key() == step.selected);
            CHECK(list.ScrollPos() == step.scroll);
            CHECK(list.SurfaceTop() == -step.scroll);
            CHECK(list.Highlighted(list.model.SelectedRow()));
        }
    };
    SUBCASE("a list a little longer than the frame: the first and last rows stay, other keys do nothing") {
        Fill(list.model, 8); // scroll maximum 100
        list.model.SelItemKey(L"k0");
        const Step steps[] = {{VK_NEXT, 1, L"k4", 100}, {VK_NEXT, 1, L"k7", 100}, {VK_PRIOR, 1, L"k3", 100},
                              {VK_PRIOR, 1, L"k0", 0},  {VK_DOWN, 5, L"k5", 0},   {VK_DOWN, 1, L"k6", 50},
                              {VK_DOWN, 1, L"k7", 100}, {VK_DOWN, 1, L"k7", 100}, {VK_HOME, 1, L"k7", 100},
                              {VK_UP, 5, L"k2", 100},   {VK_UP, 1, L"k1", 50},    {VK_UP, 1, L"k0", 0},
                              {VK_UP, 1, L"k0", 0},     {VK_END, 1, L"k0", 0},    {'K', 1, L"k0", 0}};
        run(steps);
        CHECK(list.events.empty()); // keys raise no Click
        CHECK((SendMessageW(list.surface(), WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS) != 0);
        list.ScrollBar(SB_BOTTOM); // at the ends the view still scrolls a row towards the selection
        run(std::array{Step{VK_UP, 1, L"k0", 50}});
    }
    SUBCASE("Page Down and Page Up move four rows and scroll by four") {
        Fill(list.model, 19); // scroll maximum 650
        list.model.SelItemKey(L"k0");
        const Step steps[] = {
            {VK_NEXT, 1, L"k4", 200},  {VK_NEXT, 2, L"k12", 600},  {VK_NEXT, 1, L"k16", 650},
            {VK_NEXT, 2, L"k18", 650}, {VK_PRIOR, 1, L"k14", 650}, {VK_PRIOR, 1, L"k10", 450},
            {VK_PRIOR, 2, L"k2", 50},  {VK_PRIOR, 1, L"k0", 0},    {VK_PRIOR, 1, L"k0", 0}};
        run(steps);
    }
}

TEST_CASE("captions wider than W - 60 are shortened") {
    const std::wstring caption = L"Network Neighborhood Workgroup Computers";
    const std::wstring first20 = caption.substr(0, 20) + L" ...", first25 = caption.substr(0, 25) + L" ...";
    ListFixture list;
    const int wide = list.view.CaptionWidth(caption);
    auto setW = [&](int w) {
        MoveWindow(list.view.hwnd(), 0, 0, w + GetSystemMetrics(SM_CXVSCROLL) + 3, 304, TRUE);
        REQUIRE(list.view.SurfaceWidth() == w);
    };
    SUBCASE("exactly W - 60 wide is drawn whole") {
        setW(wide + 60);
        list.model.AddItem(caption, L"", 0, L"k0");
        CHECK(list.view.DrawnCaption(0) == caption);
    }
    SUBCASE("one pixel wider: 20 characters when added, 25 when drawn again") {
        setW(wide + 59);
        for (const wchar_t* key : {L"k0", L"k1", L"k2"}) list.model.AddItem(caption, L"", 0, key);
        CHECK(list.view.DrawnCaption(0) == first20);
        list.model.SelItemKey(L"k2"); // redraws the row left and the row taken
        CHECK(list.view.DrawnCaption(0) == first25);
        CHECK(list.view.DrawnCaption(1) == first20);
        CHECK(list.view.DrawnCaption(2) == first25);
        list.model.ListRefresh();
        CHECK(list.view.DrawnCaption(1) == first25);
        CHECK(list.model.ItemCaption(L"k1") == caption);
        setW(wide + 60); // widened after filling: whole again
        CHECK(list.view.DrawnCaption(1) == caption);
    }
}

TEST_CASE("each row shows the picture its file gives") {
    TempMachine machine;
    const std::wstring& folder = machine.root;
    ListFixture list;
    SUBCASE("an icon file; a missing file and a program without icons drawn as their captions alone") {
        const std::wstring red = machine.Write(folder, L"red.ico", ColourIconBytes({{Red}}));
        const std::wstring program = machine.Copy(L"no_icons.dll", folder);
        list.model.AddItem(L"Red", red, 0, L"red");
        list.model.AddItem(L"Gone", folder + L"\\gone.ico", 0, L"gone");
        list.model.AddItem(L"Program", program, 0, L"program");
        CHECK(list.IconPixel(0) == Red);
        CHECK(list.IconPixel(1) == GetSysColor(COLOR_WINDOW));
        CHECK(list.view.DrawnCaption(1) == L"Gone");
        CHECK(list.IconPixel(2) == GetSysColor(COLOR_WINDOW));
        // A file that is not there is not read at all; a program is no cursor file.
        CHECK(list.view.pictures().loads() == 2);
        CHECK(IsProgramFile(program));
        CHECK_FALSE(IsProgramFile(red));
    }
    SUBCASE("pointer files give no icon to extract but show their cursor, when added and redrawn") {
        list.model.AddItem(
            L"", machine.Write(folder, L"a.cur", ColourIconBytes({{Green}}, IconFileKind::Cursor)), 0, L"a");
        list.model.AddItem(L"", machine.Write(folder, L"b.ani", ColourAnimatedCursorBytes(Blue)), 0, L"b");
        list.model.AddItem(L"", machine.Write(folder, L"c.Ani", ColourAnimatedCursorBytes(Yellow)), 0, L"c");
        for (int pass = 0; pass < 2; ++pass, list.model.ListRefresh()) {
            CHECK(list.IconPixel(0) == Green);
            CHECK(list.IconPixel(1) == Blue);
            CHECK(list.IconPixel(2) == Yellow);
        }
    }
    SUBCASE("a redraw loads a file as a cursor only for lower-case \"ani\" after the path's first dot") {
        // Extracting picks the 32-pixel image; loading as a cursor takes the first, 16-pixel one.
        const std::string two = ColourIconBytes({{Cyan, 16}, {Magenta, 32}});
        machine.MakeFolder(L"my.folder");
        const std::wstring names[] = {L"two.ani", L"two.ANI", L"my.folder\\two.ani", L"two.ico"};
        for (const auto& name : names) list.model.AddItem(name, machine.Write(folder, name, two), 0, name);
        for (int row = 0; row < 4; ++row) CHECK(list.IconPixel(row) == Magenta);
        list.model.ListRefresh();
        CHECK(list.IconPixel(0) == Cyan);
        for (int row = 1; row < 4; ++row) CHECK(list.IconPixel(row) == Magenta);
    }
}

TEST_CASE("a redraw never shows a stale icon, and reads only files that changed") {
    TempMachine machine;
    ListFixture list;
    const std::wstring red = machine.Write(machine.root, L"row0.ico", ColourIconBytes({{Red}}));
    const std::wstring cur =
        machine.Write(machine.root, L"row1.cur", ColourIconBytes({{Green}}, IconFileKind::Cursor));
    list.model.AddItem(L"Icon", red, 0, L"icon");
    list.model.AddItem(L"Pointer", cur, 0, L"ptr");
    list.model.SelItemKey(L"icon");
    const auto loads = list.view.pictures().loads();
    list.model.ListRefresh();
    CHECK(list.view.pictures().loads() == loads);

    Rewrite(machine, L"row0.ico", ColourIconBytes({{Blue}}));
    list.model.ListRefresh();
    CHECK(list.IconPixel(0) == Blue);
    CHECK(list.IconPixel(1) == Green);
    CHECK(list.view.pictures().loads() == loads + 1);
    Rewrite(machine, L"row0.ico", ColourIconBytes({{Yellow, 16}}));
    list.model.ItemRefresh();
    CHECK(list.IconPixel(0) == Yellow);
    Rewrite(machine, L"row1.cur", ColourIconBytes({{Red}}, IconFileKind::Cursor));
    list.model.ListRefresh();
    CHECK(list.IconPixel(1) == Red);

    list.model.Change(L"icon", L"", machine.Write(machine.root, L"other.ico", ColourIconBytes({{Cyan}})));
    list.model.ItemRefresh();
    CHECK(list.IconPixel(0) == Cyan);
}

TEST_CASE("the highlight follows the selection; the list's life leaves no handle behind") {
    const HandleCounts handles = LiveHandleCounts();
    auto list = std::make_unique<ListFixture>();
    Fill(list->model, 3);
    CHECK_FALSE(list->Highlighted(0)); // added items select the first row without highlighting it
    list->model.SelItemKey(L"k2");
    Fill(list->model, 1); // selects the first row again: no highlight may be left behind on row 2
    CHECK(list->model.Key() == L"k0");
    for (int row = 0; row < 5; ++row) CHECK_FALSE(list->Highlighted(row));
    list->model.SelItemKey(L"k1");
    list->model.ListRefresh();
    CHECK(list->Highlighted(1));
    CHECK_FALSE(list->Highlighted(2));
    list->Press(220); // a short list highlights the empty row below its items
    CHECK(list->model.SelectedRow() == 4);
    CHECK(list->Highlighted(4));
    list.reset();
    CHECK(LiveHandleCounts() == handles);
}

TEST_CASE_FIXTURE(ListFixture, "a control destroyed with its parent lets go of the model") {
    Fill(model, 1);
    DestroyWindow(host.get());
    CHECK(view.hwnd() == nullptr);
    Fill(model, 1);
    model.SelItemKey(L"k1");
    model.ListRefresh();
    CHECK(model.Key() == L"k1");
    CHECK(view.pictures().size() == 0);
}
