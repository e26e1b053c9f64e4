// The settings half of Apply: every setting of the tree written in a fixed order, each followed by the
// system call that makes it take effect at once where there is one.
#include "apply/apply.h"

#include "platform/text.h"
#include "registry/program_keys.h"
#include "registry/registry.h"
#include "session/session.h"
#include "settings/settings_catalogue.h"

namespace {

const std::wstring Sound = L"HKEY_CURRENT_USER\\Control Panel\\Sound";
const std::wstring Desktop = L"HKEY_CURRENT_USER\\Control Panel\\desktop";
const std::wstring Metrics = L"HKEY_CURRENT_USER\\Control Panel\\desktop\\WindowMetrics";
const std::wstring Mouse = L"HKEY_CURRENT_USER\\Control Panel\\Mouse";
const std::wstring Explorer = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const std::wstring ExplorerPolicies =
    L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const std::wstring NetworkPolicies =
    L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network";
const std::wstring MyComputerShell =
    L"HKEY_CLASSES_ROOT\\CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\Shell";

Registry::Bytes FourBytes(unsigned char first) {
    return {std::byte{first}, std::byte{0}, std::byte{0}, std::byte{0}};
}

class SettingsWriter {
public:
    SettingsWriter(Session& session, SystemPort& system) : session_(session), system_(system) {}

    bool On(const wchar_t* key) const { return session_.Settings.IsOn(key); }

    // A text value with its on and off texts, then the call that makes it take effect (uiParam 1 or 0).
    void Text(const wchar_t* key, const std::wstring& path, const wchar_t* name, const wchar_t* onText,
              const wchar_t* offText, UINT spi = 0) {
        const bool on = On(key);
        Registry::WriteString(path, name, on ? onText : offText);
        if (spi) system_.SetSystemParameter(spi, on ? 1 : 0, {}, 0);
    }

    void Number(const wchar_t* key, const std::wstring& path, const wchar_t* name, std::int32_t onValue,
                std::int32_t offValue) {
        Registry::WriteDword(path, name, On(key) ? onValue : offValue);
    }

    // A staged number is written as it stands; its system call needs an unsigned number, so a text that is
    // no number, or a negative one, skips the call rather than pass a wrapped-around value.
    void Staged(const wchar_t* key, const std::wstring& path, const wchar_t* name, UINT spi = 0) {
        const std::wstring& staged = session_.Settings.StagedText(key);
        if (staged.empty()) return;
        Registry::WriteString(path, name, staged);
        if (!spi) return;
        if (auto value = text::ParseInt32(staged); value && *value >= 0)
            system_.SetSystemParameter(spi, static_cast<UINT>(*value), {}, 0);
    }

    // A shell verb: its command and caption when on; when off the Command subkey goes first, so the verb
    // key is empty when it is deleted.
    void Verb(const wchar_t* key, const std::wstring& shell, const wchar_t* verb, const wchar_t* command,
              const wchar_t* caption) {
        const std::wstring verbKey = shell + L"\\" + verb;
        if (On(key)) {
            Registry::WriteString(verbKey + L"\\Command", L"", command);
            Registry::WriteString(verbKey, L"", caption);
        } else {
            Registry::DeleteKey(verbKey, L"Command");
            Registry::DeleteKey(shell, verb);
        }
    }

    Session& session_;
    SystemPort& system_;
};

} // namespace

void ApplySettings(Session& session, SystemPort& system) {
    SettingsWriter w(session, system);
    const StartupFacts& facts = session.Facts;

    w.Text(L"Beep On Errors", Sound, L"Beep", L"Yes", L"No", SPI_SETBEEP);
    if (facts.IsNT()) w.Text(L"Extended Sounds On Errors", Sound, L"ExtendedSounds", L"Yes", L"No");
    w.Text(L"Non-blinking Cursor", Desktop, L"CursorBlinkRate", L"65535", L"500");
    w.Number(L"Smooth Scrolling", Desktop, L"SmoothScroll", 1, 0);

    const bool animate = w.On(L"Window Animation");
    Registry::WriteString(Metrics, L"MinAnimate", animate ? L"1" : L"0");
    system.SetSystemParameter(SPI_SETANIMATION, sizeof(ANIMATIONINFO),
                              ANIMATIONINFO{sizeof(ANIMATIONINFO), animate},
                              SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);

    Registry::WriteBinary(ExplorerPolicies, L"NoSaveSettings",
                          FourBytes(w.On(L"Save Settings on Exit") ? 0 : 1));
    // This one toggle is on unless it shows off, so an unavailable image counts as on.
    if (session.Settings.Image(L"Shortcut To Prefix on New Shortcuts") == SettingImage::Off)
        Registry::WriteBinary(Explorer, L"link", FourBytes(0));
    else
        Registry::DeleteValue(Explorer, L"link");

    w.Verb(L"Explore From Here", L"HKEY_CLASSES_ROOT\\Folder\\Shell", L"RootExplore",
           L"EXPLORER.EXE /E,/Root,/IDList,%I", L"E&xplore From Here");
    // An untouched verb is written back as it was read.
    LoadFolderVerbIfEmpty(session.Settings);
    const std::wstring& verb = session.Settings.StagedText(L"Default Menu Item");
    Registry::WriteString(L"HKEY_CLASSES_ROOT\\Folder\\Shell", L"", verb == DefaultFolderVerb ? L"" : verb);
    w.Verb(L"Command Prompt From Here", L"HKEY_CLASSES_ROOT\\Directory\\Shell", L"DosHere",
           L"COMMAND.COM /K CD \"%1\"", L"Command &Prompt From Here");
    if (w.On(L"Quick View"))
        Registry::WriteString(L"HKEY_CLASSES_ROOT\\*\\QuickView", L"", L"*");
    else
        Registry::DeleteKey(L"HKEY_CLASSES_ROOT\\*", L"QuickView");
    w.Verb(L"Notepad", L"HKEY_CLASSES_ROOT\\*\\Shell", L"Notepad", L"NOTEPAD.EXE \"%1\"", L"&Notepad");

    w.Text(L"Large Icons", Metrics, L"Shell Icon Size", L"48", L"32");
    w.Text(L"Show Icons Using All Possible Colours", Metrics, L"Shell Icon BPP", L"16", L"4");
    w.Text(L"Wrap Icon Titles", Metrics, L"IconTitleWrap", L"1", L"0", SPI_SETICONTITLEWRAP);
    w.Text(L"Swap Mouse Buttons", Mouse, L"SwapMouseButtons", L"1", L"0", SPI_SETMOUSEBUTTONSWAP);

    w.Staged(L"Double Click Height", Desktop, L"DoubleClickHeight", SPI_SETDOUBLECLKHEIGHT);
    w.Staged(L"Double Click Width", Desktop, L"DoubleClickWidth", SPI_SETDOUBLECLKWIDTH);
    w.Staged(L"Double Click Speed", Mouse, L"DoubleClickSpeed", SPI_SETDOUBLECLICKTIME);
    w.Staged(L"Drag Height", Desktop, L"DragHeight", SPI_SETDRAGHEIGHT);
    w.Staged(L"Drag Width", Desktop, L"DragWidth", SPI_SETDRAGWIDTH);

    const bool smooth = w.On(L"Font Smoothing");
    const UINT smoothing = smooth ? (facts.IsNT() ? 2 : 1) : 0;
    Registry::WriteString(Desktop, L"FontSmoothing", std::to_wstring(smoothing));
    system.SetSystemParameter(SPI_SETFONTSMOOTHING, smoothing, {}, 0);
    w.Text(L"Full Window Dragging", Desktop, L"DragFullWindows", L"1", L"0", SPI_SETDRAGFULLWINDOWS);

    w.Text(L"Stretch Desktop Wallpaper", Desktop, L"WallpaperStyle", L"2", L"0");
    std::wstring wallpaper = Registry::ReadString(Desktop, L"Wallpaper");
    if (wallpaper == Registry::ErrorText) wallpaper.clear(); // never hand the sentinel to the system
    system.SetSystemParameter(SPI_SETDESKWALLPAPER, 0, wallpaper, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);

    Registry::WriteString(Desktop, L"MenuShowDelay",
                          w.On(L"Delay Until Clicked") ? L"65535"
                                                       : session.Settings.StagedText(L"Menu Show Delay"));

    w.Number(L"Hide Network Neighborhood", ExplorerPolicies, L"NoNetHood", 999, 0);
    w.Number(L"Hide 'Entire Network' in Network Neighborhood", NetworkPolicies, L"NoEntireNetwork", 1, 0);
    w.Number(L"Hide workgroup contents in Network Neighborhood", NetworkPolicies, L"NoWorkgroupContents", 1,
             0);
    w.Number(L"Disable Desktop", ExplorerPolicies, L"NoDesktop", 1, 0);
    w.Number(L"Hide Drives in 'My Computer'", ExplorerPolicies, L"NoDrives", 67108863, 0);
    w.Number(L"Remove folders from 'Settings' on Start Menu", ExplorerPolicies, L"NoSetFolders", 1, 0);
    w.Number(L"Remove Taskbar from 'Settings' on Start Menu", ExplorerPolicies, L"NoSetTaskbar", 1, 0);
    w.Number(L"Remove 'Find' Command", ExplorerPolicies, L"NoFind", 1, 0);
    w.Number(L"Remove 'Run' Command", ExplorerPolicies, L"NoRun", 1, 0);
    w.Number(L"Disable Shut Down Command", ExplorerPolicies, L"NoClose", 1, 0);

    w.Staged(L"Wallpaper Horizontal Origin", Desktop, L"WallpaperOriginX");
    w.Staged(L"Wallpaper Vertical Origin", Desktop, L"WallpaperOriginY");

    if (w.On(L"My Computer")) {
        Registry::WriteString(MyComputerShell + L"\\TS", L"", L"&Tessaly...");
        Registry::WriteString(MyComputerShell + L"\\TS\\Command", L"", MyComputerCommand(facts.OwnExePath));
    } else {
        Registry::DeleteKey(MyComputerShell + L"\\TS", L"Command");
        Registry::DeleteKey(MyComputerShell, L"TS");
    }

    w.Number(L"Display Splash Screen", ProgramSettingsKey, L"Splash", 1, 0);
    w.Number(L"Restore Active Tab", ProgramSettingsKey, L"Active Tab", session.SelectedTab, 0);
    w.Number(L"Restore Window Position", ProgramSettingsKey, L"Positions", 1, 0);
}
