#pragma once
// The folder macros that keep theme files portable between machines.
#include <string>
#include <string_view>

struct ThemeFolders {
    std::wstring SystemDir;   // "%WinSysDir%"
    std::wstring WindowsDir;  // "%WinDir%"
    std::wstring AppDir;      // "%AppDir%"
    std::wstring ThemeFolder; // "%ThemeDir%" and "%Folder%": the theme file's folder, no trailing backslash
};

// The reference with its leading folder replaced by the first macro that fits, or unchanged.
std::wstring CompressThemePath(std::wstring_view reference, const ThemeFolders& folders);
// The stored path with a leading macro (exact letter case) replaced by its folder, or unchanged.
std::wstring ExpandThemePath(std::wstring_view stored, const ThemeFolders& folders);
