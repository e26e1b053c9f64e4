// The Shell tab as the user drives it: the real tree, value editor and right-click menu in the main window,
// under Xvfb, with scripted prompts and a recording system port.
#include "registry/registry.h"
#include "settings/settings_catalogue.h"
#include "support/session_fixture.h"
#include "support/wide_text.h"
#include "ui/command_ids.h"
#include "ui/main_window.h"

#include <commctrl.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::wstring TextOf(HWND w) {
    wchar_t buffer[256] = {};
    GetWindowTextW(w, buffer, 256);
    return buffer;
}

int HeightOf(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r.bottom - r.top;
}

// What the right-click menu showed while it was open, and the key that closed it.
class MenuScript {
public:
    struct Seen {
        bool opened = false;
        std::vector<std::wstring> captions; // "-" for a separator
        std::vector<bool> grayed;
        int defaultItem = -1;
    };

    explicit MenuScript(WPARAM closeWith) : closeWith_(closeWith) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 40, &MenuScript::Tick);
    }
    ~MenuScript() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    MenuScript(const MenuScript&) = delete;
    MenuScript& operator=(const MenuScript&) = delete;

    Seen seen;

private:
    static BOOL CALLBACK FindMenu(HWND w, LPARAM out) {
        wchar_t className[8]{};
        GetClassNameW(w, className, 8);
        if (std::wstring(className) != L"#32768" || !IsWindowVisible(w)) return TRUE;
        *reinterpret_cast<HWND*>(out) = w;
        return FALSE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        HWND window = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), &FindMenu, reinterpret_cast<LPARAM>(&window));
        MenuScript* self = current_;
        if (!self || !window) return;
        if (self->seen.opened) { // the key did not close it
            EndMenu();
            return;
        }
        self->seen.opened = true;
        auto menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            wchar_t caption[64] = {};
            GetMenuStringW(menu, i, caption, 64, MF_BYPOSITION);
            const UINT state = GetMenuState(menu, i, MF_BYPOSITION);
            self->seen.captions.push_back((state & MF_SEPARATOR) ? L"-" : caption);
            self->seen.grayed.push_back((state & MF_GRAYED) != 0);
        }
        self->seen.defaultItem = static_cast<int>(GetMenuDefaultItem(menu, TRUE, GMDI_USEDISABLED));
        if (self->closeWith_ == VK_ESCAPE)
            PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
        else
            PostMessageW(window, WM_CHAR, self->closeWith_, 0);
    }

    static inline MenuScript* current_ = nullptr;
    WPARAM closeWith_;
    UINT_PTR timer_ = 0;
};

// The main window on the Shell tab, every group open.
struct ShellTab : SessionFixture {
    explicit ShellTab(MachineKind kind = {.nt = true, .plus = true},
                      const std::function<void()>& arrange = {}) {
        if (arrange) arrange();
        Load(kind);
        main = std::make_unique<MainWindow>(*session, system, prompts);
        REQUIRE(main->Create());
        ShowWindow(main->hwnd(), SW_SHOWNOACTIVATE);
        main->SelectTab(1);
        tree = main->Tree().SystemTree();
        main->Tree().ExpandAll();
        Pump();
    }
    ~ShellTab() {
        main.reset();
        Pump();
    }
    ValueEditor& Editor() { return main->Tree().Editor(); }
    std::wstring Selected() { return main->Tree().SelectedKey(); }
    SettingImage Image(const std::wstring& key) { return *session->Settings.Image(key); }
    bool ApplyEnabled() { return IsWindowEnabled(main->cmdApply()) != FALSE; }

    // The middle of the node's caption, scrolled into view.
    POINT PointOf(const std::wstring& key) {
        HTREEITEM item = main->Tree().Item(key);
        SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
        RECT r{};
        std::memcpy(&r, &item, sizeof item); // the item goes in, its rectangle comes out
        REQUIRE(SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)));
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // A press and release; the tree waits for the release before it acts, so that goes first in the queue.
    void Click(POINT at, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP) {
        const LPARAM where = MAKELPARAM(at.x, at.y);
        PostMessageW(tree, up, 0, where);
        SendMessageW(tree, down, down == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON, where);
        Pump();
    }
    void DoubleClick(const std::wstring& key) {
        const POINT at = PointOf(key);
        Click(at);
        Click(at, WM_LBUTTONDBLCLK);
    }
    MenuScript::Seen RightClick(POINT at, WPARAM closeWith = VK_ESCAPE) {
        MenuScript script(closeWith);
        Click(at, WM_RBUTTONDOWN, WM_RBUTTONUP);
        return script.seen;
    }
    void Key(HWND w, UINT key) {
        SendMessageW(w, WM_KEYDOWN, key, 0);
        SendMessageW(w, WM_KEYUP, key, 0);
        Pump();
    }
    // Characters typed into the text box, each released before the next.
    void Type(const std::wstring& keys) {
        for (wchar_t c : keys) {
            SendMessageW(Editor().SystemText(), WM_CHAR, c, 0);
            SendMessageW(Editor().SystemText(), WM_KEYUP, LOBYTE(VkKeyScanW(c)), 0);
        }
        Pump();
    }
    void Spin(int code, int times = 1) {
        HWND scroll = Editor().SystemScroll();
        for (int i = 0; i < times; ++i)
            SendMessageW(GetParent(scroll), WM_VSCROLL, MAKEWPARAM(code, 0),
                         reinterpret_cast<LPARAM>(scroll));
    }
    void Command(int id) {
        SendMessageW(main->hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        Pump();
    }

    std::unique_ptr<MainWindow> main;
    HWND tree = nullptr;
};

int Twips(int twips) {
    HDC screen = GetDC(nullptr);
    const int pixels = MulDiv(twips, GetDeviceCaps(screen, LOGPIXELSY), 1440);
    ReleaseDC(nullptr, screen);
    return pixels;
}

} // namespace

TEST_CASE("double-click and the space bar toggle the selected setting; groups stay as they are") {
    ShellTab t;
    t.DoubleClick(L"Swap Mouse Buttons");
    CHECK(t.Selected() == L"Swap Mouse Buttons");
    CHECK(t.Image(L"Swap Mouse Buttons") == SettingImage::On);
    CHECK(t.ApplyEnabled());

    t.session->MarkApplied();
    t.DoubleClick(L"Mouse");
    CHECK(t.Image(L"Mouse") == SettingImage::GroupCollapsed);
    CHECK_FALSE(t.ApplyEnabled());

    t.main->Tree().SelectNode(L"Large Icons");
    t.Key(t.tree, VK_SPACE);
    CHECK(t.Image(L"Large Icons") == SettingImage::On);
    CHECK(t.session->IconCacheDirty);
    CHECK(t.ApplyEnabled());

    SUBCASE("a declined warning leaves the setting, the flags and Apply as they were") {
        t.session->MarkApplied();
        t.prompts.Answer(0);
        t.DoubleClick(L"Notepad");
        CHECK(t.prompts.shown.size() == 1);
        CHECK(t.Image(L"Notepad") == SettingImage::Off);
        CHECK_FALSE(t.ApplyEnabled());
    }
}

TEST_CASE("selecting a number opens the editor below a shorter tree; the folder verb opens its combo box") {
    ShellTab t({.nt = true, .plus = true},
               [] { RawSetString(HKEY_CLASSES_ROOT, L"Folder\\shell", L"", L"Open"); });
    ValueEditor& e = t.Editor();
    const int full = HeightOf(t.tree);
    CHECK_FALSE(IsWindowVisible(e.SystemFrame()));

    t.Click(t.PointOf(L"Double Click Speed"));
    CHECK(IsWindowVisible(e.SystemFrame()));
    CHECK(TextOf(e.SystemFrame()) == L"Double Click Speed");
    CHECK(TextOf(e.SystemCaption()) == L"milliseconds");
    CHECK(TextOf(e.SystemText()) == L"500");
    CHECK(e.ScrollValue() == 500);
    CHECK(IsWindowVisible(e.SystemText()));
    CHECK(IsWindowVisible(e.SystemScroll()));
    CHECK_FALSE(IsWindowVisible(e.SystemCombo()));
    CHECK(HeightOf(t.tree) == full - Twips(FullTreeTwips - NumberTreeTwips));
    CHECK_FALSE(t.ApplyEnabled()); // selecting is no edit

    t.Click(t.PointOf(L"Default Menu Item"));
    CHECK(TextOf(e.SystemFrame()) == L"Default Menu Item");
    CHECK(IsWindowVisible(e.SystemCombo()));
    CHECK_FALSE(IsWindowVisible(e.SystemText()));
    CHECK(TextOf(e.SystemCombo()) == L"Open");
    CHECK(HeightOf(t.tree) == full - Twips(FullTreeTwips - ChoiceTreeTwips));
    CHECK(SendMessageW(e.SystemCombo(), CB_GETCOUNT, 0, 0) == 3);

    // Picking from the list, then typing into the box: whatever it holds is staged.
    SendMessageW(e.SystemCombo(), CB_SETCURSEL, 2, 0);
    SendMessageW(e.hwnd(), WM_COMMAND, MAKEWPARAM(ValueEditor::IdCombo, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(e.SystemCombo()));
    CHECK(t.session->Settings.StagedText(L"Default Menu Item") == L"Explore");
    CHECK(t.ApplyEnabled());
    HWND comboText = GetWindow(e.SystemCombo(), GW_CHILD);
    SendMessageW(comboText, EM_SETSEL, 0, -1);
    SendMessageW(comboText, WM_CHAR, L'X', 0);
    CHECK(t.session->Settings.StagedText(L"Default Menu Item") == L"X");

    t.Click(t.PointOf(L"Beep On Errors"));
    CHECK_FALSE(IsWindowVisible(e.SystemFrame()));
    CHECK(HeightOf(t.tree) == full);

    // "Delay Until Clicked" greys the menu delay, which then opens no editor.
    t.DoubleClick(L"Delay Until Clicked");
    t.Click(t.PointOf(L"Menu Show Delay"));
    CHECK(t.Selected() == L"Menu Show Delay");
    CHECK_FALSE(IsWindowVisible(e.SystemFrame()));
}

TEST_CASE("the spin control and typing follow the number rules") {
    ShellTab t;
    ValueEditor& e = t.Editor();
    t.Click(t.PointOf(L"Double Click Width"));
    REQUIRE(TextOf(e.SystemText()) == L"4");

    SUBCASE("spinning") {
        t.Spin(SB_LINEUP, 2);
        CHECK(TextOf(e.SystemText()) == L"6");
        CHECK(t.session->Settings.StagedText(L"Double Click Width") == L"6");
        t.Spin(SB_PAGEUP, 3); // 36: above the top
        CHECK(e.ScrollValue() == 32);
        CHECK(TextOf(e.SystemText()) == L"32");
        CHECK(t.system.beeps == 1);
        t.Click(t.PointOf(L"Drag Width"));
        t.Spin(SB_LINEDOWN, 2); // 0 becomes 1, silently
        CHECK(e.ScrollValue() == 1);
        CHECK(TextOf(e.SystemText()) == L"1");
        CHECK(t.system.beeps == 1);
    }
    SUBCASE("typing") {
        SetFocus(e.SystemText());
        DWORD from = 1, to = 0;
        SendMessageW(e.SystemText(), EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                     reinterpret_cast<LPARAM>(&to));
        CHECK(from == 0);
        CHECK(to == 1); // the whole text
        t.Type(L"50");
        CHECK(TextOf(e.SystemText()) == L"32");
        CHECK(e.ScrollValue() == 32);
        CHECK(t.system.beeps == 1);
        t.Type(L"a");
        CHECK(TextOf(e.SystemText()) == L"32");
        CHECK(t.system.beeps == 2);

        t.Click(t.PointOf(L"Menu Show Delay"));
        SetFocus(e.SystemText());
        t.Type(L"4000");
        CHECK(TextOf(e.SystemText()) == L"4000");
        CHECK(e.ScrollValue() == 4000);
        t.Type(L"0"); // 40000: only the last keystroke goes
        CHECK(TextOf(e.SystemText()) == L"4000");
        CHECK(t.system.beeps == 3);
        CHECK(t.session->Settings.StagedText(L"Menu Show Delay") == L"4000");
        CHECK(t.session->RestartNeeded);
    }
}

TEST_CASE("the right-click menu follows the node under the pointer") {
    ShellTab t({.nt = true, .plus = false});
    const std::vector<std::wstring> captions = {L"&What's This?", L"-", L"&Toggle", L"-", L"Expand &All",
                                                L"&Collapse All"};

    MenuScript::Seen seen = t.RightClick(t.PointOf(L"Quick View"), L't');
    CHECK(seen.opened);
    CHECK(seen.captions == captions);
    REQUIRE(seen.grayed.size() == 6);
    CHECK(seen.grayed[0]); // until the pop-up help exists
    CHECK_FALSE(seen.grayed[2]);
    CHECK_FALSE(seen.grayed[4]);
    CHECK_FALSE(seen.grayed[5]);
    CHECK(seen.defaultItem == 2);
    CHECK(t.Selected() == L"Quick View");
    CHECK(GetFocus() == t.tree);
    Pump();
    CHECK(t.Image(L"Quick View") == SettingImage::On);

    struct Row {
        const wchar_t* key;
        const wchar_t* caption;
        bool grayed;
    };
    const Row rows[] = {{L"Font Smoothing", L"&Toggle", true},
                        {L"Drag Height", L"Cha&nge", true},
                        {L"Icons", L"Colla&pse", false}};
    for (const Row& row : rows) {
        CAPTURE(row.key);
        seen = t.RightClick(t.PointOf(row.key));
        REQUIRE(seen.captions.size() == 6);
        CHECK(seen.captions[2] == row.caption);
        CHECK(seen.grayed[2] == row.grayed);
        CHECK(seen.defaultItem == 2);
        CHECK(t.Selected() == row.key);
    }
    // "Colla&pse" closes the group.
    t.RightClick(t.PointOf(L"Icons"), L'p');
    Pump();
    CHECK_FALSE(t.main->Tree().IsExpanded(L"Icons"));

    SUBCASE("below the last node nothing opens") {
        t.session->MarkApplied();
        RECT client;
        GetClientRect(t.tree, &client);
        seen = t.RightClick({5, client.bottom - 3});
        CHECK_FALSE(seen.opened);
        CHECK(t.Selected() == L"Icons");
    }
    SUBCASE("Collapse All and Expand All") {
        t.Click(t.PointOf(L"Drag Width"));
        REQUIRE(IsWindowVisible(t.Editor().SystemFrame()));
        t.Command(IdMenuNodeCollapseAll);
        CHECK_FALSE(IsWindowVisible(t.Editor().SystemFrame()));
        for (const wchar_t* group : {L"General", L"Mouse", L"Drag", L"Options"})
            CHECK_FALSE(t.main->Tree().IsExpanded(group));
        t.Command(IdMenuNodeExpandAll);
        for (const wchar_t* group : {L"General", L"Menu Items", L"Drag", L"Options"})
            CHECK(t.main->Tree().IsExpanded(group));
    }
}

TEST_CASE("Restore all Settings refreshes the open editor") {
    ShellTab t;
    CHECK(t.main->HasCommand(IdMenuRestoreSettings));
    CHECK_FALSE(t.main->HasCommand(IdMenuNodeWhatsThis));
    t.prompts.Answer(1);
    SUBCASE("on the Shell tab") {
        t.Click(t.PointOf(L"Double Click Speed"));
        t.Spin(SB_PAGEDOWN, 5);
        REQUIRE(TextOf(t.Editor().SystemText()) == L"450");
        t.Command(IdMenuRestoreSettings);
        CHECK(TextOf(t.Editor().SystemText()) == L"500");
        CHECK(t.Editor().ScrollValue() == 500);
        CHECK(t.ApplyEnabled());
    }
    SUBCASE("from another tab: a click on the selected node opens the editor it now has") {
        t.DoubleClick(L"Delay Until Clicked");
        t.Click(t.PointOf(L"Menu Show Delay"));
        REQUIRE_FALSE(IsWindowVisible(t.Editor().SystemFrame()));
        t.main->SelectTab(3);
        t.Command(IdMenuRestoreSettings);
        t.main->SelectTab(1);
        t.Click(t.PointOf(L"Menu Show Delay"));
        CHECK(IsWindowVisible(t.Editor().SystemFrame()));
        CHECK(TextOf(t.Editor().SystemText()) == L"400");
    }
}

TEST_CASE("edits made in the tree reach the registry at the next Apply") {
    ShellTab t;
    t.DoubleClick(L"Swap Mouse Buttons");
    t.main->Tree().SelectNode(L"Quick View");
    t.Key(t.tree, VK_SPACE);
    t.RightClick(t.PointOf(L"Delay Until Clicked"), L't');
    Pump();
    t.Click(t.PointOf(L"Double Click Speed"));
    t.Spin(SB_LINEUP, 2);
    t.Click(t.PointOf(L"Drag Width"));
    SetFocus(t.Editor().SystemText());
    t.Type(L"9");
    t.Click(t.PointOf(L"Default Menu Item"));
    SendMessageW(t.Editor().SystemCombo(), CB_SETCURSEL, 2, 0);
    SendMessageW(t.Editor().hwnd(), WM_COMMAND, MAKEWPARAM(ValueEditor::IdCombo, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(t.Editor().SystemCombo()));
    REQUIRE(t.ApplyEnabled());
    SendMessageW(t.main->hwnd(), WM_COMMAND, MAKEWPARAM(IdApply, BN_CLICKED),
                 reinterpret_cast<LPARAM>(t.main->cmdApply()));
    Pump();
    CHECK_FALSE(t.ApplyEnabled());

    const std::wstring desktop(SettingsPaths::Desktop), mouse(SettingsPaths::Mouse);
    CHECK(Registry::ReadString(mouse, L"SwapMouseButtons") == L"1");
    CHECK(Registry::ReadString(L"HKEY_CLASSES_ROOT\\*\\QuickView", L"") == L"*");
    CHECK(Registry::ReadString(desktop, L"MenuShowDelay") == L"65535");
    CHECK(Registry::ReadString(mouse, L"DoubleClickSpeed") == L"502");
    CHECK(Registry::ReadString(desktop, L"DragWidth") == L"9");
    CHECK(Registry::ReadString(desktop, L"DoubleClickWidth") == L"4");
    CHECK(Registry::ReadString(std::wstring(SettingsPaths::FolderShell), L"") == L"Explore");
}
