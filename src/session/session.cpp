#include "session/session.h"

#include "icons/catalogue_reader.h"
#include "settings/settings_catalogue.h"

Session::Session(StartupFacts facts, CatalogueVariants variants)
    : Facts(std::move(facts)),
      Variants(std::move(variants)), Folders{Facts.SystemDir, Facts.WindowsDir, Facts.AppDir, {}},
      Lists(Facts.OwnExePath, &Folders) {}

void Session::Load() {
    Add_Icons(Facts, Variants, Lists);
    Add_TreeItems(Facts, Settings);
}

void Session::SetUnapplied(bool value) {
    if (unapplied_ == value) return;
    unapplied_ = value;
    if (UnappliedChanged) UnappliedChanged(value);
}
