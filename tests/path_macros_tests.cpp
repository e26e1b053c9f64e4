#include "support/wide_text.h"
#include "themes/path_macros.h"

#include <doctest/doctest.h>

#include <utility>

TEST_CASE("expanding a stored path replaces a leading macro, letter case counting") {
    const ThemeFolders f{L"C:\\WINDOWS\\SYSTEM", L"C:\\WINDOWS", L"C:\\Tools", L"C:\\Themes"};
    const std::pair<const wchar_t*, const wchar_t*> rows[] = {
        {L"%ThemeDir%sun.ico", L"C:\\Themes\\sun.ico"},
        {L"%Folder%sun.ico", L"C:\\Themes\\sun.ico"},
        {L"%WinSysDir%shell32.dll", L"C:\\WINDOWS\\SYSTEM\\shell32.dll"},
        {L"%WinDir%x.ico", L"C:\\WINDOWS\\x.ico"},
        {L"%AppDir%Tessaly.exe", L"C:\\Tools\\Tessaly.exe"},
        {L"%windir%x.ico", L"%windir%x.ico"},
        {L"x.ico", L"x.ico"},
        // Hand-written files may put a backslash after the macro; the doubled one is harmless.
        {L"%WinDir%\\x.ico", L"C:\\WINDOWS\\\\x.ico"},
    };
    for (auto [stored, expanded] : rows) CHECK(ExpandThemePath(stored, f) == expanded);
}
