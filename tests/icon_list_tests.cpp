// The icon list model on its own: no window, as commands and Apply use it; and the icon references and
// theme paths its items hold.
#include "icons/icon_list.h"
#include "icons/icon_location.h"
#include "support/wide_text.h"
#include "themes/path_macros.h"

#include <string>
#include <tuple>
#include <utility>

namespace {

const std::wstring OwnExe = L"C:\\Program Files\\Tessaly\\Tessaly.exe";
const ThemeFolders Folders{L"C:\\WINDOWS\\SYSTEM", L"C:\\WINDOWS", L"C:\\Program Files\\Tessaly",
                           L"D:\\Themes"};

// Captions "Item 0"..., keys "k0"..., files "f0.ico"... at index = position.
void Fill(IconListModel& list, int count) {
    for (int i = 0; i < count; ++i) {
        const std::wstring n = std::to_wstring(i);
        list.AddItem(L"Item " + n, L"f" + n + L".ico", static_cast<std::int16_t>(i), L"k" + n);
    }
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
