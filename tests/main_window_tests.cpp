#include "ui/main_window.h"

#include "prompts/messages.h"
#include "registry/program_keys.h"
#include "registry/registry.h"
#include "support/dialog_script.h"
#include "support/leak_check.h"
#include "support/session_fixture.h"
#include "support/wide_text.h"

#include <doctest/doctest.h>

#include <commctrl.h>

#include <functional>
#include <memory>

namespace {

// A session on a sandboxed registry and a throwaway machine, shown in a real main window.
struct Fixture : SessionFixture {
    std::unique_ptr<MainWindow> main;
    HandleCounts beforeWindow{};

    // `arrange` prepares the sandboxed registry before the session reads it.
    explicit Fixture(const std::function<void()>& arrange = {}) {
        if (arrange) arrange();
        machine.Copy(L"three_icons.dll", machine.system);
        Load({.nt = true, .plus = true});
        beforeWindow = LiveHandleCounts();
        main = std::make_unique<MainWindow>(*session, system, prompts);
        REQUIRE(main->Create());
        ShowWindow(main->hwnd(), SW_SHOWNOACTIVATE);
    }
    ~Fixture() {
        main.reset();
        Pump();
    }
    void ClickTab(int tab) {
        SendMessageW(main->TabStrip(), TCM_SETCURSEL, tab - 1, 0);
        NMHDR header{main->TabStrip(), IdTabStrip, static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(main->hwnd(), WM_NOTIFY, IdTabStrip, reinterpret_cast<LPARAM>(&header));
    }
    void Press(HWND button) {
        SendMessageW(main->hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
        Pump();
    }
};

} // namespace

TEST_CASE("the main window shows its caption and eight tabs, starting on Desktop") {
    Fixture f;
    HWND window = f.main->hwnd();
    CHECK(TextOf(window) == L"Tessaly");
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    CHECK(std::wstring(className) == MainWindowClass);

    HWND tabs = f.main->TabStrip();
    CHECK(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0) == 8);
    CHECK(SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == 1);
    CHECK(f.session->SelectedTab == 2);
    CHECK(IsWindowVisible(f.main->List(IconCategory::Desktop).hwnd()));
    CHECK(TextOf(f.main->InfoBar()) == f.machine.windows + L"\\explorer.exe,0");
}

TEST_CASE("a stored active tab is selected at start") {
    auto storeTab = [](int tab) {
        return [tab] { Registry::WriteDword(ProgramSettingsKey, L"Active Tab", tab); };
    };
    SUBCASE("Pointer") {
        Fixture f(storeTab(8));
        CHECK(f.session->SelectedTab == 8);
        CHECK(IsWindowVisible(f.main->List(IconCategory::Pointers).hwnd()));
    }
    SUBCASE("Shell") {
        Fixture f(storeTab(1));
        CHECK(f.session->SelectedTab == 1);
        CHECK(IsWindowVisible(f.main->Tree().hwnd()));
    }
    SUBCASE("0 and indexes that name no tab start on Desktop") {
        for (int stored : {0, 9, -1}) {
            Fixture f(storeTab(stored));
            CHECK(f.session->SelectedTab == 2);
        }
    }
}

TEST_CASE("switching tabs shows that tab's list and its selected item in the information bar") {
    Fixture f;
    for (IconCategory shown : IconCategories) {
        CAPTURE(TabIndex(shown));
        f.ClickTab(TabIndex(shown));
        CHECK(f.session->SelectedTab == TabIndex(shown));
        CHECK_FALSE(IsWindowVisible(f.main->Tree().hwnd()));
        for (IconCategory other : IconCategories)
            CHECK(IsWindowVisible(f.main->List(other).hwnd()) == (other == shown));
    }
    // No pointer value is stored, so every pointer is the Windows default.
    CHECK(TextOf(f.main->InfoBar()) == L"Windows Default Cursor");

    f.ClickTab(3);
    CHECK(TextOf(f.main->InfoBar()) == f.machine.system + L"\\shell32.dll,19");
    // A key that moves the selection updates the bar; a click on the next row does too.
    SendMessageW(f.main->List(IconCategory::Start).lstMainHwnd(), WM_KEYDOWN, VK_DOWN, 0);
    CHECK(TextOf(f.main->InfoBar()) == f.machine.system + L"\\shell32.dll,20");

    f.ClickTab(1);
    CHECK(IsWindowVisible(f.main->Tree().hwnd()));
    CHECK_FALSE(IsWindowVisible(f.main->List(IconCategory::Start).hwnd()));
}

TEST_CASE("Apply is enabled by an edit, writes the session and is disabled again") {
    const std::wstring theme = L"C:\\Themes\\Sun.tstheme";
    Fixture f([&] { Registry::WriteString(ProgramSettingsKey, L"Current Theme", theme); });
    HWND apply = f.main->cmdApply();
    CHECK(TextOf(apply) == L"&Apply");
    CHECK_FALSE(IsWindowEnabled(apply));

    f.session->Lists[IconCategory::Start].Change(L"Programs", L"", f.machine.system + L"\\three_icons.dll,2");
    f.session->MarkChanged();
    CHECK(IsWindowEnabled(apply));

    f.Press(apply);
    CHECK_FALSE(IsWindowEnabled(apply));
    CHECK(Registry::ReadString(
              L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell "
              L"Icons",
              L"19") == f.machine.system + L"\\three_icons.dll,2");
    // The stored current theme survives an Apply.
    CHECK(Registry::ReadString(ProgramSettingsKey, L"Current Theme") == theme);
    CHECK(f.system.calls.front() == L"BUSY");
    CHECK(f.system.calls.back() == L"IDLE");
}

TEST_CASE("closing with unapplied changes asks whether to save them") {
    Fixture f;
    const std::wstring shellIcons =
        L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Icons";
    f.session->MarkChanged();
    HWND window = f.main->hwnd();

    SUBCASE("Cancel keeps the window and the changes") {
        f.prompts.Answer(0);
        SendMessageW(window, WM_CLOSE, 0, 0);
        REQUIRE(f.prompts.shown.size() == 1);
        CHECK(f.prompts.shown[0].message == MessageOf(Messages::AskSaveChanges));
        CHECK(IsWindow(window));
        CHECK(IsWindowEnabled(f.main->cmdApply()));
        CHECK(Registry::ReadString(shellIcons, L"19") == L"Error");
    }
    SUBCASE("No closes without writing") {
        f.prompts.Answer(1);
        SendMessageW(window, WM_CLOSE, 0, 0);
        CHECK_FALSE(IsWindow(window));
        CHECK(Registry::ReadString(shellIcons, L"19") == L"Error");
    }
    SUBCASE("Yes applies and closes") {
        f.prompts.Answer(2);
        SendMessageW(window, WM_CLOSE, 0, 0);
        CHECK_FALSE(IsWindow(window));
        CHECK(Registry::ReadString(shellIcons, L"19") == f.machine.system + L"\\shell32.dll,19");
    }
    SUBCASE("OK applies without asking, then closes") {
        f.Press(GetDlgItem(window, IdOk));
        CHECK(f.prompts.shown.empty());
        CHECK_FALSE(IsWindow(window));
        CHECK(Registry::ReadString(shellIcons, L"19") == f.machine.system + L"\\shell32.dll,19");
    }
}

TEST_CASE("closing without changes asks nothing; the window's life leaves no handle behind") {
    Fixture f;
    HWND window = f.main->hwnd();
    f.Press(GetDlgItem(window, IdCancel));
    CHECK(f.prompts.shown.empty());
    CHECK_FALSE(IsWindow(window));
    f.main.reset();
    CHECK(LiveHandleCounts() == f.beforeWindow);
}
