// The settings editor and restoring all settings: the rules through the session and scripted ports, then
// the Shell tab as the user drives it (the real tree, value editor and right-click menu, under Xvfb).
#include "platform/gdi_guards.h"
#include "settings/settings_editor.h"
#include "settings/settings_restore.h"
#include "support/dialog_script.h"
#include "support/session_fixture.h"
#include "support/wide_text.h"
#include "ui/command_ids.h"
#include "ui/main_window.h"

#include <commctrl.h>

#include <functional>

namespace {

constexpr int Closed = PromptResult::Closed;

// A session on a sandboxed registry; `arrange` writes the registry before the session reads it.
struct Editing : SessionFixture {
    explicit Editing(MachineKind kind = {.nt = true, .plus = true},
                     const std::function<void()>& arrange = {}) {
        if (arrange) arrange();
        Load(kind);
    }
    Session& s() { return *session; }
    SettingImage Image(const std::wstring& key) { return *session->Settings.Image(key); }
    const std::wstring& Staged(const std::wstring& key) { return session->Settings.StagedText(key); }
};

// A pop-up menu as it was shown: captions (separators read empty), which are grayed, the default item.
struct MenuSeen {
    Strings captions; // empty: the menu never opened
    std::vector<bool> grayed;
    int defaultItem = -1;
};

// The main window on the Shell tab, every group open.
struct ShellTab : Editing {
    explicit ShellTab(MachineKind kind = {.nt = true, .plus = true},
                      const std::function<void()>& arrange = {})
        : Editing(kind, arrange), main(std::make_unique<MainWindow>(*session, system, prompts)) {
        REQUIRE(main->Create());
        ShowWindow(main->hwnd(), SW_SHOWNOACTIVATE);
        main->SelectTab(1);
        tree = main->Tree().SystemTree();
        main->Tree().ExpandAll();
    }
    ValueEditor& Editor() { return main->Tree().Editor(); }
    bool ApplyEnabled() { return IsWindowEnabled(main->cmdApply()); }
    bool FrameShown() { return IsWindowVisible(Editor().SystemFrame()); }
    POINT At(const std::wstring& key) { // the middle of the node's caption, scrolled into view
        RECT r{};
        TreeView_EnsureVisible(tree, main->Tree().Item(key));
        TreeView_GetItemRect(tree, main->Tree().Item(key), &r, TRUE);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // The tree waits for the release before it acts on a press, so the release goes first into the queue.
    void Click(POINT at, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP) {
        PostMessageW(tree, up, 0, MAKELPARAM(at.x, at.y));
        SendMessageW(tree, down, 0, MAKELPARAM(at.x, at.y));
        Pump();
    }
    void Click(const std::wstring& key) { Click(At(key)); }
    void DoubleClick(const std::wstring& key) {
        Click(At(key));
        Click(At(key), WM_LBUTTONDBLCLK);
    }
    // Reads the menu while it is open, then sends it a key ('t' picks "&Toggle", Esc closes it).
    MenuSeen RightClick(POINT at, WPARAM key = VK_ESCAPE) {
        MenuSeen seen;
        DialogScript script({[&](HWND menu) {
                                auto items = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
                                for (int i = 0; i < GetMenuItemCount(items); ++i) {
                                    wchar_t caption[64] = {};
                                    GetMenuStringW(items, i, caption, 64, MF_BYPOSITION);
                                    seen.captions.push_back(caption);
                                    seen.grayed.push_back(GetMenuState(items, i, MF_BYPOSITION) & MF_GRAYED);
                                }
                                seen.defaultItem =
                                    static_cast<int>(GetMenuDefaultItem(items, TRUE, GMDI_USEDISABLED));
                                PostMessageW(menu, key == VK_ESCAPE ? WM_KEYDOWN : WM_CHAR, key, 0);
                            }},
                            L"#32768");
        Click(at, WM_RBUTTONDOWN, WM_RBUTTONUP);
        Pump(); // the command the menu posted
        return seen;
    }
    void Type(const std::wstring& keys) { // each key released before the next
        SetFocus(Editor().SystemText());
        for (wchar_t c : keys) {
            SendMessageW(Editor().SystemText(), WM_CHAR, c, 0);
            SendMessageW(Editor().SystemText(), WM_KEYUP, LOBYTE(VkKeyScanW(c)), 0);
        }
    }
    void Spin(int code, int times = 1) {
        for (auto scroll = reinterpret_cast<LPARAM>(Editor().SystemScroll()); times--;)
            SendMessageW(Editor().hwnd(), WM_VSCROLL, code, scroll);
    }
    void PickVerb(int index) {
        SendMessageW(Editor().SystemCombo(), CB_SETCURSEL, index, 0);
        SendMessageW(Editor().hwnd(), WM_COMMAND, MAKEWPARAM(ValueEditor::IdCombo, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(Editor().SystemCombo()));
    }
    void Command(int id) { SendMessageW(main->hwnd(), WM_COMMAND, id, 0); }
    std::unique_ptr<MainWindow> main;
    HWND tree = nullptr;
};

} // namespace

TEST_CASE("toggling: warnings first, then the flags its row lists, turning off as well as on") {
    struct Row {
        const wchar_t* key;
        int answer; // -1: no warning is expected
        bool on, iconCache, restart;
        bool nt = true;
        int colourDepth = 24;
    };
    // clang-format off
    const Row rows[] = {
        {L"Notepad", 0, false, false, false}, {L"Notepad", Closed, false, false, false},
        {L"Notepad", 1, true, false, false}, {L"Disable Desktop", 0, false, false, false},
        {L"Disable Desktop", 1, true, false, true}, {L"Hide Network Neighborhood", 1, false, false, false},
        {L"Hide Network Neighborhood", 2, true, false, true},
        // A notice: it turns on whatever the answer.
        {L"Show Icons Using All Possible Colours", Closed, true, false, true, true, 8},
        {L"Show Icons Using All Possible Colours", -1, true, false, true},
        {L"Bitmap Thumbnail as Default Icon", -1, true, true, false},
        {L"Shortcut To Prefix on New Shortcuts", -1, false, false, true}, // on at start: this turns it off
        {L"Disable Shut Down Command", -1, true, true, true}, {L"Disable Shut Down Command", -1, true, true, false, false},
    };
    // clang-format on
    for (const Row& row : rows) {
        INFO("row.key := ", row.key, ", row.answer := ", row.answer);
        Editing e;
        StartupFacts facts = MachineFacts(e.machine, {.nt = row.nt, .plus = false});
        facts.ColourDepth = row.colourDepth;
        e.LoadFacts(facts);
        e.prompts.Answer(row.answer);
        const bool toggles = row.answer < 0 || row.on;
        CHECK(ToggleSetting(e.s(), e.prompts, row.key) == toggles);
        CHECK(e.s().Settings.IsOn(row.key) == row.on);
        CHECK(e.s().HasUnappliedChanges() == toggles);
        if (toggles) CHECK(ToggleSetting(e.s(), e.prompts, row.key)); // back, without asking
        CHECK(e.prompts.shown.size() == (row.answer < 0 ? 0u : 1u));
        CHECK(e.s().IconCacheDirty == row.iconCache); // toggling back lowers nothing
        CHECK(e.s().RestartNeeded == row.restart);
        CHECK_FALSE(ToggleSetting(e.s(), e.prompts, L"Font Smoothing")); // unavailable without Plus!
    }
}

TEST_CASE("typed numbers are corrected to their range; what the spin control cannot hold is refused") {
    struct Row {
        const wchar_t* key;
        const wchar_t* typed;
        int shown; // -1: refused, and the caller undoes the keystroke
        bool beep;
    };
    // clang-format off
    const Row rows[] = {
        {L"Double Click Width", L"7", 7, false}, {L"Double Click Width", L"50", 32, true},
        {L"Double Click Width", L"", 1, false}, {L"Drag Height", L"0", 1, false},
        {L"Double Click Speed", L"901", 900, true}, {L"Double Click Speed", L"", 0, false},
        {L"Menu Show Delay", L"9999", 9999, false}, {L"Menu Show Delay", L"400", 400, false},
        {L"Wallpaper Horizontal Origin", L"1025", 1024, true}, {L"Wallpaper Vertical Origin", L"769", 768, true},
        {L"Drag Width", L"abc", -1, true}, {L"Drag Width", L"40000", -1, true}, {L"Drag Width", L"10000", -1, true},
        {L"Drag Width", L"-5", -1, true}, {L"Drag Width", L"5.5", -1, true},
    };
    // clang-format on
    for (const Row& row : rows) {
        INFO("row.key := ", row.key, ", row.typed := ", row.typed);
        Editing e;
        const std::wstring before = e.Staged(row.key);
        CHECK(TypeNumber(e.s(), e.system, row.key, row.typed).value_or(-1) == row.shown);
        CHECK(e.system.beeps == (row.beep ? 1 : 0));
        const std::wstring after = row.shown < 0 ? before : std::to_wstring(row.shown);
        CHECK(e.Staged(row.key) == after);
        // Only a new value is an edit; a new menu delay waits for a restart.
        CHECK(e.s().HasUnappliedChanges() == (after != before));
        CHECK(e.s().RestartNeeded == (after != before && row.key == SettingKeys::MenuShowDelay));
    }
}

TEST_CASE("restoring all settings asks first and puts back every setup default") {
    for (const MachineKind kind :
         {MachineKind{.nt = true, .plus = true}, MachineKind{.nt = false, .plus = false}}) {
        CAPTURE(kind.nt);
        Editing e(kind);
        SettingsState& settings = e.s().Settings;
        for (const SettingRow& row : SettingRows()) { // everything away from its default
            const std::wstring key(row.Key);
            if (auto image = settings.Image(key); image == SettingImage::Off || image == SettingImage::On)
                settings.SetImage(key, row.DefaultOn ? SettingImage::Off : SettingImage::On);
            settings.SetStagedText(key, L"17");
        }
        settings.SetImage(L"Menu Show Delay", SettingImage::Disabled);
        e.prompts.Answer(0);
        e.prompts.Answer(Closed);
        CHECK_FALSE(RestoreAllSettings(e.s(), e.prompts, e.system));
        CHECK_FALSE(RestoreAllSettings(e.s(), e.prompts, e.system));
        CHECK(e.Staged(L"Default Menu Item") == L"17");
        CHECK_FALSE(e.s().HasUnappliedChanges());

        e.prompts.Answer(1);
        REQUIRE(RestoreAllSettings(e.s(), e.prompts, e.system));
        for (const SettingRow& row : SettingRows()) {
            const std::wstring key(row.Key);
            CAPTURE(key);
            if (row.Kind == SettingKind::Toggle && settings.Find(key))
                CHECK(e.Image(key) == (row.Plus && !kind.plus ? SettingImage::Unavailable
                                       : row.DefaultOn        ? SettingImage::On
                                                              : SettingImage::Off));
            if (row.Kind == SettingKind::Number) CHECK(e.Staged(key) == row.Number.Fallback);
        }
        CHECK(e.Image(L"Menu Show Delay") == SettingImage::Editable);
        CHECK(e.Staged(L"Default Menu Item") == L"[Default]");
        CHECK(e.s().IconCacheDirty);
        CHECK_FALSE(e.s().RestartNeeded);
        CHECK(e.s().HasUnappliedChanges());
        CHECK(e.prompts.shown.size() == 3); // no warnings on the way
        CHECK(e.system.calls == Strings{L"BUSY", L"IDLE"});
    }
}

TEST_CASE("double-click and the space bar toggle the selected setting; groups and declined warnings stay") {
    ShellTab t;
    t.DoubleClick(L"Mouse");
    t.prompts.Answer(0);
    t.DoubleClick(L"Notepad");
    CHECK(t.prompts.shown.size() == 1);
    CHECK(t.Image(L"Notepad") == SettingImage::Off);
    CHECK(t.Image(L"Mouse") == SettingImage::GroupCollapsed);
    CHECK_FALSE(t.ApplyEnabled());
    t.main->Tree().SelectNode(L"Large Icons");
    SendMessageW(t.tree, WM_KEYDOWN, VK_SPACE, 0);
    CHECK(t.Image(L"Large Icons") == SettingImage::On);
    CHECK(t.ApplyEnabled());
    t.Command(IdApply); // what Apply writes of the staged state: apply_tests
    CHECK_FALSE(t.ApplyEnabled());
}

TEST_CASE("selecting a node opens the value editor below a shorter tree, never counting as an edit") {
    ShellTab t({.nt = true, .plus = true}, [] {
        RawSetString(HKEY_CURRENT_USER, L"Control Panel\\desktop", L"DoubleClickWidth", L"50");
        RawSetString(HKEY_CURRENT_USER, L"Control Panel\\desktop", L"DragWidth", L"wide");
        RawSetString(HKEY_CLASSES_ROOT, L"Folder\\shell", L"", L"Open");
    });
    ValueEditor& e = t.Editor();
    RECT full;
    GetClientRect(t.main->Tree().hwnd(), &full);
    const auto given = [&] { // to the editor, in twips
        RECT r;
        GetWindowRect(t.tree, &r);
        return MulDiv(full.bottom - (r.bottom - r.top), 1440,
                      GetDeviceCaps(WindowDc(nullptr).get(), LOGPIXELSY));
    };
    CHECK_FALSE(t.FrameShown());
    struct Row {
        const wchar_t* key;
        const wchar_t* unit;
        const wchar_t* text; // also what is staged
        int beeps;           // so far
    };
    // clang-format off
    const Row rows[] = {
        {L"Double Click Speed", L"milliseconds", L"500", 0}, {L"Drag Width", L"pixels", L"2", 0}, // stored: no number
        {L"Double Click Width", L"pixels", L"32", 1}, // stored out of range
    };
    // clang-format on
    for (const Row& row : rows) {
        CAPTURE(row.key);
        t.Click(row.key);
        CHECK(TextOf(e.SystemFrame()) == row.key);
        CHECK(TextOf(e.SystemCaption()) == row.unit);
        CHECK(TextOf(e.SystemText()) == row.text);
        CHECK(std::to_wstring(e.ScrollValue()) == row.text);
        CHECK(t.Staged(row.key) == row.text);
        CHECK(t.system.beeps == row.beeps);
    }
    CHECK_FALSE(IsWindowVisible(e.SystemCombo()));
    CHECK(std::abs(given() - (FullTreeTwips - NumberTreeTwips)) <= 15);
    CHECK_FALSE(t.ApplyEnabled());

    t.Click(L"Default Menu Item");
    CHECK(TextOf(e.SystemFrame()) == L"Default Menu Item");
    CHECK(TextOf(e.SystemCombo()) == L"Open"); // read on first selection
    CHECK(IsWindowVisible(e.SystemCombo()));
    CHECK_FALSE(IsWindowVisible(e.SystemText()));
    CHECK(std::abs(given() - (FullTreeTwips - ChoiceTreeTwips)) <= 15);
    t.PickVerb(2);
    CHECK(t.Staged(L"Default Menu Item") == L"Explore");
    SendMessageW(GetWindow(e.SystemCombo(), GW_CHILD), EM_SETSEL, 0, -1);
    SendMessageW(GetWindow(e.SystemCombo(), GW_CHILD), WM_CHAR, L'X', 0); // typed: whatever the box holds
    CHECK(t.Staged(L"Default Menu Item") == L"X");
    CHECK(t.ApplyEnabled());

    t.Click(L"Beep On Errors");
    CHECK_FALSE(t.FrameShown());
    CHECK(given() == 0);
    t.DoubleClick(L"Delay Until Clicked"); // greys the delay, which then opens no editor
    t.Click(L"Menu Show Delay");
    CHECK(t.main->Tree().SelectedKey() == L"Menu Show Delay");
    CHECK_FALSE(t.FrameShown());
}

TEST_CASE_FIXTURE(ShellTab, "spinning and typing follow the number rules; bad keystrokes are undone") {
    ValueEditor& e = Editor();
    Click(L"Double Click Width");
    Spin(SB_LINEUP, 2);
    CHECK(TextOf(e.SystemText()) == L"6");
    CHECK(Staged(L"Double Click Width") == L"6");
    Spin(SB_PAGEUP, 3); // 36
    CHECK(e.ScrollValue() == 32);
    CHECK(TextOf(e.SystemText()) == L"32");
    Type(L"a");
    CHECK(TextOf(e.SystemText()) == L"32");
    CHECK(system.beeps == 2);
    Click(L"Drag Width");
    Spin(SB_LINEDOWN, 2); // 0 becomes 1 silently
    CHECK(TextOf(e.SystemText()) == L"1");
    Type(L"50");
    CHECK(TextOf(e.SystemText()) == L"32");
    CHECK(system.beeps == 3);
    Click(L"Menu Show Delay");
    Type(L"40000"); // the last keystroke goes
    CHECK(TextOf(e.SystemText()) == L"4000");
    CHECK(e.ScrollValue() == 4000);
    CHECK(Staged(L"Menu Show Delay") == L"4000");
    CHECK(system.beeps == 4);
}

TEST_CASE("the right-click menu follows the node under the pointer") {
    ShellTab t({.nt = true, .plus = false});
    auto menu = t.RightClick(t.At(L"Quick View"), L't');
    CHECK(menu.captions == Strings{L"&What's This?", L"", L"&Toggle", L"", L"Expand &All", L"&Collapse All"});
    CHECK_FALSE(menu.grayed[0]); // the help's pop-up
    CHECK(menu.defaultItem == 2);
    CHECK(GetFocus() == t.tree);
    CHECK(t.Image(L"Quick View") == SettingImage::On);
    struct Row {
        const wchar_t* key;
        const wchar_t* caption;
        bool grayed;
    };
    // clang-format off
    const Row rows[] = {{L"Swap Mouse Buttons", L"&Toggle", false}, {L"Font Smoothing", L"&Toggle", true},
                        {L"Drag Height", L"Cha&nge", true}, {L"Icons", L"Colla&pse", false}};
    // clang-format on
    for (const Row& row : rows) {
        CAPTURE(row.key);
        menu = t.RightClick(t.At(row.key));
        REQUIRE(menu.captions.size() == 6);
        CHECK(menu.captions[2] == row.caption);
        CHECK(menu.grayed[2] == row.grayed);
        CHECK(menu.defaultItem == 2);
        CHECK(t.main->Tree().SelectedKey() == row.key);
    }
    t.RightClick(t.At(L"Icons"), L'p');
    CHECK_FALSE(t.main->Tree().IsExpanded(L"Icons"));

    t.Click(L"Drag Width");
    t.Command(IdMenuNodeCollapseAll);
    CHECK_FALSE(t.FrameShown());
    CHECK_FALSE(t.main->Tree().IsExpanded(L"Mouse"));
    const std::wstring selected = t.main->Tree().SelectedKey();
    RECT client;
    GetClientRect(t.tree, &client);
    CHECK(t.RightClick({client.right / 2, client.bottom - 3}).captions.empty()); // below the last node
    CHECK(t.main->Tree().SelectedKey() == selected);
    t.Command(IdMenuNodeExpandAll);
    CHECK(t.main->Tree().IsExpanded(L"Menu Items"));
}

TEST_CASE("Restore all Settings refreshes the editor, on the Shell tab or at the next click") {
    ShellTab t;
    t.prompts.Answer(1);
    t.prompts.Answer(1);
    t.Click(L"Double Click Speed");
    t.Spin(SB_PAGEDOWN);
    t.Command(IdMenuRestoreSettings);
    CHECK(TextOf(t.Editor().SystemText()) == L"500");
    CHECK(t.Editor().ScrollValue() == 500);

    t.DoubleClick(L"Delay Until Clicked");
    t.Click(L"Menu Show Delay");
    t.main->SelectTab(3);
    t.Command(IdMenuRestoreSettings);
    t.main->SelectTab(1);
    t.Click(L"Menu Show Delay"); // already selected
    CHECK(t.FrameShown());
    CHECK(TextOf(t.Editor().SystemText()) == L"400");
}
