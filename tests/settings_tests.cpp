#include "settings/settings_catalogue.h"
#include "settings/settings_state.h"
#include "support/registry_sandbox.h"

#include <doctest/doctest.h>

#include "platform/text.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>
#include <vector>

namespace doctest {
template <> struct StringMaker<std::wstring> {
    static String convert(const std::wstring& s) {
        std::string quoted = "\"";
        quoted += text::Narrow(s);
        quoted += '"';
        return quoted.c_str();
    }
};
} // namespace doctest

namespace {

const std::wstring Sound = L"Control Panel\\Sound";
const std::wstring Desktop = L"Control Panel\\desktop";
const std::wstring Metrics = L"Control Panel\\desktop\\WindowMetrics";
const std::wstring Mouse = L"Control Panel\\Mouse";
const std::wstring Explorer = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const std::wstring ExplorerPolicies = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const std::wstring NetworkPolicies = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network";
const std::wstring Program = L"Software\\Korvath\\Tessaly\\2.0\\Settings";
const std::wstring MyComputerCommandKey =
    L"CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\shell\\TS\\Command";

StartupFacts Facts(bool nt, bool plus, std::wstring exe = L"C:\\Tools\\Tessaly.exe") {
    StartupFacts f;
    f.OsKind = nt ? L"Win NT" : L"Win 95";
    f.OsName = nt ? L"Windows NT" : L"Windows 95";
    f.HasPlus = plus;
    f.ScreenWidth = 1024;
    f.ScreenHeight = 768;
    f.OwnExePath = std::move(exe);
    return f;
}

std::vector<std::wstring> Keys(const SettingsState& state) {
    std::vector<std::wstring> keys;
    for (const SettingNode& n : state.Nodes()) keys.push_back(n.Key);
    return keys;
}

std::set<std::wstring> TogglesOn(const SettingsState& state) {
    std::set<std::wstring> on;
    for (const SettingNode& n : state.Nodes())
        if (n.Kind == SettingKind::Toggle && n.Image == SettingImage::On) on.insert(n.Key);
    return on;
}

// Builds the state from whatever the sandbox holds.
struct Built {
    explicit Built(const StartupFacts& f) : facts(f) { Add_TreeItems(facts, state); }
    StartupFacts facts;
    SettingsState state;
    SettingImage Image(const std::wstring& key) const {
        auto image = state.Image(key);
        REQUIRE(image.has_value());
        return *image;
    }
};

// Key and parent of every node on Windows NT, in tree order.
const std::pair<const wchar_t*, const wchar_t*> TreeNT[] = {
    {L"General", L""},
    {L"Beep On Errors", L"General"},
    {L"Extended Sounds On Errors", L"General"},
    {L"Bitmap Thumbnail as Default Icon", L"General"},
    {L"Non-blinking Cursor", L"General"},
    {L"Smooth Scrolling", L"General"},
    {L"Window Animation", L"General"},
    {L"Explorer", L""},
    {L"Save Settings on Exit", L"Explorer"},
    {L"Shortcut To Prefix on New Shortcuts", L"Explorer"},
    {L"Menu Items", L"Explorer"},
    {L"Folder", L"Menu Items"},
    {L"Explore From Here", L"Folder"},
    {L"Default Menu Item", L"Folder"},
    {L"Directory", L"Menu Items"},
    {L"Command Prompt From Here", L"Directory"},
    {L"All Files", L"Menu Items"},
    {L"Quick View", L"All Files"},
    {L"Notepad", L"All Files"},
    {L"Icons", L""},
    {L"Large Icons", L"Icons"},
    {L"Show Icons Using All Possible Colours", L"Icons"},
    {L"Wrap Icon Titles", L"Icons"},
    {L"Mouse", L""},
    {L"Swap Mouse Buttons", L"Mouse"},
    {L"Double Click", L"Mouse"},
    {L"Double Click Width", L"Double Click"},
    {L"Double Click Height", L"Double Click"},
    {L"Double Click Speed", L"Double Click"},
    {L"Drag", L"Mouse"},
    {L"Drag Width", L"Drag"},
    {L"Drag Height", L"Drag"},
    {L"Plus", L""},
    {L"Font Smoothing", L"Plus"},
    {L"Full Window Dragging", L"Plus"},
    {L"Stretch Desktop Wallpaper", L"Plus"},
    {L"Restrictions", L""},
    {L"Hide Network Neighborhood", L"Restrictions"},
    {L"Hide 'Entire Network' in Network Neighborhood", L"Restrictions"},
    {L"Hide workgroup contents in Network Neighborhood", L"Restrictions"},
    {L"Disable Desktop", L"Restrictions"},
    {L"Hide Drives in 'My Computer'", L"Restrictions"},
    {L"Remove folders from 'Settings' on Start Menu", L"Restrictions"},
    {L"Remove Taskbar from 'Settings' on Start Menu", L"Restrictions"},
    {L"Remove 'Find' Command", L"Restrictions"},
    {L"Remove 'Run' Command", L"Restrictions"},
    {L"Disable Shut Down Command", L"Restrictions"},
    {L"Start Menu", L""},
    {L"Menu Show Delay", L"Start Menu"},
    {L"Delay Until Clicked", L"Start Menu"},
    {L"Wallpaper", L""},
    {L"Wallpaper Horizontal Origin", L"Wallpaper"},
    {L"Wallpaper Vertical Origin", L"Wallpaper"},
    {L"Options", L""},
    {L"My Computer", L"Options"},
    {L"Display Splash Screen", L"Options"},
    {L"Restore Active Tab", L"Options"},
    {L"Restore Window Position", L"Options"},
};

const std::wstring Numbers[] = {L"Double Click Width",
                                L"Double Click Height",
                                L"Double Click Speed",
                                L"Drag Width",
                                L"Drag Height",
                                L"Menu Show Delay",
                                L"Wallpaper Horizontal Origin",
                                L"Wallpaper Vertical Origin"};

} // namespace

TEST_CASE("the tree has its nodes in order under their parents on both systems") {
    RegistrySandbox sandbox;

    SUBCASE("Windows NT: 58 nodes") {
        Built nt(Facts(true, true));
        REQUIRE(nt.state.Count() == 58);
        for (int i = 0; i < 58; ++i) {
            const SettingNode& node = nt.state.Node(i);
            CAPTURE(i);
            CHECK(node.Key == TreeNT[i].first);
            CHECK(node.Parent == TreeNT[i].second);
        }
        std::map<SettingKind, int> kinds;
        for (const SettingNode& n : nt.state.Nodes()) ++kinds[n.Kind];
        CHECK(kinds[SettingKind::Group] == 15);
        CHECK(kinds[SettingKind::Toggle] == 34);
        CHECK(kinds[SettingKind::Number] == 8);
        CHECK(kinds[SettingKind::Choice] == 1);
        CHECK(nt.state.Find(L"Default Menu Item")->Kind == SettingKind::Choice);
        for (const auto& key : Numbers) CHECK(nt.state.Find(key)->Kind == SettingKind::Number);
    }
    SUBCASE("Windows 95: the same without the extended sounds, 57 nodes") {
        Built w95(Facts(false, true));
        std::vector<std::wstring> expected;
        for (const auto& [key, parent] : TreeNT)
            if (std::wstring(key) != L"Extended Sounds On Errors") expected.push_back(key);
        CHECK(Keys(w95.state) == expected);
        CHECK(w95.state.Count() == 57);
        CHECK(w95.state.Find(L"Extended Sounds On Errors") == nullptr);
        CHECK(w95.state.Node(2).Key == L"Bitmap Thumbnail as Default Icon");
    }
    SUBCASE("captions are the keys except where the tree names them otherwise") {
        Built nt(Facts(true, false));
        const std::map<std::wstring, std::wstring> captions = {
            {L"Shortcut To Prefix on New Shortcuts", L"\"Shortcut to\" Prefix on New Shortcuts"},
            {L"Double Click Width", L"Width"},
            {L"Double Click Height", L"Height"},
            {L"Double Click Speed", L"Speed"},
            {L"Drag Width", L"Width"},
            {L"Drag Height", L"Height"},
            {L"Plus", L"Plus!"},
            {L"Wallpaper Horizontal Origin", L"Horizontal Origin"},
            {L"Wallpaper Vertical Origin", L"Vertical Origin"},
            {L"My Computer", L"Add Tessaly to My Computer context menu"},
        };
        for (const SettingNode& n : nt.state.Nodes()) {
            auto it = captions.find(n.Key);
            CHECK(n.Caption == (it == captions.end() ? n.Key : it->second));
        }
    }
}

TEST_CASE("a fresh registry reads as the shell's own defaults") {
    RegistrySandbox sandbox;
    const std::set<std::wstring> onNT = {L"Beep On Errors",        L"Extended Sounds On Errors",
                                         L"Smooth Scrolling",      L"Window Animation",
                                         L"Save Settings on Exit", L"Shortcut To Prefix on New Shortcuts",
                                         L"Wrap Icon Titles",      L"Display Splash Screen",
                                         L"Restore Active Tab",    L"Restore Window Position"};

    SUBCASE("Windows NT with Plus!") {
        Built b(Facts(true, true));
        CHECK(TogglesOn(b.state) == onNT);
        for (const SettingNode& n : b.state.Nodes()) {
            CAPTURE(n.Key);
            if (n.Kind == SettingKind::Toggle)
                CHECK(n.Image == (onNT.contains(n.Key) ? SettingImage::On : SettingImage::Off));
            if (n.Kind == SettingKind::Group) CHECK(n.Image == SettingImage::GroupCollapsed);
            if (n.Kind == SettingKind::Number || n.Kind == SettingKind::Choice)
                CHECK(n.Image == SettingImage::Editable);
        }
        CHECK(b.state.StagedText(L"Double Click Width") == L"4");
        CHECK(b.state.StagedText(L"Double Click Height") == L"4");
        CHECK(b.state.StagedText(L"Double Click Speed") == L"500");
        CHECK(b.state.StagedText(L"Drag Width") == L"2");
        CHECK(b.state.StagedText(L"Drag Height") == L"2");
        CHECK(b.state.StagedText(L"Menu Show Delay") == L"400");
        CHECK(b.state.StagedText(L"Wallpaper Horizontal Origin") == L"0");
        CHECK(b.state.StagedText(L"Wallpaper Vertical Origin") == L"0");
        CHECK(b.state.StagedText(L"Default Menu Item") == L""); // loaded on first need
        CHECK_FALSE(b.state.UnlistedToggle(L"Extended Sounds On Errors").has_value());
    }
    SUBCASE("Windows 95 without Plus!: the Plus! toggles are unavailable, the extended sounds kept aside") {
        Built b(Facts(false, false));
        for (const auto* key : {L"Font Smoothing", L"Full Window Dragging", L"Stretch Desktop Wallpaper"})
            CHECK(b.Image(key) == SettingImage::Unavailable);
        auto on95 = onNT;
        on95.erase(L"Extended Sounds On Errors");
        CHECK(TogglesOn(b.state) == on95);
        REQUIRE(b.state.UnlistedToggle(L"Extended Sounds On Errors").has_value());
        CHECK(*b.state.UnlistedToggle(L"Extended Sounds On Errors"));
    }
}

TEST_CASE("prepared registries read as the rows judge them") {
    RegistrySandbox sandbox;
    const StartupFacts nt = Facts(true, true);

    SUBCASE("sound texts: yes in any case, or unreadable") {
        RawSetString(HKEY_CURRENT_USER, Sound, L"Beep", L"YES");
        RawSetString(HKEY_CURRENT_USER, Sound, L"ExtendedSounds", L"No");
        Built b(nt);
        CHECK(b.Image(L"Beep On Errors") == SettingImage::On);
        CHECK(b.Image(L"Extended Sounds On Errors") == SettingImage::Off);
    }
    SUBCASE("on Windows 95 the extended sounds are read without a node") {
        RawSetString(HKEY_CURRENT_USER, Sound, L"ExtendedSounds", L"no");
        RawSetString(HKEY_CURRENT_USER, Sound, L"Beep", L"No");
        Built b(Facts(false, true));
        CHECK(b.state.UnlistedToggle(L"Extended Sounds On Errors") == false);
        CHECK(b.Image(L"Beep On Errors") == SettingImage::Off);
    }
    SUBCASE("a stored \"Error\" or 10 cannot be told from an unreadable value") {
        RawSetString(HKEY_CURRENT_USER, Sound, L"Beep", L"Error");
        RawSetDword(HKEY_CURRENT_USER, Program, L"Active Tab", 10);
        RawSetString(HKEY_CURRENT_USER, Desktop, L"DragWidth", L"Error");
        Built b(nt);
        CHECK(b.Image(L"Beep On Errors") == SettingImage::On);
        CHECK(b.Image(L"Restore Active Tab") == SettingImage::On);
        CHECK(b.state.StagedText(L"Drag Width") == L"2");
    }
    SUBCASE("\"NoNetHood\" counts only as 999") {
        RawSetDword(HKEY_CURRENT_USER, ExplorerPolicies, L"NoNetHood", 1);
        CHECK(Built(nt).Image(L"Hide Network Neighborhood") == SettingImage::Off);
        RawSetDword(HKEY_CURRENT_USER, ExplorerPolicies, L"NoNetHood", 999);
        CHECK(Built(nt).Image(L"Hide Network Neighborhood") == SettingImage::On);
    }
    SUBCASE("\"NoDrives\" counts only when every drive is hidden") {
        RawSetDword(HKEY_CURRENT_USER, ExplorerPolicies, L"NoDrives", 0x3); // A and B only
        CHECK(Built(nt).Image(L"Hide Drives in 'My Computer'") == SettingImage::Off);
        RawSetDword(HKEY_CURRENT_USER, ExplorerPolicies, L"NoDrives", 67108863);
        CHECK(Built(nt).Image(L"Hide Drives in 'My Computer'") == SettingImage::On);
        RawSetDword(HKEY_CURRENT_USER, ExplorerPolicies, L"NoDrives", 0xFFFFFFFF);
        CHECK(Built(nt).Image(L"Hide Drives in 'My Computer'") == SettingImage::Off);
    }
    SUBCASE("the other policies count as 1") {
        for (const auto* name :
             {L"NoDesktop", L"NoSetFolders", L"NoSetTaskbar", L"NoFind", L"NoRun", L"NoClose"})
            RawSetDword(HKEY_CURRENT_USER, ExplorerPolicies, name, 1);
        RawSetDword(HKEY_CURRENT_USER, NetworkPolicies, L"NoEntireNetwork", 1);
        RawSetDword(HKEY_CURRENT_USER, NetworkPolicies, L"NoWorkgroupContents", 2);
        Built b(nt);
        for (const auto* key : {L"Disable Desktop", L"Remove folders from 'Settings' on Start Menu",
                                L"Remove Taskbar from 'Settings' on Start Menu", L"Remove 'Find' Command",
                                L"Remove 'Run' Command", L"Disable Shut Down Command",
                                L"Hide 'Entire Network' in Network Neighborhood"})
            CHECK(b.Image(key) == SettingImage::On);
        CHECK(b.Image(L"Hide workgroup contents in Network Neighborhood") == SettingImage::Off);
    }
    SUBCASE("a menu delay of 65535 means wait for a click") {
        RawSetString(HKEY_CURRENT_USER, Desktop, L"MenuShowDelay", L"65535");
        Built b(nt);
        CHECK(b.Image(L"Menu Show Delay") == SettingImage::Disabled);
        CHECK(b.Image(L"Delay Until Clicked") == SettingImage::On);
        CHECK(b.state.StagedText(L"Menu Show Delay") == L"400");
    }
    SUBCASE("any other menu delay is staged and editable") {
        RawSetString(HKEY_CURRENT_USER, Desktop, L"MenuShowDelay", L"250");
        Built b(nt);
        CHECK(b.Image(L"Menu Show Delay") == SettingImage::Editable);
        CHECK(b.Image(L"Delay Until Clicked") == SettingImage::Off);
        CHECK(b.state.StagedText(L"Menu Show Delay") == L"250");
    }
    SUBCASE("numbers keep what was read, empty texts fall back") {
        RawSetString(HKEY_CURRENT_USER, Desktop, L"DoubleClickWidth", L"12");
        RawSetString(HKEY_CURRENT_USER, Desktop, L"DoubleClickHeight", L"");
        RawSetString(HKEY_CURRENT_USER, Mouse, L"DoubleClickSpeed", L"650");
        RawSetString(HKEY_CURRENT_USER, Desktop, L"DragHeight", L"abc");
        RawSetString(HKEY_CURRENT_USER, Desktop, L"WallpaperOriginX", L"100");
        RawSetString(HKEY_CURRENT_USER, Desktop, L"WallpaperOriginY", L"-3");
        Built b(nt);
        CHECK(b.state.StagedText(L"Double Click Width") == L"12");
        CHECK(b.state.StagedText(L"Double Click Height") == L"4");
        CHECK(b.state.StagedText(L"Double Click Speed") == L"650");
        CHECK(b.state.StagedText(L"Drag Height") == L"abc"); // judged by the editor, not here
        CHECK(b.state.StagedText(L"Wallpaper Horizontal Origin") == L"100");
        CHECK(b.state.StagedText(L"Wallpaper Vertical Origin") == L"-3");
    }
    SUBCASE("\"Active Tab\": a tab index 1 to 8 restores, 0 does not") {
        const std::pair<DWORD, SettingImage> cases[] = {
            {0, SettingImage::Off}, {1, SettingImage::On},   {8, SettingImage::On},
            {9, SettingImage::Off}, {11, SettingImage::Off}, {0xFFFFFFFF, SettingImage::Off}};
        for (const auto& [stored, image] : cases) {
            CAPTURE(stored);
            RawSetDword(HKEY_CURRENT_USER, Program, L"Active Tab", stored);
            CHECK(Built(nt).Image(L"Restore Active Tab") == image);
        }
    }
    SUBCASE("splash and window position: 1 on, anything else stored off") {
        RawSetDword(HKEY_CURRENT_USER, Program, L"Splash", 0);
        RawSetDword(HKEY_CURRENT_USER, Program, L"Positions", 2);
        Built b(nt);
        CHECK(b.Image(L"Display Splash Screen") == SettingImage::Off);
        CHECK(b.Image(L"Restore Window Position") == SettingImage::Off);
        RawSetDword(HKEY_CURRENT_USER, Program, L"Splash", 1);
        RawSetDword(HKEY_CURRENT_USER, Program, L"Positions", 1);
        Built again(nt);
        CHECK(again.Image(L"Display Splash Screen") == SettingImage::On);
        CHECK(again.Image(L"Restore Window Position") == SettingImage::On);
    }
    SUBCASE("binary values: zero bytes save settings, any \"link\" value removes the prefix") {
        const unsigned char zero[4] = {0, 0, 0, 0}, one[4] = {1, 0, 0, 0};
        RawSetValue(HKEY_CURRENT_USER, ExplorerPolicies, L"NoSaveSettings", REG_BINARY, one, 4);
        RawSetValue(HKEY_CURRENT_USER, Explorer, L"link", REG_BINARY, zero, 4);
        Built b(nt);
        CHECK(b.Image(L"Save Settings on Exit") == SettingImage::Off);
        CHECK(b.Image(L"Shortcut To Prefix on New Shortcuts") == SettingImage::Off);
        RawSetValue(HKEY_CURRENT_USER, ExplorerPolicies, L"NoSaveSettings", REG_BINARY, zero, 4);
        RawSetValue(HKEY_CURRENT_USER, Explorer, L"link", REG_BINARY, zero, 0);
        Built again(nt);
        CHECK(again.Image(L"Save Settings on Exit") == SettingImage::On);
        CHECK(again.Image(L"Shortcut To Prefix on New Shortcuts") == SettingImage::Off);
    }
    SUBCASE("smooth scrolling is on for any number but 0") {
        RawSetDword(HKEY_CURRENT_USER, Desktop, L"SmoothScroll", 0);
        CHECK(Built(nt).Image(L"Smooth Scrolling") == SettingImage::Off);
        RawSetDword(HKEY_CURRENT_USER, Desktop, L"SmoothScroll", 2);
        CHECK(Built(nt).Image(L"Smooth Scrolling") == SettingImage::On);
    }
    SUBCASE("text toggles compare exactly") {
        RawSetString(HKEY_CLASSES_ROOT, L"Paint.Picture\\DefaultIcon", L"", L"%1");
        RawSetString(HKEY_CURRENT_USER, Desktop, L"CursorBlinkRate", L"65535");
        RawSetString(HKEY_CURRENT_USER, Metrics, L"MinAnimate", L"0");
        RawSetString(HKEY_CURRENT_USER, Metrics, L"Shell Icon Size", L"48");
        RawSetString(HKEY_CURRENT_USER, Metrics, L"Shell Icon BPP", L"8");
        RawSetString(HKEY_CURRENT_USER, Metrics, L"IconTitleWrap", L"0");
        RawSetString(HKEY_CURRENT_USER, Mouse, L"SwapMouseButtons", L"1");
        RawSetString(HKEY_CLASSES_ROOT, L"*\\QuickView", L"", L"*");
        RawSetString(HKEY_CLASSES_ROOT, L"*\\Shell\\Notepad\\Command", L"", L"notepad.exe \"%1\"");
        RawSetString(HKEY_CLASSES_ROOT, L"Directory\\Shell\\DosHere\\Command", L"",
                     L"COMMAND.COM /K CD \"%1\"");
        RawSetString(HKEY_CLASSES_ROOT, L"Folder\\Shell\\RootExplore\\Command", L"", L"");
        Built b(nt);
        CHECK(b.Image(L"Bitmap Thumbnail as Default Icon") == SettingImage::On);
        CHECK(b.Image(L"Non-blinking Cursor") == SettingImage::On);
        CHECK(b.Image(L"Window Animation") == SettingImage::Off);
        CHECK(b.Image(L"Large Icons") == SettingImage::On);
        CHECK(b.Image(L"Show Icons Using All Possible Colours") == SettingImage::Off);
        CHECK(b.Image(L"Wrap Icon Titles") == SettingImage::Off);
        CHECK(b.Image(L"Swap Mouse Buttons") == SettingImage::On);
        CHECK(b.Image(L"Quick View") == SettingImage::On);
        CHECK(b.Image(L"Notepad") == SettingImage::Off); // letter case differs
        CHECK(b.Image(L"Command Prompt From Here") == SettingImage::On);
        CHECK(b.Image(L"Explore From Here") == SettingImage::On); // an empty command
    }
    SUBCASE("the Plus! toggles are read, and shown unavailable without Plus!") {
        RawSetString(HKEY_CURRENT_USER, Desktop, L"FontSmoothing", L"2");
        RawSetString(HKEY_CURRENT_USER, Desktop, L"DragFullWindows", L"1");
        RawSetString(HKEY_CURRENT_USER, Desktop, L"WallpaperStyle", L"0");
        Built with(nt);
        CHECK(with.Image(L"Font Smoothing") == SettingImage::On);
        CHECK(with.Image(L"Full Window Dragging") == SettingImage::On);
        CHECK(with.Image(L"Stretch Desktop Wallpaper") == SettingImage::Off);
        Built without(Facts(true, false));
        for (const auto* key : {L"Font Smoothing", L"Full Window Dragging", L"Stretch Desktop Wallpaper"})
            CHECK(without.Image(key) == SettingImage::Unavailable);
        RawSetString(HKEY_CURRENT_USER, Desktop, L"FontSmoothing", L"0");
        CHECK(Built(nt).Image(L"Font Smoothing") == SettingImage::Off);
    }
}

TEST_CASE("the My Computer entry counts as on only when it starts this program as it is") {
    RegistrySandbox sandbox;
    auto imageFor = [](const std::wstring& stored, const std::wstring& exe) {
        RawSetString(HKEY_CLASSES_ROOT, MyComputerCommandKey, L"", stored);
        return Built(Facts(true, true, exe)).Image(L"My Computer");
    };
    const std::wstring exe = L"C:\\Tools\\Tessaly.exe";

    CHECK(imageFor(L"C:\\Tools\\Tessaly.exe", exe) == SettingImage::On);
    CHECK(imageFor(L"\"c:\\tools\\tessaly.EXE\"", exe) == SettingImage::On);
    CHECK(imageFor(L"C:\\Tools\\Tessaly.exe /a", exe) == SettingImage::Off);
    CHECK(imageFor(L"\"C:\\Tools\\Tessaly.exe\" \"%1\"", exe) == SettingImage::Off);
    CHECK(imageFor(L"C:\\Other\\Tessaly.exe", exe) == SettingImage::Off);
    CHECK(imageFor(L"\"C:\\Tools\\Tessaly.exe", exe) == SettingImage::Off);
    CHECK(imageFor(L"", L"") == SettingImage::Off); // no own path known

    const std::wstring spaced = L"C:\\Program Files\\Tessaly\\Tessaly.exe";
    CHECK(imageFor(L"\"C:\\Program Files\\Tessaly\\Tessaly.exe\"", spaced) == SettingImage::On);
    CHECK(imageFor(L"C:\\Program Files\\Tessaly\\Tessaly.exe", spaced) == SettingImage::On);

    // What Apply stores reads back as on.
    CHECK(MyComputerCommand(exe) == exe);
    CHECK(MyComputerCommand(spaced) == L"\"C:\\Program Files\\Tessaly\\Tessaly.exe\"");
    CHECK(imageFor(MyComputerCommand(spaced), spaced) == SettingImage::On);
}

TEST_CASE("the folder verb is read on first need, not at start") {
    RegistrySandbox sandbox;
    const std::wstring key = L"Default Menu Item";

    SUBCASE("a stored verb is staged as it stands") {
        RawSetString(HKEY_CLASSES_ROOT, L"Folder\\shell", L"", L"explore");
        Built b(Facts(true, true));
        CHECK(b.state.StagedText(key) == L"");
        LoadFolderVerbIfEmpty(b.state);
        CHECK(b.state.StagedText(key) == L"explore");
    }
    SUBCASE("no verb, or an empty one, is \"[Default]\"") {
        Built b(Facts(false, false));
        CHECK(ReadFolderVerb() == L"[Default]");
        RawSetString(HKEY_CLASSES_ROOT, L"Folder\\shell", L"", L"");
        LoadFolderVerbIfEmpty(b.state);
        CHECK(b.state.StagedText(key) == L"[Default]");
    }
    SUBCASE("a loaded or chosen verb is not read again") {
        Built b(Facts(true, true));
        b.state.SetStagedText(key, L"Open");
        RawSetString(HKEY_CLASSES_ROOT, L"Folder\\shell", L"", L"explore");
        LoadFolderVerbIfEmpty(b.state);
        CHECK(b.state.StagedText(key) == L"Open");
    }
}

TEST_CASE("catalogue data the editor, restore and help use") {
    const StartupFacts nt = Facts(true, true), w95 = Facts(false, true);

    SUBCASE("help topics") {
        CHECK(HelpTopic(L"Beep On Errors") == 23);
        CHECK(HelpTopic(L"Default Menu Item") == 32);
        CHECK(HelpTopic(L"Double Click Width") == 40);
        CHECK(HelpTopic(L"Double Click Height") == 40);
        CHECK(HelpTopic(L"Drag") == 42);
        CHECK(HelpTopic(L"Drag Height") == 42);
        CHECK(HelpTopic(L"Wallpaper") == 58);
        CHECK(HelpTopic(L"Wallpaper Vertical Origin") == 58);
        CHECK(HelpTopic(L"Restore Window Position") == 62);
        CHECK(HelpTopic(L"General") == 0);
        CHECK(HelpTopic(L"Double Click") == 0);
        CHECK(HelpTopic(L"No Such Setting") == 0);
        std::set<int> topics;
        for (const SettingRow& row : SettingRows()) {
            if (row.Kind != SettingKind::Group) CHECK(row.HelpTopic != 0);
            if (row.HelpTopic) topics.insert(row.HelpTopic);
        }
        CHECK(topics.size() == 40); // 23 to 62, none missing
        CHECK(*topics.begin() == 23);
        CHECK(*topics.rbegin() == 62);
    }
    SUBCASE("the restrictions that rebuild icons call for a restart on Windows NT only") {
        const SettingRow* find = FindSettingRow(L"Remove 'Find' Command");
        REQUIRE(find);
        CHECK(find->SetsIconCacheDirty);
        CHECK(NeedsRestart(*find, nt));
        CHECK_FALSE(NeedsRestart(*find, w95));
        const SettingRow* net = FindSettingRow(L"Hide Network Neighborhood");
        CHECK(NeedsRestart(*net, w95));
        CHECK_FALSE(net->SetsIconCacheDirty);
        CHECK(FindSettingRow(L"Large Icons")->SetsIconCacheDirty);
        CHECK_FALSE(NeedsRestart(*FindSettingRow(L"Large Icons"), nt));
    }
    SUBCASE("setup defaults and ranges") {
        std::set<std::wstring> defaultOn;
        for (const SettingRow& row : SettingRows())
            if (row.Kind == SettingKind::Toggle && row.DefaultOn) defaultOn.insert(std::wstring(row.Key));
        CHECK(defaultOn == std::set<std::wstring>{L"Beep On Errors", L"Extended Sounds On Errors",
                                                  L"Window Animation", L"Save Settings on Exit",
                                                  L"Shortcut To Prefix on New Shortcuts", L"Wrap Icon Titles",
                                                  L"Full Window Dragging", L"Display Splash Screen",
                                                  L"Restore Active Tab", L"Restore Window Position"});
        const NumberRead& origin = FindSettingRow(L"Wallpaper Vertical Origin")->Number;
        CHECK(NumberMaximum(origin, nt) == 768);
        CHECK(NumberMaximum(FindSettingRow(L"Wallpaper Horizontal Origin")->Number, nt) == 1024);
        const NumberRead& speed = FindSettingRow(L"Double Click Speed")->Number;
        CHECK(speed.Unit == L"milliseconds");
        CHECK(NumberMaximum(speed, nt) == 900);
        CHECK(FindSettingRow(L"Drag Width")->Number.Minimum == 1);
        CHECK(FindSettingRow(L"Drag Width")->Number.Unit == L"pixels");
    }
}

TEST_CASE("the settings state keeps its nodes whole and tells its observers") {
    struct Recorder : SettingsState::Observer {
        std::vector<std::wstring> log;
        const SettingsState* state = nullptr;
        void NodeAdded(int i) override { log.push_back(L"added " + state->Node(i).Key); }
        void ImageChanged(int i) override {
            log.push_back(L"image " + state->Node(i).Key + L" " +
                          std::to_wstring(static_cast<int>(state->Node(i).Image)));
        }
        void StagedTextChanged(const std::wstring& key) override {
            log.push_back(L"text " + key + L" " + state->StagedText(key));
        }
    };
    SettingsState state;
    Recorder recorder;
    recorder.state = &state;
    state.AddObserver(&recorder);

    CHECK(state.AddNode(L"Mouse", L"Mouse", L"", SettingKind::Group, SettingImage::GroupCollapsed) == 0);
    CHECK(state.AddNode(L"Swap", L"Swap", L"Mouse", SettingKind::Toggle, SettingImage::Off) == 1);
    CHECK(state.AddNode(L"Speed", L"Speed", L"Mouse", SettingKind::Number, SettingImage::Editable) == 2);

    SUBCASE("keys are unique and parents are earlier groups") {
        CHECK(state.AddNode(L"Swap", L"Again", L"Mouse", SettingKind::Toggle, SettingImage::On) == -1);
        CHECK(state.AddNode(L"Child", L"Child", L"Swap", SettingKind::Toggle, SettingImage::On) == -1);
        CHECK(state.AddNode(L"Orphan", L"Orphan", L"Later", SettingKind::Toggle, SettingImage::On) == -1);
        CHECK(state.AddNode(L"", L"", L"", SettingKind::Group, SettingImage::GroupCollapsed) == -1);
        CHECK(state.Count() == 3);
        CHECK(state.Find(L"Swap")->Caption == L"Swap");
        CHECK(state.Find(L"swap") == nullptr); // keys count letter case
    }
    SUBCASE("images: observers hear of real changes only") {
        CHECK(state.SetImage(L"Swap", SettingImage::On));
        CHECK(state.SetImage(L"Swap", SettingImage::On));
        CHECK(state.IsOn(L"Swap"));
        CHECK_FALSE(state.SetImage(L"Missing", SettingImage::On));
        CHECK_FALSE(state.IsOn(L"Missing"));
        CHECK_FALSE(state.Image(L"Missing").has_value());
        CHECK(recorder.log ==
              std::vector<std::wstring>{L"added Mouse", L"added Swap", L"added Speed", L"image Swap 6"});
    }
    SUBCASE("staged texts belong to numbers and choices") {
        CHECK(state.SetStagedText(L"Speed", L"500"));
        CHECK_FALSE(state.SetStagedText(L"Swap", L"1"));
        CHECK_FALSE(state.SetStagedText(L"Missing", L"1"));
        CHECK(state.StagedText(L"Speed") == L"500");
        CHECK(state.StagedText(L"Swap") == L"");
        CHECK(recorder.log.back() == L"text Speed 500");
    }
    SUBCASE("groups show the open picture when expanded or selected") {
        CHECK(state.Find(L"Mouse")->ExpandedImage() == SettingImage::GroupOpen);
        CHECK(state.Find(L"Mouse")->SelectedImage() == SettingImage::GroupOpen);
        state.SetImage(L"Swap", SettingImage::On);
        CHECK(state.Find(L"Swap")->SelectedImage() == SettingImage::On);
        CHECK(state.Find(L"Speed")->ExpandedImage() == SettingImage::Editable);
    }
    SUBCASE("a removed observer hears nothing more") {
        state.RemoveObserver(&recorder);
        state.SetImage(L"Swap", SettingImage::On);
        CHECK(recorder.log.size() == 3);
    }
}
