#pragma once
// Where Tessaly keeps its own preferences and its recent themes.

inline constexpr wchar_t ProgramSettingsKey[] =
    L"HKEY_CURRENT_USER\\Software\\Korvath\\Tessaly\\2.0\\Settings";
inline constexpr wchar_t ThemesKey[] = L"HKEY_CURRENT_USER\\Software\\Korvath\\Tessaly\\2.0\\Themes";
