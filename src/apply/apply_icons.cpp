// The icon half of Apply: every item of the seven lists back to its catalogue location, names after
// icons, and the pointers followed by one reload of the system pointers.
#include "apply/apply.h"

#include "icons/catalogue.h"
#include "icons/catalogue_variants.h"
#include "icons/tooltips.h"
#include "platform/text.h"
#include "registry/registry.h"
#include "registry/write_recorder.h"
#include "session/session.h"

#include <string_view>

namespace {

// File types are written in an order of their own, with the bitmap thumbnail setting right after
// "Bitmap Image" so that it decides the Paint.Picture icon.
constexpr std::wstring_view FileTypeOrder[] = {
    L"Bitmap Image",      L"Configuration Settings",
    L"Default Icon",      L"Default Document",
    L"GIF Image",         L"Internet Document",
    L"Media Clip",        L"MS-DOS Application",
    L"MS-DOS Batch File", L"MIDI Sequence",
    L"Text Document",     L"Video Clip",
    L"Wave Sound",        L"Write Document",
    L"JPEG Image",        L"Movie Clip",
    L"Rich Text Format",  L"Zip File",
};

struct ListWriter {
    Session& session;
    IconCategory category;

    const IconListModel& List() const { return session.Lists[category]; }

    std::optional<CatalogueLocation> Locate(std::wstring_view key) const {
        auto location = LocateCatalogueEntry(session.Facts, session.Variants, category, key);
        // Only what the list holds is written: an absent entry creates no key.
        if (!location || !location->present || !List().Find(std::wstring(key))) return std::nullopt;
        return location;
    }

    void WriteIcon(std::wstring_view key) const {
        auto location = Locate(key);
        if (!location) return;
        const std::wstring reference = List().ItemFullPath(std::wstring(key));
        if (location->IsFileType() && reference.size() < 2) return;
        Registry::WriteSubject subject{std::wstring(key)};
        Registry::WriteString(location->iconKey, location->iconValue, reference);
    }

    void WriteName(std::wstring_view key) const {
        auto location = Locate(key);
        if (!location || location->nameKey.empty()) return;
        std::wstring caption = List().ItemCaption(std::wstring(key));
        caption.resize(
            caption.size() > location->nameSuffix.size() ? caption.size() - location->nameSuffix.size() : 0);
        Registry::WriteSubject subject{std::wstring(key)};
        Registry::WriteString(location->nameKey, L"", caption);
    }

    // Only a tooltip the user changed is written, so one stored in another form is left as it is; an
    // emptied one is removed.
    void WriteTooltip(std::wstring_view key) const {
        auto location = Locate(key);
        if (!location || location->nameKey.empty()) return;
        const IconListItem* item = List().Find(std::wstring(key));
        if (item->Tooltip == item->TooltipStored) return;
        if (item->Tooltip.empty())
            Registry::DeleteValue(location->nameKey, TooltipValue);
        else
            Registry::WriteString(location->nameKey, TooltipValue, item->Tooltip);
        session.Lists[category].TooltipWritten(std::wstring(key));
    }

    void WriteNamesAndTooltips() const {
        for (const auto& entry : CatalogueEntries(category)) WriteName(entry.key);
        for (const auto& entry : CatalogueEntries(category)) WriteTooltip(entry.key);
    }

    // Icons in catalogue order, then names and tooltips in the same order.
    void WriteAll() const {
        for (const auto& entry : CatalogueEntries(category)) WriteIcon(entry.key);
        WriteNamesAndTooltips();
    }
};

// The desktop shows the bin's default icon; keep it the empty or the full one as the bin is now. The
// "Empty" value is compared as it stood before Apply wrote the new empty-bin icon.
struct RecycleBinState {
    std::wstring key = std::wstring(ClsidRoot) + std::wstring(RecycleBinClsid) + L"\\DefaultIcon";
    bool empty = text::EqualsNoCase(Registry::ReadString(key, L""), Registry::ReadString(key, L"empty"));
};

void AlignRecycleBin(const ListWriter& desktop, const RecycleBinState& bin) {
    const wchar_t* item = bin.empty ? L"Recycle Bin (empty)" : L"Recycle Bin (full)";
    if (!desktop.List().Find(item)) return;
    Registry::WriteSubject subject{item};
    Registry::WriteString(bin.key, L"", desktop.List().ItemFullPath(item));
}

void ApplyBitmapThumbnail(const Session& session) {
    Registry::WriteSubject subject{L"Bitmap Thumbnail as Default Icon"};
    if (session.Settings.IsOn(L"Bitmap Thumbnail as Default Icon")) {
        Registry::WriteString(L"HKEY_CLASSES_ROOT\\.bmp", L"", L"Paint.Picture");
        Registry::WriteString(L"HKEY_CLASSES_ROOT\\.bmp\\ShellNew", L"Command", L"");
        Registry::WriteString(L"HKEY_CLASSES_ROOT\\Paint.Picture\\DefaultIcon", L"", L"%1");
    } else {
        Registry::WriteString(L"HKEY_CLASSES_ROOT\\Paint.Picture\\DefaultIcon", L"",
                              session.Variants.PaintFile + L",1");
    }
}

} // namespace

void ApplyIcons(Session& session, SystemPort& system) {
    ListWriter desktop{session, IconCategory::Desktop};
    const RecycleBinState bin;
    for (const auto& entry : CatalogueEntries(IconCategory::Desktop)) desktop.WriteIcon(entry.key);
    AlignRecycleBin(desktop, bin);
    desktop.WriteNamesAndTooltips();

    for (IconCategory category :
         {IconCategory::Start, IconCategory::Folders, IconCategory::Drives, IconCategory::Others})
        ListWriter{session, category}.WriteAll();

    ListWriter apps{session, IconCategory::Apps};
    for (std::wstring_view key : FileTypeOrder) {
        apps.WriteIcon(key);
        if (key == L"Bitmap Image" && !session.AutoApply) ApplyBitmapThumbnail(session);
    }

    ListWriter pointers{session, IconCategory::Pointers};
    for (const auto& entry : CatalogueEntries(IconCategory::Pointers)) {
        auto location = pointers.Locate(entry.key);
        if (!location) continue;
        // An empty value is the Windows default pointer.
        Registry::WriteSubject subject{std::wstring(entry.key)};
        Registry::WriteString(location->iconKey, location->iconValue,
                              pointers.List().ItemFullPathmouse(std::wstring(entry.key)));
    }
    // One reload after the last value leaves the pointers as a reload after each would.
    system.SetSystemParameter(SPI_SETCURSORS, 0, {}, 0);
}
