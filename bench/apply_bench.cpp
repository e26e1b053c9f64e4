// Apply of a full session against the least it can cost: the registry writes it makes, done bare through the
// same registry calls. The broadcasts of the icon-cache rebuild are timed on their own: they wait on other
// programs' windows, not on Apply.
#include "bench.h"

#include "apply/apply.h"
#include "icons/catalogue.h"
#include "registry/registry.h"
#include "support/registry_dump.h"
#include "support/session_fixture.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// Every entry of the catalogue present: Windows NT with the IE4 shell, every file type registered, every
// object named, icons and pointers of the user's own.
void PrepareMachine(const TempMachine& m) {
    const std::wstring icon = m.Write(m.app, L"star.ico", IconFileBytes(IconFileKind::Icon));
    const std::wstring cursor = m.Write(m.app, L"hand.cur", IconFileBytes(IconFileKind::Cursor));
    for (const wchar_t* clsid : bench::ShellObjectClsids) {
        const std::wstring key = std::wstring(L"CLSID\\") + clsid;
        RawSetString(HKEY_CLASSES_ROOT, key, L"", L"Renamed");
        RawSetString(HKEY_CLASSES_ROOT, key + L"\\DefaultIcon", L"", icon + L",0");
    }
    RawSetString(HKEY_LOCAL_MACHINE,
                 L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Desktop\\NameSpace\\"
                 L"{3DC7A020-0ACD-11CF-A9BB-00AA004AE837}",
                 L"", L"");
    for (const CatalogueEntry& e : CatalogueEntries(IconCategory::Apps))
        if (e.kind == LocationKind::FileType)
            RawSetString(HKEY_CLASSES_ROOT, std::wstring(e.where), L"",
                         std::wstring(e.where.substr(1)) + L"file");
    RawSetString(HKEY_CLASSES_ROOT, L".bmp", L"", L"Paint.Picture");
    for (const CatalogueEntry& e : CatalogueEntries(IconCategory::Pointers))
        RawSetString(HKEY_CURRENT_USER, L"Control Panel\\Cursors", std::wstring(e.where), cursor);
    RawSetString(HKEY_CURRENT_USER, L"Control Panel\\desktop", L"Wallpaper", L"C:\\WINDOWS\\Clouds.bmp");
}

// A value no write of Apply's ever stores.
void Mark(const RegistryKeyRecord& key, const RegistryValueRecord& v) {
    const DWORD number = 0x7ead1234;
    const std::wstring text = L"#";
    if (v.type == REG_DWORD)
        RawSetDword(key.root, key.subkey, v.name, number);
    else if (v.type == REG_BINARY)
        RawSetValue(key.root, key.subkey, v.name, REG_BINARY, "\xff\xff", 2);
    else
        RawSetString(key.root, key.subkey, v.name, text);
}

bool Marked(const RegistryValueRecord& v) {
    if (v.type == REG_DWORD)
        return v.data.size() == 4 && *reinterpret_cast<const DWORD*>(v.data.data()) == 0x7ead1234;
    if (v.type == REG_BINARY) return v.data == std::vector<unsigned char>{0xff, 0xff};
    return v.data.size() == 4 && v.data[0] == '#' && v.data[1] == 0;
}

struct Write {
    std::wstring path;
    RegistryValueRecord value;
};

std::wstring RootName(HKEY root) {
    if (root == HKEY_CLASSES_ROOT) return L"HKEY_CLASSES_ROOT";
    if (root == HKEY_CURRENT_USER) return L"HKEY_CURRENT_USER";
    return L"HKEY_LOCAL_MACHINE";
}

// The values Apply writes, found by marking every value in the registry, applying again and keeping the
// values whose marks Apply overwrote.
std::vector<Write> WritesOfApply(const std::function<void()>& apply) {
    for (const RegistryKeyRecord& key : ListRegistry())
        for (const RegistryValueRecord& v : key.values) Mark(key, v);
    apply();
    std::vector<Write> writes;
    for (const RegistryKeyRecord& key : ListRegistry())
        for (const RegistryValueRecord& v : key.values)
            if (!Marked(v)) writes.push_back({RootName(key.root) + L"\\" + key.subkey, v});
    return writes;
}

void WriteThroughLayer(const Write& w) {
    const auto& v = w.value;
    if (v.type == REG_DWORD)
        Registry::WriteDword(w.path, v.name, *reinterpret_cast<const std::int32_t*>(v.data.data()));
    else if (v.type == REG_BINARY)
        Registry::WriteBinary(
            w.path, v.name,
            Registry::Bytes(reinterpret_cast<const std::byte*>(v.data.data()),
                            reinterpret_cast<const std::byte*>(v.data.data()) + v.data.size()));
    else
        Registry::WriteString(
            w.path, v.name,
            std::wstring(reinterpret_cast<const wchar_t*>(v.data.data()), v.data.size() / 2 - 1));
}

} // namespace

TESSALY_BENCH(apply_full_session) {
    SessionFixture f;
    PrepareMachine(f.machine);
    Session& s = f.Load({true, true, L"4.72.3110.8"});
    for (const SettingNode& n : s.Settings.Nodes())
        if (n.Kind == SettingKind::Toggle) s.Settings.SetImage(n.Key, SettingImage::On);
    s.CurrentThemePath = L"C:\\Themes\\Sun.tstheme";
    int items = 0;
    for (IconCategory c : IconCategories) items += s.Lists[c].ListCount();

    auto apply = [&] {
        f.system.calls.clear();
        ApplyChanges(s, f.system, f.prompts);
    };
    apply(); // every key exists from here on, as on a machine that was applied to before
    const std::vector<Write> writes = WritesOfApply(apply);
    const std::wstring explorer =
        L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
    auto bare = [&] {
        for (const Write& w : writes) WriteThroughLayer(w);
        Registry::DeleteValue(explorer, L"link"); // the one deletion with every toggle on
    };
    std::printf("  %d list items, %zu values written, 1 deleted, %zu system calls recorded\n", items,
                writes.size(), f.system.calls.size());

    // Taken in turns, so that load from other processes falls on both alike.
    std::vector<double> applies, floors;
    for (int round = 0; round < 41; ++round) {
        floors.push_back(bench::MedianMicros(1, bare));
        applies.push_back(bench::MedianMicros(1, apply));
    }
    bench::Report("Apply, full session, no prompts or broadcasts", bench::Median(applies),
                  bench::Median(floors));

    // For scale: the same values with each key opened once and no layer in between.
    std::vector<std::pair<std::wstring, std::vector<const Write*>>> byKey;
    for (const Write& w : writes) {
        if (byKey.empty() || byKey.back().first != w.path) byKey.push_back({w.path, {}});
        byKey.back().second.push_back(&w);
    }
    auto raw = [&] {
        for (const auto& [path, values] : byKey) {
            auto [root, subkey] = Registry::SplitRegPath(path);
            HKEY key = nullptr;
            if (RegOpenKeyExW(root, subkey.c_str(), 0, KEY_WRITE, &key) != ERROR_SUCCESS) continue;
            for (const Write* w : values)
                RegSetValueExW(key, w->value.name.c_str(), 0, w->value.type, w->value.data.data(),
                               static_cast<DWORD>(w->value.data.size()));
            RegCloseKey(key);
        }
    };
    std::vector<double> raws;
    for (int round = 0; round < 41; ++round) raws.push_back(bench::MedianMicros(1, raw));
    bench::Report("for scale: the floor against raw writes, each key opened once", bench::Median(floors),
                  bench::Median(raws));
}

TESSALY_BENCH(apply_broadcasts) {
    RealSystemPort system;
    // One announcement as the rebuild sends it, and the association notice after the second.
    const double broadcast =
        bench::MedianMicros(15, [&] { system.BroadcastSettingChange(SPI_SETICONMETRICS, {}); });
    const double notice = bench::MedianMicros(15, [&] { system.NotifyAssociationsChanged(); });
    std::printf("  %-58s %10.1f us\n", "one WM_SETTINGCHANGE broadcast (SMTO_ABORTIFHUNG)", broadcast);
    std::printf("  %-58s %10.1f us\n", "SHCNE_ASSOCCHANGED notice", notice);
    std::printf("  %-58s %10.1f us\n", "a rebuild's two broadcasts and the notice", 2 * broadcast + notice);
    std::fflush(stdout);
}
