#include "icons/restore.h"

#include "icons/icon_location.h"
#include "prompts/messages.h"
#include "session/session.h"

#include <initializer_list>
#include <string>

namespace {

// The entry's Default icon onto the item; an item the tab's catalogue does not know, and one without a
// Default icon ("Zip File"), stay as they are.
void StageDefault(Session& session, IconCategory category, const std::wstring& key) {
    const auto at = LocateCatalogueEntry(session.Facts, session.Variants, category, key);
    if (!at || !at->defaultIcon) return;
    session.Lists[category].Change(key, L"", at->defaultIcon->file, at->defaultIcon->index);
}

void RestoreTabs(Session& session, SystemPort& system, IconCommandView& view,
                 std::initializer_list<IconCategory> categories) {
    // Let the window repaint where the prompt was before the work starts.
    Pause(0.01f);
    system.SetBusy(true);
    for (IconCategory category : categories) {
        IconListModel& list = session.Lists[category];
        for (const IconListItem& item : list.Items()) StageDefault(session, category, item.Key);
        list.ListRefresh();
    }
    // The selected tab and selections never moved; the visible list's bar and buttons follow its item.
    if (const auto shown = CategoryOfTab(session.SelectedTab)) view.ListClick(*shown);
    session.MarkChanged();
}

constexpr int CancelButton = 0;

} // namespace

void cmdDefault_Click(Session& session, IconCommandView& view) {
    const auto category = CategoryOfTab(session.SelectedTab);
    if (!category) return;
    IconListModel& list = session.Lists[*category];
    StageDefault(session, *category, list.Key());
    list.ItemRefresh();
    if (category == IconCategory::Pointers) {
        view.ListClick(*category);
    } else {
        view.SetInfoBar(list.SeledFullIconPath());
        session.IconCacheDirty = true;
    }
    session.MarkChanged();
}

void RestoreAllIcons(Session& session, PromptPort& prompts, SystemPort& system, IconCommandView& view) {
    if (Messages::ConfirmRestoreIcons(prompts, session.Facts.OsName) == CancelButton) return;
    RestoreTabs(session, system, view,
                {IconCategory::Desktop, IconCategory::Start, IconCategory::Folders, IconCategory::Drives,
                 IconCategory::Others, IconCategory::Apps});
    session.CurrentThemePath.clear();
    view.CaptionCleared();
    session.IconCacheDirty = true;
    system.SetBusy(false);
}

void RestoreAllPointers(Session& session, PromptPort& prompts, SystemPort& system, IconCommandView& view) {
    if (Messages::ConfirmRestorePointers(prompts, session.Facts.OsName) == CancelButton) return;
    RestoreTabs(session, system, view, {IconCategory::Pointers});
    system.SetBusy(false);
}
