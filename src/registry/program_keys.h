#pragma once
// Where Tessaly keeps its own preferences and its recent themes.

inline constexpr wchar_t ProgramSettingsKey[] =
    L"HKEY_CURRENT_USER\\Software\\Korvath\\Tessaly\\2.0\\Settings";
inline constexpr wchar_t ThemesKey[] = L"HKEY_CURRENT_USER\\Software\\Korvath\\Tessaly\\2.0\\Themes";

// The preferences under ProgramSettingsKey that the main window and the session read and write.
inline constexpr wchar_t CurrentThemeValue[] = L"Current Theme";
inline constexpr wchar_t ActiveTabValue[] = L"Active Tab";
inline constexpr wchar_t SelectedNodeValue[] = L"Selected";
inline constexpr wchar_t PositionsValue[] = L"Positions";
inline constexpr wchar_t LeftValue[] = L"Left";
inline constexpr wchar_t TopValue[] = L"Top";
inline constexpr wchar_t SplashValue[] = L"Splash";
