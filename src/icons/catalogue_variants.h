#pragma once
// The catalogue's machine-dependent details, worked out once from the start-up facts and a few registry
// reads before any list is filled, and kept until the program ends so that Apply, Change and Default use
// exactly the values the lists were filled with.
#include "icons/catalogue.h"
#include "platform/startup_facts.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// shell32.dll icon numbers that moved between shell generations.
struct ShellIndexes {
    std::int16_t Text = 59;
    std::int16_t Batch = 60;
    std::int16_t SettingsFile = 58;
    std::int16_t ControlPanel = 46;
    std::int16_t Printers = 47;
    std::int16_t UsersGroup = 73;
};

// Chosen by the first four characters of the Internet Explorer version: "4.71", "4.72" or anything else.
ShellIndexes ShellIndexesFor(std::wstring_view ieVersion);

struct FileTypeClass {
    std::wstring extension; // ".bmp"
    std::wstring className; // empty when the extension has none (the entry is left out)
};

struct CatalogueVariants {
    // CLSID keys (RegPaths) of the shell objects whose key differs between machines.
    std::wstring InternetKey;
    std::wstring InBoxKey;
    std::wstring DialUpKey;

    IconRef InBoxIcon;
    IconRef DialUpIcon;
    std::wstring PaintFile;
    std::wstring MediaPlayerFile;
    std::wstring WordPadFile;
    ShellIndexes Indexes;

    // Every file-type entry's extension in catalogue order, with the class name read at start.
    std::vector<FileTypeClass> FileTypes;

    // The Url History object's stored name as read: "Error" when the object is not registered.
    std::wstring UrlHistoryName;
    // The Recycle Bin's display name, "Recycle Bin" when none is stored.
    std::wstring RecycleBinName;

    bool HasUrlHistory() const;
    // The class read at start for an extension (exact text as in the catalogue), empty when none.
    const std::wstring& ClassName(std::wstring_view extension) const;
};

CatalogueVariants FindCatalogueVariants(const StartupFacts& facts);

// A shell object's display name: the default value of its CLSID key, or the fallback when that is
// missing or empty.
std::wstring ReadClsidName(const std::wstring& fallbackCaption, std::wstring_view clsid);
