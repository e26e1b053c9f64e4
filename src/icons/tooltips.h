#pragma once
// The shell's tooltips of the renamable items: the "InfoTip" text beside each item's name. Read with the
// list, staged by the rename dialog and written by Apply; themes do not carry them.
#include "icons/catalogue.h"
#include "icons/catalogue_variants.h"
#include "platform/startup_facts.h"

inline constexpr wchar_t TooltipValue[] = L"InfoTip";

// Reads the tooltip of every item of the list that has a name location; an absent value reads as empty.
void Add_Tooltips(const StartupFacts& facts, const CatalogueVariants& variants, IconCategory category,
                  IconListModel& list);
