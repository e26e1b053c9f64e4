#include "icons/catalogue_reader.h"

#include "icons/icon_location.h"
#include "platform/file_icon.h"
#include "platform/unique_handle.h"
#include "registry/registry.h"

#include <windows.h>

IconFileProbe::Known& IconFileProbe::Of(const std::wstring& path) {
    std::wstring folded = path;
    if (!folded.empty()) CharUpperBuffW(folded.data(), static_cast<DWORD>(folded.size()));
    return files_[folded];
}

bool IconFileProbe::IsFile(const std::wstring& path) {
    Known& known = Of(path);
    if (!known.isFile) known.isFile = FileExists(path);
    return *known.isFile;
}

int IconFileProbe::IconCount(const std::wstring& path) {
    Known& known = Of(path);
    if (!known.icons) {
        ++opens_;
        known.icons = FileIconCount(path);
    }
    return *known.icons;
}

bool IconFileProbe::LoadsAsCursor(const std::wstring& path) {
    Known& known = Of(path);
    if (!known.cursor) {
        ++opens_;
        UniqueHCursor cursor(
            static_cast<HCURSOR>(LoadImageW(nullptr, path.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE)));
        known.cursor = static_cast<bool>(cursor);
    }
    return *known.cursor;
}

IconRef CatalogueReader::UsableIcon(const std::wstring& stored, const IconRef& fallback, bool pointer) {
    if (stored.empty() || stored == Registry::ErrorText) return fallback;
    const std::wstring reference = ExpandSystemRoot(stored, windowsDir_);

    IconRef icon;
    if (pointer && probe_.IsFile(reference)) {
        // Cursor values are plain paths; a comma in a folder name is not an index separator.
        icon = {reference, 0};
    } else {
        SplitLocation split = SplitIconLocation(reference);
        if (!split.usable()) return fallback;
        icon = {split.file, *split.index};
    }
    if (icon.index < 0 || !probe_.IsFile(icon.file)) return fallback;

    int count = probe_.IconCount(icon.file);
    if (count == 0 && pointer && probe_.LoadsAsCursor(icon.file)) count = 1;
    return icon.index < count ? icon : fallback;
}

bool CatalogueReader::AddCatalogueItem(IconListModel& list, const std::wstring& caption,
                                       const std::wstring& locationKey, const std::wstring& valueName,
                                       const std::wstring& key, const IconRef& fallback, bool pointer) {
    IconRef icon = UsableIcon(Registry::ReadString(locationKey, valueName), fallback, pointer);
    return list.AddItem(caption, icon.file, icon.index, key);
}

std::wstring CatalogueCaption(const CatalogueLocation& at, const CatalogueVariants& variants) {
    const CatalogueEntry& entry = *at.entry;
    const std::wstring key(entry.key);
    switch (entry.captionKind) {
    case CaptionKind::Fixed:
        return entry.caption.empty() ? key : std::wstring(entry.caption);
    case CaptionKind::DisplayName:
        // The CLSID is the part of the object's key after "HKEY_CLASSES_ROOT\CLSID\".
        if (at.nameKey.size() <= ClsidRoot.size()) return key;
        return ReadClsidName(key, std::wstring_view(at.nameKey).substr(ClsidRoot.size()));
    case CaptionKind::RecycleBin:
        return variants.RecycleBinName + std::wstring(entry.nameSuffix);
    case CaptionKind::UrlHistory:
        return variants.UrlHistoryName.empty() || variants.UrlHistoryName == Registry::ErrorText
                   ? key
                   : variants.UrlHistoryName;
    }
    return key;
}

void Add_Icons(const StartupFacts& facts, const CatalogueVariants& variants, IconLists& lists) {
    CatalogueReader reader(facts.WindowsDir);
    for (IconCategory category : IconCategories) {
        IconListModel& list = lists[category];
        for (const CatalogueEntry& entry : CatalogueEntries(category)) {
            CatalogueLocation at = LocateCatalogueEntry(facts, variants, category, entry);
            if (!at.present) continue;
            reader.AddCatalogueItem(list, CatalogueCaption(at, variants), at.iconKey, at.iconValue,
                                    std::wstring(entry.key), at.fallback, at.IsPointer());
        }
        const std::wstring_view initial = InitialKey(category);
        if (initial.empty())
            list.SelItemIndex(0);
        else
            list.SelItemKey(std::wstring(initial));
    }
}
