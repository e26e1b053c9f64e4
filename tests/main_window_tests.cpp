#include "ui/main_window.h"
#include "support/wide_text.h"

#include <doctest/doctest.h>

#include <commctrl.h>

namespace {
StartupFacts TestFacts() {
    StartupFacts f;
    f.OsKind = L"Win NT";
    f.OsName = L"Windows NT";
    f.WindowsDir = L"C:\\windows";
    f.SystemDir = L"C:\\windows\\system32";
    f.AppDir = L"C:\\Tools";
    f.OwnExePath = L"C:\\Tools\\Tessaly.exe";
    return f;
}

std::wstring WindowText(HWND w) {
    wchar_t buffer[256] = {};
    GetWindowTextW(w, buffer, 256);
    return buffer;
}
} // namespace

TEST_CASE("the main window shows its caption and eight tabs, then closes cleanly") {
    const StartupFacts facts = TestFacts();
    MainWindow main(facts);
    REQUIRE(main.Create());
    HWND window = main.hwnd();
    CHECK(WindowText(window) == L"Tessaly");
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    CHECK(std::wstring(className) == MainWindowClass);

    HWND tabs = main.TabStrip();
    REQUIRE(tabs);
    REQUIRE(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0) == 8);
    const wchar_t* expected[] = {L"Shell", L"Desktop", L"Start", L"Folders", L"Drives", L"Others", L"System", L"Pointer"};
    for (int i = 0; i < 8; ++i) {
        wchar_t caption[64] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption;
        item.cchTextMax = 64;
        SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        CHECK(std::wstring(caption) == expected[i]);
    }
    CHECK(SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == 1);

    SendMessageW(window, WM_CLOSE, 0, 0);
    CHECK_FALSE(IsWindow(window));
    CHECK(main.hwnd() == nullptr);
    MSG msg;
    CHECK(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}
