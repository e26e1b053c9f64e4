#pragma once
// What the machine is, found once at start and read-only afterwards. Tests build it directly.
#include <string>

struct StartupFacts {
    std::wstring OsKind; // "Win 95", "Win NT" or empty
    std::wstring OsName; // "Windows 95", "Windows NT" or empty
    bool HasPlus = false;
    std::wstring WindowsDir; // no trailing backslash
    std::wstring SystemDir;  // no trailing backslash
    int ColourDepth = 0;
    int ScreenWidth = 0;
    int ScreenHeight = 0;
    bool HasIE4Shell = false;
    std::wstring IEVersion; // the Internet Explorer "Version" text as read ("Error" when absent)
    std::wstring AppDir;    // no trailing backslash
    std::wstring OwnExePath;
    std::wstring HelpFile;

    bool IsNT() const { return OsKind == L"Win NT"; }
    bool Is95() const { return OsKind == L"Win 95"; }
};

// The Internet Explorer 4 shell is present exactly when the version text begins "4.71" or "4.72".
inline bool IsIE4ShellVersion(const std::wstring& version) {
    return version.starts_with(L"4.71") || version.starts_with(L"4.72");
}
