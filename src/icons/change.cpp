#include "icons/change.h"

#include "icons/icon_location.h"
#include "session/session.h"

std::wstring PointerFilter() {
    // The literal's own NULs end the pairs; its terminator is not part of the filter.
    return std::wstring(PointerBrowseFilter, std::size(PointerBrowseFilter) - 1);
}

void cmdChange_Click(Session& session, IconChooserPort& chooser, FileDialogPort& files,
                     IconCommandView& view) {
    const auto category = CategoryOfTab(session.SelectedTab);
    if (!category) return;
    IconListModel& list = session.Lists[*category];
    const std::wstring key = list.Key();

    if (category != IconCategory::Pointers) {
        // What the information bar shows for an icon tab.
        const std::wstring current = list.SeledFullIconPath();
        const SplitLocation split = SplitIconLocation(current);
        const auto chosen = chooser.ChooseIcon(split.file, split.index.value_or(0));
        if (!chosen) return;
        if (FormatIconLocation(chosen->file, chosen->index) == current) return;
        session.IconCacheDirty = true;
        list.Change(key, L"", chosen->file, chosen->index);
        list.ItemRefresh();
    } else {
        files.Title(PointerBrowseTitle);
        files.Filter(PointerFilter());
        std::wstring path;
        if (!files.ShowOpen(path)) return;
        list.Change(key, L"", path, 0);
        list.ItemRefresh();
        // The buttons follow the new pointer (it is no longer the Windows default); the bar shows the file
        // as a reference.
        view.ListClick(*category);
    }
    view.SetInfoBar(list.SeledFullIconPath());
    session.MarkChanged();
}
