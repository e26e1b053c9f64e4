#include "icons/tooltips.h"

#include "registry/registry.h"

void Add_Tooltips(const StartupFacts& facts, const CatalogueVariants& variants, IconCategory category,
                  IconListModel& list) {
    for (const CatalogueEntry& entry : CatalogueEntries(category)) {
        if (!entry.hasNameLocation) continue;
        const std::wstring key(entry.key);
        if (!list.Find(key)) continue;
        const CatalogueLocation at = LocateCatalogueEntry(facts, variants, category, entry);
        if (at.nameKey.empty()) continue;
        std::wstring text = Registry::ReadString(at.nameKey, TooltipValue);
        if (text == Registry::ErrorText) text.clear();
        list.ReadTooltip(key, text);
    }
}
