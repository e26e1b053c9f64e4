// The settings state as read from the registry, and the tree that shows it.
#include "controls/settings_tree.h"
#include "controls/surface_image.h"
#include "controls/tree_pictures.h"
#include "settings/settings_catalogue.h"
#include "settings/settings_state.h"
#include "support/dialog_script.h"
#include "support/icon_files.h"
#include "support/registry_sandbox.h"
#include "support/wide_text.h"

#include <set>
#include <string>
#include <variant>
#include <vector>

namespace {

const wchar_t* const Sound = L"Control Panel\\Sound";
const wchar_t* const Desktop = L"Control Panel\\desktop";
const wchar_t* const Metrics = L"Control Panel\\desktop\\WindowMetrics";
const wchar_t* const Mouse = L"Control Panel\\Mouse";
const wchar_t* const Policies = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const wchar_t* const NetPolicies = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network";
const wchar_t* const Program = ProgramSubkey.c_str();
const wchar_t* const MyComputerCommandKey =
    L"CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\shell\\TS\\Command";
const HKEY User = HKEY_CURRENT_USER, Classes = HKEY_CLASSES_ROOT;

StartupFacts Facts(bool nt, bool plus, std::wstring exe = L"C:\\Tools\\Tessaly.exe") {
    StartupFacts f = MachineFacts({nt, plus});
    f.OwnExePath = std::move(exe);
    return f;
}

struct Built {
    explicit Built(const StartupFacts& facts) { Add_TreeItems(facts, state); }
    SettingsState state;
    SettingImage Image(const std::wstring& key) const {
        auto image = state.Image(key);
        REQUIRE(image.has_value());
        return *image;
    }
};

// One stored value: a text or a number.
struct Stored {
    HKEY root;
    const wchar_t* key;
    const wchar_t* name;
    std::variant<const wchar_t*, DWORD> value;
    void Write() const {
        if (auto* text = std::get_if<const wchar_t*>(&value))
            RawSetString(root, key, name, *text);
        else
            RawSetDword(root, key, name, std::get<DWORD>(value));
    }
};

// The tree in a plain top-level window, as on the Shell tab.
struct ShownTree {
    explicit ShownTree(SettingsState& state) : view(state) {
        REQUIRE(view.Create(holder.get(), 7, RECT{0, 0, 400, 600}));
        tree = view.SystemTree();
    }
    OwnerWindow holder;
    SettingsTree view;
    HWND tree = nullptr;
};

struct ShownItem {
    std::wstring text;
    int image = -1, selectedImage = -1, depth = 0;
};

ShownItem ReadItem(HWND tree, HTREEITEM item) {
    wchar_t buffer[128] = {};
    TVITEMW read{TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, item, 0, 0, buffer, 128, 0, 0, 0, 0};
    REQUIRE(TreeView_GetItem(tree, &read));
    return {buffer, read.iImage, read.iSelectedImage, 0};
}

// Every item, first to last as shown when all is open.
void Walk(HWND tree, HTREEITEM item, int depth, std::vector<ShownItem>& out) {
    for (; item; item = TreeView_GetNextSibling(tree, item)) {
        out.push_back(ReadItem(tree, item));
        out.back().depth = depth;
        Walk(tree, TreeView_GetChild(tree, item), depth + 1, out);
    }
}

std::vector<ShownItem> Shown(HWND tree) {
    std::vector<ShownItem> out;
    Walk(tree, TreeView_GetRoot(tree), 0, out);
    return out;
}

int ShownImage(const ShownTree& t, const std::wstring& key) {
    return ReadItem(t.tree, t.view.Item(key)).image;
}

} // namespace

TEST_CASE_FIXTURE(RegistrySandbox, "a fresh registry reads as the shell's own defaults") {
    std::set<std::wstring> on = {L"Beep On Errors",        L"Extended Sounds On Errors",
                                 L"Smooth Scrolling",      L"Window Animation",
                                 L"Save Settings on Exit", L"Shortcut To Prefix on New Shortcuts",
                                 L"Wrap Icon Titles",      L"Display Splash Screen",
                                 L"Restore Active Tab",    L"Restore Window Position"};
    const std::pair<const wchar_t*, const wchar_t*> staged[] = {
        {L"Double Click Width", L"4"}, {L"Double Click Speed", L"500"},      {L"Drag Height", L"2"},
        {L"Menu Show Delay", L"400"},  {L"Wallpaper Vertical Origin", L"0"}, {L"Default Menu Item", L""}};

    SUBCASE("Windows NT with Plus!") {
        Built b(Facts(true, true));
        CHECK(b.state.Count() == 58);
        for (const SettingNode& n : b.state.Nodes()) {
            CAPTURE(n.Key);
            if (n.Kind == SettingKind::Toggle)
                CHECK(n.Image == (on.contains(n.Key) ? SettingImage::On : SettingImage::Off));
            else
                CHECK(n.Image ==
                      (n.Kind == SettingKind::Group ? SettingImage::GroupCollapsed : SettingImage::Editable));
        }
        for (const auto& [key, text] : staged) CHECK(b.state.StagedText(key) == text);
        CHECK_FALSE(b.state.UnlistedToggle(L"Extended Sounds On Errors").has_value());
    }
    SUBCASE("Windows 95 without Plus!: the Plus! toggles are unavailable, the extended sounds kept aside") {
        Built b(Facts(false, false));
        CHECK(b.state.Count() == 57);
        for (const auto* key : {L"Font Smoothing", L"Full Window Dragging", L"Stretch Desktop Wallpaper"})
            CHECK(b.Image(key) == SettingImage::Unavailable);
        on.erase(L"Extended Sounds On Errors");
        for (const auto& key : on) CHECK(b.Image(key) == SettingImage::On);
        CHECK(b.state.UnlistedToggle(L"Extended Sounds On Errors") == true);
        CHECK(b.state.Find(L"Extended Sounds On Errors") == nullptr); // read without a node
        RawSetString(User, Sound, L"ExtendedSounds", L"no");
        CHECK(Built(Facts(false, true)).state.UnlistedToggle(L"Extended Sounds On Errors") == false);
    }
}

TEST_CASE("stored values read as the rows judge them; numbers stage what was read, else the fallback") {
    using enum SettingImage;
    struct Row {
        Stored stored;
        const wchar_t* node;
        SettingImage image;
        const wchar_t* staged = nullptr;
    };
    const Row rows[] = {
        {{User, Sound, L"Beep", L"YES"}, L"Beep On Errors", On},
        {{User, Sound, L"Beep", L"Error"}, L"Beep On Errors", On}, // indistinguishable from unread
        {{User, Policies, L"NoDrives", 67108863ul}, L"Hide Drives in 'My Computer'", On},
        {{User, Policies, L"NoDrives", 0xFFFFFFFFul}, L"Hide Drives in 'My Computer'", Off},
        {{User, Desktop, L"MenuShowDelay", L"65535"}, L"Menu Show Delay", Disabled, L"400"},
        {{User, Desktop, L"MenuShowDelay", L"65535"}, L"Delay Until Clicked", On},
        {{User, Desktop, L"MenuShowDelay", L"250"}, L"Menu Show Delay", Editable, L"250"},
        {{User, Desktop, L"DoubleClickHeight", L""}, L"Double Click Height", Editable, L"4"},
        {{User, Desktop, L"DragWidth", L"Error"}, L"Drag Width", Editable, L"2"},
        {{User, Desktop, L"DragHeight", L"abc"}, L"Drag Height", Editable, L"abc"}, // the editor judges it
        {{User, Program, L"Active Tab", 0ul}, L"Restore Active Tab", Off},
        {{User, Program, L"Active Tab", 8ul}, L"Restore Active Tab", On},
        {{User, Program, L"Active Tab", 9ul}, L"Restore Active Tab", Off},
        {{User, Program, L"Active Tab", 10ul}, L"Restore Active Tab", On}, // indistinguishable from unread
        {{User, Program, L"Splash", 0ul}, L"Display Splash Screen", Off},
        {{User, Desktop, L"SmoothScroll", 2ul}, L"Smooth Scrolling", On},
        {{User, Desktop, L"FontSmoothing", L"2"}, L"Font Smoothing", On},
        {{User, Desktop, L"FontSmoothing", L"0"}, L"Font Smoothing", Off},
        {{User, Metrics, L"MinAnimate", L"0"}, L"Window Animation", Off},
        {{Classes, L"Paint.Picture\\DefaultIcon", L"", L"%1"}, L"Bitmap Thumbnail as Default Icon", On},
        {{Classes, L"*\\Shell\\Notepad\\Command", L"", L"notepad.exe \"%1\""}, L"Notepad", Off},
        {{Classes, L"Folder\\Shell\\RootExplore\\Command", L"", L""}, L"Explore From Here", On},
    };
    for (const Row& row : rows) {
        INFO("row.stored.name := ", row.stored.name, ", row.node := ", row.node);
        RegistrySandbox sandbox;
        row.stored.Write();
        Built b(Facts(true, true));
        CHECK(b.Image(row.node) == row.image);
        if (row.staged) CHECK(b.state.StagedText(row.node) == row.staged);
    }
}

TEST_CASE("the My Computer entry counts as on only when it starts this program as it is") {
    RegistrySandbox sandbox;
    const std::wstring exe = L"C:\\Tools\\Tessaly.exe", spaced = L"C:\\Program Files\\Tessaly\\Tessaly.exe";
    const std::tuple<const wchar_t*, std::wstring, SettingImage> rows[] = {
        {L"\"c:\\tools\\tessaly.EXE\"", exe, SettingImage::On},
        {L"C:\\Tools\\Tessaly.exe /a", exe, SettingImage::Off},
        {L"C:\\Other\\Tessaly.exe", exe, SettingImage::Off},
        {L"\"C:\\Tools\\Tessaly.exe", exe, SettingImage::Off},
        {L"", L"", SettingImage::Off}, // no own path known
        {L"C:\\Program Files\\Tessaly\\Tessaly.exe", spaced, SettingImage::On},
    };
    for (const auto& [stored, own, image] : rows) {
        CAPTURE(std::wstring(stored));
        RawSetString(Classes, MyComputerCommandKey, L"", stored);
        CHECK(Built(Facts(true, true, own)).Image(L"My Computer") == image);
    }
}

TEST_CASE_FIXTURE(RegistrySandbox, "the folder verb is read on first need, not at start") {
    const std::wstring key = L"Default Menu Item";
    RawSetString(Classes, L"Folder\\shell", L"", L"explore");
    Built b(Facts(true, true));
    CHECK(b.state.StagedText(key) == L"");
    LoadFolderVerbIfEmpty(b.state);
    CHECK(b.state.StagedText(key) == L"explore");
    RawSetString(Classes, L"Folder\\shell", L"", L"open");
    LoadFolderVerbIfEmpty(b.state); // a loaded verb is not read again
    CHECK(b.state.StagedText(key) == L"explore");

    RawSetString(Classes, L"Folder\\shell", L"", L"");
    Built fresh(Facts(false, false));
    LoadFolderVerbIfEmpty(fresh.state);
    CHECK(fresh.state.StagedText(key) == L"[Default]");
}

TEST_CASE("each tree picture is drawn from its pixel map, clear where the map is clear") {
    const auto maps = TreePictureMaps();
    REQUIRE(maps.size() == SettingImageCount);
    UniqueHImageList list = MakeTreeImageList();
    REQUIRE(list);
    REQUIRE(ImageList_GetImageCount(list.get()) == 7);

    const COLORREF background = RGB(1, 2, 3);
    SurfaceImage canvas;
    for (int picture = 0; picture < 7; ++picture) {
        CAPTURE(picture + 1);
        REQUIRE(maps[picture].size() == 256);
        canvas.Resize(16, 16, background, false);
        ImageList_Draw(list.get(), picture, canvas.dc(), 0, 0, ILD_NORMAL);
        int wrong = 0;
        for (int at = 0; at < 256; ++at) {
            const char c = maps[picture][at];
            wrong += canvas.Pixel(at % 16, at / 16) !=
                     PixelMapColour(c).value_or(c == '.' ? background : CLR_INVALID);
        }
        CHECK(wrong == 0);
        CHECK(maps[picture].find('.') != std::string_view::npos); // some of it is clear
    }
}

TEST_CASE("SystemTree shows the settings state and follows it") {
    RegistrySandbox sandbox;
    RawSetString(HKEY_CURRENT_USER, L"Control Panel\\desktop", L"MenuShowDelay", L"65535");
    SettingsState state;
    Add_TreeItems(MachineFacts({true, false}), state);
    ShownTree t(state);

    SUBCASE("every node with its caption, depth and pictures") {
        const auto shown = Shown(t.tree);
        REQUIRE(shown.size() == 58);
        for (int i = 0; i < 58; ++i) {
            const SettingNode& node = state.Node(i);
            CAPTURE(node.Key);
            CHECK(shown[i].text == node.Caption);
            CHECK(shown[i].depth == (node.Parent.empty() ? 0 : shown[state.IndexOf(node.Parent)].depth + 1));
            CHECK(shown[i].image == static_cast<int>(node.Image) - 1);
            CHECK(shown[i].selectedImage == static_cast<int>(node.SelectedImage()) - 1);
        }
        CHECK(shown[0].selectedImage == 1);
        CHECK(ShownImage(t, L"Font Smoothing") == 6); // unavailable without Plus!
        CHECK(ShownImage(t, L"Menu Show Delay") == 3);
        CHECK(ShownImage(t, L"Delay Until Clicked") == 5);
    }
    SUBCASE("an image change in the state shows at once") {
        REQUIRE(ShownImage(t, L"Beep On Errors") == 5);
        state.SetImage(L"Beep On Errors", SettingImage::Off);
        CHECK(ShownImage(t, L"Beep On Errors") == 4);
        CHECK(ReadItem(t.tree, t.view.Item(L"Beep On Errors")).selectedImage == 4);
        state.SetImage(L"Menu Show Delay", SettingImage::Editable);
        CHECK(ShownImage(t, L"Menu Show Delay") == 2);
    }
    SUBCASE("a group opened or closed from the keyboard shows the open or closed folder") {
        t.view.SelectNode(L"Icons");
        SendMessageW(t.tree, WM_KEYDOWN, VK_RIGHT, 0);
        Pump();
        CHECK(t.view.IsExpanded(L"Icons"));
        CHECK(ShownImage(t, L"Icons") == 1);
        SendMessageW(t.tree, WM_KEYDOWN, VK_LEFT, 0);
        Pump();
        CHECK_FALSE(t.view.IsExpanded(L"Icons"));
        CHECK(ShownImage(t, L"Icons") == 0);
        CHECK_FALSE(t.view.Expand(L"Beep On Errors"));
    }
}
