#include "icons/icon_location.h"
#include "support/wide_text.h"

#include <doctest/doctest.h>

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

TEST_CASE("an icon reference splits at its last comma") {
    SUBCASE("file and index") {
        SplitLocation s = SplitIconLocation(L"C:\\WINDOWS\\SYSTEM\\shell32.dll,3");
        CHECK(s.file == L"C:\\WINDOWS\\SYSTEM\\shell32.dll");
        CHECK(s.index == 3);
        CHECK(s.hadComma);
    }
    SUBCASE("no comma: the whole text is the file, index 0") {
        SplitLocation s = SplitIconLocation(L"C:\\Icons\\sun.ico");
        CHECK(s.file == L"C:\\Icons\\sun.ico");
        CHECK(s.index == 0);
        CHECK_FALSE(s.hadComma);
    }
    SUBCASE("a folder whose name holds commas") {
        SplitLocation s = SplitIconLocation(L"C:\\Sun, Moon, Stars\\sky.dll,12");
        CHECK(s.file == L"C:\\Sun, Moon, Stars\\sky.dll");
        CHECK(s.index == 12);
    }
    SUBCASE("negative index and spaces around the number") {
        CHECK(SplitIconLocation(L"x.dll,-5").index == -5);
        CHECK(SplitIconLocation(L"x.dll, 7 ").index == 7);
    }
    SUBCASE("16-bit bounds") {
        CHECK(SplitIconLocation(L"x.dll,32767").index == 32767);
        CHECK(SplitIconLocation(L"x.dll,-32768").index == -32768);
        CHECK_FALSE(SplitIconLocation(L"x.dll,32768").usable());
        CHECK_FALSE(SplitIconLocation(L"x.dll,-32769").usable());
        CHECK_FALSE(SplitIconLocation(L"x.dll,99999999999999999999").usable());
    }
    SUBCASE("an index part that is not a decimal number makes the reference unusable") {
        CHECK_FALSE(SplitIconLocation(L"x.dll,").usable());
        CHECK_FALSE(SplitIconLocation(L"x.dll,abc").usable());
        CHECK_FALSE(SplitIconLocation(L"x.dll,3a").usable());
        CHECK_FALSE(SplitIconLocation(L"x.dll,1.5").usable());
        CHECK_FALSE(SplitIconLocation(L"x.dll,-").usable());
        CHECK_FALSE(SplitIconLocation(L"x.dll,0x10").usable());
        CHECK(SplitIconLocation(L"x.dll,abc").file == L"x.dll");
    }
}

TEST_CASE("references are written as file, comma, decimal index") {
    CHECK(FormatIconLocation(L"C:\\W\\shell32.dll", 19) == L"C:\\W\\shell32.dll,19");
    CHECK(FormatIconLocation(L"a.ico", 0) == L"a.ico,0");
    CHECK(FormatIconLocation(L"a.dll", -3) == L"a.dll,-3");
}

TEST_CASE("a leading %SystemRoot% in any letter case becomes the Windows folder") {
    CHECK(ExpandSystemRoot(L"%SystemRoot%\\system32\\shell32.dll,3", L"C:\\WINDOWS") ==
          L"C:\\WINDOWS\\system32\\shell32.dll,3");
    CHECK(ExpandSystemRoot(L"%systemroot%\\x.ico", L"C:\\WINDOWS") == L"C:\\WINDOWS\\x.ico");
    CHECK(ExpandSystemRoot(L"%SYSTEMROOT%\\x.ico", L"D:\\WinNT") == L"D:\\WinNT\\x.ico");
    // Only at the very start, and no other variable.
    CHECK(ExpandSystemRoot(L"C:\\%SystemRoot%\\x.ico", L"C:\\WINDOWS") == L"C:\\%SystemRoot%\\x.ico");
    CHECK(ExpandSystemRoot(L"%windir%\\x.ico", L"C:\\WINDOWS") == L"%windir%\\x.ico");
    CHECK(ExpandSystemRoot(L"%SystemRoo", L"C:\\WINDOWS") == L"%SystemRoo");
}

TEST_CASE("FileExists is true only for an existing file that is not a folder") {
    fs::path folder = fs::temp_directory_path() / L"tessaly-exists-\u00e9t\u00e9";
    fs::create_directories(folder);
    fs::path file = folder / L"icon \u0444.ico";
    std::ofstream(file) << "x";

    CHECK(FileExists(file.wstring()));
    CHECK_FALSE(FileExists(folder.wstring()));
    CHECK_FALSE(FileExists(L""));
    CHECK_FALSE(FileExists((folder / L"*.ico").wstring()));
    CHECK_FALSE(FileExists((folder / L"missing.ico").wstring()));
    CHECK_FALSE(FileExists(L"Q:\\no\\such\\drive.ico"));
    fs::remove_all(folder);
}

TEST_CASE("file names and folders of paths") {
    CHECK(FileTitle(L"C:\\Themes\\Sun.tstheme") == L"Sun.tstheme");
    CHECK(FileTitle(L"C:Sun.tstheme") == L"Sun.tstheme");
    CHECK(FileTitle(L"Sun.tstheme") == L"Sun.tstheme");
    CHECK(FileTitle(L"C:\\Themes\\") == L"");

    CHECK(FileBaseName(L"C:\\Themes\\Sun.tstheme") == L"Sun");
    CHECK(FileBaseName(L"C:\\Themes\\Sun.old.tstheme") == L"Sun");
    CHECK(FileBaseName(L"C:\\My.Themes\\Sun") == L"Sun");

    CHECK(FolderOfPath(L"C:\\Themes\\Sun.tstheme") == L"C:\\Themes\\");
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    CHECK(FolderOfPath(L"Sun.tstheme") == std::wstring(current) + L"\\");
    // A drive-relative name gives that drive's current folder, ending in a backslash like every other result.
    std::wstring drive(current, 2);
    CHECK(FolderOfPath(drive + L"Sun.tstheme") == std::wstring(current) + L"\\");
}

TEST_CASE("Pause waits the time asked while window messages are handled") {
    static int handled = 0;
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_APP) ++handled;
        return DefWindowProcW(h, m, w, l);
    };
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PauseProbe";
    RegisterClassW(&wc);
    HWND probe =
        CreateWindowW(L"PauseProbe", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    REQUIRE(probe);

    handled = 0;
    PostMessageW(probe, WM_APP, 0, 0);
    auto start = std::chrono::steady_clock::now();
    Pause(0.2f);
    auto waited = std::chrono::steady_clock::now() - start;
    CHECK(handled == 1);
    CHECK(waited >= std::chrono::milliseconds(195));

    SUBCASE("zero and negative times return without waiting for messages") {
        PostMessageW(probe, WM_APP, 0, 0);
        Pause(0);
        Pause(-3);
        CHECK(handled == 1); // nothing was pumped
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    DestroyWindow(probe);
}
