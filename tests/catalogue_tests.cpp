#include "icons/catalogue.h"
#include "icons/catalogue_reader.h"
#include "icons/catalogue_variants.h"
#include "platform/text.h"
#include "support/icon_files.h"
#include "support/registry_sandbox.h"

#include <doctest/doctest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace doctest {
template <> struct StringMaker<std::wstring> {
    static String convert(const std::wstring& s) {
        std::string quoted = "\"";
        quoted.append(text::Narrow(s));
        quoted.push_back('"');
        return quoted.c_str();
    }
};
template <> struct StringMaker<std::vector<std::wstring>> {
    static String convert(const std::vector<std::wstring>& v) {
        std::string out = "{";
        for (const auto& s : v) {
            if (out.size() > 1) out.append(", ");
            out.append(StringMaker<std::wstring>::convert(s).c_str());
        }
        out.push_back('}');
        return out.c_str();
    }
};
} // namespace doctest

namespace {

const std::wstring Explorer = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Icons";

StartupFacts Facts(const TempMachine& m, bool nt, const std::wstring& ieVersion = L"Error") {
    StartupFacts f;
    f.OsKind = nt ? L"Win NT" : L"Win 95";
    f.OsName = nt ? L"Windows NT" : L"Windows 95";
    f.HasPlus = nt;
    f.WindowsDir = m.windows;
    f.SystemDir = m.system;
    f.IEVersion = ieVersion;
    f.HasIE4Shell = IsIE4ShellVersion(ieVersion);
    f.AppDir = m.app;
    f.OwnExePath = m.app + L"\\Tessaly.exe";
    f.HelpFile = m.app + L"\\Help.hlp";
    return f;
}

struct Filled {
    CatalogueVariants variants;
    std::unique_ptr<IconLists> lists;
    IconListModel& operator[](IconCategory c) { return (*lists)[c]; }
};

Filled Fill(const StartupFacts& facts) {
    Filled filled{FindCatalogueVariants(facts), std::make_unique<IconLists>(facts.OwnExePath, nullptr)};
    Add_Icons(facts, filled.variants, *filled.lists);
    return filled;
}

std::vector<std::wstring> Keys(const IconListModel& list) {
    std::vector<std::wstring> keys;
    for (const auto& item : list.Items()) keys.push_back(item.Key);
    return keys;
}

void SetShellIcon(int number, const std::wstring& reference) {
    RawSetString(HKEY_LOCAL_MACHINE, Explorer, std::to_wstring(number), reference);
}

void RegisterFileType(const std::wstring& extension, const std::wstring& className) {
    RawSetString(HKEY_CLASSES_ROOT, extension, L"", className);
}

const wchar_t* const AllExtensions[] = {L".bmp", L".ini",  L".gif", L".html", L".jpeg",
                                        L".mmm", L".mpeg", L".bat", L".mid",  L".rtf",
                                        L".txt", L".avi",  L".wav", L".wri",  L".zip"};

void RegisterEveryFileType() {
    for (const wchar_t* extension : AllExtensions)
        RegisterFileType(extension, std::wstring(extension + 1) + L"file");
}

// Records the selections a list makes.
struct SelectionLog : IconListModel::Observer {
    std::vector<int> selected;
    void ItemAdded(int) override {}
    void SelectionChanged(int, int newRow) override { selected.push_back(newRow); }
    void Redraw(int) override {}
};

} // namespace

TEST_CASE("which entries a machine has") {
    RegistrySandbox sandbox;
    TempMachine m;

    SUBCASE("Windows 95 without the IE4 shell and without registered file types") {
        Filled filled = Fill(Facts(m, false));
        CHECK(Keys(filled[IconCategory::Desktop]) ==
              std::vector<std::wstring>{L"My Computer", L"Network Neighborhood", L"The Internet", L"In Box",
                                        L"My Briefcase", L"Recycle Bin (empty)", L"Recycle Bin (full)"});
        CHECK(Keys(filled[IconCategory::Start]) ==
              std::vector<std::wstring>{L"Programs", L"Documents", L"Settings", L"Find", L"Help", L"Run...",
                                        L"Suspend", L"Shut Down...", L"Settings - Control Panel",
                                        L"Settings - Printers"});
        CHECK(Keys(filled[IconCategory::Folders]) ==
              std::vector<std::wstring>{L"Closed Folder", L"Open Folder", L"Program Group", L"Control Panel",
                                        L"Dial-Up Networking", L"Printers"});
        CHECK(Keys(filled[IconCategory::Drives]) ==
              std::vector<std::wstring>{L"Floppy Drive 5.25", L"Floppy Drive 3.5", L"Hard Drive",
                                        L"Network Drive (connected)", L"Network Drive (offline)",
                                        L"CD-ROM Drive", L"Removable Drive", L"RAM Drive"});
        CHECK(Keys(filled[IconCategory::Others]) ==
              std::vector<std::wstring>{L"Shortcut Overlay", L"Sharing Overlay", L"Desktop",
                                        L"Entire Network", L"Workgroup", L"Computer", L"Audio CD",
                                        L"Printer"});
        CHECK(Keys(filled[IconCategory::Apps]) ==
              std::vector<std::wstring>{L"Default Icon", L"Default Document", L"MS-DOS Application"});
        CHECK(Keys(filled[IconCategory::Pointers]) ==
              std::vector<std::wstring>{L"Normal Select", L"Help Select", L"Working In Background", L"Busy",
                                        L"Precision Select", L"Text Select", L"Handwriting", L"Unavailable",
                                        L"Vertical Resize", L"Horizontal Resize", L"Diagonal Resize 1",
                                        L"Diagonal Resize 2", L"Move", L"Alternate Select"});
        CHECK(sandbox.messages.messages.empty());
    }

    SUBCASE("Windows NT with version 4.72, Url History and every file type") {
        RawSetString(HKEY_CLASSES_ROOT, L"CLSID\\" + std::wstring(UrlHistoryClsid), L"", L"History");
        RegisterEveryFileType();
        Filled filled = Fill(Facts(m, true, L"4.72.3110.8"));
        CHECK(Keys(filled[IconCategory::Start]) ==
              std::vector<std::wstring>{L"Programs", L"Favorites", L"Documents", L"Settings", L"Find",
                                        L"Help", L"Run...", L"Log Off...", L"Suspend", L"Shut Down...",
                                        L"Settings - Control Panel", L"Settings - Printers"});
        CHECK(Keys(filled[IconCategory::Folders]) ==
              std::vector<std::wstring>{L"Closed Folder", L"Open Folder", L"Program Group",
                                        L"Users Program Group", L"Control Panel", L"Dial-Up Networking",
                                        L"Printers", L"Url History", L"Subscriptions", L"ActiveX Cache"});
        CHECK(Keys(filled[IconCategory::Apps]) ==
              std::vector<std::wstring>{
                  L"Bitmap Image", L"Configuration Settings", L"Default Icon", L"Default Document",
                  L"GIF Image", L"Internet Document", L"JPEG Image", L"Media Clip", L"Movie Clip",
                  L"MS-DOS Application", L"MS-DOS Batch File", L"MIDI Sequence", L"Rich Text Format",
                  L"Text Document", L"Video Clip", L"Wave Sound", L"Write Document", L"Zip File"});
        CHECK(filled[IconCategory::Folders].ItemCaption(L"Url History") == L"History");
        CHECK(filled[IconCategory::Desktop].ListCount() == 7);
        CHECK(filled[IconCategory::Pointers].ListCount() == 14);
        CHECK(sandbox.messages.messages.empty());
    }

    SUBCASE("Windows 95 with 4.71 has the IE4 entries but no Users Program Group") {
        Filled filled = Fill(Facts(m, false, L"4.71.1712.6"));
        CHECK(filled[IconCategory::Start].Find(L"Favorites"));
        CHECK(filled[IconCategory::Start].Find(L"Log Off..."));
        CHECK(filled[IconCategory::Folders].Find(L"Subscriptions"));
        CHECK(filled[IconCategory::Folders].Find(L"ActiveX Cache"));
        CHECK_FALSE(filled[IconCategory::Folders].Find(L"Users Program Group"));
    }

    SUBCASE("Windows NT with version 5.00 has none of the IE4 entries") {
        Filled filled = Fill(Facts(m, true, L"5.00.2014.0216"));
        CHECK(filled[IconCategory::Start].ListCount() == 10);
        CHECK_FALSE(filled[IconCategory::Folders].Find(L"Subscriptions"));
        CHECK_FALSE(filled[IconCategory::Folders].Find(L"ActiveX Cache"));
        CHECK(filled[IconCategory::Folders].Find(L"Users Program Group"));
    }

    SUBCASE("a file type whose class name is missing or empty is left out") {
        RegisterFileType(L".bmp", L"Paint.Picture");
        RegisterFileType(L".mmm", L"");
        RegisterFileType(L".zip", L"CompressedFolder");
        Filled filled = Fill(Facts(m, true));
        CHECK(Keys(filled[IconCategory::Apps]) ==
              std::vector<std::wstring>{L"Bitmap Image", L"Default Icon", L"Default Document",
                                        L"MS-DOS Application", L"Zip File"});
    }

    SUBCASE("Url History is present once its object is registered, even without a name") {
        RawSetString(HKEY_CLASSES_ROOT, L"CLSID\\" + std::wstring(UrlHistoryClsid), L"", L"");
        Filled filled = Fill(Facts(m, false));
        CHECK(filled[IconCategory::Folders].ItemCaption(L"Url History") == L"Url History");
    }
}

TEST_CASE("stored references that name a usable icon are shown as stored") {
    RegistrySandbox sandbox;
    TempMachine m;
    const std::wstring three = m.Copy(L"three_icons.dll", m.system);
    const StartupFacts facts = Facts(m, false);

    SUBCASE("file and index") {
        SetShellIcon(19, three + L",2");
        CHECK(Fill(facts)[IconCategory::Start].ItemFullPath(L"Programs") == three + L",2");
    }
    SUBCASE("a reference without a comma is index 0 of the file") {
        SetShellIcon(19, three);
        CHECK(Fill(facts)[IconCategory::Start].ItemFullPath(L"Programs") == three + L",0");
    }
    SUBCASE("\"%SystemRoot%\" at the start in any letter case is the Windows folder") {
        for (const wchar_t* macro : {L"%SystemRoot%", L"%systemroot%", L"%SYSTEMROOT%", L"%sYsTeMrOoT%"}) {
            CAPTURE(text::Narrow(macro));
            SetShellIcon(3, std::wstring(macro) + L"\\System\\three_icons.dll,1");
            CHECK(Fill(facts)[IconCategory::Folders].ItemFullPath(L"Closed Folder") ==
                  m.windows + L"\\System\\three_icons.dll,1");
        }
    }
    SUBCASE("spaces around the index") {
        SetShellIcon(8, three + L", 1 ");
        CHECK(Fill(facts)[IconCategory::Drives].ItemFullPath(L"Hard Drive") == three + L",1");
    }
    SUBCASE("a folder name with a comma in it") {
        const std::wstring odd = m.MakeFolder(L"Icons, old");
        const std::wstring copy = m.Copy(L"three_icons.dll", odd);
        SetShellIcon(29, copy + L",1");
        CHECK(Fill(facts)[IconCategory::Others].ItemFullPath(L"Shortcut Overlay") == copy + L",1");
    }
    SUBCASE("an .ico file holds one icon") {
        const std::wstring ico = m.Write(m.app, L"star.ico", IconFileBytes(IconFileKind::Icon));
        RawSetString(HKEY_CLASSES_ROOT, L"CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\DefaultIcon", L"",
                     ico + L",0");
        CHECK(Fill(facts)[IconCategory::Desktop].ItemFullPath(L"My Computer") == ico + L",0");
    }
    SUBCASE("the Recycle Bin reads its own two values") {
        const std::wstring bin = L"CLSID\\" + std::wstring(RecycleBinClsid) + L"\\DefaultIcon";
        RawSetString(HKEY_CLASSES_ROOT, bin, L"", three + L",0");
        RawSetString(HKEY_CLASSES_ROOT, bin, L"Empty", three + L",1");
        RawSetString(HKEY_CLASSES_ROOT, bin, L"Full", three + L",2");
        Filled filled = Fill(facts);
        CHECK(filled[IconCategory::Desktop].ItemFullPath(L"Recycle Bin (empty)") == three + L",1");
        CHECK(filled[IconCategory::Desktop].ItemFullPath(L"Recycle Bin (full)") == three + L",2");
    }
    SUBCASE("a file type's icon is read through its class") {
        RegisterFileType(L".txt", L"txtfile");
        RawSetString(HKEY_CLASSES_ROOT, L"txtfile\\DefaultIcon", L"", three + L",2");
        CHECK(Fill(facts)[IconCategory::Apps].ItemFullPath(L"Text Document") == three + L",2");
    }
}

TEST_CASE("unusable stored references show the fallback icon") {
    RegistrySandbox sandbox;
    TempMachine m;
    const std::wstring three = m.Copy(L"three_icons.dll", m.system);
    const std::wstring one = m.Copy(L"one_icon.dll", m.system);
    const std::wstring none = m.Copy(L"no_icons.dll", m.system);
    const std::wstring notes = m.Write(m.app, L"notes.txt", std::string("not an icon file"));
    const StartupFacts facts = Facts(m, true);
    const std::wstring programs = m.system + L"\\shell32.dll,19";

    SUBCASE("nothing stored: the fallback, which the next Apply writes back") {
        Filled filled = Fill(facts);
        CHECK(filled[IconCategory::Start].ItemFullPath(L"Programs") == programs);
        CHECK(filled[IconCategory::Desktop].ItemFullPath(L"My Computer") == m.windows + L"\\explorer.exe,0");
        CHECK(filled[IconCategory::Desktop].ItemFullPath(L"Network Neighborhood") ==
              m.system + L"\\shell32.dll,17");
        CHECK(filled[IconCategory::Drives].ItemFullPath(L"RAM Drive") == m.system + L"\\shell32.dll,12");
    }
    SUBCASE("each kind of unusable reference") {
        const std::wstring unusable[] = {
            L"",                                    // empty
            L"Error",                               // indistinguishable from a failed read
            m.system + L"\\missing.dll,0",          // no such file
            m.system + L",0",                       // a folder
            m.system,                               // a folder, no comma
            none + L",0",                           // a module without icons
            notes + L",0",                          // not an icon file at all
            three + L",3",                          // one past the last icon
            one + L",1",                            // likewise
            three + L",-2",                         // a resource number
            three + L",x",                          // not a number
            three + L",",                           // nothing after the comma
            three + L",40000",                      // beyond 16 bits
            three + L",1.5",                        // a fraction
            L"C:\\%SystemRoot%\\three_icons.dll,0", // the macro only counts at the start
            L"%WinDir%\\System\\three_icons.dll,0", // no other macro is expanded
        };
        for (const std::wstring& reference : unusable) {
            CAPTURE(text::Narrow(reference));
            SetShellIcon(19, reference);
            CHECK(Fill(facts)[IconCategory::Start].ItemFullPath(L"Programs") == programs);
        }
    }
    SUBCASE("an unusable shell object reference") {
        RawSetString(HKEY_CLASSES_ROOT, L"CLSID\\{21EC2020-3AEA-1069-A2DD-08002B30309D}\\DefaultIcon", L"",
                     three + L",7");
        CHECK(Fill(facts)[IconCategory::Folders].ItemFullPath(L"Control Panel") ==
              m.system + L"\\shell32.dll,46");
    }
    SUBCASE("a file type whose class has no DefaultIcon") {
        RegisterFileType(L".gif", L"giffile");
        CHECK(Fill(facts)[IconCategory::Apps].ItemFullPath(L"GIF Image") == m.system + L"\\mshtml.dll,8");
    }
}

TEST_CASE("display names become captions; keys stay") {
    RegistrySandbox sandbox;
    TempMachine m;
    const std::wstring clsid = L"CLSID\\";

    SUBCASE("a renamed shell object") {
        RawSetString(HKEY_CLASSES_ROOT, clsid + L"{20D04FE0-3AEA-1069-A2D8-08002B30309D}", L"",
                     L"Workstation");
        RawSetString(HKEY_CLASSES_ROOT, clsid + L"{2227A280-3AEA-1069-A2DE-08002B30309D}", L"", L"");
        Filled filled = Fill(Facts(m, false));
        CHECK(filled[IconCategory::Desktop].ItemCaption(L"My Computer") == L"Workstation");
        CHECK(filled[IconCategory::Desktop].Items()[0].Key == L"My Computer");
        CHECK(filled[IconCategory::Desktop].ItemCaption(L"My Briefcase") == L"My Briefcase");
        CHECK(filled[IconCategory::Folders].ItemCaption(L"Printers") == L"Printers");
    }
    SUBCASE("the Recycle Bin's one name gives both captions") {
        Filled plain = Fill(Facts(m, false));
        CHECK(plain[IconCategory::Desktop].ItemCaption(L"Recycle Bin (empty)") == L"Recycle Bin (empty)");
        CHECK(plain[IconCategory::Desktop].ItemCaption(L"Recycle Bin (full)") == L"Recycle Bin (full)");

        RawSetString(HKEY_CLASSES_ROOT, clsid + std::wstring(RecycleBinClsid), L"", L"Wastebasket");
        Filled renamed = Fill(Facts(m, false));
        CHECK(renamed[IconCategory::Desktop].ItemCaption(L"Recycle Bin (empty)") == L"Wastebasket (empty)");
        CHECK(renamed[IconCategory::Desktop].ItemCaption(L"Recycle Bin (full)") == L"Wastebasket (full)");
    }
    SUBCASE("objects whose key depends on the machine take the name and icon of that key") {
        const std::wstring three = m.Copy(L"three_icons.dll", m.system);
        RawSetString(HKEY_CLASSES_ROOT, clsid + L"{FBF23B42-E3F0-101B-8488-00AA003E56F8}", L"",
                     L"Old Internet");
        RawSetString(HKEY_CLASSES_ROOT, clsid + L"{3DC7A020-0ACD-11CF-A9BB-00AA004AE837}", L"", L"Web");
        RawSetString(HKEY_CLASSES_ROOT, clsid + L"{3DC7A020-0ACD-11CF-A9BB-00AA004AE837}\\DefaultIcon", L"",
                     three + L",2");
        RawSetString(HKEY_CLASSES_ROOT, clsid + L"{00020D76-0000-0000-C000-000000000046}", L"", L"Mail");
        RawSetString(HKEY_CLASSES_ROOT, clsid + L"{00020D75-0000-0000-C000-000000000046}", L"", L"Messaging");
        RawSetString(HKEY_CLASSES_ROOT, clsid + L"{a4d92740-67cd-11cf-96f2-00aa00a11dd9}", L"",
                     L"Remote Access");
        RawSetString(HKEY_CLASSES_ROOT, clsid + L"{992CFFA0-F557-101A-88EC-00DD010CCC48}", L"", L"Dialer");

        Filled before = Fill(Facts(m, true));
        CHECK(before[IconCategory::Desktop].ItemCaption(L"The Internet") == L"Old Internet");
        CHECK(before[IconCategory::Desktop].ItemFullPath(L"The Internet") == m.system + L"\\mshtml.dll,0");
        CHECK(before[IconCategory::Desktop].ItemCaption(L"In Box") == L"Mail");
        CHECK(before[IconCategory::Folders].ItemCaption(L"Dial-Up Networking") == L"Remote Access");

        RawSetString(HKEY_LOCAL_MACHINE,
                     L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Desktop\\NameSpace\\"
                     L"{3DC7A020-0ACD-11CF-A9BB-00AA004AE837}",
                     L"", L"");
        RawSetString(HKEY_CLASSES_ROOT, clsid + L"{00020D75-0000-0000-C000-000000000046}\\Shell", L"",
                     L"open");
        Filled after = Fill(Facts(m, false));
        CHECK(after[IconCategory::Desktop].ItemCaption(L"The Internet") == L"Web");
        CHECK(after[IconCategory::Desktop].ItemFullPath(L"The Internet") == three + L",2");
        CHECK(after[IconCategory::Desktop].ItemCaption(L"In Box") == L"Messaging");
        CHECK(after[IconCategory::Folders].ItemCaption(L"Dial-Up Networking") == L"Dialer");
    }
    SUBCASE("the floppy drives' captions") {
        Filled filled = Fill(Facts(m, false));
        CHECK(filled[IconCategory::Drives].ItemCaption(L"Floppy Drive 5.25") == L"Floppy Drive 5\u00BC");
        CHECK(filled[IconCategory::Drives].ItemCaption(L"Floppy Drive 3.5") == L"Floppy Drive 3\u00BD");
        CHECK(filled[IconCategory::Drives].ItemCaption(L"Hard Drive") == L"Hard Drive");
    }
}

TEST_CASE("pointers") {
    RegistrySandbox sandbox;
    TempMachine m;
    const StartupFacts facts = Facts(m, true);
    const std::wstring cursors = L"Control Panel\\Cursors";

    SUBCASE("without stored values every pointer shows the program's own picture of the default") {
        Filled filled = Fill(facts);
        const IconListModel& pointers = filled[IconCategory::Pointers];
        REQUIRE(pointers.ListCount() == 14);
        for (int i = 0; i < 14; ++i) {
            CAPTURE(i);
            CHECK(pointers.Items()[i].IconPath == facts.OwnExePath);
            CHECK(pointers.Items()[i].IconIndex == i + 1);
            CHECK(pointers.ItemFullPathmouse(pointers.Items()[i].Key).empty());
        }
        CHECK(pointers.ItemFullPath(L"Normal Select") == facts.OwnExePath + L",1");
        CHECK(pointers.ItemFullPath(L"Alternate Select") == facts.OwnExePath + L",14");
    }

    SUBCASE("cursor files are kept although icon extraction may find no icon in them") {
        const std::wstring cur = m.Write(m.app, L"arrow.cur", IconFileBytes(IconFileKind::Cursor));
        const std::wstring ani = m.Write(m.app, L"busy.ani", AnimatedCursorBytes());
        for (const std::wstring& file : {cur, ani}) {
            UniqueHCursor loaded(
                static_cast<HCURSOR>(LoadImageW(nullptr, file.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE)));
            REQUIRE_MESSAGE(loaded, "the test's cursor file does not load");
        }
        RawSetString(HKEY_CURRENT_USER, cursors, L"Arrow", cur);
        RawSetString(HKEY_CURRENT_USER, cursors, L"Wait", ani);
        Filled filled = Fill(facts);
        const IconListModel& pointers = filled[IconCategory::Pointers];
        CHECK(pointers.ItemFullPath(L"Normal Select") == cur + L",0");
        CHECK(pointers.ItemFullPathmouse(L"Normal Select") == cur);
        CHECK(pointers.ItemFullPath(L"Busy") == ani + L",0");
        CHECK(pointers.ItemFullPathmouse(L"Busy") == ani);
        CHECK(pointers.ItemFullPath(L"Help Select") == facts.OwnExePath + L",2");
    }

    SUBCASE("pointer values are plain paths") {
        const std::wstring folder = m.MakeFolder(L"Cursors, large");
        const std::wstring cur = m.Write(folder, L"hand.cur", IconFileBytes(IconFileKind::Cursor));
        m.Write(m.windows, L"cross.cur", IconFileBytes(IconFileKind::Cursor));
        RawSetString(HKEY_CURRENT_USER, cursors, L"UpArrow", cur);
        RawSetString(HKEY_CURRENT_USER, cursors, L"Crosshair", L"%SYSTEMROOT%\\cross.cur");
        Filled filled = Fill(facts);
        CHECK(filled[IconCategory::Pointers].ItemFullPathmouse(L"Alternate Select") == cur);
        CHECK(filled[IconCategory::Pointers].ItemFullPathmouse(L"Precision Select") ==
              m.windows + L"\\cross.cur");
    }

    SUBCASE("a pointer value naming a missing file or a file that is no cursor shows the default") {
        const std::wstring notes = m.Write(m.app, L"notes.txt", std::string("not a cursor"));
        RawSetString(HKEY_CURRENT_USER, cursors, L"IBeam", m.app + L"\\gone.cur");
        RawSetString(HKEY_CURRENT_USER, cursors, L"No", notes);
        RawSetString(HKEY_CURRENT_USER, cursors, L"SizeAll", L"");
        Filled filled = Fill(facts);
        CHECK(filled[IconCategory::Pointers].ItemFullPath(L"Text Select") == facts.OwnExePath + L",6");
        CHECK(filled[IconCategory::Pointers].ItemFullPath(L"Unavailable") == facts.OwnExePath + L",8");
        CHECK(filled[IconCategory::Pointers].ItemFullPath(L"Move") == facts.OwnExePath + L",13");
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
        {L"Error", 59, 60, 58, 46, 47, 73},       {L"5.00.2014.0216", 59, 60, 58, 46, 47, 73},
        {L"4.70.1155", 59, 60, 58, 46, 47, 73},   {L"4.71.1712.6", 63, 64, 62, 50, 51, 42},
        {L"4.72.3110.8", 64, 65, 63, 51, 52, 42},
    };
    for (const Generation& g : generations) {
        CAPTURE(text::Narrow(g.version));
        const StartupFacts facts = Facts(m, true, g.version);
        const std::wstring shell32 = m.system + L"\\shell32.dll,";
        Filled filled = Fill(facts);
        CHECK(filled[IconCategory::Apps].ItemFullPath(L"Text Document") == shell32 + std::to_wstring(g.text));
        CHECK(filled[IconCategory::Apps].ItemFullPath(L"MS-DOS Batch File") ==
              shell32 + std::to_wstring(g.batch));
        CHECK(filled[IconCategory::Apps].ItemFullPath(L"Configuration Settings") ==
              shell32 + std::to_wstring(g.settingsFile));
        CHECK(filled[IconCategory::Folders].ItemFullPath(L"Control Panel") ==
              shell32 + std::to_wstring(g.controlPanel));
        CHECK(filled[IconCategory::Folders].ItemFullPath(L"Printers") ==
              shell32 + std::to_wstring(g.printers));
        CHECK(filled[IconCategory::Folders].ItemFullPath(L"Users Program Group") ==
              shell32 + std::to_wstring(g.usersGroup));

        // The Start menu's two settings entries show their own numbers but default to the folders' icons.
        CHECK(filled[IconCategory::Start].ItemFullPath(L"Settings - Control Panel") == shell32 + L"35");
        auto controlPanel =
            LocateCatalogueEntry(facts, filled.variants, IconCategory::Start, L"Settings - Control Panel");
        auto printers =
            LocateCatalogueEntry(facts, filled.variants, IconCategory::Start, L"Settings - Printers");
        REQUIRE(controlPanel);
        REQUIRE(printers);
        REQUIRE(controlPanel->defaultIcon);
        REQUIRE(printers->defaultIcon);
        CHECK(controlPanel->defaultIcon->Location() == shell32 + std::to_wstring(g.controlPanel));
        CHECK(printers->defaultIcon->Location() == shell32 + std::to_wstring(g.printers));
        CHECK(printers->fallback.Location() == shell32 + L"37");
    }
}

TEST_CASE("where Apply, Change and Default find each entry") {
    RegistrySandbox sandbox;
    TempMachine m;
    RegisterFileType(L".gif", L"giffile");
    RegisterFileType(L".rtf", L"rtffile");
    RegisterFileType(L".zip", L"CompressedFolder");
    RegisterFileType(L".bmp", L"Paint.Picture");
    const StartupFacts win95 = Facts(m, false, L"4.72.3110.8");
    const StartupFacts nt = Facts(m, true);
    const CatalogueVariants v95 = FindCatalogueVariants(win95);
    const CatalogueVariants vnt = FindCatalogueVariants(nt);
    auto locate = [](const StartupFacts& f, const CatalogueVariants& v, IconCategory c, const wchar_t* key) {
        auto at = LocateCatalogueEntry(f, v, c, key);
        REQUIRE_MESSAGE(at, text::Narrow(key));
        return *at;
    };

    SUBCASE("shell objects: the CLSID's DefaultIcon, and the CLSID key for the name") {
        auto at = locate(nt, vnt, IconCategory::Desktop, L"My Computer");
        CHECK(at.iconKey == L"HKEY_CLASSES_ROOT\\CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\DefaultIcon");
        CHECK(at.iconValue == L"");
        CHECK(at.nameKey == L"HKEY_CLASSES_ROOT\\CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}");
        CHECK(at.defaultIcon == at.fallback);

        auto empty = locate(nt, vnt, IconCategory::Desktop, L"Recycle Bin (empty)");
        auto full = locate(nt, vnt, IconCategory::Desktop, L"Recycle Bin (full)");
        const std::wstring bin = L"HKEY_CLASSES_ROOT\\CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}";
        CHECK(empty.iconKey == bin + L"\\DefaultIcon");
        CHECK(empty.iconValue == L"Empty");
        CHECK(empty.nameKey == bin);
        CHECK(empty.nameSuffix == L" (empty)");
        CHECK(full.iconValue == L"Full");
        CHECK(full.nameKey.empty());
        CHECK(full.fallback.Location() == m.system + L"\\shell32.dll,32");
    }
    SUBCASE("shell icons: a numbered value, no name") {
        auto at = locate(nt, vnt, IconCategory::Start, L"Programs");
        CHECK(at.iconKey ==
              L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Icons");
        CHECK(at.iconValue == L"19");
        CHECK(at.nameKey.empty());
        CHECK(locate(nt, vnt, IconCategory::Drives, L"Floppy Drive 3.5").iconValue == L"6");
        CHECK(locate(nt, vnt, IconCategory::Apps, L"Default Icon").fallback.Location() ==
              m.system + L"\\shell32.dll,0");
    }
    SUBCASE("the machine's variants") {
        auto dialUp95 = locate(win95, v95, IconCategory::Folders, L"Dial-Up Networking");
        CHECK(dialUp95.iconKey ==
              L"HKEY_CLASSES_ROOT\\CLSID\\{992CFFA0-F557-101A-88EC-00DD010CCC48}\\DefaultIcon");
        CHECK(dialUp95.fallback.Location() == m.system + L"\\shell32.dll,33");
        auto dialUpNT = locate(nt, vnt, IconCategory::Folders, L"Dial-Up Networking");
        CHECK(dialUpNT.nameKey == L"HKEY_CLASSES_ROOT\\CLSID\\{a4d92740-67cd-11cf-96f2-00aa00a11dd9}");
        CHECK(dialUpNT.fallback.Location() == m.system + L"\\rasshell.dll,0");

        CHECK(locate(win95, v95, IconCategory::Desktop, L"In Box").fallback.Location() ==
              m.system + L"\\mapi32.dll,3");
        CHECK(locate(nt, vnt, IconCategory::Desktop, L"In Box").fallback.Location() ==
              L"C:\\Program Files\\Windows NT\\Windows Messaging\\exchng32.exe,0");
        CHECK(locate(win95, v95, IconCategory::Desktop, L"In Box").nameKey ==
              L"HKEY_CLASSES_ROOT\\CLSID\\{00020D76-0000-0000-C000-000000000046}");
        CHECK(locate(nt, vnt, IconCategory::Desktop, L"The Internet").nameKey ==
              L"HKEY_CLASSES_ROOT\\CLSID\\{FBF23B42-E3F0-101B-8488-00AA003E56F8}");

        CHECK(locate(win95, v95, IconCategory::Apps, L"Bitmap Image").fallback.Location() ==
              L"C:\\Program Files\\Accessories\\Mspaint.exe,1");
        CHECK(locate(nt, vnt, IconCategory::Apps, L"Bitmap Image").fallback.Location() ==
              m.system + L"\\Mspaint.exe,1");
        CHECK(v95.MediaPlayerFile == m.windows + L"\\mplayer.exe");
        CHECK(vnt.MediaPlayerFile == m.system + L"\\mplay32.exe");
        CHECK(locate(win95, v95, IconCategory::Apps, L"Rich Text Format").defaultIcon->Location() ==
              L"C:\\Program Files\\Accessories\\Wordpad.exe,1");
        CHECK(locate(nt, vnt, IconCategory::Apps, L"Rich Text Format").defaultIcon->Location() ==
              L"C:\\Program Files\\Windows NT\\Accessories\\Wordpad.exe,1");
        CHECK(locate(nt, vnt, IconCategory::Apps, L"Write Document").fallback.Location() ==
              L"C:\\Program Files\\Windows NT\\Accessories\\Wordpad.exe,2");
    }
    SUBCASE("file types: the class read at start, and the Default icons that differ") {
        auto gif = locate(nt, vnt, IconCategory::Apps, L"GIF Image");
        CHECK(gif.IsFileType());
        CHECK(gif.present);
        CHECK(gif.className == L"giffile");
        CHECK(gif.iconKey == L"HKEY_CLASSES_ROOT\\giffile\\DefaultIcon");
        CHECK(gif.fallback.Location() == m.system + L"\\mshtml.dll,8");
        CHECK(gif.defaultIcon->Location() == m.system + L"\\mshtml.dll,9");

        // Apply keeps writing to the class found at start, whatever the registry says later.
        RegisterFileType(L".gif", L"otherfile");
        CHECK(locate(nt, vnt, IconCategory::Apps, L"GIF Image").iconKey ==
              L"HKEY_CLASSES_ROOT\\giffile\\DefaultIcon");

        auto zip = locate(nt, vnt, IconCategory::Apps, L"Zip File");
        CHECK(zip.present);
        CHECK(zip.fallback.Location() == m.system + L"\\quartz.dll,4");
        CHECK_FALSE(zip.defaultIcon.has_value());

        auto text = locate(nt, vnt, IconCategory::Apps, L"Text Document");
        CHECK_FALSE(text.present);
        CHECK(text.iconKey.empty());
        CHECK(text.className.empty());
    }
    SUBCASE("conditions and the letter case of Default files") {
        auto subscriptions = locate(win95, v95, IconCategory::Folders, L"Subscriptions");
        CHECK(subscriptions.present);
        CHECK(subscriptions.fallback.Location() == m.system + L"\\Webcheck.dll,0");
        CHECK(subscriptions.defaultIcon->Location() == m.system + L"\\webcheck.dll,0");
        CHECK_FALSE(locate(nt, vnt, IconCategory::Folders, L"Subscriptions").present);
        CHECK(locate(nt, vnt, IconCategory::Folders, L"Users Program Group").present);
        CHECK_FALSE(locate(win95, v95, IconCategory::Folders, L"Users Program Group").present);
        CHECK_FALSE(locate(nt, vnt, IconCategory::Folders, L"Url History").present);
    }
    SUBCASE("pointers: a Cursors value, the program's picture as fallback and Default") {
        auto busy = locate(nt, vnt, IconCategory::Pointers, L"Busy");
        CHECK(busy.IsPointer());
        CHECK(busy.iconKey == L"HKEY_CURRENT_USER\\Control Panel\\Cursors");
        CHECK(busy.iconValue == L"Wait");
        CHECK(busy.fallback.Location() == nt.OwnExePath + L",4");
        CHECK(busy.defaultIcon == busy.fallback);
        CHECK(locate(nt, vnt, IconCategory::Pointers, L"Handwriting").iconValue == L"NWPEN");
    }
    SUBCASE("keys are exact and belong to one category") {
        CHECK_FALSE(LocateCatalogueEntry(nt, vnt, IconCategory::Desktop, L"my computer"));
        CHECK_FALSE(LocateCatalogueEntry(nt, vnt, IconCategory::Desktop, L"Programs"));
        CHECK_FALSE(LocateCatalogueEntry(nt, vnt, IconCategory::Pointers, L"Arrow"));
    }
}

TEST_CASE("filling selects each list's initial item") {
    RegistrySandbox sandbox;
    TempMachine m;
    const StartupFacts facts = Facts(m, true);

    SUBCASE("with every entry the machine can have") {
        RegisterEveryFileType();
        auto variants = FindCatalogueVariants(facts);
        IconLists lists(facts.OwnExePath, nullptr);
        SelectionLog logs[7];
        for (size_t i = 0; i < IconCategories.size(); ++i) lists[IconCategories[i]].SetObserver(&logs[i]);
        Add_Icons(facts, variants, lists);
        const wchar_t* expected[] = {L"My Computer",       L"Programs",         L"Closed Folder",
                                     L"Floppy Drive 5.25", L"Shortcut Overlay", L"Bitmap Image",
                                     L"Normal Select"};
        for (size_t i = 0; i < IconCategories.size(); ++i) {
            CAPTURE(i);
            CHECK(lists[IconCategories[i]].Key() == expected[i]);
            CHECK(logs[i].selected == std::vector<int>{0});
            lists[IconCategories[i]].SetObserver(nullptr);
        }
    }
    SUBCASE("the System list without a bitmap type selects its first item") {
        Filled filled = Fill(facts);
        CHECK(filled[IconCategory::Apps].Key() == L"Default Icon");
    }
}

TEST_CASE("each icon file is asked for its icons once per fill") {
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

TEST_CASE("categories and their tabs") {
    CHECK(CategoryOfTab(1) == std::nullopt);
    CHECK(CategoryOfTab(9) == std::nullopt);
    CHECK(CategoryOfTab(7) == IconCategory::Apps);
    CHECK(CategoryCaption(IconCategory::Apps) == L"System");
    CHECK(CategoryListName(IconCategory::Apps) == L"ListBoxApps");
    CHECK(CategoryCaption(IconCategory::Pointers) == L"Pointer");
    size_t total = 0;
    for (IconCategory c : IconCategories) total += CatalogueEntries(c).size();
    CHECK(total == 77);
}
