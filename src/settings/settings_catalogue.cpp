#include "settings/settings_catalogue.h"

#include "platform/text.h"
#include "registry/write_recorder.h"

#include <algorithm>
#include <array>
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

// --- What Apply writes. Each rule states its way once; rows name them.

bool IsOn(const SettingRow& row, const SettingWriteContext& c) {
    return c.State.IsOn(std::wstring(row.Key));
}
std::wstring_view Parent(std::wstring_view path) {
    return path.substr(0, path.rfind(L'\\'));
}
void DeleteKey(std::wstring_view path) {
    const std::wstring_view parent = Parent(path);
    Registry::DeleteKey(std::wstring(parent), std::wstring(path.substr(parent.size() + 1)));
}
Registry::Bytes FourBytes(std::int32_t first) {
    return {std::byte(static_cast<unsigned char>(first)), std::byte{0}, std::byte{0}, std::byte{0}};
}

void WriteOnOff(const SettingRow& row, const SettingWrite& w, SettingWriteContext& c);
void WriteStaged(const SettingRow& row, const SettingWrite& w, SettingWriteContext& c);
void WriteAnimation(const SettingRow& row, const SettingWrite& w, SettingWriteContext& c);
void WriteFontSmoothing(const SettingRow& row, const SettingWrite& w, SettingWriteContext& c);
void WriteWallpaperStyle(const SettingRow& row, const SettingWrite& w, SettingWriteContext& c);

// The system call that makes a row's setting take effect at once, made from the staged state: by Apply
// right after the row's write, and by Undo once the registry is back. It follows the row's write rule.
void Announce(const SettingRow& row, const SettingWrite& w, SettingWriteContext& c) {
    if (w.Rule == WriteOnOff || w.Rule == WriteWallpaperStyle) {
        if (w.Spi) c.System.SetSystemParameter(w.Spi, IsOn(row, c) ? 1 : 0, {}, 0);
    } else if (w.Rule == WriteStaged && w.Spi) {
        // The call needs an unsigned number: a text that is no number, or a negative one, skips it rather
        // than pass a wrapped-around value.
        if (auto value = text::ParseInt32(c.State.StagedText(std::wstring(row.Key))); value && *value >= 0)
            c.System.SetSystemParameter(w.Spi, static_cast<UINT>(*value), {}, 0);
    } else if (w.Rule == WriteAnimation) {
        c.System.SetSystemParameter(SPI_SETANIMATION, sizeof(ANIMATIONINFO),
                                    ANIMATIONINFO{sizeof(ANIMATIONINFO), IsOn(row, c)},
                                    SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    } else if (w.Rule == WriteFontSmoothing) {
        c.System.SetSystemParameter(SPI_SETFONTSMOOTHING, IsOn(row, c) ? (c.Facts.IsNT() ? 2 : 1) : 0, {}, 0);
    }
    if (w.Rule == WriteWallpaperStyle) {
        // The wallpaper passed again, so that the style shows.
        std::wstring wallpaper = Registry::ReadString(std::wstring(Desktop), L"Wallpaper");
        if (wallpaper == Registry::ErrorText) wallpaper.clear(); // never hand the sentinel to the system
        c.System.SetSystemParameter(SPI_SETDESKWALLPAPER, 0, wallpaper, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    }
}

// The toggle's on or off value where it is read, text or number.
void StoreOnOff(const SettingRow& row, const SettingWrite& w, SettingWriteContext& c) {
    const bool on = IsOn(row, c);
    const std::wstring path(row.Toggle.Path), name(row.Toggle.Name);
    if (row.Toggle.Type == ValueType::Dword)
        Registry::WriteDword(path, name, on ? w.OnNumber : w.OffNumber);
    else
        Registry::WriteString(path, name, std::wstring(on ? w.OnText : w.OffText));
}
void WriteOnOff(const SettingRow& row, const SettingWrite& w, SettingWriteContext& c) {
    StoreOnOff(row, w, c);
    Announce(row, w, c);
}
// A staged number is written as it stands.
void WriteStaged(const SettingRow& row, const SettingWrite& w, SettingWriteContext& c) {
    const std::wstring& staged = c.State.StagedText(std::wstring(row.Key));
    if (staged.empty()) return;
    Registry::WriteString(std::wstring(row.Number.Path), std::wstring(row.Number.Name), staged);
    Announce(row, w, c);
}
// A shell verb above the Command key the row reads. Off, the Command key goes first: a key with subkeys
// does not delete on Windows NT.
void WriteVerbKeys(std::wstring_view commandKey, bool on, const std::wstring& command,
                   std::wstring_view caption, bool captionFirst) {
    const std::wstring verbKey(Parent(commandKey));
    if (!on) {
        DeleteKey(commandKey);
        DeleteKey(verbKey);
    } else if (captionFirst) {
        Registry::WriteString(verbKey, L"", std::wstring(caption));
        Registry::WriteString(std::wstring(commandKey), L"", command);
    } else {
        Registry::WriteString(std::wstring(commandKey), L"", command);
        Registry::WriteString(verbKey, L"", std::wstring(caption));
    }
}
void WriteVerb(const SettingRow& row, const SettingWrite& w, SettingWriteContext& c) {
    WriteVerbKeys(row.Toggle.Path, IsOn(row, c), std::wstring(row.Toggle.Text), w.OnText, false);
}
void WriteMyComputerVerb(const SettingRow& row, const SettingWrite& w, SettingWriteContext& c) {
    WriteVerbKeys(row.Toggle.Path, IsOn(row, c), MyComputerCommand(c.Facts.OwnExePath), w.OnText, true);
}
void WriteKeyOrDelete(const SettingRow& row, const SettingWrite&, SettingWriteContext& c) {
    if (IsOn(row, c))
        Registry::WriteString(std::wstring(row.Toggle.Path), L"", std::wstring(row.Toggle.Text));
    else
        DeleteKey(row.Toggle.Path);
}
void WriteAnimation(const SettingRow& row, const SettingWrite& w, SettingWriteContext& c) {
    const bool on = IsOn(row, c);
    Registry::WriteString(std::wstring(row.Toggle.Path), std::wstring(row.Toggle.Name),
                          std::wstring(on ? w.OnText : w.OffText));
    Announce(row, w, c);
}
void WriteFourBytes(const SettingRow& row, const SettingWrite& w, SettingWriteContext& c) {
    Registry::WriteBinary(std::wstring(row.Toggle.Path), std::wstring(row.Toggle.Name),
                          FourBytes(IsOn(row, c) ? w.OnNumber : w.OffNumber));
}
// This one toggle is on unless it shows off, so an unavailable image counts as on.
void WriteUnlessOff(const SettingRow& row, const SettingWrite&, SettingWriteContext& c) {
    const std::wstring path(row.Toggle.Path), name(row.Toggle.Name);
    if (c.State.Image(std::wstring(row.Key)) == SettingImage::Off)
        Registry::WriteBinary(path, name, FourBytes(0));
    else
        Registry::DeleteValue(path, name);
}
// An untouched verb is written back as it was read.
void WriteFolderVerb(const SettingRow& row, const SettingWrite&, SettingWriteContext& c) {
    LoadFolderVerbIfEmpty(c.State);
    const std::wstring& verb = c.State.StagedText(std::wstring(row.Key));
    Registry::WriteString(std::wstring(FolderShell), L"", verb == DefaultFolderVerb ? L"" : verb);
}
void WriteFontSmoothing(const SettingRow& row, const SettingWrite& w, SettingWriteContext& c) {
    const UINT smoothing = IsOn(row, c) ? (c.Facts.IsNT() ? 2 : 1) : 0;
    Registry::WriteString(std::wstring(row.Toggle.Path), std::wstring(row.Toggle.Name),
                          std::to_wstring(smoothing));
    Announce(row, w, c);
}
void WriteWallpaperStyle(const SettingRow& row, const SettingWrite& w, SettingWriteContext& c) {
    StoreOnOff(row, w, c);
    Announce(row, w, c);
}
// One value serves the delay and "Delay Until Clicked", whose on value is the delay's "not in use".
void WriteMenuDelay(const SettingRow& row, const SettingWrite&, SettingWriteContext& c) {
    const bool clicked = c.State.IsOn(std::wstring(SettingKeys::DelayUntilClicked));
    Registry::WriteString(std::wstring(row.Number.Path), std::wstring(row.Number.Name),
                          clicked ? std::wstring(row.Number.DisabledWhen)
                                  : c.State.StagedText(std::wstring(row.Key)));
}
void WriteActiveTab(const SettingRow& row, const SettingWrite&, SettingWriteContext& c) {
    Registry::WriteDword(std::wstring(row.Toggle.Path), std::wstring(row.Toggle.Name),
                         IsOn(row, c) ? c.SelectedTab : 0);
}

constexpr SettingWrite OnOff(std::wstring_view onText, std::wstring_view offText, UINT spi = 0) {
    return {WriteOnOff, onText, offText, 0, 0, spi};
}
constexpr SettingWrite OnOff(std::int32_t onNumber, std::int32_t offNumber) {
    return {WriteOnOff, {}, {}, onNumber, offNumber, 0};
}
constexpr SettingWrite Staged(UINT spi = 0) {
    return {WriteStaged, {}, {}, 0, 0, spi};
}

constexpr int AllDrives = 0x3FFFFFF; // bits 0 to 25, drives A to Z

// clang-format off
constexpr SettingRow Rows[] = {
    {.Key = L"General"},
    {.Key = L"Beep On Errors", .Parent = L"General", .Kind = Toggle,
     .Toggle = Text(Sound, L"Beep", YesOrUnread), .DefaultOn = true, .HelpTopic = 23, .Write = OnOff(L"Yes", L"No", SPI_SETBEEP)},
    {.Key = L"Extended Sounds On Errors", .Parent = L"General", .Kind = Toggle, .NTOnly = true,
     .Toggle = Text(Sound, L"ExtendedSounds", YesOrUnread), .DefaultOn = true, .HelpTopic = 24, .Write = OnOff(L"Yes", L"No")},
    {.Key = L"Bitmap Thumbnail as Default Icon", .Parent = L"General", .Kind = Toggle,
     .Toggle = Text(PaintPictureIcon, L"", TextIs, L"%1"), .SetsIconCacheDirty = true, .HelpTopic = 25},
    {.Key = L"Non-blinking Cursor", .Parent = L"General", .Kind = Toggle,
     .Toggle = Text(Desktop, L"CursorBlinkRate", TextIs, L"65535"), .HelpTopic = 26, .Write = OnOff(L"65535", L"500")},
    {.Key = L"Smooth Scrolling", .Parent = L"General", .Kind = Toggle,
     .Toggle = Dword(Desktop, L"SmoothScroll", NumberNotZero), .HelpTopic = 27, .Write = OnOff(1, 0)},
    {.Key = L"Window Animation", .Parent = L"General", .Kind = Toggle,
     .Toggle = Text(Metrics, L"MinAnimate", TextIsOrUnread, L"1"), .DefaultOn = true, .HelpTopic = 28, .Write = {WriteAnimation, L"1", L"0"}},

    {.Key = L"Explorer"},
    {.Key = L"Save Settings on Exit", .Parent = L"Explorer", .Kind = Toggle,
     .Toggle = Binary(ExplorerPolicies, L"NoSaveSettings", FourZeroBytesOrUnread), .DefaultOn = true,
     .HelpTopic = 29, .Write = {WriteFourBytes, {}, {}, 0, 1}},
    {.Key = L"Shortcut To Prefix on New Shortcuts", .Caption = L"\"Shortcut to\" Prefix on New Shortcuts",
     .Parent = L"Explorer", .Kind = Toggle, .Toggle = Binary(Explorer, L"link", BytesAbsent), .DefaultOn = true,
     .Restart = RestartRule::Always, .HelpTopic = 30, .Write = {WriteUnlessOff}},
    {.Key = L"Menu Items", .Parent = L"Explorer"},
    {.Key = L"Folder", .Parent = L"Menu Items"},
    {.Key = L"Explore From Here", .Parent = L"Folder", .Kind = Toggle,
     .Toggle = Text(RootExploreCommand, L"", TextIsOrEmpty, L"EXPLORER.EXE /E,/Root,/IDList,%I"), .HelpTopic = 31, .Write = {WriteVerb, L"E&xplore From Here"}},
    {.Key = L"Default Menu Item", .Parent = L"Folder", .Kind = Choice, .HelpTopic = 32, .Write = {WriteFolderVerb}},
    {.Key = L"Directory", .Parent = L"Menu Items"},
    {.Key = L"Command Prompt From Here", .Parent = L"Directory", .Kind = Toggle,
     .Toggle = Text(DosHereCommand, L"", TextIsOrEmpty, L"COMMAND.COM /K CD \"%1\""), .HelpTopic = 33, .Write = {WriteVerb, L"Command &Prompt From Here"}},
    {.Key = L"All Files", .Parent = L"Menu Items"},
    {.Key = L"Quick View", .Parent = L"All Files", .Kind = Toggle,
     .Toggle = Text(QuickViewKey, L"", TextIs, L"*"), .HelpTopic = 34, .Write = {WriteKeyOrDelete}},
    {.Key = L"Notepad", .Parent = L"All Files", .Kind = Toggle,
     .Toggle = Text(NotepadCommand, L"", TextIs, L"NOTEPAD.EXE \"%1\""), .HelpTopic = 35, .Write = {WriteVerb, L"&Notepad"}},

    {.Key = L"Icons"},
    {.Key = L"Large Icons", .Parent = L"Icons", .Kind = Toggle,
     .Toggle = Text(Metrics, L"Shell Icon Size", TextIs, L"48"), .SetsIconCacheDirty = true, .HelpTopic = 36, .Write = OnOff(L"48", L"32")},
    {.Key = L"Show Icons Using All Possible Colours", .Parent = L"Icons", .Kind = Toggle,
     .Toggle = Text(Metrics, L"Shell Icon BPP", TextIs, L"16"), .Restart = RestartRule::Always, .HelpTopic = 37, .Write = OnOff(L"16", L"4")},
    {.Key = L"Wrap Icon Titles", .Parent = L"Icons", .Kind = Toggle,
     .Toggle = Text(Metrics, L"IconTitleWrap", TextIsOrUnread, L"1"), .DefaultOn = true, .HelpTopic = 38, .Write = OnOff(L"1", L"0", SPI_SETICONTITLEWRAP)},

    {.Key = L"Mouse"},
    {.Key = L"Swap Mouse Buttons", .Parent = L"Mouse", .Kind = Toggle,
     .Toggle = Text(Mouse, L"SwapMouseButtons", TextIs, L"1"), .HelpTopic = 39, .Write = OnOff(L"1", L"0", SPI_SETMOUSEBUTTONSWAP)},
    {.Key = L"Double Click", .Parent = L"Mouse"},
    {.Key = L"Double Click Width", .Caption = L"Width", .Parent = L"Double Click", .Kind = Number,
     .Number = Pixels(Desktop, L"DoubleClickWidth", L"4", 1, 32), .HelpTopic = 40, .Write = Staged(SPI_SETDOUBLECLKWIDTH)},
    {.Key = L"Double Click Height", .Caption = L"Height", .Parent = L"Double Click", .Kind = Number,
     .Number = Pixels(Desktop, L"DoubleClickHeight", L"4", 1, 32), .HelpTopic = 40, .Write = Staged(SPI_SETDOUBLECLKHEIGHT)},
    {.Key = L"Double Click Speed", .Caption = L"Speed", .Parent = L"Double Click", .Kind = Number,
     .Number = Milliseconds(Mouse, L"DoubleClickSpeed", L"500", 900), .HelpTopic = 41, .Write = Staged(SPI_SETDOUBLECLICKTIME)},
    {.Key = L"Drag", .Parent = L"Mouse", .HelpTopic = 42},
    {.Key = L"Drag Width", .Caption = L"Width", .Parent = L"Drag", .Kind = Number,
     .Number = Pixels(Desktop, L"DragWidth", L"2", 1, 32), .HelpTopic = 42, .Write = Staged(SPI_SETDRAGWIDTH)},
    {.Key = L"Drag Height", .Caption = L"Height", .Parent = L"Drag", .Kind = Number,
     .Number = Pixels(Desktop, L"DragHeight", L"2", 1, 32), .HelpTopic = 42, .Write = Staged(SPI_SETDRAGHEIGHT)},

    {.Key = L"Plus", .Caption = L"Plus!"},
    {.Key = L"Font Smoothing", .Parent = L"Plus", .Kind = Toggle, .Plus = true,
     .Toggle = Text(Desktop, L"FontSmoothing", SetAndNotZero), .HelpTopic = 43, .Write = {WriteFontSmoothing}},
    {.Key = L"Full Window Dragging", .Parent = L"Plus", .Kind = Toggle, .Plus = true,
     .Toggle = Text(Desktop, L"DragFullWindows", TextIs, L"1"), .DefaultOn = true, .HelpTopic = 44, .Write = OnOff(L"1", L"0", SPI_SETDRAGFULLWINDOWS)},
    {.Key = L"Stretch Desktop Wallpaper", .Parent = L"Plus", .Kind = Toggle, .Plus = true,
     .Toggle = Text(Desktop, L"WallpaperStyle", TextIs, L"2"), .HelpTopic = 45, .Write = {WriteWallpaperStyle, L"2", L"0"}},

    {.Key = L"Restrictions"},
    {.Key = L"Hide Network Neighborhood", .Parent = L"Restrictions", .Kind = Toggle,
     .Toggle = Dword(ExplorerPolicies, L"NoNetHood", NumberIs, 999), .Restart = RestartRule::Always,
     .HelpTopic = 46, .Write = OnOff(999, 0)},
    {.Key = L"Hide 'Entire Network' in Network Neighborhood", .Parent = L"Restrictions", .Kind = Toggle,
     .Toggle = Dword(NetworkPolicies, L"NoEntireNetwork", NumberIs, 1), .SetsIconCacheDirty = true,
     .Restart = RestartRule::OnNT, .HelpTopic = 47, .Write = OnOff(1, 0)},
    {.Key = L"Hide workgroup contents in Network Neighborhood", .Parent = L"Restrictions", .Kind = Toggle,
     .Toggle = Dword(NetworkPolicies, L"NoWorkgroupContents", NumberIs, 1), .SetsIconCacheDirty = true,
     .Restart = RestartRule::OnNT, .HelpTopic = 48, .Write = OnOff(1, 0)},
    {.Key = L"Disable Desktop", .Parent = L"Restrictions", .Kind = Toggle,
     .Toggle = Dword(ExplorerPolicies, L"NoDesktop", NumberIs, 1), .Restart = RestartRule::Always,
     .HelpTopic = 49, .Write = OnOff(1, 0)},
    {.Key = L"Hide Drives in 'My Computer'", .Parent = L"Restrictions", .Kind = Toggle,
     .Toggle = Dword(ExplorerPolicies, L"NoDrives", NumberIs, AllDrives), .SetsIconCacheDirty = true,
     .Restart = RestartRule::OnNT, .HelpTopic = 50, .Write = OnOff(AllDrives, 0)},
    {.Key = L"Remove folders from 'Settings' on Start Menu", .Parent = L"Restrictions", .Kind = Toggle,
     .Toggle = Dword(ExplorerPolicies, L"NoSetFolders", NumberIs, 1), .SetsIconCacheDirty = true,
     .Restart = RestartRule::OnNT, .HelpTopic = 51, .Write = OnOff(1, 0)},
    {.Key = L"Remove Taskbar from 'Settings' on Start Menu", .Parent = L"Restrictions", .Kind = Toggle,
     .Toggle = Dword(ExplorerPolicies, L"NoSetTaskbar", NumberIs, 1), .SetsIconCacheDirty = true,
     .Restart = RestartRule::OnNT, .HelpTopic = 52, .Write = OnOff(1, 0)},
    {.Key = L"Remove 'Find' Command", .Parent = L"Restrictions", .Kind = Toggle,
     .Toggle = Dword(ExplorerPolicies, L"NoFind", NumberIs, 1), .SetsIconCacheDirty = true,
     .Restart = RestartRule::OnNT, .HelpTopic = 53, .Write = OnOff(1, 0)},
    {.Key = L"Remove 'Run' Command", .Parent = L"Restrictions", .Kind = Toggle,
     .Toggle = Dword(ExplorerPolicies, L"NoRun", NumberIs, 1), .SetsIconCacheDirty = true,
     .Restart = RestartRule::OnNT, .HelpTopic = 54, .Write = OnOff(1, 0)},
    {.Key = L"Disable Shut Down Command", .Parent = L"Restrictions", .Kind = Toggle,
     .Toggle = Dword(ExplorerPolicies, L"NoClose", NumberIs, 1), .SetsIconCacheDirty = true,
     .Restart = RestartRule::OnNT, .HelpTopic = 55, .Write = OnOff(1, 0)},

    {.Key = L"Start Menu"},
    // One read serves both: 65535 means "wait for a click", which leaves the delay itself unused.
    {.Key = L"Menu Show Delay", .Parent = L"Start Menu", .Kind = Number,
     .Number = Milliseconds(Desktop, L"MenuShowDelay", L"400", 9999, L"65535"), .HelpTopic = 56, .Write = {WriteMenuDelay}},
    {.Key = L"Delay Until Clicked", .Parent = L"Start Menu", .Kind = Toggle,
     .Toggle = Text(Desktop, L"MenuShowDelay", TextIs, L"65535"), .HelpTopic = 57},

    {.Key = L"Wallpaper", .HelpTopic = 58},
    {.Key = L"Wallpaper Horizontal Origin", .Caption = L"Horizontal Origin", .Parent = L"Wallpaper", .Kind = Number,
     .Number = Pixels(Desktop, L"WallpaperOriginX", L"0", 0, 0, RangeTop::ScreenWidth), .HelpTopic = 58, .Write = Staged()},
    {.Key = L"Wallpaper Vertical Origin", .Caption = L"Vertical Origin", .Parent = L"Wallpaper", .Kind = Number,
     .Number = Pixels(Desktop, L"WallpaperOriginY", L"0", 0, 0, RangeTop::ScreenHeight), .HelpTopic = 58, .Write = Staged()},

    {.Key = L"Options"},
    {.Key = L"My Computer", .Caption = L"Add Tessaly to My Computer context menu", .Parent = L"Options",
     .Kind = Toggle, .Toggle = Text(MyComputerVerbCommand, L"", OwnProgramCommand), .HelpTopic = 59, .Write = {WriteMyComputerVerb, L"&Tessaly..."}},
    {.Key = L"Display Splash Screen", .Parent = L"Options", .Kind = Toggle,
     .Toggle = Dword(ProgramSettings, SplashValue, NumberIsOrUnread, 1), .DefaultOn = true, .HelpTopic = 60, .Write = OnOff(1, 0)},
    {.Key = L"Restore Active Tab", .Parent = L"Options", .Kind = Toggle,
     .Toggle = Dword(ProgramSettings, ActiveTabValue, TabIndexOrUnread), .DefaultOn = true, .HelpTopic = 61, .Write = {WriteActiveTab}},
    {.Key = L"Restore Window Position", .Parent = L"Options", .Kind = Toggle,
     .Toggle = Dword(ProgramSettings, PositionsValue, NumberIsOrUnread, 1), .DefaultOn = true, .HelpTopic = 62, .Write = OnOff(1, 0)},
};
// clang-format on

// Apply's order: the tree's, but heights before widths.
constexpr std::wstring_view ApplyOrder[] = {
    L"Beep On Errors",
    L"Extended Sounds On Errors",
    L"Non-blinking Cursor",
    L"Smooth Scrolling",
    L"Window Animation",
    L"Save Settings on Exit",
    L"Shortcut To Prefix on New Shortcuts",
    L"Explore From Here",
    L"Default Menu Item",
    L"Command Prompt From Here",
    L"Quick View",
    L"Notepad",
    L"Large Icons",
    L"Show Icons Using All Possible Colours",
    L"Wrap Icon Titles",
    L"Swap Mouse Buttons",
    L"Double Click Height",
    L"Double Click Width",
    L"Double Click Speed",
    L"Drag Height",
    L"Drag Width",
    L"Font Smoothing",
    L"Full Window Dragging",
    L"Stretch Desktop Wallpaper",
    L"Menu Show Delay",
    L"Hide Network Neighborhood",
    L"Hide 'Entire Network' in Network Neighborhood",
    L"Hide workgroup contents in Network Neighborhood",
    L"Disable Desktop",
    L"Hide Drives in 'My Computer'",
    L"Remove folders from 'Settings' on Start Menu",
    L"Remove Taskbar from 'Settings' on Start Menu",
    L"Remove 'Find' Command",
    L"Remove 'Run' Command",
    L"Disable Shut Down Command",
    L"Wallpaper Horizontal Origin",
    L"Wallpaper Vertical Origin",
    L"My Computer",
    L"Display Splash Screen",
    L"Restore Active Tab",
    L"Restore Window Position",
};

// Stops the build at a key that names no row, or names one that writes nothing.
constexpr const SettingRow* WrittenRow(std::wstring_view key) {
    for (const SettingRow& row : Rows)
        if (row.Key == key) return row.Write.Rule ? &row : throw "this setting writes nothing";
    throw "no setting has this key";
}
constexpr auto ApplyRows = [] {
    std::array<const SettingRow*, std::size(ApplyOrder)> rows{};
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = WrittenRow(ApplyOrder[i]);
    return rows;
}();
static_assert(std::ranges::count_if(Rows, [](const SettingRow& r) { return r.Write.Rule != nullptr; }) ==
                  std::size(ApplyOrder),
              "every row that writes has its place in Apply's order");

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

// The value as a read finds it after an import; none when the import left it alone.
std::optional<ReadValue> ChangedValue(const RegFile::Outcome& outcome, ValueType type, std::wstring_view path,
                                      std::wstring_view name) {
    const auto now = outcome.Find(path, name);
    if (now.kind == RegFile::Outcome::Kind::Unchanged) return std::nullopt;
    if (now.kind == RegFile::Outcome::Kind::Unknown) return ReadRegistryValue(type, path, name);
    ReadValue value;
    switch (type) {
    case ValueType::Text:
        value.Text = now.data ? Registry::TextOf(*now.data) : std::wstring(Registry::ErrorText);
        break;
    case ValueType::Dword:
        value.Number = now.data ? Registry::NumberOf(*now.data) : Registry::ErrorNumber;
        break;
    case ValueType::Binary:
        if (now.data) value.Bytes = now.data->bytes;
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

std::span<const SettingRow* const> SettingsInApplyOrder() {
    return ApplyRows;
}

void AnnounceSettings(SettingWriteContext& context) {
    for (const SettingRow* row : ApplyRows)
        if (IsListed(*row, context.Facts) && row->Write.Rule) Announce(*row, row->Write, context);
}

void WriteSettings(SettingWriteContext& context) {
    for (const SettingRow* row : ApplyRows) {
        if (!IsListed(*row, context.Facts)) continue;
        Registry::WriteSubject subject{std::wstring(row->Key)}; // names the setting if a write fails
        row->Write.Rule(*row, row->Write, context);
    }
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

void RefreshTreeItems(const StartupFacts& facts, SettingsState& state, const RegFile::Outcome& outcome) {
    for (const SettingRow& row : Rows) {
        const bool listed = IsListed(row, facts);
        if (row.Kind == SettingKind::Toggle) {
            const ToggleRead& r = row.Toggle;
            const auto value = ChangedValue(outcome, r.Type, r.Path, r.Name);
            if (!value) continue;
            const std::wstring key(row.Key);
            const bool on = r.IsOn(*value, r, facts);
            if (!listed)
                state.SetUnlistedToggle(key, on);
            else if (state.Find(key))
                state.SetImage(key, ToggleImage(row, on, facts));
        } else if (row.Kind == SettingKind::Number && listed && state.Find(std::wstring(row.Key))) {
            const NumberRead& n = row.Number;
            const auto value = ChangedValue(outcome, ValueType::Text, n.Path, n.Name);
            if (!value) continue;
            const std::wstring key(row.Key);
            bool disabled = false;
            const std::wstring staged = StagedNumber(n, value->Text, &disabled);
            state.SetImage(key, disabled ? SettingImage::Disabled : SettingImage::Editable);
            state.SetStagedText(key, staged);
        }
    }
}
