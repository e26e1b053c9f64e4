#include "icons/rename.h"

#include "session/session.h"

namespace {
constexpr size_t EmptySuffixLength = 8; // " (empty)"
}

std::optional<RenameTarget> RenameTargetOf(const Session& session) {
    const auto category = CategoryOfTab(session.SelectedTab);
    if (category != IconCategory::Desktop && category != IconCategory::Folders) return std::nullopt;
    const IconListModel& list = session.Lists[*category];
    const std::wstring key = list.Key();
    const CatalogueEntry* entry = FindCatalogueEntry(*category, key);
    if (!entry || entry->kind != LocationKind::ShellObject) return std::nullopt;

    RenameTarget target;
    target.category = *category;
    target.key = key;
    target.recycleBin =
        *category == IconCategory::Desktop && (key == RecycleBinEmptyKey || key == RecycleBinFullKey);
    target.iconPath = list.SeledIconPath();
    target.iconIndex = list.SeledIconIndex();
    const IconListItem* named = list.Find(target.recycleBin ? RecycleBinEmptyKey : key);
    if (!named) return std::nullopt;
    target.name = named->Caption;
    if (target.recycleBin)
        target.name.resize(target.name.size() > EmptySuffixLength ? target.name.size() - EmptySuffixLength
                                                                  : 0);
    target.tooltip = named->Tooltip;
    target.tooltipAtStart = named->TooltipAtStart;
    return target;
}

RenameOutcome StageRename(Session& session, const RenameTarget& target, const std::wstring& name,
                          const std::wstring& tooltip) {
    if (name.empty()) return RenameOutcome::EmptyName;
    IconListModel& list = session.Lists[target.category];
    bool nameStaged = false;
    if (target.recycleBin) {
        list.Change(RecycleBinEmptyKey, name + L" (empty)", L"");
        list.Change(RecycleBinFullKey, name + L" (full)", L"");
        list.ListRefresh();
        nameStaged = true;
    } else if (name != list.ItemCaption(target.key)) {
        list.Change(target.key, name, L"");
        list.ItemRefresh();
        nameStaged = true;
    }
    const bool tooltipStaged = list.SetTooltip(target.recycleBin ? RecycleBinEmptyKey : target.key, tooltip);
    if (!nameStaged && !tooltipStaged) return RenameOutcome::Unchanged;
    if (nameStaged) session.IconCacheDirty = true;
    session.MarkChanged();
    return RenameOutcome::Staged;
}
