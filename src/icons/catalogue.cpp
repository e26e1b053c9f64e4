#include "icons/catalogue.h"

#include "icons/catalogue_variants.h"
#include "icons/icon_location.h"

#include <utility>

namespace {

struct CategoryInfo {
    IconCategory category;
    std::wstring_view caption;
    std::wstring_view listName;
    std::wstring_view initialKey;
};

constexpr CategoryInfo Categories[] = {
    {IconCategory::Desktop, L"Desktop", L"ListBoxDesktop", L"My Computer"},
    {IconCategory::Start, L"Start", L"ListBoxStart", L"Programs"},
    {IconCategory::Folders, L"Folders", L"ListBoxFolders", L"Closed Folder"},
    {IconCategory::Drives, L"Drives", L"ListBoxDrives", L""},
    {IconCategory::Others, L"Others", L"ListBoxOthers", L"Shortcut Overlay"},
    {IconCategory::Apps, L"System", L"ListBoxApps", L"Bitmap Image"},
    {IconCategory::Pointers, L"Pointer", L"ListBoxPointers", L"Normal Select"},
};

const CategoryInfo& Info(IconCategory category) {
    return Categories[static_cast<size_t>(TabIndex(category) - TabIndex(IconCategory::Desktop))];
}

} // namespace

std::optional<IconCategory> CategoryOfTab(int tab) {
    if (tab < TabIndex(IconCategory::Desktop) || tab > TabIndex(IconCategory::Pointers)) return std::nullopt;
    return static_cast<IconCategory>(tab);
}

std::wstring_view CategoryCaption(IconCategory category) {
    return Info(category).caption;
}
std::wstring_view CategoryListName(IconCategory category) {
    return Info(category).listName;
}
std::wstring_view InitialKey(IconCategory category) {
    return Info(category).initialKey;
}

IconLists::IconLists(const std::wstring& ownExePath, const ThemeFolders* folders)
    : lists_{IconListModel(ownExePath, folders), IconListModel(ownExePath, folders),
             IconListModel(ownExePath, folders), IconListModel(ownExePath, folders),
             IconListModel(ownExePath, folders), IconListModel(ownExePath, folders),
             IconListModel(ownExePath, folders)} {}

void IconLists::FillOnFirstUse(Filler filler) {
    filler_ = std::move(filler);
}

void IconLists::FillAll() const {
    for (IconCategory category : IconCategories) FilledList(category);
}

IconListModel& IconLists::FilledList(IconCategory category) const {
    const size_t slot = Slot(category);
    // Marked first: what the filler does to the list must not fill it again.
    if (filler_ && !std::exchange(filled_[slot], true)) filler_(category, lists_[slot]);
    return lists_[slot];
}

std::wstring IconRef::Location() const {
    return FormatIconLocation(file, index);
}

const CatalogueEntry* FindCatalogueEntry(IconCategory category, std::wstring_view key) {
    for (const CatalogueEntry& entry : CatalogueEntries(category))
        if (entry.key == key) return &entry;
    return nullptr;
}

std::optional<IconRef> ResolveIcon(const IconSource& source, const StartupFacts& facts,
                                   const CatalogueVariants& variants) {
    switch (source.base) {
    case IconBase::SystemDir:
        return IconRef{facts.SystemDir + std::wstring(source.file), source.index};
    case IconBase::WindowsDir:
        return IconRef{facts.WindowsDir + std::wstring(source.file), source.index};
    case IconBase::OwnExe:
        return IconRef{facts.OwnExePath, source.index};
    case IconBase::Rule:
        return source.rule ? std::optional(source.rule(facts, variants)) : std::nullopt;
    case IconBase::Same:
    case IconBase::None:
        return std::nullopt;
    }
    return std::nullopt;
}

CatalogueLocation LocateCatalogueEntry(const StartupFacts& facts, const CatalogueVariants& variants,
                                       IconCategory category, const CatalogueEntry& entry) {
    CatalogueLocation at;
    at.entry = &entry;
    at.category = category;
    at.present = !entry.condition || entry.condition(facts, variants);

    switch (entry.kind) {
    case LocationKind::ShellObject: {
        std::wstring objectKey = entry.variantKey ? entry.variantKey(variants)
                                                  : std::wstring(ClsidRoot) + std::wstring(entry.where);
        at.iconKey = objectKey + L"\\DefaultIcon";
        at.iconValue = entry.objectValue;
        if (entry.hasNameLocation) at.nameKey = objectKey;
        at.nameSuffix = entry.nameSuffix;
        break;
    }
    case LocationKind::ShellIcon:
        at.iconKey = ShellIconsKey;
        at.iconValue = std::to_wstring(entry.shellIcon);
        break;
    case LocationKind::FileType:
        at.extension = entry.where;
        at.className = variants.ClassName(entry.where);
        if (at.className.empty())
            at.present = false;
        else
            at.iconKey = L"HKEY_CLASSES_ROOT\\" + at.className + L"\\DefaultIcon";
        break;
    case LocationKind::Pointer:
        at.iconKey = CursorsKey;
        at.iconValue = entry.where;
        break;
    }

    at.fallback = ResolveIcon(entry.fallback, facts, variants).value_or(IconRef{});
    if (entry.defaultIcon.base == IconBase::Same)
        at.defaultIcon = at.fallback;
    else
        at.defaultIcon = ResolveIcon(entry.defaultIcon, facts, variants);
    return at;
}

std::optional<CatalogueLocation> LocateCatalogueEntry(const StartupFacts& facts,
                                                      const CatalogueVariants& variants,
                                                      IconCategory category, std::wstring_view key) {
    const CatalogueEntry* entry = FindCatalogueEntry(category, key);
    if (!entry) return std::nullopt;
    return LocateCatalogueEntry(facts, variants, category, *entry);
}
