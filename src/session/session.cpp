#include "session/session.h"

#include "icons/catalogue_reader.h"
#include "icons/tooltips.h"
#include "registry/program_keys.h"
#include "registry/registry.h"
#include "settings/settings_catalogue.h"

Session::Session(StartupFacts facts, CatalogueVariants variants)
    : Facts(std::move(facts)),
      Variants(std::move(variants)), Folders{Facts.SystemDir, Facts.WindowsDir, Facts.AppDir, {}},
      Lists(Facts.OwnExePath, &Folders) {}

void Session::Load() {
    // The lists and the settings are read from the registry when first used: at start only the shown list
    // is, and the settings when the tree is first shown or Apply writes them.
    Lists.FillOnFirstUse([this](IconCategory category, IconListModel& list) {
        const Registry::ReadCache keys;
        Add_Icons(Facts, Variants, category, list, &IconFiles);
        Add_Tooltips(Facts, Variants, category, list);
    });
    Settings.FillOnFirstUse([this](SettingsState& settings) {
        const Registry::ReadCache keys;
        Add_TreeItems(Facts, settings);
    });
    const Registry::ReadCache keys; // two values of one key
    // Apply stores the current theme, so it must start as the one stored, not as none.
    const std::wstring theme = Registry::ReadString(ProgramSettingsKey, CurrentThemeValue);
    if (!theme.empty() && theme != Registry::ErrorText) CurrentThemePath = theme;
    // 1 to 8 name a tab; anything else, absent included, starts on "Desktop".
    const int tab = Registry::ReadDword(ProgramSettingsKey, ActiveTabValue);
    SelectedTab = tab >= 1 && tab <= 8 ? tab : 2;
}

const std::vector<CatalogueLocation>& Session::Locations(IconCategory category) {
    auto& found = locations_[static_cast<size_t>(TabIndex(category) - TabIndex(IconCategories.front()))];
    if (found.empty())
        for (const CatalogueEntry& entry : CatalogueEntries(category))
            found.push_back(LocateCatalogueEntry(Facts, Variants, category, entry));
    return found;
}

void Session::SetUnapplied(bool value) {
    if (unapplied_ == value) return;
    unapplied_ = value;
    if (UnappliedChanged) UnappliedChanged(value);
}
