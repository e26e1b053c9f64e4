#pragma once
// The theme the caption names and the four themes used last. The list lives in the registry under the
// themes key, slot "1" the most recent; the window only mirrors it in the File menu.
#include <array>
#include <string>

class Session;

inline constexpr int RecentThemeSlots = 4;
// The special path with which start-up restores the stored current theme.
inline constexpr wchar_t StoredThemeRequest[] = L"Display";

// The path stored in slot 1 to 4; empty when the slot is absent or empty.
std::wstring ReadRecentTheme(int slot);
std::array<std::wstring, RecentThemeSlots> ReadRecentThemes();

// The main window's caption for a current theme: "Tessaly", or "Tessaly - " and the theme's base name.
std::wstring MainCaption(const std::wstring& currentThemePath);

// A path: the caption names it and it goes to the recent list. The empty text: no current theme, the list
// untouched. "Display": the stored "Current Theme", when one is stored.
void SetCurrentTheme(Session& session, const std::wstring& path);
// A path: first in the list unless slot 1 already holds it (letter case aside); the others move down and
// the oldest falls out. The empty text only asks the window to show the list again.
void AddRecentTheme(Session& session, const std::wstring& path);
