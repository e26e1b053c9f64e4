#include "icons/catalogue.h"
#include "icons/catalogue_reader.h"
#include "icons/catalogue_variants.h"
#include "support/icon_files.h"
#include "support/registry_sandbox.h"
#include "support/wide_text.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using enum IconCategory;

StartupFacts Facts(const TempMachine& m, bool nt, const std::wstring& ieVersion = L"Error") {
    return MachineFacts(m, {nt, nt, ieVersion.c_str()});
}

struct Filled {
    std::unique_ptr<IconLists> lists;
    IconListModel& operator[](IconCategory c) { return (*lists)[c]; }
};

Filled Fill(const StartupFacts& facts) {
    Filled filled{std::make_unique<IconLists>(facts.OwnExePath, nullptr)};
    Add_Icons(facts, FindCatalogueVariants(facts), *filled.lists);
    return filled;
}

// The list's keys in order, parted by "|".
std::wstring Keys(const IconListModel& list) {
    std::wstring keys;
    for (const auto& item : list.Items()) keys += (keys.empty() ? L"" : L"|") + item.Key;
    return keys;
}

void SetShellIcon(int number, const std::wstring& reference) {
    RawSetString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Icons",
                 std::to_wstring(number), reference);
}

void RegisterFileType(const std::wstring& extension, const std::wstring& className) {
    RawSetString(HKEY_CLASSES_ROOT, extension, L"", className);
}

void RegisterEveryFileType() {
    for (const wchar_t* extension : {L".bmp", L".ini", L".gif", L".html", L".jpeg", L".mmm", L".mpeg",
                                     L".bat", L".mid", L".rtf", L".txt", L".avi", L".wav", L".wri", L".zip"})
        RegisterFileType(extension, std::wstring(extension + 1) + L"file");
}

// "S:" stands for the system folder, "W:" for the Windows folder, "A:" for the program's folder.
std::wstring On(const TempMachine& m, const std::wstring& path) {
    if (path.starts_with(L"S:")) return m.system + path.substr(2);
    if (path.starts_with(L"W:")) return m.windows + path.substr(2);
    if (path.starts_with(L"A:")) return m.app + path.substr(2);
    return path;
}

} // namespace

TEST_CASE("which entries a machine has") {
    SUBCASE("Windows 95 without the IE4 shell, and Windows NT with 4.72: the lists in order") {
        const std::tuple<bool, const wchar_t*, IconCategory, const wchar_t*> machines[] = {
            {false, L"Error", Start,
             L"Programs|Documents|Settings|Find|Help|Run...|Suspend|Shut Down...|Settings - Control Panel|"
             L"Settings - Printers"},
            {false, L"Error", Folders,
             L"Closed Folder|Open Folder|Program Group|Control Panel|Dial-Up Networking|Printers"},
            {false, L"Error", Apps, L"Default Icon|Default Document|MS-DOS Application"},
            {true, L"4.72.3110.8", Start,
             L"Programs|Favorites|Documents|Settings|Find|Help|Run...|Log Off...|Suspend|Shut Down...|"
             L"Settings - Control Panel|Settings - Printers"},
            {true, L"4.72.3110.8", Folders,
             L"Closed Folder|Open Folder|Program Group|Users Program Group|Control Panel|Dial-Up Networking|"
             L"Printers|Subscriptions|ActiveX Cache"},
        };
        for (const auto& [nt, ie, category, keys] : machines) {
            CAPTURE(std::wstring(ie));
            RegistrySandbox sandbox;
            TempMachine m;
            CHECK(Keys(Fill(Facts(m, nt, ie))[category]) == keys);
            CHECK(sandbox.messages.messages.empty());
        }
    }
    SUBCASE("the IE4 shell entries need 4.71 or 4.72; the Users Program Group needs Windows NT") {
        // clang-format off
        const std::tuple<bool, const wchar_t*, bool> machines[] = {
            {false, L"4.71.1712.6", true}, {false, L"4.72.3110.8", true}, {true, L"4.70.1155", false},
            {true, L"5.00.2014.0216", false}, {true, L"Error", false}};
        // clang-format on
        for (const auto& [nt, ie, ie4] : machines) {
            CAPTURE(std::wstring(ie));
            RegistrySandbox sandbox;
            TempMachine m;
            Filled filled = Fill(Facts(m, nt, ie));
            CHECK(bool(filled[Start].Find(L"Favorites")) == ie4);
            CHECK(bool(filled[Start].Find(L"Log Off...")) == ie4);
            CHECK(bool(filled[Folders].Find(L"Subscriptions")) == ie4);
            CHECK(bool(filled[Folders].Find(L"ActiveX Cache")) == ie4);
            CHECK(bool(filled[Folders].Find(L"Users Program Group")) == nt);
        }
    }

    RegistrySandbox sandbox;
    TempMachine m;
    SUBCASE("every file type and the Url History object registered, its name read when it has one") {
        const std::wstring urlHistory = L"CLSID\\" + std::wstring(UrlHistoryClsid);
        RawSetString(HKEY_CLASSES_ROOT, urlHistory, L"", L"");
        CHECK(Fill(Facts(m, false))[Folders].ItemCaption(L"Url History") == L"Url History");
        RawSetString(HKEY_CLASSES_ROOT, urlHistory, L"", L"History");
        RegisterEveryFileType();
        Filled filled = Fill(Facts(m, true));
        CHECK(filled[Folders].ItemCaption(L"Url History") == L"History");
        CHECK(
            Keys(filled[Apps]) ==
            L"Bitmap Image|Configuration Settings|Default Icon|Default Document|GIF Image|Internet Document|"
            L"JPEG Image|Media Clip|Movie Clip|MS-DOS Application|MS-DOS Batch File|MIDI Sequence|"
            L"Rich Text Format|Text Document|Video Clip|Wave Sound|Write Document|Zip File");
    }
    SUBCASE("a file type whose class name is missing or empty is left out") {
        RegisterFileType(L".bmp", L"Paint.Picture");
        RegisterFileType(L".mmm", L"");
        RegisterFileType(L".zip", L"CompressedFolder");
        CHECK(Keys(Fill(Facts(m, true))[Apps]) ==
              L"Bitmap Image|Default Icon|Default Document|MS-DOS Application|Zip File");
    }
}

TEST_CASE("with nothing stored each entry shows its fallback for the machine") {
    RegistrySandbox sandbox;
    TempMachine m;
    RegisterEveryFileType();
    const std::tuple<bool, IconCategory, const wchar_t*, const wchar_t*> rows[] = {
        {true, Desktop, L"My Computer", L"W:\\explorer.exe,0"},
        {true, Desktop, L"Network Neighborhood", L"S:\\shell32.dll,17"},
        {true, Desktop, L"The Internet", L"S:\\mshtml.dll,0"},
        {true, Desktop, L"In Box", L"C:\\Program Files\\Windows NT\\Windows Messaging\\exchng32.exe,0"},
        {false, Desktop, L"In Box", L"S:\\mapi32.dll,3"},
        {true, Desktop, L"Recycle Bin (full)", L"S:\\shell32.dll,32"},
        {true, Start, L"Programs", L"S:\\shell32.dll,19"},
        {true, Folders, L"Dial-Up Networking", L"S:\\rasshell.dll,0"},
        {false, Folders, L"Dial-Up Networking", L"S:\\shell32.dll,33"},
        {true, Drives, L"RAM Drive", L"S:\\shell32.dll,12"},
        {true, Others, L"Shortcut Overlay", L"S:\\shell32.dll,29"},
        {true, Apps, L"Bitmap Image", L"S:\\Mspaint.exe,1"},
        {false, Apps, L"Bitmap Image", L"C:\\Program Files\\Accessories\\Mspaint.exe,1"},
        {true, Apps, L"Media Clip", L"S:\\mplay32.exe,0"},
        {false, Apps, L"Media Clip", L"W:\\mplayer.exe,0"},
        {true, Apps, L"Write Document", L"C:\\Program Files\\Windows NT\\Accessories\\Wordpad.exe,2"},
        {true, Apps, L"GIF Image", L"S:\\mshtml.dll,8"},
    };
    Filled nt = Fill(Facts(m, true)), w95 = Fill(Facts(m, false));
    for (const auto& [isNT, category, key, icon] : rows) {
        CAPTURE(std::wstring(key));
        CHECK((isNT ? nt : w95)[category].ItemFullPath(key) == On(m, icon));
    }
}

TEST_CASE("stored references that name a usable icon are shown as stored") {
    RegistrySandbox sandbox;
    TempMachine m;
    const std::wstring three = m.Copy(L"three_icons.dll", m.system);
    const std::wstring odd = m.Copy(L"three_icons.dll", m.MakeFolder(L"Icons, old"));
    const StartupFacts facts = Facts(m, false);
    const std::wstring inSystem = m.windows + L"\\System\\three_icons.dll,1";
    const std::pair<std::wstring, std::wstring> rows[] = {
        {three + L",2", three + L",2"},
        {three, three + L",0"}, // no comma: index 0
        {three + L", 1 ", three + L",1"},
        {odd + L",1", odd + L",1"},
        {L"%SystemRoot%\\System\\three_icons.dll,1", inSystem},
        {L"%systemroot%\\System\\three_icons.dll,1", inSystem},
        {L"%SYSTEMROOT%\\System\\three_icons.dll,1", inSystem},
        {L"%sYsTeMrOoT%\\System\\three_icons.dll,1", inSystem},
    };
    for (const auto& [stored, shown] : rows) {
        CAPTURE(stored);
        SetShellIcon(19, stored);
        CHECK(Fill(facts)[Start].ItemFullPath(L"Programs") == shown);
    }

    const std::wstring ico = m.Write(m.app, L"star.ico", IconFileBytes(IconFileKind::Icon));
    RawSetString(HKEY_CLASSES_ROOT, L"CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\DefaultIcon", L"",
                 ico + L",0");
    const std::wstring bin = L"CLSID\\" + std::wstring(RecycleBinClsid) + L"\\DefaultIcon";
    RawSetString(HKEY_CLASSES_ROOT, bin, L"", three + L",0");
    RawSetString(HKEY_CLASSES_ROOT, bin, L"Empty", three + L",1");
    RawSetString(HKEY_CLASSES_ROOT, bin, L"Full", three + L",2");
    RegisterFileType(L".txt", L"txtfile");
    RawSetString(HKEY_CLASSES_ROOT, L"txtfile\\DefaultIcon", L"", three + L",2");
    Filled filled = Fill(facts);
    CHECK(filled[Desktop].ItemFullPath(L"My Computer") == ico + L",0");
    CHECK(filled[Desktop].ItemFullPath(L"Recycle Bin (empty)") == three + L",1");
    CHECK(filled[Desktop].ItemFullPath(L"Recycle Bin (full)") == three + L",2");
    CHECK(filled[Apps].ItemFullPath(L"Text Document") == three + L",2");
}

TEST_CASE("unusable stored references show the fallback icon") {
    RegistrySandbox sandbox;
    TempMachine m;
    const std::wstring three = m.Copy(L"three_icons.dll", m.system);
    const std::wstring one = m.Copy(L"one_icon.dll", m.system);
    const std::wstring none = m.Copy(L"no_icons.dll", m.system);
    const std::wstring notes = m.Write(m.app, L"notes.txt", std::string("not an icon file"));
    const StartupFacts facts = Facts(m, true);
    // Missing, "Error", a missing file, folders, a module without icons, no icon file, one past the last
    // icon, a resource number, index parts that are no 16-bit number, and macros that do not count.
    // clang-format off
    const std::wstring unusable[] = {
        L"", L"Error", m.system + L"\\missing.dll,0", m.system + L",0", m.system, none + L",0", notes + L",0",
        three + L",3", one + L",1", three + L",-2", three + L",x", three + L",", three + L",40000",
        L"C:\\%SystemRoot%\\three_icons.dll,0", L"%WinDir%\\System\\three_icons.dll,0"};
    // clang-format on
    for (const std::wstring& reference : unusable) {
        CAPTURE(reference);
        SetShellIcon(19, reference);
        CHECK(Fill(facts)[Start].ItemFullPath(L"Programs") == m.system + L"\\shell32.dll,19");
    }
    RawSetString(HKEY_CLASSES_ROOT, L"CLSID\\{21EC2020-3AEA-1069-A2DD-08002B30309D}\\DefaultIcon", L"",
                 three + L",7");
    RegisterFileType(L".gif", L"giffile"); // a class without a DefaultIcon
    Filled filled = Fill(facts);
    CHECK(filled[Folders].ItemFullPath(L"Control Panel") == m.system + L"\\shell32.dll,46");
    CHECK(filled[Apps].ItemFullPath(L"GIF Image") == m.system + L"\\mshtml.dll,8");
}

TEST_CASE("display names become captions; keys stay") {
    RegistrySandbox sandbox;
    TempMachine m;
    const std::wstring clsid = L"CLSID\\";
    Filled plain = Fill(Facts(m, false));
    CHECK(plain[Desktop].ItemCaption(L"Recycle Bin (empty)") == L"Recycle Bin (empty)");
    CHECK(plain[Desktop].ItemCaption(L"Recycle Bin (full)") == L"Recycle Bin (full)");
    CHECK(plain[Drives].ItemCaption(L"Floppy Drive 5.25") == L"Floppy Drive 5\u00BC");
    CHECK(plain[Drives].ItemCaption(L"Floppy Drive 3.5") == L"Floppy Drive 3\u00BD");

    RawSetString(HKEY_CLASSES_ROOT, clsid + L"{20D04FE0-3AEA-1069-A2D8-08002B30309D}", L"", L"Workstation");
    RawSetString(HKEY_CLASSES_ROOT, clsid + L"{2227A280-3AEA-1069-A2DE-08002B30309D}", L"", L"");
    RawSetString(HKEY_CLASSES_ROOT, clsid + std::wstring(RecycleBinClsid), L"", L"Wastebasket");
    Filled nt = Fill(Facts(m, true));
    CHECK(nt[Desktop].ItemCaption(L"My Computer") == L"Workstation");
    CHECK(nt[Desktop].Items()[0].Key == L"My Computer");
    CHECK(nt[Folders].ItemCaption(L"Printers") == L"Printers"); // an empty name is no name
    CHECK(nt[Desktop].ItemCaption(L"Recycle Bin (empty)") == L"Wastebasket (empty)");
    CHECK(nt[Desktop].ItemCaption(L"Recycle Bin (full)") == L"Wastebasket (full)");
}

TEST_CASE("pointers") {
    RegistrySandbox sandbox;
    TempMachine m;
    const StartupFacts facts = Facts(m, true);
    const std::wstring cursors = L"Control Panel\\Cursors";

    SUBCASE("without stored values every pointer shows the program's own picture of the default") {
        Filled filled = Fill(facts);
        const IconListModel& pointers = filled[Pointers];
        REQUIRE(pointers.ListCount() == 14);
        for (int i = 0; i < 14; ++i) {
            CAPTURE(i);
            CHECK(pointers.ItemFullPath(pointers.Items()[i].Key) ==
                  facts.OwnExePath + L"," + std::to_wstring(i + 1));
            CHECK(pointers.ItemFullPathmouse(pointers.Items()[i].Key).empty());
        }
    }
    SUBCASE("cursor files are kept although icon extraction may find no icon in them") {
        const std::wstring cur =
            m.Write(m.MakeFolder(L"Cursors, large"), L"arrow.cur", IconFileBytes(IconFileKind::Cursor));
        const std::wstring ani = m.Write(m.app, L"busy.ani", AnimatedCursorBytes());
        m.Write(m.windows, L"cross.cur", IconFileBytes(IconFileKind::Cursor));
        const std::wstring notes = m.Write(m.app, L"notes.txt", std::string("not a cursor"));
        RawSetString(HKEY_CURRENT_USER, cursors, L"Arrow", cur);
        RawSetString(HKEY_CURRENT_USER, cursors, L"Wait", ani);
        RawSetString(HKEY_CURRENT_USER, cursors, L"Crosshair", L"%SYSTEMROOT%\\cross.cur");
        RawSetString(HKEY_CURRENT_USER, cursors, L"IBeam", m.app + L"\\gone.cur");
        RawSetString(HKEY_CURRENT_USER, cursors, L"No", notes);
        Filled filled = Fill(facts);
        const IconListModel& pointers = filled[Pointers];
        CHECK(pointers.ItemFullPath(L"Normal Select") == cur + L",0");
        CHECK(pointers.ItemFullPathmouse(L"Normal Select") == cur);
        CHECK(pointers.ItemFullPathmouse(L"Busy") == ani);
        CHECK(pointers.ItemFullPathmouse(L"Precision Select") == m.windows + L"\\cross.cur");
        CHECK(pointers.ItemFullPath(L"Text Select") == facts.OwnExePath + L",6");
        CHECK(pointers.ItemFullPath(L"Unavailable") == facts.OwnExePath + L",8");
    }
}

TEST_CASE("shell32.dll numbers that depend on the shell generation") {
    RegistrySandbox sandbox;
    TempMachine m;
    RegisterEveryFileType();
    struct Generation {
        const wchar_t* version;
        int text, batch, settingsFile, controlPanel, printers, usersGroup;
    };
    const Generation generations[] = {
        {L"Error", 59, 60, 58, 46, 47, 73},
        {L"4.70.1155", 59, 60, 58, 46, 47, 73},
        {L"4.71.1712.6", 63, 64, 62, 50, 51, 42},
        {L"4.72.3110.8", 64, 65, 63, 51, 52, 42},
    };
    for (const Generation& g : generations) {
        CAPTURE(std::wstring(g.version));
        Filled filled = Fill(Facts(m, true, g.version));
        // clang-format off
        const std::tuple<IconCategory, const wchar_t*, int> shown[] = {
            {Apps, L"Text Document", g.text}, {Apps, L"MS-DOS Batch File", g.batch},
            {Apps, L"Configuration Settings", g.settingsFile}, {Folders, L"Control Panel", g.controlPanel},
            {Folders, L"Printers", g.printers}, {Folders, L"Users Program Group", g.usersGroup}};
        // clang-format on
        for (const auto& [category, key, index] : shown)
            CHECK(filled[category].ItemFullPath(key) ==
                  m.system + L"\\shell32.dll," + std::to_wstring(index));
    }
}

TEST_CASE("filling selects each list's initial item") {
    RegistrySandbox sandbox;
    TempMachine m;
    const StartupFacts facts = Facts(m, true);
    CHECK(Fill(facts)[Apps].Key() == L"Default Icon"); // no bitmap type: the first item
    RegisterEveryFileType();
    Filled filled = Fill(facts);
    const wchar_t* expected[] = {L"My Computer",      L"Programs",     L"Closed Folder", L"Floppy Drive 5.25",
                                 L"Shortcut Overlay", L"Bitmap Image", L"Normal Select"};
    for (size_t i = 0; i < IconCategories.size(); ++i) CHECK(filled[IconCategories[i]].Key() == expected[i]);
}

TEST_CASE("each icon file is asked for its icons once per fill, whatever the letter case") {
    RegistrySandbox sandbox;
    TempMachine m;
    const std::wstring three = m.Copy(L"three_icons.dll", m.system);
    std::wstring upper = three;
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    SetShellIcon(3, three + L",0");
    SetShellIcon(4, upper + L",2");
    SetShellIcon(36, three + L",5");

    CatalogueReader reader(m.windows);
    IconListModel list;
    const std::wstring shellIcons(ShellIconsKey);
    reader.AddCatalogueItem(list, L"A", shellIcons, L"3", L"A", {L"fallback.dll", 3});
    reader.AddCatalogueItem(list, L"B", shellIcons, L"4", L"B", {L"fallback.dll", 4});
    reader.AddCatalogueItem(list, L"C", shellIcons, L"36", L"C", {L"fallback.dll", 36});
    CHECK(list.ItemFullPath(L"A") == three + L",0");
    CHECK(list.ItemFullPath(L"B") == upper + L",2");
    CHECK(list.ItemFullPath(L"C") == L"fallback.dll,36");
    CHECK(reader.Probe().FileOpens() == 1);
}
