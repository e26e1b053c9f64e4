#include "settings/settings_restore.h"

#include "prompts/messages.h"
#include "session/session.h"
#include "settings/settings_catalogue.h"

namespace {

// What a step puts back: the row's setup default, or the number's editable image.
enum class Restore { Default, Editable };
struct RestoreStep {
    std::wstring_view key;
    Restore what = Restore::Default;
};

// The order in which the defaults are put back. Each default itself lives in the catalogue's row.
constexpr RestoreStep Order[] = {
    {L"Beep On Errors"},
    {L"Extended Sounds On Errors"},
    {L"Bitmap Thumbnail as Default Icon"},
    {L"Non-blinking Cursor"},
    {L"Smooth Scrolling"},
    {L"Window Animation"},
    {L"Save Settings on Exit"},
    {L"Shortcut To Prefix on New Shortcuts"},
    {L"Explore From Here"},
    {L"Default Menu Item"},
    {L"Command Prompt From Here"},
    {L"Quick View"},
    {L"Notepad"},
    {L"Large Icons"},
    {L"Show Icons Using All Possible Colours"},
    {L"Wrap Icon Titles"},
    {L"Font Smoothing"},
    {L"Full Window Dragging"},
    {L"Stretch Desktop Wallpaper"},
    {L"Hide Network Neighborhood"},
    {L"Hide 'Entire Network' in Network Neighborhood"},
    {L"Hide workgroup contents in Network Neighborhood"},
    {L"Disable Desktop"},
    {L"Hide Drives in 'My Computer'"},
    {L"Remove folders from 'Settings' on Start Menu"},
    {L"Remove Taskbar from 'Settings' on Start Menu"},
    {L"Remove 'Find' Command"},
    {L"Remove 'Run' Command"},
    {L"Disable Shut Down Command"},
    {L"Swap Mouse Buttons"},
    {L"Double Click Width"},
    {L"Double Click Height"},
    {L"Double Click Speed"},
    {L"Drag Width"},
    {L"Drag Height"},
    {L"Menu Show Delay"},
    {L"Delay Until Clicked"},
    {L"Menu Show Delay", Restore::Editable},
    {L"Wallpaper Horizontal Origin"},
    {L"Wallpaper Vertical Origin"},
    {L"My Computer"},
    {L"Display Splash Screen"},
    {L"Restore Active Tab"},
    {L"Restore Window Position"},
};

void Put(SettingsState& settings, const SettingRow& row, Restore what, const StartupFacts& facts) {
    const std::wstring key(row.Key);
    if (!IsListed(row, facts) || !settings.Find(key)) return;
    switch (row.Kind) {
    case SettingKind::Toggle:
        // Without the Plus! features their settings stay unavailable.
        if (!row.Plus || facts.HasPlus)
            settings.SetImage(key, row.DefaultOn ? SettingImage::On : SettingImage::Off);
        break;
    case SettingKind::Number:
        if (what == Restore::Editable)
            settings.SetImage(key, SettingImage::Editable);
        else
            settings.SetStagedText(key, std::wstring(row.Number.Fallback));
        break;
    case SettingKind::Choice:
        settings.SetStagedText(key, std::wstring(DefaultFolderVerb));
        break;
    case SettingKind::Group:
        break;
    }
}

} // namespace

bool RestoreAllSettings(Session& session, PromptPort& prompts, SystemPort& system) {
    if (Messages::ConfirmRestoreSettings(prompts, session.Facts.OsName) != 1) return false;
    system.SetBusy(true);
    for (const RestoreStep& step : Order)
        if (const SettingRow* row = FindSettingRow(step.key))
            Put(session.Settings, *row, step.what, session.Facts);
    session.IconCacheDirty = true;
    session.MarkChanged();
    system.SetBusy(false);
    return true;
}
