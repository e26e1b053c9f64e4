// The settings editor's rules and restoring all settings, driven through the session and scripted ports.
#include "settings/settings_editor.h"
#include "settings/settings_restore.h"
#include "support/session_fixture.h"
#include "support/wide_text.h"

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

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
    SettingImage Image(const std::wstring& key) { return *s().Settings.Image(key); }
    const std::wstring& Staged(const std::wstring& key) { return s().Settings.StagedText(key); }
};

// Records the order in which the state hears of changes.
struct ChangeLog : SettingsState::Observer {
    explicit ChangeLog(SettingsState& s) : state(s) { state.AddObserver(this); }
    ~ChangeLog() override { state.RemoveObserver(this); }
    void NodeAdded(int) override {}
    void ImageChanged(int index) override { keys.push_back(state.Node(index).Key); }
    void StagedTextChanged(const std::wstring& key) override { keys.push_back(key); }
    SettingsState& state;
    std::vector<std::wstring> keys;
};

} // namespace

TEST_CASE("a toggle with a warning turns on only when the user goes on") {
    struct Row {
        const wchar_t* key;
        int answer; // -1: no prompt is expected
        bool on;
        const wchar_t* messageStart;
        int colourDepth = 24;
    };
    const Row rows[] = {
        {L"Notepad", 0, false, L"Adding Notepad to all files"},
        {L"Notepad", Closed, false, L"Adding Notepad to all files"},
        {L"Notepad", 1, true, L"Adding Notepad to all files"},
        {L"Hide Network Neighborhood", 1, false, L"Hiding Network Neighborhood"},
        {L"Hide Network Neighborhood", 2, true, L"Hiding Network Neighborhood"},
        {L"Disable Desktop", 0, false, L"Disabling the Desktop"},
        {L"Disable Desktop", 1, true, L"Disabling the Desktop"},
        {L"Show Icons Using All Possible Colours", 0, true, L"Your display is currently configured", 8},
        {L"Show Icons Using All Possible Colours", Closed, true, L"Your display is currently configured", 8},
        {L"Show Icons Using All Possible Colours", -1, true, L"", 16},
        {L"Quick View", -1, true, L""},
    };
    for (const Row& row : rows) {
        CAPTURE(row.key);
        CAPTURE(row.answer);
        Editing e;
        StartupFacts facts = MachineFacts(e.machine, {.nt = true, .plus = true});
        facts.ColourDepth = row.colourDepth;
        e.LoadFacts(facts);
        if (row.answer >= 0) e.prompts.Answer(row.answer);
        CHECK(ToggleSetting(e.s(), e.prompts, row.key) == row.on);
        CHECK(e.s().Settings.IsOn(row.key) == row.on);
        CHECK(e.s().HasUnappliedChanges() == row.on);
        CHECK(e.s().RestartNeeded == (row.on && NeedsRestart(*FindSettingRow(row.key), e.s().Facts)));
        REQUIRE(e.prompts.shown.size() == (row.answer >= 0 ? 1u : 0u));
        if (row.answer >= 0) CHECK(e.prompts.shown[0].message.starts_with(row.messageStart));
        // Turning it off again asks nothing.
        e.prompts.shown.clear();
        if (row.on) CHECK(ToggleSetting(e.s(), e.prompts, row.key));
        CHECK(e.prompts.shown.empty());
        CHECK_FALSE(e.s().Settings.IsOn(row.key));
    }
}

TEST_CASE("toggling raises the flags its setting lists, turning off as well as on") {
    struct Row {
        const wchar_t* key;
        bool nt, iconCache, restart;
    };
    const Row rows[] = {
        {L"Beep On Errors", true, false, false},
        {L"Bitmap Thumbnail as Default Icon", true, true, false},
        {L"Large Icons", false, true, false},
        {L"Shortcut To Prefix on New Shortcuts", false, false, true}, // on at start: this turns it off
        {L"Disable Shut Down Command", true, true, true},
        {L"Disable Shut Down Command", false, true, false},
        {L"Hide Drives in 'My Computer'", false, true, false},
        {L"Remove 'Run' Command", true, true, true},
    };
    for (const Row& row : rows) {
        CAPTURE(row.key);
        CAPTURE(row.nt);
        Editing e({.nt = row.nt, .plus = true});
        const bool wasOn = e.s().Settings.IsOn(row.key);
        REQUIRE(ToggleSetting(e.s(), e.prompts, row.key));
        CHECK(e.s().Settings.IsOn(row.key) != wasOn);
        CHECK(e.s().IconCacheDirty == row.iconCache);
        CHECK(e.s().RestartNeeded == row.restart);
        // Toggling back does not lower them.
        REQUIRE(ToggleSetting(e.s(), e.prompts, row.key));
        CHECK(e.s().IconCacheDirty == row.iconCache);
        CHECK(e.s().RestartNeeded == row.restart);
    }
}

TEST_CASE("nodes that are not on/off settings do not toggle") {
    Editing e({.nt = false, .plus = false});
    for (const wchar_t* key :
         {L"General", L"Double Click Speed", L"Default Menu Item", L"Font Smoothing", L"None"}) {
        CAPTURE(key);
        const auto before = e.s().Settings.Image(key);
        CHECK_FALSE(ToggleSetting(e.s(), e.prompts, key));
        CHECK(e.s().Settings.Image(key) == before);
    }
    CHECK_FALSE(e.s().HasUnappliedChanges());
    CHECK_FALSE(e.s().IconCacheDirty);
    CHECK_FALSE(e.s().RestartNeeded);
}

TEST_CASE("Delay Until Clicked greys the menu delay and takes it back") {
    Editing e;
    REQUIRE(ToggleSetting(e.s(), e.prompts, L"Delay Until Clicked"));
    CHECK(e.Image(L"Menu Show Delay") == SettingImage::Disabled);
    CHECK(SelectSettingNode(e.s(), e.system, L"Menu Show Delay").kind == EditorKind::None);
    CHECK_FALSE(ChangeNumber(e.s(), e.system, L"Menu Show Delay", 100));
    CHECK(e.Staged(L"Menu Show Delay") == L"400");
    REQUIRE(ToggleSetting(e.s(), e.prompts, L"Delay Until Clicked"));
    CHECK(e.Image(L"Menu Show Delay") == SettingImage::Editable);
    CHECK(SelectSettingNode(e.s(), e.system, L"Menu Show Delay").kind == EditorKind::Number);
}

TEST_CASE("a number is corrected to its range, with a beep only above the top") {
    struct Row {
        const wchar_t* key;
        int value, shown;
        bool beep;
    };
    const Row rows[] = {
        {L"Double Click Width", 50, 32, true},
        {L"Double Click Width", 33, 32, true},
        {L"Double Click Height", 32, 32, false},
        {L"Drag Width", 0, 1, false},
        {L"Drag Height", 7, 7, false},
        {L"Double Click Speed", 901, 900, true},
        {L"Double Click Speed", 0, 0, false},
        {L"Menu Show Delay", 9999, 9999, false},
        {L"Menu Show Delay", 400, 400, false},
        {L"Wallpaper Horizontal Origin", 1025, 1024, true},
        {L"Wallpaper Horizontal Origin", 1024, 1024, false},
        {L"Wallpaper Vertical Origin", 769, 768, true},
        {L"Wallpaper Vertical Origin", 0, 0, false},
    };
    for (const Row& row : rows) {
        CAPTURE(row.key);
        CAPTURE(row.value);
        Editing e;
        const bool changes = e.Staged(row.key) != std::to_wstring(row.shown);
        CHECK(ChangeNumber(e.s(), e.system, row.key, row.value) == row.shown);
        CHECK(e.Staged(row.key) == std::to_wstring(row.shown));
        CHECK(e.system.beeps == (row.beep ? 1 : 0));
        // Only a new value is an edit; a new menu delay waits for a restart.
        CHECK(e.s().HasUnappliedChanges() == changes);
        CHECK(e.s().RestartNeeded == (changes && std::wstring(row.key) == L"Menu Show Delay"));
        CHECK_FALSE(e.s().IconCacheDirty);
    }
}

TEST_CASE("typed numbers: what the spin control cannot hold is refused with a beep") {
    struct Row {
        const wchar_t* typed;
        int shown; // -1: refused
        int beeps;
    };
    const Row rows[] = {
        {L"7", 7, 0},   {L"", 1, 0},       {L"50", 32, 1},    {L"abc", -1, 1},
        {L"4a", -1, 1}, {L"40000", -1, 1}, {L"32766", -1, 1}, {L"10000", -1, 1},
        {L"-5", -1, 1}, {L"5.5", -1, 1},   {L"9999", 32, 1},
    };
    for (const Row& row : rows) {
        CAPTURE(row.typed);
        Editing e;
        const auto shown = TypeNumber(e.s(), e.system, L"Double Click Width", row.typed);
        CHECK(shown.value_or(-1) == row.shown);
        CHECK(e.system.beeps == row.beeps);
        CHECK(e.Staged(L"Double Click Width") == (row.shown < 0 ? L"4" : std::to_wstring(row.shown)));
        CHECK(e.s().HasUnappliedChanges() == (row.shown >= 0));
    }
    Editing e;
    CHECK(TypeNumber(e.s(), e.system, L"Double Click Speed", L"") == 0);
    // Retyping the staged value is no change.
    CHECK(TypeNumber(e.s(), e.system, L"Double Click Speed", L"0") == 0);
    e.s().MarkApplied();
    CHECK(TypeNumber(e.s(), e.system, L"Double Click Speed", L"0") == 0);
    CHECK_FALSE(e.s().HasUnappliedChanges());
}

TEST_CASE("selecting a node shows its value and never counts as an edit") {
    const std::wstring desktop = L"Control Panel\\desktop";
    Editing e({.nt = true, .plus = true}, [&] {
        RawSetString(HKEY_CURRENT_USER, desktop, L"DoubleClickWidth", L"50");
        RawSetString(HKEY_CURRENT_USER, desktop, L"DragWidth", L"wide");
        RawSetString(HKEY_CURRENT_USER, desktop, L"MenuShowDelay", L"20000");
        RawSetString(HKEY_CLASSES_ROOT, L"Folder\\shell", L"", L"Explore");
    });
    struct Row {
        const wchar_t* key;
        EditorKind kind;
        const wchar_t* unit;
        const wchar_t* text; // also what is staged afterwards
        int beeps;
    };
    const Row rows[] = {
        {L"Double Click Speed", EditorKind::Number, L"milliseconds", L"500", 0},
        {L"Wallpaper Vertical Origin", EditorKind::Number, L"pixels", L"0", 0},
        {L"Double Click Width", EditorKind::Number, L"pixels", L"32", 1}, // stored out of range
        {L"Drag Width", EditorKind::Number, L"pixels", L"2", 0},          // stored as no number
        {L"Menu Show Delay", EditorKind::Number, L"milliseconds", L"9999", 1},
        {L"Default Menu Item", EditorKind::Choice, L"", L"Explore", 0},
        {L"Beep On Errors", EditorKind::None, L"", L"", 0},
        {L"Mouse", EditorKind::None, L"", L"", 0},
    };
    for (const Row& row : rows) {
        CAPTURE(row.key);
        e.system.beeps = 0;
        const EditorContent c = SelectSettingNode(e.s(), e.system, row.key);
        CHECK(c.kind == row.kind);
        CHECK(c.text == row.text);
        CHECK(e.Staged(row.key) == row.text);
        CHECK(e.system.beeps == row.beeps);
        if (row.kind == EditorKind::None) continue;
        CHECK(c.caption == row.key);
        CHECK(c.unit == row.unit);
        if (row.kind == EditorKind::Number) CHECK(std::to_wstring(c.value) == row.text);
    }
    CHECK_FALSE(e.s().HasUnappliedChanges());
    CHECK_FALSE(e.s().RestartNeeded);
    // A folder verb once loaded stays what the user made it.
    StageFolderVerb(e.s(), L"Open");
    CHECK(e.s().HasUnappliedChanges());
    CHECK(SelectSettingNode(e.s(), e.system, L"Default Menu Item").text == L"Open");
}

TEST_CASE("the right-click menu's second item follows the node") {
    Editing e({.nt = true, .plus = false});
    struct Row {
        const wchar_t* key;
        bool expanded;
        const wchar_t* caption;
        bool enabled;
        NodeAction action;
    };
    const Row rows[] = {
        {L"General", false, L"&Expand", true, NodeAction::Expand},
        {L"Double Click", true, L"Colla&pse", true, NodeAction::Collapse},
        {L"Beep On Errors", false, L"&Toggle", true, NodeAction::Toggle},
        {L"Swap Mouse Buttons", false, L"&Toggle", true, NodeAction::Toggle}, // off
        {L"Font Smoothing", false, L"&Toggle", false, NodeAction::None},      // no Plus!
        {L"Drag Height", false, L"Cha&nge", false, NodeAction::None},
        {L"Default Menu Item", false, L"Cha&nge", false, NodeAction::None},
    };
    for (const Row& row : rows) {
        CAPTURE(row.key);
        const NodeMenuItem item = NodeMenuItemFor(*e.s().Settings.Find(row.key), row.expanded);
        CHECK(item.caption == row.caption);
        CHECK(item.enabled == row.enabled);
        CHECK(item.action == row.action);
    }
    REQUIRE(ToggleSetting(e.s(), e.prompts, L"Delay Until Clicked"));
    CHECK(NodeMenuItemFor(*e.s().Settings.Find(L"Menu Show Delay"), false).caption == L"Cha&nge");
}

TEST_CASE("restoring all settings asks first and puts back every setup default") {
    for (const MachineKind kind :
         {MachineKind{.nt = true, .plus = true}, MachineKind{.nt = false, .plus = false}}) {
        CAPTURE(kind.nt);
        Editing e(kind);
        SettingsState& settings = e.s().Settings;
        // Everything away from its default first.
        for (const SettingRow& row : SettingRows()) {
            const std::wstring key(row.Key);
            const auto image = settings.Image(key);
            if (image == SettingImage::Off || image == SettingImage::On)
                settings.SetImage(key, row.DefaultOn ? SettingImage::Off : SettingImage::On);
            if (row.Kind == SettingKind::Number) settings.SetStagedText(key, L"17");
        }
        settings.SetImage(L"Menu Show Delay", SettingImage::Disabled);
        settings.SetStagedText(L"Default Menu Item", L"Open");
        REQUIRE(settings.IsOn(L"Delay Until Clicked"));
        e.s().IconCacheDirty = e.s().RestartNeeded = false;
        e.s().MarkApplied();
        e.prompts.shown.clear();
        const std::vector<SettingNode> before = settings.Nodes();

        SUBCASE("Cancel, or closing the question, changes nothing") {
            for (int answer : {0, Closed}) {
                e.prompts.Answer(answer);
                CHECK_FALSE(RestoreAllSettings(e.s(), e.prompts, e.system));
            }
            for (size_t i = 0; i < before.size(); ++i)
                CHECK(settings.Node(static_cast<int>(i)).Image == before[i].Image);
            CHECK(e.Staged(L"Drag Height") == L"17");
            CHECK_FALSE(e.s().HasUnappliedChanges());
            CHECK_FALSE(e.s().IconCacheDirty);
            CHECK(e.system.busyCalls.empty());
        }
        SUBCASE("OK") {
            e.prompts.Answer(1);
            ChangeLog log(settings);
            REQUIRE(RestoreAllSettings(e.s(), e.prompts, e.system));
            REQUIRE(e.prompts.shown.size() == 1);
            CHECK(e.prompts.shown[0].message ==
                  L"Restoring all your " + e.s().Facts.OsName +
                      L" system settings will return them to Microsoft setup defaults.\n\n"
                      L"Are you sure you want to continue?");
            CHECK(e.prompts.shown[0].buttons == std::array<std::wstring, 3>{L"Cancel", L"OK", L""});
            CHECK(e.prompts.shown[0].icon == PromptIconQuestion);
            for (const SettingRow& row : SettingRows()) {
                const std::wstring key(row.Key);
                if (!settings.Find(key)) continue;
                CAPTURE(key);
                if (row.Kind == SettingKind::Toggle) {
                    const bool unavailable = row.Plus && !kind.plus;
                    CHECK(e.Image(key) == (unavailable     ? SettingImage::Unavailable
                                           : row.DefaultOn ? SettingImage::On
                                                           : SettingImage::Off));
                }
                if (row.Kind == SettingKind::Number) CHECK(e.Staged(key) == row.Number.Fallback);
            }
            CHECK(e.Image(L"Menu Show Delay") == SettingImage::Editable);
            CHECK(e.Staged(L"Menu Show Delay") == L"400");
            CHECK(e.Staged(L"Double Click Speed") == L"500");
            CHECK(e.Staged(L"Default Menu Item") == L"[Default]");
            CHECK(e.Image(L"Full Window Dragging") ==
                  (kind.plus ? SettingImage::On : SettingImage::Unavailable));
            CHECK(e.s().HasUnappliedChanges());
            CHECK(e.s().IconCacheDirty);
            CHECK_FALSE(e.s().RestartNeeded);
            CHECK(e.prompts.shown.size() == 1); // no warnings on the way
            CHECK(e.system.busyCalls == std::vector<bool>{true, false});
            // The order in which the tree hears of it, as far as it changed.
            const std::vector<std::wstring> head(log.keys.begin(), log.keys.begin() + 4);
            CHECK(head == std::vector<std::wstring>{
                              L"Beep On Errors",
                              kind.nt ? L"Extended Sounds On Errors" : L"Bitmap Thumbnail as Default Icon",
                              kind.nt ? L"Bitmap Thumbnail as Default Icon" : L"Non-blinking Cursor",
                              kind.nt ? L"Non-blinking Cursor" : L"Smooth Scrolling"});
            const auto at = [&](const wchar_t* key) {
                return std::find(log.keys.begin(), log.keys.end(), key) - log.keys.begin();
            };
            CHECK(at(L"Explore From Here") < at(L"Default Menu Item"));
            CHECK(at(L"Default Menu Item") < at(L"Command Prompt From Here"));
            CHECK(at(L"Swap Mouse Buttons") < at(L"Double Click Width"));
            CHECK(at(L"Delay Until Clicked") < at(L"Wallpaper Horizontal Origin"));
            CHECK(log.keys.back() == L"Restore Window Position");
        }
    }
}
