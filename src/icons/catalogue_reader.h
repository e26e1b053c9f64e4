#pragma once
// Filling the icon lists from the registry: each entry's stored reference is checked against the file it
// names and replaced by the entry's fallback when it cannot be shown.
#include "icons/catalogue.h"
#include "icons/catalogue_variants.h"
#include "icons/icon_list.h"

#include <windows.h>

#include <optional>
#include <string>
#include <unordered_map>

// What icon files held when they were last opened, by path in upper case, kept from one probe to the next
// (a session's): an Undo puts back icons the session has shown before, and opening a file for its icons
// costs many times what asking for its size and times does.
struct IconFileStamp {
    DWORD sizeLow = 0, sizeHigh = 0;
    FILETIME created{}, written{};
    bool operator==(const IconFileStamp& other) const;
};
struct IconFileContents {
    IconFileStamp stamp;
    std::optional<int> icons;
    std::optional<bool> cursor;
};
using IconFileMemory = std::unordered_map<std::wstring, IconFileContents>;

// What the platform says about icon files, asked once per path (letter case ignored) while the probe
// lives: many entries name the same file, and opening shell32.dll once per entry is what start-up avoids.
// With a memory, a file whose size and times are as when it was last opened is not opened again.
class IconFileProbe {
public:
    explicit IconFileProbe(IconFileMemory* memory = nullptr) : memory_(memory) {}
    bool IsFile(const std::wstring& path); // exists and is not a folder
    int IconCount(const std::wstring& path);
    bool LoadsAsCursor(const std::wstring& path);
    // How many times a file was actually opened for its icons or as a cursor.
    int FileOpens() const { return opens_; }

private:
    struct Known {
        std::optional<bool> isFile;
        std::optional<int> icons;
        std::optional<bool> cursor;
        IconFileContents* remembered = nullptr; // its entry in the memory, as it stands now
    };
    Known& Of(const std::wstring& path, std::wstring* folded = nullptr);

    IconFileMemory* memory_;
    std::unordered_map<std::wstring, Known> files_;
    int opens_ = 0;
};

class CatalogueReader {
public:
    explicit CatalogueReader(std::wstring windowsDir, IconFileMemory* memory = nullptr)
        : windowsDir_(std::move(windowsDir)), probe_(memory) {}

    // The icon a stored reference stands for, or the fallback when it is unusable: missing or "Error",
    // an index part that is no 16-bit number, a missing file or a folder, a negative index, or an index
    // at or beyond the file's icon count. A leading "%SystemRoot%" (any letter case) is the Windows folder.
    // For a pointer the value is a plain path, and a cursor file the platform reports as holding no icon
    // counts as holding one: pointer files are never thrown away for lack of an icon picture.
    IconRef UsableIcon(const std::wstring& stored, const IconRef& fallback, bool pointer);

    // Reads the reference at the location and appends the item; false when the list is full.
    bool AddCatalogueItem(IconListModel& list, const std::wstring& caption, const std::wstring& locationKey,
                          const std::wstring& valueName, const std::wstring& key, const IconRef& fallback,
                          bool pointer = false);

    IconFileProbe& Probe() { return probe_; }

private:
    std::wstring windowsDir_;
    IconFileProbe probe_;
    // Many entries store the same reference; what each stands for, none when unusable.
    std::unordered_map<std::wstring, std::optional<IconRef>> usable_[2]; // [pointer]
};

// The caption an entry shows: fixed, or read from the registry (display names).
std::wstring CatalogueCaption(const CatalogueLocation& at, const CatalogueVariants& variants);

// Fills the seven lists in category order and selects each list's initial item.
void Add_Icons(const StartupFacts& facts, const CatalogueVariants& variants, IconLists& lists,
               IconFileMemory* memory = nullptr);
// Fills one list the same way.
void Add_Icons(const StartupFacts& facts, const CatalogueVariants& variants, IconCategory category,
               IconListModel& list, IconFileMemory* memory = nullptr);
