// The File menu's theme commands and the toolbar's Open Theme and Save Theme buttons, which send the same
// ids.
#include "ui/main_window.h"

#include "session/session.h"
#include "themes/recent_themes.h"
#include "themes/theme_commands.h"
#include "ui/command_ids.h"

#include <string>

void MainWindow::WireThemeCommands() {
    OnCommand(IdMenuOpenTheme, [this] { OpenThemeFile({}); });
    OnCommand(IdMenuSaveTheme, [this] { SaveThemeFile(true); });
    OnCommand(IdMenuSaveThemeAs, [this] { SaveThemeFile(false); });
    // Start-up hands a command line here, and the recent entries open their slot through it.
    openTheme_ = [this](const std::wstring& path, bool fromCommandLine) {
        OpenThemeFile(path, fromCommandLine);
    };
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

void MainWindow::Theme_BecameCurrent(const std::wstring& path) {
    SetCurrentTheme(session_, path);
    AddRecentTheme(session_, path);
}
