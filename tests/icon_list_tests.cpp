// The icon list model on its own: no window, as commands and Apply use it.
#include "icons/icon_list.h"

#include <doctest/doctest.h>

#include <string>
#include <vector>

namespace {

const std::wstring OwnExe = L"C:\\Program Files\\Tessaly\\Tessaly.exe";
const ThemeFolders Folders{L"C:\\WINDOWS\\SYSTEM", L"C:\\WINDOWS", L"C:\\Program Files\\Tessaly",
                           L"D:\\Themes"};

// A list of `count` items: captions "Item 0"..., keys "k0"..., files "f0.ico"... at index = position.
void Fill(IconListModel& list, int count) {
    for (int i = 0; i < count; ++i) {
        const std::wstring n = std::to_wstring(i);
        list.AddItem(L"Item " + n, L"f" + n + L".ico", static_cast<std::int16_t>(i), L"k" + n);
    }
}

struct RecordingObserver : IconListModel::Observer {
    void ItemAdded(int row) override { calls.push_back(L"add " + std::to_wstring(row)); }
    void SelectionChanged(int oldRow, int newRow) override {
        calls.push_back(L"select " + std::to_wstring(oldRow) + L"->" + std::to_wstring(newRow));
    }
    void Redraw(int row) override { calls.push_back(L"redraw " + std::to_wstring(row)); }
    std::vector<std::wstring> calls;
};

} // namespace

TEST_CASE("AddItem appends in order up to 19 items") {
    IconListModel list(OwnExe, &Folders);
    CHECK(list.ListCount() == 0);
    CHECK(list.Key() == L"");
    for (int i = 0; i < IconListModel::Capacity; ++i) {
        CHECK(list.AddItem(L"Item", L"f.ico", 0, L"k" + std::to_wstring(i)));
        CHECK(list.ListCount() == i + 1);
    }
    SUBCASE("position texts follow insertion order") {
        list.SelItemIndex(12);
        CHECK(list.SeledListIndex() == L"12");
        CHECK(list.Key() == L"k12");
        CHECK(list.ListIndex() == doctest::Approx(12.0));
    }
    SUBCASE("a 20th item is refused and changes nothing") {
        list.SelItemIndex(4);
        CHECK_FALSE(list.AddItem(L"Extra", L"x.ico", 0, L"extra"));
        CHECK(list.ListCount() == 19);
        CHECK(list.ItemCaption(L"extra") == L"");
        CHECK(list.Key() == L"k4");
    }
    SUBCASE("adding puts the selection back on the first row") {
        IconListModel small;
        Fill(small, 3);
        small.SelItemKey(L"k2");
        REQUIRE(small.Key() == L"k2");
        small.AddItem(L"Late", L"late.ico", 0, L"late");
        CHECK(small.SelectedRow() == 0);
        CHECK(small.Key() == L"k0");
    }
}

TEST_CASE("selection by surface pixel") {
    IconListModel list;
    SUBCASE("rows are 50 pixels; the first and last pixels of the surface select") {
        Fill(list, 8); // surface 400 pixels high
        CHECK(list.SurfaceHeight() == 400);
        list.SelectAt(49);
        CHECK(list.Key() == L"k0");
        list.SelectAt(50);
        CHECK(list.Key() == L"k1");
        list.SelectAt(399);
        CHECK(list.Key() == L"k7");
        CHECK(list.SeledCaption() == L"Item 7");
        CHECK(list.SeledIconPath() == L"f7.ico");
        CHECK(list.SeledIconIndex() == 7);
        CHECK(list.SeledFullIconPath() == L"f7.ico,7");
        list.SelectAt(0);
        CHECK(list.Key() == L"k0");
    }
    SUBCASE("pixels outside the surface change nothing") {
        Fill(list, 8);
        list.SelectAt(120);
        list.SelectAt(-1);
        CHECK(list.Key() == L"k2");
        list.SelectAt(400);
        CHECK(list.Key() == L"k2");
    }
    SUBCASE("a short list keeps five rows; its empty rows select with empty answers") {
        Fill(list, 3);
        CHECK(list.SurfaceHeight() == 250);
        list.SelectAt(249);
        CHECK(list.SelectedRow() == 4);
        CHECK(list.Key() == L"");
        CHECK(list.SeledKey() == L"");
        CHECK(list.SeledCaption() == L"");
        CHECK(list.SeledIconPath() == L"");
        CHECK(list.SeledIconIndex() == 0);
        CHECK(list.SeledFullIconPath() == L"");
        CHECK(list.SeledListIndex() == L"");
        list.SelectAt(250);
        CHECK(list.SelectedRow() == 4);
    }
    SUBCASE("the surface grows with the sixth item") {
        Fill(list, 5);
        CHECK(list.SurfaceHeight() == 250);
        Fill(list, 1);
        CHECK(list.SurfaceHeight() == 300);
    }
}

TEST_CASE("selection by key and by index") {
    IconListModel list;
    Fill(list, 7);
    list.SelItemKey(L"k5");
    REQUIRE(list.Key() == L"k5");
    SUBCASE("a key no item has selects the first row") {
        list.SelItemKey(L"nothing");
        CHECK(list.Key() == L"k0");
    }
    SUBCASE("keys compare with letter case") {
        list.SelItemKey(L"K3");
        CHECK(list.Key() == L"k0");
    }
    SUBCASE("the first of two items with one key wins") {
        list.AddItem(L"Twin", L"twin.ico", 0, L"k3"); // resets to row 0
        list.SelItemKey(L"k3");
        CHECK(list.SelectedRow() == 3);
        CHECK(list.ItemCaption(L"k3") == L"Item 3");
    }
    SUBCASE("an empty list selects its first (empty) row") {
        IconListModel empty;
        empty.SelItemKey(L"k0");
        CHECK(empty.SelectedRow() == 0);
        CHECK(empty.Key() == L"");
    }
    SUBCASE("by index, inside the surface only") {
        list.SelItemIndex(6);
        CHECK(list.Key() == L"k6");
        list.SelItemIndex(7); // beyond the 350-pixel surface
        CHECK(list.Key() == L"k6");
        list.SelItemIndex(-1);
        CHECK(list.Key() == L"k6");
    }
    SUBCASE("refreshing keeps the selected row") {
        list.ItemRefresh();
        CHECK(list.Key() == L"k5");
        list.ListRefresh();
        CHECK(list.Key() == L"k5");
    }
}

TEST_CASE("items read by key") {
    IconListModel list(OwnExe, &Folders);
    list.AddItem(L"Normal Select", OwnExe, 1, L"Normal Select");
    list.AddItem(L"Busy", L"C:\\WINDOWS\\Cursors\\hourglas.ani", 0, L"Busy");
    list.AddItem(L"My Computer", L"C:\\WINDOWS\\explorer.exe", 0, L"My Computer");
    SUBCASE("the icon reference, the file alone and the caption") {
        CHECK(list.ItemFullPath(L"My Computer") == L"C:\\WINDOWS\\explorer.exe,0");
        CHECK(list.ItemFullPathmouse(L"Busy") == L"C:\\WINDOWS\\Cursors\\hourglas.ani");
        CHECK(list.ItemCaption(L"Busy") == L"Busy");
    }
    SUBCASE("the program's own file stands for the Windows default pointer") {
        CHECK(list.ItemFullPathmouse(L"Normal Select") == L"");
        CHECK(list.ItemFullPath(L"Normal Select") == OwnExe + L",1");
    }
    SUBCASE("unknown keys give empty text") {
        CHECK(list.ItemFullPath(L"Recycle Bin") == L"");
        CHECK(list.ItemFullPathmouse(L"Recycle Bin") == L"");
        CHECK(list.ItemCaption(L"Recycle Bin") == L"");
        CHECK(list.ItemCaption(L"my computer") == L"");
    }
}

TEST_CASE("Change replaces only the fields it is given") {
    IconListModel list(OwnExe, &Folders);
    list.AddItem(L"My Computer", L"C:\\WINDOWS\\explorer.exe", 0, L"My Computer");
    list.AddItem(L"Recycle Bin (empty)", L"C:\\WINDOWS\\SYSTEM\\shell32.dll", 31, L"Recycle Bin (empty)");
    const std::wstring key = L"Recycle Bin (empty)";

    SUBCASE("empty caption, empty path and -1 change nothing") {
        CHECK_FALSE(list.Change(key, L"", L"", -1));
        CHECK(list.ItemFullPath(key) == L"C:\\WINDOWS\\SYSTEM\\shell32.dll,31");
        CHECK(list.ItemCaption(key) == L"Recycle Bin (empty)");
    }
    SUBCASE("a caption alone") {
        CHECK(list.Change(key, L"Wastebasket (empty)", L""));
        CHECK(list.ItemCaption(key) == L"Wastebasket (empty)");
        CHECK(list.ItemFullPath(key) == L"C:\\WINDOWS\\SYSTEM\\shell32.dll,31");
    }
    SUBCASE("without an index the path is a reference with a theme macro") {
        CHECK(list.Change(key, L"", L"%WinDir%bin.ico,3"));
        CHECK(list.ItemFullPath(key) == L"C:\\WINDOWS\\bin.ico,3");
        list.Change(key, L"", L"%WinSysDir%shell32.dll,32");
        CHECK(list.ItemFullPath(key) == L"C:\\WINDOWS\\SYSTEM\\shell32.dll,32");
        list.Change(key, L"", L"%Folder%sun.ico");
        CHECK(list.ItemFullPath(key) == L"D:\\Themes\\sun.ico,0");
    }
    SUBCASE("a macro in another letter case is kept as written") {
        list.Change(key, L"", L"%windir%bin.ico,2");
        CHECK(list.ItemFullPath(key) == L"%windir%bin.ico,2");
    }
    SUBCASE("a reference without a comma is index 0 of that file") {
        CHECK(list.Change(key, L"", L"C:\\Icons\\bin.ico"));
        CHECK(list.ItemFullPath(key) == L"C:\\Icons\\bin.ico,0");
    }
    SUBCASE("the last comma separates") {
        list.Change(key, L"", L"C:\\My,Icons\\set.dll, 12 ");
        CHECK(list.ItemFullPath(key) == L"C:\\My,Icons\\set.dll,12");
    }
    SUBCASE("an index part that is no 16-bit number leaves the whole item unchanged") {
        for (const wchar_t* reference : {L"C:\\Icons\\bin.ico,abc", L"C:\\Icons\\bin.ico,",
                                         L"C:\\Icons\\bin.ico,40000", L"C:\\Icons\\bin.ico,1.5"}) {
            CAPTURE(std::wstring(reference));
            CHECK_FALSE(list.Change(key, L"New caption", reference));
            CHECK(list.ItemFullPath(key) == L"C:\\WINDOWS\\SYSTEM\\shell32.dll,31");
            CHECK(list.ItemCaption(key) == L"Recycle Bin (empty)");
        }
    }
    SUBCASE("an explicit index takes the path as it stands") {
        CHECK(list.Change(key, L"", L"%WinDir%a,b.dll", 5));
        CHECK(list.ItemFullPath(key) == L"%WinDir%a,b.dll,5");
        CHECK(list.Change(key, L"", L"", 7));
        CHECK(list.ItemFullPath(key) == L"%WinDir%a,b.dll,7");
    }
    SUBCASE("an unknown key changes no item") {
        CHECK_FALSE(list.Change(L"recycle bin (empty)", L"X", L"C:\\x.ico,1"));
        CHECK(list.ItemFullPath(key) == L"C:\\WINDOWS\\SYSTEM\\shell32.dll,31");
        CHECK(list.ItemFullPath(L"My Computer") == L"C:\\WINDOWS\\explorer.exe,0");
    }
    SUBCASE("only the matching item changes") {
        list.Change(L"My Computer", L"This PC", L"C:\\pc.ico,0");
        CHECK(list.ItemCaption(L"My Computer") == L"This PC");
        CHECK(list.ItemCaption(key) == L"Recycle Bin (empty)");
    }
}

TEST_CASE("the model tells its view what to draw") {
    IconListModel list;
    RecordingObserver view;
    list.SetObserver(&view);
    Fill(list, 3);
    CHECK(view.calls == std::vector<std::wstring>{L"add 0", L"add 1", L"add 2"});
    view.calls.clear();

    SUBCASE("a selection names the row left and the row taken") {
        list.SelectAt(120);
        list.SelectAt(-5);
        CHECK(view.calls == std::vector<std::wstring>{L"select 0->2"});
    }
    SUBCASE("Change draws nothing; the refreshes do") {
        list.SelItemIndex(1);
        view.calls.clear();
        list.Change(L"k1", L"Renamed", L"");
        CHECK(view.calls.empty());
        list.ItemRefresh();
        CHECK(view.calls == std::vector<std::wstring>{L"select 1->1"});
        view.calls.clear();
        list.ListRefresh();
        CHECK(view.calls == std::vector<std::wstring>{L"redraw -1", L"select 1->1"});
    }
    SUBCASE("a detached view hears nothing") {
        list.SetObserver(nullptr);
        list.AddItem(L"Late", L"late.ico", 0, L"late");
        list.SelectAt(0);
        CHECK(view.calls.empty());
    }
}
