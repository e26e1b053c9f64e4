#include "icons/catalogue_reader.h"

#include "icons/icon_location.h"
#include "platform/file_icon.h"
#include "platform/unique_handle.h"
#include "registry/registry.h"

#include <windows.h>

bool IconFileStamp::operator==(const IconFileStamp& other) const {
    return sizeLow == other.sizeLow && sizeHigh == other.sizeHigh &&
           CompareFileTime(&created, &other.created) == 0 && CompareFileTime(&written, &other.written) == 0;
}

IconFileProbe::Known& IconFileProbe::Of(const std::wstring& path, std::wstring* folded) {
    std::wstring upper = path;
    if (!upper.empty()) CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    Known& known = files_[upper];
    if (folded) *folded = std::move(upper);
    return known;
}

bool IconFileProbe::IsFile(const std::wstring& path) {
    std::wstring folded;
    Known& known = Of(path, &folded);
    if (known.isFile) return *known.isFile;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    known.isFile = !path.empty() && path.find_first_of(L"*?") == std::wstring::npos &&
                   GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
                   !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    if (*known.isFile && memory_) {
        const IconFileStamp stamp{data.nFileSizeLow, data.nFileSizeHigh, data.ftCreationTime,
                                  data.ftLastWriteTime};
        IconFileContents& remembered = (*memory_)[folded];
        if (!(remembered.stamp == stamp)) remembered = {stamp, {}, {}};
        known.remembered = &remembered;
        known.icons = remembered.icons;
        known.cursor = remembered.cursor;
    }
    return *known.isFile;
}

int IconFileProbe::IconCount(const std::wstring& path) {
    Known& known = Of(path);
    if (!known.icons) {
        ++opens_;
        known.icons = FileIconCount(path);
        if (known.remembered) known.remembered->icons = known.icons;
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
        if (known.remembered) known.remembered->cursor = known.cursor;
    }
    return *known.cursor;
}

IconRef CatalogueReader::UsableIcon(const std::wstring& stored, const IconRef& fallback, bool pointer) {
    if (stored.empty() || stored == Registry::ErrorText) return fallback;
    auto [at, added] = usable_[pointer].try_emplace(stored);
    if (added) {
        const std::wstring reference = ExpandSystemRoot(stored, windowsDir_);
        IconRef icon;
        if (pointer && probe_.IsFile(reference)) {
            // Cursor values are plain paths; a comma in a folder name is not an index separator.
            icon = {reference, 0};
        } else if (SplitLocation split = SplitIconLocation(reference); split.usable()) {
            icon = {split.file, *split.index};
        } else {
            icon.index = -1;
        }
        if (icon.index >= 0 && probe_.IsFile(icon.file)) {
            int count = probe_.IconCount(icon.file);
            if (count == 0 && pointer && probe_.LoadsAsCursor(icon.file)) count = 1;
            if (icon.index < count) at->second = std::move(icon);
        }
    }
    return at->second ? *at->second : fallback;
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

namespace {

void FillList(CatalogueReader& reader, const StartupFacts& facts, const CatalogueVariants& variants,
              IconCategory category, IconListModel& list) {
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

} // namespace

void Add_Icons(const StartupFacts& facts, const CatalogueVariants& variants, IconLists& lists,
               IconFileMemory* memory) {
    CatalogueReader reader(facts.WindowsDir, memory);
    for (IconCategory category : IconCategories) FillList(reader, facts, variants, category, lists[category]);
}

void Add_Icons(const StartupFacts& facts, const CatalogueVariants& variants, IconCategory category,
               IconListModel& list, IconFileMemory* memory) {
    CatalogueReader reader(facts.WindowsDir, memory);
    FillList(reader, facts, variants, category, list);
}
