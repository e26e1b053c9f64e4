// Filling all seven icon lists at start-up, against the least that filling can cost: the same registry
// reads, and one icon-count query per distinct icon file.
#include "bench.h"

#include "icons/catalogue.h"
#include "icons/catalogue_reader.h"
#include "icons/catalogue_variants.h"
#include "icons/icon_location.h"
#include "registry/registry.h"
#include "support/icon_files.h"
#include "support/registry_sandbox.h"
#include "ui/startup.h"

#include <windows.h>

#include <shellapi.h> // after windows.h, which it needs

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

namespace {

// A machine set up the way a user who changed things has it: every icon stored, most of them in shell32.dll.
void PrepareRegistry(const StartupFacts& facts, const TempMachine& m) {
    const std::wstring shell32 = L"%SystemRoot%\\system32\\shell32.dll";
    int n = 0;
    for (IconCategory c : IconCategories)
        for (const CatalogueEntry& e : CatalogueEntries(c))
            if (e.kind == LocationKind::ShellIcon)
                RawSetString(HKEY_LOCAL_MACHINE,
                             L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Icons",
                             std::to_wstring(e.shellIcon), shell32 + L"," + std::to_wstring(n++ % 30));
    for (const wchar_t* clsid : bench::ShellObjectClsids) {
        std::wstring key = std::wstring(L"CLSID\\") + clsid;
        RawSetString(HKEY_CLASSES_ROOT, key, L"", L"Renamed");
        RawSetString(HKEY_CLASSES_ROOT, key + L"\\DefaultIcon", L"",
                     shell32 + L"," + std::to_wstring(n++ % 30));
    }
    const std::wstring bin = L"CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon";
    RawSetString(HKEY_CLASSES_ROOT, bin, L"Empty", shell32 + L",31");
    RawSetString(HKEY_CLASSES_ROOT, bin, L"Full", shell32 + L",32");
    RawSetString(HKEY_LOCAL_MACHINE,
                 L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Desktop\\NameSpace\\"
                 L"{3DC7A020-0ACD-11CF-A9BB-00AA004AE837}",
                 L"", L"");
    for (const CatalogueEntry& e : CatalogueEntries(IconCategory::Apps)) {
        if (e.kind != LocationKind::FileType) continue;
        std::wstring cls = std::wstring(e.where.substr(1)) + L"file";
        RawSetString(HKEY_CLASSES_ROOT, std::wstring(e.where), L"", cls);
        // A few types keep icons of their own programs.
        std::wstring icon =
            n % 4 == 0 ? facts.WindowsDir + L"\\notepad.exe,0" : shell32 + L"," + std::to_wstring(n % 30);
        RawSetString(HKEY_CLASSES_ROOT, cls + L"\\DefaultIcon", L"", icon);
        ++n;
    }
    const std::wstring cursors[] = {m.Write(m.app, L"arrow.cur", IconFileBytes(IconFileKind::Cursor)),
                                    m.Write(m.app, L"busy.ani", AnimatedCursorBytes()),
                                    m.Write(m.app, L"hand.cur", IconFileBytes(IconFileKind::Cursor))};
    n = 0;
    for (const CatalogueEntry& e : CatalogueEntries(IconCategory::Pointers))
        RawSetString(HKEY_CURRENT_USER, L"Control Panel\\Cursors", std::wstring(e.where), cursors[n++ % 3]);
}

} // namespace

TESSALY_BENCH(catalogue_fill) {
    RegistrySandbox sandbox;
    TempMachine m;
    StartupFacts facts = FindStartupFacts();
    facts.OsKind = L"Win NT";
    facts.IEVersion = L"4.72.3110.8";
    facts.HasIE4Shell = true;
    PrepareRegistry(facts, m);
    const CatalogueVariants variants = FindCatalogueVariants(facts);

    // What filling reads, and the files it must count icons in, worked out beforehand for the floor.
    std::vector<std::pair<std::wstring, std::wstring>> reads;
    std::vector<std::wstring> files;
    std::set<std::wstring> seen;
    for (IconCategory c : IconCategories) {
        for (const CatalogueEntry& e : CatalogueEntries(c)) {
            CatalogueLocation at = LocateCatalogueEntry(facts, variants, c, e);
            if (!at.present) continue;
            reads.emplace_back(at.iconKey, at.iconValue);
            if (e.captionKind == CaptionKind::DisplayName) reads.emplace_back(at.nameKey, L"");
            std::wstring stored =
                ExpandSystemRoot(Registry::ReadString(at.iconKey, at.iconValue), facts.WindowsDir);
            std::wstring file = at.IsPointer() ? stored : SplitIconLocation(stored).file;
            std::wstring folded = file;
            CharUpperBuffW(folded.data(), static_cast<DWORD>(folded.size()));
            if (seen.insert(folded).second) files.push_back(file);
        }
    }
    auto countIcons = [](const std::wstring& file) {
        return reinterpret_cast<UINT_PTR>(ExtractIconW(GetModuleHandleW(nullptr), file.c_str(), UINT(-1)));
    };
    std::printf("  %zu registry reads, %zu distinct icon files; shell32.dll holds %u icons\n", reads.size(),
                files.size(), static_cast<unsigned>(countIcons(facts.SystemDir + L"\\shell32.dll")));

    // Pointer files that extraction finds no icon in are loaded as cursors, once each: on top of the floor.
    std::vector<std::wstring> cursorFiles;
    for (const auto& file : files)
        if (countIcons(file) == 0) cursorFiles.push_back(file);

    auto floorWork = [&] {
        for (const auto& [key, value] : reads) Registry::ReadString(key, value);
        for (const auto& file : files) countIcons(file);
    };
    auto fillWork = [&] {
        IconLists lists(facts.OwnExePath, nullptr);
        Add_Icons(facts, variants, lists);
    };
    auto cursorWork = [&] {
        for (const auto& file : cursorFiles)
            DestroyCursor(
                static_cast<HCURSOR>(LoadImageW(nullptr, file.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE)));
    };
    // For scale: the same fill if every entry opened its file again.
    auto perEntryWork = [&] {
        for (const auto& [key, value] : reads) {
            std::wstring stored = ExpandSystemRoot(Registry::ReadString(key, value), facts.WindowsDir);
            countIcons(SplitIconLocation(stored).file);
        }
    };
    // Taken in turns, so that load from other processes falls on all of them alike.
    std::vector<double> floors, fills, cursors, perEntries;
    for (int round = 0; round < 15; ++round) {
        floors.push_back(bench::MedianMicros(1, floorWork));
        fills.push_back(bench::MedianMicros(1, fillWork));
        cursors.push_back(bench::MedianMicros(1, cursorWork));
        perEntries.push_back(bench::MedianMicros(1, perEntryWork));
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    const double floor = median(floors), fill = median(fills), cursorLoads = median(cursors),
                 perEntry = median(perEntries);
    bench::Report("Add_Icons, all seven lists (77 entries)", fill, floor);
    bench::Report("for scale: one icon-count query per entry", perEntry, floor);
    bench::Report("for scale: floor plus one cursor load per pointer file", floor + cursorLoads, floor);
}
