#pragma once
// The catalogue of every icon and pointer Tessaly changes: seven categories (the icon tabs), one constant
// row per entry in display order, and the lookup that turns a row into this machine's registry locations,
// fallback and Default icons. Irregular rows point to named rule functions (catalogue_tables.cpp).
#include "icons/icon_list.h"
#include "platform/startup_facts.h"
#include "themes/path_macros.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

struct CatalogueVariants;

// One icon tab; the value is the tab's index in the tab strip (tab 1 is the settings tree).
enum class IconCategory : int { Desktop = 2, Start, Folders, Drives, Others, Apps, Pointers };

inline constexpr std::array<IconCategory, 7> IconCategories = {
    IconCategory::Desktop, IconCategory::Start, IconCategory::Folders,  IconCategory::Drives,
    IconCategory::Others,  IconCategory::Apps,  IconCategory::Pointers,
};

constexpr int TabIndex(IconCategory category) {
    return static_cast<int>(category);
}
// The category shown on a tab, or none for the settings tab and anything out of range.
std::optional<IconCategory> CategoryOfTab(int tab);
std::wstring_view CategoryCaption(IconCategory category);  // "Desktop" ... "System", "Pointer"
std::wstring_view CategoryListName(IconCategory category); // "ListBoxDesktop" ... "ListBoxPointers"
// The key selected after filling; empty means the first item.
std::wstring_view InitialKey(IconCategory category);

// The seven list models, one per category. The session owns it; views observe its lists, so it stays put.
class IconLists {
public:
    using Filler = std::function<void(IconCategory, IconListModel&)>;

    IconLists(const std::wstring& ownExePath, const ThemeFolders* folders);
    IconLists(const IconLists&) = delete;
    IconLists& operator=(const IconLists&) = delete;

    // From now on each list is filled when it is first asked for, so that the lists nobody looks at are
    // never read. Without a filler the lists are as their owner filled them.
    void FillOnFirstUse(Filler filler);
    bool Filled(IconCategory category) const { return filled_[Slot(category)]; } // by the filler
    // Fills those not filled yet.
    void FillAll() const;

    IconListModel& operator[](IconCategory category) { return FilledList(category); }
    const IconListModel& operator[](IconCategory category) const { return FilledList(category); }

private:
    static size_t Slot(IconCategory category) { return static_cast<size_t>(TabIndex(category) - 2); }
    IconListModel& FilledList(IconCategory category) const;

    mutable std::array<IconListModel, IconCategories.size()> lists_;
    mutable std::array<bool, IconCategories.size()> filled_{};
    Filler filler_;
};

// An icon reference held as its two halves.
struct IconRef {
    std::wstring file;
    std::int16_t index = 0;

    std::wstring Location() const; // "file,index"
    bool operator==(const IconRef&) const = default;
};

enum class LocationKind : std::uint8_t {
    ShellObject, // "HKEY_CLASSES_ROOT\CLSID\{...}\DefaultIcon"
    ShellIcon,   // a numbered value of Explorer's "Shell Icons" key
    FileType,    // the DefaultIcon of the class an extension names
    Pointer,     // a value of "HKEY_CURRENT_USER\Control Panel\Cursors"
};

// Where a catalogue icon's file lies.
enum class IconBase : std::uint8_t {
    SystemDir,  // SystemDir + file
    WindowsDir, // WindowsDir + file
    OwnExe,     // the program's own file: the Windows default pointers
    Rule,       // worked out from the variants by a named rule
    Same,       // a Default icon equal to the fallback
    None,       // no Default icon: the Default command refuses the entry
};

using IconRule = IconRef (*)(const StartupFacts&, const CatalogueVariants&);
using KeyRule = const std::wstring& (*)(const CatalogueVariants&);
using Condition = bool (*)(const StartupFacts&, const CatalogueVariants&);

struct IconSource {
    IconBase base = IconBase::Same;
    std::wstring_view file; // appended to the base folder, e.g. "\shell32.dll"
    std::int16_t index = 0;
    IconRule rule = nullptr;
};

// How an entry's caption is found.
enum class CaptionKind : std::uint8_t {
    Fixed,       // `caption`, or the key when that is empty
    DisplayName, // the shell object's stored display name, else the key
    RecycleBin,  // the bin's one display name (else "Recycle Bin") + `nameSuffix`
    UrlHistory,  // as DisplayName, from the read that decided whether the entry exists
};

struct CatalogueEntry {
    std::wstring_view key;
    LocationKind kind = LocationKind::ShellIcon;
    // Shell object: its CLSID ("{...}"), unless `variantKey` gives the whole key; file type: the extension
    // (".bmp"); pointer: the value name ("Arrow").
    std::wstring_view where;
    KeyRule variantKey = nullptr;
    std::int16_t shellIcon = -1;   // Shell icon: the value's number
    std::wstring_view objectValue; // Shell object: the DefaultIcon value; empty is (default)
    CaptionKind captionKind = CaptionKind::Fixed;
    std::wstring_view caption;    // Fixed captions that differ from the key
    std::wstring_view nameSuffix; // Recycle Bin: " (empty)" or " (full)"
    bool hasNameLocation = false; // Apply writes the caption to the shell object's key
    IconSource fallback;
    IconSource defaultIcon;        // IconBase::Same unless it differs
    Condition condition = nullptr; // null: always present
};

std::span<const CatalogueEntry> CatalogueEntries(IconCategory category);
const CatalogueEntry* FindCatalogueEntry(IconCategory category, std::wstring_view key);

// An entry as it stands on this machine: what Add_Icons reads and what Apply, Change and Default use.
struct CatalogueLocation {
    const CatalogueEntry* entry = nullptr;
    IconCategory category = IconCategory::Desktop;
    // The entry exists here: its condition holds and, for a file type, the extension has a class name.
    bool present = false;
    std::wstring iconKey;         // RegPath holding the icon; empty for a file type without a class
    std::wstring iconValue;       // value name there; empty is (default)
    std::wstring nameKey;         // RegPath whose default value holds the caption; empty when there is none
    std::wstring_view nameSuffix; // cut from the caption before it is stored as the name
    std::wstring extension;       // file types
    std::wstring className;       // file types: the class read at start, empty when there is none
    IconRef fallback;
    std::optional<IconRef> defaultIcon; // none for "Zip File"

    bool IsFileType() const { return entry && entry->kind == LocationKind::FileType; }
    bool IsPointer() const { return entry && entry->kind == LocationKind::Pointer; }
};

CatalogueLocation LocateCatalogueEntry(const StartupFacts& facts, const CatalogueVariants& variants,
                                       IconCategory category, const CatalogueEntry& entry);
// None for a key the category does not have.
std::optional<CatalogueLocation> LocateCatalogueEntry(const StartupFacts& facts,
                                                      const CatalogueVariants& variants,
                                                      IconCategory category, std::wstring_view key);

// An icon source made concrete; Same and None give no value.
std::optional<IconRef> ResolveIcon(const IconSource& source, const StartupFacts& facts,
                                   const CatalogueVariants& variants);

inline constexpr std::wstring_view ClsidRoot = L"HKEY_CLASSES_ROOT\\CLSID\\";
inline constexpr std::wstring_view ShellIconsKey =
    L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Icons";
inline constexpr std::wstring_view CursorsKey = L"HKEY_CURRENT_USER\\Control Panel\\Cursors";
inline constexpr std::wstring_view RecycleBinClsid = L"{645FF040-5081-101B-9F08-00AA002F954E}";
inline constexpr std::wstring_view UrlHistoryClsid = L"{FF393560-C2A7-11CF-BFF4-444553540000}";
