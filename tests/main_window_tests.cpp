#include "ui/main_window.h"

#include "controls/surface_image.h"
#include "platform/gdi_guards.h"
#include "prompts/messages.h"
#include "registry/program_keys.h"
#include "registry/registry.h"
#include "support/dialog_script.h"
#include "support/leak_check.h"
#include "support/pixels.h"
#include "support/session_fixture.h"
#include "support/wide_text.h"
#include "themes/recent_themes.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace {

// The main window with what later pieces add to it: commands can be wired and Open Theme recorded.
class TestMain : public MainWindow {
public:
    using MainWindow::MainWindow;
    using Window::OnCommand;
    void RecordOpenTheme() {
        openTheme_ = [this](const std::wstring& path, bool fromCommandLine) {
            opened.push_back({path, fromCommandLine});
        };
    }
    std::vector<std::pair<std::wstring, bool>> opened;
};

struct Options {
    std::function<void(const TempMachine&)> arrange = {}; // the registry, before the session reads it
    std::wstring commandLine = {};
    std::function<void(TestMain&)> wire = {}; // before the window starts
    bool splash = false;                      // the splash's two seconds, only where a case looks at it
};

// A session on a sandboxed registry and a throwaway machine, shown in a real main window.
struct Fixture : SessionFixture {
    std::unique_ptr<TestMain> main;
    HandleCounts beforeWindow{};

    explicit Fixture(const Options& options = {}) {
        if (!options.splash) Registry::WriteDword(ProgramSettingsKey, SplashValue, 0);
        if (options.arrange) options.arrange(machine);
        machine.Copy(L"three_icons.dll", machine.system);
        Load({.nt = true, .plus = true});
        session->CommandLine = options.commandLine;
        beforeWindow = LiveHandleCounts();
        main = std::make_unique<TestMain>(*session, system, prompts);
        if (options.wire) options.wire(*main);
        REQUIRE(main->Create());
    }
    ~Fixture() {
        main.reset();
        Pump();
    }
    HWND Window() const { return main->hwnd(); }
    void ClickTab(int tab) {
        SendMessageW(main->TabStrip(), TCM_SETCURSEL, tab - 1, 0);
        NMHDR header{main->TabStrip(), IdTabStrip, static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(Window(), WM_NOTIFY, IdTabStrip, reinterpret_cast<LPARAM>(&header));
    }
    void Command(int id) {
        SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        Pump();
    }
    void Close() {
        SendMessageW(Window(), WM_CLOSE, 0, 0);
        Pump();
    }
    POINT Position(bool centred = false) const {
        RECT r;
        GetWindowRect(Window(), &r);
        if (!centred) return {r.left, r.top};
        return {(GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2,
                (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2};
    }
};

std::function<void(const TempMachine&)> Store(std::map<std::wstring, std::wstring> texts,
                                              std::map<std::wstring, int> numbers = {}) {
    return [=](const TempMachine&) {
        for (const auto& [name, value] : texts) Registry::WriteString(ProgramSettingsKey, name, value);
        for (const auto& [name, value] : numbers) Registry::WriteDword(ProgramSettingsKey, name, value);
    };
}

int TwipsPerPixel() {
    return 1440 / GetDeviceCaps(WindowDc(nullptr).get(), LOGPIXELSX);
}

// Every entry of a menu, each followed by "|": separators as "-", submenus as their caption and ">".
std::wstring MenuTexts(HMENU menu) {
    std::wstring joined;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
        const bool separator = !GetSubMenu(menu, i) && (GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR);
        joined += (separator ? L"-" : text + std::wstring(GetSubMenu(menu, i) ? L">" : L"")) + L"|";
    }
    return joined;
}

bool MenuEnabled(HMENU bar, int id) {
    return !(GetMenuState(bar, id, MF_BYCOMMAND) & MF_GRAYED);
}

} // namespace

TEST_CASE("start-up places the window by the stored position, and closing stores where it is") {
    struct Case {
        const char* name;
        std::map<std::wstring, std::wstring> texts;
        std::map<std::wstring, int> numbers;
        enum { Centred, Stored, NotCentred } where;
    };
    // clang-format off
    const Case cases[] = {
        {"first start", {}, {}, Case::Centred},
        {"no Positions, both numeric", {{LeftValue, L"1500"}, {TopValue, L"900"}}, {}, Case::Stored},
        {"no Positions, one not numeric", {{LeftValue, L"1500"}, {TopValue, L"top"}}, {}, Case::Centred},
        {"Positions 0", {{LeftValue, L"1500"}, {TopValue, L"900"}}, {{PositionsValue, 0}}, Case::Centred},
        {"Positions 1", {{LeftValue, L"1500"}, {TopValue, L"900"}}, {{PositionsValue, 1}}, Case::Stored},
        {"Positions 1, not numeric", {{LeftValue, L"x"}, {TopValue, L"900"}}, {{PositionsValue, 1}}, Case::NotCentred},
        {"outside every monitor", {{LeftValue, L"60000"}, {TopValue, L"900"}}, {{PositionsValue, 1}}, Case::Centred},
    };
    // clang-format on
    const int twips = TwipsPerPixel();
    for (const Case& c : cases) {
        CAPTURE(c.name);
        Fixture f({.arrange = Store(c.texts, c.numbers)});
        const POINT at = f.Position(), centre = f.Position(true);
        if (c.where == Case::Centred) CHECK((at.x == centre.x && at.y == centre.y));
        if (c.where == Case::Stored) CHECK((at.x == 1500 / twips && at.y == 900 / twips));
        if (c.where == Case::NotCentred) CHECK_FALSE((at.x == centre.x && at.y == centre.y));
        f.Close();
        CHECK(Registry::ReadString(ProgramSettingsKey, LeftValue) == std::to_wstring(at.x * twips));
        CHECK(Registry::ReadString(ProgramSettingsKey, TopValue) == std::to_wstring(at.y * twips));
    }
}

// Whether a splash window was up while start-up paused, and where its owner was.
HWND splashSeen = nullptr, splashOwner = nullptr;
// This program's splash only: another test program may show one of its own meanwhile.
HWND OwnSplash() {
    for (HWND w = FindWindowW(SplashClass, nullptr); w; w = FindWindowExW(nullptr, w, SplashClass, nullptr)) {
        DWORD process = 0;
        GetWindowThreadProcessId(w, &process);
        if (process == GetCurrentProcessId()) return w;
    }
    return nullptr;
}
void CALLBACK LookForSplash(HWND, UINT, UINT_PTR, DWORD) {
    if (HWND splash = OwnSplash()) {
        splashSeen = splash;
        splashOwner = GetWindow(splash, GW_OWNER);
    }
}

TEST_CASE(
    "the splash shows for the pause on a first start, and not when switched off or with a command line, "
    "which goes to Open Theme instead of placing the window") {
    struct Case {
        const char* name;
        std::optional<int> stored;
        std::wstring commandLine;
        bool shown;
    };
    const Case cases[] = {{"first start", std::nullopt, L"", true},
                          {"Splash 1", 1, L"", true},
                          {"Splash 0", 0, L"", false},
                          {"a command line", std::nullopt, L"C:\\Themes\\Sun.tstheme", false}};
    for (const Case& c : cases) {
        CAPTURE(c.name);
        splashSeen = splashOwner = nullptr;
        const UINT_PTR timer = SetTimer(nullptr, 0, 300, &LookForSplash);
        Fixture f({.arrange =
                       [&c](const TempMachine& m) {
                           Store({{LeftValue, L"1500"}, {TopValue, L"900"}}, {{PositionsValue, 1}})(m);
                           if (c.stored) Registry::WriteDword(ProgramSettingsKey, SplashValue, *c.stored);
                       },
                   .commandLine = c.commandLine,
                   .wire = [](TestMain& m) { m.RecordOpenTheme(); },
                   .splash = true});
        KillTimer(nullptr, timer);
        CHECK((splashSeen != nullptr) == c.shown);
        if (c.shown) CHECK(splashOwner == f.Window());
        CHECK(OwnSplash() == nullptr); // closed once start-up is done
        const bool placed = c.commandLine.empty();
        CHECK((f.Position().x == 1500 / TwipsPerPixel()) == placed);
        CHECK(f.main->opened.size() == (placed ? 0u : 1u));
        if (!placed) CHECK(f.main->opened[0] == std::pair(c.commandLine, true));
    }
}

TEST_CASE(
    "the stored tab and tree node are selected at start and recorded at close; only what is shown is read") {
    struct Case {
        std::optional<int> storedTab;
        int startTab;
        int storedAfter; // after moving to tab 5 and closing
    };
    const Case cases[] = {{std::nullopt, 2, 5}, {0, 2, 0}, {1, 1, 5}, {8, 8, 5}, {9, 2, 5}};
    for (const Case& c : cases) {
        CAPTURE(c.storedTab.value_or(-1));
        Fixture f({.arrange = c.storedTab ? Store({}, {{ActiveTabValue, *c.storedTab}}) : nullptr});
        CHECK(f.session->SelectedTab == c.startTab);
        for (IconCategory category : IconCategories) // only what is shown has been read
            CHECK(f.session->Lists.Filled(category) == (TabIndex(category) == c.startTab));
        CHECK(f.session->Settings.Filled() == (c.startTab == 1));
        if (c.startTab == 1) // read as the tree first showed, yet each setting shows once
            CHECK(SendMessageW(f.main->Tree().SystemTree(), TVM_GETCOUNT, 0, 0) ==
                  f.session->Settings.Count());
        CHECK(SendMessageW(f.main->TabStrip(), TCM_GETCURSEL, 0, 0) == c.startTab - 1);
        HWND shown =
            c.startTab == 1 ? f.main->Tree().hwnd() : f.main->List(*CategoryOfTab(c.startTab)).hwnd();
        CHECK(IsWindowVisible(shown));
        f.ClickTab(5);
        f.Close();
        CHECK(Registry::ReadDword(ProgramSettingsKey, ActiveTabValue) == c.storedAfter);
    }

    const std::pair<std::optional<std::wstring>, std::wstring> nodes[] = {
        {std::nullopt, L"General"}, {L"", L"General"}, {L"Beep On Errors", L"Beep On Errors"}};
    for (const auto& [stored, selected] : nodes) {
        CAPTURE(stored.value_or(L"(absent)"));
        Fixture f({.arrange = stored ? Store({{SelectedNodeValue, *stored}}) : nullptr});
        CHECK(f.main->Tree().SelectedKey() == selected);
        f.main->Tree().SelectNode(L"Smooth Scrolling");
        f.Close();
        CHECK(Registry::ReadString(ProgramSettingsKey, SelectedNodeValue) == L"Smooth Scrolling");
    }
}

TEST_CASE("closing asks about unapplied changes, tells of a declined restart, and leaves no handle behind") {
    const std::wstring shellIcons =
        L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Icons";
    struct Case {
        const char* name;
        bool changed;
        int answer; // -1: nothing to answer
        int button; // how the close starts: IdCancel, IdOk or 0 for the close box
        bool asked, closed, applied;
    };
    const Case cases[] = {
        {"Cancel keeps the window and the changes", true, 0, 0, true, false, false},
        {"No closes without writing", true, 1, 0, true, true, false},
        {"closed without a button is No", true, PromptResult::Closed, IdCancel, true, true, false},
        {"Yes applies and closes", true, 2, 0, true, true, true},
        {"OK applies without asking", true, -1, IdOk, false, true, true},
        {"OK with nothing to apply just closes", false, -1, IdOk, false, true, false},
        {"Cancel with nothing to apply asks nothing", false, -1, IdCancel, false, true, false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        Fixture f;
        CHECK_FALSE(IsWindowEnabled(f.main->cmdApply())); // nothing staged yet
        if (c.changed) f.session->MarkChanged();
        CHECK(IsWindowEnabled(f.main->cmdApply()) == c.changed);
        // The session decides, whatever the button shows.
        EnableWindow(f.main->cmdApply(), FALSE);
        if (c.answer >= 0) f.prompts.Answer(c.answer);
        HWND window = f.Window();
        if (c.button)
            f.Command(c.button);
        else
            f.Close();
        CHECK(f.prompts.ShownMessages() == Strings(c.asked ? 1 : 0, MessageOf(Messages::AskSaveChanges)));
        CHECK(IsWindow(window) == !c.closed);
        CHECK(f.session->HasUnappliedChanges() == (c.changed && !c.applied));
        CHECK((Registry::ReadString(shellIcons, L"19") != L"Error") == c.applied);
        f.main.reset();
        CHECK(LiveHandleCounts() == f.beforeWindow);
    }

    SUBCASE("Windows shutting down asks too, and stores the preferences") {
        Fixture f;
        f.session->MarkChanged();
        f.prompts.Answer(0);
        CHECK(SendMessageW(f.Window(), WM_QUERYENDSESSION, 0, 0) == FALSE);
        f.prompts.Answer(1);
        CHECK(SendMessageW(f.Window(), WM_QUERYENDSESSION, 0, 0) == TRUE);
        SendMessageW(f.Window(), WM_ENDSESSION, TRUE, 0);
        CHECK(f.prompts.shown.size() == 2);
        CHECK(Registry::ReadDword(ProgramSettingsKey, ActiveTabValue) == 2);
    }
    SUBCASE("a declined restart is told of at the close") {
        Fixture f;
        f.session->RestartDeclined = true;
        f.Close();
        CHECK(f.prompts.ShownMessages() == Strings{MessageOf(Messages::ShowNextStartNotice)});
    }
}

namespace {
// Over the whole client area, children and all: red, or what the screen shows.
void PaintRed(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDCEx(window, nullptr, DCX_CACHE);
    UniqueHBrush red(CreateSolidBrush(RGB(255, 0, 0)));
    FillRect(dc, &client, red.get());
    ReleaseDC(window, dc);
}
void CaptureClient(HWND window, SurfaceImage& into) {
    RECT client;
    GetClientRect(window, &client);
    REQUIRE(into.Resize(client.right, client.bottom, RGB(1, 2, 3), false));
    HDC dc = GetDCEx(window, nullptr, DCX_CACHE);
    BitBlt(into.dc(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
}
int ChildrenWaiting(HWND window) {
    int count = 0;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM count) {
            *reinterpret_cast<int*>(count) += GetUpdateRect(child, nullptr, FALSE) ? 1 : 0;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}
// Pixels that differ between the window's first paint, which draws every control with it, and each control
// painting itself. Neither may leave a control waiting for a paint: the windows that skip painting what
// lies under their children take the paint as done too.
int FirstPaintDifferences(HWND window) {
    PaintRed(window);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_NOCHILDREN);
    CHECK(ChildrenWaiting(window) == 0);
    SurfaceImage first, each;
    CaptureClient(window, first);
    PaintRed(window);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    CHECK(ChildrenWaiting(window) == 0);
    CaptureClient(window, each);
    int differences = 0;
    for (int y = 0; y < first.height(); ++y)
        for (int x = 0; x < first.width(); ++x) differences += !Near(first.Pixel(x, y), each.Pixel(x, y));
    return differences;
}
} // namespace

TEST_CASE_FIXTURE(Fixture, "the first paint after start covers the whole window") {
    CHECK((GetWindowTheme(main->TabStrip()) != nullptr) == (IsThemeActive() != FALSE)); // its tabs put in
    CHECK(FirstPaintDifferences(Window()) == 0);
    WindowDc shown(Window());
    RECT client, apply;
    GetClientRect(Window(), &client);
    GetWindowRect(GetDlgItem(Window(), IdApply), &apply);
    MapWindowPoints(HWND_DESKTOP, Window(), reinterpret_cast<POINT*>(&apply), 2);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    CHECK(GetPixel(shown.get(), client.right / 2, client.bottom - 3) == face); // below the buttons
    CHECK(GetPixel(shown.get(), client.right - 20, 12) == face);               // the toolbar's free end
    CHECK(GetPixel(shown.get(), apply.left + 5, apply.top + 5) != RGB(0, 0, 0));
    // With no list shown over it, the panel paints its own background.
    HWND panel = GetDlgItem(Window(), IdIconPanel);
    ShowWindow(main->List(IconCategory::Desktop).hwnd(), SW_HIDE);
    WindowDc inside(panel);
    RECT all{0, 0, 50, 50};
    UniqueHBrush red(CreateSolidBrush(RGB(255, 0, 0)));
    FillRect(inside.get(), &all, red.get());
    RedrawWindow(panel, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    CHECK(GetPixel(inside.get(), 20, 20) == face);
}

TEST_CASE("started on the Shell tab, the first paint draws the tree and its frame as they draw themselves") {
    Fixture f(
        {.arrange = [](const TempMachine&) { Registry::WriteDword(ProgramSettingsKey, ActiveTabValue, 1); }});
    REQUIRE(IsWindowVisible(f.main->Tree().SystemTree()));
    CHECK(FirstPaintDifferences(f.Window()) == 0);
}

TEST_CASE_FIXTURE(Fixture, "a tab shows its own list; keys and clicks in it update the information bar") {
    for (IconCategory shown : IconCategories) {
        ClickTab(TabIndex(shown));
        CHECK_FALSE(IsWindowVisible(main->Tree().hwnd()));
        for (IconCategory other : IconCategories)
            CHECK(IsWindowVisible(main->List(other).hwnd()) == (other == shown));
    }
    ClickTab(3);
    HWND surface = main->List(IconCategory::Start).lstMainHwnd();
    SendMessageW(surface, WM_KEYDOWN, VK_DOWN, 0);
    CHECK(TextOf(main->InfoBar()) == machine.system + L"\\shell32.dll,20");
    SendMessageW(surface, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 25));
    SendMessageW(surface, WM_LBUTTONUP, 0, MAKELPARAM(20, 25));
    CHECK(TextOf(main->InfoBar()) == machine.system + L"\\shell32.dll,19");

    ClickTab(1);
    CHECK(IsWindowVisible(main->Tree().hwnd()));
    CHECK_FALSE(IsWindowEnabled(GetDlgItem(Window(), IdIconPanel)));
    CHECK(TextOf(main->InfoBar()).empty());
}

TEST_CASE("the focus starts in the shown list and returns to its control when the window is active again") {
    Fixture f;
    HWND list = f.main->List(IconCategory::Desktop).lstMainHwnd();
    CHECK(GetFocus() == list);
    OwnerWindow other;
    for (HWND control : {list, GetDlgItem(f.Window(), IdCancel), f.main->TabStrip()}) {
        SetFocus(control);
        SetActiveWindow(other.get());
        CHECK(GetFocus() != control);
        SetActiveWindow(f.Window());
        CHECK(GetFocus() == control);
    }
}

TEST_CASE("the icon command buttons follow the selected item, once their commands are wired") {
    struct Row {
        int tab;
        const wchar_t* key;
        bool defaultIcon, rename;
        const wchar_t* info = nullptr; // null: the item's full icon reference
    };
    const Row rows[] = {
        {2, L"My Computer", true, true},
        {3, L"Programs", true, false},
        {4, L"Control Panel", true, true},
        {4, L"Open Folder", true, false},
        {5, L"Floppy Drive 3.5", true, false},
        {7, L"Zip File", false, false},
        {7, L"Text Document", true, false},
        {8, L"Normal Select", false, false, L"Windows Default Cursor"},
        {8, L"Busy", true, false, L"busy.ani"}, // a file in the program's folder
    };
    int changes = 0;
    Fixture f({.arrange =
                   [](const TempMachine& m) {
                       Registry::WriteString(L"HKEY_CURRENT_USER\\Control Panel\\Cursors", L"Wait",
                                             m.Write(m.app, L"busy.ani", AnimatedCursorBytes()));
                       for (const wchar_t* type : {L".zip", L".txt"})
                           Registry::WriteString(std::wstring(L"HKEY_CLASSES_ROOT\\") + type, L"",
                                                 type + 1 + std::wstring(L"file"));
                   },
               .wire =
                   [&changes](TestMain& m) {
                       m.OnCommand(IdCmdChange, [&changes] { ++changes; });
                       m.OnCommand(IdCmdDefault, [] {});
                       m.OnCommand(IdCmdRename, [] {});
                   }});
    for (const Row& row : rows) {
        CAPTURE(text::Narrow(row.key));
        IconListModel& model = f.session->Lists[*CategoryOfTab(row.tab)];
        model.SelItemKey(row.key);
        REQUIRE(model.Key() == row.key);
        f.ClickTab(row.tab);
        const std::wstring file = row.tab == 8 && model.Key() == L"Busy" ? f.machine.app + L"\\" : L"";
        CHECK(TextOf(f.main->InfoBar()) == (row.info ? file + row.info : model.SeledFullIconPath()));
        CHECK(IsWindowEnabled(f.main->Button(IdCmdDefault)) == row.defaultIcon);
        CHECK(IsWindowEnabled(f.main->Button(IdCmdRename)) == row.rename);
        CHECK(IsWindowEnabled(f.main->Button(IdCmdChange)));
    }
    // A double-click runs Change once, after the pause.
    f.ClickTab(2);
    SendMessageW(f.main->List(IconCategory::Desktop).lstMainHwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON,
                 MAKELPARAM(20, 25));
    CHECK(changes == 1);
}

TEST_CASE("Back and Forward move one tab and stop at the ends") {
    // clang-format off
    const std::array<int, 3> moves[] = {
        {1, IdToolBack, 1}, {8, IdToolForward, 8}, {4, IdToolBack, 3}, {4, IdToolForward, 5},
        {2, IdToolBack, 1}};
    // clang-format on
    Fixture f;
    for (auto [from, command, to] : moves) {
        INFO("from := ", from, ", command := ", command);
        f.ClickTab(from);
        CHECK(f.main->RunCommandId(command));
        CHECK(f.session->SelectedTab == to);
        CHECK(SendMessageW(f.main->TabStrip(), TCM_GETCURSEL, 0, 0) == to - 1);
    }
}

TEST_CASE("the tabs and menus hold every entry; a menu entry is enabled exactly when its command is wired") {
    Fixture f;
    HMENU bar = GetMenu(f.Window());
    std::wstring tabs;
    for (int i = 0; i < TabCtrl_GetItemCount(f.main->TabStrip()); ++i) {
        wchar_t caption[32] = {};
        TCITEMW item{TCIF_TEXT, 0, 0, caption, 32, 0, 0};
        TabCtrl_GetItem(f.main->TabStrip(), i, &item);
        tabs += caption + std::wstring(L"|");
    }
    CHECK(tabs == L"Shell|Desktop|Start|Folders|Drives|Others|System|Pointer|");
    CHECK(MenuTexts(bar) == L"&File>|&Tools>|&Help>|");
    CHECK(MenuTexts(GetSubMenu(bar, 0)) == L"&Open Theme...\tCtrl+O|-|&Save Theme\tCtrl+S|"
                                           L"Save Theme &As...\tCtrl+A|-|Rebuild Icon &Cache|-|&Exit|");
    CHECK(MenuTexts(GetSubMenu(bar, 1)) ==
          L"Restore all &Settings|Restore all &Icons|Restore all &Pointers|-|&Undo Last Apply|");
    CHECK(MenuTexts(GetSubMenu(bar, 2)) ==
          L"&Contents and Index\tF1|What's &This?\tShift+F1|TS on the &Web>|-|&About Tessaly|");
    CHECK(MenuTexts(GetSubMenu(GetSubMenu(bar, 2), 2)) ==
          L"&Email Author|Tessaly &Home Page|-|Additional &Icon Themes|");

    for (int id : {IdMenuOpenTheme, IdMenuRebuildIconCache, IdMenuExit, IdMenuEmailAuthor, IdMenuHomePage,
                   IdMenuIconThemes, IdMenuAbout, IdMenuHelpContents, IdMenuWhatsThis, IdMenuRestoreIcons,
                   IdMenuRestorePointers, IdMenuRestoreSettings, IdMenuSaveTheme, IdMenuSaveThemeAs})
        CHECK(MenuEnabled(bar, id));
    CHECK_FALSE(MenuEnabled(bar, IdMenuUndoLastApply));
    // Undo waits for an Apply to record; the menu looks again each time it opens.
    f.session->MarkChanged();
    f.Command(IdApply);
    SendMessageW(f.Window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(bar, 1)), 1);
    CHECK(MenuEnabled(bar, IdMenuUndoLastApply));

    ACCEL keys[8] = {};
    REQUIRE(CopyAcceleratorTableW(f.main->Accelerators(), keys, 8) == 5);
    const std::array<std::tuple<BYTE, WORD, WORD>, 5> expected = {
        {{FCONTROL | FVIRTKEY, 'O', IdMenuOpenTheme},
         {FCONTROL | FVIRTKEY, 'S', IdMenuSaveTheme},
         {FCONTROL | FVIRTKEY, 'A', IdMenuSaveThemeAs},
         {FVIRTKEY, VK_F1, IdMenuHelpContents},
         {FSHIFT | FVIRTKEY, VK_F1, IdMenuWhatsThis}}};
    for (size_t i = 0; i < expected.size(); ++i)
        CHECK(std::tuple(keys[i].fVirt & ~0x80, keys[i].key, keys[i].cmd) == expected[i]);

    f.system.calls.clear();
    f.Command(IdMenuEmailAuthor);
    f.Command(IdMenuHomePage);
    f.Command(IdMenuIconThemes);
    CHECK(f.system.calls == Strings{L"OPEN mailto:tessaly@korvath.example",
                                    L"OPEN https://www.korvath.example/tessaly",
                                    L"OPEN https://www.korvath.example/tessaly/themes.htm"});
    f.system.calls.clear();
    f.Command(IdMenuRebuildIconCache);
    CHECK(std::ranges::count_if(f.system.calls, [](const std::wstring& call) {
              return call.starts_with(L"BROADCAST");
          }) == 2); // "Shell Icon Size" up and back
    HWND window = f.Window();
    f.Command(IdMenuExit);
    CHECK_FALSE(IsWindow(window));
}

TEST_CASE("the caption names the current theme and the File menu lists the recent ones") {
    const auto arrange = [](const TempMachine&) {
        Registry::WriteString(ProgramSettingsKey, CurrentThemeValue, L"C:\\Themes\\Blue Sky.tstheme");
        Registry::WriteString(ThemesKey, L"1", L"C:\\Themes\\Autumn.tstheme");
        Registry::WriteString(ThemesKey, L"2", L"C:\\Themes\\my.old.tstheme");
    };
    // The File menu between "Rebuild Icon &Cache" and the separator above "&Exit".
    auto recent = [](const Fixture& f) {
        const std::wstring texts = MenuTexts(GetSubMenu(GetMenu(f.Window()), 0));
        const size_t from = texts.find(L"&Cache|") + 7, to = texts.rfind(L"-|&Exit|");
        return texts.substr(from, to - from);
    };
    SUBCASE("no theme or the empty text stored: no caption theme, no recent entries") {
        for (bool storeEmpty : {false, true}) {
            Fixture f({.arrange = storeEmpty ? Store({{CurrentThemeValue, L""}}) : nullptr});
            CHECK(TextOf(f.Window()) == L"Tessaly");
            CHECK(recent(f).empty());
        }
    }
    // What an entry opens: theme_tests, through the real dialogs.
    SUBCASE("the stored theme goes first in the list, which follows the current theme") {
        Fixture f({.arrange = arrange});
        CHECK(TextOf(f.Window()) == L"Tessaly - Blue Sky");
        CHECK(recent(f) == L"-|Blue Sky.tstheme|Autumn.tstheme|my.old.tstheme|");
        SetCurrentTheme(*f.session, L"C:\\Themes\\Night");
        CHECK(TextOf(f.Window()) == L"Tessaly - Night");
        CHECK(recent(f) == L"-|Night|Blue Sky.tstheme|Autumn.tstheme|my.old.tstheme|");
        SetCurrentTheme(*f.session, L"");
        CHECK(TextOf(f.Window()) == L"Tessaly");
        CHECK(recent(f) == L"-|Night|Blue Sky.tstheme|Autumn.tstheme|my.old.tstheme|");
    }
}
