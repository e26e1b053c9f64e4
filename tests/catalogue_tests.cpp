#include "icons/catalogue.h"
#include "icons/catalogue_reader.h"
#include "icons/catalogue_variants.h"
#include "support/icon_files.h"
#include "support/registry_sandbox.h"
#include "support/wide_text.h"

#include <windows.h>

#include <memory>
#include <string>

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

void SetShellIcon(int number, const std::wstring& reference) {
    RawSetString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Icons",
                 std::to_wstring(number), reference);
}

void RegisterFileType(const std::wstring& extension, const std::wstring& className) {
    RawSetString(HKEY_CLASSES_ROOT, extension, L"", className);
}

void RegisterEveryFileType() {
    for (const CatalogueEntry& entry : CatalogueEntries(Apps))
        if (entry.kind == LocationKind::FileType)
            RegisterFileType(std::wstring(entry.where), std::wstring(entry.where.substr(1)) + L"file");
}

// A registry and a machine of the case's own.
struct Machine {
    RegistrySandbox sandbox;
    TempMachine m;
};

#include "expected/listing.inc"

// Every list as filled with nothing stored but the file types' classes: key (the selected one marked),
// caption, icon shown and Default, one line each, with the machine's folder as %ROOT%.
std::wstring Listing(bool nt, const wchar_t* ieVersion) {
    RegistrySandbox sandbox;
    TempMachine m;
    RegisterEveryFileType();
    const StartupFacts facts = Facts(m, nt, ieVersion);
    const CatalogueVariants variants = FindCatalogueVariants(facts);
    Filled lists = Fill(facts);
    std::wstring out = facts.OsName + L", " + ieVersion + L"\n";
    for (IconCategory category : IconCategories)
        for (const IconListItem& item : lists[category].Items()) {
            const auto at = LocateCatalogueEntry(facts, variants, category, item.Key);
            out += (lists[category].Key() == item.Key ? L"* " : L"") + item.Key + L" | " + item.Caption +
                   L" | " + lists[category].ItemFullPath(item.Key) + L" | " +
                   (at && at->defaultIcon ? at->defaultIcon->Location() : L"none") + L"\n";
        }
    for (size_t at = out.find(m.root); at != out.npos; at = out.find(m.root, at))
        out.replace(at, m.root.size(), L"%ROOT%");
    return out;
}

} // namespace

TEST_CASE("every list with nothing stored, and every Default, on Windows 95 and NT with and without IE4") {
    std::wstring listing;
    for (auto [nt, ie] :
         {std::pair{false, L"Error"}, {false, L"4.71.1712.6"}, {true, L"Error"}, {true, L"4.72.3110.8"}})
        listing += Listing(nt, ie);
    std::wstring want = text::Widen(GoldenListing).substr(1); // the file opens with a line break
    std::erase(want, L'\r');
    CHECK(listing == want);
    if (listing != want) WriteActual(L"listing.actual", listing);
}

TEST_CASE_FIXTURE(Machine, "which entries a machine has") {
    SUBCASE("every file type and the Url History object registered, its name read when it has one") {
        const std::wstring urlHistory = L"CLSID\\" + std::wstring(UrlHistoryClsid);
        RawSetString(HKEY_CLASSES_ROOT, urlHistory, L"", L"");
        CHECK(Fill(Facts(m, false))[Folders].ItemCaption(L"Url History") == L"Url History");
        RawSetString(HKEY_CLASSES_ROOT, urlHistory, L"", L"History");
        CHECK(Fill(Facts(m, true))[Folders].ItemCaption(L"Url History") == L"History");
    }
    SUBCASE("a file type whose class name is missing or empty is left out; without a bitmap type the first "
            "item is selected") {
        CHECK(Fill(Facts(m, true))[Apps].Key() == L"Default Icon");
        RegisterFileType(L".bmp", L"Paint.Picture");
        RegisterFileType(L".mmm", L"");
        RegisterFileType(L".zip", L"CompressedFolder");
        Filled filled = Fill(Facts(m, true));
        Strings keys;
        for (const auto& item : filled[Apps].Items()) keys.push_back(item.Key);
        CHECK(keys == Strings{L"Bitmap Image", L"Default Icon", L"Default Document", L"MS-DOS Application",
                              L"Zip File"});
    }
}

TEST_CASE_FIXTURE(Machine, "stored references that name a usable icon are shown as stored") {
    const std::wstring three = m.Copy(L"three_icons.dll", m.system);
    const std::wstring odd = m.Copy(L"three_icons.dll", m.MakeFolder(L"Icons, old"));
    const StartupFacts facts = Facts(m, false);
    const std::pair<std::wstring, std::wstring> rows[] = {
        {three + L",2", three + L",2"},
        {three, three + L",0"}, // no comma: index 0
        {three + L", 1 ", three + L",1"},
        {odd + L",1", odd + L",1"},
        {L"%sYsTeMrOoT%\\System\\three_icons.dll,1", m.windows + L"\\System\\three_icons.dll,1"},
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

TEST_CASE_FIXTURE(Machine, "unusable stored references show the fallback icon") {
    const std::wstring three = m.Copy(L"three_icons.dll", m.system);
    const std::wstring one = m.Copy(L"one_icon.dll", m.system);
    const std::wstring none = m.Copy(L"no_icons.dll", m.system);
    const std::wstring notes = m.Write(m.app, L"notes.txt", std::string("not an icon file"));
    const StartupFacts facts = Facts(m, true);
    // Missing, "Error", a missing file, folders, a module without icons, no icon file, one past the last
    // icon, a resource number, index parts that are no 16-bit number, and macros that do not count.
    // clang-format off
    const std::wstring unusable[] = {
        L"", L"Error", m.system + L"\\missing.dll,0", m.system + L"\\*.dll,0", m.system + L",0", m.system, none + L",0", notes + L",0",
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

TEST_CASE_FIXTURE(Machine, "an empty display name is no name; the bin's one name gives both its captions") {
    RawSetString(HKEY_CLASSES_ROOT, L"CLSID\\{2227A280-3AEA-1069-A2DE-08002B30309D}", L"", L"");
    RawSetString(HKEY_CLASSES_ROOT, L"CLSID\\" + std::wstring(RecycleBinClsid), L"", L"Wastebasket");
    Filled nt = Fill(Facts(m, true));
    CHECK(nt[Folders].ItemCaption(L"Printers") == L"Printers"); // an empty name is no name
    CHECK(nt[Desktop].ItemCaption(L"Recycle Bin (full)") == L"Wastebasket (full)");
}

TEST_CASE_FIXTURE(Machine, "cursor files are kept although icon extraction may find no icon in them") {
    const StartupFacts facts = Facts(m, true);
    const std::wstring cur =
        m.Write(m.MakeFolder(L"Cursors, large"), L"arrow.cur", IconFileBytes(IconFileKind::Cursor));
    const std::wstring ani = m.Write(m.app, L"busy.ani", AnimatedCursorBytes());
    m.Write(m.windows, L"cross.cur", IconFileBytes(IconFileKind::Cursor));
    for (auto [name, value] : {std::pair<const wchar_t*, std::wstring>{L"Arrow", cur},
                               {L"Wait", ani},
                               {L"Crosshair", L"%SYSTEMROOT%\\cross.cur"},
                               {L"IBeam", m.app + L"\\gone.cur"},
                               {L"No", m.Write(m.app, L"notes.txt", std::string("not a cursor"))}})
        RawSetString(HKEY_CURRENT_USER, L"Control Panel\\Cursors", name, value);
    Filled filled = Fill(facts);
    const IconListModel& pointers = filled[Pointers];
    CHECK(pointers.ItemFullPath(L"Normal Select") == cur + L",0");
    CHECK(pointers.ItemFullPathmouse(L"Normal Select") == cur);
    CHECK(pointers.ItemFullPathmouse(L"Busy") == ani);
    CHECK(pointers.ItemFullPathmouse(L"Precision Select") == m.windows + L"\\cross.cur");
    CHECK(pointers.ItemFullPath(L"Unavailable") == facts.OwnExePath + L",8"); // no usable file
}

TEST_CASE_FIXTURE(Machine, "an icon file is opened once a fill, any letter case; later only if it changed") {
    const std::wstring three = m.Copy(L"three_icons.dll", m.system);
    std::wstring upper = three;
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    SetShellIcon(3, three + L",0");
    SetShellIcon(4, upper + L",2");
    SetShellIcon(36, three + L",5");

    IconFileMemory memory;
    auto fill = [&] { // how many times a file was opened, then the icons shown
        CatalogueReader reader(m.windows, &memory);
        IconListModel list;
        for (const wchar_t* at : {L"3", L"4", L"36"})
            reader.AddCatalogueItem(list, at, std::wstring(ShellIconsKey), at, at, {L"fallback.dll", 0});
        Strings shown{std::to_wstring(reader.Probe().FileOpens())};
        for (const auto& item : list.Items()) shown.push_back(list.ItemFullPath(item.Key));
        return shown;
    };
    CHECK(fill() == Strings{L"1", three + L",0", upper + L",2", L"fallback.dll,0"});
    CHECK(fill() == Strings{L"0", three + L",0", upper + L",2", L"fallback.dll,0"});
    m.Write(m.system, L"three_icons.dll", IconFileBytes(IconFileKind::Icon)); // one icon now
    CHECK(fill() == Strings{L"1", three + L",0", L"fallback.dll,0", L"fallback.dll,0"});
}
