#pragma once
// The staged state: everything the user has edited and not yet applied, with the facts and catalogue
// variants found at start. Commands change it; windows observe it and redraw.
#include "icons/catalogue.h"
#include "icons/catalogue_reader.h"
#include "icons/catalogue_variants.h"
#include "platform/startup_facts.h"
#include "settings/settings_state.h"
#include "themes/path_macros.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

class Session {
public:
    Session(StartupFacts facts, CatalogueVariants variants);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Reads the stored theme and tab; the seven lists and the settings are read when first used.
    void Load();

    const StartupFacts Facts;
    const CatalogueVariants Variants;
    ThemeFolders Folders; // the theme folder changes with every theme load and save
    IconLists Lists;
    SettingsState Settings;
    IconFileMemory IconFiles; // what the icon files the lists were filled from held then

    bool IconCacheDirty = false;
    bool RestartNeeded = false;
    bool RestartDeclined = false;
    bool AutoApply = false;
    bool MissingIcons = false;
    std::wstring CurrentThemePath;
    int SelectedTab = 2;      // 1 "Shell" ... 8 "Pointer"; Load starts it on the stored "Active Tab"
    std::wstring CommandLine; // a theme to open at start, as the program was given it

    // The caption's theme or the recent-theme list changed.
    std::function<void()> ThemesChanged;

    // Where each catalogue entry of a list stands here, found on first need: the facts and variants it
    // depends on never change while the program runs.
    const std::vector<CatalogueLocation>& Locations(IconCategory category);

    // Unapplied changes, shown by the Apply button.
    bool HasUnappliedChanges() const { return unapplied_; }
    void MarkChanged() { SetUnapplied(true); }
    void MarkApplied() { SetUnapplied(false); }
    std::function<void(bool)> UnappliedChanged;

private:
    void SetUnapplied(bool value);
    bool unapplied_ = false;
    std::array<std::vector<CatalogueLocation>, IconCategories.size()> locations_;
};
