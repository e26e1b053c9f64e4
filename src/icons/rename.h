#pragma once
// Renaming a desktop object or special folder, and editing its shell tooltip: what the rename dialog
// shows and what its OK stages.
#include "icons/catalogue.h"

#include <cstdint>
#include <optional>
#include <string>

class Session;

inline constexpr wchar_t RecycleBinEmptyKey[] = L"Recycle Bin (empty)";
inline constexpr wchar_t RecycleBinFullKey[] = L"Recycle Bin (full)";

struct RenameTarget {
    IconCategory category = IconCategory::Desktop;
    std::wstring key;
    bool recycleBin = false; // the two bin items share one name and one tooltip
    std::wstring name;       // what the name box starts with
    std::wstring tooltip;    // as staged
    std::wstring tooltipAtStart;
    std::wstring iconPath;
    std::int16_t iconIndex = 0;
};

// The selected item of the Desktop list on the Desktop tab or of the Folders list on the Folders tab,
// when it is a shell object (it has a name); none otherwise.
std::optional<RenameTarget> RenameTargetOf(const Session& session);

enum class RenameOutcome {
    EmptyName, // nothing staged: the user must give a name
    Unchanged, // nothing staged
    Staged,
};

// The name is compared exactly with the caption (letter case counts); the bin's two captions are always
// rewritten. A changed name raises IconCacheDirty; any staged edit marks the session changed.
RenameOutcome StageRename(Session& session, const RenameTarget& target, const std::wstring& name,
                          const std::wstring& tooltip);
