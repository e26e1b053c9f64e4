// Loading and saving a full ".tstheme" file against the least they can cost: the same profile reads and
// writes, done bare through the profile functions with the same sections, keys and values.
#include "bench.h"

#include "platform/profile.h"
#include "support/session_fixture.h"
#include "themes/theme_commands.h"
#include "themes/theme_format.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

struct Entry {
    std::wstring section, key, value;
};

// Every entry a save writes and a load reads, in their order (the three extras are read only).
std::vector<Entry> EntriesOf(const Session& s, const std::wstring& file) {
    std::vector<Entry> entries;
    for (const ThemeCredit& c : ThemeCredits())
        entries.push_back({std::wstring(CreditsSection), std::wstring(c.key), std::wstring(c.value)});
    for (const NativeThemeSection& section : NativeThemeSections())
        for (const NativeThemeKey& key : section.keys)
            if (KeyApplies(key, s.Facts)) {
                const std::wstring section_(section.name), key_(key.fileKey);
                entries.push_back({section_, key_, Profile::ReadString(section_, key_, file)});
            }
    return entries;
}

} // namespace

TESSALY_BENCH(theme_load_and_save) {
    SessionFixture f;
    Session& s = f.Load({true, true, L"4.72.3110.8"});
    // A theme of the user's own: each list's icons from one file of its own, every item set.
    int n = 0;
    for (IconCategory c : IconCategories) {
        const std::wstring file = f.machine.Write(f.machine.system, L"set" + std::to_wstring(n++) + L".ico",
                                                  IconFileBytes(IconFileKind::Icon));
        IconListModel& list = s.Lists[c];
        for (size_t i = 0; i < list.Items().size(); ++i)
            list.Change(list.Items()[i].Key, L"", file + L"," + std::to_wstring(i));
    }
    const std::wstring folder = f.machine.MakeFolder(L"Themes");
    const std::wstring theme = folder + L"\\Full.tstheme", bare = folder + L"\\Bare.tstheme";
    WriteThemeFile(s, theme);
    const std::vector<Entry> entries = EntriesOf(s, theme);
    const std::vector<Entry> reads = [&] {
        std::vector<Entry> r(entries.begin() + ThemeCredits().size(), entries.end());
        for (const ThemeEntry& e : OtherIconsExtras())
            r.push_back({std::wstring(e.section), std::wstring(e.key), {}});
        return r;
    }();

    constexpr int repeat = 31;
    const double load = bench::MedianMicros(repeat, [&] { LoadNativeTheme(s, theme); });
    const double bareLoad = bench::MedianMicros(repeat, [&] {
        wchar_t buffer[512];
        for (const Entry& e : reads)
            GetPrivateProfileStringW(e.section.c_str(), e.key.c_str(), L"", buffer, 512, theme.c_str());
    });
    bench::Report("load a full .tstheme (profile reads bare)", load, bareLoad);

    const double save = bench::MedianMicros(repeat, [&] { WriteThemeFile(s, theme); });
    const double bareSave = bench::MedianMicros(repeat, [&] {
        for (const Entry& e : entries)
            WritePrivateProfileStringW(e.section.c_str(), e.key.c_str(), e.value.c_str(), bare.c_str());
    });
    bench::Report("save a full .tstheme (profile writes bare)", save, bareSave);
    std::printf("  entries read %zu, written %zu\n", reads.size(), entries.size());
}
