#pragma once
// The three theme formats as data: the sections and keys of Tessaly's own ".tstheme" files in the order they
// are written and read, and the (section, key) pairs of ".motif" and ".theme" files in reading order, each
// naming the icon-list item it sets.
#include "icons/catalogue.h"
#include "platform/startup_facts.h"

#include <span>
#include <string>
#include <string_view>

enum class ThemeKind { None, Native, Motif, Plus };

inline constexpr std::wstring_view NativeThemeEnding = L".tstheme";
// The kind of theme a file name names, by its ending in any letter case.
ThemeKind ThemeKindOf(std::wstring_view path);
// The name with ".tstheme" appended unless it already ends so (in any letter case).
std::wstring WithNativeEnding(const std::wstring& path);

// The header section, which no reader uses.
struct ThemeCredit {
    std::wstring_view key;
    std::wstring_view value;
};
inline constexpr std::wstring_view CreditsSection = L"Software Credits";
std::span<const ThemeCredit> ThemeCredits();

enum class ThemeKeyCondition : unsigned char { Always, IE4Shell, WindowsNT };

// One key of a ".tstheme" section; the file key differs from the item key for a few items.
struct NativeThemeKey {
    std::wstring_view fileKey;
    std::wstring_view itemKey;
    ThemeKeyCondition when = ThemeKeyCondition::Always;
};
bool KeyApplies(const NativeThemeKey& key, const StartupFacts& facts);

struct NativeThemeSection {
    IconCategory category;
    std::wstring_view name;
    std::span<const NativeThemeKey> keys;
};
// The seven icon sections, one per list in tab order.
std::span<const NativeThemeSection> NativeThemeSections();

// One (section, key) pair a reader sets an item from.
struct ThemeEntry {
    IconCategory category;
    std::wstring_view section;
    std::wstring_view key;
    std::wstring_view itemKey;
};
// Read but never written: three keys of "Other Icons" that set items of the System list.
std::span<const ThemeEntry> OtherIconsExtras();
// ".motif" and ".theme" files, list by list; a later non-empty value for the same item wins.
std::span<const ThemeEntry> MotifThemeEntries();
std::span<const ThemeEntry> PlusThemeEntries();
