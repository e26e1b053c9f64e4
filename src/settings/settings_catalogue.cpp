#include "settings/settings_catalogue.h"

#include "platform/text.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace {

using namespace SettingsPaths;
using enum SettingKind;

constexpr std::wstring_view PaintPictureIcon = L"HKEY_CLASSES_ROOT\\Paint.Picture\\DefaultIcon";
constexpr std::wstring_view RootExploreCommand = L"HKEY_CLASSES_ROOT\\Folder\\Shell\\RootExplore\\Command";
constexpr std::wstring_view DosHereCommand = L"HKEY_CLASSES_ROOT\\Directory\\Shell\\DosHere\\Command";
constexpr std::wstring_view QuickViewKey = L"HKEY_CLASSES_ROOT\\*\\QuickView";
constexpr std::wstring_view NotepadCommand = L"HKEY_CLASSES_ROOT\\*\\Shell\\Notepad\\Command";

bool Unread(const ReadValue& v) {
    return v.Text == Registry::ErrorText;
}

// --- The tests that decide whether a toggle is on. Each states its rule once; rows name them.

bool YesOrUnread(const ReadValue& v, const ToggleRead&, const StartupFacts&) {
    return text::EqualsNoCase(v.Text, L"yes") || Unread(v);
}
bool TextIs(const ReadValue& v, const ToggleRead& r, const StartupFacts&) {
    return v.Text == r.Text;
}
bool TextIsOrUnread(const ReadValue& v, const ToggleRead& r, const StartupFacts&) {
    return v.Text == r.Text || Unread(v);
}
// A verb whose command is present but empty still shows in the menu, so it counts as on.
bool TextIsOrEmpty(const ReadValue& v, const ToggleRead& r, const StartupFacts&) {
    return v.Text == r.Text || v.Text.empty();
}
bool SetAndNotZero(const ReadValue& v, const ToggleRead&, const StartupFacts&) {
    return !Unread(v) && v.Text != L"0";
}
bool NumberNotZero(const ReadValue& v, const ToggleRead&, const StartupFacts&) {
    return v.Number != 0;
}
bool NumberIs(const ReadValue& v, const ToggleRead& r, const StartupFacts&) {
    return v.Number == r.Number;
}
bool NumberIsOrUnread(const ReadValue& v, const ToggleRead& r, const StartupFacts&) {
    return v.Number == r.Number || v.Number == Registry::ErrorNumber;
}
// "Active Tab" holds the tab to restore (1 to 8), or 0 when restoring is off.
bool TabIndexOrUnread(const ReadValue& v, const ToggleRead&, const StartupFacts&) {
    return (v.Number >= 1 && v.Number <= 8) || v.Number == Registry::ErrorNumber;
}
bool FourZeroBytesOrUnread(const ReadValue& v, const ToggleRead&, const StartupFacts&) {
    return !v.Bytes || *v.Bytes == Registry::Bytes(4, std::byte{0});
}
bool BytesAbsent(const ReadValue& v, const ToggleRead&, const StartupFacts&) {
    return !v.Bytes;
}
bool OwnProgramCommand(const ReadValue& v, const ToggleRead&, const StartupFacts& facts) {
    return IsMyComputerCommand(v.Text, facts.OwnExePath);
}

constexpr ToggleRead Text(std::wstring_view path, std::wstring_view name, OnTest test,
                          std::wstring_view operand = {}) {
    return {ValueType::Text, path, name, test, operand, 0};
}
constexpr ToggleRead Dword(std::wstring_view path, std::wstring_view name, OnTest test,
                           std::int32_t operand = 0) {
    return {ValueType::Dword, path, name, test, {}, operand};
}
constexpr ToggleRead Binary(std::wstring_view path, std::wstring_view name, OnTest test) {
    return {ValueType::Binary, path, name, test, {}, 0};
}
constexpr NumberRead Pixels(std::wstring_view path, std::wstring_view name, std::wstring_view fallback,
                            int minimum, int maximum, RangeTop top = RangeTop::Fixed) {
    return {path, name, fallback, L"pixels", minimum, maximum, top, {}};
}
constexpr NumberRead Milliseconds(std::wstring_view path, std::wstring_view name, std::wstring_view fallback,
                                  int maximum, std::wstring_view disabledWhen = {}) {
    return {path, name, fallback, L"milliseconds", 0, maximum, RangeTop::Fixed, disabledWhen};
}

constexpr int AllDrives = 0x3FFFFFF; // bits 0 to 25, drives A to Z

// clang-format off
constexpr SettingRow Rows[] = {
    {.Key = L"General"},
    {.Key = L"Beep On Errors", .Parent = L"General", .Kind = Toggle,
     .Toggle = Text(Sound, L"Beep", YesOrUnread), .DefaultOn = true, .HelpTopic = 23},
    {.Key = L"Extended Sounds On Errors", .Parent = L"General", .Kind = Toggle, .NTOnly = true,
     .Toggle = Text(Sound, L"ExtendedSounds", YesOrUnread), .DefaultOn = true, .HelpTopic = 24},
    {.Key = L"Bitmap Thumbnail as Default Icon", .Parent = L"General", .Kind = Toggle,
     .Toggle = Text(PaintPictureIcon, L"", TextIs, L"%1"), .SetsIconCacheDirty = true, .HelpTopic = 25},
    {.Key = L"Non-blinking Cursor", .Parent = L"General", .Kind = Toggle,
     .Toggle = Text(Desktop, L"CursorBlinkRate", TextIs, L"65535"), .HelpTopic = 26},
    {.Key = L"Smooth Scrolling", .Parent = L"General", .Kind = Toggle,
     .Toggle = Dword(Desktop, L"SmoothScroll", NumberNotZero), .HelpTopic = 27},
    {.Key = L"Window Animation", .Parent = L"General", .Kind = Toggle,
     .Toggle = Text(Metrics, L"MinAnimate", TextIsOrUnread, L"1"), .DefaultOn = true, .HelpTopic = 28},

    {.Key = L"Explorer"},
    {.Key = L"Save Settings on Exit", .Parent = L"Explorer", .Kind = Toggle,
     .Toggle = Binary(ExplorerPolicies, L"NoSaveSettings", FourZeroBytesOrUnread), .DefaultOn = true,
     .HelpTopic = 29},
    {.Key = L"Shortcut To Prefix on New Shortcuts", .Caption = L"\"Shortcut to\" Prefix on New Shortcuts",
     .Parent = L"Explorer", .Kind = Toggle, .Toggle = Binary(Explorer, L"link", BytesAbsent), .DefaultOn = true,
     .Restart = RestartRule::Always, .HelpTopic = 30},
    {.Key = L"Menu Items", .Parent = L"Explorer"},
    {.Key = L"Folder", .Parent = L"Menu Items"},
    {.Key = L"Explore From Here", .Parent = L"Folder", .Kind = Toggle,
     .Toggle = Text(RootExploreCommand, L"", TextIsOrEmpty, L"EXPLORER.EXE /E,/Root,/IDList,%I"), .HelpTopic = 31},
    {.Key = L"Default Menu Item", .Parent = L"Folder", .Kind = Choice, .HelpTopic = 32},
    {.Key = L"Directory", .Parent = L"Menu Items"},
    {.Key = L"Command Prompt From Here", .Parent = L"Directory", .Kind = Toggle,
     .Toggle = Text(DosHereCommand, L"", TextIsOrEmpty, L"COMMAND.COM /K CD \"%1\""), .HelpTopic = 33},
    {.Key = L"All Files", .Parent = L"Menu Items"},
    {.Key = L"Quick View", .Parent = L"All Files", .Kind = Toggle,
     .Toggle = Text(QuickViewKey, L"", TextIs, L"*"), .HelpTopic = 34},
    {.Key = L"Notepad", .Parent = L"All Files", .Kind = Toggle,
     .Toggle = Text(NotepadCommand, L"", TextIs, L"NOTEPAD.EXE \"%1\""), .HelpTopic = 35},

    {.Key = L"Icons"},
    {.Key = L"Large Icons", .Parent = L"Icons", .Kind = Toggle,
     .Toggle = Text(Metrics, L"Shell Icon Size", TextIs, L"48"), .SetsIconCacheDirty = true, .HelpTopic = 36},
    {.Key = L"Show Icons Using All Possible Colours", .Parent = L"Icons", .Kind = Toggle,
     .Toggle = Text(Metrics, L"Shell Icon BPP", TextIs, L"16"), .Restart = RestartRule::Always, .HelpTopic = 37},
    {.Key = L"Wrap Icon Titles", .Parent = L"Icons", .Kind = Toggle,
     .Toggle = Text(Metrics, L"IconTitleWrap", TextIsOrUnread, L"1"), .DefaultOn = true, .HelpTopic = 38},

    {.Key = L"Mouse"},
    {.Key = L"Swap Mouse Buttons", .Parent = L"Mouse", .Kind = Toggle,
     .Toggle = Text(Mouse, L"SwapMouseButtons", TextIs, L"1"), .HelpTopic = 39},
    {.Key = L"Double Click", .Parent = L"Mouse"},
    {.Key = L"Double Click Width", .Caption = L"Width", .Parent = L"Double Click", .Kind = Number,
     .Number = Pixels(Desktop, L"DoubleClickWidth", L"4", 1, 32), .HelpTopic = 40},
    {.Key = L"Double Click Height", .Caption = L"Height", .Parent = L"Double Click", .Kind = Number,
     .Number = Pixels(Desktop, L"DoubleClickHeight", L"4", 1, 32), .HelpTopic = 40},
    {.Key = L"Double Click Speed", .Caption = L"Speed", .Parent = L"Double Click", .Kind = Number,
     .Number = Milliseconds(Mouse, L"DoubleClickSpeed", L"500", 900), .HelpTopic = 41},
    {.Key = L"Drag", .Parent = L"Mouse", .HelpTopic = 42},
    {.Key = L"Drag Width", .Caption = L"Width", .Parent = L"Drag", .Kind = Number,
     .Number = Pixels(Desktop, L"DragWidth", L"2", 1, 32), .HelpTopic = 42},
    {.Key = L"Drag Height", .Caption = L"Height", .Parent = L"Drag", .Kind = Number,
     .Number = Pixels(Desktop, L"DragHeight", L"2", 1, 32), .HelpTopic = 42},

    {.Key = L"Plus", .Caption = L"Plus!"},
    {.Key = L"Font Smoothing", .Parent = L"Plus", .Kind = Toggle, .Plus = true,
     .Toggle = Text(Desktop, L"FontSmoothing", SetAndNotZero), .HelpTopic = 43},
    {.Key = L"Full Window Dragging", .Parent = L"Plus", .Kind = Toggle, .Plus = true,
     .Toggle = Text(Desktop, L"DragFullWindows", TextIs, L"1"), .DefaultOn = true, .HelpTopic = 44},
    {.Key = L"Stretch Desktop Wallpaper", .Parent = L"Plus", .Kind = Toggle, .Plus = true,
     .Toggle = Text(Desktop, L"WallpaperStyle", TextIs, L"2"), .HelpTopic = 45},

    {.Key = L"Restrictions"},
    {.Key = L"Hide Network Neighborhood", .Parent = L"Restrictions", .Kind = Toggle,
     .Toggle = Dword(ExplorerPolicies, L"NoNetHood", NumberIs, 999), .Restart = RestartRule::Always,
     .HelpTopic = 46},
    {.Key = L"Hide 'Entire Network' in Network Neighborhood", .Parent = L"Restrictions", .Kind = Toggle,
     .Toggle = Dword(NetworkPolicies, L"NoEntireNetwork", NumberIs, 1), .SetsIconCacheDirty = true,
     .Restart = RestartRule::OnNT, .HelpTopic = 47},
    {.Key = L"Hide workgroup contents in Network Neighborhood", .Parent = L"Restrictions", .Kind = Toggle,
     .Toggle = Dword(NetworkPolicies, L"NoWorkgroupContents", NumberIs, 1), .SetsIconCacheDirty = true,
     .Restart = RestartRule::OnNT, .HelpTopic = 48},
    {.Key = L"Disable Desktop", .Parent = L"Restrictions", .Kind = Toggle,
     .Toggle = Dword(ExplorerPolicies, L"NoDesktop", NumberIs, 1), .Restart = RestartRule::Always,
     .HelpTopic = 49},
    {.Key = L"Hide Drives in 'My Computer'", .Parent = L"Restrictions", .Kind = Toggle,
     .Toggle = Dword(ExplorerPolicies, L"NoDrives", NumberIs, AllDrives), .SetsIconCacheDirty = true,
     .Restart = RestartRule::OnNT, .HelpTopic = 50},
    {.Key = L"Remove folders from 'Settings' on Start Menu", .Parent = L"Restrictions", .Kind = Toggle,
     .Toggle = Dword(ExplorerPolicies, L"NoSetFolders", NumberIs, 1), .SetsIconCacheDirty = true,
     .Restart = RestartRule::OnNT, .HelpTopic = 51},
    {.Key = L"Remove Taskbar from 'Settings' on Start Menu", .Parent = L"Restrictions", .Kind = Toggle,
     .Toggle = Dword(ExplorerPolicies, L"NoSetTaskbar", NumberIs, 1), .SetsIconCacheDirty = true,
     .Restart = RestartRule::OnNT, .HelpTopic = 52},
    {.Key = L"Remove 'Find' Command", .Parent = L"Restrictions", .Kind = Toggle,
     .Toggle = Dword(ExplorerPolicies, L"NoFind", NumberIs, 1), .SetsIconCacheDirty = true,
     .Restart = RestartRule::OnNT, .HelpTopic = 53},
    {.Key = L"Remove 'Run' Command", .Parent = L"Restrictions", .Kind = Toggle,
     .Toggle = Dword(ExplorerPolicies, L"NoRun", NumberIs, 1), .SetsIconCacheDirty = true,
     .Restart = RestartRule::OnNT, .HelpTopic = 54},
    {.Key = L"Disable Shut Down Command", .Parent = L"Restrictions", .Kind = Toggle,
     .Toggle = Dword(ExplorerPolicies, L"NoClose", NumberIs, 1), .SetsIconCacheDirty = true,
     .Restart = RestartRule::OnNT, .HelpTopic = 55},

    {.Key = L"Start Menu"},
    // One read serves both: 65535 means "wait for a click", which leaves the delay itself unused.
    {.Key = L"Menu Show Delay", .Parent = L"Start Menu", .Kind = Number,
     .Number = Milliseconds(Desktop, L"MenuShowDelay", L"400", 9999, L"65535"), .HelpTopic = 56},
    {.Key = L"Delay Until Clicked", .Parent = L"Start Menu", .Kind = Toggle,
     .Toggle = Text(Desktop, L"MenuShowDelay", TextIs, L"65535"), .HelpTopic = 57},

    {.Key = L"Wallpaper", .HelpTopic = 58},
    {.Key = L"Wallpaper Horizontal Origin", .Caption = L"Horizontal Origin", .Parent = L"Wallpaper", .Kind = Number,
     .Number = Pixels(Desktop, L"WallpaperOriginX", L"0", 0, 0, RangeTop::ScreenWidth), .HelpTopic = 58},
    {.Key = L"Wallpaper Vertical Origin", .Caption = L"Vertical Origin", .Parent = L"Wallpaper", .Kind = Number,
     .Number = Pixels(Desktop, L"WallpaperOriginY", L"0", 0, 0, RangeTop::ScreenHeight), .HelpTopic = 58},

    {.Key = L"Options"},
    {.Key = L"My Computer", .Caption = L"Add Tessaly to My Computer context menu", .Parent = L"Options",
     .Kind = Toggle, .Toggle = Text(MyComputerVerbCommand, L"", OwnProgramCommand), .HelpTopic = 59},
    {.Key = L"Display Splash Screen", .Parent = L"Options", .Kind = Toggle,
     .Toggle = Dword(ProgramSettings, L"Splash", NumberIsOrUnread, 1), .DefaultOn = true, .HelpTopic = 60},
    {.Key = L"Restore Active Tab", .Parent = L"Options", .Kind = Toggle,
     .Toggle = Dword(ProgramSettings, L"Active Tab", TabIndexOrUnread), .DefaultOn = true, .HelpTopic = 61},
    {.Key = L"Restore Window Position", .Parent = L"Options", .Kind = Toggle,
     .Toggle = Dword(ProgramSettings, L"Positions", NumberIsOrUnread, 1), .DefaultOn = true, .HelpTopic = 62},
};
// clang-format on

ReadValue ReadRegistryValue(ValueType type, std::wstring_view path, std::wstring_view name) {
    const std::wstring p(path), n(name);
    ReadValue value;
    switch (type) {
    case ValueType::Text:
        value.Text = Registry::ReadString(p, n);
        break;
    case ValueType::Dword:
        value.Number = Registry::ReadDword(p, n);
        break;
    case ValueType::Binary:
        value.Bytes = Registry::ReadBinary(p, n);
        break;
    }
    return value;
}

// Start-up reads each value once, even where two nodes judge the same value.
class ReadOnce {
public:
    const ReadValue& Get(ValueType type, std::wstring_view path, std::wstring_view name) {
        auto key = std::make_tuple(type, path, name);
        auto it = reads_.find(key);
        if (it == reads_.end()) it = reads_.emplace(key, ReadRegistryValue(type, path, name)).first;
        return it->second;
    }

private:
    std::map<std::tuple<ValueType, std::wstring_view, std::wstring_view>, ReadValue> reads_;
};

SettingImage ToggleImage(const SettingRow& row, bool on, const StartupFacts& facts) {
    if (row.Plus && !facts.HasPlus) return SettingImage::Unavailable;
    return on ? SettingImage::On : SettingImage::Off;
}

} // namespace

std::span<const SettingRow> SettingRows() {
    return Rows;
}

const SettingRow* FindSettingRow(std::wstring_view key) {
    auto it =
        std::find_if(std::begin(Rows), std::end(Rows), [&](const SettingRow& r) { return r.Key == key; });
    return it == std::end(Rows) ? nullptr : &*it;
}

bool IsListed(const SettingRow& row, const StartupFacts& facts) {
    return !row.NTOnly || facts.IsNT();
}

int HelpTopic(std::wstring_view key) {
    const SettingRow* row = FindSettingRow(key);
    return row ? row->HelpTopic : 0;
}

bool NeedsRestart(const SettingRow& row, const StartupFacts& facts) {
    return row.Restart == RestartRule::Always || (row.Restart == RestartRule::OnNT && facts.IsNT());
}

int NumberMaximum(const NumberRead& number, const StartupFacts& facts) {
    switch (number.Top) {
    case RangeTop::ScreenWidth:
        return facts.ScreenWidth;
    case RangeTop::ScreenHeight:
        return facts.ScreenHeight;
    case RangeTop::Fixed:
        break;
    }
    return number.Maximum;
}

std::wstring StagedNumber(const NumberRead& number, const std::wstring& valueRead, bool* disabled) {
    const bool unused = !number.DisabledWhen.empty() && valueRead == number.DisabledWhen;
    if (disabled) *disabled = unused;
    if (unused || valueRead.empty() || valueRead == Registry::ErrorText) return std::wstring(number.Fallback);
    return valueRead;
}

std::wstring MyComputerCommand(const std::wstring& ownExePath) {
    if (ownExePath.find(L' ') == std::wstring::npos) return ownExePath;
    return L"\"" + ownExePath + L"\"";
}

bool IsMyComputerCommand(std::wstring_view stored, const std::wstring& ownExePath) {
    if (ownExePath.empty()) return false;
    if (stored.size() >= 2 && stored.front() == L'"' && stored.back() == L'"')
        stored = stored.substr(1, stored.size() - 2);
    return text::EqualsNoCase(stored, ownExePath);
}

std::wstring ReadFolderVerb() {
    std::wstring verb = Registry::ReadString(std::wstring(SettingsPaths::FolderShell), L"");
    if (verb.empty() || verb == Registry::ErrorText) return std::wstring(DefaultFolderVerb);
    return verb;
}

void LoadFolderVerbIfEmpty(SettingsState& state) {
    const std::wstring key(SettingKeys::DefaultMenuItem);
    if (state.Find(key) && state.StagedText(key).empty()) state.SetStagedText(key, ReadFolderVerb());
}

void Add_TreeItems(const StartupFacts& facts, SettingsState& state) {
    ReadOnce reads;
    for (const SettingRow& row : Rows) {
        const std::wstring key(row.Key);
        if (!IsListed(row, facts)) {
            if (row.Kind == SettingKind::Toggle) {
                const ToggleRead& r = row.Toggle;
                state.SetUnlistedToggle(key, r.IsOn(reads.Get(r.Type, r.Path, r.Name), r, facts));
            }
            continue;
        }
        const std::wstring caption(row.ShownCaption()), parent(row.Parent);
        switch (row.Kind) {
        case SettingKind::Group:
            state.AddNode(key, caption, parent, SettingKind::Group, SettingImage::GroupCollapsed);
            break;
        case SettingKind::Toggle: {
            const ToggleRead& r = row.Toggle;
            const bool on = r.IsOn(reads.Get(r.Type, r.Path, r.Name), r, facts);
            state.AddNode(key, caption, parent, SettingKind::Toggle, ToggleImage(row, on, facts));
            break;
        }
        case SettingKind::Number: {
            const NumberRead& n = row.Number;
            bool disabled = false;
            const std::wstring staged =
                StagedNumber(n, reads.Get(ValueType::Text, n.Path, n.Name).Text, &disabled);
            state.AddNode(key, caption, parent, SettingKind::Number,
                          disabled ? SettingImage::Disabled : SettingImage::Editable);
            state.SetStagedText(key, staged);
            break;
        }
        case SettingKind::Choice:
            // Its value is read on first need (LoadFolderVerbIfEmpty), not at start.
            state.AddNode(key, caption, parent, SettingKind::Choice, SettingImage::Editable);
            break;
        }
    }
}
