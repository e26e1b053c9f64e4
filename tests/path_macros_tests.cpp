#include "support/wide_text.h"
#include "themes/path_macros.h"

#include <doctest/doctest.h>

namespace {
ThemeFolders Folders95() {
    return {L"C:\\WINDOWS\\SYSTEM", L"C:\\WINDOWS", L"C:\\Tools", L"C:\\Themes"};
}
} // namespace

TEST_CASE("compressing a reference replaces its folder by the first macro that fits") {
    const ThemeFolders f = Folders95();
    SUBCASE("system folder before Windows folder") {
        CHECK(CompressThemePath(L"C:\\WINDOWS\\SYSTEM\\shell32.dll,3", f) == L"%WinSysDir%shell32.dll,3");
        CHECK(CompressThemePath(L"C:\\WINDOWS\\SYSTEM32\\x.dll,0", f) == L"%WinDir%SYSTEM32\\x.dll,0");
        CHECK(CompressThemePath(L"C:\\WINDOWS\\SYSTEM\\Sub\\x.dll,1", f) == L"%WinSysDir%Sub\\x.dll,1");
    }
    SUBCASE("letter case counts for the system, Windows and program folders") {
        CHECK(CompressThemePath(L"c:\\windows\\system\\shell32.dll,3", f) ==
              L"c:\\windows\\system\\shell32.dll,3");
        CHECK(CompressThemePath(L"c:\\tools\\a.ico,0", f) == L"c:\\tools\\a.ico,0");
    }
    SUBCASE("beside the theme file, in any letter case") {
        CHECK(CompressThemePath(L"C:\\THEMES\\sun.ico,0", f) == L"%ThemeDir%sun.ico,0");
        CHECK(CompressThemePath(L"c:\\themes\\Sun, Moon.ico,2", f) == L"%ThemeDir%Sun, Moon.ico,2");
        // Only directly beside it, not below it.
        CHECK(CompressThemePath(L"C:\\Themes\\Sub\\sun.ico,0", f) == L"C:\\Themes\\Sub\\sun.ico,0");
    }
    SUBCASE("a file beside a theme kept in the Windows folder takes the Windows macro") {
        ThemeFolders g = f;
        g.ThemeFolder = L"C:\\WINDOWS";
        CHECK(CompressThemePath(L"C:\\WINDOWS\\sun.ico,0", g) == L"%WinDir%sun.ico,0");
    }
    SUBCASE("program folder last") {
        CHECK(CompressThemePath(L"C:\\Tools\\Tessaly.exe,3", f) == L"%AppDir%Tessaly.exe,3");
    }
    SUBCASE("left alone") {
        CHECK(CompressThemePath(L"sun.ico,0", f) == L"sun.ico,0");
        CHECK(CompressThemePath(L"D:\\Icons\\sun.ico,4", f) == L"D:\\Icons\\sun.ico,4");
        // A folder that merely starts with the same letters is another folder.
        CHECK(CompressThemePath(L"C:\\WINDOWSX\\a.ico,0", f) == L"C:\\WINDOWSX\\a.ico,0");
        CHECK(CompressThemePath(L"C:\\Toolshed\\a.ico,0", f) == L"C:\\Toolshed\\a.ico,0");
    }
}

TEST_CASE("expanding a stored path replaces a leading macro, letter case counting") {
    const ThemeFolders f = Folders95();
    CHECK(ExpandThemePath(L"%ThemeDir%sun.ico", f) == L"C:\\Themes\\sun.ico");
    CHECK(ExpandThemePath(L"%Folder%sun.ico", f) == L"C:\\Themes\\sun.ico");
    CHECK(ExpandThemePath(L"%WinSysDir%shell32.dll", f) == L"C:\\WINDOWS\\SYSTEM\\shell32.dll");
    CHECK(ExpandThemePath(L"%WinDir%x.ico", f) == L"C:\\WINDOWS\\x.ico");
    CHECK(ExpandThemePath(L"%AppDir%Tessaly.exe", f) == L"C:\\Tools\\Tessaly.exe");
    CHECK(ExpandThemePath(L"%windir%x.ico", f) == L"%windir%x.ico");
    CHECK(ExpandThemePath(L"C:\\Icons\\x.ico", f) == L"C:\\Icons\\x.ico");
    CHECK(ExpandThemePath(L"x.ico", f) == L"x.ico");
    // Hand-written files may put a backslash after the macro; the doubled one is harmless.
    CHECK(ExpandThemePath(L"%WinDir%\\x.ico", f) == L"C:\\WINDOWS\\\\x.ico");
}

TEST_CASE("compress then expand on the same machine gives the reference back") {
    const ThemeFolders f = Folders95();
    for (const wchar_t* file : {L"C:\\WINDOWS\\SYSTEM\\shell32.dll", L"C:\\WINDOWS\\explorer.exe",
                                L"C:\\Themes\\sun.ico", L"C:\\Tools\\Tessaly.exe", L"D:\\Other\\x.ico"}) {
        CAPTURE(std::string(file, file + wcslen(file)));
        std::wstring compressed = CompressThemePath(std::wstring(file) + L",7", f);
        size_t comma = compressed.rfind(L',');
        CHECK(ExpandThemePath(compressed.substr(0, comma), f) + compressed.substr(comma) ==
              std::wstring(file) + L",7");
    }
}
