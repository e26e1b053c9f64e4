// The File menu's theme commands and the toolbar's Open Theme and Save Theme buttons, which send the same
// ids.
#include "ui/main_window.h"

#include "registry/program_keys.h"
#include "registry/registry.h"
#include "session/session.h"
#include "themes/theme_commands.h"
#include "ui/command_ids.h"

#include <string>

void MainWindow::WireThemeCommands() {
    OnCommand(IdMenuOpenTheme, [this] { OpenThemeFile({}); });
    OnCommand(IdMenuSaveTheme, [this] { SaveThemeFile(true); });
    OnCommand(IdMenuSaveThemeAs, [this] { SaveThemeFile(false); });
    const int recent[] = {IdMenuRecentTheme1, IdMenuRecentTheme2, IdMenuRecentTheme3, IdMenuRecentTheme4};
    for (int slot = 1; slot <= 4; ++slot) {
        OnCommand(recent[slot - 1], [this, slot] {
            // The slot as stored now, which another running copy may have changed.
            const std::wstring path = Registry::ReadString(ThemesKey, std::to_wstring(slot));
            if (!path.empty() && path != Registry::ErrorText) OpenThemeFile(path);
        });
    }
}

void MainWindow::OpenCommandLineTheme(const std::wstring& commandLine) {
    OpenThemeFile(commandLine, true);
}

void MainWindow::OpenThemeFile(const std::wstring& path, bool fromCommandLine) {
    CDialog_.SetOwner(hwnd());
    ThemePorts ports{
        CDialog_, prompts_, system_, [this](const std::wstring& p) { Theme_BecameCurrent(p); }, {}};
    if (!OpenTheme(session_, path, fromCommandLine, ports)) return;
    // The information bar describes the selected item of the tab on show, which the load may have changed.
    if (auto shown = CategoryOfTab(session_.SelectedTab)) List_Click(*shown);
}

void MainWindow::SaveThemeFile(bool toCurrent) {
    CDialog_.SetOwner(hwnd());
    ThemePorts ports{
        CDialog_, prompts_, system_, [this](const std::wstring& p) { Theme_BecameCurrent(p); }, {}};
    SaveTheme(session_, toCurrent, ports);
}

void MainWindow::Theme_BecameCurrent(const std::wstring&) {
    // The session names the theme already; the caption and the recent-themes list follow it here.
}
